#pragma once

#include <QGroupBox>

namespace gyrena {

// A group box drawn as the window's grey inside an etched line, its caption set into the top
// left of the line, whatever the style's own group box looks like. It paints itself instead of
// taking a style sheet: a style sheet on a container sends every control inside it through
// Qt's style-sheet style, which costs a noticeable part of the window's start-up.
class EtchedFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit EtchedFrame(const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the etched line runs: half a line of the caption below the top, so that the caption
    // sits centred on it.
    QRect lineRect() const;
};

} // namespace gyrena
