#include "platform/qtdialogs.h"
#include "platform/qtlauncher.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"

#include <QApplication>
#include <QFile>
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
    const QString iconPath = QStringLiteral(":/gyrena/icon-32.png");
    if (QFile::exists(iconPath))
        QApplication::setWindowIcon(QIcon(iconPath));

    gyrena::QtDialogs dialogs;
    const std::unique_ptr<gyrena::Registry> registry = gyrena::makeSystemRegistry();
    gyrena::QtLauncher launcher;
    const gyrena::Services services{&dialogs, registry.get(), &launcher};

    gyrena::StartWindow window(services);
    window.show();
    return app.exec();
}
