#include "platform/qtdialogs.h"
#include "platform/qtlauncher.h"
#include "platform/qtpreferences.h"
#include "platform/qtprintpreview.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"
#include "ui/route/pdfexportcommand.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr const char* kUsage = "usage: gyrena [FILE.gdf | FILE.gcl | FILE.gpx]\n"
                               "       gyrena --export-pdf OUT.pdf FILE.gdf|FILE.gpx\n";

// The file named on the command line, if any; exits with status 2 and the usage line on
// standard error for an unknown option or more than one file. Qt has taken its own options
// (-platform and the like) out of the arguments already.
std::optional<QString> fileArgument(const QStringList& arguments)
{
    std::optional<QString> file;
    bool optionsEnd = false;
    for (const QString& argument : arguments.mid(1)) {
        if (!optionsEnd && argument == QStringLiteral("--")) {
            optionsEnd = true;
            continue;
        }
        if (!optionsEnd &&
            (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))) {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if ((!optionsEnd && argument.startsWith(QLatin1Char('-')) &&
             argument != QStringLiteral("-")) ||
            file) {
            std::fputs(kUsage, stderr);
            std::exit(2);
        }
        file = argument;
    }
    return file;
}

// "--export-pdf OUT FILE" as the first arguments: the paths, else nothing. Any other use of the
// option is wrong usage.
std::optional<std::pair<QString, QString>> pdfExport(const QStringList& arguments)
{
    if (!arguments.contains(QStringLiteral("--export-pdf")))
        return std::nullopt;
    if (arguments.size() != 4 || arguments[1] != QStringLiteral("--export-pdf")) {
        std::fputs(kUsage, stderr);
        std::exit(2);
    }
    return std::pair(arguments[2], arguments[3]);
}

} // namespace

int main(int argc, char* argv[])
{
    // A script that exports needs no display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--export-pdf") == 0 &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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

    if (const auto pdf = pdfExport(QApplication::arguments()))
        return gyrena::exportPdfCommand(pdf->first, pdf->second);
    const std::optional<QString> file = fileArgument(QApplication::arguments());

    gyrena::QtDialogs dialogs;
    const std::unique_ptr<gyrena::Registry> registry = gyrena::makeSystemRegistry();
    gyrena::QtLauncher launcher;
    gyrena::QtPrintPreview printPreview;
    gyrena::QtPreferences preferences;
    const gyrena::Services services{&dialogs, registry.get(), &launcher, &printPreview,
                                    &preferences};

    gyrena::StartWindow window(services);
    window.show();
    if (file) {
        // Opened once the event loop runs, so a message about an unreadable file stands over
        // the shown, empty window; the caption shows the full path, as the file dialog gives it.
        const QString path = file->isEmpty() ? *file : QFileInfo(*file).absoluteFilePath();
        QMetaObject::invokeMethod(
            &window, [&window, path] { window.openPath(path); }, Qt::QueuedConnection);
    }
    return app.exec();
}
