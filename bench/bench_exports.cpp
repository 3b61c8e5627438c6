// The passage plan leaving the program: a plan of 100 waypoints (San Francisco to Sydney, one
// every 65 nm) as PDF (map and two pages of table), as RTZ and as KML.
//
//     build/ci/bench/bench_exports --benchmark_repetitions=5

#include "bench/qtbenchmain.h"
#include "geo/routeview.h"
#include "io/kmlwriter.h"
#include "io/passageplan.h"
#include "io/rtzwriter.h"
#include "ui/route/plandocument.h"
#include "ui/route/waypointmodel.h"

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
    const RoutePlan& plan = hundredWaypoints();
    WaypointModel model;
    model.setPlan(plan);
    PlanDocumentContent content;
    content.plan = passagePlanFromRoute(plan, "San Francisco", "Sydney");
    content.map.startName = QStringLiteral("San Francisco");
    content.map.endName = QStringLiteral("Sydney");
    content.map.start = plan.waypoints.front().position;
    content.map.end = plan.waypoints.back().position;
    content.map.greatCircle = greatCirclePath(plan);
    content.map.rhumbLine = rhumbLinePath(content.map.start, content.map.end);
    for (const Waypoint& waypoint : plan.waypoints)
        content.map.waypoints.push_back(waypoint.position);
    content.table = &model;
    MapView::coastlines(); // read once per process, as the window has done before any export
    for (auto _ : state)
        benchmark::DoNotOptimize(planDocumentPdf(content));
    state.counters["rows"] = double(model.rowCount());
}
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond);

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
