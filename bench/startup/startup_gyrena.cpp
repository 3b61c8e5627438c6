// Starts Gyrena's main window as the program does (the real window, the real services) and
// prints how long the process took to its first complete frame and its peak memory then.
//
//   startup_gyrena --t0=<CLOCK_MONOTONIC ns before the process was started>
//                  [--list=<file>]   then loads that city list through Options > "Load City
//                                    list" and measures again after the next frame
//                  [--census]        prints the window's widgets by kind and quits
//   startup_gyrena --write-list=<count> <file>
//                                    writes the generated city list of <count> cities (made
//                                    apart, so that making it costs the measured run nothing)
//
// Output, one line: first_frame_ms=... main_ms=... hwm_kib=... rss_kib=... widgets=...
// [list_load_ms=... list_hwm_kib=... list_rss_kib=...]. bench/startup/run_startup.py runs it.

#include "bench/citylistgen.h"
#include "bench/startup/firstframe.h"
#include "platform/qtdialogs.h"
#include "platform/qtlauncher.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

// The real boxes, except that the city list dialog is answered with the generated file.
class ListDialogs : public gyrena::QtDialogs
{
public:
    QString listPath;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& filter) override
    {
        if (!listPath.isEmpty())
            return listPath;
        return gyrena::QtDialogs::openFileName(parent, title, filter);
    }
    int message(QWidget*, const QString& text, const QString& title, Buttons, Icon) override
    {
        std::fprintf(stderr, "startup_gyrena: unexpected box \"%s\" (%s)\n", qPrintable(text),
                     qPrintable(title));
        return AnswerOk;
    }
};

// Widgets of the window by kind, in the form startup_bare takes: "combo=14,lineedit=20,...".
// A list's own line edit belongs to the list and is not counted apart.
std::string census(QMainWindow& window)
{
    std::map<std::string, int> kinds;
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        if (qobject_cast<QComboBox*>(w))
            ++kinds["combo"];
        else if (qobject_cast<QLineEdit*>(w))
            ++kinds["lineedit"];
        else if (qobject_cast<QLabel*>(w))
            ++kinds["label"];
        else if (qobject_cast<QPushButton*>(w))
            ++kinds["button"];
        else if (qobject_cast<QGroupBox*>(w))
            ++kinds["group"];
        else if (qobject_cast<QMenuBar*>(w))
            ++kinds["menubar"];
        else if (qobject_cast<QMenu*>(w))
            ++kinds["menu"];
        else if (QString(w->metaObject()->className()) == QLatin1String("QFrame"))
            ++kinds["frame"];
        else
            ++kinds["widget"];
    }
    int actions = 0;
    for (QMenu* menu : window.findChildren<QMenu*>())
        actions += static_cast<int>(menu->actions().size());
    kinds["action"] = actions;
    std::string text;
    for (const auto& [kind, count] : kinds)
        text += kind + "=" + std::to_string(count) + ",";
    text += "total=" + std::to_string(widgets.size() + 1);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::int64_t mainEntered = gyrena::startup::monotonicNs();
    const std::int64_t t0 = gyrena::startup::startStamp(argc, argv, mainEntered);
    const bool printCensus = gyrena::startup::hasFlag(argc, argv, "--census");
    const QString listPath =
        QString::fromStdString(gyrena::startup::flagValue(argc, argv, "--list"));
    if (const std::string count = gyrena::startup::flagValue(argc, argv, "--write-list");
        !count.empty()) {
        const gyrena::bench::GeneratedCityList list = gyrena::bench::makeCityList(std::stoi(count));
        QFile file(QString::fromLocal8Bit(argv[argc - 1]));
        const bool written =
            file.open(QIODevice::WriteOnly) &&
            file.write(list.bytes.data(), qint64(list.bytes.size())) == qint64(list.bytes.size());
        return written ? 0 : 1;
    }

    // Started with no file to open, as from the menu: Qt sees the program name only.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Gyrena"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(GYRENA_VERSION_MAJOR)
                                            .arg(GYRENA_VERSION_MINOR)
                                            .arg(GYRENA_VERSION_PATCH));
    const QString iconPath = QStringLiteral(":/gyrena/icon-32.png");
    if (QFile::exists(iconPath))
        QApplication::setWindowIcon(QIcon(iconPath));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.gyrena.Gyrena"));

    // As app/main.cpp does it.
    ListDialogs dialogs;
    const std::unique_ptr<gyrena::Registry> registry = gyrena::makeSystemRegistry();
    gyrena::QtLauncher launcher;
    const gyrena::Services services{&dialogs, registry.get(), &launcher};
    gyrena::StartWindow window(services);

    if (printCensus) {
        std::printf("%s\n", census(window).c_str());
        return 0;
    }

    std::string report;
    std::int64_t listStart = 0;
    gyrena::startup::FirstFrame* probe = nullptr;
    probe = new gyrena::startup::FirstFrame(&window, [&] {
        if (listStart == 0) {
            const std::int64_t now = gyrena::startup::monotonicNs();
            report += "first_frame_ms=" + std::to_string(double(now - t0) / 1e6);
            report += " main_ms=" + std::to_string(double(mainEntered - t0) / 1e6);
            report += " hwm_kib=" + std::to_string(gyrena::startup::statusKiB("VmHWM"));
            report += " rss_kib=" + std::to_string(gyrena::startup::statusKiB("VmRSS"));
            report += " widgets=" + std::to_string(window.findChildren<QWidget*>().size() + 1);
            if (listPath.isEmpty()) {
                QTimer::singleShot(0, &app, &QApplication::quit);
                return;
            }
            dialogs.listPath = listPath;
            probe->rearm();
            listStart = gyrena::startup::monotonicNs();
            window.loadCityList();
            window.update();
            return;
        }
        const std::int64_t now = gyrena::startup::monotonicNs();
        report += " list_load_ms=" + std::to_string(double(now - listStart) / 1e6);
        report += " list_hwm_kib=" + std::to_string(gyrena::startup::statusKiB("VmHWM"));
        report += " list_rss_kib=" + std::to_string(gyrena::startup::statusKiB("VmRSS"));
        report += " list_cities=" +
                  std::to_string(window.cityTable() ? window.cityTable()->cityCount() : 0);
        QTimer::singleShot(0, &app, &QApplication::quit);
    });

    window.show();
    const int code = app.exec();
    // Nothing after the measurement counts: skip the teardown, so that a profile of this
    // program (valgrind --tool=callgrind) shows the start-up alone.
    std::printf("%s\n", report.c_str());
    std::fflush(stdout);
    std::_Exit(code);
}
