// The navigator's almanac against independent references: NOAA's WMM2025 test values,
// GeographicLib's own MagneticModel reading the committed model, the npm packages geomagnetism
// and tz-lookup run by node, python3-ephem for the Sun, and `date` with the system's tzdata.

#include "externaltools.h"

#include "geo/almanac.h"
#include "geo/utctime.h"
#include "io/earth/earth.h"
#include "io/places/gazetteerasset.h"

#include <GeographicLib/MagneticModel.hpp>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <map>
#include <set>

using namespace gyrena;

class tst_Almanac : public QObject
{
    Q_OBJECT

private slots:
    void noaaTestValues_data();
    void noaaTestValues();
    void sameAsGeographicLib();
    void sameAsGeomagnetismPackage();
    void modelYears_data();
    void modelYears();
    void sunAgainstEphem_data();
    void sunAgainstEphem();
    void zoneTime_data();
    void zoneTime();
    void localTimeAgainstDate_data();
    void localTimeAgainstDate();
    void zoneMapSameAsPackage();
    void zoneMapAccuracy();
    void damagedDataRefused_data();
    void damagedDataRefused();
    void voyageRows();
};

namespace {

// Runs `script` with node, where require() finds the npm packages the tests compare with.
#define GYRENA_RUN_NODE(out, script, input)                                                        \
    GYRENA_REQUIRE_PROGRAM(node, "node", "test");                                                  \
    if (!QFile::exists(QStringLiteral(GYRENA_NPM_DIR "/node_modules/geomagnetism/package.json")))  \
        GYRENA_SKIP_OR_FAIL(QStringLiteral("the npm packages are missing: run "                    \
                                           "scripts/npm-references.sh (ctest does it first)"));    \
    const QString out =                                                                            \
        runProgram(node, {"-e", script}, input, {"NODE_PATH=" GYRENA_NPM_DIR "/node_modules"})

std::int64_t minuteOf(const char* text)
{
    return parseUtcMinute(text).value();
}

// Random positions (latitude within 89.5 degrees of the equator) and UTC minutes in the model's
// years, the same on every run.
struct Sample
{
    LatLon position;
    std::int64_t minute;
};

std::vector<Sample> samples(int count, std::int64_t from, std::int64_t to)
{
    QRandomGenerator random(2025);
    std::vector<Sample> out;
    for (int i = 0; i < count; ++i)
        out.push_back({{random.bounded(179.0) - 89.5, random.bounded(360.0) - 180.0},
                       from + std::int64_t(random.bounded(double(to - from)))});
    return out;
}

} // namespace

void tst_Almanac::noaaTestValues_data()
{
    QTest::addColumn<double>("year");
    QTest::addColumn<double>("heightKm");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("declination");
    // The WMM2025 report's test values (height above the WGS84 ellipsoid), and rows of NOAA's
    // WMM2025_TEST_VALUES.txt.
    QTest::newRow("2025.0 0km 80N 0E") << 2025.0 << 0.0 << 80.0 << 0.0 << 1.28;
    QTest::newRow("2025.0 0km 0N 120E") << 2025.0 << 0.0 << 0.0 << 120.0 << -0.16;
    QTest::newRow("2025.0 0km 80S 240E") << 2025.0 << 0.0 << -80.0 << 240.0 << 68.78;
    QTest::newRow("2025.0 100km 80N 0E") << 2025.0 << 100.0 << 80.0 << 0.0 << 0.85;
    QTest::newRow("2025.0 100km 0N 120E") << 2025.0 << 100.0 << 0.0 << 120.0 << -0.15;
    QTest::newRow("2025.0 100km 80S 240E") << 2025.0 << 100.0 << -80.0 << 240.0 << 68.21;
    QTest::newRow("2027.5 0km 80N 0E") << 2027.5 << 0.0 << 80.0 << 0.0 << 2.59;
    QTest::newRow("2027.5 0km 0N 120E") << 2027.5 << 0.0 << 0.0 << 120.0 << -0.24;
    QTest::newRow("2027.5 0km 80S 240E") << 2027.5 << 0.0 << -80.0 << 240.0 << 68.49;
    QTest::newRow("2027.5 100km 80N 0E") << 2027.5 << 100.0 << 80.0 << 0.0 << 2.16;
    QTest::newRow("2027.5 100km 0N 120E") << 2027.5 << 100.0 << 0.0 << 120.0 << -0.23;
    QTest::newRow("2027.5 100km 80S 240E") << 2027.5 << 100.0 << -80.0 << 240.0 << 67.93;
    QTest::newRow("2025.0 28km 89N 121W") << 2025.0 << 28.0 << 89.0 << -121.0 << -99.77;
    QTest::newRow("2025.0 65km 43N 93E") << 2025.0 << 65.0 << 43.0 << 93.0 << 0.50;
    QTest::newRow("2025.0 51km 33S 109E") << 2025.0 << 51.0 << -33.0 << 109.0 << -5.49;
    QTest::newRow("2025.0 18km 0N 21E") << 2025.0 << 18.0 << 0.0 << 21.0 << 1.29;
    QTest::newRow("2025.5 50km 70S 133W") << 2025.5 << 50.0 << -70.0 << -133.0 << 57.21;
    QTest::newRow("2027.0 67km 47S 32W") << 2027.0 << 67.0 << -47.0 << -32.0 << -13.52;
}

void tst_Almanac::noaaTestValues()
{
    QFETCH(double, year);
    QFETCH(double, heightKm);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, declination);
    const MagneticModel* model = builtInMagneticModel();
    QVERIFY(model);
    const auto variation = model->variation({latitude, longitude}, year, heightKm * 1000.0);
    QVERIFY(variation);
    // The values are printed to 0.01 degree.
    QVERIFY2(std::abs(*variation - declination) <= 0.0051, qPrintable(QString::number(*variation)));
}

void tst_Almanac::sameAsGeographicLib()
{
    // The committed files are a GeographicLib magnetic model: its own reader and sum agree with
    // the compiled-in copy summed here.
    const GeographicLib::MagneticModel reference("wmm2025", GYRENA_SOURCE_DIR "/assets/magnetic");
    const MagneticModel* model = builtInMagneticModel();
    QVERIFY(model);
    for (const Sample& s :
         samples(300, minuteOf("2025-01-01T00:00Z"), minuteOf("2029-12-31T23:59Z"))) {
        const double year = decimalYear(s.minute);
        double bx = 0, by = 0, bz = 0;
        reference(year, s.position.latitude, s.position.longitude, 0.0, bx, by, bz);
        const double expected = std::atan2(bx, by) * 180.0 / M_PI;
        QCOMPARE_LE(std::abs(*model->variation(s.position, year) - expected), 1e-9);
    }
}

void tst_Almanac::sameAsGeomagnetismPackage()
{
    const auto points = samples(300, minuteOf("2025-01-01T00:00Z"), minuteOf("2029-11-12T00:00Z"));
    QJsonArray input;
    for (const Sample& s : points)
        input.append(
            QJsonArray{s.position.latitude, s.position.longitude, double(s.minute) * 60000.0});
    GYRENA_RUN_NODE(out,
                    "const g = require('geomagnetism'); let s = '';"
                    "process.stdin.on('data', d => s += d).on('end', () => {"
                    "for (const [lat, lon, ms] of JSON.parse(s))"
                    "  console.log(g.model(new Date(ms)).point([lat, lon]).decl); });",
                    QJsonDocument(input).toJson(QJsonDocument::Compact));
    const QStringList lines = out.split('\n');
    QCOMPARE(lines.size(), int(points.size()));
    const MagneticModel* model = builtInMagneticModel();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double ours = *model->variation(points[i].position, decimalYear(points[i].minute));
        QVERIFY2(std::abs(ours - lines[int(i)].toDouble()) <= 0.05,
                 qPrintable(
                     QStringLiteral("row %1: %2 against %3").arg(i).arg(ours).arg(lines[int(i)])));
    }
}

void tst_Almanac::modelYears_data()
{
    QTest::addColumn<QString>("utc");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<bool>("hasVariation");
    QTest::newRow("before 2025") << "2024-12-31T23:59Z" << 50.0 << false;
    QTest::newRow("first minute") << "2025-01-01T00:00Z" << 50.0 << true;
    QTest::newRow("last minute") << "2029-12-31T23:59Z" << 50.0 << true;
    QTest::newRow("2030") << "2030-01-01T00:00Z" << 50.0 << false;
    QTest::newRow("north pole") << "2026-06-01T00:00Z" << 90.0 << false;
    QTest::newRow("south pole") << "2026-06-01T00:00Z" << -90.0 << false;
}

void tst_Almanac::modelYears()
{
    QFETCH(QString, utc);
    QFETCH(double, latitude);
    QFETCH(bool, hasVariation);
    const double year = decimalYear(minuteOf(qPrintable(utc)));
    QCOMPARE(builtInMagneticModel()->variation({latitude, 10.0}, year).has_value(), hasVariation);
}

void tst_Almanac::sunAgainstEphem_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("moment"); // the day, and the moment whose light is checked
    QTest::newRow("equator") << 0.0 << 0.0 << "2026-03-20T06:05Z";
    QTest::newRow("Lisbon summer") << 38.7 << -9.15 << "2026-06-21T05:00Z";
    QTest::newRow("New York, sunset before sunrise") << 40.7 << -74.0 << "2026-06-01T08:00Z";
    QTest::newRow("Sydney winter") << -33.87 << 151.2 << "2026-06-21T07:30Z";
    QTest::newRow("date line east") << -17.0 << 179.5 << "2026-09-01T18:00Z";
    QTest::newRow("date line west") << 21.3 << -179.5 << "2026-01-15T17:20Z";
    QTest::newRow("60N midsummer") << 60.0 << 10.0 << "2026-06-21T23:00Z";
    QTest::newRow("65N midsummer") << 65.0 << -18.0 << "2026-06-21T00:10Z";
    QTest::newRow("66N midwinter") << 66.0 << 25.0 << "2026-12-21T10:00Z";
    QTest::newRow("70N spring") << 70.0 << 20.0 << "2026-03-15T04:00Z";
    QTest::newRow("70N polar day") << 70.0 << 20.0 << "2026-06-21T00:00Z";
    QTest::newRow("70N polar night") << 70.0 << 20.0 << "2026-12-21T11:00Z";
    QTest::newRow("78N autumn") << 78.2 << 15.6 << "2026-09-10T02:00Z";
    QTest::newRow("70S polar night") << -70.0 << 0.0 << "2026-06-21T12:00Z";
    QTest::newRow("70S polar day") << -70.0 << 0.0 << "2026-12-21T00:00Z";
    QTest::newRow("nautical dusk") << 50.0 << 0.0 << "2026-11-01T17:30Z";
    QTest::newRow("astronomical dusk") << 50.0 << 0.0 << "2026-11-01T18:10Z";
}

void tst_Almanac::sunAgainstEphem()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, moment);
    GYRENA_REQUIRE_PROGRAM(python, "python3", "test");
    // The Sun's centre 50' below a horizon without refraction; its geometric altitude at the
    // moment; the first rising and setting in the UTC day, or "up"/"down" all day, or "-".
    const char* script = R"(
import ephem, sys
lat, lon, moment = sys.argv[1:4]
o = ephem.Observer(); o.lat, o.lon, o.pressure, o.elevation = lat, lon, 0, 0
o.horizon = '-0:50'
start = ephem.Date(moment[:10] + ' 00:00'); end = ephem.Date(start + 1)
sun = ephem.Sun()
def event(find):
    o.date = start
    try: t = find(sun, use_center=True)
    except ephem.AlwaysUpError: return 'up'
    except ephem.NeverUpError: return 'down'
    return str((t - ephem.Date('1970/1/1')) * 1440) if t < end else '-'
o.date = ephem.Date(moment[:10] + ' ' + moment[11:16]); sun.compute(o)
print(float(sun.alt) * 180 / 3.141592653589793, event(o.next_rising), event(o.next_setting))
)";
    const QString out = runProgram(QStringLiteral("/usr/bin/python3"),
                                   {"-c", script, QString::number(latitude, 'f', 6),
                                    QString::number(longitude, 'f', 6), moment},
                                   {});
    const QStringList fields = out.split(' ');
    if (fields.size() != 3)
        GYRENA_SKIP_OR_FAIL(
            QStringLiteral("python3-ephem gave no answer (scripts/deps.sh test): ") + out);

    const LatLon place{latitude, longitude};
    const std::int64_t minute = minuteOf(qPrintable(moment));
    const double altitude = fields[0].toDouble();
    QVERIFY2(std::abs(sunAltitude(place, double(minute) * 60.0) - altitude) < 0.02,
             qPrintable(QString::number(sunAltitude(place, double(minute) * 60.0))));
    const double bounds[] = {kSunriseAltitude, -6.0, -12.0, -18.0};
    const int expectedLight = int(
        std::find_if(std::begin(bounds), std::end(bounds), [&](double b) { return altitude > b; }) -
        std::begin(bounds));
    QCOMPARE(int(lightAt(place, minute)), expectedLight);

    const SunDay day = sunDay(place, minute);
    QCOMPARE(day.upAllDay, fields[1] == "up" && fields[2] == "up");
    QCOMPARE(day.downAllDay, fields[1] == "down" && fields[2] == "down");
    const std::optional<std::int64_t> events[] = {day.sunrise, day.sunset};
    for (int i = 0; i < 2; ++i) {
        const bool expected =
            fields[i + 1] != "up" && fields[i + 1] != "down" && fields[i + 1] != "-";
        QCOMPARE(events[i].has_value(), expected);
        if (expected)
            QVERIFY2(std::abs(double(*events[i]) - fields[i + 1].toDouble()) <= 1.0,
                     qPrintable(QString::fromStdString(utcMinuteText(*events[i])) + " against " +
                                fields[i + 1]));
    }
}

void tst_Almanac::zoneTime_data()
{
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("utc");
    QTest::addColumn<int>("zoneDescription");
    QTest::addColumn<QString>("zoneTime");
    QTest::newRow("Greenwich") << 7.4 << "2026-06-01T08:00Z" << 0 << "2026-06-01T08:00+00:00";
    QTest::newRow("7.5 E is the next zone")
        << 7.5 << "2026-06-01T08:00Z" << -1 << "2026-06-01T09:00+01:00";
    QTest::newRow("7.5 W is the next zone")
        << -7.5 << "2026-06-01T08:00Z" << 1 << "2026-06-01T07:00-01:00";
    QTest::newRow("New York") << -74.0 << "2026-06-01T08:00Z" << 5 << "2026-06-01T03:00-05:00";
    QTest::newRow("day before, west")
        << -150.0 << "2026-01-01T02:00Z" << 10 << "2025-12-31T16:00-10:00";
    QTest::newRow("day after, east")
        << 150.0 << "2026-12-31T20:00Z" << -10 << "2027-01-01T06:00+10:00";
    QTest::newRow("172.5 E") << 172.5 << "2026-06-01T08:00Z" << -12 << "2026-06-01T20:00+12:00";
    QTest::newRow("180") << 180.0 << "2026-06-01T08:00Z" << -12 << "2026-06-01T20:00+12:00";
    QTest::newRow("172.5 W") << -172.5 << "2026-06-01T08:00Z" << 12 << "2026-05-31T20:00-12:00";
    QTest::newRow("wrapped") << 359.0 << "2026-06-01T08:00Z" << 0 << "2026-06-01T08:00+00:00";
}

void tst_Almanac::zoneTime()
{
    QFETCH(double, longitude);
    QFETCH(QString, utc);
    QFETCH(int, zoneDescription);
    QFETCH(QString, zoneTime);
    const int zd = gyrena::zoneDescription(longitude);
    QCOMPARE(zd, zoneDescription);
    QCOMPARE(QString::fromStdString(offsetTimeText(minuteOf(qPrintable(utc)), -60 * zd)), zoneTime);
}

void tst_Almanac::localTimeAgainstDate_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("utc");
    // Summer and winter, the minutes either side of a change, the rule after 2037, half and
    // quarter hours, the southern summer.
    const char* const rows[][2] = {
        {"America/New_York", "2026-07-04T16:00Z"},    {"America/New_York", "2026-01-04T03:30Z"},
        {"Europe/Berlin", "2026-03-29T00:59Z"},       {"Europe/Berlin", "2026-03-29T01:00Z"},
        {"Europe/Berlin", "2100-07-01T12:00Z"},       {"Europe/Berlin", "2100-10-31T00:59Z"},
        {"Australia/Sydney", "2027-01-10T00:00Z"},    {"Australia/Sydney", "2200-02-01T00:00Z"},
        {"Australia/Lord_Howe", "2026-12-01T00:00Z"}, {"Asia/Kathmandu", "2026-06-01T00:00Z"},
        {"Pacific/Chatham", "2026-12-01T00:00Z"},     {"America/St_Johns", "2026-08-01T00:00Z"},
        {"America/Santiago", "2026-07-01T00:00Z"},    {"Africa/Casablanca", "2027-03-01T00:00Z"},
        {"Europe/Lisbon", "2026-10-25T00:59Z"},
    };
    for (const auto& [zone, utc] : rows)
        QTest::newRow((std::string(zone) + " " + utc).c_str()) << QString(zone) << QString(utc);
}

void tst_Almanac::localTimeAgainstDate()
{
    QFETCH(QString, zone);
    QFETCH(QString, utc);
    GYRENA_REQUIRE_PROGRAM(date, "date", "test");
    const std::int64_t minute = minuteOf(qPrintable(utc));
    const QString expected =
        runProgram(date, {"-d", "@" + QString::number(minute * 60), "+%Y-%m-%dT%H:%M%:z"}, {},
                   {"TZ=" + zone.toUtf8()});
    const auto offset = systemUtcOffset(zone.toStdString(), minute);
    QVERIFY(offset);
    QCOMPARE(QString::fromStdString(offsetTimeText(minute, *offset)), expected);
}

void tst_Almanac::zoneMapSameAsPackage()
{
    const auto points = samples(3000, 0, 1);
    QJsonArray input;
    for (const Sample& s : points)
        input.append(QJsonArray{s.position.latitude, s.position.longitude});
    GYRENA_RUN_NODE(out,
                    "const tz = require('@photostructure/tz-lookup'); let s = '';"
                    "process.stdin.on('data', d => s += d).on('end', () => {"
                    "for (const [lat, lon] of JSON.parse(s)) console.log(tz(lat, lon)); });",
                    QJsonDocument(input).toJson(QJsonDocument::Compact));
    const QStringList zones = out.split('\n');
    QCOMPARE(zones.size(), int(points.size()));
    const TimeZoneMap* map = builtInTimeZoneMap();
    QVERIFY(map);
    for (std::size_t i = 0; i < points.size(); ++i)
        QCOMPARE(QString::fromUtf8(map->zoneAt(points[i].position)), zones[int(i)]);
}

void tst_Almanac::zoneMapAccuracy()
{
    // tzdata's own table of zones, with the position of each zone's principal place and the
    // countries it serves: the map must name that zone there, and a town must lie in a zone of
    // its own country. The shares are the README's figures.
    QFile table(QStringLiteral("/usr/share/zoneinfo/zone.tab"));
    QFile table1970(QStringLiteral("/usr/share/zoneinfo/zone1970.tab"));
    if (!table.open(QIODevice::ReadOnly) || !table1970.open(QIODevice::ReadOnly))
        GYRENA_SKIP_OR_FAIL(QStringLiteral("tzdata's zone.tab is missing (scripts/deps.sh test)"));
    const TimeZoneMap* map = builtInTimeZoneMap();
    std::map<std::string, std::set<std::string>> countriesOf;
    int principal = 0, principalRight = 0;
    for (QFile* file : {&table, &table1970}) {
        for (const QByteArray& line : file->readAll().split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (line.startsWith('#') || f.size() < 3)
                continue;
            for (const QByteArray& country : f[0].split(','))
                countriesOf[f[2].toStdString()].insert(country.toStdString());
            if (file != &table)
                continue;
            // ±DDMM±DDDMM or ±DDMMSS±DDDMMSS
            const QByteArray c = f[1];
            const int split = int(c.indexOf('+', 1) > 0 ? c.indexOf('+', 1) : c.indexOf('-', 1));
            const auto angle = [](const QByteArray& t, int degreeDigits) {
                const double d = t.mid(1, degreeDigits).toDouble() +
                                 t.mid(1 + degreeDigits, 2).toDouble() / 60 +
                                 t.mid(3 + degreeDigits, 2).toDouble() / 3600;
                return t[0] == '-' ? -d : d;
            };
            const LatLon position{angle(c.left(split), 2), angle(c.mid(split), 3)};
            ++principal;
            principalRight += map->zoneAt(position) == f[2].toStdString();
        }
    }
    const auto& gazetteer = std::get<Gazetteer>(builtInGazetteer());
    int towns = 0, townsRight = 0;
    for (std::size_t i = 0; i < gazetteer.placeCount(); ++i) {
        if (gazetteer.kind(i) != PlaceKind::Town)
            continue;
        ++towns;
        const auto zone = countriesOf.find(std::string(map->zoneAt(gazetteer.position(i))));
        townsRight +=
            zone != countriesOf.end() && zone->second.count(std::string(gazetteer.countryCode(i)));
    }
    qInfo("principal places of zone.tab in their own zone: %d of %d (%.1f %%)", principalRight,
          principal, 100.0 * principalRight / principal);
    qInfo("gazetteer towns in a zone of their own country: %d of %d (%.1f %%)", townsRight, towns,
          100.0 * townsRight / towns);
    QCOMPARE_GE(100.0 * principalRight / principal, 90.0);
    QCOMPARE_GE(100.0 * townsRight / towns, 95.0);
}

void tst_Almanac::damagedDataRefused_data()
{
    QTest::addColumn<QString>("asset");
    QTest::addColumn<int>("at"); // the byte changed, or -1 to cut the last byte
    QTest::addColumn<int>("value");
    QTest::newRow("model: cut") << "wmm" << -1 << 0;
    QTest::newRow("model: ID") << "wmm" << 0 << int('X');
    QTest::newRow("model: degree 31") << "wmm" << 8 << 31;
    QTest::newRow("model: a coefficient not a number") << "wmm" << 23 << 0x7f;
    QTest::newRow("map: cut") << "tz" << -1 << 0;
    QTest::newRow("map: magic") << "tz" << 0 << int('X');
    QTest::newRow("map: a name with a dot") << "tz" << 13 << int('.');
    QTest::newRow("map: an entry beyond the nodes") << "tz" << -2 << 0x0a;
    QTest::newRow("zone: cut") << "tzif" << -1 << 0;
    QTest::newRow("zone: version 1") << "tzif" << 4 << 0;
    QTest::newRow("zone: a rule with a month 13") << "tzif" << -3 << 0;
}

void tst_Almanac::damagedDataRefused()
{
    QFETCH(QString, asset);
    QFETCH(int, at);
    QFETCH(int, value);
    QFile zone(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin"));
    QVERIFY(zone.open(QIODevice::ReadOnly));
    const QByteArray berlin = zone.readAll();
    std::string bytes = asset == "wmm"  ? std::string(builtInMagneticCoefficients())
                        : asset == "tz" ? std::string(builtInTimeZoneBytes())
                                        : berlin.toStdString();
    if (at == -1) {
        bytes.pop_back();
    } else if (at == -2) {
        // The first node entry of the grid's first cell that is a node, pointed past the end.
        bytes[bytes.size() - 1] = char(value);
        bytes[bytes.size() - 2] = 0;
    } else if (at == -3) {
        // The rule's first month: M3.5.0 becomes M13.5.0.
        const std::size_t month = bytes.find(",M") + 2;
        bytes = bytes.substr(0, month) + '1' + bytes.substr(month);
    } else {
        bytes[std::size_t(at)] = char(value);
    }
    const bool read = asset == "wmm" ? std::holds_alternative<MagneticCoefficients>(
                                           readMagneticModel(builtInMagneticMetadata(), bytes))
                      : asset == "tz" ? std::holds_alternative<TimeZoneMap>(readTimeZoneMap(bytes))
                                      : readZoneFileRule(bytes).has_value();
    QVERIFY(!read);
}

void tst_Almanac::voyageRows()
{
    // Lisbon to Funchal and on to a point of the open Atlantic, leaving at midnight UTC.
    Voyage voyage;
    voyage.places = {
        {"Lisbon", {38.7, -9.15}}, {"Funchal", {32.65, -16.91}}, {"Sea", {30.0, -40.0}}};
    voyage.departure = minuteOf("2026-06-01T00:00Z");
    const VoyagePlan plan = planVoyage(voyage);
    const Almanac almanac = almanacFor(plan, 0, programEarth());
    QCOMPARE(almanac.rows.size(), plan.rows.size());
    QVERIFY(almanac.magneticNote.empty());
    const AlmanacRow& lisbon = almanac.rows.front();
    QCOMPARE(lisbon.timeZone, std::string("Europe/Lisbon"));
    QCOMPARE(lisbon.utcOffset, std::optional<int>(60));
    QCOMPARE(lisbon.light, std::optional<Light>(Light::Night));
    QCOMPARE_LE(std::abs(*lisbon.magneticCourse + *lisbon.variation - *plan.rows[0].courseToNext),
                1e-9);
    const AlmanacRow& funchal = almanac.rows[plan.legs[1].firstRow];
    QCOMPARE(funchal.timeZone, std::string("Atlantic/Madeira"));
    QVERIFY(almanac.rows.back().timeZone.empty()); // a place far out at sea: zone time only
    QCOMPARE(almanac.rows.back().zoneDescription, 3);
    for (std::size_t i = 1; i + 1 < plan.legs[0].lastRow; ++i)
        QVERIFY(almanac.rows[i].timeZone.empty()); // waypoints have no legal time

    // Without a departure: no light, Sun or local time, and the variation of the day given.
    voyage.departure.reset();
    const Almanac undated =
        almanacFor(planVoyage(voyage), minuteOf("2031-01-01T00:00Z"), programEarth());
    QVERIFY(!undated.rows.front().light && !undated.rows.front().sun &&
            !undated.rows.front().utcOffset);
    QVERIFY(!undated.rows.front().variation);
    QCOMPARE(undated.magneticNote, std::string("No magnetic variation in 2031: the World Magnetic "
                                               "Model 2025 holds from 2025 to the end of 2029."));
}

QTEST_GUILESS_MAIN(tst_Almanac)
#include "tst_almanac.moc"
