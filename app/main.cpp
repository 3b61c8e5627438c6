#include "platform/qtdialogs.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"

#include <QApplication>
#include <QFile>
#include <QIcon>

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
    gyrena::Services services;
    services.dialogs = &dialogs;

    gyrena::StartWindow window(services);
    window.show();
    return app.exec();
}
