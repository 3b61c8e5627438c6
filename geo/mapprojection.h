#pragma once

#include "geo/latlon.h"
#include "geo/spherepath.h"

#include <optional>
#include <span>
#include <vector>

namespace gyrena {

// Positions on the map are LatLon; its longitude may be any finite value here: the projections
// reduce it.

// A point on a map's plane, in the projection's own units (see each projection); y grows north.
struct MapXY
{
    double x = 0;
    double y = 0;
};

using MapRun = std::vector<MapXY>;

// The longitude halfway from a to b the short way round (degrees, -180..180): the centre of a
// world map on which the route between them is not cut, whenever it fits.
double middleLongitude(LatLon a, LatLon b);
// The point halfway along the great circle from a to b; for antipodes (no single great
// circle) the point 90 degrees from a along its meridian, towards the equator.
LatLon greatCircleMidpoint(LatLon a, LatLon b);

// The world map: x is the longitude east of `centreLon` reduced to -180..180, y the latitude,
// both in degrees. The map's edges are the meridian opposite the centre.
class Equirectangular
{
public:
    explicit Equirectangular(double centreLon);

    double centreLon() const { return m_centreLon; }
    // x in [-180, 180), y = lat.
    MapXY project(LatLon p) const;
    // A line through the points in order (each step the short way round, less than 180 degrees
    // of longitude), as runs that never cross the map: a step over the edge ends its run on the
    // edge and the next run starts on the opposite edge, at the latitude between the two points.
    std::vector<MapRun> projectLine(std::span<const LatLon> points) const;

private:
    double m_centreLon;
};

// The great-circle chart: a gnomonic projection onto the plane touching the sphere (radius 1) at
// `centre`, x east and y north of it. Every great circle is a straight line. Points more than
// `maxAngle` degrees (0 < maxAngle < 90) from the centre are beyond the chart: the projection
// runs to infinity at 90 degrees.
class Gnomonic
{
public:
    explicit Gnomonic(LatLon centre, double maxAngle = 80);

    LatLon centre() const { return m_centre; }
    // The point on the plane, or nothing beyond maxAngle from the centre.
    std::optional<MapXY> project(LatLon p) const;
    // A line through the points in order (great-circle steps), clipped at maxAngle: the parts
    // on the chart, each cut where it leaves or enters it.
    std::vector<MapRun> projectLine(std::span<const LatLon> points) const;
    // A closed ring (its last point joins its first) clipped at maxAngle: the part on the chart as
    // one closed polygon, empty when none of it is.
    MapRun projectRing(std::span<const LatLon> ring) const;

private:
    double height(Vector3 v) const { return dot(v, m_c); }
    MapXY onPlane(Vector3 v) const;
    Vector3 cut(Vector3 a, Vector3 b) const; // where a..b crosses the chart's limit

    LatLon m_centre;
    Vector3 m_c, m_east, m_north;
    double m_minHeight; // cos(maxAngle)
};

} // namespace gyrena
