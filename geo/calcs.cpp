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

// The boxes a route writes at most.
constexpr std::size_t kMostWrites = kOutputBoxes.size();

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
    if (l.StartLongDir == l.EndLongDir && (l.StartLongDir == "W" || l.StartLongDir == "E"))
        return std::fabs(l.StartLong - l.EndLong);
    if (180.0 - l.StartLong > l.EndLong)
        return l.StartLong + l.EndLong;
    return (180.0 - l.EndLong) + (180.0 - l.StartLong);
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

// How a route along a meridian runs. Decided before any box is written, because the angles at
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
    g.startColat = colatitude(l.StartLat, l.StartLatDir).value_or(previous.StartColat);
    g.endColat = colatitude(l.EndLat, l.EndLatDir).value_or(previous.EndColat);
    g.latitudesInRange = isLatitudeLetter(l.StartLatDir) && isLatitudeLetter(l.EndLatDir) &&
                         inRange(l.StartLat, 90.0) && inRange(l.EndLat, 90.0);
    g.allInRange = g.latitudesInRange && isLongitudeLetter(l.StartLongDir) &&
                   isLongitudeLetter(l.EndLongDir) && inRange(l.StartLong, 180.0) &&
                   inRange(l.EndLong, 180.0);
    return g;
}

bool atPole(double colat)
{
    return near(colat, 0.0) || near(colat, 180.0);
}

bool sameLocation(const LocationState& l, const Geometry& g)
{
    if (!std::isfinite(l.StartLat) || !std::isfinite(l.StartLong) || !std::isfinite(l.EndLat) ||
        !std::isfinite(l.EndLong))
        return false;
    if (l.StartLat == l.EndLat && l.StartLong == l.EndLong && l.StartLatDir == l.EndLatDir &&
        l.StartLongDir == l.EndLongDir)
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
    if (l.StartLatDir == "N" && l.EndLatDir == "N")
        return l.EndLat > l.StartLat ? kNorth : kSouth;
    if (l.StartLatDir == "S" && l.EndLatDir == "S")
        return l.EndLat > l.StartLat ? kSouth : kNorth;
    if (l.StartLatDir == "S" && l.EndLatDir == "N")
        return kNorth;
    if (l.StartLatDir == "N" && l.EndLatDir == "S")
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
    NorthSouthCourses courses{alongMeridianWord(l, previous.DirectionNS), previous.InitialCourse,
                              previous.ArrivalCourse};
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
    if (l.StartLongDir == "W" && (l.EndLongDir == "W" || l.EndLongDir == "E")) {
        left = l.EndLongDir == "W" ? l.StartLong : 180.0 - l.StartLong;
        lessIsEast = false;
    } else if (l.StartLongDir == "E" && (l.EndLongDir == "E" || l.EndLongDir == "W")) {
        left = l.EndLongDir == "E" ? l.StartLong : 180.0 - l.StartLong;
        lessIsEast = true;
    } else {
        return previousWord;
    }
    if (left < l.EndLong)
        return lessIsEast ? kEast : kWest;
    if (left > l.EndLong)
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

// Runs the steps in order, writing boxes as it goes; the first failing step ends the run.
class Computation
{
public:
    Computation(const LocationState& location, const ResultState& previous,
                std::string_view separator)
        : m_l(location), m_separator(separator)
    {
        m_run.results = previous;
        m_run.writes.reserve(kMostWrites);
    }

    CalcsRun run()
    {
        const Geometry geometry = previewGeometry(m_l, m_run.results);
        if (sameLocation(m_l, geometry)) {
            m_run.outcome = CalcsOutcome::SameLocation;
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

    void write(const char* box, std::string text)
    {
        m_run.writes.push_back({box, std::move(text)});
    }
    void writeTwoDecimals(const char* box, double value)
    {
        write(box, formatTwoDecimals(value, m_separator));
    }

    bool fail(std::string message)
    {
        m_run.outcome = CalcsOutcome::Failed;
        m_run.message = std::move(message);
        return false;
    }

    bool deltaLongitudeStep()
    {
        const double deltaLong = deltaLongitude(m_l);
        const double deltaLongRad = toRadians(deltaLong);
        if (!std::isfinite(deltaLong) || !std::isfinite(deltaLongRad)) {
            const bool blameStart =
                !std::isfinite(m_l.StartLong) ||
                (std::isfinite(m_l.EndLong) && std::fabs(m_l.StartLong) >= std::fabs(m_l.EndLong));
            return fail(tooLarge(blameStart ? "start longitude" : "end longitude"));
        }
        r().DeltaLong = deltaLong;
        r().DeltaLongRad = deltaLongRad;
        writeTwoDecimals("Text11", r().DeltaLong);
        return true;
    }

    bool colatitudeStep(bool start, const char* letter)
    {
        const double latitude = start ? m_l.StartLat : m_l.EndLat;
        const std::string& dir = start ? m_l.StartLatDir : m_l.EndLatDir;
        if (dir != letter)
            return true;
        const double colat = *colatitude(latitude, dir);
        const double colatRad = toRadians(colat);
        if (!std::isfinite(colat) || !std::isfinite(colatRad))
            return fail(tooLarge(start ? "start latitude" : "end latitude"));
        (start ? r().StartColat : r().EndColat) = colat;
        (start ? r().StartColatRad : r().EndColatRad) = colatRad;
        writeTwoDecimals(start ? "Text14" : "Text16", colat);
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
            std::cos(r().StartColatRad) * std::cos(r().EndColatRad) +
            std::sin(r().EndColatRad) * std::sin(r().StartColatRad) * std::cos(r().DeltaLongRad);
        if (!std::isfinite(distCos))
            return fail(cannotCompute("the distance is beyond the range of numbers"));
        r().DistCos = distCos;
        r().DistRad = arcCosine(distCos);
        r().Dist = toDegrees(r().DistRad);
        writeTwoDecimals("Text12", r().Dist);
        writeTwoDecimals("Text3", r().Dist * 60.0);
        writeTwoDecimals("Text6", r().Dist * 60.0 * 1.15);
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
        const double ownColatRad = start ? s.StartColatRad : s.EndColatRad;
        const double otherColatRad = start ? s.EndColatRad : s.StartColatRad;
        Angle angle;
        const double sinDist = std::sin(s.DistRad);
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
        angle.cosine = (std::cos(otherColatRad) - std::cos(s.DistRad) * std::cos(ownColatRad)) /
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
            return fail(angle.failure);
        r().StartAngleCos = angle.cosine;
        r().StartAngleRad = angle.radians;
        r().StartAngle = angle.degrees;
        writeTwoDecimals("Text19", r().StartAngle);
        return true;
    }

    bool endAngleStep()
    {
        const Angle angle = m_route != MeridianRoute::None
                                ? angleFromCourse(180.0 - m_northSouth.arrival)
                                : angleAt(false);
        if (!angle.failure.empty())
            return fail(angle.failure);
        r().EndAngleCos = angle.cosine;
        r().EndAngleRad = angle.radians;
        r().EndAngleSin = std::sin(angle.radians);
        r().EndAngle = angle.degrees;
        writeTwoDecimals("Text20", r().EndAngle);
        return true;
    }

    bool directionAndCourseSteps()
    {
        r().DirectionEW =
            m_route != MeridianRoute::None ? kNorthSouth : eastWestWord(m_l, r().DirectionEW);
        if (r().DirectionEW == kEast) {
            r().InitialCourse = r().StartAngle;
            writeTwoDecimals("Text4", r().InitialCourse);
            r().ArrivalCourse = 180.0 - r().EndAngle;
            writeTwoDecimals("Text5", r().ArrivalCourse);
        } else if (r().DirectionEW == kWest) {
            r().InitialCourse = 360.0 - r().StartAngle;
            writeTwoDecimals("Text4", r().InitialCourse);
            r().ArrivalCourse = r().EndAngle + 180.0;
            writeTwoDecimals("Text5", r().ArrivalCourse);
        }
        write("Text17", r().DirectionEW);
        const bool northSouth = r().DirectionEW == kNorthSouth;
        if (northSouth)
            r().DirectionNS = m_northSouth.word;
        write("Text18", r().DirectionNS);
        if (northSouth) {
            r().InitialCourse = m_northSouth.initial;
            write("Text4", formatPlainNumber(r().InitialCourse));
            r().ArrivalCourse = m_northSouth.arrival;
            write("Text5", formatPlainNumber(r().ArrivalCourse));
        }
        return true;
    }

    const LocationState& m_l;
    std::string_view m_separator;
    CalcsRun m_run;
    MeridianRoute m_route = MeridianRoute::None;
    NorthSouthCourses m_northSouth;
};

} // namespace

CalcsRun Calcs(const LocationState& location, const ResultState& previous,
               std::string_view decimalSeparator)
{
    return Computation(location, previous, decimalSeparator).run();
}

} // namespace gyrena
