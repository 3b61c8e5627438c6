#pragma once

#include <QWidget>

class QLabel;

namespace gyrena {

// The worked-example window `TheMath`: one picture in a sunken box, nothing else. The box keeps
// its place and size whatever the window's size, so a small window cuts the picture off.
class MathWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MathWindow(QWidget* parent = nullptr);

private:
    QLabel* m_picture1 = nullptr;
};

} // namespace gyrena
