// Planning on the chart: a place of a 100-place voyage dragged across the map. Each iteration
// is one step of the drag, a mouse move sent to the map, as the window takes it (the move an edit
// of the voyage, merged into one undo step with the steps before it, the voyage viewed afresh with
// every leg checked for land and the almanac, table and summary refilled) and the map's repaint at
// the route window's size, for the benchmarks' voyage of 100 places (bench/hundredplaces.h: 397
// rows, 41 of its legs over land). p95_ms and p95_cpu_ms are the 95th percentile of the steps'
// wall and CPU times.
//
// BM_DragPlaceBySea drags the end of a leg by sea (Europoort to the Indian Ocean south of Ceylon,
// through Suez) along the map: every step is a new route by sea on the built-in graph (no step
// repeats a position, so the router's cache never answers), planned, checked for land and shown.
//
//     build/ci/bench/bench_chartedit --benchmark_repetitions=5

#include "bench/frametimes.h"
#include "bench/hundredplaces.h"
#include "bench/qtbenchmain.h"
#include "geo/voyage.h"
#include "io/earth/searoutesasset.h"
#include "platform/services.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"

#include <QCoreApplication>
#include <QImage>
#include <QLayout>
#include <QMouseEvent>

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
    // The pointer pressed on the marker of place 51, then moved up and down by a pixel or so a
    // step, as the real mouse events come (each also says the position under the pointer).
    const QPointF marker = *map->pixelOf(window.voyage().places[50].position);
    const auto send = [map](QEvent::Type type, QPointF at, Qt::MouseButton button) {
        QMouseEvent event(type, at, map->mapToGlobal(at), button, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(map, &event);
    };
    send(QEvent::MouseButtonPress, marker, Qt::LeftButton);
    gyrena::bench::FrameTimes steps;
    int n = 0;
    for (auto _ : state) {
        steps.start();
        const int k = n++ % 20;
        send(QEvent::MouseMove, marker + QPointF(0, 1.5 * (k < 10 ? k : 20 - k)), Qt::NoButton);
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        steps.stop();
    }
    send(QEvent::MouseButtonRelease, marker, Qt::LeftButton);
    steps.report(state);
}
BENCHMARK(BM_DragPlace)->Unit(benchmark::kMillisecond);

void BM_DragPlaceBySea(benchmark::State& state)
{
    RouteWindow window(Services{});
    window.resize(1280, 820);
    window.layout()->activate();
    // The graph and the land read before the drag, as they are a moment after "By sea".
    window.setSeaRouting(&builtInSeaRouter(), {});
    Voyage voyage = twoPlaceVoyage({"Europoort", {51.95, 4.05}}, {"Indian Ocean", {5.0, 80.0}});
    voyage.legs.front().sailing = Sailing::BySea;
    window.setVoyage(voyage);
    window.checkLandNow();
    if (!window.plan().hasPlan) {
        state.SkipWithError(window.plan().problem.c_str());
        return;
    }
    MapView* map = window.map();
    QImage image(map->size(), QImage::Format_ARGB32_Premultiplied);
    map->render(&image);
    const QPointF marker = *map->pixelOf(window.voyage().places[1].position);
    const auto send = [map](QEvent::Type type, QPointF at, Qt::MouseButton button) {
        QMouseEvent event(type, at, map->mapToGlobal(at), button, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(map, &event);
    };
    send(QEvent::MouseButtonPress, marker, Qt::LeftButton);
    gyrena::bench::FrameTimes steps;
    int n = 0;
    for (auto _ : state) {
        steps.start();
        // Along a line of 120 positions a third of a pixel apart, there and back at other heights:
        // never twice the same place.
        const int k = n++;
        send(QEvent::MouseMove, marker + QPointF((k % 120) / 3.0, 0.25 * (k / 120)), Qt::NoButton);
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        steps.stop();
    }
    send(QEvent::MouseButtonRelease, marker, Qt::LeftButton);
    steps.report(state);
}
BENCHMARK(BM_DragPlaceBySea)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
