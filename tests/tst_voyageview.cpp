// A voyage's view: the summary, the map's description, the map and the passage plan all come
// from one plan, so they say the same thing, also when there is no route.

#include "io/earth/earth.h"
#include "io/earth/landasset.h"
#include "io/plan/voyageview.h"
#include "turningrouter.h"

#include <QtTest>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::Voyage)

class tst_VoyageView : public QObject
{
    Q_OBJECT

private slots:
    void sameStory_data();
    void sameStory();
    void landInEveryView_data();
    void landInEveryView();
};

namespace {

const VoyagePlace lisbon{"Lisbon", {38.7, -9.15}}, funchal{"Funchal", {32.65, -16.9}},
    bridgetown{"Bridgetown", {13.1, -59.6}};

Voyage voyageOf(std::vector<VoyagePlace> places, std::optional<std::int64_t> departure = {})
{
    Voyage voyage;
    voyage.places = std::move(places);
    voyage.departure = departure;
    return voyage;
}

// Funchal to Bridgetown by sea, round a named turning point and an unnamed one; from Lisbon
// by great circle first unless `wholly`, and then to an unnamed place.
Voyage bySea(bool wholly)
{
    Voyage voyage = voyageOf({lisbon, funchal, bridgetown});
    voyage.legs = {{}, {Sailing::BySea, 60, {}}};
    if (wholly) {
        voyage = voyageOf({funchal, {"", bridgetown.position}});
        voyage.legs = {{Sailing::BySea, 60, {}}};
    }
    return voyage;
}
const TurningRouter router({{{28.0, -20.0}, "Canary Gap"}, {{20.0, -40.0}, {}}});

constexpr std::int64_t k2031 = 32083200; // 2031-01-01T00:00Z, past the magnetic model's years

} // namespace

void tst_VoyageView::sameStory_data()
{
    QTest::addColumn<Voyage>("voyage");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("description"); // empty: the summary's words
    QTest::addColumn<bool>("almanac");        // viewed with the program's Earth data

    QTest::newRow("places that coincide")
        << voyageOf({lisbon, funchal, {"Funchal again", funchal.position}, bridgetown})
        << "No route: Funchal and Funchal again coincide (leg 2)"
        << "" << true;
    QTest::newRow("two places that coincide") << voyageOf({lisbon, {"  ", lisbon.position}})
                                              << "No route: Lisbon and place 2 coincide (leg 1)"
                                              << "" << false;
    QTest::newRow("one place") << voyageOf({lisbon})
                               << "No route: a voyage needs at least two places"
                               << "" << false;
    QTest::newRow("three places")
        << voyageOf({lisbon, funchal, bridgetown})
        << "Voyage of 3 places, 3136.2 nm steered, 3135.6 nm by great circles; under way 21 d 18 h "
           "42 min"
        << "Voyage from Lisbon to Bridgetown by way of 1 place, 3136 nautical miles" << false;
    // Past the model's years the summary says why the table has no variation.
    QTest::newRow("three places in 2031")
        << voyageOf({lisbon, funchal, bridgetown}, k2031)
        << "Voyage of 3 places, 3136.2 nm steered, 3135.6 nm by great circles; under way 21 d 18 h "
           "42 min, arriving 2031-01-22T18:42Z. No magnetic variation in 2031: the World Magnetic "
           "Model 2025 holds from 2025 to the end of 2029"
        << "Voyage from Lisbon to Bridgetown by way of 1 place, 3136 nautical miles" << true;
    QTest::newRow("a leg by sea")
        << bySea(false)
        << "Voyage of 3 places, 3240.1 nm steered, 3135.6 nm by great circles; legs by sea 2716.5 "
           "nm (great circle 2612.1 nm), through Canary Gap; under way 22 d 12 h 01 min"
        << "Voyage from Lisbon to Bridgetown by way of 1 place, 3240 nautical miles" << false;
    // An unnamed place goes by its row's number, the turning points' rows counted.
    QTest::newRow("by sea to an unnamed place")
        << bySea(true)
        << "Voyage of 2 places, 2716.5 nm steered, 2612.1 nm by great circles; by sea through "
           "Canary Gap; under way 18 d 20 h 45 min"
        << "Voyage by sea from Funchal to WP06 through Canary Gap, 2716 nautical miles" << false;
}

void tst_VoyageView::sameStory()
{
    QFETCH(Voyage, voyage);
    QFETCH(QString, summary);
    QFETCH(QString, description);
    QFETCH(bool, almanac);
    VoyageViewOptions options;
    if (almanac)
        options.earth = &programEarth();
    options.sea = &router;
    const VoyageView view = viewVoyage(voyage, options);
    QCOMPARE(QString::fromStdString(view.summary), summary);
    QCOMPARE(QString::fromStdString(view.description),
             description.isEmpty() ? summary : description);
    // The map, the passage plan and the almanac have the plan's rows, or none.
    QCOMPARE(view.map.waypoints.size(), view.plan.rows.size());
    QCOMPARE(view.almanac.rows.size(), almanac ? view.plan.rows.size() : 0);
    QCOMPARE(view.passage.rows.size(), view.plan.rows.size());
    // One track per leg, from its place to the next: a great-circle chart centres on one.
    QCOMPARE(view.map.legs.size(), view.plan.hasPlan ? view.plan.legs.size() : 0);
    for (std::size_t i = 0; i < view.map.legs.size(); ++i) {
        QCOMPARE(view.map.legs[i].front(), view.plan.rows[view.plan.legs[i].firstRow].position);
        QCOMPARE(view.map.legs[i].back(), view.plan.rows[view.plan.legs[i].lastRow].position);
    }
    // A turning point is marked on the map and exported under its passage's name, if any.
    std::size_t turns = 0;
    for (std::size_t r = 0; r < view.plan.rows.size(); ++r) {
        const VoyageRow& row = view.plan.rows[r];
        if (!row.turningPoint)
            continue;
        QCOMPARE(view.map.turns.at(turns++).name, row.name);
        if (!row.name.empty())
            QCOMPARE(view.passage.rows[r].name, row.name);
    }
    QCOMPARE(view.map.turns.size(), turns);
}

void tst_VoyageView::landInEveryView_data()
{
    QTest::addColumn<Voyage>("voyage");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("separators");   // decimal, then group
    QTest::addColumn<QStringList>("warnings"); // what each warning begins with, as a pattern

    const VoyagePlace sydney{"Sydney", {-33.87, 151.2}}, singapore{"Singapore", {1.29, 103.85}},
        dover{"Dover", {51.12, 1.33}}, calais{"Calais", {50.97, 1.85}},
        honolulu{"Honolulu", {21.3, -157.87}};
    const QString acrossAustralia =
        QStringLiteral("^Leg %1, Sydney – Singapore, crosses land: 1%2\\d{3} nm in \\d+ "
                       "stretches, the longest from 33°52%3\\d'S 151°");
    QTest::newRow("across Australia") << voyageOf({sydney, singapore}) << true << ".,"
                                      << QStringList{acrossAustralia.arg("1", ",", ".")};
    QTest::newRow("across Australia, German figures")
        << voyageOf({sydney, singapore}) << true << ",."
        << QStringList{acrossAustralia.arg("1", ".", ",")};
    QTest::newRow("every leg of four")
        << voyageOf({lisbon, funchal, honolulu, sydney, singapore}) << true << ".,"
        << QStringList{// Lisbon's centre to the south-west: over the Tagus to its south bank
                       "^Leg 1, Lisbon – Funchal, crosses land: \\d\\.\\d nm from ",
                       // Labrador and Canada, then New Caledonia
                       "^Leg 2, Funchal – Honolulu, crosses land: \\d,\\d{3} nm in ",
                       "^Leg 3, Honolulu – Sydney, crosses land: \\d\\d nm from 21°",
                       acrossAustralia.arg("4", ",", ".")};
    QTest::newRow("a flight is not checked")
        << voyageOf({sydney, singapore}) << false << ".," << QStringList{};
    QTest::newRow("across the Strait of Dover")
        << voyageOf({dover, calais}) << true << ".," << QStringList{};
}

void tst_VoyageView::landInEveryView()
{
    QFETCH(Voyage, voyage);
    QFETCH(bool, check);
    QFETCH(QString, separators);
    QFETCH(QStringList, warnings);
    const auto& land = builtInLand();
    QVERIFY(std::holds_alternative<LandIndex>(land));
    VoyageViewOptions options;
    options.decimalSeparator = separators.left(1).toStdString();
    options.groupSeparator = separators.mid(1).toStdString();
    options.land = check ? &std::get<LandIndex>(land) : nullptr;
    const VoyageView view = viewVoyage(voyage, options);

    QCOMPARE(view.landChecked, check);
    QCOMPARE(view.landWarnings.size(), std::size_t(warnings.size()));
    for (qsizetype i = 0; i < warnings.size(); ++i) {
        const QString warning = QString::fromStdString(view.landWarnings[std::size_t(i)]);
        QVERIFY2(QRegularExpression(warnings[i]).match(warning).hasMatch(), qPrintable(warning));
        // The summary and the map's description say it as well.
        QVERIFY(QString::fromStdString(view.summary).contains("\n" + warning));
        QVERIFY(QString::fromStdString(view.description).contains(warning));
    }
    // The map draws every stretch, and the rows whose stretch meets land are marked.
    QCOMPARE(view.map.overLand.size(), view.land.size());
    QCOMPARE(view.rowsOverLand.size(), check ? view.plan.rows.size() : 0);
    for (const LandCrossing& crossing : view.land)
        for (std::size_t row = crossing.firstRow; row <= crossing.lastRow; ++row)
            QVERIFY(view.rowsOverLand[row]);
    if (check && !warnings.isEmpty())
        QVERIFY(std::count(view.rowsOverLand.begin(), view.rowsOverLand.end(), false) > 0);
}

QTEST_GUILESS_MAIN(tst_VoyageView)
#include "tst_voyageview.moc"
