#include "io/earth/searoutes.h"

#include <cmath>
#include <cstring>

namespace gyrena {

namespace {

constexpr std::size_t kCellBytes = 5;
constexpr double kMicro = 1e6;

struct ReadError
{
    std::string what;
    std::size_t offset;
};

// Reads forward through the bytes, refusing to step past their end.
class Cursor
{
public:
    explicit Cursor(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t offset() const { return m_at; }
    std::size_t left() const { return m_bytes.size() - m_at; }

    std::string_view take(std::size_t n, const char* what)
    {
        if (n > left())
            throw ReadError{std::string("the asset ends within ") + what, m_at};
        const std::string_view out = m_bytes.substr(m_at, n);
        m_at += n;
        return out;
    }
    std::uint32_t unsignedInt(std::size_t size, const char* what)
    {
        const std::string_view b = take(size, what);
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;)
            value = value << 8 | std::uint8_t(b[i]);
        return value;
    }
    std::uint8_t u8(const char* what) { return std::uint8_t(unsignedInt(1, what)); }
    std::uint16_t u16(const char* what) { return std::uint16_t(unsignedInt(2, what)); }
    std::uint32_t u32(const char* what) { return unsignedInt(4, what); }

    LatLon point(const char* what)
    {
        const std::size_t at = m_at;
        const auto latitude = std::int32_t(u32(what));
        const auto longitude = std::int32_t(u32(what));
        if (std::abs(std::int64_t(latitude)) > 90 * std::int64_t(kMicro) ||
            std::abs(std::int64_t(longitude)) > 180 * std::int64_t(kMicro))
            throw ReadError{std::string(what) + " lies beyond 90 or 180 degrees", at};
        return {latitude / kMicro, longitude / kMicro};
    }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

bool isKey(std::string_view key)
{
    if (key.empty())
        return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    return true;
}

SeaGridData parse(std::string_view bytes)
{
    Cursor in(bytes);
    if (in.take(4, "the header") != kSeaRouteMagic)
        throw ReadError{"not a sea-route asset (wrong magic)", 0};
    if (in.u16("the header") != kSeaRouteVersion)
        throw ReadError{"an unknown version", 4};
    SeaGridData data;
    data.cellsPerDegree = in.u16("the header");
    if (data.cellsPerDegree < 1 || data.cellsPerDegree > 12)
        throw ReadError{"cells per degree outside 1..12", 6};
    const std::uint32_t passages = in.u32("the header");
    if (passages > kMaxSeaPassages)
        throw ReadError{"too many passages", 8};
    for (std::uint32_t p = 0; p < passages; ++p) {
        SeaPassage passage;
        const std::size_t at = in.offset();
        const std::uint8_t kind = in.u8("a passage");
        if (kind > std::uint8_t(PassageKind::Cape))
            throw ReadError{"a passage of an unknown kind", at};
        passage.kind = PassageKind(kind);
        passage.key = std::string(in.take(in.u8("a passage"), "a passage's key"));
        if (!isKey(passage.key))
            throw ReadError{"a passage's key is not lower-case letters, digits and '-'", at};
        passage.name = std::string(in.take(in.u8("a passage"), "a passage's name"));
        if (passage.name.empty())
            throw ReadError{"a passage without a name", at};
        passage.gateFrom = in.point("a gate");
        passage.gateTo = in.point("a gate");
        const std::size_t countAt = in.offset();
        const std::uint16_t corridor = in.u16("a passage");
        if (corridor == 1 || corridor > kMaxSeaCorridorPoints)
            throw ReadError{"a corridor of 1 or more than 1000 points", countAt};
        for (std::uint16_t k = 0; k < corridor; ++k)
            passage.corridor.push_back(in.point("a corridor"));
        data.passages.push_back(std::move(passage));
    }
    const std::size_t cells = std::size_t(180) * 360 * std::size_t(data.cellsPerDegree) *
                              std::size_t(data.cellsPerDegree);
    std::size_t corridorPoints = 0;
    for (const SeaPassage& p : data.passages)
        corridorPoints += p.corridor.size();
    const std::size_t linksAt = in.offset();
    const std::uint32_t links = in.u32("the links");
    if (links > kMaxSeaLinks || std::size_t(links) * 9 + cells * kCellBytes != in.left())
        throw ReadError{"the number of links disagrees with the asset's size", linksAt};
    data.links.resize(links);
    for (SeaLink& link : data.links) {
        const std::size_t at = in.offset();
        link.from = in.u32("a link");
        link.to = in.u32("a link");
        link.clearance = in.u8("a link");
        if (link.from >= cells + corridorPoints || link.to >= cells + corridorPoints)
            throw ReadError{"a link to a point that does not exist", at};
    }
    const std::string_view grid = in.take(cells * kCellBytes, "the grid");
    data.cells.resize(cells);
    for (std::size_t c = 0; c < cells; ++c) {
        const char* b = grid.data() + c * kCellBytes;
        data.cells[c] = {std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]),
                         std::uint8_t(b[3]), std::uint8_t(b[4])};
    }
    return data;
}

void put(std::string& out, std::uint32_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        out.push_back(char(value >> (8 * i) & 0xff));
}

void putPoint(std::string& out, LatLon p)
{
    put(out, std::uint32_t(std::int32_t(std::lround(p.latitude * kMicro))), 4);
    put(out, std::uint32_t(std::int32_t(std::lround(p.longitude * kMicro))), 4);
}

} // namespace

std::variant<SeaGridData, SeaRouteError> readSeaRoutes(std::string_view bytes)
{
    try {
        return parse(bytes);
    } catch (const ReadError& error) {
        return SeaRouteError{error.what, error.offset};
    }
}

std::string writeSeaRoutes(const SeaGridData& data)
{
    std::string out(kSeaRouteMagic);
    put(out, kSeaRouteVersion, 2);
    put(out, std::uint32_t(data.cellsPerDegree), 2);
    put(out, std::uint32_t(data.passages.size()), 4);
    for (const SeaPassage& p : data.passages) {
        put(out, std::uint32_t(p.kind), 1);
        put(out, std::uint32_t(p.key.size()), 1);
        out += p.key;
        put(out, std::uint32_t(p.name.size()), 1);
        out += p.name;
        putPoint(out, p.gateFrom);
        putPoint(out, p.gateTo);
        put(out, std::uint32_t(p.corridor.size()), 2);
        for (const LatLon& point : p.corridor)
            putPoint(out, point);
    }
    put(out, std::uint32_t(data.links.size()), 4);
    for (const SeaLink& link : data.links) {
        put(out, link.from, 4);
        put(out, link.to, 4);
        put(out, link.clearance, 1);
    }
    for (const SeaCell& c : data.cells)
        for (std::uint8_t b : {c.node, c.east, c.northEast, c.north, c.northWest})
            out.push_back(char(b));
    return out;
}

} // namespace gyrena
