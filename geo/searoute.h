#pragma once

// Routes by sea: the shortest way from one place to another that stays in water, given as a
// navigator sails it, great-circle legs between turning points, the known passages (straits,
// canals, capes) named.
//
// The search runs on a graph of water (see SeaGraph): a grid of points over the oceans, each
// joined to its eight neighbours where the great circle between them keeps clear of the land,
// and the passages too narrow for the grid as named corridors of mid-channel points. Boost.Graph's
// A* finds the shortest path on it (great-circle weights, the great circle to the goal as the
// estimate); the path is then tightened into the fewest legs that still clear the land, each
// checked against the land itself, and its turning points are pulled in towards the coast. A
// place whose water the grid does not reach in one leg (a harbour behind narrows) first finds
// its way out through the map's water on a fine lattice round it.
//
// Distances are on the sphere, nautical miles (1 nm = 1 arc minute), as in routeplan.h.

#include "geo/latlon.h"
#include "geo/searouting.h"
#include "geo/spherepath.h"
#include "geo/voyage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

enum class PassageKind : std::uint8_t { Canal, Strait, Cape };

// A named passage. A route that goes through it crosses its gate, a line across the passage
// whose ends lie on land; a passage narrower than the grid also has a corridor, points along
// the middle of its channel (from one end in open water to the other), which routes may follow
// whatever their clearance.
struct SeaPassage
{
    std::string key;  // lower case, what --avoid names: "suez", "gibraltar", "good-hope"
    std::string name; // "Suez Canal"
    PassageKind kind = PassageKind::Strait;
    LatLon gateFrom;
    LatLon gateTo;
    std::vector<LatLon> corridor; // empty, or at least two points

    bool operator==(const SeaPassage&) const = default;
};

// What routing asks of the land. The land check answers it (geo/ has the implementation on the
// land's index); tests answer it from a made-up world.
class SeaLand
{
public:
    virtual ~SeaLand() = default;
    // The least distance between the great circle from `from` to `to` (a point when they are
    // equal) and any land, nautical miles, capped at `capNm`: 0 when it touches or crosses land.
    virtual double clearanceNm(LatLon from, LatLon to, double capNm) const = 0;
    // Whether a leg from `from` to `to` keeps `clearanceNm` off the land, except that the land
    // of a place's approach (the land between the place and open water along the leg, as the
    // land check allows it) is no crossing where `fromIsPlace` or `toIsPlace` says the end is a
    // place of the voyage. Within an approach the clearance is not asked either.
    virtual bool legClears(LatLon from, LatLon to, double clearanceNm, bool fromIsPlace,
                           bool toIsPlace) const = 0;
};

// The graph's water grid as the asset stores it: one record per cell, row after row from the
// south (row r holds latitude -90 + (r + 0.5) / cellsPerDegree), column after column from -180.
// Clearances are in units of kSeaClearanceUnitNm, 0 meaning none (land, or nearer to it than one
// unit), capped at 255.
inline constexpr double kSeaClearanceUnitNm = 0.2;
inline constexpr std::uint8_t kAnyClearance = 255; // a corridor: open whatever is asked

struct SeaCell
{
    std::uint8_t node = 0;      // the cell's centre's distance from land
    std::uint8_t east = 0;      // the edge to the cell east (across 180 too)
    std::uint8_t northEast = 0; // to the cell north and east
    std::uint8_t north = 0;
    std::uint8_t northWest = 0;

    bool operator==(const SeaCell&) const = default;
};

// An edge beyond the grid: in a corridor, or from a corridor's end to the grid. Ends number
// the grid's cells first (row * columns + column), then the corridor points, passage after
// passage.
struct SeaLink
{
    std::uint32_t from = 0;
    std::uint32_t to = 0;
    std::uint8_t clearance = 0; // units as above; kAnyClearance inside a corridor
    bool operator==(const SeaLink&) const = default;
};

struct SeaGridData
{
    int cellsPerDegree = 2;     // 1..12
    std::vector<SeaCell> cells; // 180 * 360 * cellsPerDegree^2
    std::vector<SeaPassage> passages;
    std::vector<SeaLink> links;
};

// The grid of water for `land` at `cellsPerDegree` (1..12), with the passages' corridors joined
// to it. Each problem with a passage (a gate end in water, a corridor leg over land, a corridor
// end that reaches no node) is added to `problems` as a line; a passage that cannot be used
// gives no data at all. Costly: every cell asks the land (tools/make-searoutes runs it).
SeaGridData buildSeaGrid(const SeaLand& land, std::vector<SeaPassage> passages, int cellsPerDegree,
                         std::string& problems);

// The graph the search runs on, made from the asset's data once.
class SeaGraph
{
public:
    // Builds the graph. `data` must be consistent (the asset reader checks it): cells of the
    // size the grid needs, links whose ends exist.
    explicit SeaGraph(SeaGridData data);

    const std::vector<SeaPassage>& passages() const { return m_data.passages; }
    // The passage of a key (as --avoid names it, any case), or nullptr.
    const SeaPassage* passage(std::string_view key) const;
    std::size_t nodeCount() const { return m_position.size(); }
    std::size_t edgeCount() const { return m_target.size(); }

    // The nodes within `degrees` of latitude and about as far in longitude of `at`: the grid's
    // cells round it and the corridors' points.
    std::vector<std::uint32_t> nodesNear(LatLon at, double degrees) const;
    // Node n (0..nodeCount()-1) and its edges firstEdge(n)..firstEdge(n+1)-1.
    LatLon position(std::uint32_t n) const { return m_position[n]; }
    const Vector3& unitVector(std::uint32_t n) const { return m_unit[n]; }
    std::uint8_t corridorOf(std::uint32_t n) const { return m_corridor[n]; }
    // The water node n belongs to: nodes joined by edges share it (numbered from 0).
    std::uint32_t basinOf(std::uint32_t n) const { return m_basin[n]; }
    // The largest basin: the world's ocean.
    std::uint32_t oceanBasin() const { return m_ocean; }
    std::uint32_t firstEdge(std::uint32_t n) const { return m_firstEdge[n]; }
    std::uint32_t target(std::uint32_t e) const { return m_target[e]; }
    float lengthNm(std::uint32_t e) const { return m_lengthNm[e]; }
    std::uint8_t clearance(std::uint32_t e) const { return m_clearance[e]; }
    std::uint8_t passageOf(std::uint32_t e) const { return m_passage[e]; }

private:
    SeaGridData m_data;
    int m_rows = 0;
    int m_columns = 0;
    std::vector<LatLon> m_position;
    std::vector<Vector3> m_unit;            // the positions as unit vectors
    std::vector<std::uint32_t> m_cellNode;  // the node of each cell, or kNoNode
    std::uint32_t m_gridNodes = 0;          // nodes 0..m_gridNodes-1 are cells, then corridors
    std::vector<std::uint32_t> m_firstEdge; // per node, into the edge arrays; nodeCount()+1
    std::vector<std::uint32_t> m_target;
    std::vector<float> m_lengthNm;
    std::vector<std::uint8_t> m_clearance;
    std::vector<std::uint8_t> m_passage; // 0, or the index of the passage whose gate it crosses + 1
    std::vector<std::uint8_t> m_corridor; // per node: 0, or its passage's index + 1
    std::vector<std::uint32_t> m_basin;   // per node
    std::uint32_t m_ocean = 0;
};

// The shortest route by sea from `from` to `to` (latitude -90..90, any longitude). Never
// throws. An unknown passage in `options.avoid`, options out of range, a place with no open
// water within its approach, or no way round the avoided passages give no route.
SeaRoute findSeaRoute(const SeaGraph& graph, const SeaLand& land, LatLon from, LatLon to,
                      const SeaRouteOptions& options);

// A router on a graph and its land that remembers the routes it found lately (a window plans
// the same legs again at every change of the voyage). Thread-safe; `graph` and `land` must
// outlive it.
class GraphSeaRouter : public SeaRouter
{
public:
    GraphSeaRouter(const SeaGraph& graph, const SeaLand& land);
    ~GraphSeaRouter() override;
    SeaRoute route(LatLon from, LatLon to, const SeaRouteOptions& options) const override;

private:
    struct Cache;
    const SeaGraph& m_graph;
    const SeaLand& m_land;
    std::unique_ptr<Cache> m_cache;
};

// The great circle's distance between two points, nautical miles on the sphere.
double seaDistanceNm(LatLon a, LatLon b);

} // namespace gyrena
