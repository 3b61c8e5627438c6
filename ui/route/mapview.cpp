#include "ui/route/mapview.h"

#include "geo/routeplan.h"
#include "io/earth/coastlines.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QResource>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <variant>

namespace gyrena {

namespace {

// Each colour once: the map's palette.
const QColor kSea(0xdd, 0xea, 0xf3);
const QColor kLand(0xf3, 0xf0, 0xe4);
const QColor kCoast(0xa9, 0xa3, 0x8e);
const QColor kGraticule(0xb4, 0xc6, 0xd4);
const QColor kGraticuleText(0x4a, 0x62, 0x78);
const QColor kOutside(0xf0, 0xf0, 0xf0);
const QColor kGreatCircle(0xb0, 0x1c, 0x2e);
const QColor kRhumbLine(0x1f, 0x4e, 0x9c);
// The track over land: a broad amber band under a dotted line of white over the track's own
// colour, so that it stands out from the route on land and sea alike and is not told by colour
// alone.
const QColor kOverLand(0xff, 0x9e, 0x1b, 0xd0);
const QString kOverLandLegend = QStringLiteral("Track over land");
constexpr double kLegendSample = 28; // pixels of the band the legend shows
const QColor kStart(0x1b, 0x7a, 0x3a);
const QColor kEnd(0xb0, 0x1c, 0x2e);
const QColor kStop(0xc0, 0x7a, 0x10);
// A turning point of a route by sea: a diamond, apart from the places' round markers.
const QColor kTurn(0x5b, 0x3a, 0x9a);
constexpr double kTurnRadius = 5.0;
const QColor kText(0x20, 0x20, 0x20);
const QColor kLeader(0x50, 0x50, 0x50);
const QColor kHalo(255, 255, 255, 200);

constexpr double kChartLimit = 80; // degrees from the chart's centre that it still shows
constexpr double kFitMargin = 36;  // pixels round a fitted voyage, room for its names
constexpr double kMarkerRadius = 5.5;
constexpr double kDotRadius = 3.0; // a waypoint's dot
constexpr double kDotBox = 8.0;    // the square the dot is drawn in, pixels

// A waypoint's dot at a pixel density, drawn once.
const QImage& waypointDot(double ratio)
{
    static std::map<double, QImage> dots;
    auto [it, added] = dots.try_emplace(ratio);
    if (added) {
        const int side = int(std::ceil(kDotBox * ratio));
        it->second = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        it->second.setDevicePixelRatio(ratio);
        it->second.fill(Qt::transparent);
        QPainter painter(&it->second);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(kGreatCircle);
        painter.drawEllipse(QPointF(kDotBox / 2, kDotBox / 2), kDotRadius, kDotRadius);
    }
    return it->second;
}
constexpr double kZoomStep = 1.5;   // one press of + or -
constexpr double kWheelStep = 1.25; // one notch of the wheel
// Closer than this many degrees of latitude across the view, the coast is the 1:10m one.
constexpr double kDetailedBelowDegrees = 25;
const QString kCredit = QStringLiteral("Land: Natural Earth");
const QString kAssetPath = QStringLiteral(":/gyrena/coastlines/land-50m.bin");
const QString kDetailedAssetPath = QStringLiteral(":/gyrena/coastlines/land-10m.bin");
const QString kNauticalMiles = QStringLiteral("%1 nm");

bool s_coastlinesRead = false;

QPolygonF toPolygon(const MapRun& run, const QTransform& toWidget)
{
    QPolygonF out;
    out.reserve(qsizetype(run.size()));
    for (const MapXY& p : run)
        out.append(toWidget.map(QPointF(p.x, p.y)));
    return out;
}

bool paintsPixels(QPainter& painter)
{
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
}

QFont scaledFont(QFont font, double factor, bool bold)
{
    font.setBold(bold);
    // A printed map gives its font in units of the page rather than in points.
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * factor))));
    return font;
}

double greatCircleNm(LatLon a, LatLon b)
{
    const RoutePlan plan = planRoute(a, b);
    return plan.hasRoute ? plan.distance : 0.0;
}

} // namespace

// A coast on a plane: each ring's points in plane units (on the world map x is the longitude,
// shifted by the map's centre when drawn), its bounds, and the rings in fill groups.
struct MapView::Land
{
    // A ring's points are also looked at in chunks of this many, each with its bounds: a chunk
    // wholly beyond one side of the view is drawn as its two ends pressed onto that side, which
    // leaves what is filled within the view as it was (the chunk stays in a half-plane that the
    // view does not reach) and spares a close view most of a continent's coast.
    static constexpr std::size_t kChunk = 32;

    std::vector<MapRun> rings;
    std::vector<PlaneRect> bounds;
    std::vector<std::vector<PlaneRect>> chunks;
    std::vector<std::vector<std::size_t>> groups;
    LatLon centre;
    bool detailed = false;

    void add(MapRun ring)
    {
        bounds.push_back(boundsOf(ring));
        std::vector<PlaneRect> parts;
        for (std::size_t c = 0; c < ring.size(); c += kChunk)
            parts.push_back(boundsOf(
                std::span<const MapXY>(ring).subspan(c, std::min(kChunk, ring.size() - c))));
        chunks.push_back(std::move(parts));
        rings.push_back(std::move(ring));
    }

    // The fill groups of `coast`, worked out once per coast.
    static const std::vector<std::vector<std::size_t>>& groupsOf(const Coastlines& coast)
    {
        static std::vector<std::pair<const Coastlines*, std::vector<std::vector<std::size_t>>>>
            known;
        for (const auto& [c, g] : known)
            if (c == &coast)
                return g;
        known.emplace_back(&coast, coast.fillGroups());
        return known.back().second;
    }

    // The world map's land of `coast`, in longitude and latitude, made once per coast.
    static const Land& world(const Coastlines& coast)
    {
        static std::vector<std::pair<const Coastlines*, std::unique_ptr<Land>>> known;
        for (const auto& [c, land] : known)
            if (c == &coast)
                return *land;
        auto land = std::make_unique<Land>();
        for (std::size_t r = 0; r < coast.ringCount(); ++r) {
            MapRun ring;
            ring.reserve(coast.ring(r).size());
            for (const LatLon& p : coast.ring(r))
                ring.push_back({p.longitude, p.latitude});
            land->add(std::move(ring));
        }
        land->groups = groupsOf(coast);
        known.emplace_back(&coast, std::move(land));
        return *known.back().second;
    }

    // The outlines in widget pixels, one per fill group, of the rings that reach `clip` (pixels)
    // once moved by `shift` plane units along x. Points closer than `step` pixels to the last
    // one kept add nothing but time to a fill; rings reaching beyond `clip` are cut to it.
    void outlines(std::vector<QPainterPath>& out, const std::vector<double>& shifts,
                  const QTransform& toWidget, const QRectF& clip, double step) const
    {
        Q_ASSERT(toWidget.type() <= QTransform::TxScale);
        const double sx = toWidget.m11(), sy = toWidget.m22(), dx = toWidget.dx(),
                     dy = toWidget.dy();
        const PlaneRect pixelClip{clip.left(), clip.top(), clip.right(), clip.bottom()};
        // The clip in plane units, to skip rings by their bounds alone.
        const double px0 = (clip.left() - dx) / sx, px1 = (clip.right() - dx) / sx;
        const double py0 = (clip.bottom() - dy) / sy, py1 = (clip.top() - dy) / sy;
        const PlaneRect planeClip{std::min(px0, px1), std::min(py0, py1), std::max(px0, px1),
                                  std::max(py0, py1)};
        MapRun pixels;
        for (const std::vector<std::size_t>& group : groups) {
            QPainterPath outline;
            outline.setFillRule(Qt::OddEvenFill);
            for (const std::size_t r : group) {
                const PlaneRect& b = bounds[r];
                for (const double shift : shifts) {
                    if (b.left + shift > planeClip.right || b.right + shift < planeClip.left ||
                        b.bottom > planeClip.top || b.top < planeClip.bottom)
                        continue;
                    pixels.clear();
                    MapXY last{};
                    const MapRun& ring = rings[r];
                    for (std::size_t c = 0, k = 0; c < ring.size(); c += kChunk, ++k) {
                        const std::size_t end = std::min(ring.size(), c + kChunk);
                        const PlaneRect& part = chunks[r][k];
                        const bool west =
                            part.right +
                            shift<planeClip.left, east = part.left + shift> planeClip.right,
                                   south = part.top<planeClip.bottom, north = part.bottom> planeClip
                                               .top;
                        if (west || east || south || north) {
                            // Its ends as they are, and between them the ends pressed onto the
                            // side: a path in the same half-plane with the same ends.
                            const MapXY first{sx * (ring[c].x + shift) + dx, sy * ring[c].y + dy};
                            const MapXY final{sx * (ring[end - 1].x + shift) + dx,
                                              sy * ring[end - 1].y + dy};
                            const auto pressed = [&](MapXY at) {
                                if (west || east)
                                    at.x = sx * (west ? planeClip.left : planeClip.right) + dx;
                                else
                                    at.y = sy * (south ? planeClip.bottom : planeClip.top) + dy;
                                return at;
                            };
                            pixels.insert(pixels.end(),
                                          {first, pressed(first), pressed(final), final});
                            last = final;
                            continue;
                        }
                        for (std::size_t i = c; i < end; ++i) {
                            const MapXY at{sx * (ring[i].x + shift) + dx, sy * ring[i].y + dy};
                            if (pixels.empty() ||
                                std::abs(at.x - last.x) + std::abs(at.y - last.y) > step) {
                                pixels.push_back(at);
                                last = at;
                            }
                        }
                    }
                    const bool inside = b.left + shift >= planeClip.left &&
                                        b.right + shift <= planeClip.right &&
                                        b.bottom >= planeClip.bottom && b.top <= planeClip.top;
                    const MapRun& kept = inside ? pixels : clipRing(pixels, pixelClip);
                    if (kept.size() < 3)
                        continue;
                    QPolygonF polygon;
                    polygon.reserve(qsizetype(kept.size()));
                    for (const MapXY& p : kept)
                        polygon.append(QPointF(p.x, p.y));
                    outline.addPolygon(polygon);
                    outline.closeSubpath();
                }
            }
            if (!outline.isEmpty())
                out.push_back(std::move(outline));
        }
    }
};

MapView::MapView(QWidget* parent)
    : QWidget(parent), m_worldLimits(worldLimits()), m_chartLimits(chartLimits(kChartLimit))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

MapView::~MapView() = default;

namespace {

// A coastline asset of the resources, read in place the first time it is asked for; nothing when
// it cannot be read (the map then goes without that land).
std::optional<Coastlines> readAsset(const QString& path)
{
    const QResource asset(path);
    // The asset is stored uncompressed, so it is read in place, without a copy.
    const QByteArray bytes =
        asset.compressionAlgorithm() == QResource::NoCompression
            ? QByteArray::fromRawData(reinterpret_cast<const char*>(asset.data()),
                                      qsizetype(asset.size()))
            : asset.uncompressedData();
    auto parsed = readCoastlines(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (auto* error = std::get_if<CoastlineError>(&parsed)) {
        qWarning("The coastlines %s cannot be read: %s (byte %zu)", qPrintable(path),
                 error->what.c_str(), error->offset);
        return std::nullopt;
    }
    return std::move(std::get<Coastlines>(parsed));
}

} // namespace

const Coastlines* MapView::coastlines()
{
    static const std::optional<Coastlines> land = [] {
        s_coastlinesRead = true;
        return readAsset(kAssetPath);
    }();
    return land ? &*land : nullptr;
}

const Coastlines* MapView::detailedCoastlines()
{
    static const std::optional<Coastlines> land = readAsset(kDetailedAssetPath);
    return land ? &*land : nullptr;
}

bool MapView::coastlinesRead()
{
    return s_coastlinesRead;
}

void MapView::setRoute(const MapRoute& route)
{
    m_route = route;
    m_selectedLeg = std::clamp(m_selectedLeg, 0, std::max(0, int(m_route.legs.size()) - 1));
    if (m_follow)
        m_fitDue = true;
    update();
}

void MapView::setProjection(Projection projection)
{
    m_projection = projection;
    update();
}

void MapView::setSelectedLeg(int leg)
{
    leg = std::clamp(leg, 0, std::max(0, int(m_route.legs.size()) - 1));
    if (leg == m_selectedLeg)
        return;
    m_selectedLeg = leg;
    // The chart moves to the leg; the world map stays where it is.
    const ChartFit chart = fitChart(chartLeg(), width(), height(), kFitMargin, kChartLimit);
    m_chartCentre = chart.centre;
    m_chartWindow = chart.window;
    update();
}

void MapView::setSelectedPlace(int place)
{
    if (place == m_selectedPlace)
        return;
    m_selectedPlace = place;
    update();
}

const std::vector<LatLon>& MapView::chartLeg() const
{
    if (m_route.legs.empty())
        return m_route.greatCircle;
    return m_route.legs[std::size_t(std::clamp(m_selectedLeg, 0, int(m_route.legs.size()) - 1))];
}

void MapView::fitIfDue()
{
    if (!m_fitDue)
        return;
    m_fitDue = false;
    // The dashed rhumb line may bulge beyond the track: it is fitted too.
    std::vector<LatLon> shown = m_route.greatCircle;
    shown.insert(shown.end(), m_route.rhumbLine.begin(), m_route.rhumbLine.end());
    const WorldFit world = fitWorld(shown, width(), height(), kFitMargin);
    m_worldCentre = world.centreLon;
    m_worldWindow = world.window;
    const ChartFit chart = fitChart(chartLeg(), width(), height(), kFitMargin, kChartLimit);
    m_chartCentre = chart.centre;
    m_chartWindow = chart.window;
}

void MapView::fitVoyage()
{
    m_follow = true;
    m_fitDue = true;
    update();
    emit viewChanged();
}

const MapLimits& MapView::limits() const
{
    return m_projection == Projection::World ? m_worldLimits : m_chartLimits;
}

MapWindow MapView::window()
{
    fitIfDue();
    MapWindow& w = m_projection == Projection::World ? m_worldWindow : m_chartWindow;
    w = keptWithin(w, width(), height(), limits());
    return w;
}

double MapView::worldCentreLongitude()
{
    fitIfDue();
    return m_worldCentre;
}

void MapView::zoomBy(double factor, QPointF about)
{
    fitIfDue();
    MapWindow& w = m_projection == Projection::World ? m_worldWindow : m_chartWindow;
    const MapWindow zoomed =
        zoomedAbout(w, factor, {about.x(), about.y()}, width(), height(), limits());
    if (zoomed == w)
        return;
    w = zoomed;
    m_follow = false;
    update();
    emit viewChanged();
}

void MapView::zoomIn()
{
    zoomBy(kZoomStep, QPointF(width() / 2.0, height() / 2.0));
}

void MapView::zoomOut()
{
    zoomBy(1 / kZoomStep, QPointF(width() / 2.0, height() / 2.0));
}

void MapView::panBy(QPointF pixels)
{
    fitIfDue();
    MapWindow& w = m_projection == Projection::World ? m_worldWindow : m_chartWindow;
    const MapWindow moved = pannedBy(w, pixels.x(), pixels.y(), width(), height(), limits());
    if (moved == w)
        return;
    w = moved;
    m_follow = false;
    update();
    emit viewChanged();
}

std::optional<MapXY> MapView::project(LatLon p) const
{
    if (m_projection == Projection::World)
        return Equirectangular(m_worldCentre).project(p);
    return Gnomonic(m_chartCentre, kChartLimit).project(p);
}

std::vector<MapRun> MapView::projectLine(const std::vector<LatLon>& line) const
{
    if (m_projection == Projection::World)
        return Equirectangular(m_worldCentre).projectLine(line);
    return Gnomonic(m_chartCentre, kChartLimit).projectLine(line);
}

QTransform MapView::planeToWidget()
{
    const MapWindow w = window();
    const double sx = w.xStretch / w.scale, sy = -1 / w.scale;
    return QTransform(sx, 0, 0, sy, width() / 2.0 - w.centre.x * sx,
                      height() / 2.0 - w.centre.y * sy);
}

std::optional<LatLon> MapView::positionAt(QPointF pixel)
{
    const MapXY plane = toPlane(window(), width(), height(), {pixel.x(), pixel.y()});
    if (m_projection == Projection::World) {
        if (std::abs(plane.x) > 180 || std::abs(plane.y) > 90)
            return std::nullopt;
        return LatLon{plane.y, planLongitude(plane.x + m_worldCentre)};
    }
    // The gnomonic projection inverted: the plane point is the direction c + x e + y n.
    if (std::hypot(plane.x, plane.y) > std::tan(kChartLimit * std::numbers::pi / 180))
        return std::nullopt;
    constexpr double rad = std::numbers::pi / 180;
    const double lat = m_chartCentre.latitude * rad, lon = m_chartCentre.longitude * rad;
    const double c[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                         std::sin(lat)};
    const double e[3] = {-std::sin(lon), std::cos(lon), 0};
    const double n[3] = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon),
                         std::cos(lat)};
    double v[3];
    for (int i = 0; i < 3; ++i)
        v[i] = c[i] + plane.x * e[i] + plane.y * n[i];
    return LatLon{std::atan2(v[2], std::hypot(v[0], v[1])) / rad,
                  planLongitude(std::atan2(v[1], v[0]) / rad)};
}

std::optional<QPointF> MapView::pixelOf(LatLon position)
{
    const MapWindow w = window();
    const std::optional<MapXY> plane = project(position);
    if (!plane)
        return std::nullopt;
    const MapXY p = toPixel(w, width(), height(), *plane);
    return QPointF(p.x, p.y);
}

double MapView::nauticalMilesPerPixel()
{
    const QPointF centre(width() / 2.0, height() / 2.0);
    const auto a = positionAt(centre - QPointF(25, 0)), b = positionAt(centre + QPointF(25, 0));
    if (!a || !b)
        return window().scale * 60;
    return greatCircleNm(*a, *b) / 50;
}

bool MapView::detailedCoast()
{
    const MapWindow w = window();
    const double degreesHigh =
        height() * w.scale * (m_projection == Projection::World ? 1.0 : 180 / std::numbers::pi);
    return degreesHigh < kDetailedBelowDegrees && detailedCoastlines() != nullptr;
}

std::optional<LatLon> MapView::placePosition(int place) const
{
    const int last = int(m_route.stops.size()) + 1;
    if (place < 0 || place > last)
        return std::nullopt;
    return place == 0      ? m_route.start
           : place == last ? m_route.end
                           : m_route.stops[std::size_t(place - 1)].position;
}

int MapView::placeAt(QPointF pixel)
{
    int best = -1;
    double bestDistance = kMarkerRadius + 3;
    for (int i = 0; i <= int(m_route.stops.size()) + 1; ++i) {
        if (const auto p = pixelOf(*placePosition(i))) {
            const double d = std::hypot(p->x() - pixel.x(), p->y() - pixel.y());
            if (d <= bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
    }
    return best;
}

int MapView::turnAt(QPointF pixel)
{
    int best = -1;
    double bestDistance = kTurnRadius + 3;
    for (std::size_t i = 0; i < m_route.turns.size(); ++i) {
        if (const auto p = pixelOf(m_route.turns[i].position)) {
            const double d = std::hypot(p->x() - pixel.x(), p->y() - pixel.y());
            if (d <= bestDistance) {
                best = int(i);
                bestDistance = d;
            }
        }
    }
    return best;
}

QSize MapView::sizeHint() const
{
    return {720, 400};
}

QSize MapView::minimumSizeHint() const
{
    return {240, 140};
}

class MapView::Background
{
public:
    Background() = default;
    explicit Background(std::unique_ptr<QPainter> image) : m_image(std::move(image)) {}
    Background(QPainter& direct, const QRectF& area, const QColor& outside) : m_direct(&direct)
    {
        m_direct->save();
        m_direct->fillRect(area, outside);
    }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    ~Background()
    {
        if (m_direct)
            m_direct->restore();
    }
    explicit operator bool() const { return m_direct || m_image; }
    QPainter* operator->() const { return m_direct ? m_direct : m_image.get(); }
    QPainter& operator*() const { return m_direct ? *m_direct : *m_image; }

private:
    std::unique_ptr<QPainter> m_image;
    QPainter* m_direct = nullptr;
};

MapView::Background MapView::background(QPainter& target, const QTransform& toWidget)
{
    if (!paintsPixels(target))
        return Background(target, rect(), kOutside);
    const double ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    // The graticule's labels keep clear of the legend of the track over land, when it is shown.
    const double key = (m_projection == Projection::World
                            ? m_worldCentre
                            : m_chartCentre.latitude * 1000 + m_chartCentre.longitude) +
                       (m_route.overLand.empty() ? 0 : 1e9);
    if (!m_background.isNull() && m_background.size() == pixels &&
        m_background.devicePixelRatio() == ratio && m_backgroundTransform == toWidget &&
        m_backgroundProjection == m_projection && m_backgroundKey == key)
        return Background();
    // Sea, land and graticule change only with the size and the view: a repaint for anything
    // else (the route, a hover) draws them from this image, at the screen's own pixel density.
    // The image is drawn over afresh; a new one is made only for a new size: four megabytes
    // mapped and touched at every zoom cost more than the drawing (page faults).
    if (m_background.size() != pixels)
        m_background = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_background.setDevicePixelRatio(ratio);
    m_backgroundTransform = toWidget;
    m_backgroundProjection = m_projection;
    m_backgroundKey = key;
    auto painter = std::make_unique<QPainter>(&m_background);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(font());
    painter->fillRect(rect(), kOutside);
    return Background(std::move(painter));
}

void MapView::showBackground(QPainter& target) const
{
    if (paintsPixels(target))
        target.drawImage(QPointF(0, 0), m_background);
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_follow)
        m_fitDue = true;
    emit viewChanged();
}

void MapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QTransform toWidget = planeToWidget();
    if (Background bg = background(painter, toWidget))
        paintBackground(*bg, toWidget);
    showBackground(painter);
    paintRoute(painter, toWidget);
}

void MapView::paintBackground(QPainter& painter, const QTransform& toWidget)
{
    // The sea within the widget only: a printed map has no clip of its own, and the plane's sea
    // zoomed in reaches far beyond it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSea);
    if (m_projection == Projection::World) {
        painter.drawRect(toWidget.mapRect(QRectF(-180, -90, 360, 180)).intersected(rect()));
    } else {
        const double horizon = std::tan(kChartLimit * std::numbers::pi / 180);
        QPainterPath sea;
        sea.addEllipse(toWidget.map(QPointF(0, 0)), horizon * toWidget.m11(),
                       horizon * -toWidget.m22());
        QPainterPath view;
        view.addRect(rect());
        painter.drawPath(sea.intersected(view));
    }
    paintLand(painter, toWidget);
    paintGraticule(painter, toWidget);
}

const MapView::Land& MapView::chartLand(bool detailed)
{
    if (m_chartLand && m_chartLand->detailed == detailed && m_chartLand->centre == m_chartCentre)
        return *m_chartLand;
    auto land = std::make_unique<Land>();
    land->centre = m_chartCentre;
    land->detailed = detailed;
    const Coastlines* coast = detailed ? detailedCoastlines() : coastlines();
    if (coast) {
        const Gnomonic chart(m_chartCentre, kChartLimit);
        const auto& groups = Land::groupsOf(*coast);
        std::vector<std::size_t> index(coast->ringCount(), SIZE_MAX);
        for (std::size_t r = 0; r < coast->ringCount(); ++r) {
            MapRun ring = chart.projectRing(coast->ring(r));
            if (ring.size() < 3)
                continue;
            index[r] = land->rings.size();
            land->add(std::move(ring));
        }
        for (const std::vector<std::size_t>& group : groups) {
            std::vector<std::size_t> kept;
            for (const std::size_t r : group)
                if (index[r] != SIZE_MAX)
                    kept.push_back(index[r]);
            if (!kept.empty())
                land->groups.push_back(std::move(kept));
        }
    }
    m_chartLand = std::move(land);
    return *m_chartLand;
}

void MapView::paintLand(QPainter& painter, const QTransform& toWidget)
{
    const bool detailed = detailedCoast();
    const Coastlines* coast = detailed ? detailedCoastlines() : coastlines();
    if (!coast)
        return;
    // Cut a little beyond the view on screen, so that the cuts and their coast lines stay out of
    // sight (on paper, where nothing clips the map, at its edge); on the world map also at its
    // edges, where the land of the far side would run on.
    const bool pixelsOnly = paintsPixels(painter);
    QRectF clip = pixelsOnly ? QRectF(rect()).adjusted(-4, -4, 4, 4) : QRectF(rect());
    const double step = pixelsOnly ? 1.5 / devicePixelRatioF() : 0.4;
    std::vector<QPainterPath> outlines;
    if (m_projection == Projection::World) {
        clip = clip.intersected(toWidget.mapRect(QRectF(-180, -90, 360, 180)));
        const double c = m_worldCentre;
        Land::world(*coast).outlines(outlines, {-c, -c + 360, -c - 360}, toWidget, clip, step);
    } else {
        chartLand(detailed).outlines(outlines, {0.0}, toWidget, clip, step);
    }
    QPen coastPen(kCoast, 0.8);
    // On screen a hairline drawn as such, far quicker than a stroke of that width outlined and
    // filled; on paper a line of its width at the map's scale.
    coastPen.setCosmetic(pixelsOnly);
    if (!pixelsOnly) {
        painter.setPen(detailed ? coastPen : QPen(Qt::NoPen));
        painter.setBrush(kLand);
        for (const QPainterPath& outline : outlines)
            painter.drawPath(outline);
        return;
    }
    // On screen a hairline along the coast covers the fill's edge (the detailed coast's line, or
    // one of the land's own colour): the land is filled without antialiasing, a good deal
    // quicker, and only the line is smoothed.
    if (!detailed)
        coastPen.setColor(kLand);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLand);
    for (const QPainterPath& outline : outlines)
        painter.drawPath(outline);
    painter.restore();
    painter.setPen(coastPen);
    painter.setBrush(Qt::NoBrush);
    for (const QPainterPath& outline : outlines)
        painter.drawPath(outline);
}

void MapView::paintGraticule(QPainter& painter, const QTransform& toWidget)
{
    const MapWindow w = window();
    const PlaneRect shown = shownRect(w, width(), height());
    const bool world = m_projection == Projection::World;
    const double toDegrees = world ? 1.0 : 180 / std::numbers::pi;
    // Lines at least 60 pixels apart up and down and 90 across, over the part of the plane in view.
    const double across =
        (std::min(shown.right, limits().plane.right) - std::max(shown.left, limits().plane.left));
    const double high =
        (std::min(shown.top, limits().plane.top) - std::max(shown.bottom, limits().plane.bottom));
    const double step = std::max(
        graticuleStep(high * toDegrees, std::max(2, int(high / w.scale / 60))),
        graticuleStep(across * toDegrees, std::max(2, int(across * w.xStretch / w.scale / 90))));

    // The range of latitude and longitude in view.
    double lat0 = -90, lat1 = 90, lon0 = -180, lon1 = 180;
    if (world) {
        lat0 = std::max(-90.0, shown.bottom);
        lat1 = std::min(90.0, shown.top);
        lon0 = std::max(-180.0, shown.left) + m_worldCentre;
        lon1 = std::min(180.0, shown.right) + m_worldCentre;
    } else {
        const double reach =
            std::atan(std::max(
                {std::hypot(shown.left, shown.bottom), std::hypot(shown.left, shown.top),
                 std::hypot(shown.right, shown.bottom), std::hypot(shown.right, shown.top)})) *
            toDegrees;
        const double clat = m_chartCentre.latitude;
        lat0 = std::max(-90.0, clat - reach);
        lat1 = std::min(90.0, clat + reach);
        if (std::abs(clat) + reach < 89) {
            const double across =
                std::asin(std::min(1.0, std::sin(reach / toDegrees) / std::cos(clat / toDegrees))) *
                toDegrees;
            lon0 = m_chartCentre.longitude - across;
            lon1 = m_chartCentre.longitude + across;
        }
    }

    struct Line
    {
        std::vector<MapRun> runs;
        QString label;
        bool latitude;
    };
    std::vector<Line> lines;
    const int samples = world ? 2 : 64;
    std::vector<LatLon> points;
    const Gnomonic chart(m_chartCentre, kChartLimit);
    const auto project = [&](const std::vector<LatLon>& line) {
        return world ? Equirectangular(m_worldCentre).projectLine(line) : chart.projectLine(line);
    };
    for (double lat = std::ceil(lat0 / step) * step; lat <= lat1 && lines.size() < 400;
         lat += step) {
        if (std::abs(lat) >= 90)
            continue;
        points.clear();
        // On the world map a parallel runs straight across the view, never cut.
        if (world) {
            const MapRun across = {{std::max(-180.0, shown.left), lat},
                                   {std::min(180.0, shown.right), lat}};
            lines.push_back(
                {{across}, QString::fromStdString(graticuleLabel(lat, true, step)), true});
            continue;
        }
        for (int i = 0; i <= samples; ++i)
            points.push_back({lat, lon0 + (lon1 - lon0) * i / samples});
        lines.push_back(
            {project(points), QString::fromStdString(graticuleLabel(lat, true, step)), true});
    }
    for (double lon = std::ceil(lon0 / step) * step; lon <= lon1 && lines.size() < 800;
         lon += step) {
        points.clear();
        if (world) {
            const double x = lon - m_worldCentre;
            const MapRun along = {{x, lat0}, {x, lat1}};
            lines.push_back(
                {{along}, QString::fromStdString(graticuleLabel(lon, false, step)), false});
            continue;
        }
        for (int i = 0; i <= samples; ++i)
            points.push_back({lat0 + (lat1 - lat0) * i / samples, lon});
        lines.push_back(
            {project(points), QString::fromStdString(graticuleLabel(lon, false, step)), false});
    }

    painter.save();
    painter.setClipRect(rect());
    QPen grid(kGraticule, 0.8);
    painter.setPen(grid);
    painter.setBrush(Qt::NoBrush);
    for (const Line& line : lines)
        for (const MapRun& run : line.runs)
            painter.drawPolyline(toPolygon(run, toWidget));

    // Each line's label where it meets the view's left edge (parallels) or its foot (meridians).
    const QFont font = scaledFont(painter.font(), 0.8, false);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QRectF view = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double creditLeft = creditBox(scaledFont(this->font(), 0.85, false)).left();
    // Where a polyline first crosses the vertical line x (or, `horizontal`, the line y) within
    // the view, away from its corners, for a label `wide` pixels wide.
    const auto crossing = [&](const QPolygonF& poly, double edge, bool horizontal,
                              double wide) -> std::optional<QPointF> {
        for (qsizetype i = 0; i + 1 < poly.size(); ++i) {
            const double a = horizontal ? poly[i].y() : poly[i].x();
            const double b = horizontal ? poly[i + 1].y() : poly[i + 1].x();
            if (a == b || (a - edge) * (b - edge) > 0)
                continue;
            const double t = (edge - a) / (b - a);
            const QPointF p = poly[i] + t * (poly[i + 1] - poly[i]);
            // Clear of the scale bar at the foot on the left and the credit on the right.
            if (horizontal ? p.x() > view.left() + 190 && p.x() + wide + 6 < creditLeft
                           : p.y() > view.top() + 8 && p.y() < view.bottom() - 44)
                return p;
        }
        return std::nullopt;
    };
    for (const Line& line : lines) {
        const QSizeF size = metrics.size(Qt::TextSingleLine, line.label);
        std::optional<QPointF> at;
        // Parallels are labelled at the left edge (else the right), meridians at the foot
        // (else the top).
        const double edges[2] = {line.latitude ? view.left() : view.bottom(),
                                 line.latitude ? view.right() - 40 : view.top() + 14};
        for (const double edge : edges)
            for (const MapRun& run : line.runs)
                if (!at)
                    at = crossing(toPolygon(run, toWidget), edge, !line.latitude, size.width());
        if (!at)
            continue;
        const double above = at->y() - size.height() - 2;
        const QRectF box(at->x() + 2, above >= view.top() ? above : at->y() + 2, size.width(),
                         size.height());
        if (!m_route.overLand.empty() && box.intersects(landLegendBox()))
            continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kSea.red(), kSea.green(), kSea.blue(), 170));
        painter.drawRect(box.adjusted(-1, 0, 1, 0));
        painter.setPen(kGraticuleText);
        painter.drawText(box, Qt::AlignCenter, line.label);
    }
    painter.restore();
}

void MapView::paintRoute(QPainter& painter, const QTransform& toWidget)
{
    const auto drawRuns = [&](const std::vector<MapRun>& runs) {
        for (const MapRun& run : runs)
            painter.drawPolyline(toPolygon(run, toWidget));
    };
    painter.setBrush(Qt::NoBrush);
    // The tracks are dense polylines whose bends are slight: bevelled joins look as round ones
    // and are stroked in a fraction of the time.
    painter.setPen(QPen(kRhumbLine, 1.6, Qt::DashLine, Qt::FlatCap, Qt::BevelJoin));
    drawRuns(projectLine(m_route.rhumbLine));
    std::vector<MapRun> overLand;
    for (const std::vector<LatLon>& stretch : m_route.overLand)
        for (MapRun& run : projectLine(stretch))
            overLand.push_back(std::move(run));
    painter.setPen(QPen(kOverLand, 9.0, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    drawRuns(overLand);
    painter.setPen(QPen(kGreatCircle, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    drawRuns(projectLine(m_route.greatCircle));
    if (!overLand.empty()) {
        painter.setPen(QPen(Qt::white, 2.2, Qt::DotLine, Qt::FlatCap, Qt::BevelJoin));
        drawRuns(overLand);
    }

    const MapWindow w = window();
    const auto at = [&](LatLon p) -> std::optional<QPointF> {
        const std::optional<MapXY> plane = project(p);
        if (!plane)
            return std::nullopt;
        const MapXY px = toPixel(w, width(), height(), *plane);
        return QPointF(px.x, px.y);
    };
    if (paintsPixels(painter)) {
        // On screen one dot drawn once and copied to each waypoint: hundreds of them cost
        // little more than one.
        const QImage& dot = waypointDot(painter.device()->devicePixelRatioF());
        const QPointF half(kDotBox / 2, kDotBox / 2);
        for (const LatLon& waypoint : m_route.waypoints)
            if (const auto p = at(waypoint); p && rect().contains(p->toPoint()))
                painter.drawImage(*p - half, dot);
    } else {
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(kGreatCircle);
        for (const LatLon& waypoint : m_route.waypoints)
            if (const auto p = at(waypoint); p && rect().contains(p->toPoint()))
                painter.drawEllipse(*p, kDotRadius, kDotRadius);
    }
    if (m_route.vertex) {
        if (const auto p = at(*m_route.vertex)) {
            // A diamond: the highest latitude of the route.
            painter.setPen(QPen(kText, 1.2));
            painter.setBrush(Qt::white);
            painter.drawPolygon(QPolygonF({*p + QPointF(0, -6), *p + QPointF(5, 0),
                                           *p + QPointF(0, 6), *p + QPointF(-5, 0)}));
        }
    }

    // The overlays first, so that the names keep clear of them.
    QRectF scale;
    paintScaleBar(painter, scale);
    paintCredit(painter);
    const QRectF legend = m_route.overLand.empty() ? QRectF() : paintLandLegend(painter);
    const QFont labelFont = scaledFont(font(), 1.0, true);
    const QRectF credit = creditBox(scaledFont(font(), 0.85, false));

    // The places: the start and the end come first, then the stops in order.
    struct Marker
    {
        QPointF at;
        QString name;
        QColor colour;
        int place;
        bool turn;
    };
    std::vector<Marker> markers;
    const auto add = [&](LatLon where, const QString& name, const QColor& colour, int place,
                         bool turn = false) {
        if (const auto p = at(where))
            markers.push_back({*p, name, colour, place, turn});
    };
    const int last = int(m_route.stops.size()) + 1;
    add(m_route.start, QString::fromStdString(m_route.startName), kStart, 0);
    add(m_route.end, QString::fromStdString(m_route.endName), kEnd, last);
    for (std::size_t i = 0; i < m_route.stops.size(); ++i)
        add(m_route.stops[i].position, QString::fromStdString(m_route.stops[i].name), kStop,
            int(i) + 1);
    // The turning points after the places: where names crowd, a place keeps its name first.
    // A passage turned through at several points is named once, at the first of them.
    std::string named; // the last passage named
    for (const MapPlace& turn : m_route.turns) {
        const bool again = turn.name.empty() || turn.name == named;
        if (!turn.name.empty())
            named = turn.name;
        add(turn.position, again ? QString() : QString::fromStdString(turn.name), kTurn, -1, true);
    }

    const QFontMetricsF metrics(labelFont);
    std::vector<LabelWish> wishes;
    for (const Marker& m : markers) {
        const QSizeF size = metrics.size(Qt::TextSingleLine, m.name);
        wishes.push_back(
            {{m.at.x(), m.at.y()}, kMarkerRadius + 1, size.width() + 6, size.height() + 2});
    }
    std::vector<ScreenRect> obstacles = {{scale.x(), scale.y(), scale.width(), scale.height()},
                                         {credit.x(), credit.y(), credit.width(), credit.height()}};
    if (!legend.isEmpty())
        obstacles.push_back({legend.x(), legend.y(), legend.width(), legend.height()});
    const std::vector<LabelSpot> spots =
        placeLabels(wishes, obstacles, {2, 2, width() - 4.0, height() - 4.0});

    // The turning points' diamonds first: a place's marker stays on top of one beside it.
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(kTurn);
    for (const Marker& m : markers) {
        const double r = kTurnRadius;
        if (m.turn)
            painter.drawPolygon(QPolygonF({m.at + QPointF(0, -r), m.at + QPointF(r, 0),
                                           m.at + QPointF(0, r), m.at + QPointF(-r, 0)}));
    }
    for (const Marker& m : markers) {
        if (m.turn)
            continue;
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(m.colour);
        painter.drawEllipse(m.at, kMarkerRadius, kMarkerRadius);
        if (m.place == m_selectedPlace) {
            painter.setPen(QPen(kText, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(m.at, kMarkerRadius + 3, kMarkerRadius + 3);
        }
    }
    painter.setFont(labelFont);
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const LabelSpot& spot = spots[i];
        if (!spot.shown || markers[i].name.isEmpty())
            continue;
        if (spot.leader) {
            painter.setPen(QPen(kLeader, 1));
            painter.drawLine(QPointF(spot.leaderFrom.x, spot.leaderFrom.y),
                             QPointF(spot.leaderTo.x, spot.leaderTo.y));
        }
        const QRectF box(spot.box.x, spot.box.y, spot.box.width, spot.box.height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kHalo);
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(markers[i].turn ? kTurn : kText);
        painter.drawText(box, Qt::AlignCenter, markers[i].name);
    }
}

void MapView::paintScaleBar(QPainter& painter, QRectF& box)
{
    const ScaleBar bar = scaleBar(nauticalMilesPerPixel(), std::min(160.0, width() / 4.0));
    const QFont font = scaledFont(this->font(), 0.85, false);
    const QFontMetricsF metrics(font);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString text = kNauticalMiles.arg(locale.toString(bar.nauticalMiles, 'g', 6));
    const double textHeight = metrics.height();
    box = QRectF(8, height() - textHeight - 18,
                 std::max(bar.pixels, metrics.horizontalAdvance(text)) + 12, textHeight + 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 180));
    painter.drawRect(box);
    const double y = box.bottom() - 5, x0 = box.left() + 6;
    painter.setPen(QPen(kText, 1.5));
    painter.drawLine(QPointF(x0, y), QPointF(x0 + bar.pixels, y));
    painter.drawLine(QPointF(x0, y - 4), QPointF(x0, y));
    painter.drawLine(QPointF(x0 + bar.pixels, y - 4), QPointF(x0 + bar.pixels, y));
    painter.setFont(font);
    painter.drawText(QRectF(x0, box.top() + 1, box.width() - 12, textHeight), Qt::AlignLeft, text);
}

QRectF MapView::landLegendBox() const
{
    // Top left; the names and the graticule's labels are placed clear of it.
    const QSizeF text =
        QFontMetricsF(scaledFont(font(), 0.85, false)).size(Qt::TextSingleLine, kOverLandLegend);
    return {10, 10, kLegendSample + 8 + text.width() + 12, std::max(text.height(), 12.0) + 8};
}

QRectF MapView::paintLandLegend(QPainter& painter)
{
    const QFont font = scaledFont(this->font(), 0.85, false);
    painter.setFont(font);
    const QSizeF text = QFontMetricsF(font).size(Qt::TextSingleLine, kOverLandLegend);
    const double sample = kLegendSample;
    const QRectF box = landLegendBox();
    painter.setPen(QPen(QColor(0, 0, 0, 60), 1));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(box, 3, 3);
    const double mid = box.center().y();
    const QLineF line(box.left() + 8, mid, box.left() + 8 + sample, mid);
    painter.setPen(QPen(kOverLand, 9.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line);
    painter.setPen(QPen(kGreatCircle, 2.2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line);
    painter.setPen(QPen(Qt::white, 2.2, Qt::DotLine, Qt::FlatCap));
    painter.drawLine(line);
    painter.setPen(kText);
    painter.drawText(QRectF(line.x2() + 8, box.top(), text.width() + 4, box.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, kOverLandLegend);
    return box;
}

QRectF MapView::creditBox(const QFont& font) const
{
    const QSizeF size = QFontMetricsF(font).size(Qt::TextSingleLine, kCredit);
    return {width() - size.width() - 13, height() - size.height() - 8, size.width() + 6,
            size.height()};
}

void MapView::paintCredit(QPainter& painter)
{
    const QFont font = scaledFont(this->font(), 0.85, false);
    painter.setFont(font);
    const QRectF box = creditBox(font);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 180));
    painter.drawRect(box);
    painter.setPen(kText);
    painter.drawText(box, Qt::AlignCenter, kCredit);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomBy(std::pow(kWheelStep, notches), event->position());
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (const auto position = positionAt(event->position()))
            emit addRequested(*position, (modifiers & Qt::ShiftModifier) != 0);
        return;
    }
    m_dragPlace = placeAt(event->position());
    m_dragTurn = m_dragPlace < 0 ? turnAt(event->position()) : -1;
    // A drag keeps the view where it is, whatever the voyage does meanwhile.
    m_follow = false;
    m_dragFrom = event->position();
    setCursor(m_dragPlace >= 0 || m_dragTurn >= 0 ? Qt::SizeAllCursor : Qt::ClosedHandCursor);
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<LatLon> position = positionAt(event->position());
    if (m_dragFrom && m_dragPlace >= 0) {
        if (position)
            emit placeDragged(m_dragPlace, *position, false);
    } else if (m_dragFrom && m_dragTurn >= 0) {
        if (position) {
            m_turnMoved = true;
            emit turnDragged(m_dragTurn, *position, false);
        }
    } else if (m_dragFrom) {
        const QPointF delta = event->position() - *m_dragFrom;
        m_dragFrom = event->position();
        panBy(delta);
    }
    emit hovered(position);
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_dragFrom) {
        if (m_dragPlace >= 0)
            if (const auto position = positionAt(event->position()))
                emit placeDragged(m_dragPlace, *position, true);
        // A turning point only pressed stays one: it becomes a place when it moves.
        if (m_dragTurn >= 0 && (m_turnMoved || *m_dragFrom != event->position()))
            if (const auto position = positionAt(event->position()))
                emit turnDragged(m_dragTurn, *position, true);
        m_dragFrom.reset();
        m_dragPlace = -1;
        m_dragTurn = -1;
        m_turnMoved = false;
        unsetCursor();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void MapView::contextMenuEvent(QContextMenuEvent* event)
{
    QPointF at = event->pos();
    // From the keyboard: at the selected place's marker, else at the middle of the map.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        at = QPointF(width() / 2.0, height() / 2.0);
        if (const auto place = placePosition(m_selectedPlace))
            if (const auto p = pixelOf(*place); p && rect().contains(p->toPoint()))
                at = *p;
    }
    emit contextMenuRequested(mapToGlobal(at.toPoint()), placeAt(at), positionAt(at));
    event->accept();
}

int MapView::nearestLeg(QPointF pixel)
{
    const MapWindow w = window();
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    const std::size_t legs = m_route.legs.size();
    for (std::size_t leg = 0; leg < legs; ++leg) {
        for (const MapRun& run : projectLine(m_route.legs[leg])) {
            for (std::size_t i = 0; i + 1 < run.size(); ++i) {
                const MapXY a = toPixel(w, width(), height(), run[i]);
                const MapXY b = toPixel(w, width(), height(), run[i + 1]);
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double length2 = dx * dx + dy * dy;
                const double t =
                    length2 > 0
                        ? std::clamp(((pixel.x() - a.x) * dx + (pixel.y() - a.y) * dy) / length2,
                                     0.0, 1.0)
                        : 0.0;
                const double d = std::hypot(a.x + t * dx - pixel.x(), a.y + t * dy - pixel.y());
                if (d < bestDistance) {
                    bestDistance = d;
                    best = int(leg);
                }
            }
        }
    }
    return best;
}

void MapView::leaveEvent(QEvent* event)
{
    emit hovered(std::nullopt);
    QWidget::leaveEvent(event);
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    const double dx = width() / 8.0, dy = height() / 8.0;
    // Ctrl and an arrow nudge the selected place by ten pixels: the keyboard's drag.
    if ((event->modifiers() & Qt::ControlModifier) && m_selectedPlace >= 0) {
        const QPointF step = event->key() == Qt::Key_Left    ? QPointF(-10, 0)
                             : event->key() == Qt::Key_Right ? QPointF(10, 0)
                             : event->key() == Qt::Key_Up    ? QPointF(0, -10)
                             : event->key() == Qt::Key_Down  ? QPointF(0, 10)
                                                             : QPointF();
        const auto place = placePosition(m_selectedPlace);
        if (!step.isNull() && place) {
            if (const auto p = pixelOf(*place))
                if (const auto moved = positionAt(*p + step))
                    emit placeDragged(m_selectedPlace, *moved, true);
            event->accept();
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        zoomOut();
        break;
    case Qt::Key_Left:
        panBy({dx, 0});
        break;
    case Qt::Key_Right:
        panBy({-dx, 0});
        break;
    case Qt::Key_Up:
        panBy({0, dy});
        break;
    case Qt::Key_Down:
        panBy({0, -dy});
        break;
    case Qt::Key_Home:
    case Qt::Key_0:
        fitVoyage();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace gyrena
