#include "geo/landcheck.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/routeplan.h"
#include "geo/routeview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
constexpr double kEarthRadiusNm = kNauticalMilesPerDegree / kRad;

// The great-circle distance from a to b, nautical miles, as the land index measures it.
double arcNm(LatLon a, LatLon b)
{
    const double la = a.latitude * kRad, lb = b.latitude * kRad;
    const double dl = (b.longitude - a.longitude) * kRad;
    const double x = std::cos(la) * std::cos(lb) * std::cos(dl) + std::sin(la) * std::sin(lb);
    const double cy = std::cos(lb) * std::sin(dl);
    const double cz = std::cos(la) * std::sin(lb) - std::sin(la) * std::cos(lb) * std::cos(dl);
    return std::atan2(std::hypot(cy, cz), x) * kEarthRadiusNm;
}

} // namespace

std::vector<LatLon> rhumbLineChords(LatLon a, LatLon b)
{
    // A rhumb line on course C at latitude phi curves away from the great circle with geodesic
    // curvature sin(C) tan(phi) / R, so a chord of length s stands at most about
    // s^2 sin(C) tan(phi) / (8 R) from it. Half the stated error keeps the estimate's
    // higher-order terms inside the bound; tan is taken at the line's highest latitude
    // (latitude runs monotonically along a rhumb line), at most 89.99 degrees.
    const double highest = std::min(std::max(std::fabs(a.latitude), std::fabs(b.latitude)), 89.99);
    const double tangent = std::max(std::tan(highest * kRad), 1e-3);
    const double chordNm = std::sqrt(8.0 * kEarthRadiusNm * 0.5 * kRhumbChordErrorNm / tangent);
    // rhumbLinePath steps by at most `step` degrees of longitude and of isometric latitude; a
    // step of both is at most sqrt(2) * step degrees of arc.
    const double step = chordNm / kNauticalMilesPerDegree / std::numbers::sqrt2;
    return rhumbLinePath(a, b, step);
}

std::vector<LandCrossing> landCrossings(const VoyagePlan& plan, const LandIndex& land)
{
    std::vector<LandCrossing> out;
    if (!plan.hasPlan)
        return out;
    std::vector<LatLon> track;
    std::vector<double> rowAt; // along the leg, nautical miles, where each row of the leg lies
    for (std::size_t l = 0; l < plan.legs.size(); ++l) {
        const PlannedLeg& leg = plan.legs[l];
        track.assign({plan.rows[leg.firstRow].position});
        rowAt.assign({0.0});
        for (std::size_t r = leg.firstRow; r < leg.lastRow; ++r) {
            const VoyageRow& row = plan.rows[r];
            const LatLon next = plan.rows[r + 1].position;
            double nm = rowAt.back();
            if (row.rhumbToNext) {
                const std::vector<LatLon> chords = rhumbLineChords(row.position, next);
                for (std::size_t i = 1; i < chords.size(); ++i)
                    nm += arcNm(chords[i - 1], chords[i]);
                track.insert(track.end(), chords.begin() + 1, chords.end());
            } else {
                nm += arcNm(row.position, next);
                track.push_back(next);
            }
            rowAt.push_back(nm);
        }
        const double length = rowAt.back();
        for (const LandStretch& stretch : land.stretchesAlong(track)) {
            if (stretch.toNm <= kApproachNm || stretch.fromNm >= length - kApproachNm)
                continue;
            // The row whose stretch holds a distance: the last row at or before it.
            const auto rowOf = [&](double nm, bool closing) {
                const auto it = closing ? std::lower_bound(rowAt.begin() + 1, rowAt.end(), nm)
                                        : std::upper_bound(rowAt.begin() + 1, rowAt.end(), nm);
                return leg.firstRow +
                       std::min(std::size_t(it - rowAt.begin()) - 1, rowAt.size() - 2);
            };
            out.push_back({l, stretch.fromNm, stretch.toNm, stretch.entry, stretch.exit,
                           rowOf(stretch.fromNm, false), rowOf(stretch.toNm, true)});
        }
    }
    return out;
}

std::string landCrossingText(const LandCrossing& crossing, std::string_view fromName,
                             std::string_view toName, std::string_view decimalSeparator)
{
    return "leg " + std::to_string(crossing.leg + 1) + " " + std::string(fromName) + " \u2013 " +
           std::string(toName) + ": " + formatDecimals(crossing.nm(), 1, decimalSeparator) +
           " nm over land from " + placeText(crossing.entry, decimalSeparator) + " to " +
           placeText(crossing.exit, decimalSeparator);
}

} // namespace gyrena
