#pragma once

// Where the land is, on the sphere: polygons of land and corridors of water (the ship canals)
// in an S2 Geometry index, and what a track meets of them. A great-circle piece of a track is
// one exact S2 edge, never a line in longitude and latitude.

#include "geo/latlon.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace gyrena {

// One polygon of land: its outer ring, then its holes. Each ring is closed implicitly (its last
// point joins its first) and has its interior on its left as one walks it on the sphere: an
// outer ring runs counter-clockwise seen from above, a hole clockwise, a ring round a pole with
// that pole on its left. An edge joins its two points by the shorter great circle.
struct LandPolygon
{
    std::vector<std::vector<LatLon>> rings; // latitudes -90..90, longitudes any finite value
};

// A corridor of water through land (a ship canal the map closes): land inside it is water.
struct WaterCorridor
{
    std::string name;         // "Suez Canal"
    std::string source;       // where its positions come from
    std::vector<LatLon> ring; // interior on the left, as LandPolygon's rings
};

struct LandMap
{
    std::vector<LandPolygon> polygons;
    std::vector<WaterCorridor> corridors;
};

// One stretch of land along a track, between where the track enters land and where it leaves
// it again (or starts or ends on land).
struct LandStretch
{
    double fromNm = 0.0; // along the track from its first point, nautical miles (60 to a degree)
    double toNm = 0.0;   // fromNm < toNm
    LatLon entry;        // the track's point at fromNm; longitude -180..180
    LatLon exit;         // the track's point at toNm
};

class LandIndex
{
public:
    // Indexes the map. A ring of fewer than 3 points is left out. The built-in land's index is
    // made by the build and opened at once (a few milliseconds, its cells decoded as queries
    // reach them); any other map is indexed here, which for Natural Earth's 1:10m land would
    // take over 100 ms. The first index of a process loads S2 Geometry (geo/landengine.h);
    // std::runtime_error when it cannot.
    explicit LandIndex(const LandMap& map);
    ~LandIndex();
    LandIndex(LandIndex&&) noexcept;
    LandIndex& operator=(LandIndex&&) noexcept;

    // Whether the point (latitude -90..90, longitude any finite value) is land: inside a
    // polygon of land and in no corridor of water.
    bool isLand(LatLon point) const;

    // The stretches of land along the track through `points` in order, each point joined to
    // the next by the shorter great circle (consecutive points must not be antipodal; equal
    // ones add nothing). Stretches are in track order, separated by water; a stretch that runs
    // on over a point of the track is one stretch. Safe to call from several threads at once.
    std::vector<LandStretch> stretchesAlong(std::span<const LatLon> points) const;

    // The least distance from the great circle a -> b (the point a when b equals it) to land,
    // nautical miles: 0 when it touches land, capNm (> 0) when land is farther than that. The
    // corridors of water do not count here: a point in a canal is 0 from land.
    double clearanceNm(LatLon a, LatLon b, double capNm) const;

    std::size_t polygonCount() const;
    std::size_t corridorCount() const;
    const WaterCorridor& corridor(std::size_t i) const; // name and source; ring left empty

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace gyrena
