#pragma once

// The sea-route asset (assets/sea/searoutes.bin, written by tools/make-searoutes.sh): the water
// grid, the named passages and their corridors, from which geo/searoute.h builds its graph.
//
// Little-endian throughout:
//     bytes 0..3     magic "GYSR"
//     bytes 4..5     version, 1
//     bytes 6..7     cells per degree of the grid, 1..12
//     bytes 8..11    number of passages, at most kMaxSeaPassages
//     then, per passage:
//                    uint8 kind (0 canal, 1 strait, 2 cape)
//                    uint8 length, then the key (lower case a-z, 0-9 and '-')
//                    uint8 length, then the name (UTF-8)
//                    the gate's two points, then uint16 number of corridor points and the points;
//                    a point is int32 latitude, int32 longitude in millionths of a degree
//     then           uint32 number of links, each uint32 from, uint32 to, uint8 clearance
//     then           the cells, row after row from the south, 5 bytes each (SeaCell in order)
// The asset ends there: a byte more or less is an error.

#include "geo/searoute.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace gyrena {

inline constexpr std::string_view kSeaRouteMagic = "GYSR";
inline constexpr std::uint16_t kSeaRouteVersion = 1;
inline constexpr std::uint32_t kMaxSeaPassages = 254;
inline constexpr std::uint32_t kMaxSeaLinks = 1u << 20;
inline constexpr std::size_t kMaxSeaCorridorPoints = 1000;

struct SeaRouteError
{
    std::string what;       // a short English phrase
    std::size_t offset = 0; // the byte where the problem lies
};

// Parses the asset. Never reads beyond `bytes`; checks every count against the size before it
// allocates, every position against its range, every key, kind and link end: anything else gives
// a SeaRouteError and no data.
std::variant<SeaGridData, SeaRouteError> readSeaRoutes(std::string_view bytes);

// The asset's bytes for `data` (which readSeaRoutes gives back equal). Positions are rounded to
// millionths of a degree.
std::string writeSeaRoutes(const SeaGridData& data);

} // namespace gyrena
