#include "geo/landcheck.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/routeplan.h"
#include "geo/routeview.h"
#include "geo/spherepath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
constexpr double kEarthRadiusNm = kNauticalMilesPerDegree / kRad;

// The great-circle distance between two points given as unit vectors, nautical miles, as the
// land index measures it.
double arcNm(const Vector3& u, const Vector3& v)
{
    return std::atan2(norm(cross(u, v)), dot(u, v)) * kEarthRadiusNm;
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
    // rhumbLinePath steps by at most `step` degrees of longitude and of isometric latitude; at
    // latitude phi a step of both is at most sqrt(2) * step * cos(phi) degrees of arc, largest
    // where the line comes nearest the equator.
    const double lowest =
        a.latitude * b.latitude <= 0 ? 0.0 : std::min(std::fabs(a.latitude), std::fabs(b.latitude));
    const double step = chordNm / kNauticalMilesPerDegree / std::numbers::sqrt2 /
                        std::max(std::cos(lowest * kRad), 1e-3);
    return rhumbLinePath(a, b, step);
}

std::vector<LandCrossing> landCrossings(const VoyagePlan& plan, const LandIndex& land)
{
    std::vector<LandCrossing> out;
    if (!plan.hasPlan)
        return out;
    std::vector<LatLon> track;
    std::vector<double> along; // nautical miles along the leg of each point of the track
    std::vector<double> rowAt; // the same for each row of the leg
    for (std::size_t l = 0; l < plan.legs.size(); ++l) {
        const PlannedLeg& leg = plan.legs[l];
        rowAt.clear();
        track.assign({plan.rows[leg.firstRow].position});
        for (std::size_t r = leg.firstRow; r < leg.lastRow; ++r) {
            const VoyageRow& row = plan.rows[r];
            const LatLon next = plan.rows[r + 1].position;
            if (row.rhumbToNext) {
                const std::vector<LatLon> chords = rhumbLineChords(row.position, next);
                track.insert(track.end(), chords.begin() + 1, chords.end());
            } else {
                track.push_back(next);
            }
            rowAt.push_back(track.size() - 1);
        }
        // How far along the leg each point of the track lies: the stretches measure the same.
        along.assign({0.0});
        Vector3 previous = unitVector(track.front());
        for (std::size_t i = 1; i < track.size(); ++i) {
            const Vector3 next = unitVector(track[i]);
            along.push_back(along.back() + arcNm(previous, next));
            previous = next;
        }
        for (double& at : rowAt)
            at = along[std::size_t(at)];
        rowAt.insert(rowAt.begin(), 0.0);
        const double length = along.back();
        for (const LandStretch& stretch : land.stretchesAlong(track)) {
            // Land from one place to the other is no approach: there is no open water.
            const bool atStart = stretch.fromNm <= kPlaceSlackNm;
            const bool atEnd = stretch.toNm >= length - kPlaceSlackNm;
            if ((atStart && !atEnd && stretch.toNm <= kApproachNm) ||
                (atEnd && !atStart && stretch.fromNm >= length - kApproachNm))
                continue;
            // The row whose stretch holds a distance: the last row at or before it.
            const auto rowOf = [&](double nm, bool closing) {
                const auto it = closing ? std::lower_bound(rowAt.begin() + 1, rowAt.end(), nm)
                                        : std::upper_bound(rowAt.begin() + 1, rowAt.end(), nm);
                return leg.firstRow +
                       std::min(std::size_t(it - rowAt.begin()) - 1, rowAt.size() - 2);
            };
            LandCrossing crossing{l,
                                  stretch.fromNm,
                                  stretch.toNm,
                                  stretch.entry,
                                  stretch.exit,
                                  rowOf(stretch.fromNm, false),
                                  rowOf(stretch.toNm, true),
                                  {}};
            // The track over land for a map: its points between entry and exit, the great
            // circles between them in steps of at most kDrawingStepDegrees.
            LatLon previous = stretch.entry;
            crossing.path.push_back(previous);
            const auto first = std::upper_bound(along.begin(), along.end(), stretch.fromNm);
            for (auto it = first; it != along.end() && *it < stretch.toNm; ++it) {
                appendGreatCircle(crossing.path, previous, track[std::size_t(it - along.begin())],
                                  kDrawingStepDegrees);
                previous = crossing.path.back();
            }
            appendGreatCircle(crossing.path, previous, stretch.exit, kDrawingStepDegrees);
            out.push_back(std::move(crossing));
        }
    }
    return out;
}

std::vector<LegOverLand> legsOverLand(const std::vector<LandCrossing>& crossings)
{
    std::vector<LegOverLand> out;
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        const LandCrossing& crossing = crossings[i];
        if (out.empty() || out.back().leg != crossing.leg)
            out.push_back({crossing.leg, 0.0, 0, i});
        LegOverLand& leg = out.back();
        leg.nm += crossing.nm();
        ++leg.stretches;
        if (crossing.nm() > crossings[leg.longest].nm())
            leg.longest = i;
    }
    return out;
}

std::vector<bool> rowsOverLand(const std::vector<LandCrossing>& crossings, std::size_t rowCount)
{
    std::vector<bool> out(rowCount, false);
    for (const LandCrossing& crossing : crossings)
        for (std::size_t r = crossing.firstRow; r <= crossing.lastRow && r < rowCount; ++r)
            out[r] = true;
    return out;
}

std::string legOverLandText(const LegOverLand& leg, const std::vector<LandCrossing>& crossings,
                            std::string_view fromName, std::string_view toName,
                            std::string_view decimalSeparator, std::string_view groupSeparator)
{
    std::string nm;
    if (leg.nm < 9.95) {
        nm = formatDecimals(leg.nm, 1, decimalSeparator);
    } else {
        nm = std::to_string(std::llround(leg.nm));
        for (auto at = std::ptrdiff_t(nm.size()) - 3; at > 0; at -= 3)
            nm.insert(std::size_t(at), groupSeparator);
    }
    const LandCrossing& longest = crossings.at(leg.longest);
    std::string text = "Leg " + std::to_string(leg.leg + 1) + ", " + std::string(fromName) +
                       " \u2013 " + std::string(toName) + ", crosses land: " + nm + " nm";
    if (leg.stretches > 1)
        text += " in " + std::to_string(leg.stretches) + " stretches, the longest";
    return text + " from " + placeText(longest.entry, decimalSeparator) + " to " +
           placeText(longest.exit, decimalSeparator) + ".";
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
