// Options > "Load City list" on the largest list a user can load (32,767 cities), into a real
// main window offscreen: the whole command from reading the file to the filled lists and the two
// picks. And the first drop-down of the start list after such a load.
//
//     build/ci/bench/bench_loadcitylist --benchmark_repetitions=5

#include "bench/citylistgen.h"
#include "bench/qtbenchmain.h"
#include "io/formats/citylist.h"
#include "platform/dialogs.h"
#include "ui/main/startwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using gyrena::Dialogs;

// Answers every file dialog with one path; any message box means the load failed.
class ChooseOnePath : public Dialogs
{
public:
    QString path;
    int messages = 0;

    int message(QWidget*, const QString& text, const QString&, Buttons, Icon) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
        ++messages;
        return AnswerOk;
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString&) override
    {
        return path;
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

struct Fixture
{
    QTemporaryDir dir;
    ChooseOnePath dialogs;
    std::unique_ptr<gyrena::StartWindow> window;

    explicit Fixture(int cities)
    {
        const gyrena::bench::GeneratedCityList list = gyrena::bench::makeCityList(cities);
        QFile file(dir.filePath(QStringLiteral("cities.gcl")));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(list.bytes.data(), qint64(list.bytes.size())) != qint64(list.bytes.size()))
            std::abort();
        file.close();
        dialogs.path = file.fileName();
        window =
            std::make_unique<gyrena::StartWindow>(gyrena::Services{&dialogs, nullptr, nullptr});
        window->show();
        QApplication::processEvents();
    }

    QComboBox* startList() const
    {
        return window->findChild<QComboBox*>(QStringLiteral("Combo13"));
    }

    bool loaded(int cities) const
    {
        return dialogs.messages == 0 && window->cityTable() &&
               window->cityTable()->cityCount() == cities && startList()->count() == cities;
    }
};

void BM_LoadCityList(benchmark::State& state)
{
    const int cities = int(state.range(0));
    Fixture fixture(cities);
    for (auto _ : state) {
        fixture.window->loadCityList();
        // The picks ran: both lists show their cities.
        benchmark::DoNotOptimize(fixture.startList()->currentText());
    }
    if (!fixture.loaded(cities))
        state.SkipWithError("the list did not load");
    state.counters["cities"] = cities;
}
BENCHMARK(BM_LoadCityList)->Arg(32767)->Arg(1000)->Unit(benchmark::kMillisecond);

// The first drop-down after a load lays out every entry of the new list once.
void BM_FirstDropDownAfterLoad(benchmark::State& state)
{
    const int cities = int(state.range(0));
    Fixture fixture(cities);
    QComboBox* list = fixture.startList();
    for (auto _ : state) {
        state.PauseTiming();
        fixture.window->loadCityList();
        QApplication::processEvents();
        state.ResumeTiming();
        list->showPopup();
        // The view lays its entries out and paints them from the event loop.
        QApplication::processEvents();
        state.PauseTiming();
        if (!list->view()->isVisible())
            state.SkipWithError("the drop-down did not open");
        list->hidePopup();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (!fixture.loaded(cities))
        state.SkipWithError("the list did not load");
}
BENCHMARK(BM_FirstDropDownAfterLoad)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
