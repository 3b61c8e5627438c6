#include "io/earth/coastlines.h"

#include "io/files/littleendian.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace gyrena {

namespace {

constexpr std::size_t kHeaderBytes = 16;

CoastlineError error(std::string what, std::size_t offset)
{
    return CoastlineError{std::move(what), offset};
}

} // namespace

std::span<const LatLon> Coastlines::ring(std::size_t i) const
{
    return std::span<const LatLon>(m_points).subspan(m_ringStarts[i],
                                                     m_ringStarts[i + 1] - m_ringStarts[i]);
}

bool Coastlines::isLand(LatLon at) const
{
    const double lat = at.latitude, lon = at.longitude;
    bool inside = false;
    for (std::size_t r = 0; r < ringCount(); ++r) {
        const std::span<const LatLon> points = ring(r);
        const LatLon* previous = &points.back();
        for (const LatLon& point : points) {
            if ((point.latitude > lat) != (previous->latitude > lat) &&
                lon < previous->longitude + (lat - previous->latitude) *
                                                (point.longitude - previous->longitude) /
                                                (point.latitude - previous->latitude))
                inside = !inside;
            previous = &point;
        }
    }
    return inside;
}

std::vector<std::vector<std::size_t>> Coastlines::fillGroups() const
{
    const std::size_t n = ringCount();
    struct Box
    {
        double west, east, south, north;
        bool holds(const Box& b) const
        {
            return west <= b.west && b.east <= east && south <= b.south && b.north <= north;
        }
    };
    std::vector<Box> boxes;
    boxes.reserve(n);
    for (std::size_t r = 0; r < n; ++r) {
        Box box{180, -180, 90, -90};
        for (const LatLon& p : ring(r)) {
            box.west = std::min(box.west, p.longitude);
            box.east = std::max(box.east, p.longitude);
            box.south = std::min(box.south, p.latitude);
            box.north = std::max(box.north, p.latitude);
        }
        boxes.push_back(box);
    }

    // The latitudes each run of kChunk edges spans: a point's crossing test skips the runs that
    // lie wholly north or south of it, nearly all of a long coast.
    constexpr std::size_t kChunk = 16;
    std::vector<std::pair<double, double>> chunkLats;
    std::vector<std::size_t> chunkStart(n + 1, 0);
    for (std::size_t r = 0; r < n; ++r) {
        const std::span<const LatLon> points = ring(r);
        for (std::size_t c = 0; c < points.size(); c += kChunk) {
            // Edge i joins point i-1 (the last point for i = 0) to point i.
            double south = points[c == 0 ? points.size() - 1 : c - 1].latitude, north = south;
            for (std::size_t i = c; i < std::min(points.size(), c + kChunk); ++i) {
                south = std::min(south, points[i].latitude);
                north = std::max(north, points[i].latitude);
            }
            chunkLats.emplace_back(south, north);
        }
        chunkStart[r + 1] = chunkLats.size();
    }
    const auto inside = [&](std::size_t r, LatLon p) {
        const std::span<const LatLon> points = ring(r);
        bool in = false;
        for (std::size_t c = chunkStart[r]; c < chunkStart[r + 1]; ++c) {
            if (p.latitude < chunkLats[c].first || p.latitude > chunkLats[c].second)
                continue;
            const std::size_t first = (c - chunkStart[r]) * kChunk;
            for (std::size_t i = first; i < std::min(points.size(), first + kChunk); ++i) {
                const LatLon& a = points[i == 0 ? points.size() - 1 : i - 1];
                const LatLon& b = points[i];
                if ((b.latitude > p.latitude) != (a.latitude > p.latitude) &&
                    p.longitude < a.longitude + (p.latitude - a.latitude) *
                                                    (b.longitude - a.longitude) /
                                                    (b.latitude - a.latitude))
                    in = !in;
            }
        }
        return in;
    };

    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    const auto root = [&parent](std::size_t r) {
        while (parent[r] != r)
            r = parent[r] = parent[parent[r]];
        return r;
    };
    // Rings do not cross, so a ring inside another has its box inside the other's box. Three of
    // its points are tested, not one: a lake may touch its coast at a point, and a point on the
    // edge may count either way. Grouping two rings that need not be is harmless, only slower.
    // Each ring is filed under the 10-degree cell of its box's south-west corner; a ring can
    // only lie inside the rings whose boxes cover that cell.
    constexpr int kColumns = 36, kRows = 18;
    const auto column = [](double lon) {
        return std::clamp(int((lon + 180) / 10), 0, kColumns - 1);
    };
    const auto row = [](double lat) { return std::clamp(int((lat + 90) / 10), 0, kRows - 1); };
    std::vector<std::vector<std::size_t>> cells(kColumns * kRows);
    for (std::size_t r = 0; r < n; ++r)
        cells[std::size_t(row(boxes[r].south) * kColumns + column(boxes[r].west))].push_back(r);
    for (std::size_t outer = 0; outer < n; ++outer) {
        const Box& box = boxes[outer];
        for (int y = row(box.south); y <= row(box.north); ++y)
            for (int x = column(box.west); x <= column(box.east); ++x)
                for (const std::size_t inner : cells[std::size_t(y * kColumns + x)]) {
                    if (inner == outer || !box.holds(boxes[inner]) || root(outer) == root(inner))
                        continue;
                    const std::span<const LatLon> points = ring(inner);
                    const std::array<LatLon, 3> probes{points[0], points[points.size() / 3],
                                                       points[2 * points.size() / 3]};
                    if (std::any_of(probes.begin(), probes.end(),
                                    [&](const LatLon& p) { return inside(outer, p); }))
                        parent[root(inner)] = root(outer);
                }
    }

    std::vector<std::vector<std::size_t>> groups;
    std::vector<std::size_t> groupOf(n, n);
    for (std::size_t r = 0; r < n; ++r) {
        std::size_t& g = groupOf[root(r)];
        if (g == n) {
            g = groups.size();
            groups.emplace_back();
        }
        groups[g].push_back(r);
    }
    return groups;
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
            return error("ring " + std::to_string(r) + " runs past the " + std::to_string(points) +
                             " points",
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
        const int lon = readI16(bytes, at);
        const int lat = readI16(bytes, at + 2);
        if (lon < -maxLon || lon > maxLon || lat < -maxLat || lat > maxLat)
            return error("point " + std::to_string(i) + " lies outside the globe (" +
                             std::to_string(lon) + ", " + std::to_string(lat) + " in 1/" +
                             std::to_string(units) + " degree)",
                         at);
        out.m_points.push_back({double(lat) / units, double(lon) / units});
    }
    return out;
}

} // namespace gyrena
