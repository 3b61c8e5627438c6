#pragma once

// Paths on the sphere, written once: positions as unit vectors, points along a great-circle arc
// and along a rhumb line. The planner, the views and the map projections all draw on these.

#include "geo/latlon.h"

#include <cmath>
#include <vector>

namespace gyrena {

// A vector in the frame of the Earth's centre: x towards latitude 0 longitude 0, y towards
// longitude 90 east, z towards the north pole.
struct Vector3
{
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Vector3 operator+(Vector3 a, Vector3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(Vector3 a, Vector3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(double k, Vector3 a)
{
    return {k * a.x, k * a.y, k * a.z};
}
inline double dot(Vector3 a, Vector3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vector3 cross(Vector3 a, Vector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(Vector3 a)
{
    return std::sqrt(dot(a, a));
}

// The unit vector of a position (signed degrees, latitude -90..90). The poles lie exactly on the
// axis, so that tests for a pole need no tolerance.
Vector3 unitVector(LatLon p);

// The position of a vector that is not zero (any length): latitude -90..90, longitude
// -180..180 (0 on the axis).
LatLon positionOf(Vector3 v);

// Appends the great circle from a to b (signed degrees) to `out` as points at most about
// `stepDegrees` of arc apart (taken as at least 0.01), b included and a not. Antipodes are
// joined over the north pole, the route leaving the pole along b's meridian.
void appendGreatCircle(std::vector<LatLon>& out, LatLon a, LatLon b, double stepDegrees);

// The isometric (Mercator) latitude of a latitude in degrees strictly between the poles, in
// radians: rhumb lines are straight in it and longitude.
double isometricLatitude(double latitude);

// The rhumb line from a to b (signed degrees, latitudes -90..90) the short way round in longitude
// (exactly half-way round: east), as points at most about `stepDegrees` of latitude or longitude
// apart, a and b included; longitudes run on continuously (they may leave -180..180 across the
// 180 meridian). To or from a pole it is the meridian of the other end.
std::vector<LatLon> rhumbLinePath(LatLon a, LatLon b, double stepDegrees = 1.0);

} // namespace gyrena
