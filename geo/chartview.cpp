#include "geo/chartview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
// The closest a map zooms in: this many degrees of latitude (3 nm) fill its height.
constexpr double kMinShownDegrees = 0.05;
// Extra room around a fitted voyage beyond the margin in pixels, as a share of its extent.
constexpr double kFitSlack = 1.06;

double reduceLongitude(double x)
{
    x = std::fmod(x + 180, 360);
    if (x < 0)
        x += 360;
    return x - 180;
}

// The scale between the closest zoom and the one that shows the whole plane.
double clampedScale(double scale, double xStretch, double width, double height,
                    const MapLimits& limits)
{
    const double whole =
        std::max(limits.plane.height() / height, limits.plane.width() * xStretch / width);
    const double closest = std::min(limits.minHeight / height, whole);
    if (!(scale > 0) || !std::isfinite(scale))
        return whole;
    return std::clamp(scale, closest, whole);
}

// Moves the interval [centre - half, centre + half] onto [low, high], or centres it there when
// it is the larger.
double keptOn(double centre, double half, double low, double high)
{
    if (2 * half >= high - low)
        return (low + high) / 2;
    return std::clamp(centre, low + half, high - half);
}

} // namespace

double LongitudeSpan::centre() const
{
    return reduceLongitude(west + width / 2);
}

LongitudeSpan longitudeSpan(std::span<const LatLon> points)
{
    if (points.empty())
        return {};
    std::vector<double> lons;
    lons.reserve(points.size());
    for (const LatLon& p : points)
        lons.push_back(reduceLongitude(p.longitude));
    std::sort(lons.begin(), lons.end());
    // The arc is the whole circle less its largest empty gap.
    double gap = lons.front() + 360 - lons.back();
    double west = lons.front();
    for (std::size_t i = 1; i < lons.size(); ++i) {
        if (lons[i] - lons[i - 1] > gap) {
            gap = lons[i] - lons[i - 1];
            west = lons[i];
        }
    }
    return {west, 360 - gap};
}

MapLimits worldLimits()
{
    return {{-180, -90, 180, 90}, kMinShownDegrees};
}

MapLimits chartLimits(double chartHorizonDegrees)
{
    const double edge = std::tan(std::clamp(chartHorizonDegrees, 1.0, 89.0) * kRadiansPerDegree);
    return {{-edge, -edge, edge, edge}, kMinShownDegrees * kRadiansPerDegree};
}

PlaneRect boundsOf(std::span<const MapXY> points)
{
    PlaneRect r{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const MapXY& p : points) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.bottom = std::min(r.bottom, p.y);
        r.top = std::max(r.top, p.y);
    }
    return r;
}

PlaneRect shownRect(const MapWindow& window, double width, double height)
{
    const double halfW = width / 2 * window.scale / window.xStretch;
    const double halfH = height / 2 * window.scale;
    return {window.centre.x - halfW, window.centre.y - halfH, window.centre.x + halfW,
            window.centre.y + halfH};
}

MapXY toPixel(const MapWindow& window, double width, double height, MapXY plane)
{
    return {width / 2 + (plane.x - window.centre.x) * window.xStretch / window.scale,
            height / 2 - (plane.y - window.centre.y) / window.scale};
}

MapXY toPlane(const MapWindow& window, double width, double height, MapXY pixel)
{
    return {window.centre.x + (pixel.x - width / 2) * window.scale / window.xStretch,
            window.centre.y - (pixel.y - height / 2) * window.scale};
}

MapWindow keptWithin(MapWindow window, double width, double height, const MapLimits& limits)
{
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    window.scale = clampedScale(window.scale, window.xStretch, width, height, limits);
    const PlaneRect shown = shownRect(window, width, height);
    window.centre.x =
        keptOn(window.centre.x, shown.width() / 2, limits.plane.left, limits.plane.right);
    window.centre.y =
        keptOn(window.centre.y, shown.height() / 2, limits.plane.bottom, limits.plane.top);
    return window;
}

MapWindow fitWindow(std::span<const MapXY> points, double xStretch, double width, double height,
                    const MapLimits& limits, double marginPixels)
{
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    MapWindow window;
    window.xStretch = std::clamp(xStretch, 0.05, 1.0);
    if (points.empty()) {
        window.scale = 0; // the whole plane
        return keptWithin(window, width, height, limits);
    }
    const PlaneRect box = boundsOf(points);
    // A margin never takes more than a third of the view on either side.
    const double freeW = std::max(width / 3, width - 2 * marginPixels);
    const double freeH = std::max(height / 3, height - 2 * marginPixels);
    window.scale =
        kFitSlack * std::max(box.width() * window.xStretch / freeW, box.height() / freeH);
    window.scale = clampedScale(window.scale, window.xStretch, width, height, limits);
    window.centre = {(box.left + box.right) / 2, (box.bottom + box.top) / 2};
    return keptWithin(window, width, height, limits);
}

MapWindow zoomedAbout(const MapWindow& window, double factor, MapXY pixel, double width,
                      double height, const MapLimits& limits)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return window;
    const MapXY under = toPlane(window, width, height, pixel);
    MapWindow out = window;
    out.scale = clampedScale(window.scale / factor, window.xStretch, std::max(width, 1.0),
                             std::max(height, 1.0), limits);
    out.centre = {under.x - (pixel.x - width / 2) * out.scale / out.xStretch,
                  under.y + (pixel.y - height / 2) * out.scale};
    return keptWithin(out, width, height, limits);
}

MapWindow pannedBy(const MapWindow& window, double dx, double dy, double width, double height,
                   const MapLimits& limits)
{
    MapWindow out = window;
    out.centre.x -= dx * window.scale / window.xStretch;
    out.centre.y += dy * window.scale;
    return keptWithin(out, width, height, limits);
}

WorldFit fitWorld(std::span<const LatLon> track, double width, double height, double marginPixels)
{
    WorldFit fit;
    if (track.empty()) {
        fit.window = fitWindow({}, 1, width, height, worldLimits(), marginPixels);
        return fit;
    }
    fit.centreLon = longitudeSpan(track).centre();
    const Equirectangular map(fit.centreLon);
    std::vector<MapXY> points;
    points.reserve(track.size());
    for (const LatLon& p : track)
        points.push_back(map.project(p));
    const PlaneRect box = boundsOf(points);
    // Near the voyage a degree of longitude has its true length; a voyage spanning much
    // latitude has no one latitude for that, and tends to the plain world map.
    const double weight = std::clamp((90 - box.height()) / 60, 0.0, 1.0);
    const double parallel = std::clamp((box.bottom + box.top) / 2 * weight, -65.0, 65.0);
    fit.window = fitWindow(points, std::cos(parallel * kRadiansPerDegree), width, height,
                           worldLimits(), marginPixels);
    return fit;
}

ChartFit fitChart(std::span<const LatLon> legTrack, double width, double height,
                  double marginPixels, double horizonDegrees)
{
    ChartFit fit;
    const MapLimits limits = chartLimits(horizonDegrees);
    if (legTrack.empty()) {
        fit.window = fitWindow({}, 1, width, height, limits, marginPixels);
        return fit;
    }
    fit.centre = greatCircleMidpoint(legTrack.front(), legTrack.back());
    const Gnomonic chart(fit.centre, horizonDegrees);
    std::vector<MapXY> points;
    points.reserve(legTrack.size());
    for (const LatLon& p : legTrack)
        if (const auto xy = chart.project(p))
            points.push_back(*xy);
    fit.window = fitWindow(points, 1, width, height, limits, marginPixels);
    return fit;
}

double graticuleStep(double spanDegrees, int maxLines)
{
    static constexpr std::array<double, 14> steps = {
        1.0 / 60, 2.0 / 60, 5.0 / 60, 10.0 / 60, 15.0 / 60, 20.0 / 60, 0.5,
        1,        2,        5,        10,        15,        20,        30};
    maxLines = std::max(maxLines, 1);
    for (const double step : steps)
        if (spanDegrees / step <= maxLines)
            return step;
    return steps.back();
}

std::string graticuleLabel(double degrees, bool latitude, double step)
{
    if (!latitude)
        degrees = -reduceLongitude(-degrees); // -180 < degrees <= 180
    const long minutes = std::lround(std::abs(degrees) * 60);
    std::string out = std::to_string(minutes / 60) + "\u00B0";
    if (step < 1 && minutes % 60 != 0) {
        const long m = minutes % 60;
        out += (m < 10 ? "0" : "") + std::to_string(m) + "'";
    }
    if (minutes != 0 && !(!latitude && minutes == 180 * 60))
        out += latitude ? (degrees > 0 ? "N" : "S") : (degrees > 0 ? "E" : "W");
    return out;
}

ScaleBar scaleBar(double nmPerPixel, double maxPixels)
{
    if (!(nmPerPixel > 0) || !std::isfinite(nmPerPixel) || !(maxPixels > 0))
        return {};
    const double most = nmPerPixel * maxPixels;
    double best = 0.01;
    for (double power = 0.01; power <= most; power *= 10)
        for (const double m : {1.0, 2.0, 5.0})
            if (m * power <= most * (1 + 1e-12))
                best = std::max(best, m * power);
    return {best, best / nmPerPixel};
}

MapRun clipRing(std::span<const MapXY> ring, const PlaneRect& box)
{
    MapRun in(ring.begin(), ring.end()), out;
    // Each edge keeps what lies on its inner side: x >= left, x <= right, y >= bottom, y <= top.
    const auto clipEdge = [&](auto inside, auto cut) {
        out.clear();
        if (in.empty())
            return;
        MapXY previous = in.back();
        bool wasIn = inside(previous);
        for (const MapXY& p : in) {
            const bool isIn = inside(p);
            if (isIn != wasIn)
                out.push_back(cut(previous, p));
            if (isIn)
                out.push_back(p);
            previous = p;
            wasIn = isIn;
        }
        in.swap(out);
    };
    const auto atX = [](double x) {
        return [x](MapXY a, MapXY b) {
            return MapXY{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
        };
    };
    const auto atY = [](double y) {
        return [y](MapXY a, MapXY b) {
            return MapXY{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
        };
    };
    clipEdge([&](MapXY p) { return p.x >= box.left; }, atX(box.left));
    clipEdge([&](MapXY p) { return p.x <= box.right; }, atX(box.right));
    clipEdge([&](MapXY p) { return p.y >= box.bottom; }, atY(box.bottom));
    clipEdge([&](MapXY p) { return p.y <= box.top; }, atY(box.top));
    if (in.size() < 3)
        in.clear();
    return in;
}

bool ScreenRect::intersects(const ScreenRect& o) const
{
    return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
}

bool ScreenRect::contains(const ScreenRect& o) const
{
    return o.x >= x && o.y >= y && o.x + o.width <= x + width && o.y + o.height <= y + height;
}

namespace {

// Whether the segment a..b passes through the inside of `box` (Liang-Barsky).
bool segmentCrosses(MapXY a, MapXY b, const ScreenRect& box)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const std::array<std::pair<double, double>, 4> edges = {{
        {-dx, a.x - box.x},
        {dx, box.x + box.width - a.x},
        {-dy, a.y - box.y},
        {dy, box.y + box.height - a.y},
    }};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q <= 0)
                return false;
            continue;
        }
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 >= t1)
            return false;
    }
    return true;
}

MapXY nearestOn(const ScreenRect& box, MapXY p)
{
    return {std::clamp(p.x, box.x, box.x + box.width), std::clamp(p.y, box.y, box.y + box.height)};
}

} // namespace

std::vector<LabelSpot> placeLabels(std::span<const LabelWish> wishes,
                                   std::span<const ScreenRect> obstacles, const ScreenRect& bounds)
{
    std::vector<ScreenRect> blocked(obstacles.begin(), obstacles.end());
    for (const LabelWish& wish : wishes)
        blocked.push_back({wish.anchor.x - wish.markerRadius, wish.anchor.y - wish.markerRadius,
                           2 * wish.markerRadius, 2 * wish.markerRadius});
    std::vector<ScreenRect> names; // the names shown so far
    std::vector<LabelSpot> spots(wishes.size());

    constexpr double kGap = 3;
    for (std::size_t i = 0; i < wishes.size(); ++i) {
        const LabelWish& wish = wishes[i];
        const double ax = wish.anchor.x, ay = wish.anchor.y, w = wish.width, h = wish.height;
        const auto free = [&](const ScreenRect& box) {
            if (!bounds.contains(box))
                return false;
            for (const ScreenRect& other : blocked)
                if (box.intersects(other))
                    return false;
            return true;
        };
        // Around the marker at distance d: beside, above and below, then the four corners.
        const auto around = [&](double d, double c) {
            return std::array<ScreenRect, 8>{{
                {ax + d, ay - h / 2, w, h},
                {ax - d - w, ay - h / 2, w, h},
                {ax - w / 2, ay - d - h, w, h},
                {ax - w / 2, ay + d, w, h},
                {ax + c, ay - c - h, w, h},
                {ax + c, ay + c, w, h},
                {ax - c - w, ay - c - h, w, h},
                {ax - c - w, ay + c, w, h},
            }};
        };
        const double r = wish.markerRadius;
        LabelSpot& spot = spots[i];
        // Beside the marker; a corner box starts no nearer than where the marker's square ends.
        for (const ScreenRect& box :
             around(r + kGap, std::max((r + kGap) / std::numbers::sqrt2, r + 1))) {
            if (free(box)) {
                spot = {true, box, false, {}, {}};
                break;
            }
        }
        for (const double d : {r + 16, r + 30, r + 48}) {
            if (spot.shown)
                break;
            for (const ScreenRect& box : around(d, d / std::numbers::sqrt2)) {
                if (!free(box))
                    continue;
                const MapXY to = nearestOn(box, wish.anchor);
                const double len = std::hypot(to.x - ax, to.y - ay);
                const MapXY from{ax + (to.x - ax) * r / len, ay + (to.y - ay) * r / len};
                const bool crosses =
                    std::any_of(names.begin(), names.end(),
                                [&](const ScreenRect& n) { return segmentCrosses(from, to, n); });
                if (crosses)
                    continue;
                spot = {true, box, true, from, to};
                break;
            }
        }
        if (spot.shown) {
            names.push_back(spot.box);
            blocked.push_back(spot.box);
        }
    }
    return spots;
}

} // namespace gyrena
