// Voyage planning: legs against GeographicLib's tools on the sphere where 1 nm is 1 arc minute,
// composite sailing against the navigation texts' worked example, and times against GNU date.

#include "geo/utctime.h"
#include "geo/voyage.h"
#include "turningrouter.h"

#include <QtTest>

#include <cmath>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::Voyage)

class tst_Voyage : public QObject
{
    Q_OBJECT

private slots:
    void legs_data();
    void legs();
    void compositeMeetsTheLimit();
    void rows();
    void bySea();
    void problems_data();
    void problems();
    void utcMinutes_data();
    void utcMinutes();
};

namespace {

// GeodSolve and RhumbSolve -e 6366707.0194937 0 print metres; on that sphere 1852 m is 1'.
constexpr double kMetresPerNm = 1852.0;
// The tools print millimetres (RhumbSolve -p 9 less): 1e-4 nm is well above the rounding.
constexpr double kToolNm = 1e-4;

const VoyagePlace lisbon{"Lisbon", {38.7, -9.15}};
const VoyagePlace funchal{"Funchal", {32.65, -16.9}};
const VoyagePlace bridgetown{"Bridgetown", {13.1, -59.6}};
const VoyagePlace capeTown{"Cape Town", {-33.9, 18.4}};
const VoyagePlace hobart{"Hobart", {-42.9, 147.3}};

Voyage voyageOf(std::vector<VoyagePlace> places, std::vector<VoyageLeg> legs)
{
    Voyage voyage;
    voyage.places = std::move(places);
    voyage.legs = std::move(legs);
    return voyage;
}

VoyageLeg composite(double limit)
{
    return {Sailing::Composite, limit, std::nullopt};
}

} // namespace

void tst_Voyage::legs_data()
{
    QTest::addColumn<Voyage>("voyage");
    QTest::addColumn<QList<double>>("legNm"); // each leg as steered

    // Steered: RhumbSolve -e 6366707.0194937 0 -i between every two consecutive rows of the plan
    // (a waypoint every 10 degrees of longitude), summed over the leg's rows.
    QTest::newRow("great circle then rhumb line")
        << voyageOf({lisbon, funchal, bridgetown}, {{}, {Sailing::RhumbLine, 60, std::nullopt}})
        << QList<double>{523.586286717, 3145.515883855 - 523.586286717};
    // The worked example, 41N 72W to 41N 0E below 44N: 1151.4 + 878.8 + 1151.4 = 3181.6 nm
    // along its great circles and parallel, 3182.7 nm steered between the waypoints.
    QTest::newRow("composite, worked example")
        << voyageOf({{"A", {41, -72}}, {"B", {41, 0}}}, {composite(44)})
        << QList<double>{3182.727120976};
    // The limit is never passed: the great circle's waypoints (GeodSolve: 3160.1 nm along it).
    QTest::newRow("composite below the limit is the great circle")
        << voyageOf({{"A", {41, -72}}, {"B", {41, 0}}}, {composite(60)})
        << QList<double>{3162.061761971};
    // South of the equator the limit holds at 50S.
    QTest::newRow("composite in the south")
        << voyageOf({capeTown, hobart}, {composite(50)}) << QList<double>{5565.889478467};
}

void tst_Voyage::legs()
{
    QFETCH(Voyage, voyage);
    QFETCH(QList<double>, legNm);
    const VoyagePlan plan = planVoyage(voyage);
    QVERIFY2(plan.hasPlan, plan.problem.c_str());
    QCOMPARE(plan.legs.size(), std::size_t(legNm.size()));
    double total = 0;
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        QVERIFY2(
            std::abs(plan.legs[i].distance - legNm[qsizetype(i)]) < kToolNm,
            qPrintable(
                QStringLiteral("leg %1: %2").arg(i + 1).arg(plan.legs[i].distance, 0, 'f', 6)));
        total += legNm[qsizetype(i)];
    }
    QVERIFY(std::abs(plan.distance - total) < kToolNm);
    QVERIFY(std::abs(plan.rows.back().fromStartNm - total) < kToolNm);
    QCOMPARE(plan.rows.front().toGoNm, plan.distance);
    // The track never leaves the limit of a composite leg.
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        if (voyage.legs[i].sailing != Sailing::Composite)
            continue;
        for (std::size_t r = plan.legs[i].firstRow; r <= plan.legs[i].lastRow; ++r)
            QVERIFY(std::abs(plan.rows[r].position.latitude) <=
                    voyage.legs[i].limitLatitude + 1e-9);
    }
}

void tst_Voyage::compositeMeetsTheLimit()
{
    const VoyagePlan plan =
        planVoyage(voyageOf({{"A", {41, -72}}, {"B", {41, 0}}}, {composite(44)}));
    QVERIFY(plan.hasPlan);
    const PlannedLeg& leg = plan.legs.front();
    QVERIFY(leg.reachesLimit);
    // GeodSolve -i 41 -72 41 0 -> 5852525.879203 m = 3160.1 nm, against 3182.7 steered.
    QVERIFY(std::abs(leg.greatCircleNm - 5852525.879203 / kMetresPerNm) < kToolNm);
    QVERIFY(std::abs(leg.meetsLimit.longitude - -46.180786169993) < 1e-9);
    QVERIFY(std::abs(leg.leavesLimit.longitude - -25.819213830007) < 1e-9);
    // Where the route meets the parallel the course is 090, and stays so along it.
    const auto meets = std::find_if(plan.rows.begin(), plan.rows.end(), [](const VoyageRow& row) {
        return std::abs(row.position.latitude - 44) < 1e-9;
    });
    QVERIFY(meets != plan.rows.end());
    QVERIFY(std::abs(*meets->courseToNext - 90) < 1e-9);
    QVERIFY(meets->rhumbToNext);
    // 1151.4 nm along the great circle (the worked example), steered on rhumb legs 1151.9.
    QCOMPARE(std::round(meets->fromStartNm * 10) / 10, 1151.9);
}

void tst_Voyage::rows()
{
    // Leg 1 at the voyage's 6 knots, leg 2 at its own 7.5, leaving 2026-12-08T22:30Z.
    // Steered (see legs): 523.586287 / 6 * 60 = 5236 minutes and + 2621.929597 / 7.5 * 60 = 26211
    // in all; date -u -d '2026-12-08T22:30Z + 5236 minutes' -> 2026-12-12T13:46Z, + 26211 ->
    // 12-27T03:21Z.
    Voyage voyage = voyageOf({lisbon, funchal, bridgetown}, {{}, {Sailing::RhumbLine, 60, 7.5}});
    voyage.departure = parseUtcMinute("2026-12-08T22:30Z");
    const VoyagePlan plan = planVoyage(voyage);
    QVERIFY(plan.hasPlan);
    QStringList places;
    for (const VoyageRow& row : plan.rows) {
        if (row.isPlace)
            places << QString::fromStdString(row.name + " " + utcMinuteText(*row.eta));
        QVERIFY(row.eta.has_value());
        QVERIFY(std::abs(row.fromStartNm + row.toGoNm - plan.distance) < 1e-9);
    }
    QCOMPARE(places, QStringList({"Lisbon 2026-12-08T22:30Z", "Funchal 2026-12-12T13:46Z",
                                  "Bridgetown 2026-12-27T03:21Z"}));
    QCOMPARE(plan.minutesUnderWay, std::optional<std::int64_t>(26211));
    // The table adds up: each row's distance from the start is the row before's plus its leg.
    for (std::size_t r = 1; r < plan.rows.size(); ++r)
        QVERIFY(std::abs(plan.rows[r].fromStartNm - plan.rows[r - 1].fromStartNm -
                         *plan.rows[r - 1].legNm) < 1e-9);
    QVERIFY(!plan.rows.back().courseToNext && !plan.rows.back().legNm);
    // Every 10 degrees of longitude: 50W, 40W, 30W, 20W on the rhumb line, none on leg 1.
    QCOMPARE(plan.legs[1].lastRow - plan.legs[1].firstRow, std::size_t(5));
    QCOMPARE(plan.rows[plan.legs[1].firstRow + 1].position.longitude, -20.0);
    // Without a departure no row has a time, but the time under way stands.
    voyage.departure.reset();
    const VoyagePlan untimed = planVoyage(voyage);
    QVERIFY(std::none_of(untimed.rows.begin(), untimed.rows.end(),
                         [](const VoyageRow& row) { return row.eta.has_value(); }));
    QCOMPARE(untimed.minutesUnderWay, plan.minutesUnderWay);
}

void tst_Voyage::bySea()
{
    // Lisbon to Funchal as a great circle, then by sea to Bridgetown round two turning points.
    const TurningRouter router({{{28.0, -20.0}, "Canary Gap"}, {{20.0, -40.0}, {}}});
    Voyage voyage = voyageOf({lisbon, funchal, bridgetown}, {{}, {Sailing::BySea, 60, {}}});
    voyage.sea.clearanceNm = 7;
    const VoyagePlan plan = planVoyage(voyage, &router);
    QVERIFY2(plan.hasPlan, plan.problem.c_str());
    QCOMPARE(router.m_asked, voyage.sea);
    const PlannedLeg& leg = plan.legs[1];
    QCOMPARE(leg.sailing, Sailing::BySea);
    QCOMPARE(leg.passages, std::vector<std::string>{"Canary Gap"});
    // Its rows: Funchal, the turning points (computed, the first named), the waypoints of each
    // great circle between, each turning point on its spot and no place but the leg's ends.
    QStringList turns;
    double steered = 0.0;
    for (std::size_t r = leg.firstRow; r <= leg.lastRow; ++r) {
        const VoyageRow& row = plan.rows[r];
        QCOMPARE(row.isPlace, r == leg.firstRow || r == leg.lastRow);
        QCOMPARE(row.place, r == leg.lastRow ? std::size_t(2) : std::size_t(1));
        if (row.turningPoint)
            turns << QStringLiteral("%1 %2 %3")
                         .arg(QString::fromStdString(row.name))
                         .arg(row.position.latitude)
                         .arg(row.position.longitude);
        QVERIFY(!row.turningPoint || !row.rhumbToNext);
        if (r < leg.lastRow)
            steered += *row.legNm;
    }
    QCOMPARE(turns, QStringList({"Canary Gap 28 -20", " 20 -40"}));
    QVERIFY(std::abs(leg.distance - steered) < 1e-9);
    // Great circles Funchal 28N 20W, on to 20N 40W, on to Bridgetown: the route's own length,
    // longer than the great circle between the places.
    const double route = planRoute(funchal.position, {28, -20}).distance +
                         planRoute({28, -20}, {20, -40}).distance +
                         planRoute({20, -40}, bridgetown.position).distance;
    QVERIFY(leg.distance >= route && leg.distance < route * 1.001);
    QVERIFY(leg.greatCircleNm < route);
    QCOMPARE(plan.legs[0].sailing, Sailing::GreatCircle);
    QVERIFY(plan.legs[0].passages.empty());

    // Without a router, or without a route, there is no plan, and it says why.
    QCOMPARE(planVoyage(voyage).problem, "the routes by sea are not ready (leg 2)");
    const TurningRouter nowhere({});
    QCOMPARE(planVoyage(voyage, &nowhere).problem,
             "no route by sea from Funchal to Bridgetown: the end lies beyond the limiting "
             "latitude (leg 2)");
    QVERIFY(hasLegBySea(voyage));
    voyage.legs[1].sailing = Sailing::RhumbLine;
    QVERIFY(!hasLegBySea(voyage));
}

void tst_Voyage::problems_data()
{
    QTest::addColumn<Voyage>("voyage");
    QTest::addColumn<bool>("planned");
    QTest::addColumn<QString>("problem"); // or, when planned, the time problem

    QTest::newRow("one place") << voyageOf({lisbon}, {}) << false
                               << "a voyage needs at least two places";
    QTest::newRow("repeated place") << voyageOf({lisbon, funchal, funchal}, {}) << false
                                    << "Funchal and Funchal coincide (leg 2)";
    QTest::newRow("latitude beyond 90") << voyageOf({lisbon, {"", {91, 0}}}, {}) << false
                                        << "the latitude of place 2 is beyond 90 degrees";
    QTest::newRow("place beyond the limit")
        << voyageOf({{"Reykjavik", {64.1, -21.9}}, {"Halifax", {44.6, -63.6}}}, {composite(60)})
        << false << "Reykjavik lies beyond the limiting latitude (leg 1)";
    Voyage slow = voyageOf({lisbon, funchal}, {});
    slow.speed = 0;
    QTest::newRow("no speed") << slow << true
                              << "the speed of leg 1 is not between 0.1 and 1000 knots";
    Voyage late = voyageOf({lisbon, funchal}, {});
    late.departure = parseUtcMinute("9999-12-31T23:00Z");
    QTest::newRow("arrival after 9999")
        << late << true << "the voyage would end after the year 9999";
}

void tst_Voyage::problems()
{
    QFETCH(Voyage, voyage);
    QFETCH(bool, planned);
    QFETCH(QString, problem);
    const VoyagePlan plan = planVoyage(voyage);
    QCOMPARE(plan.hasPlan, planned);
    QCOMPARE(QString::fromStdString(planned ? plan.timeProblem : plan.problem), problem);
    QVERIFY(std::none_of(plan.rows.begin(), plan.rows.end(),
                         [](const VoyageRow& row) { return row.eta.has_value(); }));
}

void tst_Voyage::utcMinutes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // empty: refused

    // date -u -d TEXT +%s / 60 agrees with each minute read.
    QTest::newRow("minutes") << "2026-12-08T22:30Z"
                             << "2026-12-08T22:30Z";
    QTest::newRow("seconds dropped, offset zero") << "2026-12-08 22:30:59+00:00"
                                                  << "2026-12-08T22:30Z";
    QTest::newRow("leap day") << "2028-02-29T00:01Z"
                              << "2028-02-29T00:01Z";
    QTest::newRow("before 1970") << "1969-12-31T23:59Z"
                                 << "1969-12-31T23:59Z";
    QTest::newRow("no such day") << "2026-02-29T00:00Z"
                                 << "";
    QTest::newRow("hour 24") << "2026-01-01T24:00Z"
                             << "";
    QTest::newRow("local time") << "2026-01-01T10:00"
                                << "";
    QTest::newRow("other zone") << "2026-01-01T10:00+01:00"
                                << "";
    QTest::newRow("sign in a field") << "2026-+1-01T10:00Z"
                                     << "";
}

void tst_Voyage::utcMinutes()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    const std::optional<std::int64_t> minute = parseUtcMinute(text.toStdString());
    QCOMPARE(minute.has_value(), !written.isEmpty());
    if (!minute)
        return;
    QCOMPARE(QString::fromStdString(utcMinuteText(*minute)), written);
    QProcess date;
    date.start("date", {"-u", "-d", text, "+%s"});
    QVERIFY(date.waitForFinished(10000));
    QCOMPARE(*minute, date.readAllStandardOutput().trimmed().toLongLong() / 60);
}

QTEST_GUILESS_MAIN(tst_Voyage)
#include "tst_voyage.moc"
