#include "ui/info/mathwindow.h"

namespace gyrena {

MathWindow::MathWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TheMath"));
    setWindowTitle(QStringLiteral("The Math"));
}

} // namespace gyrena
