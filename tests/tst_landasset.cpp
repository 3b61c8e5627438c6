// The land asset's reader: whole or nothing, bounded, and the asset compiled into the program.

#include "io/earth/landasset.h"

#include <QtTest>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

using namespace gyrena;

namespace {

void put(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xff);
}

void putVarint(std::string& out, std::int64_t value)
{
    auto raw = std::uint64_t((value << 1) ^ (value >> 63));
    do {
        out += char((raw & 0x7f) | (raw > 0x7f ? 0x80 : 0));
        raw >>= 7;
    } while (raw);
}

// An asset in units of a tenth of a degree from 0N 0E: an island square with a lake in it, and
// a corridor, the given header fields changed by the caller afterwards.
std::string islandWithLake()
{
    std::string out = "GYLD";
    put(out, 1, 2); // version
    put(out, 1, 2); // corridors
    put(out, 2, 4); // rings
    put(out, 8, 4); // points
    for (const double v : {0.1, 0.1, 0.0, 0.0})
        put(out, std::bit_cast<std::uint64_t>(v), 8);
    put(out, 4 * 2, 4);     // the island
    put(out, 4 * 2 + 1, 4); // its lake, a hole
    put(out, 5, 1);
    out += "Canal";
    put(out, 2, 2);
    out += "me";
    put(out, 3, 4);
    const int rings[][2] = {{0, 0},    {100, 0},  {100, 100}, {0, 100}, // island, 10 degrees
                            {40, 40},  {40, 60},  {60, 60},   {60, 40}, // lake
                            {-10, 50}, {110, 50}, {110, 60}};           // corridor
    std::size_t i = 0;
    for (const int count : {4, 4, 3}) {
        int x = 0, y = 0;
        for (int k = 0; k < count; ++k, ++i) {
            putVarint(out, rings[i][0] - x);
            putVarint(out, rings[i][1] - y);
            x = rings[i][0];
            y = rings[i][1];
        }
    }
    return out;
}

} // namespace

class tst_LandAsset : public QObject
{
    Q_OBJECT

private slots:
    void smallAsset();
    void refused_data();
    void refused();
    void builtIn();
    void prebuiltIndexFitsItsMapOnly_data();
    void prebuiltIndexFitsItsMapOnly();
};

void tst_LandAsset::smallAsset()
{
    const auto read = readLandAsset(islandWithLake());
    QVERIFY(std::holds_alternative<LandMap>(read));
    const LandMap& map = std::get<LandMap>(read);
    QCOMPARE(map.polygons.size(), std::size_t(1));
    QCOMPARE(map.polygons[0].rings.size(), std::size_t(2));
    QCOMPARE(map.polygons[0].rings[1][2], (LatLon{6.0, 6.0}));
    QCOMPARE(map.corridors.size(), std::size_t(1));
    QCOMPARE(map.corridors[0].name, std::string("Canal"));
    QCOMPARE(map.corridors[0].ring[0], (LatLon{5.0, -1.0}));

    const LandIndex land(map);
    QVERIFY(land.isLand({2.0, 2.0}));
    QVERIFY(!land.isLand({5.0 - 0.1, 5.0})); // the lake
    QVERIFY(!land.isLand({5.4, 9.0}));       // the corridor
    QVERIFY(!land.isLand({-2.0, 2.0}));
}

void tst_LandAsset::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");

    const std::string good = islandWithLake();
    const auto changed = [&good](std::size_t at, std::uint64_t value, int bytes) {
        std::string out = good;
        std::string field;
        put(field, value, bytes);
        out.replace(at, std::size_t(bytes), field);
        return QByteArray::fromStdString(out);
    };
    QTest::newRow("empty") << QByteArray() << "header";
    QTest::newRow("wrong magic") << changed(0, 0x4e4c5947, 4) << "not a land asset";
    QTest::newRow("version 2") << changed(4, 2, 2) << "version 2";
    QTest::newRow("too many corridors") << changed(6, 65, 2) << "corridor count";
    QTest::newRow("no rings") << changed(8, 0, 4) << "ring count";
    QTest::newRow("points beyond the bytes") << changed(12, 1u << 20, 4) << "point count";
    QTest::newRow("a scale of zero") << changed(16, 0, 8) << "units";
    QTest::newRow("a ring of 2 points") << changed(48, 2 * 2, 4) << "ring 1 has 2 points";
    QTest::newRow("a hole first") << changed(48, 4 * 2 + 1, 4) << "no outer ring";
    QTest::newRow("counts disagree") << changed(12, 9, 4) << "the rings hold 8 points";
    QTest::newRow("a corridor of 2 points") << changed(66, 2, 4) << "corridor 1 has 2 points";
    QTest::newRow("cut in the points")
        << QByteArray::fromStdString(good.substr(0, good.size() - 3)) << "runs past the end";
    QTest::newRow("a byte after the end") << QByteArray::fromStdString(good + '\0') << "follow";
    // The island's first longitude moved to 2000 tenths of a degree east of 0.
    std::string far = good;
    far.replace(70, 1, "\xa0\x1f");
    QTest::newRow("a point beyond 180") << QByteArray::fromStdString(far) << "beyond 90 / 180";
}

void tst_LandAsset::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    const auto read = readLandAsset(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QVERIFY(std::holds_alternative<LandAssetError>(read));
    const QString what = QString::fromStdString(std::get<LandAssetError>(read).what);
    QVERIFY2(what.contains(why), qPrintable(what));
}

// Read only on first use, and then whole: Natural Earth's 1:10m land with the four canals.
void tst_LandAsset::builtIn()
{
    QVERIFY(!builtInLandRead());
    const auto& land = builtInLand();
    QVERIFY(builtInLandRead());
    QVERIFY(std::holds_alternative<LandIndex>(land));
    const LandIndex& index = std::get<LandIndex>(land);
    QVERIFY(index.polygonCount() > 4000);
    QCOMPARE(index.corridorCount(), std::size_t(4));
    QCOMPARE(index.corridor(0).name, std::string("Suez Canal"));
}

void tst_LandAsset::prebuiltIndexFitsItsMapOnly_data()
{
    QTest::addColumn<bool>("moveAustralia");
    QTest::addColumn<bool>("aliceSpringsLand");

    QTest::newRow("the built-in map") << false << true;
    QTest::newRow("Australia moved half round the world") << true << false;
}

// The land index of the built-in map is built with the program, and fits that map only: a map
// of as many polygons and points, one of them moved, is indexed as it is.
void tst_LandAsset::prebuiltIndexFitsItsMapOnly()
{
    QFETCH(bool, moveAustralia);
    QFETCH(bool, aliceSpringsLand);

    auto read = readLandAsset(builtInLandBytes());
    QVERIFY(std::holds_alternative<LandMap>(read));
    LandMap map = std::get<LandMap>(std::move(read));
    if (moveAustralia) {
        // The polygon with the most points between 10S and 40S, 112E and 154E.
        const auto inAustralia = [](const LandPolygon& polygon) {
            return std::count_if(polygon.rings[0].begin(), polygon.rings[0].end(), [](LatLon p) {
                return p.latitude < -10 && p.latitude > -40 && p.longitude > 112 &&
                       p.longitude < 154;
            });
        };
        auto australia = std::max_element(
            map.polygons.begin(), map.polygons.end(),
            [&](const auto& x, const auto& y) { return inAustralia(x) < inAustralia(y); });
        for (auto& ring : australia->rings)
            for (LatLon& p : ring)
                p.longitude -= 180.0;
    }
    const LandIndex land(map);
    QCOMPARE(land.isLand({-23.698, 133.881}), aliceSpringsLand);
}

QTEST_GUILESS_MAIN(tst_LandAsset)
#include "tst_landasset.moc"
