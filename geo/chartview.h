#pragma once

// How a map shows a voyage, worked out without a window and shared by the screen, print and the
// PDF: which part of a projection's plane fills a view of given pixels (fitted to the voyage,
// zoomed, panned), the graticule's spacing and the scale bar at that zoom, and where the places'
// names go so that none covers another or a marker.

#include "geo/latlon.h"
#include "geo/mapprojection.h"

#include <span>
#include <string>
#include <vector>

namespace gyrena {

// A rectangle of a map's plane, in the projection's units, y growing north.
struct PlaneRect
{
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;

    double width() const { return right - left; }
    double height() const { return top - bottom; }
    bool operator==(const PlaneRect&) const = default;
};

// The smallest rectangle that holds every point; the points must not be empty.
PlaneRect boundsOf(std::span<const MapXY> points);

// The smallest arc of the equator that holds the longitudes of every point: its west end
// (degrees, -180..180) and its width eastwards (degrees, 0..360). A voyage across the 180th
// meridian is one arc over it, not the rest of the world. Empty input gives {0, 0}.
struct LongitudeSpan
{
    double west = 0;
    double width = 0;
    double centre() const; // -180..180
};
LongitudeSpan longitudeSpan(std::span<const LatLon> points);

// The part of a plane a view shows: the plane point at the view's centre, and how many plane
// units one pixel is along y. Along x a plane unit is `xStretch` times as many pixels as along y
// (the cosine of the world map's standard parallel, so that near the voyage a degree of
// longitude is as long as it is on the Earth; 1 on the great-circle chart).
struct MapWindow
{
    MapXY centre;
    double scale = 1;    // plane units per pixel along y, > 0
    double xStretch = 1; // 0 < xStretch <= 1

    bool operator==(const MapWindow& o) const
    {
        return centre.x == o.centre.x && centre.y == o.centre.y && scale == o.scale &&
               xStretch == o.xStretch;
    }
};

// What a view of a plane may show: the plane's own edges (a view larger than them is centred on
// them) and the smallest height it zooms in to, in plane units.
struct MapLimits
{
    PlaneRect plane;
    double minHeight = 0;
};

// The world map's plane (equirectangular, degrees) and the great-circle chart's (gnomonic, out
// to `chartHorizonDegrees` from its centre); both zoom in to about 3 nautical miles.
MapLimits worldLimits();
MapLimits chartLimits(double chartHorizonDegrees);

// The plane rectangle a view of width x height pixels shows through `window`.
PlaneRect shownRect(const MapWindow& window, double width, double height);
// A plane point's pixel in that view (y down), and back.
MapXY toPixel(const MapWindow& window, double width, double height, MapXY plane);
MapXY toPlane(const MapWindow& window, double width, double height, MapXY pixel);

// `window` with its scale kept between the limit's smallest height and the whole plane, and its
// centre moved so that the view stays on the plane (centred on it where the view is larger).
MapWindow keptWithin(MapWindow window, double width, double height, const MapLimits& limits);

// The window that shows every point (plane units) with a margin of `marginPixels` on each side
// and about 6% more, centred on them; no closer than the limit allows. No points: the whole
// plane.
MapWindow fitWindow(std::span<const MapXY> points, double xStretch, double width, double height,
                    const MapLimits& limits, double marginPixels);

// Zoomed by `factor` (> 1 in, < 1 out) about the pixel (x, y): the plane point under it stays
// under it, unless the limits move the view.
MapWindow zoomedAbout(const MapWindow& window, double factor, MapXY pixel, double width,
                      double height, const MapLimits& limits);
// Moved so that the plane follows the pointer by (dx, dy) pixels (y down).
MapWindow pannedBy(const MapWindow& window, double dx, double dy, double width, double height,
                   const MapLimits& limits);

// The world map fitted to a voyage's track (degrees; longitudes any finite value): centred on
// the track's own span of longitude, so a voyage across the 180th meridian is whole; its
// standard parallel is the track's middle latitude when the track spans little latitude,
// tending to the equator as it spans more.
struct WorldFit
{
    double centreLon = 0; // of the Equirectangular projection
    MapWindow window;
};
WorldFit fitWorld(std::span<const LatLon> track, double width, double height, double marginPixels);

// The great-circle chart fitted to one leg's track: centred on the great-circle midpoint of its
// ends, so the leg is a straight line through the middle of the chart, and showing the whole leg.
struct ChartFit
{
    LatLon centre; // of the Gnomonic projection
    MapWindow window;
};
ChartFit fitChart(std::span<const LatLon> legTrack, double width, double height,
                  double marginPixels, double horizonDegrees);

// The spacing of graticule lines (degrees: 1/60 .. 30) for a view showing `spanDegrees` of
// latitude or longitude: the finest of the usual steps (1', 2', 5', 10', 15', 20', 30', 1°, 2°,
// 5°, 10°, 15°, 20°, 30°) that draws at most `maxLines` lines across it.
double graticuleStep(double spanDegrees, int maxLines);
// A graticule line's label, "50°N", "50°30'N", "1°15'W", "0°", "180°" (UTF-8): whole minutes
// when the step is finer than a degree.
std::string graticuleLabel(double degrees, bool latitude, double step);

// A scale bar: the longest round length (1, 2 or 5 times a power of ten nautical miles, down to
// 0.01 nm) that is at most `maxPixels` long at `nmPerPixel`, and its length in pixels.
struct ScaleBar
{
    double nauticalMiles = 0;
    double pixels = 0;
};
ScaleBar scaleBar(double nmPerPixel, double maxPixels);

// A closed ring (its last point joins its first) cut to `box` (Sutherland-Hodgman): the part
// inside as one closed ring, running along the box's edges where it was cut; empty when none of
// it is inside. Filled by the even-odd rule, the cut rings of an outline cover what the whole
// outline covers inside the box. A map cuts its land to a little more than the view, so that
// a coast zoomed in does not hand the painter thousands of points far beyond the window.
MapRun clipRing(std::span<const MapXY> ring, const PlaneRect& box);

// A rectangle on a screen, y growing down.
struct ScreenRect
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool intersects(const ScreenRect& other) const;
    bool contains(const ScreenRect& other) const;
};

// A name to put beside its marker: the marker's centre (pixels), its radius and the text's size.
struct LabelWish
{
    MapXY anchor;
    double markerRadius = 0;
    double width = 0;
    double height = 0;
};

// Where a name went: not shown when there was no room, else its box, and whether a leader line
// joins it to its marker (from `leaderFrom` on the marker's edge to `leaderTo` on the box).
struct LabelSpot
{
    bool shown = false;
    ScreenRect box;
    bool leader = false;
    MapXY leaderFrom;
    MapXY leaderTo;
};

// Places the names in order of importance (the first most important): each goes to the first
// free spot around its marker (right, left, above, below, then the corners), else a little
// farther out with a leader line, else it is left out. A name never overlaps another name shown,
// any marker, any of the `obstacles` (a legend, a scale bar) or the edge of `bounds`, and no
// leader line crosses a name shown.
std::vector<LabelSpot> placeLabels(std::span<const LabelWish> wishes,
                                   std::span<const ScreenRect> obstacles, const ScreenRect& bounds);

} // namespace gyrena
