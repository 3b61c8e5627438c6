// The route window as the program opens it: in a fresh process, the real main window is shown,
// San Francisco to Sydney computed, and Options > "Route Map" opens the window, which reads
// the coastline asset, plans the route, fills its table and paints its first frame. Each
// iteration starts this program again in that mode and takes what the child measured:
//
//   first show   from the menu item's trigger to the end of the route window's first frame;
//                baseline: the main window's own first show (show() to the end of its first
//                frame) in the same process
//   peak RSS     VmHWM with both windows open; baseline: VmHWM with the main window alone
//
//     build/ci/bench/bench_routewindow --benchmark_repetitions=9
//     xvfb-run -a build/ci/bench/bench_routewindow ...   (on a real X server)

#include "bench/qtbenchmain.h"
#include "bench/startup/firstframe.h"
#include "io/formats/locationfields.h"
#include "platform/qtdialogs.h"
#include "platform/qtlauncher.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/main/startwindow.h"
#include "ui/route/mapview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using gyrena::startup::monotonicNs;
using gyrena::startup::statusKiB;

struct ChildFigures
{
    double routeShowMs = 0;
    double mainShowMs = 0;
    double hwmBothMiB = 0;
    double hwmMainMiB = 0;
};

bool runChild(ChildFigures& out)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("GYRENA_BENCH_ROUTE_WINDOW"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return false;
    const QStringList fields =
        QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
    if (fields.size() != 4)
        return false;
    out = {fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble() / 1024,
           fields[3].toDouble() / 1024};
    return true;
}

void BM_RouteWindowFirstShowFreshProcess(benchmark::State& state)
{
    double mainShow = 0, hwmBoth = 0, hwmMain = 0;
    for (auto _ : state) {
        ChildFigures figures;
        if (!runChild(figures)) {
            state.SkipWithError("the route-window run failed");
            return;
        }
        state.SetIterationTime(figures.routeShowMs / 1e3);
        mainShow += figures.mainShowMs;
        hwmBoth = std::max(hwmBoth, figures.hwmBothMiB);
        hwmMain = std::max(hwmMain, figures.hwmMainMiB);
    }
    const double n = double(state.iterations());
    state.counters["main_show_ms"] = mainShow / n;
    state.counters["peak_rss_MiB"] = hwmBoth;
    state.counters["main_only_rss_MiB"] = hwmMain;
}
BENCHMARK(BM_RouteWindowFirstShowFreshProcess)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The child: prints "route_show_ms main_show_ms hwm_both_kib hwm_main_kib".
int routeWindowChild()
{
    gyrena::QtDialogs dialogs;
    const std::unique_ptr<gyrena::Registry> registry = gyrena::makeSystemRegistry();
    gyrena::QtLauncher launcher;
    gyrena::StartWindow window(gyrena::Services{&dialogs, registry.get(), &launcher});
    auto* routeMap = window.findChild<QAction*>(QStringLiteral("MRouteMap"));
    if (!routeMap)
        return 1;

    std::int64_t mainShown = 0, mainFramed = 0, triggered = 0, routeFramed = 0;
    long hwmMain = 0;
    std::unique_ptr<gyrena::startup::FirstFrame> routeProbe;
    gyrena::startup::FirstFrame mainProbe(&window, [&] {
        mainFramed = monotonicNs();
        hwmMain = statusKiB("VmHWM");
        // San Francisco 37 45 N 122 27 W to Sydney 34 0 S 151 0 E, computed as Compute Outputs
        // does.
        const gyrena::LocationTexts route[2] = {
            {"San Francisco", "", "37", "45", "N", "122", "27", "W"},
            {"Sydney", "", "34", "0", "S", "151", "0", "E"},
        };
        const auto list = [&window](gyrena::RouteEnd end, gyrena::LocationField field) {
            return window.findChild<QComboBox*>(gyrena::inputObjectName(end, field));
        };
        for (const gyrena::RouteEnd end : {gyrena::RouteEnd::Start, gyrena::RouteEnd::End}) {
            const gyrena::LocationTexts& texts = route[end == gyrena::RouteEnd::Start ? 0 : 1];
            for (const gyrena::LocationField field : gyrena::kCoordinateOrder)
                list(end, field)->setEditText(QString::fromStdString(texts[field]));
        }
        for (const gyrena::RouteEnd end : {gyrena::RouteEnd::Start, gyrena::RouteEnd::End})
            list(end, gyrena::LocationField::Name)
                ->setEditText(
                    QString::fromStdString(route[end == gyrena::RouteEnd::Start ? 0 : 1].name));
        window.computeOutputs();
        if (gyrena::MapView::coastlinesRead() || !routeMap->isEnabled()) {
            QApplication::exit(1); // the asset must not be read before the window opens
            return;
        }
        triggered = monotonicNs();
        routeMap->trigger();
        QWidget* routeWindow = QApplication::activeWindow();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("RouteWindow"))
                routeWindow = w;
        routeProbe = std::make_unique<gyrena::startup::FirstFrame>(routeWindow, [&] {
            routeFramed = monotonicNs();
            QApplication::exit(gyrena::MapView::coastlines() ? 0 : 1);
        });
    });
    mainShown = monotonicNs();
    window.show();
    const int code = QApplication::exec();
    if (code != 0)
        return code;
    std::printf("%.3f %.3f %ld %ld\n", double(routeFramed - triggered) / 1e6,
                double(mainFramed - mainShown) / 1e6, statusKiB("VmHWM"), hwmMain);
    std::fflush(stdout);
    std::_Exit(0); // the teardown is not measured
}

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv, "GYRENA_BENCH_ROUTE_WINDOW",
                                          routeWindowChild);
}
