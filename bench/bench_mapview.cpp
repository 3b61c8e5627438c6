// The route map: a full repaint of the world map and of the great-circle chart at 1280 x 800
// (what every resize costs; nothing of a paint is cached but the chart's projected land), the
// first read of the coastline asset, and the map's part of the route window's first show: in a
// fresh process, the asset read, the land prepared and the first paint.
//
//     build/ci/bench/bench_mapview --benchmark_repetitions=9

#include "bench/qtbenchmain.h"
#include "io/earth/coastlines.h"
#include "tests/maproutes.h"
#include "ui/route/mapview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using gyrena::MapView;

constexpr QSize kSize(1280, 800);

void paintOnce(MapView& view, QImage& image)
{
    view.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

// range(0): 0 world, 1 chart; range(1): 1 when every repaint follows a resize by a pixel (sea,
// land and graticule drawn again), 0 for a repaint at the same size (drawn from the kept image).
void BM_MapRepaint(benchmark::State& state)
{
    MapView view;
    view.setRoute(gyrena::testroutes::sanFranciscoSydney());
    view.setProjection(state.range(0) == 0 ? MapView::Projection::World
                                           : MapView::Projection::Chart);
    view.resize(kSize);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    paintOnce(view, image); // the asset is read and the land prepared outside the loop
    int width = kSize.width();
    for (auto _ : state) {
        if (state.range(1) != 0) {
            width = width == kSize.width() ? kSize.width() - 1 : kSize.width();
            view.resize(width, kSize.height());
        }
        paintOnce(view, image);
    }
}
BENCHMARK(BM_MapRepaint)
    ->ArgNames({"chart", "resized"})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

// Baseline: the floor of any repaint of that size, an antialiased painter filling the image.
void BM_BareFill(benchmark::State& state)
{
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(image.rect(), QColor(0xdd, 0xea, 0xf3));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_BareFill)->Unit(benchmark::kMillisecond);

void BM_ReadCoastlines(benchmark::State& state)
{
    QFile file(QStringLiteral(":/gyrena/coastlines/land-50m.bin"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no coastline asset");
        return;
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        auto parsed =
            gyrena::readCoastlines(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadCoastlines)->Unit(benchmark::kMillisecond);

// The first show happens once per process, so each iteration starts this program again in its
// first-paint mode and takes the time that process measured (not its start-up).
void BM_FirstMapShowFreshProcess(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GYRENA_BENCH_FIRST_PAINT"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            state.SkipWithError("the first-paint run failed");
            return;
        }
        bool ok = false;
        const double micros = child.readAllStandardOutput().trimmed().toDouble(&ok);
        if (!ok) {
            state.SkipWithError("the first-paint run printed no time");
            return;
        }
        state.SetIterationTime(micros / 1e6);
    }
}
BENCHMARK(BM_FirstMapShowFreshProcess)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

int firstPaint()
{
    {
        // The main window has drawn its texts before the route window can open: the fonts are
        // loaded by then, and are not the map's to pay for.
        QImage warm(64, 16, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&warm);
        painter.drawText(0, 12, QStringLiteral("Gyrena"));
    }
    MapView view;
    view.setRoute(gyrena::testroutes::sanFranciscoSydney());
    view.resize(kSize);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer timer;
    timer.start();
    view.render(&image);
    const qint64 nanos = timer.nsecsElapsed();
    if (!MapView::coastlines())
        return 1;
    std::printf("%.1f\n", double(nanos) / 1e3);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv, "GYRENA_BENCH_FIRST_PAINT", firstPaint);
}
