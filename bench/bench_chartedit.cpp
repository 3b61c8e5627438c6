// Planning on the chart: a place of a 100-place voyage dragged across the map. Each iteration
// is one step of the drag as the window takes it from the map (the move an edit of the voyage,
// merged into one undo step with the steps before it, the voyage viewed afresh with every leg
// checked for land and the almanac, table and summary refilled) and the map's repaint at the
// route window's size. p95_ms is the 95th percentile of the steps.
//
//     build/ci/bench/bench_chartedit --benchmark_repetitions=5

#include "bench/qtbenchmain.h"
#include "geo/voyage.h"
#include "platform/services.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace gyrena;

// A hundred places zigzagging across the Pacific, each leg a few hundred miles.
Voyage hundredPlaces()
{
    Voyage voyage;
    for (int i = 0; i < 100; ++i)
        voyage.places.push_back(
            {"P" + std::to_string(i + 1), {20 + 8 * std::sin(i / 4.0), -175 + 3.2 * i}});
    voyage.legs.resize(99);
    return voyage;
}

void BM_DragPlace(benchmark::State& state)
{
    RouteWindow window(Services{});
    window.resize(1280, 820);
    window.layout()->activate();
    window.setVoyage(hundredPlaces());
    window.checkLandNow(); // the land read before the drag, as it is a moment after opening
    MapView* map = window.map();
    QImage image(map->size(), QImage::Format_ARGB32_Premultiplied);
    map->render(&image); // the assets are read and the land prepared outside the loop
    std::vector<double> steps;
    QElapsedTimer timer;
    int n = 0;
    for (auto _ : state) {
        timer.start();
        LatLon at = window.voyage().places[50].position;
        at.latitude += (n++ % 20 < 10 ? 0.05 : -0.05);
        emit map->placeDragged(50, at, false);
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        steps.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(steps.begin(), steps.end());
    state.counters["p95_ms"] =
        steps.empty() ? 0
                      : steps[std::min(steps.size() - 1, std::size_t(0.95 * double(steps.size())))];
}
BENCHMARK(BM_DragPlace)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
