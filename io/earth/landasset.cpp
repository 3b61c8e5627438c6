#include "io/earth/landasset.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace gyrena {

namespace {

constexpr std::size_t kHeaderBytes = 48;

// Reads the asset front to back; every read checks the bytes left first.
class Cursor
{
public:
    explicit Cursor(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t at() const { return m_at; }
    std::size_t left() const { return m_bytes.size() - m_at; }

    std::uint64_t unsignedLE(std::size_t width)
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= std::uint64_t(static_cast<unsigned char>(m_bytes[m_at + i])) << (8 * i);
        m_at += width;
        return value;
    }
    double float64() { return std::bit_cast<double>(unsignedLE(8)); }
    std::string_view text(std::size_t length)
    {
        const std::string_view out = m_bytes.substr(m_at, length);
        m_at += length;
        return out;
    }
    // A LEB128 varint of at most 5 bytes (32 bits), zigzag-decoded; false when it runs on past
    // the end or past 32 bits.
    bool zigzag(std::int64_t& value)
    {
        std::uint64_t raw = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (m_at >= m_bytes.size())
                return false;
            const auto byte = static_cast<unsigned char>(m_bytes[m_at++]);
            raw |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80)) {
                if (raw > 0xffffffffu)
                    return false;
                value = std::int64_t(raw >> 1) ^ -std::int64_t(raw & 1);
                return true;
            }
        }
        return false;
    }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

LandAssetError error(std::string what, std::size_t offset)
{
    return LandAssetError{std::move(what), offset};
}

struct Grid
{
    double lonScale, latScale, lon0, lat0;
};

// Reads one ring of `count` points into `out`; an error names the ring.
std::optional<LandAssetError> readRing(Cursor& in, const Grid& grid, std::uint32_t count,
                                       const std::string& name, std::vector<LatLon>& out)
{
    out.reserve(count);
    std::int64_t x = 0, y = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = in.at();
        std::int64_t dx = 0, dy = 0;
        if (!in.zigzag(dx) || !in.zigzag(dy))
            return error(name + ", point " + std::to_string(i + 1) +
                             ": a number runs past the end or past 32 bits",
                         at);
        x += dx;
        y += dy;
        const LatLon p{grid.lat0 + double(y) * grid.latScale,
                       grid.lon0 + double(x) * grid.lonScale};
        if (!(std::fabs(p.latitude) <= 90.0 + 1e-9) || !(std::fabs(p.longitude) <= 180.0 + 1e-9))
            return error(
                name + ", point " + std::to_string(i + 1) + " lies beyond 90 / 180 degrees", at);
        out.push_back(p);
    }
    return std::nullopt;
}

} // namespace

std::variant<LandMap, LandAssetError> readLandAsset(std::string_view bytes)
{
    if (bytes.size() < kHeaderBytes)
        return error("the asset ends inside its 48-byte header (" + std::to_string(bytes.size()) +
                         " bytes)",
                     bytes.size());
    Cursor in(bytes);
    if (in.text(4) != kLandMagic)
        return error("not a land asset (no \"GYLD\" at its start)", 0);
    const auto version = std::uint16_t(in.unsignedLE(2));
    if (version != kLandVersion)
        return error("version " + std::to_string(version) + " is not known (only " +
                         std::to_string(kLandVersion) + ")",
                     4);
    const auto corridors = std::uint16_t(in.unsignedLE(2));
    const auto rings = std::uint32_t(in.unsignedLE(4));
    const auto points = std::uint32_t(in.unsignedLE(4));
    if (corridors > kMaxLandCorridors)
        return error("corridor count " + std::to_string(corridors) + " above " +
                         std::to_string(kMaxLandCorridors),
                     6);
    if (rings == 0 || rings > kMaxLandRings)
        return error("ring count " + std::to_string(rings) + " outside 1.." +
                         std::to_string(kMaxLandRings),
                     8);
    if (points > kMaxLandPoints || std::size_t{2} * points > bytes.size())
        return error("point count " + std::to_string(points) + " above " +
                         std::to_string(kMaxLandPoints) + " or more than the bytes can hold",
                     12);
    const Grid grid{in.float64(), in.float64(), in.float64(), in.float64()};
    const auto sensible = [](double v, double low, double high) {
        return std::isfinite(v) && v >= low && v <= high;
    };
    if (!sensible(grid.lonScale, 1e-9, 1.0) || !sensible(grid.latScale, 1e-9, 1.0) ||
        !sensible(grid.lon0, -180.0, 180.0) || !sensible(grid.lat0, -90.0, 90.0))
        return error("the units are not small positive fractions of a degree from a point on "
                     "the Earth",
                     16);
    if (in.left() < std::size_t{4} * rings)
        return error("the asset ends inside its table of rings", bytes.size());

    LandMap map;
    std::vector<std::uint32_t> ringPoints(rings);
    std::vector<bool> hole(rings);
    std::uint64_t total = 0;
    for (std::uint32_t r = 0; r < rings; ++r) {
        const std::size_t at = in.at();
        const auto entry = std::uint32_t(in.unsignedLE(4));
        ringPoints[r] = entry >> 1;
        hole[r] = entry & 1;
        if (ringPoints[r] < 3)
            return error("ring " + std::to_string(r + 1) + " has " + std::to_string(ringPoints[r]) +
                             " points, fewer than 3",
                         at);
        if (hole[r] && r == 0)
            return error("ring 1 is a hole, but no outer ring comes before it", at);
        total += ringPoints[r];
    }
    if (total != points)
        return error("the rings hold " + std::to_string(total) + " points, the header says " +
                         std::to_string(points),
                     12);

    std::vector<std::uint32_t> corridorPoints(corridors);
    map.corridors.resize(corridors);
    for (std::uint16_t c = 0; c < corridors; ++c) {
        const std::size_t at = in.at();
        if (in.left() < 1)
            return error("the asset ends inside corridor " + std::to_string(c + 1), at);
        const std::size_t nameLength = in.unsignedLE(1);
        if (in.left() < nameLength + 2)
            return error("the asset ends inside corridor " + std::to_string(c + 1), at);
        map.corridors[c].name = in.text(nameLength);
        const std::size_t sourceLength = in.unsignedLE(2);
        if (in.left() < sourceLength + 4)
            return error("the asset ends inside corridor " + std::to_string(c + 1), at);
        map.corridors[c].source = in.text(sourceLength);
        corridorPoints[c] = std::uint32_t(in.unsignedLE(4));
        if (corridorPoints[c] < 3 || corridorPoints[c] > kMaxCorridorPoints)
            return error("corridor " + std::to_string(c + 1) + " has " +
                             std::to_string(corridorPoints[c]) + " points, outside 3.." +
                             std::to_string(kMaxCorridorPoints),
                         at);
    }
    // Every point takes at least two bytes: a count the rest cannot hold is refused before the
    // rings are allocated.
    if (in.left() < std::size_t{2} * points)
        return error("the asset ends before its " + std::to_string(points) + " points",
                     bytes.size());

    for (std::uint32_t r = 0; r < rings; ++r) {
        if (!hole[r])
            map.polygons.emplace_back();
        map.polygons.back().rings.emplace_back();
        if (auto failed = readRing(in, grid, ringPoints[r], "ring " + std::to_string(r + 1),
                                   map.polygons.back().rings.back()))
            return *failed;
    }
    for (std::uint16_t c = 0; c < corridors; ++c) {
        if (auto failed = readRing(in, grid, corridorPoints[c], "corridor " + std::to_string(c + 1),
                                   map.corridors[c].ring))
            return *failed;
    }
    if (in.left() != 0)
        return error(std::to_string(in.left()) + " bytes follow the last point", in.at());
    return map;
}

} // namespace gyrena
