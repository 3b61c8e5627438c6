#include "ui/info/aboutwindow.h"

namespace gyrena {

AboutWindow::AboutWindow(const Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Gyrena"));
}

} // namespace gyrena
