// Route planning against GeographicLib's command-line tools, and its answers where the great
// circle degenerates.

#include "geo/positiontext.h"
#include "geo/routeplan.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <numbers>

using gyrena::LatLon;
using gyrena::PlanOptions;
using gyrena::RoutePlan;
using gyrena::Vertex;

Q_DECLARE_METATYPE(PlanOptions::Spacing)
Q_DECLARE_METATYPE(Vertex::Kind)
Q_DECLARE_METATYPE(LatLon)

class tst_RoutePlan : public QObject
{
    Q_OBJECT

private slots:
    void waypointsOnTheGreatCircle_data();
    void waypointsOnTheGreatCircle();
    void routeFigures_data();
    void routeFigures();
    void degenerateRoutes_data();
    void degenerateRoutes();
    void positionText_data();
    void positionText();
    void nearlyAntipodal_data();
    void nearlyAntipodal();
};

namespace {

// The sphere's radius in nautical miles: GeodSolve -e 1 0 measures in radii.
constexpr double kNmPerRadius = 10800.0 / std::numbers::pi;
constexpr double kDegrees = 1e-9;
// The tools print distances to 1e-10 radii, i.e. 3.4e-7 nm.
constexpr double kToolNm = 1e-6;

struct Route
{
    LatLon start, end;
    double everyNm = 0.0; // 0: every 10 degrees of longitude
};

const QHash<QString, Route>& routes()
{
    static const QHash<QString, Route> table{
        {QStringLiteral("sanFranciscoSydney"), Route{LatLon{37.75, -122.45}, LatLon{-34.0, 151.0}}},
        {QStringLiteral("londonNewYork"), Route{LatLon{51.5, -10.0 / 60}, LatLon{40.0 + 43.0 / 60, -74.0}}},
        {QStringLiteral("acrossTheAntimeridianEast"), Route{LatLon{50.0, 175.0}, LatLon{20.0, -120.0}}},
        {QStringLiteral("southernOceanEvery1000nm"), Route{LatLon{10.0, 20.0}, LatLon{-30.0, 40.0}, 1000.0}},
        {QStringLiteral("alongTheEquator"), Route{LatLon{0.0, 10.0}, LatLon{0.0, 50.0}}},
        {QStringLiteral("alongAParallelSouth"), Route{LatLon{-45.0, 0.0}, LatLon{-45.0, 90.0}}},
    };
    return table;
}

RoutePlan planOf(const QString& name)
{
    const Route route = routes().value(name);
    PlanOptions options;
    if (route.everyNm > 0.0) {
        options.spacing = PlanOptions::Spacing::Distance;
        options.everyNm = route.everyNm;
    }
    return gyrena::planRoute(route.start, route.end, options);
}

// The difference of two angles in degrees, whatever turn each is written in.
double angleDifference(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

} // namespace

void tst_RoutePlan::waypointsOnTheGreatCircle_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("course");

    // Each waypoint's distance from the start (our own, in nm) was fed to the tool's line mode
    // from the start along the tool's own initial azimuth, and its position and azimuth there
    // recorded:
    //   GeodSolve -e 1 0 -i -p 10 <<< 'LAT1 LON1 LAT2 LON2'        -> azi1
    //   GeodSolve -e 1 0 -L LAT1 LON1 azi1 -p 10 <<< 'DISTANCE_NM / (10800 / pi)'
    // A waypoint at the wrong distance would land off its meridian.
    const auto row = [](const char* route, int index, double distance, double latitude,
                        double longitude, double course) {
        QTest::addRow("%s %d", route, index)
            << QString(route) << index << distance << latitude << longitude << course;
    };
    // azi1 -119.735169428936942
    row("sanFranciscoSydney", 1, 432.765671261784, 33.926806333693072, -129.999999999999972, -124.162371858095369);
    row("sanFranciscoSydney", 5, 3490.808857988677, -0.598394760443819, -170.000000000000000, -136.637270678626663);
    row("sanFranciscoSydney", 6, 4353.312809633076, -10.987998022990404, -180.000000000000000, -135.621171981914188);
    row("sanFranciscoSydney", 7, 5160.690808683048, -20.404293955641890, 170.000000000000000, -132.900255227569062);
    // azi1 -71.688259935339516
    row("londonNewYork", 1, 372.467242913882, 53.050796793452712, -10.000000000000002, -79.473901342238804);
    row("londonNewYork", 7, 2778.960505926494, 42.997943200828303, -69.999999999999972, -126.094013854369734);
    // azi1 95.657887239833883
    row("acrossTheAntimeridianEast", 1, 195.361708222844, 49.570849266839254, 180.000000000000000, 99.477083235040482);
    row("acrossTheAntimeridianEast", 2, 601.144472536575, 48.016464927787922, -170.000000000000000, 107.009486041683118);
    // azi1 154.948749012087660
    row("southernOceanEvery1000nm", 1, 1000.0, -5.136168709779045, 27.003520212325054, 155.248908281413662);
    row("southernOceanEvery1000nm", 2, 2000.0, -20.192323131604148, 34.354163869799336, 153.621237526792413);
}

void tst_RoutePlan::waypointsOnTheGreatCircle()
{
    QFETCH(QString, route);
    QFETCH(int, index);
    QFETCH(double, distance);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, course);

    const RoutePlan plan = planOf(route);
    QVERIFY(index < static_cast<int>(plan.waypoints.size()) - 1);
    const gyrena::Waypoint& waypoint = plan.waypoints[static_cast<std::size_t>(index)];
    QVERIFY2(std::fabs(waypoint.distance - distance) < 1e-9, qPrintable(QString::number(waypoint.distance, 'g', 17)));
    QVERIFY2(std::fabs(waypoint.position.latitude - latitude) < kDegrees,
             qPrintable(QString::number(waypoint.position.latitude, 'g', 17)));
    QVERIFY(waypoint.position.longitude > -180.0 && waypoint.position.longitude <= 180.0);
    QVERIFY2(angleDifference(waypoint.position.longitude, longitude) < kDegrees,
             qPrintable(QString::number(waypoint.position.longitude, 'g', 17)));
    QVERIFY2(angleDifference(waypoint.course, course) < kDegrees,
             qPrintable(QString::number(waypoint.course, 'g', 17)));
}

void tst_RoutePlan::routeFigures_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("waypoints");
    QTest::addColumn<QList<double>>("sphere");   // azi1, azi2, s12 in radii
    QTest::addColumn<QList<double>>("rhumb");    // azi12, s12 in radii
    QTest::addColumn<QList<double>>("ellipsoid"); // azi1, azi2, s12 in metres

    // GeodSolve -e 1 0 -i -p 10, RhumbSolve -e 1 0 -i -p 10 and GeodSolve -i -p 6, each fed
    // 'LAT1 LON1 LAT2 LON2' of the route.
    QTest::newRow("sanFranciscoSydney")
        << "sanFranciscoSydney" << 10
        << QList<double>{-119.735169428936942, -124.089624589639357, 1.8785310293}
        << QList<double>{-131.662732188054321, 1.8838420081}
        << QList<double>{-119.56233161739, -123.92611736492, 11954941.708125};
    QTest::newRow("londonNewYork")
        << "londonNewYork" << 9
        << QList<double>{-71.688259935339516, -128.764255192143992, 0.8738445344}
        << QList<double>{-101.950356864968143, 0.9089198056}
        << QList<double>{-71.64897880232, -128.73564201871, 5582267.432290};
    QTest::newRow("acrossTheAntimeridianEast")
        << "acrossTheAntimeridianEast" << 8
        << QList<double>{95.657887239833883, 137.101018359864042, 1.0271340717}
        << QList<double>{119.974295798004604, 1.0480120015}
        << QList<double>{95.54839218071, 137.00695439192, 6550712.385455};
    QTest::newRow("southernOceanEvery1000nm")
        << "southernOceanEvery1000nm" << 4
        << QList<double>{154.948749012087660, 151.216228655982263, 0.7747296486}
        << QList<double>{154.282292178205921, 0.7748900188}
        << QList<double>{154.80940850138, 151.07574111731, 4917385.849115};
    QTest::newRow("alongTheEquator")
        << "alongTheEquator" << 5 << QList<double>{90.0, 90.0, 0.6981317008}
        << QList<double>{90.0, 0.6981317008}
        << QList<double>{90.0, 90.0, 4452779.631731};
    QTest::newRow("alongAParallelSouth")
        << "alongAParallelSouth" << 10
        << QList<double>{125.264389682754654, 54.735610317245346, 1.0471975512}
        << QList<double>{90.0, 1.1107207345}
        << QList<double>{125.27390277173, 54.72609722827, 6690232.932543};
}

void tst_RoutePlan::routeFigures()
{
    QFETCH(QString, route);
    QFETCH(int, waypoints);
    QFETCH(QList<double>, sphere);
    QFETCH(QList<double>, rhumb);
    QFETCH(QList<double>, ellipsoid);

    const RoutePlan plan = planOf(route);
    QVERIFY(plan.hasRoute);
    QCOMPARE(static_cast<int>(plan.waypoints.size()), waypoints);
    QCOMPARE(plan.legs.size(), plan.waypoints.size() - 1);
    QVERIFY(angleDifference(plan.initialCourse, sphere[0]) < kDegrees);
    QVERIFY(angleDifference(plan.arrivalCourse, sphere[1]) < kDegrees);
    QVERIFY(std::fabs(plan.distance - sphere[2] * kNmPerRadius) < kToolNm);

    QVERIFY(angleDifference(plan.rhumb.line.course, rhumb[0]) < kDegrees);
    QVERIFY(std::fabs(plan.rhumb.line.distance - rhumb[1] * kNmPerRadius) < kToolNm);
    const double excess = rhumb[1] * kNmPerRadius - sphere[2] * kNmPerRadius;
    QVERIFY(std::fabs(plan.rhumb.excessNm - excess) < 2 * kToolNm);

    QVERIFY(std::fabs(plan.wgs84.metres - ellipsoid[2]) < 1e-3);
    QVERIFY(angleDifference(plan.wgs84.initialCourse, ellipsoid[0]) < 1e-9);
    QVERIFY(angleDifference(plan.wgs84.arrivalCourse, ellipsoid[1]) < 1e-9);
    QVERIFY(std::fabs(plan.wgs84.minusSphereNm - (ellipsoid[2] / 1852 - plan.distance)) < 1e-9);
}

void tst_RoutePlan::degenerateRoutes_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<LatLon>("end");
    QTest::addColumn<bool>("hasRoute");
    QTest::addColumn<PlanOptions::Spacing>("spacing");
    QTest::addColumn<Vertex::Kind>("vertex");
    QTest::addColumn<QString>("onRoute"); // which vertices the route passes: "", "N", "S", "NS"
    QTest::addColumn<int>("waypoints");
    QTest::addColumn<double>("initialCourse");

    using S = PlanOptions::Spacing;
    using K = Vertex::Kind;
    // Meridian routes fall back to a waypoint every 10 degrees of arc (600 nm). Initial courses
    // of the ordinary routes from GeodSolve -e 1 0 -i.
    QTest::newRow("antipodes go over the north pole")
        << LatLon{10, 10} << LatLon{-10, -170} << true << S::Distance << K::Poles << "N" << 19 << 0.0;
    QTest::newRow("antipodes on the equator") << LatLon{0, 10} << LatLon{0, -170} << true
                                              << S::Distance << K::Poles << "N" << 19 << 0.0;
    QTest::newRow("along the equator") << LatLon{0, 10} << LatLon{0, 50} << true << S::Meridians
                                       << K::Equator << "" << 5 << 90.0;
    QTest::newRow("along a meridian, no pole") << LatLon{10, 20} << LatLon{50, 20} << true
                                               << S::Distance << K::Poles << "" << 5 << 0.0;
    QTest::newRow("over the north pole") << LatLon{10, 20} << LatLon{50, -160} << true
                                         << S::Distance << K::Poles << "N" << 13 << 0.0;
    QTest::newRow("from the north pole") << LatLon{90, 0} << LatLon{10, 20} << true << S::Distance
                                         << K::Poles << "N" << 9 << 180.0;
    QTest::newRow("to the south pole") << LatLon{10, 20} << LatLon{-90, 0} << true << S::Distance
                                       << K::Poles << "S" << 11 << 180.0;
    QTest::newRow("pole to pole") << LatLon{90, 0} << LatLon{-90, 50} << true << S::Distance
                                  << K::Poles << "NS" << 19 << 180.0;
    QTest::newRow("through the vertex") << LatLon{51.5, -10.0 / 60} << LatLon{40.0 + 43.0 / 60, -74}
                                        << true << S::Meridians << K::Points << "N" << 9 << 288.311740064660484;
    QTest::newRow("the 180 meridian as an end") << LatLon{-10, 180} << LatLon{-20, -150} << true
                                                << S::Meridians << K::Points << "" << 4 << 112.592876024393647;
    QTest::newRow("coincident") << LatLon{40, 0} << LatLon{40, 0} << false << S::Meridians
                                << K::Points << "" << 0 << 0.0;
    QTest::newRow("north pole at two longitudes") << LatLon{90, 0} << LatLon{90, 50} << false
                                                  << S::Meridians << K::Points << "" << 0 << 0.0;
    QTest::newRow("latitude beyond 90") << LatLon{95, 0} << LatLon{0, 0} << false << S::Meridians
                                        << K::Points << "" << 0 << 0.0;
    QTest::newRow("not a number") << LatLon{0, std::nan("")} << LatLon{0, 0} << false
                                  << S::Meridians << K::Points << "" << 0 << 0.0;
}

void tst_RoutePlan::degenerateRoutes()
{
    QFETCH(LatLon, start);
    QFETCH(LatLon, end);
    QFETCH(bool, hasRoute);
    QFETCH(PlanOptions::Spacing, spacing);
    QFETCH(Vertex::Kind, vertex);
    QFETCH(QString, onRoute);
    QFETCH(int, waypoints);
    QFETCH(double, initialCourse);

    const RoutePlan plan = gyrena::planRoute(start, end);
    QCOMPARE(plan.hasRoute, hasRoute);
    QCOMPARE(plan.problem.empty(), hasRoute);
    QCOMPARE(static_cast<int>(plan.waypoints.size()), waypoints);
    if (!hasRoute)
        return;
    QCOMPARE(plan.spacing, spacing);
    QCOMPARE(plan.vertex.kind, vertex);
    QCOMPARE(QString(plan.vertex.north.onRoute ? "N" : "") + (plan.vertex.south.onRoute ? "S" : ""),
             onRoute);
    QVERIFY2(angleDifference(plan.initialCourse, initialCourse) < 0.01,
             qPrintable(QString::number(plan.initialCourse, 'g', 17)));
    // Every figure defined and every waypoint in range, in order along the route.
    double previous = -1.0;
    for (const gyrena::Waypoint& w : plan.waypoints) {
        QVERIFY(w.position.latitude >= -90.0 && w.position.latitude <= 90.0);
        QVERIFY(w.position.longitude > -180.0 && w.position.longitude <= 180.0);
        QVERIFY(w.distance > previous && w.course >= 0.0 && w.course < 360.0);
        previous = w.distance;
    }
    for (const gyrena::RhumbLeg& leg : plan.legs)
        QVERIFY(std::isfinite(leg.distance) && leg.course >= 0.0 && leg.course < 360.0);
    QVERIFY(std::isfinite(plan.rhumb.excessPercent) && std::isfinite(plan.wgs84.minusSphereNm));
}

void tst_RoutePlan::positionText_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("text");

    QTest::newRow("San Francisco") << 37.75 << -122.45 << "37°45.0'N 122°27.0'W";
    QTest::newRow("single-digit minutes") << -(5 + 5.5 / 60) << 151.25 << "5°05.5'S 151°15.0'E";
    QTest::newRow("minutes carry into degrees") << 10.99999 << -0.99999 << "11°00.0'N 1°00.0'W";
    QTest::newRow("rounds to zero is north and east") << -0.00001 << -0.00001 << "0°00.0'N 0°00.0'E";
    QTest::newRow("the 180 meridian") << -90.0 << 180.0 << "90°00.0'S 180°00.0'E";
    QTest::newRow("rounds to 180 from the west") << 90.0 << -179.99999 << "90°00.0'N 180°00.0'W";
}

void tst_RoutePlan::positionText()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(gyrena::positionText({latitude, longitude})), text);
}

void tst_RoutePlan::nearlyAntipodal_data()
{
    QTest::addColumn<LatLon>("start");
    QTest::addColumn<int>("everyDegrees");
    QTest::newRow("20E to 160W") << LatLon{10.0, 20.0} << 10;
    QTest::newRow("0 to 180, every 5 degrees") << LatLon{-35.5, 0.0} << 5;
    QTest::newRow("90W to 90E") << LatLon{62.25, -90.0} << 10;
    QTest::newRow("180 to 0, near the equator") << LatLon{0.5, 180.0} << 15;
    QTest::newRow("134.5W to 45.5E") << LatLon{-1.0, -134.5} << 1;
}

// Ends on opposite meridians a hair from antipodal: the route runs over a pole, and however the
// rounding falls its waypoints follow one another along it, none twice.
void tst_RoutePlan::nearlyAntipodal()
{
    QFETCH(LatLon, start);
    QFETCH(int, everyDegrees);
    const PlanOptions options{PlanOptions::Spacing::Meridians, everyDegrees, 600.0};
    const auto vectorOf = [](LatLon p) {
        const double phi = p.latitude * std::numbers::pi / 180,
                     lambda = p.longitude * std::numbers::pi / 180;
        return std::array{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                          std::sin(phi)};
    };
    for (int thousandths = 0; thousandths <= 50; ++thousandths) {
        for (const double side : {1.0, -1.0}) {
            const double offset = side * thousandths / 1000.0 / 60.0; // up to 0.05'
            const LatLon end{-start.latitude + offset, start.longitude + 180.0};
            const RoutePlan plan = gyrena::planRoute(start, end, options);
            const QByteArray where = QByteArray::number(offset * 60, 'f', 3) + "'";
            QVERIFY2(plan.hasRoute, where);
            QVERIFY2(plan.spacing == PlanOptions::Spacing::Distance, where);
            for (std::size_t i = 1; i < plan.waypoints.size(); ++i) {
                const auto& before = plan.waypoints[i - 1];
                const auto& after = plan.waypoints[i];
                const auto u = vectorOf(before.position), v = vectorOf(after.position);
                const double apart = std::hypot(u[0] - v[0], u[1] - v[1], u[2] - v[2]);
                QVERIFY2(after.distance > before.distance + 1e-6 && apart > 1e-9,
                         where + ": waypoints " + QByteArray::number(int(i)) + " and " +
                             QByteArray::number(int(i + 1)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_RoutePlan)
#include "tst_routeplan.moc"
