// The route window as a voyage planner: places edited in order, legs and times re-planned at
// once, voyages saved and opened whole, and what the user typed kept from the main window.

#include "fakedialogs.h"

#include "fakepreferences.h"
#include "geo/utctime.h"
#include "io/formats/citylist.h"
#include "io/formats/voyagegpx.h"
#include "turningrouter.h"
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
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <cmath>
#include <map>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::LatLon)
Q_DECLARE_METATYPE(gyrena::SeaRouteOptions)

class tst_VoyageWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editPlaces_data();
    void editPlaces();
    void editOnTheMap_data();
    void editOnTheMap();
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
    void turningPointBecomesAPlace_data();
    void turningPointBecomesAPlace();
    void seaOptions_data();
    void seaOptions();
    void seaRoutesReadOffTheWindowThread();

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

    void sailBySea(); // the selected place's leg by sea, chosen in the list as the user does

    FakeDialogs m_dialogs;
    // Every leg by sea turns off the Canaries, then in mid-Atlantic at an unnamed point.
    TurningRouter m_router{{{{30.0, -25.0}, "Canary Passage"}, {{20.0, -45.0}, {}}}};
    std::unique_ptr<RouteWindow> m_window;
    QTemporaryDir m_dir;
};

void tst_VoyageWindow::init()
{
    m_dialogs.reset();
    m_window = std::make_unique<RouteWindow>(Services{&m_dialogs, nullptr, nullptr});
    m_window->setRoute({38.7, -9.15}, {13.1, -59.6}, QStringLiteral("Lisbon"),
                       QStringLiteral("Bridgetown"));
    m_window->setSeaRouting(&m_router, {{"suez", "Suez Canal"}, {"panama", "Panama Canal"}});
}

void tst_VoyageWindow::sailBySea()
{
    control<QComboBox>("LegSailing")->setCurrentText(QStringLiteral("By sea"));
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
    // Undo takes the edit back whole, and Redo makes it again.
    m_window->undoStack()->undo();
    QCOMPARE(placeNames(), (QStringList{"Lisbon", "Bridgetown"}));
    m_window->undoStack()->redo();
    QCOMPARE(placeNames(), places);
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

// What the user does on the map (or, for the last, in Open Voyage).
enum class MapEdit {
    Drag,
    AddAtEnd,
    InsertOnLeg,
    Rename,
    Remove,
    NextLegRhumb,
    NextLegBySea,
    Open
};
Q_DECLARE_METATYPE(MapEdit)

namespace {

// The action of the map's context menu, submenus included, whose text is `text`.
QAction* menuAction(QWidget* window, const QString& text)
{
    for (QMenu* menu : window->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action;
    qFatal("no menu item %s", qPrintable(text));
}

} // namespace

void tst_VoyageWindow::editOnTheMap_data()
{
    QTest::addColumn<MapEdit>("edit");
    QTest::addColumn<QStringList>("places");
    QTest::addColumn<QString>("step");

    const QStringList three{"Lisbon", "Funchal", "Bridgetown"};
    QTest::newRow("a drag is one step") << MapEdit::Drag << three << "Move Place";
    QTest::newRow("added at the end")
        << MapEdit::AddAtEnd << QStringList{"Lisbon", "Funchal", "Bridgetown", ""} << "Add Place";
    QTest::newRow("inserted on the nearest leg")
        << MapEdit::InsertOnLeg << QStringList{"Lisbon", "", "Funchal", "Bridgetown"}
        << "Add Place";
    QTest::newRow("renamed from its marker")
        << MapEdit::Rename << QStringList{"Lisbon", "Madeira", "Bridgetown"} << "Rename Place";
    QTest::newRow("removed from its marker")
        << MapEdit::Remove << QStringList{"Lisbon", "Bridgetown"} << "Remove Place";
    QTest::newRow("next leg's sailing") << MapEdit::NextLegRhumb << three << "Change Sailing";
    QTest::newRow("next leg by sea") << MapEdit::NextLegBySea << three << "Change Sailing";
    QTest::newRow("a voyage opened")
        << MapEdit::Open << QStringList{"Cowes", "Yarmouth"} << "Open Voyage";
}

void tst_VoyageWindow::editOnTheMap()
{
    QFETCH(MapEdit, edit);
    QFETCH(QStringList, places);
    QFETCH(QString, step);
    typePlace({"Funchal", "32", "39", "N", "16", "54.5", "W"});
    m_window->editor()->selectPlace(0);
    control<QPushButton>("AddPlace")->click();
    const Voyage before = m_window->voyage();
    const int steps = m_window->undoStack()->count();
    MapView* map = m_window->map();
    map->resize(800, 450);
    const LatLon near{20.0, -40.0}; // near the leg Funchal - Bridgetown
    switch (edit) {
    case MapEdit::Drag:
        for (int i = 1; i <= 5; ++i)
            emit map->placeDragged(1, {32.65 - i, -16.9 - i}, i == 5);
        QCOMPARE(m_window->voyage().places[1].position, (LatLon{27.65, -21.9}));
        break;
    case MapEdit::AddAtEnd:
    case MapEdit::InsertOnLeg:
        emit map->addRequested(edit == MapEdit::AddAtEnd ? near : LatLon{36.0, -12.0},
                               edit == MapEdit::InsertOnLeg);
        break;
    case MapEdit::Rename:
        m_dialogs.type(QStringLiteral(" Madeira "));
        emit map->contextMenuRequested({}, 1, std::nullopt);
        menuAction(m_window.get(), QStringLiteral("Rename Place\u2026"))->trigger();
        break;
    case MapEdit::Remove:
        emit map->contextMenuRequested({}, 1, std::nullopt);
        menuAction(m_window.get(), QStringLiteral("Remove Place"))->trigger();
        break;
    case MapEdit::NextLegRhumb:
        emit map->contextMenuRequested({}, 1, std::nullopt);
        menuAction(m_window.get(), QStringLiteral("Rhumb Line"))->trigger();
        QCOMPARE(m_window->voyage().legs[1].sailing, Sailing::RhumbLine);
        break;
    case MapEdit::NextLegBySea:
        emit map->contextMenuRequested({}, 1, std::nullopt);
        menuAction(m_window.get(), QStringLiteral("By Sea"))->trigger();
        QCOMPARE(map->route().turns.size(), std::size_t(2));
        break;
    case MapEdit::Open:
        m_window->setVoyage(
            twoPlaceVoyage({"Cowes", {50.766, -1.298}}, {"Yarmouth", {50.706, -1.5}}));
        break;
    }
    QCOMPARE(placeNames(), places);
    QCOMPARE(m_window->undoStack()->count(), steps + 1);
    QCOMPARE(m_window->undoStack()->undoText(), step);
    // The map shows the voyage as it is now, and Undo takes the whole step back.
    QCOMPARE(int(map->route().stops.size()), int(places.size()) - 2);
    m_window->undoStack()->undo();
    QVERIFY(m_window->voyage() == before);
    QCOMPARE(int(map->route().stops.size()), 1);
    m_window->undoStack()->redo();
    QCOMPARE(placeNames(), places);
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

    // Five legs across Spain: the window names three and counts the others, so that the map and
    // the table keep their room; the tooltip has them all.
    Voyage zigzag;
    for (int i = 0; i < 6; ++i)
        zigzag.places.push_back({"Z" + std::to_string(i + 1), i % 2
                                                                  ? LatLon{37.0, -0.5 - i * 0.2}
                                                                  : LatLon{44.5, -4.0 + i * 0.2}});
    m_window->setVoyage(zigzag);
    QCOMPARE(m_window->view().landWarnings.size(), std::size_t(5));
    const QStringList lines = control<QLabel>("Summary")->text().split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.last(), "\u2026and 2 more legs cross land: the Land column marks their rows");
    QCOMPARE(control<QLabel>("Summary")->toolTip(),
             QString::fromStdString(m_window->view().summary));
    m_window->setVoyage(voyage);

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

// How the user makes a turning point of a route by sea a place.
enum class TurnEdit { Rename, Latitude, Longitude, NoAngle, Drag };
Q_DECLARE_METATYPE(TurnEdit)

void tst_VoyageWindow::turningPointBecomesAPlace_data()
{
    QTest::addColumn<TurnEdit>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<LatLon>("position");

    QTest::newRow("renamed in the table") << TurnEdit::Rename << " Canaries "
                                          << "Canaries" << LatLon{30.0, -25.0};
    QTest::newRow("latitude as the table writes it") << TurnEdit::Latitude << "31\u00B030,0'N"
                                                     << "Canary Passage" << LatLon{31.5, -25.0};
    QTest::newRow("longitude typed") << TurnEdit::Longitude << "24 30 W"
                                     << "Canary Passage" << LatLon{30.0, -24.5};
    QTest::newRow("no latitude: stays a turning point")
        << TurnEdit::NoAngle << "95N" << QString() << LatLon{};
    QTest::newRow("dragged on the map: one step")
        << TurnEdit::Drag << QString() << "Canary Passage" << LatLon{27.0, -28.0};
}

void tst_VoyageWindow::turningPointBecomesAPlace()
{
    QFETCH(TurnEdit, edit);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(LatLon, position);
    sailBySea();
    // The turning points are rows of their own, marked apart from the places, and on the map.
    const VoyageView& view = m_window->view();
    QVERIFY2(view.summary.find("by sea through Canary Passage") != std::string::npos,
             view.summary.c_str());
    const auto turn = std::find_if(view.plan.rows.begin(), view.plan.rows.end(),
                                   [](const VoyageRow& row) { return row.turningPoint; });
    QVERIFY(turn != view.plan.rows.end());
    const int row = int(turn - view.plan.rows.begin());
    WaypointModel* model = const_cast<WaypointModel*>(m_window->model());
    QCOMPARE(model->data(model->index(row, WaypointModel::Place)).toString(),
             QStringLiteral("\u25C6 Canary Passage"));
    QVERIFY(!(model->flags(model->index(0, WaypointModel::Place)) & Qt::ItemIsEditable));
    QCOMPARE(m_window->map()->route().turns.size(), std::size_t(2));

    const Voyage before = m_window->voyage();
    const int steps = m_window->undoStack()->count();
    const auto column = edit == TurnEdit::Rename      ? WaypointModel::Place
                        : edit == TurnEdit::Longitude ? WaypointModel::Longitude
                                                      : WaypointModel::Latitude;
    if (edit == TurnEdit::Drag) {
        for (int i = 1; i <= 3; ++i)
            emit m_window->map()->turnDragged(0, {30.0 - i, -25.0 - i}, i == 3);
    } else {
        QCOMPARE(model->setData(model->index(row, column), typed), edit != TurnEdit::NoAngle);
        QCoreApplication::processEvents(); // the table's edit ends before the window re-plans
    }
    if (edit == TurnEdit::NoAngle) {
        QVERIFY(m_window->voyage() == before);
        return;
    }
    QCOMPARE(placeNames(), (QStringList{"Lisbon", name, "Bridgetown"}));
    QCOMPARE(m_window->voyage().places[1].position, position);
    // Both halves stay by sea, and the whole edit is one step of Undo.
    QCOMPARE(m_window->voyage().legs[0].sailing, Sailing::BySea);
    QCOMPARE(m_window->voyage().legs[1].sailing, Sailing::BySea);
    QCOMPARE(m_window->undoStack()->count(), steps + 1);
    m_window->undoStack()->undo();
    QVERIFY(m_window->voyage() == before);
    m_window->undoStack()->redo();
    QCOMPARE(m_window->voyage().places[1].position, position);
}

void tst_VoyageWindow::seaOptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<int>("steps");
    QTest::addColumn<SeaRouteOptions>("options");

    QTest::newRow("clearance typed in a row: one step")
        << "SeaClearance" << 5.0 << 7.5 << 1 << SeaRouteOptions{7.5, kDefaultSeaLimitLatitude, {}};
    QTest::newRow("limiting latitude")
        << "SeaLimit" << 65.0 << 60.0 << 1 << SeaRouteOptions{kDefaultSeaClearanceNm, 60.0, {}};
    // Each box ticked is a step: the first row, then the second.
    QTest::newRow("two passages avoided: two steps")
        << "AvoidPassages" << 0.0 << 0.0 << 2
        << SeaRouteOptions{kDefaultSeaClearanceNm, kDefaultSeaLimitLatitude, {"suez", "panama"}};
}

void tst_VoyageWindow::seaOptions()
{
    QFETCH(QString, control);
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(int, steps);
    QFETCH(SeaRouteOptions, options);
    auto* box = this->control<QWidget>("SeaOptions");
    QVERIFY(box->isHidden()); // shown only for a voyage with a leg by sea
    sailBySea();
    QVERIFY(!box->isHidden());
    const int before = m_window->undoStack()->count();
    if (control == "AvoidPassages") {
        for (const char* box : {"Avoid_suez", "Avoid_panama"})
            this->control<QCheckBox>(box)->setChecked(true);
    } else {
        for (const double value : {first, second})
            this->control<QDoubleSpinBox>(control.toLatin1().constData())->setValue(value);
    }
    QVERIFY(m_window->voyage().sea == options);
    QVERIFY(m_router.m_asked == options); // the routes are found afresh under them
    QCOMPARE(m_window->undoStack()->count(), before + steps);
    QCOMPARE(m_window->undoStack()->undoText(), QStringLiteral("Change Sea Route Options"));
    while (m_window->undoStack()->index() > before)
        m_window->undoStack()->undo();
    QVERIFY(m_window->voyage().sea == SeaRouteOptions{});
}

void tst_VoyageWindow::seaRoutesReadOffTheWindowThread()
{
    // The built-in graph: read on Qt's thread pool while the window says so, then planned.
    m_window->setSeaRouting(nullptr, {});
    Voyage voyage = twoPlaceVoyage({"Europoort", {51.95, 4.05}}, {"Singapore", {1.2, 103.8}});
    voyage.legs.front().sailing = Sailing::BySea;
    m_window->setVoyage(voyage);
    if (!m_window->plan().hasPlan)
        QCOMPARE(control<QLabel>("Summary")->text(), "Finding the routes by sea\u2026");
    QTRY_VERIFY_WITH_TIMEOUT(m_window->plan().hasPlan, 60000);
    QVERIFY2(m_window->view().summary.find("Suez Canal") != std::string::npos,
             m_window->view().summary.c_str());
    // The graph's passages can be avoided by name: round the Cape without Suez.
    auto* suez = control<QCheckBox>("Avoid_suez");
    QCOMPARE(suez->text(), QStringLiteral("Suez Canal"));
    suez->setChecked(true);
    QVERIFY2(m_window->view().summary.find("Cape of Good Hope") != std::string::npos,
             m_window->view().summary.c_str());
}

QTEST_MAIN(tst_VoyageWindow)
#include "tst_voyagewindow.moc"
