#include "ui/main/etchedframe.h"

#include <QPainter>

#include <cmath>

namespace gyrena {

namespace {

constexpr int captionIndent = 6;  // from the frame's left edge to the gap in the line
constexpr int captionPadding = 4; // grey either side of the caption, inside the gap

} // namespace

EtchedFrame::EtchedFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QRect EtchedFrame::lineRect() const
{
    const int top = static_cast<int>(std::lround(fontMetrics().height() / 2.0));
    return rect().adjusted(0, top, 0, 0);
}

void EtchedFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor grey = palette().color(QPalette::Window);
    painter.fillRect(rect(), grey);

    // The groove in the grey: its shadow half is the grey itself, so only the lighter half shows,
    // one pixel inside the top and left edges and along the bottom and right edges.
    const QRect line = lineRect();
    painter.setPen(grey.lighter());
    painter.drawLine(line.left() + 1, line.top() + 1, line.right(), line.top() + 1);
    painter.drawLine(line.left() + 1, line.top() + 1, line.left() + 1, line.bottom());
    painter.drawLine(line.left() + 1, line.bottom(), line.right(), line.bottom());
    painter.drawLine(line.right(), line.top() + 1, line.right(), line.bottom());

    if (title().isEmpty())
        return;
    const QFontMetrics metrics = fontMetrics();
    const QRect gap(captionIndent, 0, metrics.horizontalAdvance(title()) + 2 * captionPadding,
                    metrics.height());
    painter.fillRect(gap, grey);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(gap.adjusted(captionPadding, 0, -captionPadding, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, title());
}

} // namespace gyrena
