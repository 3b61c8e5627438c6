// Routes by sea: the asset's reader, the router on a made-up world whose answers are known, and
// the built-in graph against published port-to-port distances.

#include "geo/landcheck.h"
#include "geo/seageometry.h"
#include "geo/searoute.h"
#include "io/earth/landasset.h"
#include "io/earth/searoutes.h"
#include "io/earth/searoutesasset.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <optional>

using namespace gyrena;

Q_DECLARE_METATYPE(gyrena::LatLon)

namespace {

// A world of round continents (caps), every answer computed from their centres and radii.
struct Cap
{
    LatLon centre;
    double radiusNm;
};

class CapLand : public SeaLand
{
public:
    explicit CapLand(std::vector<Cap> caps) : m_caps(std::move(caps)) {}
    double clearanceNm(LatLon from, LatLon to, double capNm) const override
    {
        double least = capNm;
        for (const Cap& cap : m_caps) {
            const sea::Vec c = sea::toVec(cap.centre);
            const sea::Vec near = sea::nearestOnArc(c, sea::toVec(from), sea::toVec(to));
            least = std::min(least, std::max(0.0, sea::arcNm(c, near) - cap.radiusNm));
        }
        return least;
    }
    bool legClears(LatLon from, LatLon to, double clearanceNm, bool fromIsPlace,
                   bool toIsPlace) const override
    {
        sea::Vec a = sea::toVec(from), b = sea::toVec(to);
        const double length = sea::arcNm(a, b);
        const double skipA = fromIsPlace ? kApproachNm : 0, skipB = toIsPlace ? kApproachNm : 0;
        if (skipA + skipB >= length)
            return true;
        const sea::Vec a2 = sea::along(a, b, skipA / length);
        b = sea::along(a, b, 1 - skipB / length);
        const double clear = this->clearanceNm(sea::toLatLon(a2), sea::toLatLon(b), 100);
        return clearanceNm > 0 ? clear >= clearanceNm : clear > 0;
    }

private:
    std::vector<Cap> m_caps;
};

// Two continents north and south of a strait 5 nm wide where they come nearest (on the
// equator at longitude 0), narrower than the grid, with a corridor through it. Round them, a
// route must pass 40 degrees north or south: an ocean-wide continent closes the other way round
// the world.
const CapLand& capWorld()
{
    static const CapLand land({{{20, 0}, 19.96 * 60}, {{-20, 0}, 19.96 * 60}, {{0, 180}, 60 * 60}});
    return land;
}

const SeaGraph& capGraph()
{
    static const SeaGraph graph = [] {
        SeaPassage strait{"test", "Test Strait", PassageKind::Strait, {1, 0}, {-1, 0}, {}};
        strait.corridor = {{0, -5}, {0, 0}, {0, 5}};
        std::string problems;
        SeaGridData data = buildSeaGrid(capWorld(), {strait}, 1, problems);
        if (!problems.empty())
            qWarning("%s", problems.c_str());
        return SeaGraph(std::move(data));
    }();
    return graph;
}

std::string bytesWithChange(std::size_t at, std::string_view with)
{
    SeaGridData data;
    data.cellsPerDegree = 1;
    data.cells.resize(180 * 360);
    data.passages = {{"k", "K", PassageKind::Cape, {1, 2}, {3, 4}, {{5, 6}, {7, 8}}}};
    data.links = {{0, 64800, 9}};
    std::string bytes = writeSeaRoutes(data);
    if (at != std::string::npos)
        bytes.replace(at, with.size(), with);
    return bytes;
}

// The land a voyage of one leg by sea from `from` to `to` crosses, as the land check finds it
// (the route itself must be found).
std::vector<LandCrossing> landCrossingsBySea(LatLon from, LatLon to, SeaRouteOptions options)
{
    Voyage voyage = twoPlaceVoyage({"a", from}, {"b", to});
    voyage.legs.front().sailing = Sailing::BySea;
    voyage.sea = std::move(options);
    const VoyagePlan plan = planVoyage(voyage, &builtInSeaRouter());
    if (!plan.hasPlan)
        return {LandCrossing{}};
    return landCrossings(plan, std::get<LandIndex>(builtInLand()));
}

} // namespace

class tst_SeaRoute : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatItWrites();
    void refusesDamagedAssets_data();
    void refusesDamagedAssets();
    void routesOnMadeUpWorld_data();
    void routesOnMadeUpWorld();
    void publishedDistances_data();
    void publishedDistances();
    void townsLeaveTheirHarbours_data();
    void townsLeaveTheirHarbours();
};

void tst_SeaRoute::readsWhatItWrites()
{
    const auto read = readSeaRoutes(bytesWithChange(std::string::npos, {}));
    QVERIFY(std::holds_alternative<SeaGridData>(read));
    QCOMPARE(writeSeaRoutes(std::get<SeaGridData>(read)), bytesWithChange(std::string::npos, {}));
}

void tst_SeaRoute::refusesDamagedAssets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const std::string whole = bytesWithChange(std::string::npos, {});
    const auto row = [](const char* name, const std::string& bytes) {
        QTest::newRow(name) << QByteArray(bytes.data(), qsizetype(bytes.size()));
    };
    row("empty", "");
    row("magic", bytesWithChange(0, "GYLD"));
    row("version", bytesWithChange(4, std::string("\x02\x00", 2)));
    row("no cells per degree", bytesWithChange(6, std::string("\x00\x00", 2)));
    row("13 cells per degree", bytesWithChange(6, std::string("\x0d\x00", 2)));
    row("passages beyond the limit", bytesWithChange(8, std::string("\xff\x00\x00\x00", 4)));
    row("unknown kind", bytesWithChange(12, "\x07"));
    row("key in capitals", bytesWithChange(14, "K"));
    row("latitude beyond 90", bytesWithChange(17, std::string("\x00\x00\x00\x7f", 4)));
    row("corridor of one point", bytesWithChange(33, std::string("\x01\x00", 2)));
    row("link to nowhere", bytesWithChange(59, std::string("\xff\xff\x00\x00", 4)));
    row("truncated links", whole.substr(0, 60));
    row("truncated grid", whole.substr(0, whole.size() - 1));
    row("a byte more", whole + "x");
}

void tst_SeaRoute::refusesDamagedAssets()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(std::holds_alternative<SeaRouteError>(
        readSeaRoutes(std::string_view(bytes.constData(), std::size_t(bytes.size())))));
}

void tst_SeaRoute::routesOnMadeUpWorld_data()
{
    QTest::addColumn<double>("fromLat");
    QTest::addColumn<double>("fromLon");
    QTest::addColumn<double>("toLon");
    QTest::addColumn<QStringList>("avoid");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("passages"); // the passages taken, or "-" for none
    QTest::addColumn<double>("maxNm");     // the route's length at most; 0: no route
    // West of the strait to east of it: through it, a little over the great circle's 80 degrees.
    QTest::newRow("through the strait")
        << 0.0 << -40.0 << 40.0 << QStringList() << 72.0 << "Test Strait" << 4800.0 * 1.02;
    // Avoiding it, round a continent, past 40 degrees north: about 110 degrees of arc.
    QTest::newRow("round a continent")
        << 0.0 << -40.0 << 40.0 << QStringList{"TEST"} << 72.0 << "-" << 4800.0 * 1.45;
    QTest::newRow("no way round within 30 degrees")
        << 0.0 << -40.0 << 40.0 << QStringList{"test"} << 30.0 << "-" << 0.0;
    QTest::newRow("an unknown passage")
        << 0.0 << -40.0 << 40.0 << QStringList{"suez"} << 72.0 << "-" << 0.0;
    QTest::newRow("from deep inland") << 20.0 << 0.0 << 40.0 << QStringList() << 72.0 << "-" << 0.0;
    QTest::newRow("open sea, one leg")
        << 0.0 << 50.0 << 70.0 << QStringList() << 72.0 << "-" << 1200.0 + 1e-6;
}

void tst_SeaRoute::routesOnMadeUpWorld()
{
    QFETCH(double, fromLat);
    QFETCH(double, fromLon);
    QFETCH(double, toLon);
    QFETCH(QStringList, avoid);
    QFETCH(double, limit);
    QFETCH(QString, passages);
    QFETCH(double, maxNm);
    SeaRouteOptions options;
    options.limitLatitude = limit;
    for (const QString& key : avoid)
        options.avoid.push_back(key.toStdString());
    const SeaRoute route =
        findSeaRoute(capGraph(), capWorld(), {fromLat, fromLon}, {0, toLon}, options);
    QVERIFY2(route.found == (maxNm > 0), route.problem.c_str());
    if (!route.found) {
        QVERIFY(!route.problem.empty());
        return;
    }
    QStringList taken;
    for (const std::string& name : route.passages)
        taken << QString::fromStdString(name);
    QCOMPARE(taken.isEmpty() ? QString("-") : taken.join(", "), passages);
    QVERIFY2(route.distanceNm <= maxNm, std::to_string(route.distanceNm).c_str());
    // Every leg stays in water and within the limit; outside the corridor it keeps its
    // clearance, and the legs add up to the distance given.
    double sum = 0;
    for (std::size_t k = 0; k + 1 < route.points.size(); ++k) {
        const SeaRoutePoint& a = route.points[k];
        const SeaRoutePoint& b = route.points[k + 1];
        const bool inChannel = !a.passage.empty() && !b.passage.empty();
        QVERIFY(capWorld().legClears(a.position, b.position, inChannel ? 0 : 2.9, k == 0,
                                     k + 2 == route.points.size()));
        QVERIFY(std::abs(a.position.latitude) <= limit);
        sum += seaDistanceNm(a.position, b.position);
    }
    QCOMPARE(sum, route.distanceNm);
}

void tst_SeaRoute::publishedDistances_data()
{
    // tests/data/sea-distances.tsv: each pair's positions and published distance with its
    // source.
    QTest::addColumn<LatLon>("from");
    QTest::addColumn<LatLon>("to");
    QTest::addColumn<QString>("avoid");
    QTest::addColumn<double>("publishedNm");
    QFile file(QStringLiteral(GYRENA_TEST_DATA "/sea-distances.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList f = line.split('\t');
        QCOMPARE(f.size(), 9);
        QTest::newRow(qPrintable(f[0] + " - " + f[3] + (f[6] == "-" ? "" : " avoiding " + f[6])))
            << LatLon{f[1].toDouble(), f[2].toDouble()} << LatLon{f[4].toDouble(), f[5].toDouble()}
            << (f[6] == "-" ? QString() : f[6]) << f[7].toDouble();
    }
}

void tst_SeaRoute::publishedDistances()
{
    QFETCH(LatLon, from);
    QFETCH(LatLon, to);
    QFETCH(QString, avoid);
    QFETCH(double, publishedNm);
    SeaRouteOptions options;
    for (const QString& key : avoid.split(',', Qt::SkipEmptyParts))
        options.avoid.push_back(key.toStdString());
    const SeaRoute route = builtInSeaRoute(from, to, options);
    QVERIFY2(route.found, route.problem.c_str());
    QVERIFY2(std::abs(route.distanceNm / publishedNm - 1) <= 0.04,
             (std::to_string(route.distanceNm) + " nm").c_str());
    // And the voyage sailed by sea, as --check-land checks it, crosses no land.
    QCOMPARE(landCrossingsBySea(from, to, options).size(), std::size_t(0));
}

void tst_SeaRoute::townsLeaveTheirHarbours_data()
{
    // Town centres (the gazetteer's) whose water the grid does not reach in one leg: behind
    // narrows, in a bay the grid reaches through no edge, at the head of a fjord or sound.
    QTest::addColumn<LatLon>("from");
    QTest::addColumn<LatLon>("to");
    QTest::newRow("Tokyo - Vancouver") << LatLon{35.6895, 139.6917} << LatLon{49.2497, -123.1193};
    QTest::newRow("New York - Colon") << LatLon{40.7143, -74.0060} << LatLon{9.36, -79.91};
    QTest::newRow("Seattle - Oslo") << LatLon{47.6062, -122.3321} << LatLon{59.9127, 10.7461};
    QTest::newRow("Melbourne - Auckland")
        << LatLon{-37.8140, 144.9633} << LatLon{-36.8485, 174.7635};
    QTest::newRow("Stockholm - Oslo") << LatLon{59.3294, 18.0687} << LatLon{59.9127, 10.7461};
    // Up the coast of Norway from a town whose way out keeps no 3 nm: found nearer the coast.
    QTest::newRow("Bergen - Tromso") << LatLon{60.4, 5.31} << LatLon{69.65, 18.95};
}

void tst_SeaRoute::townsLeaveTheirHarbours()
{
    QFETCH(LatLon, from);
    QFETCH(LatLon, to);
    QCOMPARE(landCrossingsBySea(from, to, {}).size(), std::size_t(0));
    // No turning point lies on the way between its neighbours: the route is as tight as the
    // land lets it be, however near the coast it had to be found. (A place's neighbour may: the
    // leg from the place is held to its approach.)
    const SeaRoute route = builtInSeaRoute(from, to, {});
    for (std::size_t k = 2; k + 2 < route.points.size(); ++k) {
        const sea::Vec a = sea::toVec(route.points[k - 1].position),
                       x = sea::toVec(route.points[k].position),
                       b = sea::toVec(route.points[k + 1].position);
        QVERIFY2(route.points[k].passage.size() > 0 ||
                     sea::arcNm(x, sea::nearestOnArc(x, a, b)) > 0.01,
                 qPrintable(QString("turning point %1 lies on the way").arg(k)));
    }
}

QTEST_GUILESS_MAIN(tst_SeaRoute)
#include "tst_searoute.moc"
