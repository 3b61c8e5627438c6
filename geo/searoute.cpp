#include "geo/searoute.h"

#include "geo/landcheck.h"
#include "geo/seageometry.h"

#include <boost/graph/astar_search.hpp>
#include <boost/graph/graph_traits.hpp>
#include <boost/iterator/iterator_facade.hpp>
#include <boost/property_map/function_property_map.hpp>
#include <boost/property_map/property_map.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <numbers>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace gyrena {

using namespace sea;

namespace {

constexpr std::uint32_t kNoNode = std::numeric_limits<std::uint32_t>::max();
constexpr double kNmPerDegree = 60.0;
// A passage is named at a turning point this near the gate; farther, at the crossing itself.
constexpr double kNameNearNm = 20.0;
// Where a place looks for the graph: first within this many degrees, then farther.
constexpr std::array<double, 3> kReachDegrees = {1.0, 3.0, 8.0};
// How many nodes a place is joined to (the search picks the best), and how many it tries.
constexpr std::size_t kPlaceLinks = 8;
constexpr std::size_t kPlaceTries = 60;
// How far inland a place may lie from the water the map shows (a port up its river).
constexpr double kRiverNm = 30.0;
// How many halvings pull a turning point towards the line of its neighbours.
constexpr int kPullSteps = 6;
// A harbour's way out (see wayOut): the lattice's spacings (the finer for a channel the first
// misses), how far from the place it runs, how many points of water next to the place it tries
// to reach first, and how many nodes of the grid it tries from open water.
constexpr std::array<double, 2> kHarbourStepsNm = {1.0, 0.4};
constexpr double kHarbourNm = 45.0;
constexpr std::size_t kHarbourStarts = 40;
constexpr std::size_t kHarbourExits = 4;

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

// The last routes found, newest first: a window asks for the same legs again at every change of
// its voyage, and a drag asks for the legs on either side of one place.
struct GraphSeaRouter::Cache
{
    struct Entry
    {
        LatLon from;
        LatLon to;
        SeaRouteOptions options;
        SeaRoute route;
    };
    static constexpr std::size_t kEntries = 32;
    std::mutex mutex;
    std::deque<Entry> entries;
};

GraphSeaRouter::GraphSeaRouter(const SeaGraph& graph, const SeaLand& land)
    : m_graph(graph), m_land(land), m_cache(std::make_unique<Cache>())
{
}

GraphSeaRouter::~GraphSeaRouter() = default;

SeaRoute GraphSeaRouter::route(LatLon from, LatLon to, const SeaRouteOptions& options) const
{
    const auto same = [&](const Cache::Entry& e) {
        // Bit for bit: a place moved by a hair is routed afresh.
        return e.from.latitude == from.latitude && e.from.longitude == from.longitude &&
               e.to.latitude == to.latitude && e.to.longitude == to.longitude &&
               e.options == options;
    };
    {
        const std::lock_guard lock(m_cache->mutex);
        auto& entries = m_cache->entries;
        const auto hit = std::find_if(entries.begin(), entries.end(), same);
        if (hit != entries.end()) {
            if (hit != entries.begin())
                std::rotate(entries.begin(), hit, hit + 1);
            return entries.front().route;
        }
    }
    SeaRoute found = findSeaRoute(m_graph, m_land, from, to, options);
    const std::lock_guard lock(m_cache->mutex);
    m_cache->entries.push_front({from, to, options, found});
    if (m_cache->entries.size() > Cache::kEntries)
        m_cache->entries.pop_back();
    return found;
}

double seaDistanceNm(LatLon a, LatLon b)
{
    return arcNm(toVec(a), toVec(b));
}

SeaGraph::SeaGraph(SeaGridData data) : m_data(std::move(data))
{
    const int cpd = m_data.cellsPerDegree;
    m_rows = 180 * cpd;
    m_columns = 360 * cpd;
    const auto cellCenter = [&](std::size_t cell) {
        const int row = int(cell / std::size_t(m_columns));
        const int column = int(cell % std::size_t(m_columns));
        return LatLon{-90.0 + (row + 0.5) / cpd, -180.0 + (column + 0.5) / cpd};
    };

    m_cellNode.assign(m_data.cells.size(), kNoNode);
    m_position.reserve(m_data.cells.size() / 2);
    for (std::size_t cell = 0; cell < m_data.cells.size(); ++cell) {
        if (m_data.cells[cell].node == 0)
            continue;
        m_cellNode[cell] = std::uint32_t(m_position.size());
        m_position.push_back(cellCenter(cell));
    }
    m_gridNodes = std::uint32_t(m_position.size());
    m_corridor.assign(m_position.size(), 0);
    std::vector<std::uint32_t> corridorNode; // the node of each corridor point
    for (std::size_t p = 0; p < m_data.passages.size(); ++p) {
        for (const LatLon& point : m_data.passages[p].corridor) {
            corridorNode.push_back(std::uint32_t(m_position.size()));
            m_position.push_back(point);
            m_corridor.push_back(std::uint8_t(p + 1));
        }
    }
    const auto nodeOf = [&](std::uint32_t end) {
        if (end < m_cellNode.size())
            return m_cellNode[end];
        const std::size_t k = end - m_cellNode.size();
        return k < corridorNode.size() ? corridorNode[k] : kNoNode;
    };

    // Every edge once, as (a, b, clearance, length or 0 when still to be measured), in a fixed
    // order: counted first, then laid out, so that no list of edges is ever held twice.
    // A grid edge's length depends on its row and direction alone: measured once for each.
    std::vector<float> rowLength(std::size_t(m_rows) * 4, -1.0f);
    const auto gridLength = [&](int row, int direction) {
        float& length = rowLength[std::size_t(row) * 4 + std::size_t(direction)];
        if (length < 0) {
            const double lat = -90.0 + (row + 0.5) / cpd;
            const double step = 1.0 / cpd;
            const LatLon ends[4] = {
                {lat, step}, {lat + step, step}, {lat + step, 0}, {lat + step, -step}};
            length = float(seaDistanceNm({lat, 0}, ends[direction]));
        }
        return length;
    };
    const auto forEachEdge = [&](auto&& visit) {
        for (int row = 0; row < m_rows; ++row) {
            for (int column = 0; column < m_columns; ++column) {
                const std::size_t cell =
                    std::size_t(row) * std::size_t(m_columns) + std::size_t(column);
                const std::uint32_t from = m_cellNode[cell];
                if (from == kNoNode)
                    continue;
                const SeaCell& c = m_data.cells[cell];
                const auto add = [&](int r, int col, std::uint8_t clearance, int direction) {
                    if (clearance == 0 || r >= m_rows)
                        return;
                    col = (col + m_columns) % m_columns;
                    const std::uint32_t to =
                        m_cellNode[std::size_t(r) * std::size_t(m_columns) + std::size_t(col)];
                    if (to != kNoNode && to != from)
                        visit(from, to, clearance, gridLength(row, direction));
                };
                add(row, column + 1, c.east, 0);
                add(row + 1, column + 1, c.northEast, 1);
                add(row + 1, column, c.north, 2);
                add(row + 1, column - 1, c.northWest, 3);
            }
        }
        for (const SeaLink& link : m_data.links) {
            const std::uint32_t a = nodeOf(link.from);
            const std::uint32_t b = nodeOf(link.to);
            if (a != kNoNode && b != kNoNode && a != b && link.clearance > 0)
                visit(a, b, link.clearance, 0.0f);
        }
    };

    // Both directions of every edge, grouped by their first node.
    m_firstEdge.assign(m_position.size() + 1, 0);
    forEachEdge([&](std::uint32_t a, std::uint32_t b, std::uint8_t, float) {
        ++m_firstEdge[a + 1];
        ++m_firstEdge[b + 1];
    });
    for (std::size_t i = 1; i < m_firstEdge.size(); ++i)
        m_firstEdge[i] += m_firstEdge[i - 1];
    const std::size_t count = m_firstEdge.back();
    m_target.resize(count);
    m_lengthNm.resize(count);
    m_clearance.resize(count);
    m_passage.assign(count, 0);
    m_unit.resize(m_position.size());
    for (std::size_t i = 0; i < m_position.size(); ++i)
        m_unit[i] = toVec(m_position[i]);
    const std::vector<Vec>& unit = m_unit;
    std::vector<std::uint32_t> next(m_firstEdge.begin(), m_firstEdge.end() - 1);
    forEachEdge([&](std::uint32_t a, std::uint32_t b, std::uint8_t clearance, float lengthNm) {
        const float length = lengthNm > 0 ? lengthNm : float(arcNm(unit[a], unit[b]));
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
            const std::uint32_t slot = next[from]++;
            m_target[slot] = to;
            m_lengthNm[slot] = length;
            m_clearance[slot] = clearance;
            if (m_corridor[from] != 0 && m_corridor[from] == m_corridor[to])
                m_passage[slot] = m_corridor[from];
        }
    });

    // The edges that cross a gate belong to its passage: only nodes near the gate can have one.
    for (std::size_t p = 0; p < m_data.passages.size(); ++p) {
        const SeaPassage& passage = m_data.passages[p];
        const Vec g1 = toVec(passage.gateFrom);
        const Vec g2 = toVec(passage.gateTo);
        const double margin = 1.5 / cpd + 1.0;
        const double south = std::min(passage.gateFrom.latitude, passage.gateTo.latitude) - margin;
        const double north = std::max(passage.gateFrom.latitude, passage.gateTo.latitude) + margin;
        const double west = std::min(passage.gateFrom.longitude, passage.gateTo.longitude) - margin;
        const double east = std::max(passage.gateFrom.longitude, passage.gateTo.longitude) + margin;
        for (std::uint32_t node = 0; node < m_position.size(); ++node) {
            const LatLon at = m_position[node];
            if (at.latitude < south || at.latitude > north || at.longitude < west ||
                at.longitude > east)
                continue;
            for (std::uint32_t e = m_firstEdge[node]; e < m_firstEdge[node + 1]; ++e) {
                if (m_passage[e] == 0 && arcsCross(unit[node], unit[m_target[e]], g1, g2)) {
                    m_passage[e] = std::uint8_t(p + 1);
                    // and the way back
                    const std::uint32_t back = m_target[e];
                    for (std::uint32_t f = m_firstEdge[back]; f < m_firstEdge[back + 1]; ++f)
                        if (m_target[f] == node)
                            m_passage[f] = std::uint8_t(p + 1);
                }
            }
        }
    }
    // The basins: a bay the grid reaches through no edge (Tokyo Bay behind its narrows) is one
    // of its own, and a route to it leaves by a harbour's way out.
    m_basin.assign(m_position.size(), kNoNode);
    std::vector<std::uint32_t> stack;
    std::uint32_t basins = 0;
    std::size_t largest = 0;
    for (std::uint32_t seed = 0; seed < m_position.size(); ++seed) {
        if (m_basin[seed] != kNoNode)
            continue;
        m_basin[seed] = basins;
        stack.assign({seed});
        std::size_t size = 0;
        while (!stack.empty()) {
            ++size;
            const std::uint32_t n = stack.back();
            stack.pop_back();
            for (std::uint32_t e = m_firstEdge[n]; e < m_firstEdge[n + 1]; ++e)
                if (m_basin[m_target[e]] == kNoNode) {
                    m_basin[m_target[e]] = basins;
                    stack.push_back(m_target[e]);
                }
        }
        if (size > largest) {
            largest = size;
            m_ocean = basins;
        }
        ++basins;
    }
    // The cells are in m_cellNode and the edges now.
    m_data.cells = {};
}

std::vector<std::uint32_t> SeaGraph::nodesNear(LatLon at, double degrees) const
{
    std::vector<std::uint32_t> out;
    const int cpd = m_data.cellsPerDegree;
    const int rowFrom = std::max(0, int(std::floor((at.latitude - degrees + 90) * cpd)));
    const int rowTo = std::min(m_rows - 1, int(std::floor((at.latitude + degrees + 90) * cpd)));
    const double widest =
        std::max(std::abs(at.latitude - degrees), std::abs(at.latitude + degrees));
    const double cosine = std::cos(std::min(widest, 89.0) * std::numbers::pi / 180);
    const int half = std::min(m_columns / 2, int(std::ceil(degrees / cosine * cpd)) + 1);
    const int column = int(std::floor((at.longitude + 180) * cpd));
    for (int row = rowFrom; row <= rowTo; ++row)
        for (int dc = -half; dc < half + (2 * half < m_columns ? 1 : 0); ++dc) {
            const int c = ((column + dc) % m_columns + m_columns) % m_columns;
            const std::uint32_t node =
                m_cellNode[std::size_t(row) * std::size_t(m_columns) + std::size_t(c)];
            if (node != kNoNode)
                out.push_back(node);
        }
    for (std::uint32_t node = m_gridNodes; node < m_position.size(); ++node)
        if (std::abs(m_position[node].latitude - at.latitude) <= degrees)
            out.push_back(node);
    return out;
}

namespace {

// Clearances are measured up to here: beyond it, a leg is open for any clearance asked.
constexpr double kCapNm = 255 * kSeaClearanceUnitNm;
// How far a corridor's end looks for the grid, degrees, and how many nodes it joins.
constexpr double kCorridorReachDegrees = 1.5;
constexpr std::size_t kCorridorLinks = 12;

std::uint8_t units(double nm)
{
    return std::uint8_t(std::clamp(std::floor(nm / kSeaClearanceUnitNm + 1e-9), 0.0, 255.0));
}

std::string positionText(LatLon p)
{
    return std::to_string(p.latitude) + " " + std::to_string(p.longitude);
}

} // namespace

SeaGridData buildSeaGrid(const SeaLand& land, std::vector<SeaPassage> passages, int cellsPerDegree,
                         std::string& problems)
{
    SeaGridData data;
    data.cellsPerDegree = cellsPerDegree;
    data.passages = std::move(passages);
    bool bad = false;
    for (const SeaPassage& p : data.passages) {
        for (const LatLon& end : {p.gateFrom, p.gateTo})
            if (land.clearanceNm(end, end, 1) > 0) {
                problems += p.key + ": gate end " + positionText(end) + " is not on land\n";
                bad = true;
            }
        for (std::size_t k = 0; k < p.corridor.size(); ++k) {
            const LatLon a = p.corridor[k];
            if (k + 1 < p.corridor.size() &&
                !land.legClears(a, p.corridor[k + 1], 0, false, false)) {
                problems += p.key + ": corridor leg " + std::to_string(k) + "-" +
                            std::to_string(k + 1) + " crosses land\n";
                bad = true;
            }
        }
    }
    if (bad)
        return {};

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
                if (data.cells[std::size_t(r) * std::size_t(columns) + std::size_t(col)].node == 0)
                    return 0;
                return units(land.clearanceNm(centre(row, column), centre(r, col), kCapNm));
            };
            cell.east = edge(row, column + 1);
            cell.northEast = edge(row + 1, column + 1);
            cell.north = edge(row + 1, column);
            cell.northWest = edge(row + 1, column - 1);
        }
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
            data.links.push_back(
                {next + std::uint32_t(k), next + std::uint32_t(k + 1), kAnyClearance});
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
                const std::uint32_t id =
                    std::uint32_t(r) * std::uint32_t(columns) + std::uint32_t(c);
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
            problems += "a corridor end at " + positionText(end.at) + " reaches no grid node\n";
    }

    return data;
}

const SeaPassage* SeaGraph::passage(std::string_view key) const
{
    const std::string wanted = lowerCase(key);
    for (const SeaPassage& p : m_data.passages)
        if (p.key == wanted)
            return &p;
    return nullptr;
}

// One search: the graph as the options allow it, with the start and the goal as two more
// vertices (numbered after the graph's nodes) joined to the nodes they reach. It models
// Boost.Graph's incidence and vertex-list graphs for astar_search.
struct SearchEdge
{
    std::uint32_t source = 0;
    std::uint32_t target = 0;
    float lengthNm = 0;
    bool operator==(const SearchEdge&) const = default;
};

class SeaSearch
{
public:
    SeaSearch(const SeaGraph& graph, std::uint8_t clearance, double limitLatitude,
              std::array<bool, 256> avoided)
        : m_graph(graph), m_clearance(clearance), m_avoided(avoided),
          m_start(std::uint32_t(graph.nodeCount())), m_goal(std::uint32_t(graph.nodeCount() + 1)),
          m_limitLatitude(limitLatitude)
    {
    }

    const SeaGraph& graph() const { return m_graph; }
    std::uint8_t clearance() const { return m_clearance; }
    void setClearance(std::uint8_t units) { m_clearance = units; }
    std::uint32_t start() const { return m_start; }
    std::uint32_t goal() const { return m_goal; }
    std::uint32_t vertexCount() const { return m_goal + 1; }

    bool nodeOpen(std::uint32_t node) const
    {
        return std::abs(m_graph.position(node).latitude) <= m_limitLatitude;
    }
    bool edgeOpen(std::uint32_t e) const
    {
        return nodeOpen(m_graph.target(e)) &&
               (m_graph.clearance(e) >= m_clearance || m_graph.clearance(e) == kAnyClearance) &&
               !m_avoided[m_graph.passageOf(e)];
    }

    std::vector<std::pair<std::uint32_t, float>> startLinks;
    std::unordered_map<std::uint32_t, float> goalLinks;

private:
    const SeaGraph& m_graph;
    std::uint8_t m_clearance;
    std::array<bool, 256> m_avoided;
    std::uint32_t m_start;
    std::uint32_t m_goal;
    double m_limitLatitude;
};

// The open edges out of one vertex: the graph's, then the link to the goal if the vertex has
// one; the start's links for the start.
class SearchEdgeIterator : public boost::iterator_facade<SearchEdgeIterator, SearchEdge,
                                                         boost::forward_traversal_tag, SearchEdge>
{
public:
    SearchEdgeIterator() = default;
    SearchEdgeIterator(const SeaSearch* search, std::uint32_t vertex, bool atEnd)
        : m_search(search), m_vertex(vertex)
    {
        const SeaGraph& graph = search->graph();
        if (vertex == search->start()) {
            m_end = std::uint32_t(search->startLinks.size());
        } else if (vertex == search->goal()) {
            m_end = 0;
        } else {
            m_position = graph.firstEdge(vertex);
            m_graphEnd = graph.firstEdge(vertex + 1);
            m_end = m_graphEnd + (search->goalLinks.count(vertex) ? 1 : 0);
        }
        if (atEnd)
            m_position = m_end;
        else
            skipClosed();
    }

private:
    friend class boost::iterator_core_access;

    void skipClosed()
    {
        if (m_vertex >= m_search->start())
            return;
        while (m_position < m_graphEnd && !m_search->edgeOpen(m_position))
            ++m_position;
    }
    void increment()
    {
        ++m_position;
        skipClosed();
    }
    bool equal(const SearchEdgeIterator& other) const { return m_position == other.m_position; }
    SearchEdge dereference() const
    {
        if (m_vertex == m_search->start()) {
            const auto& link = m_search->startLinks[m_position];
            return {m_vertex, link.first, link.second};
        }
        if (m_position == m_graphEnd)
            return {m_vertex, m_search->goal(), m_search->goalLinks.at(m_vertex)};
        const SeaGraph& graph = m_search->graph();
        return {m_vertex, graph.target(m_position), graph.lengthNm(m_position)};
    }

    const SeaSearch* m_search = nullptr;
    std::uint32_t m_vertex = 0;
    std::uint32_t m_position = 0;
    std::uint32_t m_graphEnd = 0;
    std::uint32_t m_end = 0;
};

inline std::pair<SearchEdgeIterator, SearchEdgeIterator> out_edges(std::uint32_t v,
                                                                   const SeaSearch& g)
{
    return {SearchEdgeIterator(&g, v, false), SearchEdgeIterator(&g, v, true)};
}
inline std::uint32_t source(const SearchEdge& e, const SeaSearch&)
{
    return e.source;
}
inline std::uint32_t target(const SearchEdge& e, const SeaSearch&)
{
    return e.target;
}
inline std::uint32_t num_vertices(const SeaSearch& g)
{
    return g.vertexCount();
}
inline std::uint32_t out_degree(std::uint32_t v, const SeaSearch& g)
{
    auto [first, last] = out_edges(v, g);
    return std::uint32_t(std::distance(first, last));
}

} // namespace gyrena

namespace boost {

template <> struct graph_traits<gyrena::SeaSearch>
{
    using vertex_descriptor = std::uint32_t;
    using edge_descriptor = gyrena::SearchEdge;
    using out_edge_iterator = gyrena::SearchEdgeIterator;
    using directed_category = directed_tag;
    using edge_parallel_category = allow_parallel_edge_tag;
    struct traversal_category : incidence_graph_tag, vertex_list_graph_tag
    {
    };
    using vertices_size_type = std::uint32_t;
    using edges_size_type = std::uint32_t;
    using degree_size_type = std::uint32_t;
    using vertex_iterator = void;
    using adjacency_iterator = void;
    using in_edge_iterator = void;
    using edge_iterator = void;
    static vertex_descriptor null_vertex() { return std::numeric_limits<std::uint32_t>::max(); }
};

} // namespace boost

namespace gyrena {

namespace {

struct GoalReached
{
};

struct StopAtGoal : boost::default_astar_visitor
{
    std::uint32_t goal;
    void examine_vertex(std::uint32_t v, const SeaSearch&) const
    {
        if (v == goal)
            throw GoalReached{};
    }
};

// Checks legs between the points of a route as the options ask.
class LegRule
{
public:
    LegRule(const SeaLand& land, const SeaRouteOptions& options,
            std::vector<const SeaPassage*> avoided)
        : m_land(land), m_options(options), m_avoided(std::move(avoided))
    {
    }

    bool clears(const Vec& a, const Vec& b, bool aIsPlace, bool bIsPlace) const
    {
        return clears(a, b, aIsPlace, bIsPlace, m_options.clearanceNm);
    }
    // A negative clearance asks nothing of the land.
    bool clears(const Vec& a, const Vec& b, bool aIsPlace, bool bIsPlace, double clearanceNm) const
    {
        if (highestLatitude(a, b) > m_options.limitLatitude)
            return false;
        for (const SeaPassage* passage : m_avoided) {
            if (arcsCross(a, b, toVec(passage->gateFrom), toVec(passage->gateTo)))
                return false;
        }
        if (clearanceNm < 0) // known to be water: only the options asked
            return true;
        return m_land.legClears(toLatLon(a), toLatLon(b), clearanceNm, aIsPlace, bIsPlace);
    }

    // A leg between a place and a point of the route (from the place, or with `toPlace` to it).
    // The point becomes a place of the voyage too, and the land check then asks that the place's
    // approach end in water short of it: both readings must clear.
    bool clearsFromPlace(const Vec& a, const Vec& b, double clearanceNm, bool toPlace = false) const
    {
        return clears(a, b, !toPlace, toPlace, clearanceNm) &&
               clears(a, b, true, true, clearanceNm);
    }

    const SeaLand& land() const { return m_land; }
    double clearanceNm() const { return m_options.clearanceNm; }

private:
    const SeaLand& m_land;
    const SeaRouteOptions& m_options;
    std::vector<const SeaPassage*> m_avoided;
};

struct PathPoint
{
    Vec at;
    std::uint8_t corridor = 0; // the passage's index + 1 for a corridor point
    bool isPlace = false;
    std::string name; // a passage named at this point by a gate
    // On a place's way out of its harbour (wayOut): 1 the start's, 2 the end's.
    std::uint8_t harbour = 0;
};

// How far each leg of a path found nearer the coast than the clearance asked keeps off it (up to
// that clearance): leg k runs from point k to k + 1. A leg in a channel or to a place counts as
// clear: the rules of those legs do not ask the clearance.
std::vector<double> ownClearances(const std::vector<PathPoint>& path, const LegRule& rule)
{
    std::vector<double> out;
    const double asked = rule.clearanceNm();
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
        const PathPoint& a = path[k];
        const PathPoint& b = path[k + 1];
        const bool special = a.isPlace || b.isPlace || a.harbour != 0 || b.harbour != 0 ||
                             a.corridor != 0 || b.corridor != 0;
        out.push_back(special ? asked
                              : rule.land().clearanceNm(toLatLon(a.at), toLatLon(b.at), asked));
    }
    return out;
}

// The fewest legs through the path's points that each clear: from each point, the farthest
// later point it reaches (found by doubling, then halving), the next step of a graph edge
// always allowed. With `own` (ownClearances, for a path found nearer the coast than asked) a
// leg need keep only as far off as the legs it replaces: the route is never nearer the coast
// than the path, and a straight run of the path's points becomes one leg.
std::vector<PathPoint> tighten(const std::vector<PathPoint>& path, const LegRule& rule,
                               const std::vector<double>* own = nullptr)
{
    std::vector<PathPoint> out{path.front()};
    std::size_t i = 0;
    const std::size_t last = path.size() - 1;
    // Within one corridor a shortcut need only stay in water: the channel is narrower than
    // any clearance.
    // Likewise within a harbour, from the place to the end of its way out.
    const auto reaches = [&](std::size_t from, std::size_t to) {
        const auto side = [&](std::size_t k) {
            return path[k].harbour != 0 ? path[k].harbour
                   : path[k].isPlace    ? std::uint8_t(k == 0 ? 1 : 2)
                                        : std::uint8_t(0);
        };
        const bool inHarbour = side(from) != 0 && side(from) == side(to);
        const bool channel =
            inHarbour || (path[from].corridor != 0 && path[from].corridor == path[to].corridor);
        if (channel)
            return rule.clears(path[from].at, path[to].at, false, false, 0.0);
        double clearance = rule.clearanceNm();
        if (own)
            for (std::size_t k = from; k < to; ++k)
                clearance = std::min(clearance, (*own)[k]);
        return rule.clears(path[from].at, path[to].at, path[from].isPlace, path[to].isPlace,
                           clearance);
    };
    while (i < last) {
        std::size_t good = i + 1;
        std::size_t bad = last + 1;
        for (std::size_t step = 2; i + step <= last; step *= 2) {
            if (reaches(i, i + step)) {
                good = i + step;
            } else {
                bad = i + step;
                break;
            }
        }
        if (bad == last + 1 && good != last && reaches(i, last))
            good = last;
        else if (bad == last + 1)
            bad = last;
        while (bad - good > 1) {
            const std::size_t middle = good + (bad - good) / 2;
            if (reaches(i, middle))
                good = middle;
            else
                bad = middle;
        }
        out.push_back(path[good]);
        i = good;
    }
    return out;
}

// Moves each turning point outside a corridor towards the great circle of its neighbours as far
// as both its legs still clear: the grid's points lie up to half a cell off the shortest way.
void pull(std::vector<PathPoint>& points, const LegRule& rule)
{
    for (std::size_t k = 1; k + 1 < points.size(); ++k) {
        PathPoint& turn = points[k];
        if (turn.corridor != 0 || turn.isPlace || turn.harbour != 0)
            continue;
        const PathPoint& before = points[k - 1];
        const PathPoint& after = points[k + 1];
        if (arc(before.at, after.at) < 1e-9)
            continue;
        const Vec target = nearestOnArc(turn.at, before.at, after.at);
        double good = 0.0;
        double bad = 1.0;
        Vec best = turn.at;
        for (int step = 0; step < kPullSteps; ++step) {
            const double f = step == 0 ? 1.0 : (good + bad) / 2;
            const Vec candidate = along(turn.at, target, f);
            if (rule.clears(before.at, candidate, before.isPlace, false) &&
                rule.clears(candidate, after.at, false, after.isPlace)) {
                good = f;
                best = candidate;
                if (step == 0)
                    break;
            } else {
                bad = f;
            }
        }
        turn.at = best;
    }
}

// A place's way out of a harbour the grid does not reach in one leg (a port inside its bay
// behind narrows, at the head of a fjord): the shortest way through the water the map shows,
// on a lattice of `stepNm` round the place up to kHarbourNm from it, to a point from which
// a node of the grid is reached in one leg. The points run from the place outwards, the last
// one followed by `node`.
struct WayOut
{
    std::vector<Vec> points;
    std::uint32_t node = 0;
    double lengthNm = 0.0; // to the node
};

WayOut wayOutOn(double stepNm, const SeaGraph& graph, const LegRule& rule, const Vec& place,
                bool isStart, const std::function<bool(std::uint32_t)>& nodeOpen)
{
    const LatLon at = toLatLon(place);
    const double latStep = stepNm / kNmPerDegree;
    const double lonStep = latStep / std::max(std::cos(at.latitude * std::numbers::pi / 180), 0.1);
    const int reach = int(kHarbourNm / stepNm);
    const auto key = [&](int i, int j) { return (i + reach) * (2 * reach + 1) + (j + reach); };
    const auto point = [&](int i, int j) {
        return toVec(
            {std::clamp(at.latitude + i * latStep, -90.0, 90.0), at.longitude + j * lonStep});
    };
    // A leg as the place's own: leaving it when it starts the route, arriving at it when it ends.
    // The first leaves the place for a point that becomes a place of the voyage too, which the
    // land check asks to lie in water beyond the approach's land.
    const auto legClears = [&](const Vec& a, const Vec& b, bool first) {
        if (!first)
            return isStart ? rule.clears(a, b, false, false, 0.0)
                           : rule.clears(b, a, false, false, 0.0);
        return isStart ? rule.clearsFromPlace(a, b, 0.0) : rule.clearsFromPlace(b, a, 0.0, true);
    };
    std::unordered_map<int, double> clearance; // of each lattice point, up to 1 nm
    const auto clearanceAt = [&](int i, int j) {
        const auto [it, added] = clearance.try_emplace(key(i, j), 0.0);
        if (added) {
            const LatLon p = toLatLon(point(i, j));
            it->second = rule.land().clearanceNm(p, p, 1.0);
        }
        return it->second;
    };
    struct State
    {
        double nm = std::numeric_limits<double>::infinity();
        int from = -1; // the key it is reached from; -1 from the place
        bool done = false;
    };
    std::unordered_map<int, State> state;
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    // First, from the place (perhaps a town's centre a little inland) to the water within its
    // approach.
    const int first = int(std::ceil(kApproachNm / stepNm));
    std::vector<std::tuple<double, int, int>> starts;
    for (int i = -first; i <= first; ++i)
        for (int j = -first; j <= first; ++j) {
            const double nm = arcNm(place, point(i, j));
            if (nm <= kApproachNm && nm > 0)
                starts.emplace_back(nm, i, j);
        }
    std::sort(starts.begin(), starts.end());
    std::size_t tried = 0;
    for (const auto& [nm, i, j] : starts) {
        if (clearanceAt(i, j) <= 0)
            continue;
        if (tried++ == kHarbourStarts)
            break;
        if (legClears(place, point(i, j), true)) {
            state[key(i, j)] = {nm, -1, false};
            queue.emplace(nm, key(i, j));
        }
    }
    const auto unkey = [&](int k) {
        return std::pair{k / (2 * reach + 1) - reach, k % (2 * reach + 1) - reach};
    };
    while (!queue.empty()) {
        const auto [nm, k] = queue.top();
        queue.pop();
        State& here = state[k];
        if (here.done)
            continue;
        here.done = true;
        const auto [i, j] = unkey(k);
        const Vec u = point(i, j);
        // Open water: does a leg reach the grid from here?
        if (clearanceAt(i, j) >= 1.0) {
            std::vector<std::pair<double, std::uint32_t>> near;
            for (std::uint32_t node : graph.nodesNear(toLatLon(u), 0.5))
                if (nodeOpen(node))
                    near.emplace_back(arcNm(u, graph.unitVector(node)), node);
            std::sort(near.begin(), near.end());
            if (near.size() > kHarbourExits)
                near.resize(kHarbourExits);
            for (const auto& [d, node] : near) {
                if (!legClears(u, graph.unitVector(node), false))
                    continue;
                WayOut out{{}, node, nm + d};
                for (int at = k; at != -1; at = state[at].from) {
                    const auto [a, b] = unkey(at);
                    out.points.push_back(point(a, b));
                }
                out.points.push_back(place);
                std::reverse(out.points.begin(), out.points.end());
                return out;
            }
        }
        for (int di = -1; di <= 1; ++di)
            for (int dj = -1; dj <= 1; ++dj) {
                const int ni = i + di, nj = j + dj;
                if ((di == 0 && dj == 0) || std::abs(ni) > reach || std::abs(nj) > reach)
                    continue;
                const int nk = key(ni, nj);
                if (state.count(nk) && state[nk].done)
                    continue;
                const Vec v = point(ni, nj);
                const double length = arcNm(u, v);
                if (arcNm(place, v) > kHarbourNm || clearanceAt(ni, nj) <= 0)
                    continue;
                // Every point of a leg lies within half its length of an end: with both ends
                // that far from land it is water, and only the options are left to ask.
                const bool open =
                    clearanceAt(i, j) > length / 2 && clearanceAt(ni, nj) > length / 2;
                if (!(open ? rule.clears(u, v, false, false, -1.0) : legClears(u, v, false)))
                    continue;
                State& next = state[nk];
                if (nm + length < next.nm) {
                    next = {nm + length, k, false};
                    queue.emplace(nm + length, nk);
                }
            }
    }
    return {};
}

WayOut wayOut(const SeaGraph& graph, const LegRule& rule, const Vec& place, bool isStart,
              const std::function<bool(std::uint32_t)>& nodeOpen)
{
    for (double stepNm : kHarbourStepsNm) {
        WayOut way = wayOutOn(stepNm, graph, rule, place, isStart, nodeOpen);
        if (!way.points.empty())
            return way;
    }
    return {};
}

} // namespace

SeaRoute findSeaRoute(const SeaGraph& graph, const SeaLand& land, LatLon from, LatLon to,
                      const SeaRouteOptions& options)
{
    SeaRoute route;
    const auto fail = [&](std::string problem) {
        route = SeaRoute{};
        route.problem = std::move(problem);
        return route;
    };
    if (!(options.clearanceNm >= 0 && options.clearanceNm <= kMaximumSeaClearanceNm))
        return fail("the clearance is outside 0 to 50 nautical miles");
    if (!(options.limitLatitude >= 1 && options.limitLatitude <= 89))
        return fail("the limiting latitude is outside 1 to 89 degrees");
    for (const LatLon& p : {from, to})
        if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude) || std::abs(p.latitude) > 90)
            return fail("a position is out of range");
    std::array<bool, 256> avoidedIndex{};
    std::vector<const SeaPassage*> avoided;
    for (const std::string& key : options.avoid) {
        const SeaPassage* passage = graph.passage(key);
        if (!passage)
            return fail("there is no passage called \"" + key + "\"");
        avoided.push_back(passage);
        avoidedIndex[std::size_t(passage - graph.passages().data()) + 1] = true;
    }
    for (const auto& [p, which] : {std::pair{from, "the start"}, std::pair{to, "the end"}})
        if (std::abs(p.latitude) > options.limitLatitude)
            return fail(std::string(which) + " lies beyond the limiting latitude");

    const LegRule rule(land, options, avoided);
    const Vec start = toVec(from);
    const Vec goal = toVec(to);
    std::vector<PathPoint> path;
    if (rule.clears(start, goal, true, true)) {
        path = {{start, 0, true, {}}, {goal, 0, true, {}}};
    } else {
        const double units = std::ceil(options.clearanceNm / kSeaClearanceUnitNm - 1e-9);
        SeaSearch search(graph, std::uint8_t(std::clamp(units, 1.0, 254.0)), options.limitLatitude,
                         avoidedIndex);
        // Joins a place to the nodes it reaches, nearest first; a place the clearance shuts in
        // (a harbour behind its breakwaters) leaves with no clearance. With `river`, a port up
        // its river, which the map shows as land: see below.
        const auto links = [&](const Vec& place, bool isStart, bool river) {
            std::vector<std::pair<std::uint32_t, float>> found;
            const LatLon at = toLatLon(place);
            for (double reach : kReachDegrees) {
                std::vector<std::pair<double, std::uint32_t>> candidates;
                for (std::uint32_t node : graph.nodesNear(at, reach)) {
                    const double d = arc(place, graph.unitVector(node)) * kNmPerRadian;
                    if (search.nodeOpen(node) && d <= reach * kNmPerDegree)
                        candidates.emplace_back(d, node);
                }
                std::sort(candidates.begin(), candidates.end());
                const std::vector<double> tiers =
                    river ? std::vector<double>{-1.0}
                          : std::vector<double>{options.clearanceNm, 0.0};
                for (double clearance : tiers) {
                    std::size_t tries = 0;
                    for (const auto& [d, node] : candidates) {
                        if (found.size() == kPlaceLinks || tries++ == kPlaceTries)
                            break;
                        const Vec p = toVec(graph.position(node));
                        // Last, a port up its river: the map's land within kRiverNm of it is
                        // its way out (the land check will report what lies beyond its
                        // approach).
                        const Vec out =
                            clearance >= 0 || d <= kRiverNm ? place : along(place, p, kRiverNm / d);
                        const bool reaches =
                            clearance < 0
                                ? d > kRiverNm && rule.clears(out, p, false, false, 0.0)
                                : (isStart ? rule.clearsFromPlace(place, p, clearance)
                                           : rule.clearsFromPlace(p, place, clearance, true));
                        if (reaches)
                            found.emplace_back(node, float(d));
                    }
                    if (!found.empty())
                        return found;
                }
            }
            return found;
        };
        // A place no leg joins to the grid: its way out of its harbour, else a river's.
        WayOut startWay, goalWay;
        const auto join = [&](const Vec& place, bool isStart, WayOut& way) {
            auto found = links(place, isStart, false);
            if (found.empty()) {
                way = wayOut(graph, rule, place, isStart,
                             [&](std::uint32_t node) { return search.nodeOpen(node); });
                if (!way.points.empty())
                    found = {{way.node, float(way.lengthNm)}};
            }
            return found.empty() ? links(place, isStart, true) : found;
        };
        search.startLinks = join(start, true, startWay);
        if (search.startLinks.empty())
            return fail("the start has no open water within its approach");
        for (const auto& [node, length] : join(goal, false, goalWay))
            search.goalLinks.emplace(node, length);
        if (search.goalLinks.empty())
            return fail("the end has no open water within its approach");

        const std::uint32_t n = search.vertexCount();
        // The search's maps are as long as the graph: kept for the thread's next search, so
        // that a batch of routes does not fault in fresh pages for each.
        thread_local std::vector<std::uint32_t> predecessor;
        thread_local std::vector<double> distance;
        thread_local std::vector<double> cost;
        thread_local std::vector<boost::default_color_type> color;
        const auto position = [&](std::uint32_t v) {
            if (v == search.start())
                return start;
            if (v == search.goal())
                return goal;
            return graph.unitVector(v);
        };
        // The great circle to the goal: never more than the way left.
        const auto estimate = [&](std::uint32_t v) { return arcNm(position(v), goal); };
        const auto run = [&] {
            predecessor.resize(n);
            distance.assign(n, std::numeric_limits<double>::infinity());
            cost.assign(n, std::numeric_limits<double>::infinity());
            color.assign(n, boost::white_color);
            for (std::uint32_t v = 0; v < n; ++v)
                predecessor[v] = v;
            distance[search.start()] = 0;
            cost[search.start()] = estimate(search.start());
            const auto index = boost::typed_identity_property_map<std::uint32_t>();
            try {
                boost::astar_search_no_init(
                    search, search.start(), estimate, StopAtGoal{{}, search.goal()},
                    boost::make_iterator_property_map(predecessor.begin(), index),
                    boost::make_iterator_property_map(cost.begin(), index),
                    boost::make_iterator_property_map(distance.begin(), index),
                    boost::make_function_property_map<SearchEdge>(
                        [](const SearchEdge& e) { return double(e.lengthNm); }),
                    boost::make_iterator_property_map(color.begin(), index), index,
                    std::less<double>(), boost::closed_plus<double>(),
                    std::numeric_limits<double>::infinity(), 0.0);
            } catch (const GoalReached&) {
                return true;
            }
            return false;
        };
        // A place in a bay the grid reaches through no edge (its links all lie in a basin of
        // their own, Tokyo Bay behind its narrows): its way out, to the other end's basin, else
        // both ends' to the ocean.
        const auto basinsOf = [&](const auto& links) {
            std::vector<std::uint32_t> out;
            for (const auto& link : links)
                out.push_back(graph.basinOf(link.first));
            return out;
        };
        const auto leave = [&](bool isStart, std::vector<std::uint32_t> basins) {
            WayOut found =
                wayOut(graph, rule, isStart ? start : goal, isStart, [&](std::uint32_t node) {
                    return search.nodeOpen(node) && std::find(basins.begin(), basins.end(),
                                                              graph.basinOf(node)) != basins.end();
                });
            if (found.points.empty())
                return false;
            WayOut& way = isStart ? startWay : goalWay;
            way = std::move(found);
            if (isStart) {
                search.startLinks = {{way.node, float(way.lengthNm)}};
            } else {
                search.goalLinks.clear();
                search.goalLinks.emplace(way.node, float(way.lengthNm));
            }
            return true;
        };
        const auto escapeBasins = [&] {
            const std::vector<std::uint32_t> startBasins = basinsOf(search.startLinks);
            const std::vector<std::uint32_t> goalBasins = basinsOf(search.goalLinks);
            if (std::find_first_of(startBasins.begin(), startBasins.end(), goalBasins.begin(),
                                   goalBasins.end()) != startBasins.end())
                return false;
            if (leave(true, goalBasins) && run())
                return true;
            if (leave(false, basinsOf(search.startLinks)) && run())
                return true;
            const std::vector<std::uint32_t> ocean{graph.oceanBasin()};
            const auto inOcean = [&](const auto& links) {
                const std::vector<std::uint32_t> basins = basinsOf(links);
                return std::find(basins.begin(), basins.end(), ocean[0]) != basins.end();
            };
            const bool moved = !inOcean(search.startLinks) && leave(true, ocean);
            return ((!inOcean(search.goalLinks) && leave(false, ocean)) || moved) && run();
        };
        const auto attempt = [&] { return run() || escapeBasins(); };
        bool reached = attempt();
        // A port in a sound the grid reaches only nearer the coast than the clearance (the head
        // of a long inlet): the way in is taken as narrow as it is, and the route says so.
        if (!reached && search.clearance() > 1) {
            search.setClearance(1);
            reached = attempt();
            route.narrowed = reached;
        }
        if (!reached) {
            std::string why = "no way by sea";
            if (!avoided.empty())
                why += " avoiding the passages named";
            return fail(why);
        }
        std::vector<std::uint32_t> vertices;
        for (std::uint32_t v = search.goal(); v != search.start(); v = predecessor[v])
            vertices.push_back(v);
        vertices.push_back(search.start());
        std::reverse(vertices.begin(), vertices.end());
        for (std::uint32_t v : vertices) {
            const bool isPlace = v >= graph.nodeCount();
            if (v == search.goal())
                for (std::size_t k = goalWay.points.size(); k-- > 1;)
                    path.push_back({goalWay.points[k], 0, false, {}, 2});
            path.push_back(
                {position(v), isPlace ? std::uint8_t(0) : graph.corridorOf(v), isPlace, {}});
            if (v == search.start())
                for (std::size_t k = 1; k < startWay.points.size(); ++k)
                    path.push_back({startWay.points[k], 0, false, {}, 1});
        }
        std::vector<double> own;
        if (route.narrowed)
            own = ownClearances(path, rule);
        path = tighten(path, rule, route.narrowed ? &own : nullptr);
        pull(path, rule);
        if (route.narrowed)
            own = ownClearances(path, rule);
        path = tighten(path, rule, route.narrowed ? &own : nullptr);
    }

    route.found = true;
    // Two corridors that meet give the same point twice: it is one turning point.
    std::vector<PathPoint> points;
    for (const PathPoint& p : path)
        if (points.empty() || arc(p.at, points.back().at) > 1e-12)
            points.push_back(p);
    const auto addPassage = [&](const std::string& name) {
        if (std::find(route.passages.begin(), route.passages.end(), name) == route.passages.end())
            route.passages.push_back(name);
    };
    for (std::size_t k = 0; k < points.size(); ++k) {
        SeaRoutePoint point{toLatLon(points[k].at), {}};
        if (points[k].corridor != 0) {
            point.passage = graph.passages()[points[k].corridor - 1].name;
            addPassage(point.passage);
        } else {
            point.passage = points[k].name;
        }
        route.points.push_back(point);
        if (k + 1 == points.size())
            break;
        // A leg through a gate names its passage at its end near the gate, or at the crossing
        // itself (a point on the leg's own great circle: the track stays as it is).
        for (const SeaPassage& p : graph.passages()) {
            const Vec g1 = toVec(p.gateFrom);
            const Vec g2 = toVec(p.gateTo);
            const Vec& a = points[k].at;
            const Vec& b = points[k + 1].at;
            if (!arcsCross(a, b, g1, g2))
                continue;
            addPassage(p.name);
            if (points[k].corridor == std::size_t(&p - graph.passages().data()) + 1 ||
                points[k + 1].corridor == std::size_t(&p - graph.passages().data()) + 1)
                continue;
            const Vec cut = crossing(a, b, g1, g2);
            if (!points[k].isPlace && route.points.back().passage.empty() &&
                arcNm(cut, a) <= kNameNearNm) {
                route.points.back().passage = p.name;
            } else if (!points[k + 1].isPlace && points[k + 1].corridor == 0 &&
                       points[k + 1].name.empty() && arcNm(cut, b) <= kNameNearNm) {
                points[k + 1].name = p.name;
            } else if (arcNm(cut, a) > 1e-6 && arcNm(cut, b) > 1e-6) {
                route.points.push_back({toLatLon(cut), p.name});
            }
        }
    }
    for (std::size_t k = 0; k + 1 < route.points.size(); ++k)
        route.distanceNm += seaDistanceNm(route.points[k].position, route.points[k + 1].position);
    return route;
}

} // namespace gyrena
