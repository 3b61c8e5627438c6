// The RTZ and KML writers: the facts a ship's system or a globe relies on, every position read
// back as a number (by pugixml, and by gpsbabel and the KML 2.2 schema for KML); CTest runs the
// suite under a German locale too (tst_planexport_de), where no number may take a comma.

#include "externaltools.h"
#include "io/files/xmltext.h"
#include "io/formats/kmlwriter.h"
#include "io/formats/rtzwriter.h"
#include "io/plan/passageplan.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <cstring>

using namespace gyrena;

namespace {

constexpr std::int64_t kDeparture = 1796083200 / 60; // 2026-12-01T00:00Z, in UTC minutes

PassagePlan planOf(LatLon start, LatLon end, const char* startName, const char* endName, bool timed)
{
    Voyage voyage = twoPlaceVoyage({startName, start}, {endName, end});
    if (timed)
        voyage.departure = kDeparture;
    return passagePlanFromVoyage(voyage, planVoyage(voyage));
}

// Lisbon, Funchal, New York, the last leg composite below 41 degrees north, at 7 knots.
PassagePlan voyagePlan()
{
    Voyage voyage;
    voyage.places = {
        {"Lisbon", {38.7, -9.15}}, {"Funchal", {32.65, -16.9}}, {"New York", {40.7, -74.0}}};
    voyage.legs = {{}, {Sailing::Composite, 41.0, std::nullopt}};
    voyage.speed = 7.0;
    voyage.departure = kDeparture;
    return passagePlanFromVoyage(voyage, planVoyage(voyage));
}

// A number written into a file, read strictly: plain decimal digits, no exponent, no comma.
double plainNumber(const char* text)
{
    if (std::strpbrk(text, "eE,") != nullptr)
        return std::nan("");
    double value = 0.0;
    const char* end = text + std::strlen(text);
    const auto [at, ec] = std::from_chars(text, end, value, std::chars_format::fixed);
    return ec == std::errc() && at == end ? value : std::nan("");
}

double distanceNm(LatLon a, LatLon b)
{
    const double rad = M_PI / 180.0;
    const double h = std::pow(std::sin((b.latitude - a.latitude) * rad / 2), 2) +
                     std::cos(a.latitude * rad) * std::cos(b.latitude * rad) *
                         std::pow(std::sin((b.longitude - a.longitude) * rad / 2), 2);
    return 2 * std::asin(std::min(1.0, std::sqrt(h))) / rad * 60.0;
}

void addRoutes()
{
    QTest::addColumn<PassagePlan>("plan");
    QTest::newRow("over the 180th meridian, timed")
        << planOf({37.75, -122.45}, {-34.0, 151.0}, "San Francisco", "Sydney", true);
    QTest::newRow("to 180 east") << planOf({10, 150}, {-10, 180}, "A", "B", false);
    QTest::newRow("over the north pole")
        << planOf({60, 10}, {60, -170}, "Oslo", "Bering Sea", true);
    QTest::newRow("voyage of three places, timed") << voyagePlan();
    QTest::newRow("route from the window")
        << passagePlanFromRoute(planRoute({51.5, -0.12}, {40.7, -74.0}), "London", "New York");
    QTest::newRow("names to escape")
        << planOf({51.5, -0.12}, {40.7, -74.0}, "A & <B> \"C\"", "D\x01\xff", false);
}

} // namespace

Q_DECLARE_METATYPE(PassagePlan)

class tst_PlanExport : public QObject
{
    Q_OBJECT
private slots:
    void rtzFacts_data() { addRoutes(); }
    void rtzFacts();
    void kmlReadBack_data() { addRoutes(); }
    void kmlReadBack();
};

void tst_PlanExport::rtzFacts()
{
    QFETCH(PassagePlan, plan);
    const std::string bytes = writeRtzRoute(plan);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(bytes.c_str());
    QVERIFY2(parsed, parsed.description());

    const pugi::xml_node route = doc.child("route");
    QCOMPARE(QByteArray(route.attribute("xmlns").value()), "http://www.cirm.org/RTZ/1/0");
    QCOMPARE(QByteArray(route.attribute("version").value()), "1.0");
    QCOMPARE(QByteArray(route.child("routeInfo").attribute("routeName").value()),
             QByteArray::fromStdString(xmlCharacters(plan.name)));

    std::size_t i = 0;
    for (const pugi::xml_node waypoint : route.child("waypoints").children("waypoint")) {
        QVERIFY(i < plan.rows.size());
        const PlanRow& row = plan.rows[i];
        QCOMPARE(waypoint.attribute("id").as_ullong(), i + 1);
        QCOMPARE(QByteArray(waypoint.attribute("name").value()),
                 QByteArray::fromStdString(xmlCharacters(row.name)));
        const double lat = plainNumber(waypoint.child("position").attribute("lat").value());
        const double lon = plainNumber(waypoint.child("position").attribute("lon").value());
        QVERIFY2(std::fabs(lat - row.position.latitude) < 1e-9, qPrintable(QString::number(lat)));
        QVERIFY2(lon >= -180.0 && lon < 180.0, qPrintable(QString::number(lon)));
        QVERIFY(std::fabs(std::remainder(lon - row.position.longitude, 360.0)) < 1e-9);
        // Each leg arrives at its waypoint on a constant course.
        QCOMPARE(QByteArray(waypoint.child("leg").attribute("geometryType").value()),
                 i == 0 ? "" : "Loxodrome");
        ++i;
    }
    QCOMPARE(i, plan.rows.size());
    QVERIFY(i >= 2);

    const pugi::xml_node calculated =
        route.child("schedules").child("schedule").child("calculated");
    QCOMPARE(bool(calculated), plan.departure.has_value());
    i = 0;
    for (const pugi::xml_node element : calculated.children("sheduleElement")) {
        QCOMPARE(element.attribute("waypointId").as_ullong(), i + 1);
        const std::int64_t minute = i == 0 ? *plan.departure : *plan.rows[i].eta;
        QCOMPARE(QString::fromUtf8(element.attribute(i == 0 ? "etd" : "eta").value()),
                 QDateTime::fromSecsSinceEpoch(minute * 60, Qt::UTC).toString(Qt::ISODate));
        ++i;
    }
    QCOMPARE(i, plan.departure ? plan.rows.size() : 0);
}

// gpsbabel's reading of `path`: with `tracks`, the route line's points, else the pins.
QList<QStringList> gpsbabelRows(const QString& gpsbabel, const QString& path, bool tracks)
{
    QProcess process;
    QStringList arguments;
    if (tracks)
        arguments << QStringLiteral("-t");
    arguments << QStringLiteral("-i") << QStringLiteral("kml") << QStringLiteral("-f") << path
              << QStringLiteral("-o") << QStringLiteral("unicsv") << QStringLiteral("-F")
              << QStringLiteral("-");
    process.start(gpsbabel, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QList<QStringList> rows;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (const QString& line : lines.mid(1))
        if (!line.isEmpty())
            rows << line.split(QLatin1Char(','));
    return rows;
}

void tst_PlanExport::kmlReadBack()
{
    QFETCH(PassagePlan, plan);
    GYRENA_REQUIRE_PROGRAM(xmllint, "xmllint", "test");
    GYRENA_REQUIRE_PROGRAM(gpsbabel, "gpsbabel", "test");
    const QString schema = schemaFile(QStringLiteral("ogckml22.xsd"));
    if (schema.isEmpty())
        GYRENA_SKIP_OR_FAIL(
            QStringLiteral("the KML 2.2 schema is missing: run scripts/schemas.sh"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("route.kml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(writeKmlRoute(plan)));
    file.close();
    const QString problems = schemaProblems(xmllint, schema, path);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));

    // Pins: No,Latitude,Longitude,Name,...; gpsbabel keeps six decimals.
    const QList<QStringList> pins = gpsbabelRows(gpsbabel, path, false);
    QCOMPARE(pins.size(), qsizetype(plan.rows.size()));
    for (qsizetype i = 0; i < pins.size(); ++i) {
        const LatLon expected = plan.rows[std::size_t(i)].position;
        QVERIFY2(std::fabs(pins[i][1].toDouble() - expected.latitude) < 1e-6,
                 qPrintable(pins[i].join(',')));
        QVERIFY2(std::fabs(std::remainder(pins[i][2].toDouble() - expected.longitude, 360.0)) <
                     1e-6,
                 qPrintable(pins[i].join(',')));
    }

    // The line: from the first row to the last, no two points more than 60 nm apart.
    const QList<QStringList> line = gpsbabelRows(gpsbabel, path, true);
    QVERIFY(line.size() >= 2);
    const auto at = [&](qsizetype i) {
        return LatLon{line[i][1].toDouble(), line[i][2].toDouble()};
    };
    QVERIFY(distanceNm(at(0), plan.rows.front().position) < 0.01);
    QVERIFY(distanceNm(at(line.size() - 1), plan.rows.back().position) < 0.01);
    for (qsizetype i = 1; i < line.size(); ++i)
        QVERIFY2(distanceNm(at(i - 1), at(i)) <= 60.0, qPrintable(line[i].join(',')));
}

QTEST_GUILESS_MAIN(tst_PlanExport)
#include "tst_planexport.moc"
