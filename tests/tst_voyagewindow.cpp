// The route window as a voyage planner: places edited in order, legs and times re-planned at
// once, voyages saved and opened whole, and what the user typed kept from the main window.

#include "fakedialogs.h"

#include "fakepreferences.h"
#include "geo/utctime.h"
#include "io/formats/citylist.h"
#include "io/formats/voyagegpx.h"
#include "ui/main/startwindow.h"
#include "ui/route/mapview.h"
#include "ui/route/routewindow.h"
#include "ui/route/voyageeditor.h"
#include "ui/route/waypointmodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <map>

using namespace gyrena;

class tst_VoyageWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editPlaces_data();
    void editPlaces();
    void placeOffTheGlobeRefused();
    void placeFromTheCityList();
    void compositeLegAndTimes();
    void keepsWhatTheUserTyped();
    void saveAndOpen();
    void brokenFileLeavesTheVoyage();
    void gpxFromTheDesktop();
    void almanacColumns_data();
    void almanacColumns();
    void landCheckedAndRemembered();

private:
    template <class T> T* control(const char* name)
    {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void typePlace(const QStringList& fields); // name, lat deg, min, N/S, long deg, min, E/W
    QStringList placeNames() const;

    FakeDialogs m_dialogs;
    std::unique_ptr<RouteWindow> m_window;
    QTemporaryDir m_dir;
};

void tst_VoyageWindow::init()
{
    m_dialogs.reset();
    m_window = std::make_unique<RouteWindow>(Services{&m_dialogs, nullptr, nullptr});
    m_window->setRoute({38.7, -9.15}, {13.1, -59.6}, QStringLiteral("Lisbon"),
                       QStringLiteral("Bridgetown"));
}

void tst_VoyageWindow::cleanup()
{
    m_window.reset();
    QVERIFY(m_dialogs.verifyDone());
}

void tst_VoyageWindow::typePlace(const QStringList& fields)
{
    control<QLineEdit>("PlaceName")->setText(fields[0]);
    control<QLineEdit>("PlaceLatDegrees")->setText(fields[1]);
    control<QLineEdit>("PlaceLatMinutes")->setText(fields[2]);
    control<QComboBox>("PlaceLatLetter")->setCurrentText(fields[3]);
    control<QLineEdit>("PlaceLongDegrees")->setText(fields[4]);
    control<QLineEdit>("PlaceLongMinutes")->setText(fields[5]);
    control<QComboBox>("PlaceLongLetter")->setCurrentText(fields[6]);
}

QStringList tst_VoyageWindow::placeNames() const
{
    QStringList names;
    for (const VoyagePlace& place : m_window->voyage().places)
        names << QString::fromStdString(place.name);
    return names;
}

void tst_VoyageWindow::editPlaces_data()
{
    QTest::addColumn<int>("select");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("places");

    QTest::newRow("add after the selected place")
        << 0 << "AddPlace" << QStringList{"Lisbon", "Funchal", "Bridgetown"};
    QTest::newRow("add after the last")
        << 1 << "AddPlace" << QStringList{"Lisbon", "Bridgetown", "Funchal"};
    QTest::newRow("move down") << 0 << "MoveDown" << QStringList{"Bridgetown", "Lisbon"};
    QTest::newRow("move up") << 1 << "MoveUp" << QStringList{"Bridgetown", "Lisbon"};
    QTest::newRow("rename") << 1 << "RenamePlace" << QStringList{"Lisbon", "Funchal"};
    QTest::newRow("never fewer than two")
        << 1 << "RemovePlace" << QStringList{"Lisbon", "Bridgetown"};
}

void tst_VoyageWindow::editPlaces()
{
    QFETCH(int, select);
    QFETCH(QString, button);
    QFETCH(QStringList, places);
    typePlace({"Funchal", "32", "39", "N", "16", "54.5", "W"});
    m_window->editor()->selectPlace(select);
    control<QPushButton>(button.toLatin1().constData())->click();
    QCOMPARE(placeNames(), places);
    QCOMPARE(m_window->edited(), button != "RemovePlace");
    // Re-planned at once: a row per place, in the new order.
    QStringList rows;
    for (const VoyageRow& row : m_window->plan().rows)
        if (row.isPlace)
            rows << QString::fromStdString(row.name);
    QCOMPARE(rows, places);
    if (button == "AddPlace") {
        const VoyagePlace& funchal =
            m_window->voyage().places[std::size_t(places.indexOf("Funchal"))];
        QCOMPARE(funchal.position, (LatLon{32.65, -(16 + 54.5 / 60)}));
        // Removing it again gives the two places back.
        m_window->editor()->selectPlace(int(places.indexOf("Funchal")));
        control<QPushButton>("RemovePlace")->click();
        QCOMPARE(placeNames(), (QStringList{"Lisbon", "Bridgetown"}));
    }
}

void tst_VoyageWindow::placeOffTheGlobeRefused()
{
    typePlace({"Nowhere", "95", "0", "N", "10", "0", "E"});
    m_dialogs.answer(Dialogs::AnswerOk);
    control<QPushButton>("AddPlace")->click();
    QVERIFY(m_dialogs.boxTexts().front().startsWith("The place's latitude must lie"));
    QCOMPARE(placeNames(), (QStringList{"Lisbon", "Bridgetown"}));
    QVERIFY(!m_window->edited());
}

void tst_VoyageWindow::placeFromTheCityList()
{
    const auto read = readCityList("GyrenaCityListFile\r\n2\r\nLondon,England,51,30,N,0,10,W\r\n"
                                   "Funchal,Portugal,32,39,N,16,54,W\r\n");
    QVERIFY(std::holds_alternative<CityTable>(read));
    m_window->setCities(&std::get<CityTable>(read));
    auto* cities = control<QComboBox>("PlaceCity");
    QCOMPARE(cities->count(), 2);
    emit cities->activated(1); // as when the user picks Funchal
    m_window->editor()->selectPlace(0);
    control<QPushButton>("AddPlace")->click();
    QCOMPARE(placeNames(), (QStringList{"Lisbon", "Funchal", "Bridgetown"}));
    QCOMPARE(m_window->voyage().places[1].position, (LatLon{32.65, -16.9}));
    m_window->setCities(nullptr); // the main window's list goes before this window
    QVERIFY(!cities->isEnabled());
}

void tst_VoyageWindow::compositeLegAndTimes()
{
    m_window->setRoute({40.7, -74.0}, {50.15, -5.07}, "New York", "Falmouth");
    m_window->editor()->selectPlace(0);
    control<QComboBox>("LegSailing")->setCurrentIndex(2); // Composite
    control<QDoubleSpinBox>("LegLimit")->setValue(50.5);
    QVERIFY(m_window->plan().hasPlan);
    QVERIFY(m_window->plan().legs.front().reachesLimit);
    QCOMPARE(m_window->plan().legs.front().limitLatitude, 50.5);
    // No departure: no ETA, but the time under way.
    const WaypointModel& model = *m_window->model();
    QCOMPARE(model.data(model.index(0, WaypointModel::Eta)).toString(), QString());
    auto* summary = control<QLabel>("Summary");
    QVERIFY2(summary->text().contains("; under way "), qPrintable(summary->text()));
    // Ticked on, a departure starts at the next whole hour.
    const std::int64_t before = QDateTime::currentSecsSinceEpoch() / 60;
    control<QCheckBox>("HasDeparture")->setChecked(true);
    const std::int64_t departure = m_window->voyage().departure.value_or(0);
    QVERIFY2(departure > before && departure <= before + 61 && departure % 60 == 0,
             qPrintable(QString::number(departure - before)));
    control<QDateTimeEdit>("Departure")
        ->setDateTime(QDateTime(QDate(2026, 12, 8), QTime(22, 30), Qt::UTC));
    QCOMPARE(model.data(model.index(0, WaypointModel::Eta)).toString(), "2026-12-08T22:30Z");
    QVERIFY2(summary->text().contains(", arriving 2026-12-"), qPrintable(summary->text()));
    QVERIFY(m_window->edited());
}

void tst_VoyageWindow::keepsWhatTheUserTyped()
{
    // Unedited, each route computed replaces the voyage.
    m_window->setRoute({50.1, -5.5}, {36.1, -5.35}, "Falmouth", "Gibraltar");
    QCOMPARE(placeNames(), (QStringList{"Falmouth", "Gibraltar"}));
    auto* useMain = control<QPushButton>("UseMainRoute");
    QVERIFY(!useMain->isEnabled());
    control<QComboBox>("LegSailing")->setCurrentIndex(1); // an edit
    m_window->setRoute({38.7, -9.15}, {13.1, -59.6}, "Lisbon", "Bridgetown");
    QCOMPARE(placeNames(), (QStringList{"Falmouth", "Gibraltar"}));
    QVERIFY(useMain->isEnabled());
    useMain->click();
    QCOMPARE(placeNames(), (QStringList{"Lisbon", "Bridgetown"}));
    QCOMPARE(m_window->voyage().legs.front().sailing, Sailing::GreatCircle);
    QVERIFY(!m_window->edited());
}

void tst_VoyageWindow::saveAndOpen()
{
    typePlace({"Funchal", "32", "39", "N", "16", "54", "W"});
    m_window->editor()->selectPlace(0);
    control<QPushButton>("AddPlace")->click();
    control<QComboBox>("LegSailing")->setCurrentIndex(1);
    control<QCheckBox>("HasDeparture")->setChecked(true);
    control<QDoubleSpinBox>("VoyageSpeed")->setValue(7.5);
    control<QComboBox>("Spacing")->setCurrentIndex(5); // every 500 nm, not the first choice
    const Voyage saved = m_window->voyage();
    QCOMPARE(saved.spacing.everyNm, 500.0);
    const QString path = m_dir.filePath("voyage.gpx");
    m_dialogs.choose(path);
    control<QPushButton>("SaveVoyage")->click();

    RouteWindow opened(Services{&m_dialogs, nullptr, nullptr});
    m_dialogs.choose(path);
    opened.findChild<QPushButton*>("OpenVoyage")->click();
    QVERIFY(opened.voyage() == saved);
    QCOMPARE(opened.findChild<QComboBox*>("Spacing")->currentIndex(), 5);
    QCOMPARE(opened.plan().rows.size(), m_window->plan().rows.size());
    QCOMPARE(opened.windowTitle(), QStringLiteral("Route Map: Lisbon to Bridgetown"));
}

void tst_VoyageWindow::brokenFileLeavesTheVoyage()
{
    const QString path = m_dir.filePath("broken.gpx");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<rte>\n<rtept lat=\"x\" "
               "lon=\"1\"/><rtept lat=\"1\" lon=\"1\"/></rte></gpx>");
    file.close();
    m_dialogs.choose(path);
    m_dialogs.answer(Dialogs::AnswerOk);
    control<QPushButton>("OpenVoyage")->click();
    QCOMPARE(m_dialogs.boxTexts().front(),
             "The voyage could not be read: lat \"x\" is not a number (line 3)");
    QCOMPARE(placeNames(), (QStringList{"Lisbon", "Bridgetown"}));
}

void tst_VoyageWindow::gpxFromTheDesktop()
{
    Voyage voyage = twoPlaceVoyage({"Falmouth", {50.1, -5.5}}, {"Gibraltar", {36.1, -5.35}});
    const QString path = m_dir.filePath("desktop.gpx");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(writeVoyageGpx(voyage, planVoyage(voyage))));
    file.close();
    StartWindow main(Services{&m_dialogs, nullptr, nullptr});
    main.openPath(path);
    RouteWindow* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* route = qobject_cast<RouteWindow*>(widget); route && route->isVisible())
            shown = route;
    QVERIFY(shown);
    QVERIFY(shown->voyage() == voyage);
}

void tst_VoyageWindow::almanacColumns_data()
{
    QTest::addColumn<int>("courses"); // index in the list "Courses"
    QTest::addColumn<int>("times");   // index in the list "Times"
    QTest::addColumn<QString>("lisbonEta");
    QTest::addColumn<QString>("lisbonSunrise");
    QTest::addColumn<QString>("seaEta"); // the waypoint at 10 W (zone +1), at sea
    // Leaving Lisbon at midnight UTC on 1 June 2026: 01:00 summer time, sunrise 05:13:45Z by
    // python3-ephem.
    QTest::newRow("true, UTC") << 0 << 0 << "2026-06-01T00:00Z"
                               << "05:14"
                               << "2026-06-01T08:56Z";
    QTest::newRow("magnetic, zone time") << 1 << 1 << "2026-05-31T23:00-01:00"
                                         << "04:14"
                                         << "2026-06-01T07:56-01:00";
    QTest::newRow("magnetic, local time") << 1 << 2 << "2026-06-01T01:00+01:00"
                                          << "06:14"
                                          << "2026-06-01T07:56-01:00";
}

void tst_VoyageWindow::almanacColumns()
{
    QFETCH(int, courses);
    QFETCH(int, times);
    QFETCH(QString, lisbonEta);
    QFETCH(QString, lisbonSunrise);
    QFETCH(QString, seaEta);
    m_window->setRoute({38.7, -9.15}, {32.65, -16.91}, "Lisbon", "Funchal");
    control<QCheckBox>("HasDeparture")->setChecked(true);
    control<QDateTimeEdit>("Departure")
        ->setDateTime(QDateTime(QDate(2026, 6, 1), QTime(0, 0), Qt::UTC));
    control<QComboBox>("Courses")->setCurrentIndex(courses);
    control<QComboBox>("Times")->setCurrentIndex(times);
    const WaypointModel& model = *m_window->model();
    const auto cell = [&](int row, int column) {
        return model.data(model.index(row, column)).toString();
    };
    QCOMPARE(cell(0, WaypointModel::Eta), lisbonEta);
    QCOMPARE(cell(0, WaypointModel::Sunrise), lisbonSunrise);
    QCOMPARE(cell(1, WaypointModel::Eta), seaEta);
    QCOMPARE(cell(0, WaypointModel::Light), QStringLiteral("Night"));
    // The variation as a navigator writes it, and the magnetic course the true one less it.
    const QString variation = cell(0, WaypointModel::Variation);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d\u00B0[EW]$")).match(variation).hasMatch(),
        qPrintable(variation));
    const double east = variation.chopped(2).toDouble() * (variation.endsWith('W') ? -1 : 1);
    const double shown = cell(0, WaypointModel::Course).chopped(1).toDouble();
    const double trueCourse = *m_window->plan().rows.front().courseToNext;
    QVERIFY2(std::abs(std::remainder(shown - (courses ? trueCourse - east : trueCourse), 360.0)) <=
                 0.1,
             qPrintable(cell(0, WaypointModel::Course)));
    QCOMPARE(model.headerData(WaypointModel::Course, Qt::Horizontal).toString(),
             courses ? QStringLiteral("Course (M)") : QStringLiteral("Course (T)"));
}

void tst_VoyageWindow::landCheckedAndRemembered()
{
    FakePreferences preferences; // nothing chosen yet
    const Services services{&m_dialogs, nullptr, nullptr, nullptr, &preferences};
    m_window = std::make_unique<RouteWindow>(services);
    Voyage voyage;
    voyage.places = {{"Sydney", {-33.87, 151.2}}, {"Singapore", {1.29, 103.85}}};
    m_window->setVoyage(voyage);
    auto* check = control<QCheckBox>("CheckLand");
    auto* table = control<QTableView>("WaypointTable");
    QVERIFY(check->isChecked()); // a voyage is checked unless the user said otherwise

    // The land is read off the window's thread; the voyage is checked when it is ready.
    QTRY_VERIFY_WITH_TIMEOUT(m_window->view().landChecked, 60000);
    const QString summary = control<QLabel>("Summary")->text();
    QVERIFY2(summary.contains("\nLeg 1, Sydney – Singapore, crosses land: "), qPrintable(summary));
    QVERIFY(!m_window->findChild<MapView*>("Map")->route().overLand.empty());
    QVERIFY(!table->isColumnHidden(WaypointModel::Land));
    const WaypointModel& model = *m_window->model();
    QCOMPARE(model.data(model.index(0, WaypointModel::Land)).toString(), "over land");
    QVERIFY(model.data(model.index(0, WaypointModel::Place), Qt::BackgroundRole).isValid());

    // A flight: unchecked, nothing said of land, and the choice kept for the next window.
    check->setChecked(false);
    QVERIFY(!m_window->view().landChecked);
    QVERIFY(!control<QLabel>("Summary")->text().contains("land"));
    QVERIFY(table->isColumnHidden(WaypointModel::Land));
    QVERIFY(m_window->findChild<MapView*>("Map")->route().overLand.empty());
    QCOMPARE(preferences.flags, (std::map<std::string, bool>{{"route/checkLand", false}}));
    m_window = std::make_unique<RouteWindow>(services);
    QVERIFY(!control<QCheckBox>("CheckLand")->isChecked());
}

QTEST_MAIN(tst_VoyageWindow)
#include "tst_voyagewindow.moc"
