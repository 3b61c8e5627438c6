// The baseline for startup_gyrena: a bare QMainWindow of the same size with the same number of
// widgets, started the same way, measured the same way.
//
//   startup_bare --t0=<ns> --census=<startup_gyrena --census output> [--kinds]
//
// Without --kinds every widget is a plain QWidget (the window's widget count, nothing else);
// with --kinds the widgets are Qt's own controls of the same kinds and numbers (lists, boxes,
// labels, buttons, frames, a menu bar with the same menus and items), empty and unstyled.

#include "bench/startup/firstframe.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

namespace {

std::map<std::string, int> parseCensus(const std::string& text)
{
    std::map<std::string, int> kinds;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto eq = item.find('=');
        if (eq != std::string::npos)
            kinds[item.substr(0, eq)] = std::stoi(item.substr(eq + 1));
    }
    return kinds;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::int64_t mainEntered = gyrena::startup::monotonicNs();
    const std::int64_t t0 = gyrena::startup::startStamp(argc, argv, mainEntered);
    auto kinds = parseCensus(gyrena::startup::flagValue(argc, argv, "--census"));
    const bool sameKinds = gyrena::startup::hasFlag(argc, argv, "--kinds");
    if (kinds["total"] < 2) {
        std::fprintf(stderr, "startup_bare: --census=<startup_gyrena --census output> needed\n");
        return 2;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QMainWindow window;
    // The main window's size: 9525 x 7065 twips of client area at 15 twips a pixel.
    window.resize(635, 471 + 22);
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);

    int made = 2; // the window and its client area
    int slot = 0;
    const auto place = [&](QWidget* w) {
        w->setGeometry(8 + (slot % 6) * 100, 8 + (slot / 6) * 26, 90, 22);
        ++slot;
        ++made;
    };
    if (sameKinds) {
        if (kinds["menubar"] > 0) {
            ++made;
            const int menus = kinds["menu"];
            for (int m = 0; m < menus; ++m) {
                QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Menu%1").arg(m));
                ++made;
                const int actions = kinds["action"] / menus + (m < kinds["action"] % menus);
                for (int a = 0; a < actions; ++a)
                    menu->addAction(QStringLiteral("Item%1").arg(a));
            }
        }
        for (int i = 0; i < kinds["combo"]; ++i) {
            auto* combo = new QComboBox(client);
            combo->setEditable(true);
            place(combo);
            made += 1; // its own line edit
        }
        for (int i = 0; i < kinds["lineedit"]; ++i)
            place(new QLineEdit(client));
        for (int i = 0; i < kinds["label"]; ++i)
            place(new QLabel(QStringLiteral("Label"), client));
        for (int i = 0; i < kinds["button"]; ++i)
            place(new QPushButton(QStringLiteral("Button"), client));
        for (int i = 0; i < kinds["group"]; ++i)
            place(new QGroupBox(QStringLiteral("Frame"), client));
        for (int i = 0; i < kinds["frame"]; ++i) {
            auto* line = new QFrame(client);
            line->setFrameShape(QFrame::HLine);
            place(line);
        }
    }
    while (made < kinds["total"])
        place(new QWidget(client));

    std::string report;
    gyrena::startup::FirstFrame probe(&window, [&] {
        const std::int64_t now = gyrena::startup::monotonicNs();
        report += "first_frame_ms=" + std::to_string(double(now - t0) / 1e6);
        report += " main_ms=" + std::to_string(double(mainEntered - t0) / 1e6);
        report += " hwm_kib=" + std::to_string(gyrena::startup::statusKiB("VmHWM"));
        report += " rss_kib=" + std::to_string(gyrena::startup::statusKiB("VmRSS"));
        report += " widgets=" + std::to_string(window.findChildren<QWidget*>().size() + 1);
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
