#include "geo/calcs.h"

#include "geo/numberformat.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gyrena {

namespace {

// The half turn of every degree/radian conversion. Five decimals on purpose: the results users
// compare with (3600.01 nautical miles for a quarter of the 45th parallel south) depend on it.
constexpr double kHalfTurn = 3.14159;

// Degrees within which two meridians, two colatitudes or a colatitude and a pole count as equal:
// minutes entered as texts never land exactly on 180 or on each other.
constexpr double kTolerance = 1e-9;

const std::string kEast = "East";
const std::string kWest = "West";
const std::string kNorthSouth = "North/South";
const std::string kNorth = "North";
const std::string kSouth = "South";

double toRadians(double degrees)
{
    return degrees * kHalfTurn / 180.0;
}

double toDegrees(double radians)
{
    return radians * 180.0 / kHalfTurn;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= kTolerance;
}

// Arc cosine as arctangent(-X / sqrt(1 - X^2)) + 2 arctangent(1), 1 - X^2 formed as (-X) X + 1,
// so that routes keep their last digits. Arguments that rounding pushed beyond +-1 are clamped,
// and the limits themselves are returned without dividing by zero.
double arcCosine(double x)
{
    if (x >= 1.0)
        return 0.0;
    if (x <= -1.0)
        return 4.0 * std::atan(1.0);
    const double root = std::sqrt((-x) * x + 1.0);
    return std::atan(-x / root) + 2.0 * std::atan(1.0);
}

double deltaLongitude(const LocationState& l)
{
    if (l.startLongDir == l.endLongDir && (l.startLongDir == "W" || l.startLongDir == "E"))
        return std::fabs(l.startLong - l.endLong);
    if (180.0 - l.startLong > l.endLong)
        return l.startLong + l.endLong;
    return (180.0 - l.endLong) + (180.0 - l.startLong);
}

// The colatitude a latitude letter gives, or nothing for a letter that is neither "N" nor "S"
// (the colatitude then keeps its previous value).
std::optional<double> colatitude(double latitude, const std::string& letter)
{
    if (letter == "N")
        return 90.0 - latitude;
    if (letter == "S")
        return latitude + 90.0;
    return std::nullopt;
}

bool isLatitudeLetter(const std::string& s)
{
    return s == "N" || s == "S";
}

bool isLongitudeLetter(const std::string& s)
{
    return s == "E" || s == "W";
}

bool inRange(double angle, double limit)
{
    return angle >= 0.0 && angle <= limit;
}

// How a route along a meridian runs. Decided before any field is written, because the angles at
// start and end of such a route follow from its courses instead of a division by zero.
enum class MeridianRoute {
    None,  // an east- or westbound route, or angles out of range
    Along, // from or to a pole, or both points on the same meridian
    OverNorthPole,
    OverSouthPole,
};

struct Geometry
{
    double deltaLong = 0.0;
    double startColat = 0.0;
    double endColat = 0.0;
    bool latitudesInRange = false;
    bool allInRange = false;
};

Geometry previewGeometry(const LocationState& l, const ResultState& previous)
{
    Geometry g;
    g.deltaLong = deltaLongitude(l);
    g.startColat = colatitude(l.startLat, l.startLatDir).value_or(previous.startColat);
    g.endColat = colatitude(l.endLat, l.endLatDir).value_or(previous.endColat);
    g.latitudesInRange = isLatitudeLetter(l.startLatDir) && isLatitudeLetter(l.endLatDir) &&
                         inRange(l.startLat, 90.0) && inRange(l.endLat, 90.0);
    g.allInRange = g.latitudesInRange && isLongitudeLetter(l.startLongDir) &&
                   isLongitudeLetter(l.endLongDir) && inRange(l.startLong, 180.0) &&
                   inRange(l.endLong, 180.0);
    return g;
}

bool atPole(double colat)
{
    return near(colat, 0.0) || near(colat, 180.0);
}

bool sameLocation(const LocationState& l, const Geometry& g)
{
    if (!std::isfinite(l.startLat) || !std::isfinite(l.startLong) || !std::isfinite(l.endLat) ||
        !std::isfinite(l.endLong))
        return false;
    if (l.startLat == l.endLat && l.startLong == l.endLong && l.startLatDir == l.endLatDir &&
        l.startLongDir == l.endLongDir)
        return true;
    if (g.latitudesInRange && atPole(g.startColat) && near(g.startColat, g.endColat))
        return true; // one pole given at two longitudes
    return g.allInRange && near(g.startColat, g.endColat) && near(g.deltaLong, 0.0);
}

MeridianRoute classify(const Geometry& g)
{
    if (g.latitudesInRange && (atPole(g.startColat) || atPole(g.endColat)))
        return MeridianRoute::Along; // a pole has every longitude
    if (!g.allInRange)
        return MeridianRoute::None;
    if (near(g.deltaLong, 0.0))
        return MeridianRoute::Along;
    if (near(g.deltaLong, 180.0)) {
        // Antipodal points (sum exactly 180) have every great circle as shortest route; the
        // one over the north pole is given.
        return g.startColat + g.endColat <= 180.0 + kTolerance ? MeridianRoute::OverNorthPole
                                                               : MeridianRoute::OverSouthPole;
    }
    return MeridianRoute::None;
}

// The north/south word of a route along a meridian, from the latitude letters; a letter pair
// outside the table keeps the previous word.
std::string alongMeridianWord(const LocationState& l, const std::string& previousWord)
{
    if (l.startLatDir == "N" && l.endLatDir == "N")
        return l.endLat > l.startLat ? kNorth : kSouth;
    if (l.startLatDir == "S" && l.endLatDir == "S")
        return l.endLat > l.startLat ? kSouth : kNorth;
    if (l.startLatDir == "S" && l.endLatDir == "N")
        return kNorth;
    if (l.startLatDir == "N" && l.endLatDir == "S")
        return kSouth;
    return previousWord;
}

struct NorthSouthCourses
{
    std::string word;
    double initial = 0.0;
    double arrival = 0.0;
};

// The word and the two courses of a North/South route, as the steps after the direction word
// set them. A route the exact comparison alone calls North/South (angles out of range) is
// treated as along a meridian. Courses keep their previous values for a word that is neither
// North nor South.
NorthSouthCourses northSouthCourses(MeridianRoute route, const LocationState& l,
                                    const ResultState& previous)
{
    switch (route) {
    case MeridianRoute::OverNorthPole:
        return {kNorth, 0.0, 180.0};
    case MeridianRoute::OverSouthPole:
        return {kSouth, 180.0, 0.0};
    default:
        break;
    }
    NorthSouthCourses courses{alongMeridianWord(l, previous.directionNS), previous.initialCourse,
                              previous.arrivalCourse};
    if (courses.word == kSouth) {
        courses.initial = 180.0;
        courses.arrival = 180.0;
    } else if (courses.word == kNorth) {
        courses.initial = 0.0;
        courses.arrival = 0.0;
    }
    return courses;
}

// The direction word of an east- or westbound route, from the longitude letters and one exact
// comparison; a letter pair outside the table keeps the previous word.
std::string eastWestWord(const LocationState& l, const std::string& previousWord)
{
    double left = 0.0;
    bool lessIsEast = false;
    if (l.startLongDir == "W" && (l.endLongDir == "W" || l.endLongDir == "E")) {
        left = l.endLongDir == "W" ? l.startLong : 180.0 - l.startLong;
        lessIsEast = false;
    } else if (l.startLongDir == "E" && (l.endLongDir == "E" || l.endLongDir == "W")) {
        left = l.endLongDir == "E" ? l.startLong : 180.0 - l.startLong;
        lessIsEast = true;
    } else {
        return previousWord;
    }
    if (left < l.endLong)
        return lessIsEast ? kEast : kWest;
    if (left > l.endLong)
        return lessIsEast ? kWest : kEast;
    return kNorthSouth;
}

std::string cannotCompute(const std::string& why)
{
    return "This route cannot be computed: " + why + ".";
}

std::string tooLarge(const char* what)
{
    return cannotCompute(std::string("the ") + what + " is too large a number");
}

// Runs the steps in order, writing fields as it goes; the first failing step ends the run.
class Computation
{
public:
    Computation(const LocationState& location, const ResultState& previous,
                std::string_view separator)
        : m_l(location), m_separator(separator)
    {
        m_run.results = previous;
        m_run.writes.reserve(kResultFieldCount);
    }

    RouteRun run()
    {
        const Geometry geometry = previewGeometry(m_l, m_run.results);
        if (sameLocation(m_l, geometry)) {
            m_run.outcome = RouteOutcome::SameLocation;
            m_run.message = "Same Location!";
            return std::move(m_run);
        }
        m_route = classify(geometry);
        m_northSouth = northSouthCourses(m_route, m_l, m_run.results);
        (void)(deltaLongitudeStep() && colatitudeSteps() && distanceSteps() && startAngleStep() &&
               endAngleStep() && directionAndCourseSteps());
        return std::move(m_run);
    }

private:
    ResultState& r() { return m_run.results; }

    void write(ResultField field, std::string text)
    {
        m_run.writes.push_back({field, std::move(text)});
    }
    void writeTwoDecimals(ResultField field, double value)
    {
        write(field, formatTwoDecimals(value, m_separator));
    }

    bool fail(ResultField field, std::string message)
    {
        m_run.outcome = RouteOutcome::Failed;
        m_run.stoppedAt = field;
        m_run.message = std::move(message);
        return false;
    }

    bool deltaLongitudeStep()
    {
        const double deltaLong = deltaLongitude(m_l);
        const double deltaLongRad = toRadians(deltaLong);
        if (!std::isfinite(deltaLong) || !std::isfinite(deltaLongRad)) {
            const bool blameStart =
                !std::isfinite(m_l.startLong) ||
                (std::isfinite(m_l.endLong) && std::fabs(m_l.startLong) >= std::fabs(m_l.endLong));
            return fail(ResultField::DeltaLongitude,
                        tooLarge(blameStart ? "start longitude" : "end longitude"));
        }
        r().deltaLong = deltaLong;
        r().deltaLongRad = deltaLongRad;
        writeTwoDecimals(ResultField::DeltaLongitude, r().deltaLong);
        return true;
    }

    bool colatitudeStep(bool start, const char* letter)
    {
        const double latitude = start ? m_l.startLat : m_l.endLat;
        const std::string& dir = start ? m_l.startLatDir : m_l.endLatDir;
        if (dir != letter)
            return true;
        const double colat = *colatitude(latitude, dir);
        const double colatRad = toRadians(colat);
        const ResultField field = start ? ResultField::StartColatitude : ResultField::EndColatitude;
        if (!std::isfinite(colat) || !std::isfinite(colatRad))
            return fail(field, tooLarge(start ? "start latitude" : "end latitude"));
        (start ? r().startColat : r().endColat) = colat;
        (start ? r().startColatRad : r().endColatRad) = colatRad;
        writeTwoDecimals(field, colat);
        return true;
    }

    bool colatitudeSteps()
    {
        return colatitudeStep(true, "N") && colatitudeStep(false, "N") &&
               colatitudeStep(true, "S") && colatitudeStep(false, "S");
    }

    bool distanceSteps()
    {
        const double distCos =
            std::cos(r().startColatRad) * std::cos(r().endColatRad) +
            std::sin(r().endColatRad) * std::sin(r().startColatRad) * std::cos(r().deltaLongRad);
        if (!std::isfinite(distCos))
            return fail(ResultField::Arc,
                        cannotCompute("the distance is beyond the range of numbers"));
        r().distCos = distCos;
        r().distRad = arcCosine(distCos);
        r().dist = toDegrees(r().distRad);
        writeTwoDecimals(ResultField::Arc, r().dist);
        writeTwoDecimals(ResultField::DistanceNm, r().dist * 60.0);
        writeTwoDecimals(ResultField::DistanceStatute, r().dist * 60.0 * 1.15);
        return true;
    }

    // The angle of the triangle at one end by the law of cosines, or a message when it has none.
    struct Angle
    {
        double cosine = 0.0;
        double radians = 0.0;
        double degrees = 0.0;
        std::string failure;
    };

    Angle angleAt(bool start) const
    {
        const ResultState& s = m_run.results;
        const double ownColatRad = start ? s.startColatRad : s.endColatRad;
        const double otherColatRad = start ? s.endColatRad : s.startColatRad;
        Angle angle;
        const double sinDist = std::sin(s.distRad);
        const double sinOwn = std::sin(ownColatRad);
        if (sinDist == 0.0) {
            angle.failure = cannotCompute("the two locations are too close together to tell the "
                                          "courses between them");
            return angle;
        }
        if (sinOwn == 0.0) {
            angle.failure = cannotCompute(start ? "the start location lies on a pole, where the "
                                                  "angle at the start is undefined"
                                                : "the end location lies on a pole, where the "
                                                  "angle at the end is undefined");
            return angle;
        }
        angle.cosine = (std::cos(otherColatRad) - std::cos(s.distRad) * std::cos(ownColatRad)) /
                       (sinDist * sinOwn);
        if (!std::isfinite(angle.cosine)) {
            angle.failure = cannotCompute(start ? "the angle at the start is beyond the range "
                                                  "of numbers"
                                                : "the angle at the end is beyond the range of "
                                                  "numbers");
            return angle;
        }
        angle.radians = arcCosine(angle.cosine);
        // The five-decimal half turn makes a straight angle 180.00015 degrees.
        angle.degrees = std::min(toDegrees(angle.radians), 180.0);
        return angle;
    }

    // A North/South route's angles follow from its courses: no division by a zero sine.
    static Angle angleFromCourse(double degrees)
    {
        Angle angle;
        angle.degrees = degrees;
        angle.radians = toRadians(degrees);
        angle.cosine = std::cos(angle.radians);
        return angle;
    }

    bool startAngleStep()
    {
        const Angle angle =
            m_route != MeridianRoute::None ? angleFromCourse(m_northSouth.initial) : angleAt(true);
        if (!angle.failure.empty())
            return fail(ResultField::StartAngle, angle.failure);
        r().startAngleCos = angle.cosine;
        r().startAngleRad = angle.radians;
        r().startAngle = angle.degrees;
        writeTwoDecimals(ResultField::StartAngle, r().startAngle);
        return true;
    }

    bool endAngleStep()
    {
        const Angle angle = m_route != MeridianRoute::None
                                ? angleFromCourse(180.0 - m_northSouth.arrival)
                                : angleAt(false);
        if (!angle.failure.empty())
            return fail(ResultField::EndAngle, angle.failure);
        r().endAngleCos = angle.cosine;
        r().endAngleRad = angle.radians;
        r().endAngleSin = std::sin(angle.radians);
        r().endAngle = angle.degrees;
        writeTwoDecimals(ResultField::EndAngle, r().endAngle);
        return true;
    }

    bool directionAndCourseSteps()
    {
        r().directionEW =
            m_route != MeridianRoute::None ? kNorthSouth : eastWestWord(m_l, r().directionEW);
        if (r().directionEW == kEast) {
            r().initialCourse = r().startAngle;
            writeTwoDecimals(ResultField::InitialCourse, r().initialCourse);
            r().arrivalCourse = 180.0 - r().endAngle;
            writeTwoDecimals(ResultField::ArrivalCourse, r().arrivalCourse);
        } else if (r().directionEW == kWest) {
            r().initialCourse = 360.0 - r().startAngle;
            writeTwoDecimals(ResultField::InitialCourse, r().initialCourse);
            r().arrivalCourse = r().endAngle + 180.0;
            writeTwoDecimals(ResultField::ArrivalCourse, r().arrivalCourse);
        }
        write(ResultField::DirectionEW, r().directionEW);
        const bool northSouth = r().directionEW == kNorthSouth;
        if (northSouth)
            r().directionNS = m_northSouth.word;
        write(ResultField::DirectionNS, r().directionNS);
        if (northSouth) {
            r().initialCourse = m_northSouth.initial;
            write(ResultField::InitialCourse, formatPlainNumber(r().initialCourse));
            r().arrivalCourse = m_northSouth.arrival;
            write(ResultField::ArrivalCourse, formatPlainNumber(r().arrivalCourse));
        }
        return true;
    }

    const LocationState& m_l;
    std::string_view m_separator;
    RouteRun m_run;
    MeridianRoute m_route = MeridianRoute::None;
    NorthSouthCourses m_northSouth;
};

} // namespace

RouteRun computeRoute(const LocationState& location, const ResultState& previous,
                      std::string_view decimalSeparator)
{
    return Computation(location, previous, decimalSeparator).run();
}

} // namespace gyrena
