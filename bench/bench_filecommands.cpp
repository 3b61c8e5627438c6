// The file commands as a user meets them, each beside the floor Qt or the machine sets for the
// same work, measured in the same run:
//
//   - File > "Open" and File > "Save" of a data file in a real main window, offscreen (dialog
//     answered at once), beside reading and writing the same 17 lines with QFile / QSaveFile;
//   - reading and checking the largest city list (32,767 cities), beside one pass over its bytes
//     that only counts the line ends;
//   - Options > "Load City list" of that list up to the window's next paint, beside two bare
//     QComboBoxes given one QStringListModel of the same names, up to their next paint;
//   - the first drop-down of the start list after that load, beside the first drop-down of a
//     bare QComboBox given the same names.
//
//     build-perf/bench/bench_filecommands --benchmark_repetitions=9
//                                         --benchmark_report_aggregates_only=true

#include "bench/citylistgen.h"
#include "bench/qtbenchmain.h"
#include "io/formats/citylist.h"
#include "io/formats/datafile.h"
#include "platform/dialogs.h"
#include "ui/main/startwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSaveFile>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using gyrena::Dialogs;

const QByteArray kDataFile =
    "GyrenaDataFile\r\nLondon\r\nEngland\r\nNew York\r\nUSA\r\n51\r\n30\r\n"
    "N\r\n0\r\n10\r\nW\r\n40\r\n43\r\nN\r\n74\r\n0\r\nW\r\n";

// Answers every file dialog with one path; a message box means the command failed.
class OnePath : public Dialogs
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
        return path;
    }
};

struct Window
{
    QTemporaryDir dir;
    OnePath dialogs;
    std::unique_ptr<gyrena::StartWindow> window;

    Window()
    {
        window =
            std::make_unique<gyrena::StartWindow>(gyrena::Services{&dialogs, nullptr, nullptr});
        window->show();
        QApplication::processEvents();
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        return path;
    }
};

void BM_OpenDataFile(benchmark::State& state)
{
    Window w;
    w.dialogs.path = w.write(QStringLiteral("route.gdf"), kDataFile);
    for (auto _ : state) {
        w.window->openFile();
        benchmark::DoNotOptimize(w.window->location());
    }
    if (w.dialogs.messages != 0 || w.window->location().startLat != 51.5)
        state.SkipWithError("Open did not restore the route");
}
BENCHMARK(BM_OpenDataFile)->Unit(benchmark::kMicrosecond);

void BM_Baseline_QFileRead(benchmark::State& state)
{
    Window w;
    const QString path = w.write(QStringLiteral("route.gdf"), kDataFile);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_Baseline_QFileRead)->Unit(benchmark::kMicrosecond);

void BM_SaveDataFile(benchmark::State& state)
{
    Window w;
    w.dialogs.path = w.write(QStringLiteral("route.gdf"), kDataFile);
    w.window->openFile(); // a route to save, and "Done with Inputs" enabled
    for (auto _ : state)
        w.window->saveFile();
    QFile file(w.dialogs.path);
    if (w.dialogs.messages != 0 || !file.open(QIODevice::ReadOnly) || file.readAll() != kDataFile)
        state.SkipWithError("Save did not write the route");
}
BENCHMARK(BM_SaveDataFile)->Unit(benchmark::kMicrosecond);

// The same atomic write the command does, without the window: the floor of a safe save.
void BM_Baseline_QSaveFileWrite(benchmark::State& state)
{
    Window w;
    const QString path = w.write(QStringLiteral("route.gdf"), kDataFile);
    for (auto _ : state) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(kDataFile) != kDataFile.size() ||
            !file.flush() || !file.commit())
            std::abort();
    }
}
BENCHMARK(BM_Baseline_QSaveFileWrite)->Unit(benchmark::kMicrosecond);

void BM_ReadCityList32767(benchmark::State& state)
{
    const std::string bytes = gyrena::bench::makeCityList(gyrena::kMaxCityCount).bytes;
    for (auto _ : state) {
        auto table = gyrena::readCityList(bytes);
        if (!std::holds_alternative<gyrena::CityTable>(table))
            std::abort();
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCityList32767)->Unit(benchmark::kMillisecond);

// One pass over the same bytes that only counts line ends: no reader can do less.
void BM_Baseline_CountLineEnds32767(benchmark::State& state)
{
    const std::string bytes = gyrena::bench::makeCityList(gyrena::kMaxCityCount).bytes;
    for (auto _ : state) {
        std::size_t lines = 0;
        for (const char *p = bytes.data(), *end = p + bytes.size();
             (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)))); ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Baseline_CountLineEnds32767)->Unit(benchmark::kMillisecond);

void BM_LoadCityList32767ToPaint(benchmark::State& state)
{
    Window w;
    const gyrena::bench::GeneratedCityList list =
        gyrena::bench::makeCityList(gyrena::kMaxCityCount);
    w.dialogs.path = w.write(QStringLiteral("cities.gcl"), QByteArray::fromStdString(list.bytes));
    for (auto _ : state) {
        w.window->loadCityList();
        w.window->repaint(); // the next paint, at once
    }
    if (w.dialogs.messages != 0 || !w.window->cityTable() ||
        w.window->cityTable()->cityCount() != gyrena::kMaxCityCount)
        state.SkipWithError("the list did not load");
}
BENCHMARK(BM_LoadCityList32767ToPaint)->Unit(benchmark::kMillisecond);

// Two bare lists handed one model of the same names, then painted: what Qt itself costs.
void BM_Baseline_BareListsSetModel32767(benchmark::State& state)
{
    const gyrena::bench::GeneratedCityList list =
        gyrena::bench::makeCityList(gyrena::kMaxCityCount);
    QStringList names;
    for (const auto& city : list.cities)
        names.append(QString::fromStdString(city[0]));
    QWidget window;
    window.resize(635, 493);
    auto* start = new QComboBox(&window);
    auto* end = new QComboBox(&window);
    for (QComboBox* combo : {start, end}) {
        combo->setEditable(true);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    start->setGeometry(10, 10, 200, 22);
    end->setGeometry(10, 40, 200, 22);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        auto* model = new QStringListModel(names, &window);
        // A list deletes a model it made itself; the shared one before is the window's.
        QAbstractItemModel* const previous =
            start->model()->parent() == &window ? start->model() : nullptr;
        start->setModel(model);
        end->setModel(model);
        start->setCurrentIndex(0);
        end->setCurrentIndex(1);
        window.repaint();
        delete previous;
    }
}
BENCHMARK(BM_Baseline_BareListsSetModel32767)->Unit(benchmark::kMillisecond);

// The first drop-down after a load: the view lays out and paints the new entries once.
void BM_FirstDropDownAfterLoad32767(benchmark::State& state)
{
    Window w;
    const gyrena::bench::GeneratedCityList list =
        gyrena::bench::makeCityList(gyrena::kMaxCityCount);
    w.dialogs.path = w.write(QStringLiteral("cities.gcl"), QByteArray::fromStdString(list.bytes));
    auto* start = w.window->findChild<QComboBox*>(QStringLiteral("Combo13"));
    for (auto _ : state) {
        state.PauseTiming();
        w.window->loadCityList();
        QApplication::processEvents();
        state.ResumeTiming();
        start->showPopup();
        QApplication::processEvents();
        state.PauseTiming();
        if (!start->view()->isVisible())
            state.SkipWithError("the drop-down did not open");
        start->hidePopup();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstDropDownAfterLoad32767)->Unit(benchmark::kMillisecond);

void BM_Baseline_BareListFirstDropDown32767(benchmark::State& state)
{
    const gyrena::bench::GeneratedCityList list =
        gyrena::bench::makeCityList(gyrena::kMaxCityCount);
    QStringList names;
    for (const auto& city : list.cities)
        names.append(QString::fromStdString(city[0]));
    QWidget window;
    window.resize(635, 493);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setGeometry(10, 10, 200, 22);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        QAbstractItemModel* const previous =
            combo->model()->parent() == &window ? combo->model() : nullptr;
        combo->setModel(new QStringListModel(names, &window));
        delete previous;
        QApplication::processEvents();
        state.ResumeTiming();
        combo->showPopup();
        QApplication::processEvents();
        state.PauseTiming();
        if (!combo->view()->isVisible())
            state.SkipWithError("the drop-down did not open");
        combo->hidePopup();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Baseline_BareListFirstDropDown32767)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return gyrena::bench::runQtBenchmarks(argc, argv);
}
