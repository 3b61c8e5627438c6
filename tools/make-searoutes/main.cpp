// make-searoutes: writes the sea-route asset (assets/sea/searoutes.bin) from the land and the
// named passages (tools/sea-passages.txt). Run by tools/make-searoutes.sh.
//
// For every cell of the grid it asks the land how far the cell's centre lies from the coast and
// how far the great circle to each of four neighbours (east, north-east, north, north-west)
// keeps off it; the corridors of the passages are joined point to point and, at each end, to
// the grid nodes they reach. It refuses passages whose gates do not end on land or whose
// corridors cross it.
//
// Usage: make-searoutes --land LAND --passages FILE --output FILE [--cells-per-degree N]

#include "geo/sealand.h"
#include "geo/searoute.h"
#include "io/searoutes.h"
#include "io/earth/landasset.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace gyrena;

// Clearances are measured up to here: beyond it, a leg is open for any clearance asked.
constexpr double kCapNm = 255 * kSeaClearanceUnitNm;
// How far a corridor's end looks for the grid, degrees, and how many nodes it joins.
constexpr double kCorridorReachDegrees = 1.5;
constexpr std::size_t kCorridorLinks = 12;

std::uint8_t units(double nm)
{
    return std::uint8_t(std::clamp(std::floor(nm / kSeaClearanceUnitNm + 1e-9), 0.0, 255.0));
}

std::string trim(std::string s)
{
    const auto first = s.find_first_not_of(" \t");
    const auto last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

std::vector<std::string> split(const std::string& s, char by)
{
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, by))
        out.push_back(trim(part));
    return out;
}

LatLon point(const std::string& text)
{
    std::istringstream in(text);
    LatLon p;
    if (!(in >> p.latitude >> p.longitude))
        throw std::runtime_error("not a position: \"" + text + "\"");
    return p;
}

std::vector<SeaPassage> readPassages(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<SeaPassage> passages;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto fields = split(line, '|');
        if (fields.size() != 6)
            throw std::runtime_error(path + ":" + std::to_string(number) + ": six fields wanted");
        SeaPassage p;
        p.key = fields[0];
        p.kind = fields[1] == "canal"    ? PassageKind::Canal
                 : fields[1] == "strait" ? PassageKind::Strait
                 : fields[1] == "cape"
                     ? PassageKind::Cape
                     : throw std::runtime_error(path + ":" + std::to_string(number) + ": kind");
        p.name = fields[2];
        const auto gate = split(fields[3], ',');
        if (gate.size() != 2)
            throw std::runtime_error(path + ":" + std::to_string(number) + ": two gate points");
        p.gateFrom = point(gate[0]);
        p.gateTo = point(gate[1]);
        if (fields[4] != "-")
            for (const std::string& text : split(fields[4], ';'))
                p.corridor.push_back(point(text));
        passages.push_back(p);
    }
    return passages;
}

} // namespace

int main(int argc, char** argv)
{
    std::string landPath, passagesPath, outputPath;
    int cellsPerDegree = 2;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--land")
            landPath = argv[i + 1];
        else if (option == "--passages")
            passagesPath = argv[i + 1];
        else if (option == "--output")
            outputPath = argv[i + 1];
        else if (option == "--cells-per-degree")
            cellsPerDegree = std::stoi(argv[i + 1]);
    }
    if (landPath.empty() || passagesPath.empty() || outputPath.empty()) {
        std::cerr << "usage: make-searoutes --land LAND --passages FILE --output FILE "
                     "[--cells-per-degree N]\n";
        return 2;
    }
    try {
        std::ifstream landFile(landPath, std::ios::binary);
        const std::string landBytes((std::istreambuf_iterator<char>(landFile)),
                                    std::istreambuf_iterator<char>());
        auto landMap = readLandAsset(landBytes);
        if (auto* error = std::get_if<LandAssetError>(&landMap))
            throw std::runtime_error(landPath + ": " + error->what);
        const LandIndex index(std::get<LandMap>(landMap));
        const IndexSeaLand land(index);

        SeaGridData data;
        data.cellsPerDegree = cellsPerDegree;
        data.passages = readPassages(passagesPath);

        bool bad = false;
        for (const SeaPassage& p : data.passages) {
            for (const LatLon& end : {p.gateFrom, p.gateTo})
                if (land.clearanceNm(end, end, 1) > 0) {
                    std::cerr << p.key << ": gate end " << end.latitude << " " << end.longitude
                              << " is not on land\n";
                    bad = true;
                }
            for (std::size_t k = 0; k < p.corridor.size(); ++k) {
                const LatLon a = p.corridor[k];
                if (k + 1 < p.corridor.size()
                    && !land.legClears(a, p.corridor[k + 1], 0, false, false)) {
                    std::cerr << p.key << ": corridor leg " << k << "-" << k + 1
                              << " crosses land\n";
                    bad = true;
                }
            }
        }
        if (bad)
            return 1;

        const int rows = 180 * cellsPerDegree;
        const int columns = 360 * cellsPerDegree;
        const auto centre = [&](int row, int column) {
            return LatLon{-90.0 + (row + 0.5) / cellsPerDegree,
                          -180.0 + (column + 0.5) / cellsPerDegree};
        };
        data.cells.resize(std::size_t(rows) * std::size_t(columns));
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const LatLon c = centre(row, column);
                data.cells[std::size_t(row) * std::size_t(columns) + std::size_t(column)].node =
                    units(land.clearanceNm(c, c, kCapNm));
            }
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                SeaCell& cell =
                    data.cells[std::size_t(row) * std::size_t(columns) + std::size_t(column)];
                if (cell.node == 0)
                    continue;
                const auto edge = [&](int r, int col) -> std::uint8_t {
                    if (r >= rows)
                        return 0;
                    col = (col + columns) % columns;
                    if (data.cells[std::size_t(r) * std::size_t(columns) + std::size_t(col)].node
                        == 0)
                        return 0;
                    return units(land.clearanceNm(centre(row, column), centre(r, col), kCapNm));
                };
                cell.east = edge(row, column + 1);
                cell.northEast = edge(row + 1, column + 1);
                cell.north = edge(row + 1, column);
                cell.northWest = edge(row + 1, column - 1);
            }
            if (row % 60 == 0)
                std::cerr << "row " << row << " of " << rows << "\n";
        }

        // The corridors: point to point, and each end to the nodes and corridor ends it reaches.
        const std::uint32_t cells = std::uint32_t(data.cells.size());
        std::uint32_t next = cells;
        struct End
        {
            std::uint32_t id;
            LatLon at;
        };
        std::vector<End> ends;
        for (const SeaPassage& p : data.passages) {
            for (std::size_t k = 0; k + 1 < p.corridor.size(); ++k)
                data.links.push_back({next + std::uint32_t(k), next + std::uint32_t(k + 1),
                                      kAnyClearance});
            if (!p.corridor.empty()) {
                ends.push_back({next, p.corridor.front()});
                ends.push_back({next + std::uint32_t(p.corridor.size() - 1), p.corridor.back()});
            }
            next += std::uint32_t(p.corridor.size());
        }
        for (std::size_t e = 0; e < ends.size(); ++e) {
            const End& end = ends[e];
            std::vector<std::pair<double, std::uint32_t>> candidates;
            const int reach = int(std::ceil(kCorridorReachDegrees * cellsPerDegree));
            const int row0 = int(std::floor((end.at.latitude + 90) * cellsPerDegree));
            const int col0 = int(std::floor((end.at.longitude + 180) * cellsPerDegree));
            for (int r = std::max(0, row0 - reach); r <= std::min(rows - 1, row0 + reach); ++r)
                for (int dc = -reach; dc <= reach; ++dc) {
                    const int c = ((col0 + dc) % columns + columns) % columns;
                    const std::uint32_t id = std::uint32_t(r) * std::uint32_t(columns)
                                             + std::uint32_t(c);
                    if (data.cells[id].node == 0)
                        continue;
                    const double d = seaDistanceNm(end.at, centre(r, c));
                    if (d <= kCorridorReachDegrees * 60)
                        candidates.emplace_back(d, id);
                }
            std::sort(candidates.begin(), candidates.end());
            std::size_t joined = 0;
            for (const auto& [d, id] : candidates) {
                if (joined == kCorridorLinks)
                    break;
                const int r = int(id / std::uint32_t(columns));
                const int c = int(id % std::uint32_t(columns));
                // A corridor's approach: the sea next to a canal's mouth may be as narrow as
                // the channel, so no clearance is asked of it, only water.
                if (land.legClears(end.at, centre(r, c), 0, false, false)) {
                    data.links.push_back({end.id, id, kAnyClearance});
                    ++joined;
                }
            }
            for (std::size_t f = e + 1; f < ends.size(); ++f) {
                if (seaDistanceNm(end.at, ends[f].at) > kCorridorReachDegrees * 60)
                    continue;
                // Channels join channels: no clearance is asked between corridors.
                if (land.legClears(end.at, ends[f].at, 0, false, false))
                    data.links.push_back({end.id, ends[f].id, kAnyClearance});
            }
            if (joined == 0)
                std::cerr << "warning: a corridor end at " << end.at.latitude << " "
                          << end.at.longitude << " reaches no grid node\n";
        }

        const std::string bytes = writeSeaRoutes(data);
        std::ofstream out(outputPath, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + outputPath);
        std::size_t nodes = 0;
        for (const SeaCell& c : data.cells)
            nodes += c.node != 0;
        std::cerr << outputPath << ": " << data.passages.size() << " passages, " << nodes
                  << " water nodes, " << data.links.size() << " links, " << bytes.size()
                  << " bytes\n";
    } catch (const std::exception& error) {
        std::cerr << "make-searoutes: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
