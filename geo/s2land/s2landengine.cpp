// The land index on S2 Geometry, built as the module gyrena-s2land.so (see geo/landengine.h).

#include "geo/landengine.h"

#include "geo/routeplan.h"
#include "geo/s2land/s2landshapes.h"
#include "io/files/incbin.h"

#include <s2/encoded_s2shape_index.h>
#include <s2/mutable_s2shape_index.h>
#include <s2/s1angle.h>
#include <s2/s2cap.h>
#include <s2/s2closest_edge_query.h>
#include <s2/s2contains_point_query.h>
#include <s2/s2crossing_edge_query.h>
#include <s2/s2edge_crosser.h>
#include <s2/s2edge_crossings.h>
#include <s2/s2edge_distances.h>
#include <s2/util/coding/coder.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

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
// map it was made from (another map, or an index that does not decode).
std::unique_ptr<S2ShapeIndex> openBuiltInIndex(std::shared_ptr<const FlatRings> flat)
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
    return index;
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
    // A cap round each corridor (a few miles across): most of a track passes none, and needs
    // no look into their index.
    std::vector<S2Cap> m_waterCaps;
};

S2LandEngine::S2LandEngine(const LandMap& map) : m_water(s2land::indexOptions())
{
    auto land = std::make_shared<const FlatRings>(map.polygons);
    m_land = openBuiltInIndex(land);
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
        m_waterCaps.push_back(cap.Expanded(S1Angle::Radians(1e-9)));
    }
    s2land::indexLand(m_water, water);
}

bool S2LandEngine::nearWater(const S2Point& a, const S2Point& b, double length) const
{
    // A cap under a hemisphere holds the great circles between its points, and the cap round
    // the middle of a -> b as wide as half its length holds a -> b.
    const S2Cap edge((a + b).Normalize(), S1Angle::Radians(length / 2 + 1e-9));
    return std::any_of(m_waterCaps.begin(), m_waterCaps.end(), [&](const S2Cap& cap) {
        return cap.GetRadius().radians() >= std::numbers::pi / 2 || cap.Intersects(edge);
    });
}

std::vector<LandStretch> S2LandEngine::stretchesAlong(std::span<const LatLon> points) const
{
    std::vector<LandStretch> out;
    if (points.empty())
        return out;
    S2CrossingEdgeQuery landCells(m_land.get()), waterCells(&m_water);
    std::vector<s2shapeutil::ShapeEdgeId> crossed;
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
            // to drop the repeats) costs more than testing each where it lies.
            crossed.clear();
            S2EdgeCrosser crosser(&a, &b);
            (land ? landCells : waterCells).VisitCells(a, b, [&](const S2ShapeIndexCell& cell) {
                for (int s = 0; s < cell.num_clipped(); ++s) {
                    const S2ClippedShape& clipped = cell.clipped(s);
                    const S2Shape& shape = *index.shape(clipped.shape_id());
                    for (int e = 0; e < clipped.num_edges(); ++e) {
                        const S2Shape::Edge edge = shape.edge(clipped.edge(e));
                        if (crosser.EdgeOrVertexCrossing(&edge.v0, &edge.v1))
                            crossed.push_back({clipped.shape_id(), clipped.edge(e)});
                    }
                }
                return true;
            });
            std::sort(crossed.begin(), crossed.end());
            crossed.erase(std::unique(crossed.begin(), crossed.end()), crossed.end());
            for (const s2shapeutil::ShapeEdgeId& id : crossed) {
                const S2Shape::Edge edge = index.shape(id.shape_id)->edge(id.edge_id);
                const S2Point &c = edge.v0, &d = edge.v1;
                // A crossing at a shared vertex lies at an end of this edge.
                const double at = S2::CrossingSign(a, b, c, d) > 0
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
                const LatLon exit = toLatLon(S2::GetPointOnLine(a, b, S1Angle::Radians(to)));
                if (!out.empty() && fromNm - out.back().toNm < kSameRadians * kNmPerRadian) {
                    out.back().toNm = toNm;
                    out.back().exit = exit;
                } else {
                    out.push_back({fromNm, toNm,
                                   toLatLon(S2::GetPointOnLine(a, b, S1Angle::Radians(from))),
                                   exit});
                }
            }
            from = to;
            if (c + 1 < cuts.size())
                (cuts[c].land ? inLand : inWater) ^= true;
        }
        along += length;
        a = b;
    }
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
