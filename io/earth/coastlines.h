#pragma once

#include "geo/latlon.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gyrena {

class Coastlines;

// The coastline asset (assets/coastlines/land-50m.bin, written by tools/make-coastlines.py):
// Natural Earth's 1:50m land as closed rings of points (stored longitude first in the asset,
// read as LatLon).
inline constexpr std::string_view kCoastlineMagic = "GYLN";
inline constexpr std::uint16_t kCoastlineVersion = 1;
// Far more than the 1:50m land needs (about 1,400 rings, 60,000 points): a damaged count is
// refused before anything is allocated for it.
inline constexpr std::uint32_t kMaxCoastlineRings = 1u << 20;
inline constexpr std::uint32_t kMaxCoastlinePoints = 1u << 24;

// Why an asset could not be read, and at which byte.
struct CoastlineError
{
    std::string what;       // a short English phrase, e.g. "ring 12 has 2 points, fewer than 3"
    std::size_t offset = 0; // the byte where the problem lies
};

// Rings of points, each closed implicitly (its last point joins its first). Outer rings and
// holes are not told apart: land is inside an odd number of rings.
class Coastlines
{
public:
    std::size_t ringCount() const { return m_ringStarts.empty() ? 0 : m_ringStarts.size() - 1; }
    std::size_t pointCount() const { return m_points.size(); }
    // Ring i (0..ringCount()-1); at least 3 points.
    std::span<const LatLon> ring(std::size_t i) const;
    // Whether the point (degrees; longitude -180..180) lies on land, by the even-odd rule.
    bool isLand(LatLon point) const;
    // The rings in groups that can each be filled on its own by the even-odd rule: a ring lies
    // in the group of every ring it lies inside (a lake with its coast, an island in that lake
    // with both). A painter fills one outline spread over the whole world far more slowly than
    // the same edges as many small outlines. Groups and their rings are in ring order.
    std::vector<std::vector<std::size_t>> fillGroups() const;

private:
    friend std::variant<Coastlines, CoastlineError> readCoastlines(std::string_view bytes);
    std::vector<LatLon> m_points;
    std::vector<std::size_t> m_ringStarts; // ringCount()+1 offsets into m_points
};

// Parses the bytes of the asset. Never reads beyond `bytes`, and allocates only after the
// counts have been checked against the size: a truncated asset, a wrong magic or version, a
// zero unit, counts too large or disagreeing, a ring of fewer than 3 points or a coordinate
// beyond +-180 / +-90 degrees give a CoastlineError.
std::variant<Coastlines, CoastlineError> readCoastlines(std::string_view bytes);

} // namespace gyrena
