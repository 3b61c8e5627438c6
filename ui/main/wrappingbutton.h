#pragma once

#include <QPushButton>

namespace gyrena {

// A push button whose caption wraps onto as many lines as its width needs, centred. It stays an
// ordinary QPushButton for the keyboard, the style and screen readers: text() is the whole
// caption, only the painting differs.
class WrappingButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrappingButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The part of the face left for the caption, inside the button's frame.
    QRect captionRect() const;
};

} // namespace gyrena
