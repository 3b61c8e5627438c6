// Voyages: planning 100 places with a waypoint every degree of longitude, and one edit of a
// 100-place voyage in the route window — the re-plan and the repaint of its map and table that
// follow, as the user sees them.
//
//     build/ci/bench/bench_voyage --benchmark_repetitions=9

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

// 100 places from the Caribbean east round the world, 3.5 degrees of longitude apart and up and
// down between 20 and 36 degrees north; every third leg a rhumb line, every third composite
// below 36.5 degrees.
Voyage hundredPlaces()
{
    Voyage voyage;
    for (int i = 0; i < 100; ++i)
        voyage.places.push_back(
            {"P" + std::to_string(i + 1), {28.0 + 8.0 * std::sin(i * 0.7), -80.0 + 3.5 * i}});
    for (int i = 0; i < 99; ++i)
        voyage.legs.push_back({i % 3 == 0   ? Sailing::GreatCircle
                               : i % 3 == 1 ? Sailing::RhumbLine
                                            : Sailing::Composite,
                               36.5, std::nullopt});
    voyage.spacing = {PlanOptions::Spacing::Meridians, 1, 600.0};
    voyage.departure = 29400000; // 2025-11-25T00:00Z
    return voyage;
}

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
