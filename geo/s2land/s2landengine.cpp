// The land index on S2 Geometry, built as the module gyrena-s2land.so (see geo/landengine.h).

#include "geo/landengine.h"

#include "geo/routeplan.h"
#include "geo/s2land/s2landshapes.h"
#include "io/files/incbin.h"

#include <s2/encoded_s2cell_id_vector.h>
#include <s2/encoded_s2shape_index.h>
#include <s2/mutable_s2shape_index.h>
#include <s2/s1angle.h>
#include <s2/s2cap.h>
#include <s2/s2closest_edge_query.h>
#include <s2/s2contains_point_query.h>
#include <s2/s2coords.h>
#include <s2/s2coords_internal.h>
#include <s2/s2edge_clipping.h>
#include <s2/s2edge_crosser.h>
#include <s2/s2edge_crossings.h>
#include <s2/s2edge_distances.h>
#include <s2/util/coding/coder.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

// The built-in land's index, encoded by the build (makelandindex.cpp) and assembled in here: the
// module opens it at once and decodes only the cells its queries reach. The generated header
// gives the index's hash, so that a compiler cache sees a changed index.
#ifndef GYRENA_LAND_INDEX
#error "GYRENA_LAND_INDEX must name the encoded index of the built-in land"
#endif
#include GYRENA_LAND_INDEX_HEADER
#ifndef GYRENA_LAND_INDEX_HASH
#error "the header of the encoded index defines no GYRENA_LAND_INDEX_HASH"
#endif

GYRENA_INCBIN(gyrena_land_index, GYRENA_LAND_INDEX);

namespace gyrena {

namespace {

using s2land::FlatRings;
using s2land::toLatLon;
using s2land::toPoint;

constexpr double kNmPerRadian = kNauticalMilesPerDegree * 180.0 / std::numbers::pi;
// Two crossings closer than this along an edge (about 0.1 mm) are one: the piece between them
// has no land worth telling.
constexpr double kSameRadians = 1e-11;

// The land's shapes for an encoded index, made when a query first reaches each.
class LandShapes final : public S2ShapeIndex::ShapeFactory
{
public:
    explicit LandShapes(std::shared_ptr<const FlatRings> flat) : m_flat(std::move(flat)) {}
    int size() const override { return int(m_flat->polygonCount()); }
    std::unique_ptr<S2Shape> operator[](int id) const override
    {
        if (id < 0 || std::size_t(id) >= m_flat->polygonCount())
            return nullptr;
        return std::make_unique<s2land::EvenOddRings>(*m_flat, std::size_t(id));
    }
    std::unique_ptr<ShapeFactory> Clone() const override
    {
        return std::make_unique<LandShapes>(m_flat);
    }

private:
    std::shared_ptr<const FlatRings> m_flat;
};

// The built-in land's encoded index over the shapes of `flat`, or null when `flat` is not the
// map it was made from (another map, or an index that does not decode). `cellIds` gets the ids
// of its cells in order, read from the encoding as EncodedS2ShapeIndex reads them (its iterator
// would decode them one at a time through virtual calls, 13 ms for the 1:10m land), or stays
// empty.
std::unique_ptr<S2ShapeIndex> openBuiltInIndex(std::shared_ptr<const FlatRings> flat,
                                               std::vector<std::uint64_t>& cellIds)
{
    const std::size_t size = std::size_t(gyrena_land_index_end - gyrena_land_index_begin);
    s2land::EncodedLandHeader header, expected;
    if (size < sizeof header)
        return nullptr;
    std::memcpy(&header, gyrena_land_index_begin, sizeof header);
    if (std::memcmp(header.magic, expected.magic, sizeof header.magic) != 0 ||
        header.version != expected.version || header.polygons != flat->polygonCount() ||
        header.digest != flat->digest())
        return nullptr;
    Decoder decoder(gyrena_land_index_begin + sizeof header, size - sizeof header);
    auto index = std::make_unique<EncodedS2ShapeIndex>();
    if (!index->Init(&decoder, LandShapes(flat)) ||
        std::size_t(index->num_shape_ids()) != flat->polygonCount())
        return nullptr;
    // MutableS2ShapeIndex::Encode writes its options and version as one varint, then the ids.
    Decoder ids(gyrena_land_index_begin + sizeof header, size - sizeof header);
    uint64 optionsAndVersion = 0;
    s2coding::EncodedS2CellIdVector encoded;
    if (ids.get_varint64(&optionsAndVersion) && encoded.Init(&ids) && encoded.size() > 0) {
        cellIds.reserve(encoded.size());
        for (std::size_t i = 0; i < encoded.size(); ++i)
            cellIds.push_back(encoded[int(i)].id());
        const S2ShapeIndex* opened = index.get();
        S2ShapeIndex::Iterator first(opened, S2ShapeIndex::BEGIN), last(opened, S2ShapeIndex::END);
        if (!last.Prev() || first.id().id() != cellIds.front() || last.id().id() != cellIds.back())
            cellIds.clear();
    }
    return index;
}

// The cells of an index in S2CellId order, and the cells a great-circle edge passes through,
// found by descending from the faces of the cube as S2CrossingEdgeQuery does, but over a plain
// sorted list of the cells' ids: S2's iterator of an encoded index pays a binary search over its
// encoded list at every level of every descent. A cell is visited when its (u,v) rectangle,
// widened by kPadUV, meets the edge's piece on its face: a few cells more than S2 visits at
// most, never fewer, and every edge that crosses the track lies in one of them (S2 pads each
// cell of the index for the error of clipping an edge to a face).
class CellWalk
{
public:
    // The index and, when known, the ids of its cells in order.
    CellWalk(const S2ShapeIndex& index, std::vector<std::uint64_t> ids)
        : m_index(&index), m_ids(std::move(ids))
    {
        if (m_ids.empty())
            for (S2ShapeIndex::Iterator it(&index, S2ShapeIndex::BEGIN); !it.done(); it.Next())
                m_ids.push_back(it.id().id());
        m_cells = std::make_unique<std::atomic<const S2ShapeIndexCell*>[]>(m_ids.size());
        // Where the cells from each cell of level kTableLevel on lie in m_ids.
        m_table.resize(kTableCells + 1);
        std::size_t at = 0;
        for (std::uint64_t k = 0; k <= kTableCells; ++k) {
            const std::uint64_t rangeMin = k << kTableShift | 1;
            while (at < m_ids.size() && (k == kTableCells || m_ids[at] < rangeMin))
                ++at;
            m_table[k] = std::uint32_t(at);
        }
    }

    // Calls visit(cell) for each cell of the index that a -> b may pass through, each once per
    // face the edge crosses (an edge that runs along a face's border may meet one cell twice).
    template <class Visit> void visit(const S2Point& a, const S2Point& b, Visit&& visit) const
    {
        // An edge within one face is one straight segment there; S2 clips any other to each
        // face it crosses. (Either way only which cells to look into follows from it.)
        S2::FaceSegmentVector segments;
        R2Point ua, ub;
        const int face = S2::XYZtoFaceUV(a, &ua);
        if (S2::XYZtoFaceUV(b, &ub) == face)
            segments.push_back({face, ua, ub});
        else
            S2::GetFaceSegments(a, b, &segments);
        for (const S2::FaceSegment& segment : segments) {
            const Segment edge(segment.a, segment.b);
            const Node root = rootOf(edge, segment.face);
            // A cell of the index may hold the whole root (S2CrossingEdgeQuery's "indexed"
            // case); else the root's cells are found on the way down from it.
            const std::size_t at = first(root);
            if (at < m_ids.size() && S2CellId(m_ids[at]).contains(root.id))
                visit(cell(at));
            else if (at > 0 && S2CellId(m_ids[at - 1]).contains(root.id))
                visit(cell(at - 1));
            else
                descend(edge, root, 0, m_ids.size(), visit);
        }
    }

private:
    // Far wider than the few units in the last place that S2's own descent is off by.
    static constexpr double kPadUV = 1e-12;
    // Down to this level the cells under a cell are looked up in a table, not searched for.
    static constexpr int kTableLevel = 6;
    static constexpr int kTableShift = S2CellId::kPosBits - 2 * kTableLevel;
    static constexpr std::uint64_t kTableCells = std::uint64_t(6) << (2 * kTableLevel);

    // An edge's piece on one face, as a segment in (u,v): great circles are straight there.
    struct Segment
    {
        Segment(const R2Point& a, const R2Point& b)
            : a(a), b(b), nu(b.y() - a.y()), nv(a.x() - b.x()), c(nu * a.x() + nv * a.y()),
              slack(kPadUV * (std::fabs(nu) + std::fabs(nv)) + 1e-15)
        {
        }
        // Whether the segment meets [u0, u1] x [v0, v1] widened by kPadUV.
        bool meets(double u0, double u1, double v0, double v1) const
        {
            if (std::max(a.x(), b.x()) < u0 - kPadUV || std::min(a.x(), b.x()) > u1 + kPadUV ||
                std::max(a.y(), b.y()) < v0 - kPadUV || std::min(a.y(), b.y()) > v1 + kPadUV)
                return false;
            // The corners' sides of the segment's line: not all strictly on one.
            const double low = nu * (nu > 0 ? u0 : u1) + nv * (nv > 0 ? v0 : v1) - c;
            const double high = nu * (nu > 0 ? u1 : u0) + nv * (nv > 0 ? v1 : v0) - c;
            return low <= slack && high >= -slack;
        }
        R2Point a, b;
        double nu, nv, c, slack;
    };

    // A cell on the way down: its id, level, lowest (i,j), Hilbert curve orientation and
    // (u,v) rectangle.
    struct Node
    {
        S2CellId id;
        int level;
        int i, j;
        int orientation;
        double u[2], v[2];
    };

    static double uvAt(int ij) { return S2::STtoUV(S2::IJtoSTMin(ij)); }

    // The smallest cell of the face that holds the segment widened by 2 kPadUV, as
    // S2CrossingEdgeQuery starts from ("the edge root cell"): most edges are short, and the
    // levels above it need no look. The (i,j) of the bound's corners are widened by two more
    // units against rounding.
    static Node rootOf(const Segment& edge, int face)
    {
        const auto ij = [](double uv, int widen) {
            const int at = S2::STtoIJ(S2::UVtoST(std::clamp(uv + 2 * widen * kPadUV, -1.0, 1.0)));
            return std::clamp(at + 2 * widen, 0, S2::kLimitIJ - 1);
        };
        const int i0 = ij(std::min(edge.a.x(), edge.b.x()), -1);
        const int i1 = ij(std::max(edge.a.x(), edge.b.x()), 1);
        const int j0 = ij(std::min(edge.a.y(), edge.b.y()), -1);
        const int j1 = ij(std::max(edge.a.y(), edge.b.y()), 1);
        Node node{S2CellId::FromFace(face),       0,           0,          0,
                  face & S2::internal::kSwapMask, {-1.0, 1.0}, {-1.0, 1.0}};
        for (int level = 1; level <= S2CellId::kMaxLevel; ++level) {
            const int shift = S2CellId::kMaxLevel - level;
            if (i0 >> shift != i1 >> shift || j0 >> shift != j1 >> shift)
                break;
            const int ci = (i0 >> shift) & 1, cj = (j0 >> shift) & 1;
            const int pos = S2::internal::kIJtoPos[node.orientation][2 * ci + cj];
            const int size = S2CellId::GetSizeIJ(level);
            node = {node.id.child(pos),
                    level,
                    node.i + ci * size,
                    node.j + cj * size,
                    node.orientation ^ S2::internal::kPosToOrientation[pos],
                    {uvAt(node.i + ci * size), uvAt(node.i + (ci + 1) * size)},
                    {uvAt(node.j + cj * size), uvAt(node.j + (cj + 1) * size)}};
        }
        return node;
    }

    // The position of the first cell of the index at or after the node's start.
    std::size_t first(const Node& node) const
    {
        const std::uint64_t start = node.id.range_min().id();
        const auto begin = m_ids.begin() + m_table[start >> kTableShift];
        const auto end = m_ids.begin() + m_table[(start >> kTableShift) + 1];
        return std::size_t(std::lower_bound(begin, end, start) - m_ids.begin());
    }

    // The index's cells under `node` lie at positions from..to of m_ids at most.
    template <class Visit>
    void descend(const Segment& edge, const Node& node, std::size_t from, std::size_t to,
                 Visit& visit) const
    {
        const auto begin = m_ids.begin();
        auto first = begin;
        if (node.level <= kTableLevel) {
            // The first cell of the index at or after the node's start is the first at or after
            // its first cell of the table's level; the cells inside the node lie before the
            // first at or after the next cell of that level past its last.
            first += m_table[node.id.range_min().id() >> kTableShift];
            to = m_table[(node.id.range_max().id() >> kTableShift) + 1];
        } else {
            if (from == 0 && to == m_ids.size()) {
                // Entered below the table's level: the cell of that level above it bounds it.
                from = m_table[node.id.range_min().id() >> kTableShift];
                to = m_table[(node.id.range_max().id() >> kTableShift) + 1];
            }
            first = std::lower_bound(begin + std::ptrdiff_t(from), begin + std::ptrdiff_t(to),
                                     node.id.range_min().id());
        }
        if (first == begin + std::ptrdiff_t(to) || *first > node.id.range_max().id())
            return;
        if (*first == node.id.id()) {
            visit(cell(std::size_t(first - begin)));
            return;
        }
        const int half = S2CellId::GetSizeIJ(node.level + 1);
        const double u[3] = {node.u[0], uvAt(node.i + half), node.u[1]};
        const double v[3] = {node.v[0], uvAt(node.j + half), node.v[1]};
        for (int ci = 0; ci < 2; ++ci) {
            for (int cj = 0; cj < 2; ++cj) {
                if (!edge.meets(u[ci], u[ci + 1], v[cj], v[cj + 1]))
                    continue;
                const int pos = S2::internal::kIJtoPos[node.orientation][2 * ci + cj];
                descend(edge,
                        {node.id.child(pos),
                         node.level + 1,
                         node.i + ci * half,
                         node.j + cj * half,
                         node.orientation ^ S2::internal::kPosToOrientation[pos],
                         {u[ci], u[ci + 1]},
                         {v[cj], v[cj + 1]}},
                        std::size_t(first - begin), to, visit);
            }
        }
    }

    // The index's cell at `position`, found once and kept (the index keeps a cell it decoded).
    const S2ShapeIndexCell& cell(std::size_t position) const
    {
        const S2ShapeIndexCell* known = m_cells[position].load(std::memory_order_acquire);
        if (!known) {
            S2ShapeIndex::Iterator it(m_index);
            it.Seek(S2CellId(m_ids[position]));
            known = &it.cell();
            m_cells[position].store(known, std::memory_order_release);
        }
        return *known;
    }

    const S2ShapeIndex* m_index;
    std::vector<std::uint64_t> m_ids;
    std::vector<std::uint32_t> m_table; // kTableCells + 1 positions in m_ids
    std::unique_ptr<std::atomic<const S2ShapeIndexCell*>[]> m_cells;
};

// S2's CrossingSign of the track's edge a -> b (`crosser`, whose a x b is `normal`) and c -> d:
// 1 where they cross at a point inside both, 0 where they share a vertex (or S2 says so), -1
// where they do not meet. Most edges are told apart by the signs of four determinants, each
// taken as sure only when it lies farther from zero than S2's own quick test of that sign
// allows for rounding (3.7e-15 for unit vectors), with room to spare: S2's exact predicates
// then give those signs too, and so the same answer. The rest are S2's to decide.
int crossingSign(S2EdgeCrosser& crosser, const S2Point& a, const S2Point& b, const S2Point& normal,
                 const S2Point& c, const S2Point& d)
{
    constexpr double kSure = 1e-14;
    const double sc = normal.DotProd(c), sd = normal.DotProd(d);
    if ((sc > kSure && sd > kSure) || (sc < -kSure && sd < -kSure))
        return -1;
    if (std::fabs(sc) > kSure && std::fabs(sd) > kSure) {
        // c and d lie on either side of the great circle through a and b; the edges cross when
        // a and b lie on either side of the one through c and d, in the matching turn.
        const S2Point across = c.CrossProd(d);
        const double sa = across.DotProd(a), sb = across.DotProd(b);
        if (std::fabs(sa) > kSure && std::fabs(sb) > kSure)
            return (sa > 0) == (sd > 0) && (sb > 0) == (sc > 0) ? 1 : -1;
    }
    return crosser.CrossingSign(&c, &d);
}

bool same(const S2Point& p, const S2Point& q)
{
    return p.x() == q.x() && p.y() == q.y() && p.z() == q.z();
}

bool contains(const S2ShapeIndex& index, const S2Point& p)
{
    return MakeS2ContainsPointQuery(&index).Contains(p);
}

} // namespace

class S2LandEngine final : public LandEngine
{
public:
    explicit S2LandEngine(const LandMap& map);
    bool isLand(LatLon point) const override { return isLand(toPoint(point)); }
    std::vector<LandStretch> stretchesAlong(std::span<const LatLon> points) const override;
    double clearanceNm(LatLon a, LatLon b, double capNm) const override;
    std::size_t polygonCount() const override { return std::size_t(m_land->num_shape_ids()); }

private:
    bool isLand(const S2Point& p) const { return contains(*m_land, p) && !contains(m_water, p); }

    // Whether the great circle a -> b (`length` radians) comes near a corridor of water.
    bool nearWater(const S2Point& a, const S2Point& b, double length) const;

    // Land and the corridors of water apart: the distance to land counts land alone.
    std::unique_ptr<S2ShapeIndex> m_land;
    MutableS2ShapeIndex m_water;
    std::unique_ptr<CellWalk> m_landCells, m_waterCells;
    // A cap round each corridor (a few miles across): most of a track passes none, and needs
    // no look into their index.
    struct WaterCap
    {
        S2Point centre;
        double radius, cosRadius, sinRadius; // radians
    };
    std::vector<WaterCap> m_waterCaps;
};

S2LandEngine::S2LandEngine(const LandMap& map) : m_water(s2land::indexOptions())
{
    auto land = std::make_shared<const FlatRings>(map.polygons);
    std::vector<std::uint64_t> cellIds;
    m_land = openBuiltInIndex(land, cellIds);
    if (!m_land) {
        // Any other map is indexed now, not on the first query: queries may then come from
        // several threads.
        auto index = std::make_unique<MutableS2ShapeIndex>(s2land::indexOptions());
        s2land::indexLand(*index, *land);
        m_land = std::move(index);
    }
    FlatRings water;
    for (const WaterCorridor& corridor : map.corridors) {
        if (corridor.ring.size() < 3)
            continue;
        water.add({corridor.ring});
        S2Cap cap = S2Cap::FromPoint(toPoint(corridor.ring.front()));
        for (const LatLon& p : corridor.ring)
            cap.AddPoint(toPoint(p));
        const double radius = cap.Expanded(S1Angle::Radians(1e-9)).GetRadius().radians();
        m_waterCaps.push_back({cap.center(), radius, std::cos(radius), std::sin(radius)});
    }
    s2land::indexLand(m_water, water);
    m_landCells = std::make_unique<CellWalk>(*m_land, std::move(cellIds));
    m_waterCells = std::make_unique<CellWalk>(m_water, std::vector<std::uint64_t>{});
}

bool S2LandEngine::nearWater(const S2Point& a, const S2Point& b, double length) const
{
    // A cap under a hemisphere holds the great circles between its points, and the cap round
    // the middle of a -> b as wide as half its length holds a -> b. Two caps meet when their
    // centres lie no farther apart than their radii together: cos(apart) >= cos(r + h), the
    // latter from cos and sin of each. The margins keep this wider than any rounding.
    const S2Point middle = (a + b).Normalize();
    const double half = length / 2 + 1e-9;
    const double cosHalf = std::cos(half), sinHalf = std::sin(half);
    return std::any_of(m_waterCaps.begin(), m_waterCaps.end(), [&](const WaterCap& cap) {
        return cap.radius >= std::numbers::pi / 2 || cap.radius + half >= std::numbers::pi ||
               middle.DotProd(cap.centre) >=
                   cap.cosRadius * cosHalf - cap.sinRadius * sinHalf - 1e-12;
    });
}

std::vector<LandStretch> S2LandEngine::stretchesAlong(std::span<const LatLon> points) const
{
    std::vector<LandStretch> out;
    if (points.empty())
        return out;
    // An edge of the index that the track's edge crosses, and whether at a point inside both
    // (else at a vertex).
    struct Crossed
    {
        s2shapeutil::ShapeEdgeId edge;
        bool proper;
    };
    std::vector<Crossed> crossed;
    // Where an edge of the track crosses a boundary: radians from the edge's start, and whether
    // the boundary is the land's (else a corridor's).
    struct Cut
    {
        double at;
        bool land;
    };
    std::vector<Cut> cuts;
    S2Point a = toPoint(points[0]);
    // S2 is asked once where the track starts; from there each boundary it crosses turns land to
    // water or back. The crossings are S2's own rule for the index's containment (a crossing at
    // a shared vertex counted as S2 counts it), so the count agrees with asking at every point.
    bool inLand = contains(*m_land, a), inWater = contains(m_water, a);
    // Where the last stretch so far leaves land: on which edge and how far along it, found as a
    // point only once the stretch is over (it may run on over many edges).
    struct
    {
        S2Point a, b;
        double at = -1.0;
    } exitEdge;
    const auto settleExit = [&] {
        if (exitEdge.at >= 0.0)
            out.back().exit =
                toLatLon(S2::GetPointOnLine(exitEdge.a, exitEdge.b, S1Angle::Radians(exitEdge.at)));
        exitEdge.at = -1.0;
    };
    double along = 0.0; // radians of the track before this edge
    for (std::size_t i = 1; i < points.size(); ++i) {
        const S2Point b = toPoint(points[i]);
        const double length = S1Angle(a, b).radians();
        if (length < kSameRadians)
            continue;
        cuts.clear();
        for (const bool land : {true, false}) {
            if (!land && !nearWater(a, b, length))
                continue;
            const S2ShapeIndex& index = land ? *m_land : static_cast<const S2ShapeIndex&>(m_water);
            // The edges that cross this one, each once: an edge of the index lies in every cell it
            // passes, and S2's own list of candidates (every edge of every cell, sorted in a tree
            // to drop the repeats) costs more than testing each where it lies. Every shape of
            // either index is EvenOddRings.
            crossed.clear();
            S2EdgeCrosser crosser(&a, &b);
            const S2Point normal = a.CrossProd(b);
            (land ? *m_landCells : *m_waterCells).visit(a, b, [&](const S2ShapeIndexCell& cell) {
                for (int s = 0; s < cell.num_clipped(); ++s) {
                    const S2ClippedShape& clipped = cell.clipped(s);
                    const auto& shape =
                        static_cast<const s2land::EvenOddRings&>(*index.shape(clipped.shape_id()));
                    for (int e = 0; e < clipped.num_edges(); ++e) {
                        const int id = clipped.edge(e);
                        const int sign =
                            crossingSign(crosser, a, b, normal, shape.from(id), shape.to(id));
                        if (sign > 0 ||
                            (sign == 0 && S2::VertexCrossing(a, b, shape.from(id), shape.to(id))))
                            crossed.push_back({{clipped.shape_id(), id}, sign > 0});
                    }
                }
            });
            std::sort(crossed.begin(), crossed.end(),
                      [](const Crossed& x, const Crossed& y) { return x.edge < y.edge; });
            crossed.erase(
                std::unique(crossed.begin(), crossed.end(),
                            [](const Crossed& x, const Crossed& y) { return x.edge == y.edge; }),
                crossed.end());
            for (const Crossed& crossing : crossed) {
                const S2Shape::Edge edge =
                    index.shape(crossing.edge.shape_id)->edge(crossing.edge.edge_id);
                const S2Point &c = edge.v0, &d = edge.v1;
                // A crossing at a shared vertex lies at an end of this edge.
                const double at = crossing.proper
                                      ? S1Angle(a, S2::GetIntersection(a, b, c, d)).radians()
                                  : (same(c, a) || same(d, a)) ? 0.0
                                                               : length;
                cuts.push_back({std::clamp(at, 0.0, length), land});
            }
        }
        std::sort(cuts.begin(), cuts.end(), [](const Cut& x, const Cut& y) { return x.at < y.at; });
        cuts.push_back({length, false}); // the edge's end, which turns nothing
        double from = 0.0;
        for (std::size_t c = 0; c < cuts.size(); ++c) {
            const double to = cuts[c].at;
            if (to - from >= kSameRadians && inLand && !inWater) {
                const double fromNm = (along + from) * kNmPerRadian;
                const double toNm = (along + to) * kNmPerRadian;
                if (!out.empty() && fromNm - out.back().toNm < kSameRadians * kNmPerRadian) {
                    out.back().toNm = toNm;
                } else {
                    settleExit();
                    out.push_back({fromNm,
                                   toNm,
                                   toLatLon(S2::GetPointOnLine(a, b, S1Angle::Radians(from))),
                                   {}});
                }
                exitEdge = {a, b, to};
            }
            from = to;
            if (c + 1 < cuts.size())
                (cuts[c].land ? inLand : inWater) ^= true;
        }
        along += length;
        a = b;
    }
    settleExit();
    return out;
}

double S2LandEngine::clearanceNm(LatLon a, LatLon b, double capNm) const
{
    S2ClosestEdgeQuery query(m_land.get());
    query.mutable_options()->set_include_interiors(true);
    query.mutable_options()->set_max_distance(S1Angle::Radians(capNm / kNmPerRadian));
    S2ClosestEdgeQuery::EdgeTarget target(toPoint(a), toPoint(b));
    const S1ChordAngle distance = query.GetDistance(&target);
    return distance.is_infinity() ? capNm
                                  : std::min(capNm, distance.ToAngle().radians() * kNmPerRadian);
}

} // namespace gyrena

extern "C" __attribute__((visibility("default"))) gyrena::LandEngine*
gyrena_make_land_engine(const gyrena::LandMap& map)
{
    return new gyrena::S2LandEngine(map);
}
