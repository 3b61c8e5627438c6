#pragma once

// The few great-circle operations the sea router needs beyond geo/spherepath.h, on its unit
// vectors. S2 Geometry answers the land's questions in its own module (geo/landengine.h); these
// small ones stay in the program, which must not load S2 at start.

#include "geo/latlon.h"
#include "geo/spherepath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrena::sea {

inline constexpr double kNmPerRadian = 10800.0 / std::numbers::pi;

using Vec = Vector3;

inline Vec operator-(Vec a)
{
    return {-a.x, -a.y, -a.z};
}
inline double length(Vec a)
{
    return norm(a);
}
inline Vec normalized(Vec a)
{
    const double n = norm(a);
    return n > 0 ? (1.0 / n) * a : a;
}
inline Vec toVec(LatLon p)
{
    return unitVector(p);
}
inline LatLon toLatLon(Vec v)
{
    return positionOf(v);
}

// The arc between two unit vectors, radians 0..pi (accurate at any size).
inline double arc(Vec a, Vec b)
{
    return std::atan2(length(cross(a, b)), dot(a, b));
}

inline double arcNm(Vec a, Vec b)
{
    return arc(a, b) * kNmPerRadian;
}

// The point a fraction t (0..1) of the way along the shorter arc from a to b.
inline Vec along(Vec a, Vec b, double t)
{
    const double theta = arc(a, b);
    if (theta < 1e-15)
        return a;
    const double s = std::sin(theta);
    return normalized((std::sin((1 - t) * theta) / s) * a + (std::sin(t * theta) / s) * b);
}

// Whether the arcs ab and cd cross at a point inside both (not at an end).
inline bool arcsCross(Vec a, Vec b, Vec c, Vec d)
{
    const auto sign = [](Vec p, Vec q, Vec r) {
        const double det = dot(cross(p, q), r);
        return det > 0 ? 1 : det < 0 ? -1 : 0;
    };
    const int acb = -sign(a, b, c);
    if (acb == 0 || sign(a, b, d) != acb)
        return false;
    return -sign(c, d, b) == acb && sign(c, d, a) == acb;
}

// Where the arcs ab and cd cross (they must: see arcsCross).
inline Vec crossing(Vec a, Vec b, Vec c, Vec d)
{
    const Vec p = normalized(cross(cross(a, b), cross(c, d)));
    return dot(p, a + b + c + d) >= 0 ? p : -p;
}

// The point of the arc ab nearest to x.
inline Vec nearestOnArc(Vec x, Vec a, Vec b)
{
    const Vec normal = cross(a, b);
    if (dot(normal, normal) < 1e-30) // a point, or an arc too short to have a plane
        return arc(x, a) <= arc(x, b) ? a : b;
    const Vec n = normalized(normal);
    const Vec p = normalized(x - dot(x, n) * n);
    if (dot(cross(a, p), n) >= 0 && dot(cross(p, b), n) >= 0)
        return p;
    return arc(x, a) <= arc(x, b) ? a : b;
}

// The highest |latitude| on the arc ab, degrees.
inline double highestLatitude(Vec a, Vec b)
{
    double highest = std::max(std::abs(toLatLon(a).latitude), std::abs(toLatLon(b).latitude));
    const Vec normal = cross(a, b);
    if (dot(normal, normal) < 1e-30)
        return highest;
    const Vec n = normalized(normal);
    const Vec pole{0, 0, 1};
    const Vec top = pole - dot(pole, n) * n;
    if (dot(top, top) < 1e-30) // the arc lies on the equator
        return highest;
    for (const Vec vertex : {normalized(top), -normalized(top)})
        if (dot(cross(a, vertex), n) >= 0 && dot(cross(vertex, b), n) >= 0)
            highest = std::max(highest, std::abs(toLatLon(vertex).latitude));
    return highest;
}

} // namespace gyrena::sea
