#pragma once

// The land's shapes for S2 Geometry, shared by the module (s2landengine.cpp) and the build's
// encoder of the built-in land's index (makelandindex.cpp): both must make the very same edges
// and shape ids from a map, or an index encoded by one would not fit the shapes of the other.

#include "geo/landindex.h"

#include <s2/mutable_s2shape_index.h>
#include <s2/s2latlng.h>
#include <s2/s2shape.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

namespace gyrena::s2land {

inline S2Point toPoint(LatLon p)
{
    return S2LatLng::FromDegrees(p.latitude, p.longitude).Normalized().ToPoint();
}

inline LatLon toLatLon(const S2Point& p)
{
    const S2LatLng ll(p);
    return {ll.lat().degrees(), ll.lng().degrees()};
}

// The polygons of a map in three flat arrays: the land index's shape i is polygon i here. A ring
// of fewer than 3 points is left out, and a polygon left without rings.
struct FlatRings
{
    std::vector<LatLon> points;
    std::vector<std::uint32_t> ringStarts{0}; // where each ring begins in points, then the end
    std::vector<std::uint32_t> polygonStarts{
        0}; // where each polygon begins in ringStarts, then the end

    FlatRings() = default;
    // The polygons of a map.
    explicit FlatRings(const std::vector<LandPolygon>& polygons)
    {
        std::size_t pointCount = 0, ringCount = 0;
        for (const LandPolygon& polygon : polygons) {
            ringCount += polygon.rings.size();
            for (const std::vector<LatLon>& ring : polygon.rings)
                pointCount += ring.size();
        }
        points.reserve(pointCount);
        ringStarts.reserve(ringCount + 1);
        polygonStarts.reserve(polygons.size() + 1);
        for (const LandPolygon& polygon : polygons)
            add(polygon.rings);
    }

    void add(const std::vector<std::vector<LatLon>>& rings)
    {
        for (const std::vector<LatLon>& ring : rings) {
            if (ring.size() < 3)
                continue;
            points.insert(points.end(), ring.begin(), ring.end());
            ringStarts.push_back(std::uint32_t(points.size()));
        }
        if (ringStarts.size() - 1 > polygonStarts.back())
            polygonStarts.push_back(std::uint32_t(ringStarts.size() - 1));
    }
    std::size_t polygonCount() const { return polygonStarts.size() - 1; }

    // A hash of every coordinate's bits and every ring and polygon boundary: whether an index
    // encoded from one map belongs to another.
    std::uint64_t digest() const
    {
        std::uint64_t hash = 14695981039346656037ull;
        const auto mix = [&hash](std::uint64_t word) {
            hash = (hash ^ word) * 0x9e3779b97f4a7c15ull;
            hash ^= hash >> 29;
        };
        for (const LatLon& p : points) {
            mix(std::bit_cast<std::uint64_t>(p.latitude));
            mix(std::bit_cast<std::uint64_t>(p.longitude));
        }
        for (std::uint32_t at : ringStarts)
            mix(at);
        for (std::uint32_t at : polygonStarts)
            mix(~std::uint64_t(at));
        return hash;
    }
};

// Rings of points as one S2 shape whose interior is the even-odd rule: a point lies inside when
// a great-circle path to it from a point known to be outside crosses an odd number of edges.
// That point is the antipode of the rings' mean direction, outside any polygon smaller than a
// hemisphere (every polygon of land; Antarctica's lies round the north pole). S2's own polygon
// shapes take the interior from each ring's orientation instead, and a ring that touches or
// crosses itself at the map's resolution (the 1:10m land has a few dozen) would then turn a
// small island into the whole world but the island.
class EvenOddRings final : public S2Shape
{
public:
    // Polygon `polygon` of `flat`.
    EvenOddRings(const FlatRings& flat, std::size_t polygon)
    {
        S2Point sum(0, 0, 0);
        const std::uint32_t firstRing = flat.polygonStarts[polygon],
                            endRing = flat.polygonStarts[polygon + 1];
        const std::uint32_t base = flat.ringStarts[firstRing];
        m_points.reserve(flat.ringStarts[endRing] - base);
        m_next.reserve(flat.ringStarts[endRing] - base);
        for (std::uint32_t r = firstRing; r < endRing; ++r) {
            m_starts.push_back(int(flat.ringStarts[r] - base));
            for (std::uint32_t i = flat.ringStarts[r]; i < flat.ringStarts[r + 1]; ++i) {
                m_points.push_back(toPoint(flat.points[i]));
                m_next.push_back(int(i + 1 - base));
                sum += m_points.back();
            }
            m_next.back() = m_starts.back();
        }
        m_starts.push_back(int(m_points.size()));
        m_outside = sum.Norm2() > 0 ? -sum.Normalize() : S2Point(0, 0, 1);
    }

    int num_edges() const override { return int(m_points.size()); }
    Edge edge(int e) const override { return Edge(m_points[e], m_points[m_next[e]]); }
    // Edge e's two ends, without a virtual call: for the land check's inner loop.
    const S2Point& from(int e) const { return m_points[std::size_t(e)]; }
    const S2Point& to(int e) const { return m_points[std::size_t(m_next[std::size_t(e)])]; }
    int dimension() const override { return 2; }
    ReferencePoint GetReferencePoint() const override { return ReferencePoint(m_outside, false); }
    int num_chains() const override { return int(m_starts.size()) - 1; }
    Chain chain(int i) const override { return Chain(m_starts[i], m_starts[i + 1] - m_starts[i]); }
    Edge chain_edge(int i, int j) const override
    {
        const int start = m_starts[i], length = m_starts[i + 1] - start;
        return Edge(m_points[start + j], m_points[start + (j + 1 == length ? 0 : j + 1)]);
    }
    ChainPosition chain_position(int e) const override
    {
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), e);
        const int chain = int(next - m_starts.begin()) - 1;
        return ChainPosition(chain, e - m_starts[chain]);
    }

private:
    std::vector<S2Point> m_points;
    std::vector<int> m_next;   // the point that ends each point's edge
    std::vector<int> m_starts; // where each ring begins in m_points, then the end
    S2Point m_outside;
};

// Up to kMaxEdgesPerCell edges in a cell of the index rather than S2's 10.
inline constexpr int kMaxEdgesPerCell = 10;

inline MutableS2ShapeIndex::Options indexOptions()
{
    MutableS2ShapeIndex::Options options;
    options.set_max_edges_per_cell(kMaxEdgesPerCell);
    return options;
}

// The land's index as S2 builds it, from the polygons of `flat`.
inline void indexLand(MutableS2ShapeIndex& index, const FlatRings& flat)
{
    for (std::size_t p = 0; p < flat.polygonCount(); ++p)
        index.Add(std::make_unique<EvenOddRings>(flat, p));
    index.ForceBuild();
}

// The built-in land's index as the build encodes it: this header, then S2's encoding of the
// index (MutableS2ShapeIndex::Encode). The shapes are not encoded: they come from the map read
// at run time, which must be the one the index was made from (digest and polygon count).
struct EncodedLandHeader
{
    char magic[4] = {'G', 'Y', 'L', 'I'};
    std::uint32_t version = 1;
    std::uint64_t digest = 0;   // FlatRings::digest() of the map
    std::uint64_t polygons = 0; // FlatRings::polygonCount()
};

} // namespace gyrena::s2land
