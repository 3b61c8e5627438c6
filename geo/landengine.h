#pragma once

// The part of the land index that works with S2 Geometry. It lives in a module of its own
// (geo/s2land, gyrena-s2land.so) that LandIndex loads on first use: S2 and the two dozen
// libraries it needs (Abseil, libcrypto) would otherwise be loaded and relocated at every
// start of the program, about 20 million cycles, whether the land is ever checked or not.

#include "geo/landindex.h"

#include <cstddef>
#include <span>
#include <vector>

namespace gyrena {

class LandEngine
{
public:
    virtual ~LandEngine() = default;
    virtual bool isLand(LatLon point) const = 0;
    virtual std::vector<LandStretch> stretchesAlong(std::span<const LatLon> points) const = 0;
    virtual double clearanceNm(LatLon a, LatLon b, double capNm) const = 0;
    virtual std::size_t polygonCount() const = 0;
};

// The module's one entry point: a new engine of the map (owned by the caller), or null.
using MakeLandEngine = LandEngine* (*)(const LandMap& map);
inline constexpr const char* kLandEngineEntry = "gyrena_make_land_engine";

} // namespace gyrena
