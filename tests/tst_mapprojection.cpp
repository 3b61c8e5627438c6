#include "geo/mapprojection.h"

#include <QtTest>

#include <cmath>
#include <vector>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::LatLon)

namespace {

// Points along the great circle from a to b (spherical interpolation), for the straightness
// check of the chart.
std::vector<LatLon> greatCircle(LatLon a, LatLon b, int steps)
{
    const auto vec = [](LatLon p) {
        const double f = p.latitude * M_PI / 180, l = p.longitude * M_PI / 180;
        return std::array<double, 3>{std::cos(f) * std::cos(l), std::cos(f) * std::sin(l),
                                     std::sin(f)};
    };
    const auto u = vec(a), v = vec(b);
    const double angle = std::acos(u[0] * v[0] + u[1] * v[1] + u[2] * v[2]);
    std::vector<LatLon> out;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double s = std::sin((1 - t) * angle) / std::sin(angle);
        const double r = std::sin(t * angle) / std::sin(angle);
        const double x = s * u[0] + r * v[0], y = s * u[1] + r * v[1], z = s * u[2] + r * v[2];
        out.push_back({std::atan2(z, std::hypot(x, y)) * 180 / M_PI, std::atan2(y, x) * 180 / M_PI});
    }
    return out;
}

} // namespace

class tst_MapProjection : public QObject
{
    Q_OBJECT

private slots:
    void equirectangular_data();
    void equirectangular();
    void splitAtEdge_data();
    void splitAtEdge();
    void gnomonic_data();
    void gnomonic();
    void gnomonicClipsLine();
    void gnomonicClipsRing();
    void greatCircleIsStraight();
    void centres_data();
    void centres();
};

void tst_MapProjection::equirectangular_data()
{
    QTest::addColumn<double>("centre");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("x");
    QTest::newRow("Greenwich on a Greenwich map") << 0.0 << 51.5 << 0.0 << 0.0;
    QTest::newRow("Tokyo on a Pacific map") << 150.0 << 35.7 << 139.7 << -10.3;
    QTest::newRow("San Francisco on a Pacific map") << 150.0 << 37.8 << -122.4 << 87.6;
    QTest::newRow("opposite meridian is the west edge") << 150.0 << 0.0 << -30.0 << -180.0;
    QTest::newRow("centre given beyond 180") << 510.0 << 0.0 << 140.0 << -10.0;
    QTest::newRow("longitude given beyond 180") << -20.0 << 10.0 << 700.0 << 0.0;
}

void tst_MapProjection::equirectangular()
{
    QFETCH(double, centre);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(double, x);
    const MapXY p = Equirectangular(centre).project({lat, lon});
    QVERIFY2(std::abs(p.x - x) < 1e-9, qPrintable(QString::number(p.x)));
    QCOMPARE(p.y, lat);
}

void tst_MapProjection::splitAtEdge_data()
{
    QTest::addColumn<double>("centre");
    QTest::addColumn<QList<double>>("lons"); // along the equator, then 10 N
    QTest::addColumn<QList<double>>("runLengths");
    QTest::addColumn<double>("edgeLat");
    QTest::newRow("Tokyo to San Francisco on a Greenwich map, eastwards")
        << 0.0 << QList<double>{170, -170} << QList<double>{2, 2} << 5.0;
    QTest::newRow("westwards over the edge") << 0.0 << QList<double>{-170, 170, 160}
                                             << QList<double>{2, 3} << 5.0;
    QTest::newRow("the same on a Pacific map: one run") << 180.0 << QList<double>{170, -170}
                                                       << QList<double>{2} << 0.0;
    QTest::newRow("over the edge and back") << 0.0 << QList<double>{175, -175, 175}
                                            << QList<double>{2, 3, 2} << 5.0;
}

void tst_MapProjection::splitAtEdge()
{
    QFETCH(double, centre);
    QFETCH(QList<double>, lons);
    QFETCH(QList<double>, runLengths);
    QFETCH(double, edgeLat);
    std::vector<LatLon> line;
    for (qsizetype i = 0; i < lons.size(); ++i)
        line.push_back({i == 0 ? 0.0 : 10.0, lons[i]});
    const std::vector<MapRun> runs = Equirectangular(centre).projectLine(line);
    QCOMPARE(qsizetype(runs.size()), runLengths.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        QCOMPARE(qsizetype(runs[r].size()), qsizetype(runLengths[qsizetype(r)]));
        for (std::size_t i = 1; i < runs[r].size(); ++i)
            QVERIFY(std::abs(runs[r][i].x - runs[r][i - 1].x) <= 180); // never across the map
    }
    if (runs.size() > 1) {
        // The first run ends on one edge where the second begins on the other, at one latitude.
        QCOMPARE(std::abs(runs[0].back().x), 180.0);
        QCOMPARE(runs[1].front().x, -runs[0].back().x);
        QCOMPARE(runs[0].back().y, edgeLat);
        QCOMPARE(runs[1].front().y, edgeLat);
    }
}

void tst_MapProjection::gnomonic_data()
{
    QTest::addColumn<double>("centreLat");
    QTest::addColumn<double>("centreLon");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    // tan of the angular distance along the axes; the polar chart's radius is cot(latitude).
    QTest::newRow("centre") << 20.0 << 30.0 << 20.0 << 30.0 << true << 0.0 << 0.0;
    QTest::newRow("45 east on the equator") << 0.0 << 0.0 << 0.0 << 45.0 << true << 1.0 << 0.0;
    QTest::newRow("45 north of the centre") << 0.0 << 0.0 << 45.0 << 0.0 << true << 0.0 << 1.0;
    QTest::newRow("60 west on the equator") << 0.0 << 10.0 << 0.0 << -50.0 << true
                                            << -std::sqrt(3.0) << 0.0;
    QTest::newRow("polar chart, 45 N 90 E") << 90.0 << 0.0 << 45.0 << 90.0 << true << 1.0 << 0.0;
    QTest::newRow("polar chart, 60 N 180") << 90.0 << 0.0 << 60.0 << 180.0 << true << 0.0
                                           << 1 / std::sqrt(3.0);
    QTest::newRow("on the horizon") << 0.0 << 0.0 << 0.0 << 90.0 << false << 0.0 << 0.0;
    QTest::newRow("antipode") << 10.0 << 20.0 << -10.0 << -160.0 << false << 0.0 << 0.0;
    QTest::newRow("just beyond the 80 limit") << 0.0 << 0.0 << 0.0 << 80.5 << false << 0.0 << 0.0;
}

void tst_MapProjection::gnomonic()
{
    QFETCH(double, centreLat);
    QFETCH(double, centreLon);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(bool, visible);
    QFETCH(double, x);
    QFETCH(double, y);
    const std::optional<MapXY> p = Gnomonic({centreLat, centreLon}).project({lat, lon});
    QCOMPARE(p.has_value(), visible);
    if (p) {
        QVERIFY2(std::abs(p->x - x) < 1e-12 && std::abs(p->y - y) < 1e-12,
                 qPrintable(QStringLiteral("%1 %2").arg(p->x).arg(p->y)));
    }
}

void tst_MapProjection::gnomonicClipsLine()
{
    // Along the equator from 60 W to 110 E on a chart centred at 0: it leaves at the limit.
    const std::vector<LatLon> line = greatCircle({0, -60}, {0, 110}, 17);
    const std::vector<MapRun> runs = Gnomonic({0, 0}).projectLine(line);
    QCOMPARE(runs.size(), std::size_t(1));
    const double limit = std::tan(80 * M_PI / 180);
    QVERIFY(runs[0].back().x > 0.95 * limit && runs[0].back().x <= limit);
    for (const MapXY& p : runs[0])
        QVERIFY(std::isfinite(p.x) && std::abs(p.y) < 1e-9);
}

void tst_MapProjection::gnomonicClipsRing()
{
    // A band from 60 W to 110 E: the part beyond 80 degrees goes, the rest stays closed.
    const std::vector<LatLon> ring = {{-10, -60}, {-10, 30}, {-10, 110},
                                      {10, 110},  {10, 30},  {10, -60}};
    const MapRun clipped = Gnomonic({0, 0}).projectRing(ring);
    QCOMPARE(clipped.size(), std::size_t(6));
    const double limit = std::tan(80 * M_PI / 180);
    for (const MapXY& p : clipped)
        QVERIFY(std::isfinite(p.x) && p.x <= limit);
    QVERIFY(
        Gnomonic({0, 90 + 90}).projectRing(std::vector<LatLon>{{0, 0}, {0, 5}, {5, 5}}).empty());
}

void tst_MapProjection::greatCircleIsStraight()
{
    // San Francisco to Sydney on a chart centred between them: every point on one straight line.
    const std::vector<LatLon> line = greatCircle({37.75, -122.45}, {-33.87, 151.21}, 40);
    const Gnomonic chart(line[20]);
    const std::vector<MapRun> runs = chart.projectLine(line);
    QCOMPARE(runs.size(), std::size_t(1));
    const MapXY a = runs[0].front(), b = runs[0].back();
    for (const MapXY& p : runs[0]) {
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        QVERIFY(std::abs(cross) < 1e-9);
    }
}

void tst_MapProjection::centres_data()
{
    QTest::addColumn<LatLon>("a");
    QTest::addColumn<LatLon>("b");
    QTest::addColumn<double>("middleLon");
    QTest::addColumn<double>("midLat");
    QTest::addColumn<double>("midLon");
    QTest::newRow("along the equator") << LatLon{0, 10} << LatLon{0, 50} << 30.0 << 0.0 << 30.0;
    QTest::newRow("over 180: Tokyo to San Francisco")
        << LatLon{0, 140} << LatLon{0, -120} << -170.0 << 0.0 << -170.0;
    QTest::newRow("along a meridian") << LatLon{-20, 30} << LatLon{40, 30} << 30.0 << 10.0 << 30.0;
    QTest::newRow("over the pole") << LatLon{60, 0} << LatLon{60, 180} << -90.0 << 90.0 << 0.0;
    QTest::newRow("antipodes") << LatLon{30, 0} << LatLon{-30, 180} << -90.0 << -60.0 << 0.0;
}

void tst_MapProjection::centres()
{
    QFETCH(LatLon, a);
    QFETCH(LatLon, b);
    QFETCH(double, middleLon);
    QFETCH(double, midLat);
    QFETCH(double, midLon);
    QVERIFY(std::abs(middleLongitude(a, b) - middleLon) < 1e-9);
    const LatLon mid = greatCircleMidpoint(a, b);
    QVERIFY2(std::abs(mid.latitude - midLat) < 1e-9 &&
                 (std::abs(mid.longitude - midLon) < 1e-9 || midLat == 90),
             qPrintable(QStringLiteral("%1 %2").arg(mid.latitude).arg(mid.longitude)));
}

QTEST_GUILESS_MAIN(tst_MapProjection)
#include "tst_mapprojection.moc"
