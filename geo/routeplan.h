#pragma once

// Route planning on the great circle between two locations: waypoints, rhumb-line legs, the
// vertex, the rhumb line against the great circle, and the WGS84 ellipsoid's geodesic.
//
// Unlike the triangle of calcs.h, which keeps its five-decimal angle constant, everything here
// uses full-precision pi on the same sphere, where 1 nautical mile is 1 arc minute (radius
// 10800 / pi nautical miles). The WGS84 figures come from GeographicLib.

#include "geo/latlon.h"
#include "geo/location.h"

#include <string>
#include <vector>

namespace gyrena {

// The start and end of the location state as signed degrees (an "S" or "W" letter makes the
// angle negative). Angles are passed on as they are, in range or not.
LatLon startPosition(const LocationState& location);
LatLon endPosition(const LocationState& location);

// Nautical miles in one degree of arc on the sphere (1 nm = 1 arc minute).
inline constexpr double kNauticalMilesPerDegree = 60.0;
// The finest spacing by distance a plan accepts; a smaller one is taken as this.
inline constexpr double kMinimumSpacingNm = 1.0;

struct PlanOptions
{
    enum class Spacing {
        Meridians, // a waypoint where the route crosses each multiple of everyDegrees of longitude
        Distance,  // a waypoint every everyNm nautical miles along the route
    };
    Spacing spacing = Spacing::Meridians;
    int everyDegrees = 10;  // 1..90; values outside are brought into that range
    double everyNm = 600.0; // at least kMinimumSpacingNm

    bool operator==(const PlanOptions&) const = default;
};

// One point of the route. The start and end keep the longitude they were given (wrapped), even
// at a pole.
struct Waypoint
{
    LatLon position;
    double distance = 0.0; // nautical miles along the great circle from the start
    // Great-circle course at this point in degrees 0..360 (0 north, 90 east): the course of
    // departure, and at the end the course of arrival. At a pole, where every direction is
    // south (north pole) or north (south pole), it is 180 or 0 leaving it, 0 or 180 arriving.
    double course = 0.0;
};

// The rhumb line from one waypoint to the next, or from the start to the end.
struct RhumbLeg
{
    double course = 0.0;   // constant course, degrees 0..360; 0 or 180 to or from a pole
    double distance = 0.0; // nautical miles
};

// A point of highest (north) or lowest (south) latitude of the whole great circle.
struct VertexPoint
{
    LatLon position;
    bool onRoute = false;  // the route between start and end passes through it (ends included)
    double distance = 0.0; // nautical miles from the start to it when on the route, else 0
};

struct Vertex
{
    enum class Kind {
        Points,  // north and south are the two opposite vertices of the great circle
        Equator, // the route runs along the equator: every point of it is at latitude 0, so
                 // there is no single vertex (north and south hold latitude 0, onRoute false)
        Poles,   // the great circle is a meridian: its vertices are the poles (longitude 0)
    };
    Kind kind = Kind::Points;
    VertexPoint north; // latitude >= 0
    VertexPoint south; // latitude <= 0, opposite the north one
};

struct RhumbComparison
{
    RhumbLeg line;              // start to end on one constant course
    double excessNm = 0.0;      // how much longer than the great circle, nautical miles (>= 0)
    double excessPercent = 0.0; // the same in per cent of the great-circle distance
};

// The geodesic on the WGS84 ellipsoid (GeographicLib).
struct Wgs84Route
{
    double metres = 0.0;
    double distance = 0.0;      // nautical miles of 1852 m
    double initialCourse = 0.0; // azimuth at the start, degrees 0..360
    double arrivalCourse = 0.0; // azimuth at the end, degrees 0..360
    double minusSphereNm = 0.0; // distance - the sphere's great-circle distance, nautical miles
};

struct RoutePlan
{
    // False when there is no route: the two locations coincide (within 1e-9 degrees, a pole at
    // any two longitudes included) or an angle is out of range or not finite. Every other
    // member then holds its default value, and `problem` says why.
    bool hasRoute = false;
    std::string problem;

    double distance = 0.0;      // great-circle distance, nautical miles
    double initialCourse = 0.0; // degrees 0..360
    double arrivalCourse = 0.0; // degrees 0..360
    // Whether antipodal points were joined over the north pole (any great circle would do).
    bool overNorthPole = false;

    // The spacing used: Meridians falls back to Distance (every everyDegrees degrees of arc,
    // i.e. everyDegrees * 60 nm) for a route along a meridian, over a pole or from or to one,
    // which crosses no other meridian.
    PlanOptions::Spacing spacing = PlanOptions::Spacing::Meridians;
    double spacingValue = 0.0; // degrees of longitude or nautical miles, as spacing says

    std::vector<Waypoint> waypoints; // start, the points in between in route order, end
    std::vector<RhumbLeg> legs;      // legs[i] runs from waypoints[i] to waypoints[i + 1]
    Vertex vertex;
    RhumbComparison rhumb;
    Wgs84Route wgs84;
};

// Plans the route from `start` to `end` (signed degrees: latitudes -90..90, longitudes any
// finite value, wrapped). Never throws; no member of the result is nan or inf; every waypoint
// latitude is in -90..90 and every longitude in -180 < longitude <= 180.
RoutePlan planRoute(LatLon start, LatLon end, const PlanOptions& options = {});

// Wraps a longitude (finite degrees) into -180 < longitude <= 180, as plans keep it: the 180th
// meridian reads east on screen. Files write [-180, 180) instead (io/files/plainnumber.h).
double planLongitude(double degrees);

// The rhumb line from a to b (signed degrees, latitudes in -90..90). Across the 180 meridian it
// takes the shorter way round; exactly half-way round it goes east.
RhumbLeg rhumbLine(LatLon a, LatLon b);

} // namespace gyrena
