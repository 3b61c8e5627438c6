#include "io/earth/timezones.h"

#include <algorithm>
#include <cmath>

namespace gyrena {

namespace {

constexpr std::size_t kColumns = 48;
constexpr std::size_t kRows = 24;
constexpr std::size_t kGridCells = kColumns * kRows;
constexpr std::uint32_t kEntryLimit = 56 * 56;

bool plainName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.find("..") != std::string_view::npos)
        return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '+' || c == '-' || c == '/';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

std::string_view TimeZoneMap::zoneAt(LatLon position) const
{
    if (!std::isfinite(position.latitude) || !std::isfinite(position.longitude) || m_names.empty())
        return {};
    const double latitude = std::clamp(position.latitude, -90.0, 90.0);
    double longitude = std::remainder(position.longitude, 360.0);
    if (latitude >= 90.0)
        return "Etc/GMT";
    // As the package walks it: x across 48 columns from 180 W, y down 24 rows from 90 N; each
    // step down the tree doubles both and keeps the fraction.
    double x = std::clamp(48.0 * (180.0 + longitude) / 360.00000000000006, 0.0, 47.999999999);
    double y = std::clamp(24.0 * (90.0 - latitude) / 180.00000000000003, 0.0, 23.999999999);
    auto column = static_cast<std::size_t>(x);
    auto row = static_cast<std::size_t>(y);
    std::uint32_t entry = m_entries[kColumns * row + column];
    const auto leafFrom = static_cast<std::uint32_t>(kEntryLimit - m_names.size());
    std::int64_t node = -1;
    while (entry < leafFrom) {
        node += entry + 1;
        y = std::fmod(2.0 * (y - double(row)), 2.0);
        x = std::fmod(2.0 * (x - double(column)), 2.0);
        row = static_cast<std::size_t>(y);
        column = static_cast<std::size_t>(x);
        entry = m_entries[kGridCells + 4 * std::size_t(node) + 2 * row + column];
    }
    return m_names[entry - leafFrom];
}

std::variant<TimeZoneMap, EarthDataError> readTimeZoneMap(std::string_view bytes)
{
    if (bytes.size() > kMaxTimeZoneBytes)
        return EarthDataError{"the time-zone map is larger than 4 MB", 0};
    if (bytes.size() < 12 || bytes.substr(0, 4) != kTimeZoneMagic)
        return EarthDataError{"not a time-zone map (no GYTZ header)", 0};
    if (littleU16(bytes, 4) != kTimeZoneVersion)
        return EarthDataError{"a time-zone map of another version", 4};
    const std::uint16_t names = littleU16(bytes, 6);
    const std::uint32_t entries = littleU32(bytes, 8);
    if (names == 0 || names >= kEntryLimit)
        return EarthDataError{"a number of zones outside 1..3135", 6};
    if (entries < kGridCells || (entries - kGridCells) % 4 != 0 || entries > kMaxTimeZoneBytes / 2)
        return EarthDataError{"a number of entries that is not the grid and whole nodes", 8};
    TimeZoneMap map;
    std::size_t at = 12;
    map.m_names.reserve(names);
    for (std::uint16_t i = 0; i < names; ++i) {
        if (at >= bytes.size())
            return EarthDataError{"the zone names end early", at};
        const auto length = static_cast<unsigned char>(bytes[at]);
        if (at + 1 + length > bytes.size())
            return EarthDataError{"the zone names end early", at};
        std::string_view name = bytes.substr(at + 1, length);
        if (!plainName(name))
            return EarthDataError{"a zone name that is not a plain IANA name", at};
        map.m_names.emplace_back(name);
        at += 1 + length;
    }
    if (bytes.size() - at != 2 * std::size_t(entries))
        return EarthDataError{"the entries do not fill the rest of the map", at};
    const std::uint32_t leafFrom = kEntryLimit - names;
    const std::size_t nodes = (entries - kGridCells) / 4;
    map.m_entries.resize(entries);
    // A child's node index is its parent's running index plus the entry plus one; the running
    // index of the grid is -1, of a node the node's own index. So a child lies after its node.
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint16_t entry = littleU16(bytes, at + 2 * std::size_t(i));
        if (entry >= kEntryLimit)
            return EarthDataError{"an entry outside 0..3135", at + 2 * std::size_t(i)};
        if (entry < leafFrom) {
            const std::int64_t parent = i < kGridCells ? -1 : std::int64_t(i - kGridCells) / 4;
            if (parent + std::int64_t(entry) + 1 >= std::int64_t(nodes))
                return EarthDataError{"an entry that points beyond the nodes",
                                      at + 2 * std::size_t(i)};
        }
        map.m_entries[i] = entry;
    }
    return map;
}

bool isLegalZone(std::string_view zone)
{
    return !zone.empty() && !zone.starts_with("Etc/");
}

} // namespace gyrena
