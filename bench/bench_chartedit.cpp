// Planning on the chart: a place of a 100-place voyage dragged across the map. Each iteration
// is one step of the drag as the window takes it from the map (the move an edit of the voyage,
// merged into one undo step with the steps before it, the voyage viewed afresh with every leg
// checked for land and the almanac, table and summary refilled) and the map's repaint at the
// route window's size, for the benchmarks' voyage of 100 places (bench/hundredplaces.h: 397
// rows, 41 of its legs over land). p95_ms and p95_cpu_ms are the 95th percentile of the steps'
// wall and CPU times.
//
//     build/ci/bench/bench_chartedit --benchmark_repetitions=5

#include "bench/frametimes.h"
#include "bench/hundredplaces.h"
#include "bench/qtbenchmain.h"
#include "geo/voyage.h"
#include "platform/services.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"

#include <QImage>
#include <QLayout>

#include <benchmark/benchmark.h>

namespace {

using namespace gyrena;

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
    gyrena::bench::FrameTimes steps;
    int n = 0;
    for (auto _ : state) {
        steps.start();
        LatLon at = window.voyage().places[50].position;
        at.latitude += (n++ % 20 < 10 ? 0.05 : -0.05);
        emit map->placeDragged(50, at, false);
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        steps.stop();
    }
    steps.report(state);
}
BENCHMARK(BM_DragPlace)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
