#include "ui/main/startwindow.h"

namespace gyrena {

StartWindow::StartWindow(const Services& services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    setObjectName(QStringLiteral("Start"));
    setWindowTitle(QStringLiteral(" Gyrena"));
}

StartWindow::~StartWindow() = default;

} // namespace gyrena
