#include "io/coastlines.h"

#include <algorithm>

namespace gyrena {

namespace {

constexpr std::size_t kHeaderBytes = 16;

std::uint32_t readU32(std::string_view bytes, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t readU16(std::string_view bytes, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return std::uint16_t(p[0] | p[1] << 8);
}

CoastlineError error(std::string what, std::size_t offset)
{
    return CoastlineError{std::move(what), offset};
}

} // namespace

std::span<const CoastPoint> Coastlines::ring(std::size_t i) const
{
    return std::span<const CoastPoint>(m_points)
        .subspan(m_ringStarts[i], m_ringStarts[i + 1] - m_ringStarts[i]);
}

bool Coastlines::isLand(double lon, double lat) const
{
    bool inside = false;
    for (std::size_t r = 0; r < ringCount(); ++r) {
        const std::span<const CoastPoint> points = ring(r);
        const CoastPoint* previous = &points.back();
        for (const CoastPoint& point : points) {
            if ((point.lat > lat) != (previous->lat > lat) &&
                lon < previous->lon + (lat - previous->lat) * (point.lon - previous->lon) /
                                          (point.lat - previous->lat))
                inside = !inside;
            previous = &point;
        }
    }
    return inside;
}

std::variant<Coastlines, CoastlineError> readCoastlines(std::string_view bytes)
{
    if (bytes.size() < kHeaderBytes)
        return error("the asset ends inside its 16-byte header (" + std::to_string(bytes.size()) +
                         " bytes)",
                     bytes.size());
    if (bytes.substr(0, 4) != kCoastlineMagic)
        return error("not a coastline asset (no \"GYLN\" at its start)", 0);
    const std::uint16_t version = readU16(bytes, 4);
    if (version != kCoastlineVersion)
        return error("version " + std::to_string(version) + " is not known (only " +
                         std::to_string(kCoastlineVersion) + ")",
                     4);
    const std::uint16_t units = readU16(bytes, 6);
    // A unit finer than 1/182 degree cannot hold 180 degrees in 16 bits.
    if (units == 0 || units > 182)
        return error("units per degree " + std::to_string(units) + " outside 1..182", 6);
    const std::uint32_t rings = readU32(bytes, 8);
    const std::uint32_t points = readU32(bytes, 12);
    if (rings == 0 || rings > kMaxCoastlineRings)
        return error("ring count " + std::to_string(rings) + " outside 1.." +
                         std::to_string(kMaxCoastlineRings),
                     8);
    if (points > kMaxCoastlinePoints)
        return error("point count " + std::to_string(points) + " above " +
                         std::to_string(kMaxCoastlinePoints),
                     12);
    const std::size_t expected = kHeaderBytes + std::size_t{4} * rings + std::size_t{4} * points;
    if (bytes.size() != expected)
        return error("the asset has " + std::to_string(bytes.size()) + " bytes, its counts say " +
                         std::to_string(expected),
                     std::min(bytes.size(), expected));

    Coastlines out;
    out.m_ringStarts.reserve(std::size_t{rings} + 1);
    out.m_ringStarts.push_back(0);
    std::size_t total = 0;
    for (std::uint32_t r = 0; r < rings; ++r) {
        const std::size_t at = kHeaderBytes + std::size_t{4} * r;
        const std::uint32_t n = readU32(bytes, at);
        if (n < 3)
            return error("ring " + std::to_string(r) + " has " + std::to_string(n) +
                             " points, fewer than 3",
                         at);
        total += n;
        if (total > points)
            return error("ring " + std::to_string(r) + " runs past the " +
                             std::to_string(points) + " points",
                         at);
        out.m_ringStarts.push_back(total);
    }
    if (total != points)
        return error("the rings hold " + std::to_string(total) + " points, the header says " +
                         std::to_string(points),
                     12);

    const int maxLon = 180 * units;
    const int maxLat = 90 * units;
    out.m_points.reserve(points);
    const std::size_t first = kHeaderBytes + std::size_t{4} * rings;
    for (std::size_t i = 0; i < points; ++i) {
        const std::size_t at = first + 4 * i;
        const int lon = std::int16_t(readU16(bytes, at));
        const int lat = std::int16_t(readU16(bytes, at + 2));
        if (lon < -maxLon || lon > maxLon || lat < -maxLat || lat > maxLat)
            return error("point " + std::to_string(i) + " lies outside the globe (" +
                             std::to_string(lon) + ", " + std::to_string(lat) + " in 1/" +
                             std::to_string(units) + " degree)",
                         at);
        out.m_points.push_back({double(lon) / units, double(lat) / units});
    }
    return out;
}

} // namespace gyrena
