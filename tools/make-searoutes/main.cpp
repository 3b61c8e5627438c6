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
#include "io/earth/landasset.h"
#include "io/earth/searoutes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace gyrena;

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

        std::string problems;
        const SeaGridData data =
            buildSeaGrid(land, readPassages(passagesPath), cellsPerDegree, problems);
        if (!problems.empty()) {
            std::cerr << problems;
            if (data.cells.empty())
                return 1;
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
