// The passage plan leaving the program: a plan of 100 waypoints (San Francisco to Sydney, one
// every 65 nm) as PDF (map and two pages of table), as RTZ and as KML.
//
//     build/ci/bench/bench_exports --benchmark_repetitions=5

#include "bench/qtbenchmain.h"
#include "geo/routeview.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/kmlwriter.h"
#include "io/formats/rtzwriter.h"
#include "io/plan/passageplan.h"
#include "io/plan/voyageview.h"
#include "ui/route/plandocument.h"
#include "ui/route/waypointmodel.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace {

using namespace gyrena;

const RoutePlan& hundredWaypoints()
{
    static const RoutePlan plan = [] {
        PlanOptions options;
        options.spacing = PlanOptions::Spacing::Distance;
        options.everyNm = 65.0;
        return planRoute({37.75, -122.45}, {-34.0, 151.0}, options);
    }();
    return plan;
}

void BM_Pdf(benchmark::State& state)
{
    Voyage voyage = twoPlaceVoyage({"San Francisco", {37.75, -122.45}}, {"Sydney", {-34.0, 151.0}});
    voyage.spacing.spacing = PlanOptions::Spacing::Distance;
    voyage.spacing.everyNm = 65.0;
    const VoyageView view = viewVoyage(voyage);
    WaypointModel model;
    model.setView(view);
    PlanDocumentContent content;
    content.plan = view.passage;
    content.map = view.map;
    content.table = &model;
    MapView::coastlines(); // read once per process, as the window has done before any export
    for (auto _ : state)
        benchmark::DoNotOptimize(planDocumentPdf(content));
    state.counters["rows"] = double(model.rowCount());
}
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond);

// Baseline: what any PDF costs, one A4 page with a line of text.
void BM_PdfOneLine(benchmark::State& state)
{
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            QPainter painter(&writer);
            painter.drawText(QPointF(100, 100), QStringLiteral("San Francisco \u2013 Sydney"));
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PdfOneLine)->Unit(benchmark::kMillisecond);

// Baseline: the GPX route of the same plan.
void BM_Gpx(benchmark::State& state)
{
    const PassagePlan plan = passagePlanFromRoute(hundredWaypoints(), "San Francisco", "Sydney");
    for (auto _ : state)
        benchmark::DoNotOptimize(writeGpxRoute(plan));
}
BENCHMARK(BM_Gpx)->Unit(benchmark::kMillisecond);

void BM_Rtz(benchmark::State& state)
{
    const PassagePlan plan = passagePlanFromRoute(hundredWaypoints(), "San Francisco", "Sydney");
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtzRoute(plan));
    state.counters["rows"] = double(plan.rows.size());
}
BENCHMARK(BM_Rtz)->Unit(benchmark::kMillisecond);

void BM_Kml(benchmark::State& state)
{
    const PassagePlan plan = passagePlanFromRoute(hundredWaypoints(), "San Francisco", "Sydney");
    for (auto _ : state)
        benchmark::DoNotOptimize(writeKmlRoute(plan));
    state.counters["rows"] = double(plan.rows.size());
}
BENCHMARK(BM_Kml)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
