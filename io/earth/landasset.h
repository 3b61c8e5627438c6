#pragma once

// The land asset (assets/land/land-10m.bin, written by tools/make-land.py): Natural Earth's
// 1:10m land as polygons on the sphere, and the ship canals as corridors of water.

#include "geo/landindex.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::string_view kLandMagic = "GYLD";
inline constexpr std::uint16_t kLandVersion = 1;
// Far more than the 1:10m land needs (about 4,000 rings, 405,000 points): a damaged count is
// refused before anything is allocated for it. Each point takes at least two bytes, so the
// counts are checked against the asset's size too.
inline constexpr std::uint32_t kMaxLandRings = 1u << 16;
inline constexpr std::uint32_t kMaxLandPoints = 1u << 22;
inline constexpr std::uint16_t kMaxLandCorridors = 64;
inline constexpr std::uint32_t kMaxCorridorPoints = 1u << 12;

// Why the asset could not be read, and at which byte.
struct LandAssetError
{
    std::string what;       // a short English phrase, e.g. "ring 12 has 2 points, fewer than 3"
    std::size_t offset = 0; // the byte where the problem lies
};

// Parses the bytes of the asset, whole or not at all. Never reads beyond `bytes`, and
// allocates only after the counts have been checked against the size: a truncated asset, a wrong
// magic or version, a scale that is not a small positive number, counts too large or disagreeing,
// a ring of fewer than 3 points, a hole before any outer ring, a varint that runs on or a point
// beyond +-180 / +-90 degrees give a LandAssetError.
std::variant<LandMap, LandAssetError> readLandAsset(std::string_view bytes);

// The land compiled into the program, read and indexed on the first call only, never before
// (start-up must not pay for it; the first call takes some tens of milliseconds, most of them
// loading S2 Geometry). Safe to call from any thread. An asset that cannot be read (a broken
// build) gives its error on every call.
const std::variant<LandIndex, LandAssetError>& builtInLand();

// The asset's bytes as compiled in, unread (for benchmarks and checks of the reader).
std::string_view builtInLandBytes();

// Whether builtInLand() has been called yet in this process.
bool builtInLandRead();

} // namespace gyrena
