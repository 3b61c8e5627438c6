// Voyages: planning 100 places with a waypoint every degree of longitude, and one edit of a
// 100-place voyage in the route window — the re-plan and the repaint of its map and table that
// follow, as the user sees them.
//
//     build/ci/bench/bench_voyage --benchmark_repetitions=9

#include "bench/hundredplaces.h"
#include "bench/qtbenchmain.h"
#include "geo/voyage.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"
#include "ui/route/voyageeditor.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace gyrena;

void BM_PlanVoyage(benchmark::State& state)
{
    const Voyage voyage = hundredPlaces();
    std::size_t rows = 0;
    for (auto _ : state) {
        const VoyagePlan plan = planVoyage(voyage);
        rows = plan.rows.size();
        benchmark::DoNotOptimize(plan.rows.data());
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_PlanVoyage)->Unit(benchmark::kMillisecond);

// One rename of a place: the window re-plans, then its map and table paint a frame.
void BM_EditReplanRepaint(benchmark::State& state)
{
    RouteWindow window(Services{});
    window.setVoyage(hundredPlaces());
    window.resize(1280, 820);
    window.show();
    auto* map = window.findChild<MapView*>(QStringLiteral("Map"));
    auto* table = window.findChild<QTableView*>(QStringLiteral("WaypointTable"));
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("PlaceName"));
    auto* rename = window.findChild<QPushButton*>(QStringLiteral("RenamePlace"));
    QImage mapImage(map->size(), QImage::Format_ARGB32_Premultiplied);
    QImage tableImage(table->size(), QImage::Format_ARGB32_Premultiplied);
    MapView::coastlines();
    map->render(&mapImage); // the kept background, as after the window's first frame
    window.editor()->selectPlace(50);
    int n = 0;
    for (auto _ : state) {
        name->setText(QStringLiteral("Renamed %1").arg(++n));
        rename->click();
        map->render(&mapImage);
        table->render(&tableImage);
    }
    state.counters["rows"] = double(window.plan().rows.size());
}
BENCHMARK(BM_EditReplanRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
