// The land check against facts known from the map, and its lengths against an independent count:
// points along the leg from GeographicLib, each tested by a point-in-polygon of its own.

#include "geo/landcheck.h"
#include "io/earth/landasset.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/Rhumb.hpp>

#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

using namespace gyrena;

Q_DECLARE_METATYPE(Sailing)

namespace {

using Places = QList<QPointF>; // x latitude, y longitude

constexpr double kEarthRadiusNm = 60.0 * 180.0 / std::numbers::pi;

Voyage voyageOf(const Places& places, Sailing sailing)
{
    Voyage voyage;
    for (const QPointF& p : places)
        voyage.places.push_back({"", {p.x(), p.y()}});
    voyage.legs.assign(voyage.places.size() - 1, VoyageLeg{sailing, 60.0, std::nullopt});
    return voyage;
}

// Even-odd over all rings, by the edges that cross the point's meridian north of it; each edge
// is a straight line in longitude and latitude (the data's own meaning; its edges are short).
// The edges are filed by the whole degrees of longitude they span.
class MeridianCount
{
public:
    explicit MeridianCount(const LandMap& map)
    {
        for (const LandPolygon& polygon : map.polygons)
            for (const std::vector<LatLon>& ring : polygon.rings)
                for (std::size_t i = 0; i < ring.size(); ++i) {
                    LatLon a = ring[i], b = ring[(i + 1) % ring.size()];
                    double dlon = std::remainder(b.longitude - a.longitude, 360.0);
                    b.longitude = a.longitude + dlon;
                    const double west = std::min(a.longitude, b.longitude);
                    const double east = std::max(a.longitude, b.longitude);
                    for (int d = int(std::floor(west)); d <= int(std::floor(east)); ++d)
                        m_bins[bin(d)].push_back({a, b});
                }
    }
    bool isLand(LatLon p) const
    {
        bool inside = false;
        for (const auto& [a, b] : m_bins[bin(int(std::floor(p.longitude)))]) {
            // The point's longitude moved to the edge's side of the 180th meridian.
            const double lon = a.longitude + std::remainder(p.longitude - a.longitude, 360.0);
            if ((a.longitude <= lon) == (b.longitude <= lon))
                continue;
            const double t = (lon - a.longitude) / (b.longitude - a.longitude);
            if (a.latitude + t * (b.latitude - a.latitude) > p.latitude)
                inside = !inside;
        }
        return inside;
    }

private:
    static std::size_t bin(int degree) { return std::size_t(((degree % 360) + 360) % 360); }
    std::array<std::vector<std::pair<LatLon, LatLon>>, 360> m_bins;
};

} // namespace

class tst_LandCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void knownLegs_data();
    void knownLegs();
    void fivePlaces();
    void traps_data();
    void traps();
    void lengths_data();
    void lengths();
    void rhumbChords_data();
    void rhumbChords();

private:
    std::optional<LandMap> m_map;
    std::optional<LandIndex> m_land;
    std::optional<LandIndex> m_noCanals;
};

void tst_LandCheck::initTestCase()
{
    auto read = readLandAsset(builtInLandBytes());
    QVERIFY2(std::holds_alternative<LandMap>(read),
             std::get_if<LandAssetError>(&read) ? std::get<LandAssetError>(read).what.c_str() : "");
    m_map = std::get<LandMap>(std::move(read));
    m_land.emplace(*m_map);
    LandMap noCanals = *m_map;
    noCanals.corridors.clear();
    m_noCanals.emplace(noCanals);
}

void tst_LandCheck::knownLegs_data()
{
    QTest::addColumn<Places>("places");
    QTest::addColumn<Sailing>("sailing");
    QTest::addColumn<QList<int>>("legsOverLand"); // numbered from 1
    QTest::addColumn<bool>("closedWithoutCanals");

    const auto gc = Sailing::GreatCircle;
    QTest::newRow("Tampa-Miami crosses Florida")
        << Places{{27.9506, -82.4572}, {25.7743, -80.1937}} << gc << QList<int>{1} << false;
    QTest::newRow("Dover-Calais crosses the Strait of Dover")
        << Places{{51.1279, 1.3134}, {50.9513, 1.8587}} << gc << QList<int>{} << false;
    QTest::newRow("Sydney-Singapore crosses Australia")
        << Places{{-33.8679, 151.2073}, {1.2897, 103.8501}} << gc << QList<int>{1} << false;
    QTest::newRow("London-New York crosses England, Wales and Ireland")
        << Places{{51.5, -0.1333}, {40.7167, -74.0}} << gc << QList<int>{1} << false;
    QTest::newRow("through the Strait of Gibraltar")
        << Places{{35.95, -6.3}, {35.97, -5.0}} << gc << QList<int>{} << false;
    QTest::newRow("through the Torres Strait")
        << Places{{-10.2, 141.0}, {-10.6, 143.2}} << gc << QList<int>{} << false;
    QTest::newRow("one straight leg through the Bosporus touches land")
        << Places{{40.90, 28.95}, {41.35, 29.15}} << gc << QList<int>{1} << false;
    QTest::newRow("Lisbon's estuary is its approach")
        << Places{{38.7167, -9.1333}, {38.3, -10.5}} << gc << QList<int>{} << false;
    QTest::newRow("Lisbon across the Tagus crosses the peninsula")
        << Places{{38.7167, -9.1333}, {38.0, -9.5}} << gc << QList<int>{1} << false;
    QTest::newRow("places close together on land still cross it")
        << Places{{28.0, -81.9}, {27.95, -81.75}, {27.9, -81.6}} << gc << QList<int>{1, 2} << false;
    // Port Said, El Qantara, Lake Timsah, the Bitter Lakes, Port Tewfik.
    QTest::newRow("Port Said-Suez through the canal")
        << Places{{31.2653, 32.3019}, {30.85, 32.315}, {30.56, 32.30},
                  {30.33, 32.40},     {30.15, 32.53},  {29.94, 32.56}}
        << gc << QList<int>{} << true;
    QTest::newRow("Port Said-Suez in one leg leaves the canal")
        << Places{{31.2653, 32.3019}, {29.9737, 32.5263}} << gc << QList<int>{1} << true;
    // Cristobal, Gatun Locks, Gatun Lake, Barro Colorado, Gamboa, Pedro Miguel, Miraflores,
    // Balboa, the Bay of Panama.
    QTest::newRow("Panama Canal through the locks")
        << Places{{9.3522, -79.9044}, {9.27, -79.92},   {9.18, -79.86},
                  {9.14, -79.80},     {9.115, -79.695}, {9.02, -79.61},
                  {9.00, -79.59},     {8.95, -79.57},   {8.88, -79.52}}
        << gc << QList<int>{} << true;
    // Brunsbuettel, Burg, the Gruenental bridge, Rendsburg, Schacht-Audorf, Kiel-Holtenau.
    QTest::newRow("Kiel Canal") << Places{{53.8962, 9.1046}, {53.9971, 9.2589}, {54.13, 9.37},
                                          {54.3066, 9.6631}, {54.3128, 9.7159}, {54.3794, 10.1453}}
                                << gc << QList<int>{} << true;
    QTest::newRow("Corinth Canal, Loutraki to Isthmia")
        << Places{{37.9783, 22.9778}, {37.9136, 23.0046}} << gc << QList<int>{} << true;
    // Half-way round on one parallel: the great circle runs over the South Pole and the rhumb
    // line along 60 degrees south, clear of Antarctica.
    QTest::newRow("over the South Pole as a great circle")
        << Places{{-60.0, -60.0}, {-60.0, 119.9}} << gc << QList<int>{1} << false;
    QTest::newRow("along 60S as a rhumb line")
        << Places{{-60.0, -60.0}, {-60.0, 119.9}} << Sailing::RhumbLine << QList<int>{} << false;
    QTest::newRow("along 40N over Spain as a rhumb line")
        << Places{{40.0, -12.0}, {40.0, 5.0}} << Sailing::RhumbLine << QList<int>{1} << false;
}

void tst_LandCheck::knownLegs()
{
    QFETCH(Places, places);
    QFETCH(Sailing, sailing);
    QFETCH(QList<int>, legsOverLand);
    QFETCH(bool, closedWithoutCanals);

    const VoyagePlan plan = planVoyage(voyageOf(places, sailing));
    QVERIFY(plan.hasPlan);
    QList<int> legs;
    for (const LandCrossing& crossing : landCrossings(plan, *m_land))
        if (!legs.contains(int(crossing.leg) + 1))
            legs.append(int(crossing.leg) + 1);
    QCOMPARE(legs, legsOverLand);
    // A canal's row is only a test of its corridor when the map alone closes the canal.
    if (closedWithoutCanals) {
        bool closed = false;
        for (qsizetype i = 1; i < places.size(); ++i) {
            const std::vector<LatLon> leg{{places[i - 1].x(), places[i - 1].y()},
                                          {places[i].x(), places[i].y()}};
            closed = closed || !m_noCanals->stretchesAlong(leg).empty();
        }
        QVERIFY(closed);
    }
}

// The voyage: Lisbon, Panama, Honolulu, Sydney, Singapore. Its first leg crosses
// Central America (and Puerto Rico), the second Panama's isthmus and Costa Rica, the third New
// Caledonia, the fourth Australia (its longest stretch, from Sydney itself) and Indonesia.
void tst_LandCheck::fivePlaces()
{
    const VoyagePlan plan = planVoyage(voyageOf(Places{{38.7167, -9.1333},
                                                       {8.9936, -79.5197},
                                                       {21.3069, -157.8583},
                                                       {-33.8679, 151.2073},
                                                       {1.2897, 103.8501}},
                                                Sailing::GreatCircle));
    const std::vector<LandCrossing> crossings = landCrossings(plan, *m_land);
    const std::vector<LegOverLand> legs = legsOverLand(crossings);
    QCOMPARE(legs.size(), std::size_t(4));
    const LegOverLand& australia = legs.back();
    QCOMPARE(australia.leg, std::size_t(3));
    QCOMPARE(crossings[australia.longest].fromNm, 0.0);
    QVERIFY(crossings[australia.longest].nm() > 1500.0);
    QVERIFY(australia.nm > crossings[australia.longest].nm() + 50.0);
    QCOMPARE(australia.stretches,
             std::size_t(std::count_if(crossings.begin(), crossings.end(),
                                       [](const LandCrossing& c) { return c.leg == 3; })));
    // Sydney's row starts over land; Singapore's, the last, has no stretch to a next row.
    const std::vector<bool> rows = rowsOverLand(crossings, plan.rows.size());
    QVERIFY(rows[plan.legs[3].firstRow]);
    QVERIFY(!rows.back());
    QVERIFY(!rows[plan.legs[0].firstRow]); // Lisbon's approach is no crossing
    const QString sentence = QString::fromStdString(
        legOverLandText(australia, crossings, "Sydney", "Singapore", ",", "."));
    QVERIFY2(QRegularExpression(QString("^Leg 4, Sydney – Singapore, crosses land: 1\\.9\\d\\d nm "
                                        "in %1 stretches, the longest from 33°52,1'S 151°12,4'E to "
                                        "16°2\\d,\\d'S 123°3\\d,\\d'E\\.$")
                                    .arg(australia.stretches))
                 .match(sentence)
                 .hasMatch(),
             qPrintable(sentence));
}

void tst_LandCheck::traps_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<bool>("land");

    QTest::newRow("Wrangel Island west of 180") << 71.2 << 179.5 << true;
    QTest::newRow("Wrangel Island east of 180") << 71.2 << -179.5 << true;
    QTest::newRow("the Bering Sea on 180") << 58.0 << 180.0 << false;
    QTest::newRow("the South Pole") << -90.0 << 0.0 << true;
    QTest::newRow("inland Antarctica on 180") << -86.0 << 180.0 << true;
    QTest::newRow("the Southern Ocean") << -60.0 << 0.0 << false;
    QTest::newRow("the North Pole") << 90.0 << 0.0 << false;
    QTest::newRow("Null Island is no island") << 0.0 << 0.0 << false;
    QTest::newRow("inland Eurasia") << 50.0 << 90.0 << true;
    QTest::newRow("the Caspian Sea, the one hole") << 42.0 << 51.0 << false;
    QTest::newRow("the Suez Canal at Lake Timsah") << 30.56 << 32.30 << false;
    QTest::newRow("the desert beside the canal") << 30.56 << 32.45 << true;
}

void tst_LandCheck::traps()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(bool, land);
    QCOMPARE(m_land->isLand({latitude, longitude}), land);
}

void tst_LandCheck::lengths_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");

    QTest::newRow("Sydney-Singapore") << QPointF(-33.8679, 151.2073) << QPointF(1.2897, 103.8501);
    QTest::newRow("London-New York") << QPointF(51.5, -0.1333) << QPointF(40.7167, -74.0);
    QTest::newRow("Lisbon-Panama") << QPointF(38.7167, -9.1333) << QPointF(8.9936, -79.5197);
    QTest::newRow("across Antarctica") << QPointF(-60.0, -60.0) << QPointF(-60.0, 119.9);
    QTest::newRow("across Chukotka and 180") << QPointF(62.0, 172.0) << QPointF(68.0, -172.0);
    QTest::newRow("along 45E, a border of S2's cube faces")
        << QPointF(5.0, 45.0) << QPointF(34.0, 45.0);
}

// The length over land of a great circle, against points every 0.25 nm along the same great
// circle (GeographicLib on a sphere of 60 nm to the degree), each tested on its own.
void tst_LandCheck::lengths()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);

    const std::vector<LatLon> leg{{from.x(), from.y()}, {to.x(), to.y()}};
    const std::vector<LandStretch> stretches = m_land->stretchesAlong(leg);
    double measured = 0.0;
    for (const LandStretch& s : stretches)
        measured += s.toNm - s.fromNm;

    static const MeridianCount count(*m_map);
    const GeographicLib::Geodesic sphere(kEarthRadiusNm, 0.0);
    const GeographicLib::GeodesicLine line = sphere.InverseLine(from.x(), from.y(), to.x(), to.y());
    const double step = 0.25;
    const int samples = int(line.Distance() / step);
    double sampled = 0.0;
    for (int i = 0; i < samples; ++i) {
        double lat = 0, lon = 0;
        line.Position((i + 0.5) * step, lat, lon);
        if (count.isLand({lat, lon}))
            sampled += step;
    }
    QVERIFY(measured > 0.0);
    // Each end of a stretch may fall anywhere within a sample.
    const double tolerance = step * double(2 * stretches.size() + 2);
    QVERIFY2(std::fabs(measured - sampled) <= tolerance,
             qPrintable(QString("S2 %1 nm, sampled %2 nm over %3 stretches")
                            .arg(measured)
                            .arg(sampled)
                            .arg(stretches.size())));
}

void tst_LandCheck::rhumbChords_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");

    QTest::newRow("along the equator") << QPointF(0.0, -30.0) << QPointF(0.0, 60.0);
    QTest::newRow("along 60N") << QPointF(60.0, -40.0) << QPointF(60.0, 10.0);
    QTest::newRow("along 80S") << QPointF(-80.0, -170.0) << QPointF(-80.0, 100.0);
    QTest::newRow("north-east to 75N") << QPointF(40.0, -60.0) << QPointF(75.0, 20.0);
    QTest::newRow("across 180 at 88N") << QPointF(88.0, 170.0) << QPointF(88.0, -100.0);
}

// Every chord stands at most kRhumbChordErrorNm from the rhumb line: its middle against the
// rhumb line's point half-way along the same stretch (GeographicLib's rhumb line on the sphere),
// the chords' number no more than ten times what the bound needs at the worst latitude.
void tst_LandCheck::rhumbChords()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);

    const std::vector<LatLon> points = rhumbLineChords({from.x(), from.y()}, {to.x(), to.y()});
    const GeographicLib::Rhumb rhumb(kEarthRadiusNm, 0.0);
    const GeographicLib::Geodesic sphere(kEarthRadiusNm, 0.0);
    double worst = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const LatLon a = points[i - 1], b = points[i];
        double along = 0, course = 0, lat = 0, lon = 0, s12 = 0, azi = 0, az2 = 0;
        rhumb.Inverse(a.latitude, a.longitude, b.latitude, b.longitude, along, course);
        rhumb.Direct(a.latitude, a.longitude, course, along / 2, lat, lon);
        double midLat = 0, midLon = 0;
        sphere.Inverse(a.latitude, a.longitude, b.latitude, b.longitude, s12, azi, az2);
        sphere.Direct(a.latitude, a.longitude, azi, s12 / 2, midLat, midLon);
        double apart = 0;
        sphere.Inverse(lat, lon, midLat, midLon, apart);
        worst = std::max(worst, apart);
    }
    QVERIFY2(worst <= kRhumbChordErrorNm, qPrintable(QString("worst %1 nm").arg(worst)));
    double total = 0, course = 0;
    rhumb.Inverse(from.x(), from.y(), to.x(), to.y(), total, course);
    const double tangent =
        std::tan(std::max(std::fabs(from.x()), std::fabs(to.x())) * std::numbers::pi / 180.0);
    const double needed = total / std::sqrt(8.0 * kEarthRadiusNm / std::max(tangent, 1e-3));
    QVERIFY2(double(points.size()) <= 10.0 * needed + 10.0,
             qPrintable(QString("%1 points").arg(points.size())));
}

QTEST_GUILESS_MAIN(tst_LandCheck)
#include "tst_landcheck.moc"
