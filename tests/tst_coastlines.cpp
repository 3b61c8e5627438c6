#include "io/earth/coastlines.h"

#include <QtTest>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

using namespace gyrena;

namespace {

void putU16(std::string& out, std::size_t at, std::uint16_t v)
{
    out[at] = char(v & 0xff);
    out[at + 1] = char(v >> 8);
}

void putU32(std::string& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + std::size_t(i)] = char((v >> (8 * i)) & 0xff);
}

// A valid asset of two triangles in 1/180 degree: header, ring counts 3 and 3, six points.
std::string twoTriangles()
{
    std::string out(16 + 2 * 4 + 6 * 4, '\0');
    out.replace(0, 4, "GYLN");
    putU16(out, 4, 1);
    putU16(out, 6, 180);
    putU32(out, 8, 2);
    putU32(out, 12, 6);
    putU32(out, 16, 3);
    putU32(out, 20, 3);
    const int points[6][2] = {{0, 0},           {1800, 0},       {0, 1800},
                              {-32400, -16200}, {32400, -16200}, {0, 16200}};
    for (std::size_t i = 0; i < 6; ++i) {
        putU16(out, 24 + 4 * i, std::uint16_t(std::int16_t(points[i][0])));
        putU16(out, 26 + 4 * i, std::uint16_t(std::int16_t(points[i][1])));
    }
    return out;
}

using Ring = QList<QPoint>;

// An asset of the given rings, their points in whole degrees (x longitude, y latitude).
Coastlines fromRings(const QList<Ring>& rings)
{
    std::size_t points = 0;
    for (const Ring& ring : rings)
        points += std::size_t(ring.size());
    std::string out(16 + 4 * std::size_t(rings.size()) + 4 * points, '\0');
    out.replace(0, 4, "GYLN");
    putU16(out, 4, 1);
    putU16(out, 6, 180);
    putU32(out, 8, std::uint32_t(rings.size()));
    putU32(out, 12, std::uint32_t(points));
    std::size_t at = 16 + 4 * std::size_t(rings.size());
    for (qsizetype r = 0; r < rings.size(); ++r) {
        putU32(out, 16 + 4 * std::size_t(r), std::uint32_t(rings[r].size()));
        for (const QPoint& p : rings[r]) {
            putU16(out, at, std::uint16_t(std::int16_t(p.x() * 180)));
            putU16(out, at + 2, std::uint16_t(std::int16_t(p.y() * 180)));
            at += 4;
        }
    }
    return std::get<Coastlines>(readCoastlines(out));
}

Ring square(int x0, int y0, int x1, int y1)
{
    return {QPoint(x0, y0), QPoint(x1, y0), QPoint(x1, y1), QPoint(x0, y1)};
}

} // namespace

class tst_Coastlines : public QObject
{
    Q_OBJECT

private slots:
    void readsValid();
    void damaged_data();
    void damaged();
    void shippedAsset_data();
    void shippedAsset();
    void fillGroups_data();
    void fillGroups();
};

void tst_Coastlines::readsValid()
{
    const auto parsed = readCoastlines(twoTriangles());
    QVERIFY(std::holds_alternative<Coastlines>(parsed));
    const Coastlines& land = std::get<Coastlines>(parsed);
    QCOMPARE(land.ringCount(), std::size_t(2));
    QCOMPARE(land.ring(0)[1].longitude, 10.0);
    QCOMPARE(land.ring(1)[0].longitude, -180.0);
    QCOMPARE(land.ring(1)[2].latitude, 90.0);
}

void tst_Coastlines::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<qulonglong>("offset");

    const std::string good = twoTriangles();
    const auto with = [&](auto change) {
        std::string b = good;
        change(b);
        return QByteArray(b.data(), qsizetype(b.size()));
    };
    QTest::newRow("empty") << QByteArray() << "inside its 16-byte header" << 0ull;
    QTest::newRow("header cut") << QByteArray(good.data(), 10) << "inside its 16-byte header"
                                << 10ull;
    QTest::newRow("magic") << with([](std::string& b) { b[0] = 'X'; }) << "not a coastline asset"
                           << 0ull;
    QTest::newRow("version") << with([](std::string& b) { putU16(b, 4, 2); })
                             << "version 2 is not known" << 4ull;
    QTest::newRow("units zero") << with([](std::string& b) { putU16(b, 6, 0); })
                                << "units per degree 0" << 6ull;
    QTest::newRow("no rings") << with([](std::string& b) { putU32(b, 8, 0); }) << "ring count 0"
                              << 8ull;
    QTest::newRow("rings huge") << with([](std::string& b) { putU32(b, 8, 0xffffffffu); })
                                << "ring count 4294967295" << 8ull;
    QTest::newRow("points huge") << with([](std::string& b) { putU32(b, 12, 0xffffffffu); })
                                 << "point count 4294967295" << 12ull;
    QTest::newRow("points cut") << with([](std::string& b) { b.resize(b.size() - 3); })
                                << "its counts say 48" << 45ull;
    QTest::newRow("trailing bytes")
        << with([](std::string& b) { b += "xxxx"; }) << "the asset has 52 bytes" << 48ull;
    QTest::newRow("ring of two") << with([](std::string& b) { putU32(b, 20, 2); })
                                 << "ring 1 has 2 points" << 20ull;
    QTest::newRow("ring past end") << with([](std::string& b) { putU32(b, 20, 4); })
                                   << "ring 1 runs past the 6 points" << 20ull;
    QTest::newRow("rings short of points") << with([](std::string& b) {
        putU32(b, 12, 7);
        b += "\0\0\0\0";
        b.resize(16 + 8 + 7 * 4);
    }) << "the rings hold 6 points" << 12ull;
    QTest::newRow("longitude beyond 180") << with([](std::string& b) { putU16(b, 24 + 4, 32401); })
                                          << "point 1 lies outside" << 28ull;
    QTest::newRow("latitude beyond -90")
        << with([](std::string& b) { putU16(b, 26 + 8, std::uint16_t(std::int16_t(-16201))); })
        << "point 2 lies outside" << 32ull;
}

void tst_Coastlines::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, phrase);
    QFETCH(qulonglong, offset);
    const auto parsed =
        readCoastlines(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QVERIFY(std::holds_alternative<CoastlineError>(parsed));
    const CoastlineError& error = std::get<CoastlineError>(parsed);
    QVERIFY2(QString::fromStdString(error.what).contains(phrase), error.what.c_str());
    QCOMPARE(qulonglong(error.offset), offset);
}

void tst_Coastlines::shippedAsset_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<bool>("land");
    QTest::newRow("Alice Springs") << -23.70 << 133.88 << true;
    QTest::newRow("London") << 51.51 << -0.13 << true;
    QTest::newRow("Manaus") << -3.12 << -60.02 << true;
    QTest::newRow("South Pole") << -89.5 << 0.0 << true;
    QTest::newRow("mid Pacific") << 0.0 << -150.0 << false;
    QTest::newRow("North Sea") << 56.0 << 3.0 << false;
    QTest::newRow("Caspian Sea, a hole in Asia") << 42.0 << 51.0 << false;
    QTest::newRow("Chukotka, east of 180") << 66.0 << -175.0 << true;
    QTest::newRow("Taveuni, Fiji, west of 180") << -16.85 << -179.93 << true;
}

void tst_Coastlines::shippedAsset()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(bool, land);
    static const auto parsed = [] {
        std::ifstream file(GYRENA_SOURCE_DIR "/assets/coastlines/land-50m.bin", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        return readCoastlines(bytes);
    }();
    QVERIFY(std::holds_alternative<Coastlines>(parsed));
    const Coastlines& coast = std::get<Coastlines>(parsed);
    if (QTest::currentDataTag() == QByteArray("Alice Springs")) {
        QVERIFY(coast.ringCount() > 1000 && coast.ringCount() < 2000);
        QVERIFY(coast.pointCount() > 50000 && coast.pointCount() < 70000);
        double minLat = 90, maxLat = -90;
        for (std::size_t r = 0; r < coast.ringCount(); ++r)
            for (const LatLon& p : coast.ring(r)) {
                minLat = std::min(minLat, p.latitude);
                maxLat = std::max(maxLat, p.latitude);
            }
        QVERIFY(minLat < -85 && maxLat > 83 && maxLat < 84); // Antarctica; Greenland's north cape
    }
    QCOMPARE(coast.isLand({lat, lon}), land);

    // Filled group by group, the land is the same.
    bool inAGroup = false;
    for (const std::vector<std::size_t>& group : coast.fillGroups()) {
        bool inside = false;
        for (const std::size_t r : group) {
            const std::span<const LatLon> ring = coast.ring(r);
            const LatLon* previous = &ring.back();
            for (const LatLon& p : ring) {
                if ((p.latitude > lat) != (previous->latitude > lat) &&
                    lon < previous->longitude + (lat - previous->latitude) *
                                                    (p.longitude - previous->longitude) /
                                                    (p.latitude - previous->latitude))
                    inside = !inside;
                previous = &p;
            }
        }
        inAGroup = inAGroup || inside;
    }
    QCOMPARE(inAGroup, land);
}

void tst_Coastlines::fillGroups_data()
{
    QTest::addColumn<QList<Ring>>("rings");
    QTest::addColumn<QList<QList<int>>>("groups");
    // An L-shaped coast round (0,0)..(40,40): its box holds the island at (30..35, 30..35).
    const Ring ell{QPoint(0, 0),   QPoint(40, 0),  QPoint(40, 10),
                   QPoint(10, 10), QPoint(10, 40), QPoint(0, 40)};
    QTest::newRow("two islands") << QList<Ring>{square(0, 0, 5, 5), square(10, 0, 15, 5)}
                                 << QList<QList<int>>{{0}, {1}};
    QTest::newRow("lake listed before its coast")
        << QList<Ring>{square(2, 2, 4, 4), square(0, 0, 10, 10)} << QList<QList<int>>{{0, 1}};
    QTest::newRow("island in a lake, island in the coast's box but outside it")
        << QList<Ring>{ell, square(1, 1, 9, 9), square(3, 3, 5, 5), square(30, 30, 35, 35)}
        << QList<QList<int>>{{0, 1, 2}, {3}};
    QTest::newRow("lake touching its coast at its first point")
        << QList<Ring>{square(0, 0, 10, 10), Ring{QPoint(10, 5), QPoint(5, 2), QPoint(5, 8)}}
        << QList<QList<int>>{{0, 1}};
}

void tst_Coastlines::fillGroups()
{
    QFETCH(QList<Ring>, rings);
    QFETCH(QList<QList<int>>, groups);
    QList<QList<int>> got;
    for (const std::vector<std::size_t>& group : fromRings(rings).fillGroups())
        got.append(QList<int>(group.begin(), group.end()));
    QCOMPARE(got, groups);
}

QTEST_GUILESS_MAIN(tst_Coastlines)
#include "tst_coastlines.moc"
