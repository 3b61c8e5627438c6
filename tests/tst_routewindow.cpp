#include "externaltools.h"
#include "fakedialogs.h"
#include "fakepreferences.h"
#include "germanlocale.h"
#include "io/formats/locationfields.h"
#include "modalwatch.h"
#include "ui/main/startwindow.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"
#include "ui/route/waypointmodel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::LatLon)

namespace {

const LatLon sanFrancisco{37.75, -122.45}, sydney{-34.0, 151.0};

QString cell(const WaypointModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

} // namespace

class tst_RouteWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tableRows_data();
    void tableRows();
    void copyTable();
    void germanLocaleShown();
    void summaryOnAccessibilityBus();
    void announcedAsWindow();
    void opensWithinScreen();
    void exportGpxReadBack_data();
    void exportGpxReadBack();
    void writeFailures_data();
    void writeFailures();
    void saveMap_data();
    void saveMap();
    void svgTextAsOnScreen();
    void menuItemFollowsComputation();
    void routesShown_data();
    void routesShown();

private:
    void computeRoute(StartWindow& window, const QStringList& texts, const QString& startName,
                      const QString& endName);

    ModalWatch m_modals;
    FakeDialogs m_dialogs;
    FakePreferences m_preferences = FakePreferences::landUnchecked();
    std::unique_ptr<RouteWindow> m_window;
    QTemporaryDir m_dir;
};

void tst_RouteWindow::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QLocale::setDefault(QLocale::c());
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_dir.isValid());
}

void tst_RouteWindow::init()
{
    m_dialogs.reset();
    m_window = std::make_unique<RouteWindow>(
        Services{&m_dialogs, nullptr, nullptr, nullptr, &m_preferences});
    m_window->setRoute(sanFrancisco, sydney, QStringLiteral("San Francisco"),
                       QStringLiteral("Sydney"));
}

void tst_RouteWindow::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

void tst_RouteWindow::tableRows_data()
{
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("total"); // steered: RhumbSolve between the rows, summed
    // San Francisco to Sydney crosses 86.55 degrees of longitude westward over 180 and runs
    // 6457.91 nautical miles on the great circle: the meridians and distances it passes, plus
    // its two ends. The rhumb legs between them are steered, a little longer the fewer they are.
    const int lon = WaypointModel::Longitude, from = WaypointModel::FromStart;
    QTest::newRow("every 5 degrees") << 0 << 19 << lon << "125°00.0'W"
                                     << "6458.2";
    QTest::newRow("every 10 degrees") << 1 << 10 << lon << "130°00.0'W"
                                      << "6458.9";
    QTest::newRow("every 15 degrees") << 2 << 7 << lon << "135°00.0'W"
                                      << "6460.0";
    QTest::newRow("every 20 degrees") << 3 << 6 << lon << "140°00.0'W"
                                      << "6461.1";
    QTest::newRow("every 100 nm") << 4 << 66 << from << "100.0"
                                  << "6457.9";
    QTest::newRow("every 500 nm") << 5 << 14 << from << "500.2"
                                  << "6458.5";
    QTest::newRow("every 1000 nm") << 6 << 8 << from << "1001.0"
                                   << "6460.0";
}

void tst_RouteWindow::tableRows()
{
    QFETCH(int, spacing);
    QFETCH(int, rows);
    QFETCH(int, column);
    QFETCH(QString, second);
    QFETCH(QString, total);
    m_window->findChild<QComboBox*>(QStringLiteral("Spacing"))->setCurrentIndex(spacing);
    const WaypointModel& model = *m_window->model();
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(cell(model, 1, column), second);
    QStringList first, last;
    for (int c = 0; c < WaypointModel::ColumnCount; ++c) {
        first << cell(model, 0, c);
        last << cell(model, rows - 1, c);
    }
    QCOMPARE(first.mid(0, 4), (QStringList{"1", "San Francisco", "37°45.0'N", "122°27.0'W"}));
    QCOMPARE(first.at(WaypointModel::FromStart), QStringLiteral("0.0"));
    QCOMPARE(first.at(WaypointModel::ToGo), total);
    // Today's variation at Sydney (no departure), then no leg, and no times.
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d\u00B0E$"))
                 .match(last.takeAt(WaypointModel::Variation))
                 .hasMatch(),
             qPrintable(cell(model, rows - 1, WaypointModel::Variation)));
    QCOMPARE(last, (QStringList{QString::number(rows), "Sydney", "34°00.0'S", "151°00.0'E", "", "",
                                total, "0.0", "", "", "", "", ""}));
}

void tst_RouteWindow::copyTable()
{
    m_window->copyTable();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 1 + 10 + 1); // header, ten waypoints, nothing after the last line end
    QCOMPARE(lines.at(0), QStringLiteral("No.\tPlace\tLatitude\tLongitude\tCourse (T)\tVar.\tLeg "
                                         "(nm)\tFrom start (nm)\tTo go (nm)\tETA (UTC)\tLight\t"
                                         "Sunrise\tSunset"));
    const WaypointModel& model = *m_window->model();
    QCOMPARE(lines.at(10), "10\tSydney\t34°00.0'S\t151°00.0'E\t\t" +
                               cell(model, 9, WaypointModel::Variation) +
                               "\t\t6458.9\t0.0\t\t\t\t");
}

// What the window shows follows the user's locale: the table, what Copy copies, the summary.
void tst_RouteWindow::germanLocaleShown()
{
    GermanLocale german;
    GYRENA_REQUIRE_GERMAN(german);
    m_window->setRoute(sanFrancisco, sydney, QStringLiteral("San Francisco"),
                       QStringLiteral("Sydney"));
    const WaypointModel& model = *m_window->model();
    QCOMPARE(cell(model, 1, WaypointModel::Course), QStringLiteral("233,2°"));
    m_window->copyTable();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    // The variation too: "12,8°E".
    QVERIFY2(
        QRegularExpression(QStringLiteral("^10\tSydney\t34°00,0'S\t151°00,0'E\t\t\\d+,\\d°E\t\t"
                                          "6458,9\t0,0\t\t\t\t$"))
            .match(lines.at(10))
            .hasMatch(),
        qPrintable(lines.at(10)));
    const QString summary = m_window->findChild<QLabel*>(QStringLiteral("Summary"))->text();
    QVERIFY2(summary.startsWith(QStringLiteral("Great circle 6457,9 nm, rhumb line 6476,2 nm")),
             qPrintable(summary));
}

// A screen reader reads a label's accessible name: it must be the summary itself.
void tst_RouteWindow::summaryOnAccessibilityBus()
{
    auto* label = m_window->findChild<QLabel*>(QStringLiteral("Summary"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
    QVERIFY(accessible);
    QVERIFY(label->text().startsWith(QStringLiteral("Great circle 6457.9 nm")));
    QCOMPARE(accessible->text(QAccessible::Name), label->text());
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("Route summary"));
}

// A screen reader lists the route window among the windows and moves to it, as to the main one.
void tst_RouteWindow::announcedAsWindow()
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(m_window.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Window);
}

// On a screen narrower than the design size the window opens within it (down to the layout's
// minimum), so the places panel on its right is not cut off.
void tst_RouteWindow::opensWithinScreen()
{
    const QSize available = m_window->screen()->availableGeometry().size();
    const QSize least = m_window->minimumSizeHint();
    QCOMPARE(m_window->width(), std::max(std::min(1360, available.width()), least.width()));
    QCOMPARE(m_window->height(), std::max(std::min(820, available.height()), least.height()));
}

void tst_RouteWindow::exportGpxReadBack_data()
{
    QTest::addColumn<bool>("german");
    QTest::newRow("C locale") << false;
    QTest::newRow("German locale") << true;
}

// The exported file is valid GPX 1.1 whatever the locale, and a real reader gets every point.
void tst_RouteWindow::exportGpxReadBack()
{
    QFETCH(bool, german);
    GYRENA_REQUIRE_PROGRAM(gpsbabel, "gpsbabel", "test");
    const QString path = m_dir.filePath(QStringLiteral("route.gpx"));
    m_dialogs.choose(path);
    {
        std::optional<GermanLocale> locale;
        if (german) {
            locale.emplace();
            GYRENA_REQUIRE_GERMAN(*locale);
        }
        m_window->exportGpx();
    }
    GYRENA_VERIFY_GPX_SCHEMA(path);
    QProcess babel;
    babel.start(gpsbabel, {"-r", "-i", "gpx", "-f", path, "-o", "unicsv", "-F", "-"});
    QVERIFY(babel.waitForFinished(30000));
    QCOMPARE(babel.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(babel.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The column names, then the ten waypoints with the places' names at the ends.
    QCOMPARE(lines.size(), 1 + 10);
    QCOMPARE(lines.at(1).trimmed(), QStringLiteral("1,37.750000,-122.450000,\"San Francisco\""));
    QVERIFY2(lines.at(2).trimmed().endsWith(QStringLiteral(",\"WP02\"")), qPrintable(lines.at(2)));
    QCOMPARE(lines.at(7).section(QLatin1Char(','), 1, 2), QStringLiteral("-10.987998,-180.000000"));
    QCOMPARE(lines.at(10).trimmed(), QStringLiteral("10,-34.000000,151.000000,\"Sydney\""));
}

void tst_RouteWindow::writeFailures_data()
{
    QTest::addColumn<bool>("gpx");
    QTest::addColumn<QString>("target"); // under the test's folder
    QTest::newRow("GPX into a folder that is a file") << true << QStringLiteral("plain/route.gpx");
    QTest::newRow("GPX over a folder") << true << QStringLiteral("folder.gpx");
    QTest::newRow("map into a missing folder") << false << QStringLiteral("missing/map.png");
}

void tst_RouteWindow::writeFailures()
{
    QFETCH(bool, gpx);
    QFETCH(QString, target);
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.gpx")));
    const QString path = dir.filePath(target);
    m_dialogs.choose(path);
    m_dialogs.answer(Dialogs::AnswerOk);
    if (gpx)
        m_window->exportGpx();
    else
        m_window->saveMapAs();
    QCOMPARE(m_dialogs.boxes().size(), 1);
    const FakeDialogs::Box& box = m_dialogs.boxes().at(0);
    QVERIFY2(box.text.startsWith(QStringLiteral("The file could not be written: ")) &&
                 box.text.size() > 40,
             qPrintable(box.text));
    QCOMPARE(box.title, gpx ? QStringLiteral("Export GPX") : QStringLiteral("Save Map As"));
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
    // Nothing was left behind: the folder holds what the test put there, and no temporary file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             (QStringList{"folder.gpx", "plain"}));
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder.gpx"))).isEmpty());
}

void tst_RouteWindow::saveMap_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("begins");
    QTest::newRow("PNG") << QStringLiteral("map.png") << QByteArray("\x89PNG\r\n");
    QTest::newRow("SVG, any case") << QStringLiteral("map.SVG") << QByteArray("<?xml");
}

void tst_RouteWindow::saveMap()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, begins);
    m_window->resize(800, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QString path = m_dir.filePath(name);
    m_dialogs.choose(path);
    m_window->saveMapAs();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes.startsWith(begins), bytes.left(16).constData());
    if (name.endsWith(QStringLiteral("SVG"))) {
        QVERIFY(bytes.contains("<svg") && bytes.contains("San Francisco"));
        QVERIFY2(!bytes.contains("<image"), "sea and land saved as a picture, not as lines");
    } else
        QCOMPARE(QImage::fromData(bytes).size(), m_window->findChild<MapView*>()->size());
    file.remove();
}

// The saved SVG, drawn by librsvg at the map's size, shows its text as large as the screen does:
// as many dark text pixels as the PNG of the same map, not about half as many.
void tst_RouteWindow::svgTextAsOnScreen()
{
    GYRENA_REQUIRE_PROGRAM(rsvg, "rsvg-convert", "test");
    m_window->resize(800, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QSize size = m_window->findChild<MapView*>()->size();
    for (const char* name : {"text.png", "text.svg"}) {
        m_dialogs.choose(m_dir.filePath(name));
        m_window->saveMapAs();
    }
    QProcess render;
    render.start(rsvg,
                 {"-w", QString::number(size.width()), "-h", QString::number(size.height()), "-b",
                  "white", "-o", m_dir.filePath("text-svg.png"), m_dir.filePath("text.svg")});
    QVERIFY(render.waitForFinished(60000));
    QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
    const auto textPixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += std::max({c.red(), c.green(), c.blue()}) < 0x70;
            }
        return count;
    };
    const QImage screen(m_dir.filePath("text.png")), drawn(m_dir.filePath("text-svg.png"));
    QCOMPARE(drawn.size(), screen.size());
    const double ratio = double(textPixels(drawn)) / textPixels(screen);
    QVERIFY2(ratio > 0.8 && ratio < 1.25, qPrintable(QString::number(ratio)));
}

void tst_RouteWindow::computeRoute(StartWindow& window, const QStringList& texts,
                                   const QString& startName, const QString& endName)
{
    // The twelve texts in the order the route tool takes them.
    qsizetype next = 0;
    for (const RouteEnd end : {RouteEnd::Start, RouteEnd::End}) {
        for (const LocationField field : kCoordinateOrder)
            window.findChild<QComboBox*>(inputObjectName(end, field))
                ->setEditText(texts.at(next++));
    }
    window.findChild<QComboBox*>(inputObjectName(RouteEnd::Start, LocationField::Name))
        ->setEditText(startName);
    window.findChild<QComboBox*>(inputObjectName(RouteEnd::End, LocationField::Name))
        ->setEditText(endName);
    window.computeOutputs();
}

void tst_RouteWindow::menuItemFollowsComputation()
{
    FakeDialogs dialogs;
    StartWindow main(Services{&dialogs, nullptr, nullptr});
    auto* item = main.findChild<QAction*>(QStringLiteral("MRouteMap"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Route Map"));
    QVERIFY(!item->isEnabled());
    const auto routeWindows = [] {
        QList<RouteWindow*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* r = qobject_cast<RouteWindow*>(w); r && r->isVisible())
                found << r;
        return found;
    };

    computeRoute(main, {"37", "45", "N", "122", "27", "W", "34", "0", "S", "151", "0", "E"},
                 QStringLiteral("San Francisco"), QStringLiteral("Sydney"));
    QVERIFY(item->isEnabled());
    QVERIFY(routeWindows().isEmpty()); // computing does not open it
    item->trigger();
    QCOMPARE(routeWindows().size(), 1);
    QPointer<RouteWindow> shown = routeWindows().at(0);
    QCOMPARE(shown->windowTitle(), QStringLiteral("Route Map: San Francisco to Sydney"));
    QCOMPARE(shown->model()->rowCount(), 10);

    // The next computation reaches the open window; the item raises that same window.
    computeRoute(main, {"51", "30", "N", "0", "7", "W", "40", "42", "N", "74", "0", "W"},
                 QStringLiteral("London"), QStringLiteral("New York"));
    QCOMPARE(shown->windowTitle(), QStringLiteral("Route Map: London to New York"));
    QCOMPARE(cell(*shown->model(), 0, WaypointModel::Latitude), QStringLiteral("51°30.0'N"));
    QVERIFY(shown->findChild<MapView*>()->accessibleDescription().startsWith(
        QStringLiteral("Great circle from London to New York, ")));
    item->trigger();
    QCOMPARE(routeWindows(), QList<RouteWindow*>{shown.data()});

    // A computation that fails leaves the last route shown.
    dialogs.answer(Dialogs::AnswerOk); // the main window's "Same Location!"
    computeRoute(main, {"37", "45", "N", "122", "27", "W", "37", "45", "N", "122", "27", "W"},
                 QStringLiteral("Here"), QStringLiteral("There"));
    QCOMPARE(shown->windowTitle(), QStringLiteral("Route Map: London to New York"));
    QVERIFY(dialogs.verifyDone());

    // A computed route the planner cannot plan is shown as such, not as the route before it.
    computeRoute(main, {"95", "0", "N", "0", "0", "E", "10", "0", "N", "0", "0", "E"},
                 QStringLiteral("Beyond"), QStringLiteral("Here"));
    QCOMPARE(shown->windowTitle(), QStringLiteral("Route Map: Beyond to Here"));
    QCOMPARE(shown->model()->rowCount(), 0);
    QCOMPARE(shown->findChild<QLabel*>(QStringLiteral("Summary"))->text(),
             QStringLiteral("No route: the latitude of Beyond is beyond 90 degrees"));
    QVERIFY(!shown->findChild<QAction*>(QStringLiteral("ExportGpx"))->isEnabled());
    computeRoute(main, {"51", "30", "N", "0", "7", "W", "40", "42", "N", "74", "0", "W"},
                 QStringLiteral("London"), QStringLiteral("New York"));

    // Closed, it goes; the item opens a new one with the last route.
    shown->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown.isNull());
    item->trigger();
    QCOMPARE(routeWindows().size(), 1);
    QCOMPARE(routeWindows().at(0)->windowTitle(), QStringLiteral("Route Map: London to New York"));

    // Closing the main window closes the route window with it.
    main.close();
    QVERIFY(routeWindows().isEmpty());
}

void tst_RouteWindow::routesShown_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("chart");
    const LatLon oslo{59.91, 10.75}, beringSea{61.22, -169.25}; // opposite meridians
    QTest::newRow("route-world") << sanFrancisco << sydney << "San Francisco|Sydney" << false;
    QTest::newRow("route-chart") << sanFrancisco << sydney << "San Francisco|Sydney" << true;
    QTest::newRow("london-newyork")
        << LatLon{51.5, -0.1167} << LatLon{40.7, -74.0} << "London|New York" << false;
    QTest::newRow("tokyo-sanfrancisco")
        << LatLon{35.6833, 139.7667} << sanFrancisco << "Tokyo|San Francisco" << false;
    QTest::newRow("over-the-pole") << oslo << beringSea << "Oslo|Bering Sea" << false;
    QTest::newRow("over-the-pole-chart") << oslo << beringSea << "Oslo|Bering Sea" << true;
    QTest::newRow("equator") << LatLon{0, -78.5} << LatLon{0, 32.5} << "Quito|Kampala" << false;
}

void tst_RouteWindow::routesShown()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    QFETCH(QString, names);
    QFETCH(bool, chart);
    m_window->setRoute(start, end, names.section(QLatin1Char('|'), 0, 0),
                       names.section(QLatin1Char('|'), 1));
    if (chart)
        m_window->findChild<QRadioButton*>(QStringLiteral("ChartView"))->click();
    const MapView* map = m_window->findChild<MapView*>();
    QCOMPARE(map->projection(), chart ? MapView::Projection::Chart : MapView::Projection::World);
    QCOMPARE(map->route().waypoints.size(), std::size_t(m_window->model()->rowCount()));
    QCOMPARE(map->route().greatCircle.back().longitude, end.longitude);
    // Over the pole the route crosses no meridian between its ends: spaced by distance, and said.
    const QString summary = m_window->findChild<QLabel*>(QStringLiteral("Summary"))->text();
    QCOMPARE(summary.endsWith(
                 QStringLiteral("; waypoints every 600 nm, as the route runs along a meridian")),
             start.latitude == 59.91);
    // Saved to look at when $GYRENA_ROUTE_SHOTS names a folder.
    if (const QByteArray dir = qgetenv("GYRENA_ROUTE_SHOTS"); !dir.isEmpty()) {
        m_window->resize(960, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(m_window->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                                      QString::fromLatin1(QTest::currentDataTag()) +
                                      QStringLiteral(".png")));
    }
}

QTEST_MAIN(tst_RouteWindow)
#include "tst_routewindow.moc"
