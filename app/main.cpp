#include "platform/qtdialogs.h"
#include "platform/qtlauncher.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gyrena"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(GYRENA_VERSION_MAJOR)
                                            .arg(GYRENA_VERSION_MINOR)
                                            .arg(GYRENA_VERSION_PATCH));
    // Every window shows the application icon; the desktop entry ties the running program to
    // its menu entry and icon on Wayland, where the X11 window class does not count.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gyrena/icon-32.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.gyrena.Gyrena"));

    gyrena::QtDialogs dialogs;
    const std::unique_ptr<gyrena::Registry> registry = gyrena::makeSystemRegistry();
    gyrena::QtLauncher launcher;
    const gyrena::Services services{&dialogs, registry.get(), &launcher};

    gyrena::StartWindow window(services);
    window.show();
    return app.exec();
}
