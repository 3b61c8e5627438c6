#include "ui/main/wrappingbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace gyrena {

namespace {
constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap;
// The caption may use the whole face inside the bevel's outer line: a narrow button has no room
// for the style's padding as well.
constexpr int bevelWidth = 1;
} // namespace

WrappingButton::WrappingButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

QRect WrappingButton::captionRect() const
{
    return rect().marginsRemoved(QMargins(bevelWidth, bevelWidth, bevelWidth, bevelWidth));
}

void WrappingButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear(); // the face, the frame and the focus rectangle, without the one-line text
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect rect = captionRect();
    if (isDown()) {
        // The caption moves with a pressed face, as a one-line caption does.
        rect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(rect, captionFlags, option.palette, isEnabled(), caption,
                         QPalette::ButtonText);
}

} // namespace gyrena
