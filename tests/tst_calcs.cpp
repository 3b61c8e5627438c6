#include "geo/calcs.h"
#include "geo/location.h"
#include "geo/resultboxes.h"
#include "io/formats/locationfields.h"
#include "tst_workedroutes.h"

#include <QtTest>

#include <cmath>
#include <numbers>

using gyrena::computeRoute;
using gyrena::LocationState;
using gyrena::ResultState;
using gyrena::RouteOutcome;
using gyrena::RouteRun;

Q_DECLARE_METATYPE(RouteOutcome)

class tst_Calcs : public QObject
{
    Q_OBJECT

private slots:
    void workedRoutes_data();
    void workedRoutes();
    void northSouthRoutes_data();
    void northSouthRoutes();
    void oppositeMeridiansWithMinutes();
    void nearlyAlongAMeridian_data();
    void nearlyAlongAMeridian();
    void directionNSPersists_data();
    void directionNSPersists();
    void sameLocation_data();
    void sameLocation();
    void failures_data();
    void failures();
    void outOfRangeAngles_data();
    void outOfRangeAngles();
    void againstFullPrecisionSphere_data();
    void againstFullPrecisionSphere();
    void independentSolverFigures_data();
    void independentSolverFigures();
    void everyBoxFiniteOnAGrid();
    void decimalSeparator();
};

namespace {

// The twelve texts in argument order, as gyrena-route takes them.
LocationState locationFrom(const QString& texts)
{
    const QStringList t = texts.split(' ');
    Q_ASSERT(t.size() == 12);
    std::array<std::string, 12> storage;
    std::array<std::string_view, 12> views;
    for (std::size_t i = 0; i < views.size(); ++i)
        views[i] = storage[i] = t.at(qsizetype(i)).toStdString();
    gyrena::LocationTexts start;
    gyrena::LocationTexts end;
    gyrena::setCoordinates(start, end, views);
    LocationState l;
    gyrena::updateLocation(l, gyrena::RouteEnd::Start, start);
    gyrena::updateLocation(l, gyrena::RouteEnd::End, end);
    return l;
}

QString boxName(gyrena::ResultField field)
{
    return QString::fromUtf8(gyrena::resultBox(field).objectName.data());
}

// The writes as "TextN=value" in the order they were made.
QStringList writesOf(const RouteRun& run)
{
    QStringList writes;
    for (const auto& w : run.writes)
        writes << boxName(w.field) + "=" + QString::fromStdString(w.text);
    return writes;
}

QString boxText(const RouteRun& run, const QString& box)
{
    QString text;
    for (const auto& w : run.writes) {
        if (boxName(w.field) == box)
            text = QString::fromStdString(w.text);
    }
    return text;
}

bool allFinite(const ResultState& r)
{
    for (double v : {r.deltaLong, r.deltaLongRad, r.startColat, r.startColatRad, r.endColat,
                     r.endColatRad, r.distCos, r.distRad, r.dist, r.startAngleCos, r.startAngleRad,
                     r.startAngle, r.endAngleCos, r.endAngleSin, r.endAngleRad, r.endAngle,
                     r.initialCourse, r.arrivalCourse}) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

bool anyBoxShowsNonFinite(const RouteRun& run)
{
    for (const auto& w : run.writes) {
        const QString text = QString::fromStdString(w.text).toLower();
        if (text.contains("nan") || text.contains("inf"))
            return true;
    }
    return false;
}

// Great-circle distance and courses on a sphere at full precision, from signed degrees (north
// and east positive), by the arctangent forms rather than the law of cosines.
struct SphereSolution
{
    double arcDegrees;
    double initialCourse;
    double arrivalCourse;
};

double wrap360(double degrees)
{
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

SphereSolution solveSphere(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double k = std::numbers::pi / 180.0;
    const double p1 = lat1 * k, p2 = lat2 * k, dl = (lon2 - lon1) * k;
    const double y =
        std::hypot(std::cos(p2) * std::sin(dl),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    const double x = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl);
    const double initial =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    const double back =
        std::atan2(std::sin(-dl) * std::cos(p1),
                   std::cos(p2) * std::sin(p1) - std::sin(p2) * std::cos(p1) * std::cos(dl));
    return {std::atan2(y, x) / k, wrap360(initial / k), wrap360(back / k + 180.0)};
}

// The five-decimal half turn shrinks every angle in radians by 3.14159 / pi (1 - 8.4e-7): an
// input angle of up to 180 degrees moves by up to 1.5e-4 degrees, and the arc and the courses of
// a well-conditioned triangle move by about as much. Twice that is allowed; more is a fault.
constexpr double kArcTolerance = 3e-4;    // degrees of arc (0.018 nautical miles)
constexpr double kCourseTolerance = 3e-4; // degrees

double courseDifference(double a, double b)
{
    const double d = std::fabs(wrap360(a) - wrap360(b));
    return std::min(d, 360.0 - d);
}

} // namespace

void tst_Calcs::workedRoutes_data()
{
    addWorkedRouteRows();
}

void tst_Calcs::workedRoutes()
{
    QFETCH(QString, route);
    QFETCH(QStringList, writes);

    const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    QCOMPARE(writesOf(run), writes);
    QVERIFY(run.message.empty());
    QVERIFY(allFinite(run.results));
    QCOMPARE(QString::fromStdString(run.results.directionEW), boxText(run, "Text17"));
    QCOMPARE(QString::fromStdString(run.results.directionNS), boxText(run, "Text18"));
}

// Routes from or to a pole, along one meridian, or over a pole between opposite meridians.
void tst_Calcs::northSouthRoutes_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<QString>("startAngle");
    QTest::addColumn<QString>("endAngle");
    QTest::addColumn<QString>("distance");

    // Colatitudes beyond 90 in radians carry the short half turn: a route from the south pole or
    // over it comes out a hundredth or two of a mile long, as the 45th parallel south does.
    QTest::newRow("from the north pole") << "90 0 N 0 0 E 10 0 N 30 0 W"
                                         << "South"
                                         << "180"
                                         << "180"
                                         << "180.00"
                                         << ".00"
                                         << "4800.00";
    QTest::newRow("from the north pole to the south") << "90 0 N 45 0 W 20 0 S 120 0 E"
                                                      << "South"
                                                      << "180"
                                                      << "180"
                                                      << "180.00"
                                                      << ".00"
                                                      << "6600.00";
    QTest::newRow("from the south pole") << "90 0 S 0 0 E 10 0 S 30 0 W"
                                         << "North"
                                         << "0"
                                         << "0"
                                         << ".00"
                                         << "180.00"
                                         << "4800.00";
    QTest::newRow("from the south pole to the north") << "90 0 S 100 0 E 30 0 N 5 0 W"
                                                      << "North"
                                                      << "0"
                                                      << "0"
                                                      << ".00"
                                                      << "180.00"
                                                      << "7200.01";
    QTest::newRow("to the north pole") << "10 0 N 30 0 W 90 0 N 0 0 E"
                                       << "North"
                                       << "0"
                                       << "0"
                                       << ".00"
                                       << "180.00"
                                       << "4800.00";
    QTest::newRow("to the north pole from the south") << "10 0 S 30 0 W 90 0 N 0 0 E"
                                                      << "North"
                                                      << "0"
                                                      << "0"
                                                      << ".00"
                                                      << "180.00"
                                                      << "6000.00";
    QTest::newRow("to the south pole") << "10 0 S 30 0 W 90 0 S 0 0 E"
                                       << "South"
                                       << "180"
                                       << "180"
                                       << "180.00"
                                       << ".00"
                                       << "4800.00";
    QTest::newRow("to the south pole from the north") << "10 0 N 30 0 W 90 0 S 0 0 E"
                                                      << "South"
                                                      << "180"
                                                      << "180"
                                                      << "180.00"
                                                      << ".00"
                                                      << "6000.00";
    QTest::newRow("pole to pole") << "90 0 N 0 0 E 90 0 S 0 0 E"
                                  << "South"
                                  << "180"
                                  << "180"
                                  << "180.00"
                                  << ".00"
                                  << "10800.00";
    QTest::newRow("same meridian with minutes northward") << "10 0 N 45 30 E 20 0 N 45 30 E"
                                                          << "North"
                                                          << "0"
                                                          << "0"
                                                          << ".00"
                                                          << "180.00"
                                                          << "600.00";
    QTest::newRow("same meridian southward across the equator") << "10 15 N 45 30 W 20 0 S 45 30 W"
                                                                << "South"
                                                                << "180"
                                                                << "180"
                                                                << "180.00"
                                                                << ".00"
                                                                << "1815.00";
    QTest::newRow("same meridian in the south, southward") << "10 0 S 3 0 E 40 0 S 3 0 E"
                                                           << "South"
                                                           << "180"
                                                           << "180"
                                                           << "180.00"
                                                           << ".00"
                                                           << "1800.00";
    QTest::newRow("same meridian in the south, northward") << "40 0 S 3 0 E 10 0 S 3 0 E"
                                                           << "North"
                                                           << "0"
                                                           << "0"
                                                           << ".00"
                                                           << "180.00"
                                                           << "1800.00";
    QTest::newRow("prime meridian given as east and west") << "10 0 N 0 0 E 40 0 N 0 0 W"
                                                           << "North"
                                                           << "0"
                                                           << "0"
                                                           << ".00"
                                                           << "180.00"
                                                           << "1800.00";
    QTest::newRow("date line given as east and west") << "40 0 N 180 0 E 10 0 N 180 0 W"
                                                      << "South"
                                                      << "180"
                                                      << "180"
                                                      << "180.00"
                                                      << ".00"
                                                      << "1800.00";
    QTest::newRow("opposite meridians over the south pole") << "10 0 S 10 0 E 50 0 S 170 0 W"
                                                            << "South"
                                                            << "180"
                                                            << "0"
                                                            << "180.00"
                                                            << "180.00"
                                                            << "7200.02";
    QTest::newRow("opposite meridians across the equator, north") << "60 0 N 20 0 W 10 0 S 160 0 E"
                                                                  << "North"
                                                                  << "0"
                                                                  << "180"
                                                                  << ".00"
                                                                  << ".00"
                                                                  << "7800.00";
    QTest::newRow("opposite meridians across the equator, south") << "10 0 N 20 0 W 60 0 S 160 0 E"
                                                                  << "South"
                                                                  << "180"
                                                                  << "0"
                                                                  << "180.00"
                                                                  << "180.00"
                                                                  << "7800.02";
    QTest::newRow("opposite meridians given with minutes") << "10 0 N 16 1 E 40 0 N 163 59 W"
                                                           << "North"
                                                           << "0"
                                                           << "180"
                                                           << ".00"
                                                           << ".00"
                                                           << "7800.00";
    QTest::newRow("antipodal points") << "30 0 N 10 0 E 30 0 S 170 0 W"
                                      << "North"
                                      << "0"
                                      << "180"
                                      << ".00"
                                      << ".00"
                                      << "10800.00";
    QTest::newRow("antipodal on the equator") << "0 0 N 0 0 E 0 0 S 180 0 W"
                                              << "North"
                                              << "0"
                                              << "180"
                                              << ".00"
                                              << ".00"
                                              << "10800.00";
}

void tst_Calcs::northSouthRoutes()
{
    QFETCH(QString, route);
    QFETCH(QString, word);
    QFETCH(QString, initial);
    QFETCH(QString, arrival);
    QFETCH(QString, startAngle);
    QFETCH(QString, endAngle);
    QFETCH(QString, distance);

    const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    const QStringList writes = writesOf(run);
    QCOMPARE(writes.size(), 12);
    // The courses come last, as plain numbers, after both direction words.
    QCOMPARE(writes.mid(8), (QStringList{"Text17=North/South", "Text18=" + word, "Text4=" + initial,
                                         "Text5=" + arrival}));
    QCOMPARE(boxText(run, "Text19"), startAngle);
    QCOMPARE(boxText(run, "Text20"), endAngle);
    QCOMPARE(boxText(run, "Text3"), distance);
    QCOMPARE(QString::fromStdString(run.results.directionNS), word);
    QVERIFY(allFinite(run.results));
}

// Opposite meridians entered in degrees and minutes rarely sum to exactly 180: every such pair
// must still run over a pole.
void tst_Calcs::oppositeMeridiansWithMinutes()
{
    int checked = 0;
    for (int degrees = 0; degrees < 180; ++degrees) {
        for (int minutes = 0; minutes < 60; ++minutes) {
            const int otherMinutes = minutes == 0 ? 0 : 60 - minutes;
            const int otherDegrees = minutes == 0 ? 180 - degrees : 179 - degrees;
            const QString route = QStringLiteral("10 0 N %1 %2 E 40 0 N %3 %4 W")
                                      .arg(degrees)
                                      .arg(minutes)
                                      .arg(otherDegrees)
                                      .arg(otherMinutes);
            const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
            const QStringList tail = writesOf(run).mid(8);
            const QStringList expected{"Text17=North/South", "Text18=North", "Text4=0",
                                       "Text5=180"};
            if (tail != expected)
                QFAIL(qPrintable(route + ": " + tail.join(", ")));
            ++checked;
        }
    }
    QCOMPARE(checked, 180 * 60);
}

// Just off a meridian the angle at one end comes out at a straight angle, which the short half
// turn makes 180.00015: courses must still stay within their ranges and show no "-.00".
void tst_Calcs::nearlyAlongAMeridian_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("arrival");

    QTest::newRow("northward, a ten-thousandth of a minute east")
        << "10 0 N 5 0 E 50 0 N 5 0.0001 E"
        << ".00"
        << ".00";
    QTest::newRow("southward, a ten-thousandth of a minute east")
        << "50 0 N 5 0 E 10 0 N 5 0.0001 E"
        << "180.00"
        << "180.00";
    QTest::newRow("southward, a ten-thousandth of a minute west")
        << "50 0 N 5 0 E 10 0 N 4 59.9999 E"
        << "180.00"
        << "180.00";
    QTest::newRow("northward across the equator, west") << "40 0 S 20 0 W 30 0 N 20 0.0001 W"
                                                        << "360.00"
                                                        << "360.00";
    QTest::newRow("opposite meridians, a ten-thousandth short")
        << "10 0 N 5 0 E 50 0 N 174 59.9999 W"
        << "360.00"
        << "180.00";
}

void tst_Calcs::nearlyAlongAMeridian()
{
    QFETCH(QString, route);
    QFETCH(QString, initial);
    QFETCH(QString, arrival);

    const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    const ResultState& r = run.results;
    QVERIFY2(r.startAngle >= 0 && r.startAngle <= 180 && r.endAngle >= 0 && r.endAngle <= 180,
             qPrintable(writesOf(run).join(", ")));
    QVERIFY2(r.initialCourse >= 0 && r.initialCourse <= 360 && r.arrivalCourse >= 0 &&
                 r.arrivalCourse <= 360,
             qPrintable(QString("%1 %2").arg(r.initialCourse).arg(r.arrivalCourse)));
    QCOMPARE(boxText(run, "Text4"), initial);
    QCOMPARE(boxText(run, "Text5"), arrival);
    QVERIFY(!writesOf(run).join(' ').contains('-'));
}

void tst_Calcs::directionNSPersists_data()
{
    QTest::addColumn<QString>("firstRoute");
    QTest::addColumn<QString>("word");

    QTest::newRow("North, then East") << "10 0 N 10 0 E 50 0 N 170 0 W"
                                      << "North";
    QTest::newRow("South, then East") << "50 0 N 10 0 E 10 0 N 10 0 E"
                                      << "South";
}

void tst_Calcs::directionNSPersists()
{
    QFETCH(QString, firstRoute);
    QFETCH(QString, word);

    const RouteRun first = computeRoute(locationFrom(firstRoute), ResultState{}, ".");
    QCOMPARE(boxText(first, "Text18"), word);
    const RouteRun second =
        computeRoute(locationFrom("40 45 N 73 58 W 51 28 N 0 27 W"), first.results, ".");
    QCOMPARE(second.outcome, RouteOutcome::Completed);
    QCOMPARE(boxText(second, "Text17"), QString("East"));
    QCOMPARE(boxText(second, "Text18"), word);
    QCOMPARE(QString::fromStdString(second.results.directionNS), word);
    QCOMPARE(boxText(second, "Text4"), QString("51.38"));
}

void tst_Calcs::sameLocation_data()
{
    QTest::addColumn<QString>("route");

    QTest::newRow("identical texts") << "37 45 N 122 27 W 37 45 N 122 27 W";
    QTest::newRow("12.5 against 12 30") << "12.5 0 N 3 0 E 12 30 N 3 0 E";
    QTest::newRow("equator north and south") << "0 0 N 20 0 E 0 0 S 20 0 E";
    QTest::newRow("prime meridian east and west") << "33 0 S 0 0 E 33 0 S 0 0 W";
    QTest::newRow("date line east and west") << "33 0 N 180 0 E 33 0 N 180 0 W";
    QTest::newRow("north pole at two longitudes") << "90 0 N 10 0 E 90 0 N 150 0 W";
    QTest::newRow("south pole at two longitudes") << "90 0 S 0 0 E 89 60 S 77 0 E";
    QTest::newRow("out of range but equal") << "200 0 N 500 0 E 200 0 N 500 0 E";
}

void tst_Calcs::sameLocation()
{
    QFETCH(QString, route);

    // A previous run's results must survive untouched.
    const ResultState previous =
        computeRoute(locationFrom("10 0 N 10 0 E 50 0 N 170 0 W"), ResultState{}, ".").results;
    const RouteRun run = computeRoute(locationFrom(route), previous, ".");
    QCOMPARE(run.outcome, RouteOutcome::SameLocation);
    QVERIFY(run.writes.empty());
    QVERIFY(run.results == previous);
    QCOMPARE(QString::fromStdString(run.message), QString("Same Location!"));
}

void tst_Calcs::failures_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QString>("stoppedAt"); // the box of the value that could not be computed
    QTest::addColumn<QString>("message");

    QTest::newRow("start latitude 1e400")
        << "1e400 0 N 5 0 E 10 0 N 6 0 W" << QStringList{"Text11=11.00"} << "Text14"
        << "This route cannot be computed: the start latitude is too large a number.";
    QTest::newRow("start latitude -1e400 south")
        << "-1e400 0 S 5 0 E 10 0 N 6 0 W" << QStringList{"Text11=11.00", "Text16=80.00"}
        << "Text14"
        << "This route cannot be computed: the start latitude is too large a number.";
    QTest::newRow("end latitude in the minutes")
        << "10 0 N 5 0 E 10 1e400 N 6 0 W" << QStringList{"Text11=11.00", "Text14=80.00"}
        << "Text16"
        << "This route cannot be computed: the end latitude is too large a number.";
    QTest::newRow("start longitude 1e400")
        << "10 0 N 1e400 0 E 10 0 N 6 0 W" << QStringList{} << "Text11"
        << "This route cannot be computed: the start longitude is too large a number.";
    QTest::newRow("end longitude 1e400")
        << "10 0 N 5 0 E 10 0 N 1e400 0 W" << QStringList{} << "Text11"
        << "This route cannot be computed: the end longitude is too large a number.";
    QTest::newRow("degrees and minutes cancel to nothing")
        << "1e400 -1e400 N 5 0 E 10 0 N 6 0 W" << QStringList{"Text11=11.00"} << "Text14"
        << "This route cannot be computed: the start latitude is too large a number.";
    QTest::newRow("finite longitudes whose sum overflows")
        << "10 0 N 1e308 0 E 10 0 N 1.5e308 0 W" << QStringList{} << "Text11"
        << "This route cannot be computed: the end longitude is too large a number.";
    QTest::newRow("latitude overflowing in radians")
        << "10 0 N 5 0 E 1e308 0 S 6 0 W" << QStringList{"Text11=11.00", "Text14=80.00"} << "Text16"
        << "This route cannot be computed: the end latitude is too large a number.";
    QTest::newRow("start given as the north pole out of range")
        << "-90 0 S 5 0 E 10 0 N 6 0 W"
        << QStringList{"Text11=11.00", "Text16=80.00",  "Text14=.00",
                       "Text12=80.00", "Text3=4800.00", "Text6=5520.00"}
        << "Text19"
        << "This route cannot be computed: the start location lies on a pole, where the angle "
           "at the start is undefined.";
    QTest::newRow("end given as the north pole out of range")
        << "10 0 N 5 0 E -90 0 S 6 0 W"
        << QStringList{"Text11=11.00",  "Text14=80.00",  "Text16=.00", "Text12=80.00",
                       "Text3=4800.00", "Text6=5520.00", "Text19=.00"}
        << "Text20"
        << "This route cannot be computed: the end location lies on a pole, where the angle at "
           "the end is undefined.";
}

void tst_Calcs::failures()
{
    QFETCH(QString, route);
    QFETCH(QStringList, writes);
    QFETCH(QString, stoppedAt);
    QFETCH(QString, message);

    const ResultState previous =
        computeRoute(locationFrom("37 45 N 122 27 W 34 0 S 151 0 E"), ResultState{}, ".").results;
    const RouteRun run = computeRoute(locationFrom(route), previous, ".");
    QCOMPARE(run.outcome, RouteOutcome::Failed);
    QCOMPARE(writesOf(run), writes);
    QVERIFY(run.stoppedAt.has_value());
    QCOMPARE(boxName(*run.stoppedAt), stoppedAt);
    QCOMPARE(QString::fromStdString(run.message), message);
    QVERIFY(!anyBoxShowsNonFinite(run));
    QVERIFY(allFinite(run.results));
    // What was not reached keeps the previous run's values.
    QCOMPARE(run.results.directionEW, previous.directionEW);
    QCOMPARE(run.results.initialCourse, previous.initialCourse);
    QCOMPARE(run.results.arrivalCourse, previous.arrivalCourse);
}

// Angles outside the offered ranges are computed as written while the arithmetic stays finite.
// A colatitude beyond a pole is the point on the opposite meridian, so the distance must match
// that point's.
void tst_Calcs::outOfRangeAngles_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("startColat");
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");

    QTest::newRow("latitude 200 north") << "200 0 N 5 0 E 10 0 N 6 0 W"
                                        << "-110.00" << -20.0 << -175.0 << 10.0 << -6.0;
    QTest::newRow("latitude -5 north") << "-5 0 N 5 0 E 10 0 N 6 0 W"
                                       << "95.00" << -5.0 << 5.0 << 10.0 << -6.0;
    QTest::newRow("latitude -5 south") << "-5 0 S 5 0 E 10 0 N 6 0 W"
                                       << "85.00" << 5.0 << 5.0 << 10.0 << -6.0;
    QTest::newRow("longitude 200 east") << "10 0 N 200 0 E 20 0 N 30 0 E"
                                        << "80.00" << 10.0 << -160.0 << 20.0 << 30.0;
    QTest::newRow("negative longitude") << "10 0 N -20 0 E 20 0 N 30 0 E"
                                        << "80.00" << 10.0 << -20.0 << 20.0 << 30.0;
    QTest::newRow("minutes 90") << "10 90 N 5 0 E 10 0 N 6 0 W"
                                << "78.50" << 11.5 << 5.0 << 10.0 << -6.0;
}

void tst_Calcs::outOfRangeAngles()
{
    QFETCH(QString, route);
    QFETCH(QString, startColat);
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);

    const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    QCOMPARE(run.writes.size(), std::size_t(12));
    QVERIFY(!anyBoxShowsNonFinite(run));
    QVERIFY(allFinite(run.results));
    QCOMPARE(boxText(run, "Text14"), startColat);
    const SphereSolution reference = solveSphere(lat1, lon1, lat2, lon2);
    QVERIFY2(std::fabs(run.results.dist - reference.arcDegrees) <= kArcTolerance,
             qPrintable(QString("%1 vs %2")
                            .arg(run.results.dist, 0, 'g', 12)
                            .arg(reference.arcDegrees, 0, 'g', 12)));
}

void tst_Calcs::againstFullPrecisionSphere_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");

    QTest::newRow("San Francisco to Sydney")
        << "37 45 N 122 27 W 34 0 S 151 0 E" << 37.75 << -122.45 << -34.0 << 151.0;
    QTest::newRow("Sydney to San Francisco")
        << "33 56 S 151 10 E 37 47 N 122 25 W" << -(33 + 56 / 60.0) << 151 + 10 / 60.0
        << 37 + 47 / 60.0 << -(122 + 25 / 60.0);
    QTest::newRow("New York to London") << "40 45 N 73 58 W 51 28 N 0 27 W" << 40.75
                                        << -(73 + 58 / 60.0) << 51 + 28 / 60.0 << -0.45;
    QTest::newRow("north-north-east")
        << "10 0 N 20 0 W 50 0 N 10 0 W" << 10.0 << -20.0 << 50.0 << -10.0;
    QTest::newRow("equator to 60 north")
        << "0 0 N 0 0 E 60 0 N 10 0 E" << 0.0 << 0.0 << 60.0 << 10.0;
    QTest::newRow("45 south") << "45 0 S 0 0 E 45 0 S 90 0 E" << -45.0 << 0.0 << -45.0 << 90.0;
    QTest::newRow("Cape Town to Perth") << "33 55 S 18 25 E 31 57 S 115 52 E" << -(33 + 55 / 60.0)
                                        << 18 + 25 / 60.0 << -(31 + 57 / 60.0) << 115 + 52 / 60.0;
    QTest::newRow("Tokyo to Anchorage") << "35 41 N 139 41 E 61 13 N 149 54 W" << 35 + 41 / 60.0
                                        << 139 + 41 / 60.0 << 61 + 13 / 60.0 << -(149 + 54 / 60.0);
    QTest::newRow("Lima to Reykjavik") << "12 3 S 77 2 W 64 8 N 21 56 W" << -(12 + 3 / 60.0)
                                       << -(77 + 2 / 60.0) << 64 + 8 / 60.0 << -(21 + 56 / 60.0);
    QTest::newRow("near the pole, long way round")
        << "85 0 N 170 0 E 80 0 N 9 0 W" << 85.0 << 170.0 << 80.0 << -9.0;
    QTest::newRow("short hop") << "51 28 N 0 27 W 51 30 N 0 7 W" << 51 + 28 / 60.0 << -0.45 << 51.5
                               << -7 / 60.0;
    QTest::newRow("nearly antipodal")
        << "30 0 N 10 0 E 29 0 S 169 0 W" << 30.0 << 10.0 << -29.0 << -169.0;
}

// The five-decimal half turn scales every conversion by pi / 3.14159 (about 1 + 8.4e-7): the
// arc grows by up to 1.6e-4 degrees (0.01 nautical miles at half the globe), and the courses
// move by a few thousandths of a degree. Anything beyond that is a fault.
void tst_Calcs::againstFullPrecisionSphere()
{
    QFETCH(QString, route);
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);

    const LocationState location = locationFrom(route);
    // The reference gets the same angles the texts give, full precision from there on.
    const double sLat = location.startLatDir == "N" ? location.startLat : -location.startLat;
    const double sLon = location.startLongDir == "E" ? location.startLong : -location.startLong;
    const double eLat = location.endLatDir == "N" ? location.endLat : -location.endLat;
    const double eLon = location.endLongDir == "E" ? location.endLong : -location.endLong;
    QVERIFY(std::fabs(sLat - lat1) < 1e-12 && std::fabs(sLon - lon1) < 1e-12);
    QVERIFY(std::fabs(eLat - lat2) < 1e-12 && std::fabs(eLon - lon2) < 1e-12);
    const SphereSolution reference = solveSphere(sLat, sLon, eLat, eLon);

    const RouteRun run = computeRoute(location, ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    const ResultState& r = run.results;
    QVERIFY2(
        std::fabs(r.dist - reference.arcDegrees) <= kArcTolerance,
        qPrintable(
            QString("arc %1 vs %2").arg(r.dist, 0, 'g', 12).arg(reference.arcDegrees, 0, 'g', 12)));
    QVERIFY2(courseDifference(r.initialCourse, reference.initialCourse) <= kCourseTolerance,
             qPrintable(QString("initial %1 vs %2")
                            .arg(r.initialCourse, 0, 'g', 12)
                            .arg(reference.initialCourse, 0, 'g', 12)));
    QVERIFY2(courseDifference(r.arrivalCourse, reference.arrivalCourse) <= kCourseTolerance,
             qPrintable(QString("arrival %1 vs %2")
                            .arg(r.arrivalCourse, 0, 'g', 12)
                            .arg(reference.arrivalCourse, 0, 'g', 12)));
}

// Figures an independent geodesic solver gives on a sphere, to four decimals.
void tst_Calcs::independentSolverFigures_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<double>("initial");
    QTest::addColumn<double>("arrival");
    QTest::addColumn<double>("nauticalMiles");

    QTest::newRow("Sydney to San Francisco")
        << "33 56 S 151 10 E 37 47 N 122 25 W" << 55.8077 << 60.2668 << 6451.1696;
    QTest::newRow("north-north-east")
        << "10 0 N 20 0 W 50 0 N 10 0 W" << 9.8257 << 15.1563 << 2450.9850;
    QTest::newRow("equator to 60 north")
        << "0 0 N 0 0 E 60 0 N 10 0 E" << 5.7251 << 11.5084 << 3630.0777;
    QTest::newRow("45 south") << "45 0 S 0 0 E 45 0 S 90 0 E" << 125.2644 << 54.7356 << 3600.0;
    QTest::newRow("over the north pole")
        << "10 0 N 10 0 E 50 0 N 170 0 W" << 0.0 << 180.0 << 7200.0;
    QTest::newRow("over the north pole, southward end")
        << "50 0 N 10 0 E 10 0 N 170 0 W" << 0.0 << 180.0 << 7200.0;
}

void tst_Calcs::independentSolverFigures()
{
    QFETCH(QString, route);
    QFETCH(double, initial);
    QFETCH(double, arrival);
    QFETCH(double, nauticalMiles);

    const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
    QCOMPARE(run.outcome, RouteOutcome::Completed);
    const double rounding = 5e-5; // the figures' last decimal
    QVERIFY(courseDifference(run.results.initialCourse, initial) <= kCourseTolerance + rounding);
    QVERIFY(courseDifference(run.results.arrivalCourse, arrival) <= kCourseTolerance + rounding);
    QVERIFY(std::fabs(run.results.dist * 60.0 - nauticalMiles) <= kArcTolerance * 60.0 + rounding);
}

// Whole degrees over poles, meridians, the equator and the date line in every hemisphere: no
// route may fail, show a non-number, or leave the ranges of courses and angles.
void tst_Calcs::everyBoxFiniteOnAGrid()
{
    QStringList points; // latitude degrees, minutes, letter, longitude degrees, minutes, letter
    for (const QString latitude : {"0 0", "1 0", "45 0", "89 59", "90 0"})
        for (const QString ns : {"N", "S"})
            for (const QString longitude : {"0 0", "10 0", "90 0", "170 0", "179 59", "180 0"})
                for (const QString ew : {"E", "W"})
                    points << QStringList{latitude, ns, longitude, ew}.join(' ');
    int routes = 0;
    for (const QString& start : points) {
        for (const QString& end : points) {
            const QString route = start + ' ' + end;
            const RouteRun run = computeRoute(locationFrom(route), ResultState{}, ".");
            ++routes;
            const ResultState& r = run.results;
            const bool inRanges = r.startAngle >= 0 && r.startAngle <= 180 && r.endAngle >= 0 &&
                                  r.endAngle <= 180 && r.initialCourse >= 0 &&
                                  r.initialCourse <= 360 && r.arrivalCourse >= 0 &&
                                  r.arrivalCourse <= 360;
            const bool ok = run.outcome != RouteOutcome::Failed && !anyBoxShowsNonFinite(run) &&
                            allFinite(r) &&
                            (run.outcome == RouteOutcome::SameLocation ||
                             (run.writes.size() == 12 && inRanges));
            if (!ok)
                QFAIL(qPrintable(route + ": " + writesOf(run).join(", ") + " " +
                                 QString::fromStdString(run.message)));
        }
    }
    QCOMPARE(routes, 14400);
}

void tst_Calcs::decimalSeparator()
{
    const RouteRun eastWest =
        computeRoute(locationFrom("37 45 N 122 27 W 34 0 S 151 0 E"), ResultState{}, ",");
    QCOMPARE(boxText(eastWest, "Text3"), QString("6457,91"));
    QCOMPARE(boxText(eastWest, "Text4"), QString("240,26"));
    const RouteRun northSouth =
        computeRoute(locationFrom("10 0 N 10 0 E 50 0 N 170 0 W"), ResultState{}, ",");
    QCOMPARE(boxText(northSouth, "Text19"), QString(",00"));
    QCOMPARE(boxText(northSouth, "Text5"), QString("180"));
}

QTEST_GUILESS_MAIN(tst_Calcs)
#include "tst_calcs.moc"
