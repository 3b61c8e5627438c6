#include "geo/routeplan.h"
#include "geo/routeview.h"

#include <QtTest>

#include <cmath>
#include <numbers>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::LatLon)

namespace {

constexpr double kRad = std::numbers::pi / 180;

// Great-circle arc between two points, degrees (haversine, independent of the code under test).
double arcDegrees(LatLon a, LatLon b)
{
    const double dlat = (b.latitude - a.latitude) * kRad, dlon = (b.longitude - a.longitude) * kRad;
    const double h = std::pow(std::sin(dlat / 2), 2) + std::cos(a.latitude * kRad) *
                                                           std::cos(b.latitude * kRad) *
                                                           std::pow(std::sin(dlon / 2), 2);
    return 2 * std::asin(std::min(1.0, std::sqrt(h))) / kRad;
}

bool samePlace(LatLon a, LatLon b)
{
    return arcDegrees(a, b) < 1e-7;
}

const LatLon sanFrancisco{37.75, -122.45}, sydney{-34.0, 151.0}, london{51.5, -0.1667},
    newYork{40.75, -73.9667}, tokyo{35.6833, 139.7667};

} // namespace

class tst_RouteView : public QObject
{
    Q_OBJECT

private slots:
    void greatCirclePath_data();
    void greatCirclePath();
    void rhumbLinePath_data();
    void rhumbLinePath();
    void description_data();
    void description();
    void summaryVertex_data();
    void summaryVertex();
};

void tst_RouteView::greatCirclePath_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::addColumn<int>("everyDegrees");
    QTest::newRow("San Francisco-Sydney") << sanFrancisco << sydney << 10;
    QTest::newRow("Tokyo-San Francisco, across 180") << tokyo << sanFrancisco << 20;
    QTest::newRow("over the north pole") << LatLon{60, 10} << LatLon{60, -170} << 10;
    QTest::newRow("along the equator") << LatLon{0, -20} << LatLon{0, 70} << 5;
    QTest::newRow("antipodes, over the pole") << LatLon{10, 30} << LatLon{-10, -150} << 10;
}

void tst_RouteView::greatCirclePath()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    QFETCH(int, everyDegrees);
    const RoutePlan plan =
        planRoute(start, end, {PlanOptions::Spacing::Meridians, everyDegrees, 600});
    QVERIFY(plan.hasRoute);
    const std::vector<LatLon> path = gyrena::greatCirclePath(plan, 1.0);
    QVERIFY(samePlace(path.front(), plan.waypoints.front().position));
    QVERIFY(samePlace(path.back(), plan.waypoints.back().position));
    // Short steps that add up to the route: a path off the great circle would be longer.
    double length = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        const double step = arcDegrees(path[i - 1], path[i]);
        QVERIFY2(step <= 1.0 + 1e-9, qPrintable(QString::number(step)));
        length += step;
    }
    QVERIFY2(std::abs(length * 60 - plan.distance) < 1e-6 * plan.distance,
             qPrintable(QStringLiteral("%1 against %2").arg(length * 60).arg(plan.distance)));
    // Every waypoint of the plan is on the path.
    for (const Waypoint& waypoint : plan.waypoints)
        QVERIFY(std::any_of(path.begin(), path.end(),
                            [&](LatLon p) { return samePlace(p, waypoint.position); }));
}

void tst_RouteView::rhumbLinePath_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::newRow("London-New York") << london << newYork;
    QTest::newRow("Tokyo-San Francisco, across 180") << tokyo << sanFrancisco;
    QTest::newRow("along a parallel") << LatLon{40, 10} << LatLon{40, 100};
    QTest::newRow("along a meridian") << LatLon{10, 5} << LatLon{-50, 5};
    QTest::newRow("to the north pole") << LatLon{30, 20} << LatLon{90, 0};
    QTest::newRow("high latitude, steep") << LatLon{70, -20} << LatLon{85, 60};
}

void tst_RouteView::rhumbLinePath()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    const RhumbLeg whole = rhumbLine(start, end);
    const std::vector<LatLon> path = gyrena::rhumbLinePath(start, end, 1.0);
    QVERIFY(samePlace(path.front(), start));
    QVERIFY(samePlace(path.back(), end));
    // One constant course all the way, and the pieces add up to the line's distance.
    double length = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        QVERIFY(std::abs(path[i].latitude - path[i - 1].latitude) <= 1.0 + 1e-9);
        QVERIFY(std::abs(path[i].longitude - path[i - 1].longitude) <= 1.0 + 1e-9);
        const RhumbLeg piece = rhumbLine(path[i - 1], path[i]);
        if (std::abs(path[i].latitude) < 89.999)
            QVERIFY2(
                std::abs(std::remainder(piece.course - whole.course, 360.0)) < 1e-6,
                qPrintable(QStringLiteral("%1 against %2").arg(piece.course).arg(whole.course)));
        length += piece.distance;
    }
    QVERIFY2(std::abs(length - whole.distance) < 1e-6 * whole.distance + 1e-9,
             qPrintable(QStringLiteral("%1 against %2").arg(length).arg(whole.distance)));
}

void tst_RouteView::description_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::addColumn<QString>("expected");
    QTest::newRow("London-New York, vertex on the route")
        << LatLon{51.5, -0.1167} << LatLon{40.7, -74.0}
        << QStringLiteral("Great circle from A to B, 3006 nautical miles, leaving on course 288°, "
                          "highest latitude 53°47'N");
    QTest::newRow("San Francisco-Sydney, highest at the start")
        << sanFrancisco << sydney
        << QStringLiteral("Great circle from A to B, 6458 nautical miles, leaving on course 240°, "
                          "highest latitude 37°45'N");
    QTest::newRow("southern ends, farthest south at the vertex")
        << LatLon{-33.9, 18.4} << LatLon{-31.95, 115.85}
        << QStringLiteral("Great circle from A to B, 4694 nautical miles, leaving on course 121°, "
                          "highest latitude 44°30'S");
    QTest::newRow("due north, course 0 not 360")
        << LatLon{-10, 20} << LatLon{12, 20}
        << QStringLiteral("Great circle from A to B, 1320 nautical miles, leaving on course 0°, "
                          "highest latitude 12°00'N");
    QTest::newRow("same place, no route")
        << LatLon{10, 20} << LatLon{10, 20} << QStringLiteral("No route: ");
}

void tst_RouteView::description()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    QFETCH(QString, expected);
    const QString got = QString::fromStdString(routeDescription(planRoute(start, end), "A", "B"));
    if (expected.endsWith(QStringLiteral(": ")))
        QVERIFY2(got.startsWith(expected) && got.size() > expected.size(), qPrintable(got));
    else
        QCOMPARE(got, expected);
}

void tst_RouteView::summaryVertex_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::addColumn<QString>("vertex");
    QTest::newRow("on the route") << london << newYork << QStringLiteral("vertex 53°4");
    QTest::newRow("beyond the start")
        << sanFrancisco << sydney << QStringLiteral(", not on the route");
    QTest::newRow("equator") << LatLon{0, 0} << LatLon{0, 60}
                             << QStringLiteral("no vertex: the route follows the equator");
    QTest::newRow("over the pole")
        << LatLon{60, 0} << LatLon{70, 180}
        << QStringLiteral("vertex the North Pole, 1800.0 nm from the start");
}

void tst_RouteView::summaryVertex()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    QFETCH(QString, vertex);
    const RoutePlan plan = planRoute(start, end);
    const QString summary = QString::fromStdString(routeSummary(plan, "."));
    QVERIFY2(summary.contains(vertex), qPrintable(summary));
    // The saving is the rhumb line's excess over the great circle, as both distances show.
    QVERIFY2(
        summary.startsWith(
            QStringLiteral("Great circle %1 nm, rhumb line %2 nm: the great circle saves %3 nm")
                .arg(plan.distance, 0, 'f', 1)
                .arg(plan.rhumb.line.distance, 0, 'f', 1)
                .arg(plan.rhumb.line.distance - plan.distance, 0, 'f', 1)),
        qPrintable(summary));
    QVERIFY2(summary.endsWith(QStringLiteral("WGS84 %1 nm").arg(plan.wgs84.distance, 0, 'f', 1)),
             qPrintable(summary));
}

QTEST_GUILESS_MAIN(tst_RouteView)
#include "tst_routeview.moc"
