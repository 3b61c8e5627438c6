#include "ui/info/aboutwindow.h"

#include "platform/dialogs.h"
#include "platform/getkeyvalue.h"
#include "platform/launcher.h"
#include "platform/registry.h"
#include "ui/twips.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <exception>
#include <string>

namespace gyrena {

const QString AboutWindow::kDescriptionText = QStringLiteral(
    "This application permits the user to input the longitude and latitude of any start point "
    "and the longitude and latitude of any end point on a globe. The program output will compute "
    "the greatcircle distance, the initial course and the course on arrival.");
const QString AboutWindow::kCreditsText = QStringLiteral("GeoNames (CC BY 4.0), OurAirports");
// The design has room for one line of credits: the rest of the data's sources in its tooltip.
const QString AboutWindow::kCreditsDetails = QStringLiteral(
    "Towns: GeoNames (CC BY 4.0). Airports: OurAirports (public domain). Seaports and their "
    "UN/LOCODEs: npm sea-ports by marchah (MIT). Magnetic variation: "
    "World Magnetic Model 2025, NOAA (public domain). Time zones: tz-lookup (CC0) and the "
    "system's tzdata. The map's coast, the land and the sea-route graph: Natural Earth (public "
    "domain); straits and canals after the NGA's Sailing Directions (public domain); routes by "
    "Boost.Graph (BSL-1.0).");
const QString AboutWindow::kDisclaimerText =
    QStringLiteral("Use at your own risk! Report bugs via e-mail to: gyrena-bugs@example.org");
const QString AboutWindow::kUnavailableText =
    QStringLiteral("System Information Is Unavailable At This Time");

namespace {

QLabel* blackLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

// One stroke of the etched separator: a filled strip in the line's colour.
QFrame* separatorLine(QWidget* parent, int index, const QRect& geometry, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("index", index);
    line->setFrameShape(QFrame::NoFrame);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

QString AboutWindow::applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Gyrena") : name;
}

AboutWindow::AboutWindow(const Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A tool window has no taskbar button on any desktop and stays an ordinary top-level
    // window; a fixed dialog frame with only the close box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Tool windows do not keep the application alive by default; this one must, like the
    // main window, until it is closed.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setModal(false);
    setWindowIcon(QIcon(QStringLiteral(":/gyrena/icon-32.png")));
    setSizeGripEnabled(false);

    buildLayout();
    loadTexts();
}

void AboutWindow::buildLayout()
{
    const QSize client = twipsSize(5730, 3555);
    setFixedSize(client);
    const QPoint screenOrigin = QGuiApplication::primaryScreen()
                                    ? QGuiApplication::primaryScreen()->geometry().topLeft()
                                    : QPoint();
    // The client area's corner, not the frame's: setGeometry places the inside of the window.
    setGeometry(QRect(screenOrigin + twipsPoint(2340, 1935), client));

    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    m_picIcon->setPixmap(QPixmap(QStringLiteral(":/gyrena/icon-32.png")));
    m_picIcon->setGeometry(twipsRect(240, 240, 540, 540));
    m_picIcon->setAlignment(Qt::AlignCenter);
    m_picIcon->setFocusPolicy(Qt::TabFocus);
    m_picIcon->setAccessibleName(QStringLiteral("Application icon"));

    m_lblTitle = blackLabel(this, "lblTitle", twipsRect(1050, 240, 3885, 480));
    m_lblVersion = new QLabel(this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setGeometry(twipsRect(1050, 780, 3885, 225));
    m_lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_lblDescription = blackLabel(this, "lblDescription", twipsRect(1050, 1125, 3885, 1170));
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setText(kDescriptionText);
    // Where the desktop's font is taller than the design's, the text grows into the free room
    // above the separator rather than losing its last line.
    const int roomToSeparator = twips(2445) - 2 - m_lblDescription->y();
    m_lblDescription->resize(m_lblDescription->width(),
                             std::clamp(m_lblDescription->heightForWidth(m_lblDescription->width()),
                                        m_lblDescription->height(),
                                        std::max(m_lblDescription->height(), roomToSeparator)));

    // The etched separator: a grey line with a white one a pixel below it.
    separatorLine(this, 1, QRect(twipsPoint(90, 2445), QPoint(twips(5654), twips(2445))),
                  QColor(128, 128, 128));
    separatorLine(this, 0, QRect(twips(105), twips(2460), twips(5654) - twips(105) + 1, 2),
                  Qt::white);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(twipsRect(4245, 2625, 1260, 345));
    m_cmdOK->setDefault(true);

    // Keeps its width, wraps and grows downward to hold its text.
    m_lblDisclaimer = blackLabel(this, "lblDisclaimer", twipsRect(360, 2760, 3525, 390));
    m_lblDisclaimer->setWordWrap(true);
    m_lblDisclaimer->setText(kDisclaimerText + QLatin1Char('\n') + kCreditsText);
    m_lblDisclaimer->setToolTip(kCreditsDetails);
    m_lblDisclaimer->resize(m_lblDisclaimer->width(),
                            std::max(m_lblDisclaimer->height(),
                                     m_lblDisclaimer->heightForWidth(m_lblDisclaimer->width())));

    m_cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    m_cmdSysInfo->setGeometry(twipsRect(4260, 3075, 1245, 345));

    setTabOrder(m_cmdOK, m_picIcon);
    setTabOrder(m_picIcon, m_cmdSysInfo);

    // OK, Enter and Esc all end in reject(), which closes and so deletes the window.
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &AboutWindow::startSysInfo);
}

void AboutWindow::loadTexts()
{
    const QString title = applicationTitle();
    setWindowTitle(QStringLiteral("About ") + title);
    m_lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                              .arg(GYRENA_VERSION_MAJOR)
                              .arg(GYRENA_VERSION_MINOR)
                              .arg(GYRENA_VERSION_PATCH));
    m_lblTitle->setText(title);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_cmdOK->setFocus(Qt::OtherFocusReason);
}

void AboutWindow::startSysInfo()
{
    // Any failure on the way, an empty registry value included, ends in the message.
    try {
        if (m_services.registry && m_services.launcher) {
            Registry& registry = *m_services.registry;
            Launcher& launcher = *m_services.launcher;
            std::string path;
            if (getKeyValue(registry, Registry::LocalMachine,
                            "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
                // Launched as it is, without looking for the file first.
                if (launcher.launch(path))
                    return;
            } else if (getKeyValue(registry, Registry::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
                path += "\\MSINFO32.EXE";
                if (launcher.fileExists(path) && launcher.launch(path))
                    return;
            }
        }
    } catch (const std::exception&) {
    }
    if (m_services.dialogs)
        m_services.dialogs->message(this, kUnavailableText, applicationTitle(),
                                    Dialogs::Buttons::Ok, Dialogs::Icon::None);
}

} // namespace gyrena
