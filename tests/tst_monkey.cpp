// A monkey on the real main window, offscreen: thousands of seeded random user events (typing
// any kind of text into any list or box, picking items, pressing every button and menu item,
// answering every box and file dialog at random, opening, saving and loading good and broken
// files) with the window's invariants checked after each one:
//
//   - the output frame is shown exactly when "Compute Outputs" is enabled and green;
//   - the eight location values are what the twelve coordinate texts say;
//   - no output box shows nan or inf;
//   - a save that reports nothing wrote a file that reads back as exactly what the window shows,
//     and a save that reported a failure left the file as it was;
//   - no modal dialog is ever open, and the application is never really ended.
//
// The seed is printed; GYRENA_MONKEY_SEED picks another one and GYRENA_MONKEY_EVENTS the number of
// events. A seed that once failed is kept in tests/monkey-regressions/seeds.txt and replayed.

#include "bench/citylistgen.h"
#include "fakedialogs.h"
#include "fakeregistry.h"
#include "geo/location.h"
#include "io/formats/datafile.h"
#include "io/formats/locationfields.h"
#include "modalwatch.h"
#include "platform/appexit.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/info/aboutwindow.h"
#include "ui/info/mathwindow.h"
#include "ui/main/startwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifndef GYRENA_MONKEY_REGRESSIONS
#define GYRENA_MONKEY_REGRESSIONS ""
#endif

using namespace gyrena;

namespace {

constexpr std::uint64_t kDefaultSeed = 20261207;
constexpr int kDefaultEvents = 10000;

// Small, portable random choices: the same seed gives the same run with any standard library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}
    std::uint64_t next() { return m_engine(); }
    int below(int n)
    {
        return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
    }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> const T& pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::mt19937_64 m_engine;
};

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::optional<QByteArray> fileState(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// The colour of a button's face: the average of the bright pixels inside its frame, so that
// neither the dark frame and focus mark nor the caption count.
QColor faceColour(QWidget* button)
{
    const QImage face = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    long long red = 0, green = 0, blue = 0, count = 0;
    for (int y = 3; y < face.height() - 3; ++y) {
        for (int x = 3; x < face.width() - 3; ++x) {
            const QColor c = face.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) < 160)
                continue;
            red += c.red();
            green += c.green();
            blue += c.blue();
            ++count;
        }
    }
    if (count == 0)
        return QColor(Qt::black);
    return QColor(int(red / count), int(green / count), int(blue / count));
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

} // namespace

class tst_Monkey : public QObject
{
    Q_OBJECT

    // Any real modal window the code under test raises by mistake fails the running test within
    // moments, named with its title and text, instead of hanging the suite.
    ModalWatch m_modals;

private slots:
    void initTestCase();
    void run_data();
    void run();

private:
    struct Run;
    void prepareFiles(const QString& dir);

    QTemporaryDir m_dir;
    std::vector<QString> m_dataFiles;   // what Open is offered
    std::vector<QString> m_cityLists;   // what Load City list is offered
    std::vector<QString> m_saveTargets; // where Save and Save As may write
};

// The offscreen platform cannot raise windows; the information windows ask it to every time.
static QtMessageHandler g_previousHandler = nullptr;
static void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    g_previousHandler(type, context, message);
}

void tst_Monkey::initTestCase()
{
    g_previousHandler = qInstallMessageHandler(quietRaise);
    QVERIFY(m_dir.isValid());
    prepareFiles(m_dir.path());
}

void tst_Monkey::prepareFiles(const QString& root)
{
    const QString open = root + QStringLiteral("/open");
    const QString lists = root + QStringLiteral("/lists");
    const QString saves = root + QStringLiteral("/saves");
    QVERIFY(QDir().mkpath(open) && QDir().mkpath(lists) && QDir().mkpath(saves));

    const QByteArray london =
        "GyrenaDataFile\r\nLondon\r\nEngland\r\nNew York\r\nUSA\r\n51\r\n30\r\n"
        "N\r\n0\r\n10\r\nW\r\n40\r\n43\r\nN\r\n74\r\n0\r\nW\r\n";
    const QByteArray cityList = "GyrenaCityListFile\r\n3\r\nLondon,England,51,30,N,0,10,W\r\n"
                                "New York,USA,40,43,N,74,0,W\r\n"
                                "\"Washington, D.C.\",USA,38,54,N,77,2,W\r\n";
    QByteArray binary;
    for (int i = 0; i < 3000; ++i)
        binary.append(static_cast<char>((i * 7919 + 13) % 256));
    const QList<QPair<QString, QByteArray>> dataFiles = {
        {QStringLiteral("london.gdf"), london},
        {QStringLiteral("quoted.gdf"), "GyrenaDataFile\n\"Washington, D.C.\"\n\" "
                                       "USA\"\nZ\xc3\xbcrich\nSchweiz\n38\n54\nN\n77\n2\n"
                                       "W\n47.5\n22\nN\n8\n32.25\nE\n"},
        {QStringLiteral("lf-only.gdf"), QByteArray(london).replace("\r\n", "\n")},
        {QStringLiteral("truncated.gdf"), london.left(40)},
        {QStringLiteral("not-a-number.gdf"),
         QByteArray(london).replace("\r\n51\r\n", "\r\nabc\r\n")},
        {QStringLiteral("wrong-header.gdf"),
         QByteArray(london).replace("GyrenaDataFile", "gyrenadatafile")},
        {QStringLiteral("empty.gdf"), QByteArray()},
        {QStringLiteral("binary.gdf"), binary},
        {QStringLiteral("nul.gdf"),
         QByteArray(london).replace("London", QByteArray("Lon\0don", 7))},
        {QStringLiteral("long-field.gdf"),
         QByteArray(london).replace("London", QByteArray(5000, 'L'))},
        {QStringLiteral("huge-numbers.gdf"),
         QByteArray(london).replace("\r\n51\r\n30\r\n", "\r\n1e308\r\n1e400\r\n")},
        {QStringLiteral("citylist-as-data.gdf"), cityList},
    };
    for (const auto& [name, bytes] : dataFiles) {
        QVERIFY(writeBytes(open + u'/' + name, bytes));
        m_dataFiles.push_back(open + u'/' + name);
    }
    m_dataFiles.push_back(open + QStringLiteral("/missing.gdf"));
    m_dataFiles.push_back(open); // a folder

    const bench::GeneratedCityList generated = bench::makeCityList(120);
    const QByteArray generatedBytes = QByteArray::fromStdString(generated.bytes);
    const QList<QPair<QString, QByteArray>> listFiles = {
        {QStringLiteral("three.gcl"), cityList},
        {QStringLiteral("generated.gcl"), generatedBytes},
        {QStringLiteral("truncated.gcl"), generatedBytes.left(generatedBytes.size() / 2)},
        {QStringLiteral("one-city.gcl"),
         "GyrenaCityListFile\r\n1\r\n\"Null Island\",Nowhere,0,0,N,0,0,E\r\n"},
        {QStringLiteral("count-zero.gcl"), "GyrenaCityListFile\r\n0\r\n"},
        {QStringLiteral("count-negative.gcl"), "GyrenaCityListFile\r\n-3\r\nA,B,1,2,N,3,4,E\r\n"},
        {QStringLiteral("count-words.gcl"), "GyrenaCityListFile\r\nthree\r\nA,B,1,2,N,3,4,E\r\n"},
        {QStringLiteral("count-too-big.gcl"), "GyrenaCityListFile\r\n40000\r\nA,B,1,2,N,3,4,E\r\n"},
        {QStringLiteral("odd-fields.gcl"),
         "GyrenaCityListFile\r\n2\r\n,,,,,,,\r\n\"  Spaced\",\"\",1e400,-5,n,&H10,30.5,e\r\n"},
        {QStringLiteral("data-as-list.gcl"), london},
        {QStringLiteral("empty.gcl"), QByteArray()},
        {QStringLiteral("binary.gcl"), binary},
    };
    for (const auto& [name, bytes] : listFiles) {
        QVERIFY(writeBytes(lists + u'/' + name, bytes));
        m_cityLists.push_back(lists + u'/' + name);
    }
    m_cityLists.push_back(lists + QStringLiteral("/missing.gcl"));

    m_saveTargets = {
        saves + QStringLiteral("/route.gdf"),
        saves + QStringLiteral("/route two.gdf"),
        saves + QStringLiteral("/Z\u00fcrich \u6771\u4eac.gdf"),
        saves + QStringLiteral("/no-such-folder/route.gdf"),
        saves,                                   // a folder
        open + QStringLiteral("/truncated.gdf"), // over a broken file, which Open then offers
        QString(),                               // an empty name
    };
}

// One monkey run: the window, its fakes, and the bookkeeping of the last events.
struct tst_Monkey::Run
{
    Random random;
    FakeDialogs dialogs;
    // No registry values and no programs: "System Info..." always says it is unavailable.
    FakeRegistry registry;
    FakeLauncher launcher;
    std::unique_ptr<StartWindow> window;
    std::array<QComboBox*, 15> combo{};
    std::array<QLineEdit*, 21> text{};
    std::array<QPushButton*, 6> command{};
    QGroupBox* frame2 = nullptr;
    std::deque<QString> history;
    int exits = 0;
    int savesRead = 0;    // saves that wrote a file, read back and compared
    int savesRefused = 0; // saves that reported a failure and left the file alone
    // The path the last save dialog answered, and what the file held before the command.
    std::optional<QString> savedPath;
    std::optional<QByteArray> before;

    explicit Run(std::uint64_t seed) : random(seed) {}

    void note(const QString& what)
    {
        history.push_back(what);
        if (history.size() > 25)
            history.pop_front();
    }
    QString trail() const
    {
        QString all;
        for (const QString& line : history)
            all += QStringLiteral("\n    ") + line;
        return all;
    }
};

// Texts a user might type or paste: ordinary numbers and names, numbers at the edges of the
// double range, the rule's other number forms, Unicode, control characters, huge texts.
// Types `text` key by key into `widget`: ASCII through QTest's key table, anything else as a key
// event carrying the character, as an input method delivers it.
static void typeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
}

static QString randomText(Random& random)
{
    static const std::vector<QString> pieces = {
        QStringLiteral("0"),
        QStringLiteral("12"),
        QStringLiteral("90"),
        QStringLiteral("180"),
        QStringLiteral("59"),
        QStringLiteral("30.5"),
        QStringLiteral("-5"),
        QStringLiteral("200"),
        QStringLiteral("1e308"),
        QStringLiteral("1.7976931348623157e308"),
        QStringLiteral("1e400"),
        QStringLiteral("-1e400"),
        QStringLiteral("4.9e-324"),
        QStringLiteral("1e-400"),
        QStringLiteral("&HFFFFFFFF"),
        QStringLiteral("&o777"),
        QStringLiteral("1D2"),
        QStringLiteral(" 1 5"),
        QStringLiteral("N"),
        QStringLiteral("S"),
        QStringLiteral("E"),
        QStringLiteral("W"),
        QStringLiteral("n"),
        QStringLiteral("e"),
        QStringLiteral("London"),
        QStringLiteral("Washington, D.C."),
        QStringLiteral("\"quoted"),
        QStringLiteral(" lead"),
        QStringLiteral("Start Location"),
        QStringLiteral("End Location"),
        QStringLiteral("Z\u00fcrich"),
        QStringLiteral("\u6771\u4eac"),
        QStringLiteral("\U0001F30D"),
        QStringLiteral("\u202e\u0645\u0635\u0631"),
        QStringLiteral("\t"),
        QStringLiteral("\r\n"),
        QStringLiteral("\x01\x1b"),
        QString(QChar(0)),
        QStringLiteral(","),
        QStringLiteral("nan"),
        QStringLiteral("inf"),
        QStringLiteral("&H"),
        QStringLiteral("."),
        QStringLiteral("-"),
        QString(),
    };
    QString text;
    const int kind = random.below(100);
    if (kind < 2) { // huge
        const QString unit = random.pick(pieces) + QStringLiteral("9");
        while (text.size() < 20000 + random.below(40000))
            text += unit;
        return text;
    }
    const int count = 1 + random.below(kind < 60 ? 1 : 4);
    for (int i = 0; i < count; ++i)
        text += random.pick(pieces);
    return text;
}

// No typed text in an output box may look like a computed nan or inf: the check is about what
// the window writes.
static QString withoutNonFinite(QString text)
{
    text.replace(QStringLiteral("nan"), QStringLiteral("n-a-n"), Qt::CaseInsensitive);
    text.replace(QStringLiteral("inf"), QStringLiteral("i-n-f"), Qt::CaseInsensitive);
    return text;
}

void tst_Monkey::run_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("events");

    bool seedOk = false;
    quint64 seed = qEnvironmentVariable("GYRENA_MONKEY_SEED").toULongLong(&seedOk);
    if (!seedOk)
        seed = kDefaultSeed;
    bool eventsOk = false;
    int events = qEnvironmentVariableIntValue("GYRENA_MONKEY_EVENTS", &eventsOk);
    if (!eventsOk || events <= 0)
        events = kDefaultEvents;
    QTest::addRow("seed %llu", static_cast<unsigned long long>(seed)) << seed << events;

    // Seeds that once found a fault: "<seed> <events> <what it found>" per line.
    QFile regressions(QStringLiteral(GYRENA_MONKEY_REGRESSIONS));
    if (regressions.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!regressions.atEnd()) {
            const QString line = QString::fromUtf8(regressions.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
            if (parts.size() < 2)
                continue;
            QTest::addRow("regression seed %s", qPrintable(parts[0]))
                << parts[0].toULongLong() << parts[1].toInt();
        }
    }
}

void tst_Monkey::run()
{
    QFETCH(quint64, seed);
    QFETCH(int, events);
    qInfo("monkey: seed %llu, %d events (GYRENA_MONKEY_SEED / GYRENA_MONKEY_EVENTS)",
          static_cast<unsigned long long>(seed), events);

    Run run(seed);
    Random& random = run.random;
    // Every box answered at random, every file dialog from the pools the test prepared.
    run.dialogs.answerEveryBox = [&random](Dialogs::Buttons buttons) {
        if (buttons == Dialogs::Buttons::Ok)
            return Dialogs::AnswerOk;
        return random.chance(50) ? Dialogs::AnswerYes : Dialogs::AnswerNo;
    };
    run.dialogs.answerEveryFile = [&](FakeDialogs::FileKind kind,
                                      const QString& filter) -> std::optional<QString> {
        if (random.chance(10))
            return std::nullopt; // cancelled
        if (kind == FakeDialogs::FileKind::Save) {
            run.savedPath = random.pick(m_saveTargets);
            run.before = fileState(*run.savedPath);
            return run.savedPath;
        }
        return filter.contains(QStringLiteral("*.gcl")) ? random.pick(m_cityLists)
                                                        : random.pick(m_dataFiles);
    };
    const auto previousQuit = setQuitHandler([&run] { ++run.exits; });
    const auto restoreQuit = qScopeGuard([&] { setQuitHandler(previousQuit); });

    run.window =
        std::make_unique<StartWindow>(Services{&run.dialogs, &run.registry, &run.launcher});
    StartWindow& window = *run.window;
    for (std::size_t n = 1; n <= 14; ++n)
        run.combo[n] = window.findChild<QComboBox*>(QStringLiteral("Combo%1").arg(n));
    for (std::size_t n = 1; n <= 20; ++n)
        run.text[n] = window.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    for (std::size_t n = 1; n <= 5; ++n)
        run.command[n] = window.findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
    run.frame2 = window.findChild<QGroupBox*>(QStringLiteral("Frame2"));
    QVERIFY(run.frame2);
    for (std::size_t n = 1; n <= 14; ++n)
        QVERIFY2(run.combo[n], qPrintable(QStringLiteral("Combo%1").arg(n)));
    for (std::size_t n : {1u, 2u, 3u, 4u, 5u})
        QVERIFY(run.command[n]);
    const std::vector<std::size_t> outputBoxes = {3, 4, 5, 6, 11, 12, 14, 16, 17, 18, 19, 20};
    std::vector<QLineEdit*> typingBoxes = {run.text[1], run.text[2]};
    for (std::size_t n : outputBoxes) {
        QVERIFY2(run.text[n], qPrintable(QStringLiteral("Text%1").arg(n)));
        typingBoxes.push_back(run.text[n]);
    }
    const std::vector<QString> actions = {QStringLiteral("MOpen"),     QStringLiteral("MSave"),
                                          QStringLiteral("MSaveAs"),   QStringLiteral("MExit"),
                                          QStringLiteral("MCityList"), QStringLiteral("M2Help"),
                                          QStringLiteral("MAbout")};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto describe = [](const QString& text) {
        QString shown = text.left(40);
        shown.replace(QChar(0), QStringLiteral("\\0"));
        shown.replace(u'\r', QStringLiteral("\\r"));
        shown.replace(u'\n', QStringLiteral("\\n"));
        return QStringLiteral("\"%1\"%2")
            .arg(shown,
                 text.size() > 40 ? QStringLiteral("... (%1 chars)").arg(text.size()) : QString());
    };

    // What the window shows, as a data file holds it. An empty degree or minute line reads back
    // as "0", exactly as it computes.
    const auto shownData = [&window] {
        LocationData data;
        for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
            const auto list = [&](LocationField field) {
                return window.findChild<QComboBox*>(inputObjectName(end, field));
            };
            LocationTexts& texts = data.at(end);
            texts.name = list(LocationField::Name)->currentText().toStdString();
            texts.country =
                window.findChild<QLineEdit*>(inputObjectName(end, LocationField::Country))
                    ->text()
                    .toStdString();
            for (const LocationField field : kCoordinateOrder) {
                std::string value = list(field)->currentText().toStdString();
                if (isDegreesOrMinutes(field) && value.empty())
                    value = "0";
                texts[field] = value;
            }
        }
        return data;
    };

    const auto check = [&](int event) -> bool {
        const QString where = QStringLiteral("seed %1, event %2:").arg(seed).arg(event);
        const auto fail = [&](const QString& what) {
            QTest::qFail(
                qPrintable(QStringLiteral("%1 %2\n  last events:%3").arg(where, what, run.trail())),
                __FILE__, __LINE__);
            return false;
        };

        // The output frame with the button, shown exactly when the button is enabled and green.
        const bool frameShown = run.frame2->isVisibleTo(&window);
        const bool enabled = run.command[1]->isEnabled();
        const QColor colour = faceColour(run.command[1]);
        // Green or yellow as a person sees it; the exact shades are the layout tests' business
        // (a style may shade a focused face slightly).
        const bool green = colour.red() < 64 && colour.green() > 192 && colour.blue() < 96;
        const bool yellow = colour.red() > 192 && colour.green() > 192 && colour.blue() < 96;
        if (!green && !yellow)
            return fail(
                QStringLiteral("Compute Outputs has the face colour %1").arg(colour.name()));
        if (frameShown != (enabled && green) || enabled != green)
            return fail(QStringLiteral("output frame %1, Compute Outputs %2 and %3")
                            .arg(frameShown ? "shown" : "hidden", enabled ? "enabled" : "disabled",
                                 green ? "green" : "yellow"));

        // The eight location values are those of the twelve texts.
        const auto textOf = [&run](std::size_t n) {
            return run.combo[n]->currentText().toStdString();
        };
        const LocationState& l = window.location();
        const std::array<std::pair<double, double>, 4> angles = {{
            {l.startLat, angleFromTexts(textOf(1), textOf(2))},
            {l.startLong, angleFromTexts(textOf(3), textOf(4))},
            {l.endLat, angleFromTexts(textOf(5), textOf(6))},
            {l.endLong, angleFromTexts(textOf(7), textOf(8))},
        }};
        for (std::size_t i = 0; i < angles.size(); ++i) {
            if (!sameBits(angles[i].first, angles[i].second))
                return fail(QStringLiteral("location angle %1 is %2, its texts say %3")
                                .arg(i)
                                .arg(angles[i].first, 0, 'g', 17)
                                .arg(angles[i].second, 0, 'g', 17));
        }
        if (l.startLatDir != latitudeLetter(textOf(9)) ||
            l.startLongDir != longitudeLetter(textOf(10)) ||
            l.endLatDir != latitudeLetter(textOf(11)) ||
            l.endLongDir != longitudeLetter(textOf(12)))
            return fail(QStringLiteral("direction letters %1 %2 %3 %4 differ from the lists")
                            .arg(QString::fromStdString(l.startLatDir),
                                 QString::fromStdString(l.startLongDir),
                                 QString::fromStdString(l.endLatDir),
                                 QString::fromStdString(l.endLongDir)));

        // No output box shows a non-finite number.
        for (std::size_t n : outputBoxes) {
            const QString shown = run.text[n]->text();
            if (shown.contains(QStringLiteral("nan"), Qt::CaseInsensitive) ||
                shown.contains(QStringLiteral("inf"), Qt::CaseInsensitive))
                return fail(QStringLiteral("Text%1 shows %2").arg(n).arg(describe(shown)));
        }

        if (QApplication::activeModalWidget())
            return fail(QStringLiteral("a modal dialog is open: %1")
                            .arg(QApplication::activeModalWidget()->objectName()));
        return true;
    };

    // After a command that chose a save target: a failure that was reported leaves the file as it
    // was; a save that reported nothing wrote what the window shows.
    const auto checkSave = [&](int event, qsizetype boxesBefore) -> bool {
        if (!run.savedPath)
            return true;
        const QString path = *std::exchange(run.savedPath, std::nullopt);
        const std::optional<QByteArray> before = std::exchange(run.before, std::nullopt);
        if (path.isEmpty())
            return true; // Save ends quietly, Save As says "No file selected": nothing to read
        const std::optional<QByteArray> after = fileState(path);
        bool failureShown = false;
        for (qsizetype i = boxesBefore; i < run.dialogs.boxes().size(); ++i) {
            const auto& box = run.dialogs.boxes()[i];
            if (box.title == QLatin1String("File Error") || box.title == QLatin1String("Error"))
                failureShown = true;
        }
        const QString where =
            QStringLiteral("seed %1, event %2: save to %3:").arg(seed).arg(event).arg(path);
        if (failureShown) {
            ++run.savesRefused;
            if (after != before) {
                QTest::qFail(qPrintable(QStringLiteral("%1 the save reported a failure but changed "
                                                       "the file\n  last events:%2")
                                            .arg(where, run.trail())),
                             __FILE__, __LINE__);
                return false;
            }
            return true;
        }
        if (!after) {
            QTest::qFail(qPrintable(QStringLiteral("%1 nothing was reported, but there is no file"
                                                   "\n  last events:%2")
                                        .arg(where, run.trail())),
                         __FILE__, __LINE__);
            return false;
        }
        const auto read =
            readDataFile(std::string_view(after->constData(), std::size_t(after->size())));
        if (const FileError* error = std::get_if<FileError>(&read)) {
            QTest::qFail(
                qPrintable(QStringLiteral("%1 the saved file does not read back: %2"
                                          "\n  last events:%3")
                               .arg(where, QString::fromStdString(error->what), run.trail())),
                __FILE__, __LINE__);
            return false;
        }
        ++run.savesRead;
        const LocationData shown = shownData();
        const LocationData& saved = std::get<LocationData>(read);
        if (!(saved == shown)) {
            QString diff;
            const auto compare = [&diff, &describe](const char* what, const std::string& a,
                                                    const std::string& b) {
                if (a != b)
                    diff += QStringLiteral("\n    %1: file %2, window %3")
                                .arg(QLatin1String(what), describe(QString::fromStdString(a)),
                                     describe(QString::fromStdString(b)));
            };
            for (int line = 2; line <= 17; ++line) {
                const DataFileLine held = dataFileLine(line);
                compare(locationFieldName(held.end, held.field).c_str(),
                        saved.at(held.end)[held.field], shown.at(held.end)[held.field]);
            }
            QTest::qFail(
                qPrintable(QStringLiteral("%1 the file reads back otherwise than the window "
                                          "shows:%2\n  last events:%3")
                               .arg(where, diff, run.trail())),
                __FILE__, __LINE__);
            return false;
        }
        return true;
    };

    QVERIFY(check(0));
    for (int event = 1; event <= events; ++event) {
        const qsizetype boxesBefore = run.dialogs.boxes().size();
        const int kind = random.below(100);
        if (kind < 30) {
            // Typing into a list: pasted whole, or keyed in.
            const std::size_t n = static_cast<std::size_t>(1 + random.below(14));
            // Half the degree and minute texts are plain numbers, so that routes compute and
            // saves go through as often as they fail.
            const QString typed = n <= 8 && random.chance(50)
                                      ? QString::number(random.below(200) - 10) +
                                            (random.chance(30) ? QStringLiteral(".5") : QString())
                                      : randomText(random);
            QComboBox* combo = run.combo[n];
            if (random.chance(70) || typed.size() > 64) {
                run.note(QStringLiteral("Combo%1 text %2").arg(n).arg(describe(typed)));
                combo->setEditText(typed);
            } else {
                run.note(QStringLiteral("Combo%1 keys %2").arg(n).arg(describe(typed)));
                combo->lineEdit()->setFocus();
                if (random.chance(50))
                    combo->lineEdit()->selectAll();
                typeKeys(combo->lineEdit(), typed);
            }
        } else if (kind < 48) {
            // Picking an item as a user does (both signals), by the keyboard, or from code.
            const std::size_t n = static_cast<std::size_t>(1 + random.below(14));
            QComboBox* combo = run.combo[n];
            if (combo->count() == 0)
                continue;
            const int index = random.below(combo->count());
            const int how = random.below(3);
            run.note(QStringLiteral("Combo%1 pick %2 (%3)").arg(n).arg(index).arg(how));
            if (how == 0) {
                // As the list's popup does it: picking the item already current puts its text
                // back in the box.
                if (index != combo->currentIndex()) {
                    combo->setCurrentIndex(index);
                } else {
                    combo->lineEdit()->selectAll();
                    combo->lineEdit()->setText(combo->itemText(index));
                }
                emit combo->activated(index);
            } else if (how == 1) {
                combo->setFocus();
                QTest::keyClick(combo, random.chance(50) ? Qt::Key_Down : Qt::Key_Up);
            } else {
                combo->setCurrentIndex(index);
            }
        } else if (kind < 56) {
            // Typing into a country or an output box.
            QLineEdit* box = random.pick(typingBoxes);
            const QString typed = withoutNonFinite(randomText(random));
            run.note(QStringLiteral("%1 text %2").arg(box->objectName(), describe(typed)));
            if (typed.size() > 64) {
                box->setText(typed);
            } else {
                box->setFocus();
                typeKeys(box, typed);
            }
        } else if (kind < 80) {
            // Pressing a button, with the mouse or the keyboard, where a user could.
            const std::size_t n = static_cast<std::size_t>(1 + random.below(5));
            QPushButton* button = run.command[n];
            if (!button->isEnabled() || !button->isVisibleTo(&window) || !window.isVisible())
                continue;
            run.note(QStringLiteral("Command%1 (%2)").arg(n).arg(button->text()));
            if (random.chance(50)) {
                button->click();
            } else {
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
            }
        } else if (kind < 94) {
            // A menu item.
            const QString name = random.pick(actions);
            QAction* action = window.findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            if (!action->isEnabled())
                continue;
            run.note(QStringLiteral("menu %1").arg(name));
            action->trigger();
        } else if (kind < 97) {
            // The information windows: their buttons, or their close box.
            QWidget* about = window.aboutWindow();
            if (about && about->isVisible()) {
                const int what = random.below(3);
                run.note(QStringLiteral("About window %1").arg(what));
                if (what == 0) {
                    if (auto* sysInfo =
                            about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")))
                        sysInfo->click();
                } else if (what == 1) {
                    if (auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK")))
                        ok->click();
                } else {
                    about->close();
                }
            } else if (QWidget* math = window.mathWindow(); math && math->isVisible()) {
                run.note(QStringLiteral("Math window closed"));
                math->close();
            } else {
                continue;
            }
        } else {
            // Keys at whatever has the focus: Tab around, Enter, Escape.
            static const std::vector<int> keys = {Qt::Key_Tab,       Qt::Key_Backtab,
                                                  Qt::Key_Return,    Qt::Key_Escape,
                                                  Qt::Key_Backspace, Qt::Key_Delete};
            const int key = random.pick(keys);
            QWidget* focus = QApplication::focusWidget();
            if (!focus)
                focus = &window;
            run.note(QStringLiteral("key %1 at %2").arg(key, 0, 16).arg(focus->objectName()));
            QTest::keyClick(focus, static_cast<Qt::Key>(key));
        }
        QCoreApplication::processEvents();

        if (!checkSave(event, boxesBefore))
            return;
        // "Exit" answered Yes closes every window; the user starts Gyrena again, so to speak,
        // with the same window.
        if (!window.isVisible()) {
            run.note(QStringLiteral("window shown again after %1 exit(s)").arg(run.exits));
            window.show();
            QCoreApplication::processEvents();
        }
        if (!check(event))
            return;
    }
    qInfo("monkey: %d events, %lld boxes answered, %lld file dialogs, %d saves read back, "
          "%d failed saves that left the file, %d exits",
          events, static_cast<long long>(run.dialogs.boxes().size()),
          static_cast<long long>(run.dialogs.fileDialogs().size()), run.savesRead, run.savesRefused,
          run.exits);
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"
