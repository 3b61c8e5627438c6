#include "ui/route/mapview.h"

#include "io/earth/coastlines.h"

#include <QDebug>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QResource>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <variant>

namespace gyrena {

namespace {

// Each colour once: the map's palette.
const QColor kSea(0xdd, 0xea, 0xf3);
const QColor kLand(0xf3, 0xf0, 0xe4);
const QColor kCoast(0xa9, 0xa3, 0x8e);
const QColor kGraticule(0xb4, 0xc6, 0xd4);
const QColor kOutside(0xf0, 0xf0, 0xf0);
const QColor kGreatCircle(0xb0, 0x1c, 0x2e);
const QColor kRhumbLine(0x1f, 0x4e, 0x9c);
const QColor kStart(0x1b, 0x7a, 0x3a);
const QColor kEnd(0xb0, 0x1c, 0x2e);
const QColor kStop(0xc0, 0x7a, 0x10);
const QColor kText(0x20, 0x20, 0x20);
// The track over land: a broad amber band under a dashed line of the track's own colour, so
// that it stands out from the route on land and sea alike and is not told by colour alone.
const QColor kOverLand(0xff, 0x9e, 0x1b, 0xd0);
const QString kOverLandLegend = QStringLiteral("Track over land");

constexpr double kGraticuleStep = 30;
constexpr double kChartLimit = 80; // degrees from the chart's centre that it still shows
const QString kCredit = QStringLiteral("Land: Natural Earth");
const QString kAssetPath = QStringLiteral(":/gyrena/coastlines/land-50m.bin");

bool s_coastlinesRead = false;

// The coastlines' rings in fill groups (see Coastlines::fillGroups), and each ring's westmost
// and eastmost longitude, worked out once.
struct LandFills
{
    std::vector<std::vector<std::size_t>> groups;
    std::vector<std::pair<double, double>> lonRange;
};

const LandFills& landFills(const Coastlines& land)
{
    static const LandFills index = [&land] {
        LandFills out{land.fillGroups(), {}};
        out.lonRange.reserve(land.ringCount());
        for (std::size_t r = 0; r < land.ringCount(); ++r) {
            const std::span<const LatLon> points = land.ring(r);
            const auto [west, east] = std::minmax_element(
                points.begin(), points.end(),
                [](const LatLon& a, const LatLon& b) { return a.longitude < b.longitude; });
            out.lonRange.emplace_back(west->longitude, east->longitude);
        }
        return out;
    }();
    return index;
}

QPolygonF toPolygon(const MapRun& run, const QTransform& toWidget)
{
    QPolygonF out;
    out.reserve(qsizetype(run.size()));
    for (const MapXY& p : run)
        out.append(toWidget.map(QPointF(p.x, p.y)));
    return out;
}

// Plane units (y north) onto the rectangle `plane` shown in the widget rectangle `target`.
QTransform planeToWidget(const QRectF& plane, const QRectF& target)
{
    const double scale = target.width() / plane.width();
    QTransform t;
    t.translate(target.left(), target.top());
    t.scale(scale, -scale);
    t.translate(-plane.left(), -plane.bottom());
    return t;
}

// The largest rectangle of the plane's aspect centred in `area`.
QRectF fitted(const QRectF& area, double aspect)
{
    double w = area.width(), h = area.height();
    if (w > h * aspect)
        w = h * aspect;
    else
        h = w / aspect;
    return {area.center().x() - w / 2, area.center().y() - h / 2, w, h};
}

void drawRuns(QPainter& painter, const std::vector<MapRun>& runs, const QTransform& toWidget)
{
    for (const MapRun& run : runs)
        painter.drawPolyline(toPolygon(run, toWidget));
}

} // namespace

MapView::MapView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MapView::~MapView() = default;

const Coastlines* MapView::coastlines()
{
    static const std::optional<Coastlines> land = []() -> std::optional<Coastlines> {
        s_coastlinesRead = true;
        const QResource asset(kAssetPath);
        // The asset is stored uncompressed, so it is read in place, without a copy.
        const QByteArray bytes =
            asset.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(asset.data()),
                                          qsizetype(asset.size()))
                : asset.uncompressedData();
        auto parsed =
            readCoastlines(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (auto* error = std::get_if<CoastlineError>(&parsed)) {
            qWarning("The coastlines cannot be read: %s (byte %zu)", error->what.c_str(),
                     error->offset);
            return std::nullopt;
        }
        return std::move(std::get<Coastlines>(parsed));
    }();
    return land ? &*land : nullptr;
}

bool MapView::coastlinesRead()
{
    return s_coastlinesRead;
}

void MapView::setRoute(const MapRoute& route)
{
    m_route = route;
    const LatLon centre = greatCircleMidpoint(route.start, route.end);
    if (!m_chartCached || centre.latitude != m_chartCentre.latitude ||
        centre.longitude != m_chartCentre.longitude) {
        m_chartCentre = centre;
        m_chartCached = false;
    }
    update();
}

void MapView::setProjection(Projection projection)
{
    m_projection = projection;
    update();
}

QSize MapView::sizeHint() const
{
    return {720, 400};
}

QSize MapView::minimumSizeHint() const
{
    return {240, 140};
}

namespace {

bool paintsPixels(QPainter& painter)
{
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
}

} // namespace

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

private:
    std::unique_ptr<QPainter> m_image;
    QPainter* m_direct = nullptr;
};

MapView::Background MapView::background(QPainter& target, const QTransform& toWidget)
{
    if (paintsPixels(target))
        return Background(staleBackground(toWidget));
    return Background(target, rect(), kOutside);
}

void MapView::showBackground(QPainter& target) const
{
    if (paintsPixels(target))
        target.drawImage(QPointF(0, 0), m_background);
}

std::unique_ptr<QPainter> MapView::staleBackground(const QTransform& toWidget)
{
    const double ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (!m_background.isNull() && m_background.size() == pixels &&
        m_background.devicePixelRatio() == ratio && m_backgroundTransform == toWidget &&
        m_backgroundProjection == m_projection)
        return nullptr;
    // Sea, land and graticule change only with the size, the projection and its centre: a
    // repaint for anything else draws them from this image, at the screen's own pixel density.
    m_background = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_background.setDevicePixelRatio(ratio);
    m_backgroundTransform = toWidget;
    m_backgroundProjection = m_projection;
    auto painter = std::make_unique<QPainter>(&m_background);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillRect(rect(), kOutside);
    return painter;
}

void MapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_projection == Projection::World)
        paintWorld(painter);
    else
        paintChart(painter);
    paintCredit(painter);
}

void MapView::paintWorld(QPainter& painter)
{
    const Equirectangular map(middleLongitude(m_route.start, m_route.end));
    const QRectF plane(-180, -90, 360, 180);
    const QRectF shown = fitted(QRectF(rect()).adjusted(4, 4, -4, -4), 2.0);
    const QTransform toWidget = planeToWidget(plane, shown);

    QTransform keyed = toWidget;
    keyed.translate(map.centreLon(), 0); // the background depends on the centre as well
    if (Background bg = background(painter, keyed)) {
        bg->fillRect(shown, kSea);
        bg->setPen(Qt::NoPen);
        bg->setBrush(kLand);
        for (const QPainterPath& land :
             worldLand(map.centreLon(), shown, toWidget, devicePixelRatioF()))
            bg->drawPath(land);
        // The land beyond the map's edges is covered rather than clipped: a clip costs the fill
        // of so many points more than the two strips.
        bg->fillRect(QRectF(QPointF(0, 0), QPointF(shown.left(), height())), kOutside);
        bg->fillRect(QRectF(QPointF(shown.right(), 0), QPointF(width(), height())), kOutside);
        bg->setClipRect(shown);
        bg->setPen(QPen(kGraticule, 0.8));
        for (double lon = -180; lon < 180; lon += kGraticuleStep) {
            const double x = map.project({0, lon}).x;
            bg->drawLine(toWidget.map(QPointF(x, -90)), toWidget.map(QPointF(x, 90)));
        }
        for (double lat = -90 + kGraticuleStep; lat < 90; lat += kGraticuleStep)
            bg->drawLine(toWidget.map(QPointF(-180, lat)), toWidget.map(QPointF(180, lat)));
    }
    showBackground(painter);

    std::vector<MapRun> overLand;
    for (const std::vector<LatLon>& stretch : m_route.overLand)
        for (MapRun& run : map.projectLine(stretch))
            overLand.push_back(std::move(run));
    paintRoute(
        painter, map.projectLine(m_route.greatCircle), map.projectLine(m_route.rhumbLine), overLand,
        [&map](LatLon p) -> std::optional<QPointF> {
            const MapXY xy = map.project(p);
            return QPointF(xy.x, xy.y);
        },
        toWidget);
}

const std::vector<QPainterPath>& MapView::worldLand(double centreLon, const QRectF& shown,
                                                    const QTransform& toWidget, double ratio)
{
    if (m_worldCached && m_worldShown == shown && m_worldCentre == centreLon &&
        m_worldRatio == ratio)
        return m_worldLand;
    // Built in widget pixels, once per size and centre: a point less than a device pixel or so
    // from the last one kept adds nothing but time to every fill, and the 1:50m land has many
    // of those at world scale. The land is kept in longitudes -180..180, so the map's far side
    // is the same land shifted by a turn. Each fill group is an outline of its own: one outline
    // of the whole world fills several times more slowly than its parts.
    m_worldLand.clear();
    const double step = 1.5 / ratio;
    const double shifts[] = {-centreLon, centreLon > 0 ? 360 - centreLon : -360 - centreLon};
    // The transform only scales and moves: applied by hand, it costs a fraction of map().
    Q_ASSERT(toWidget.type() <= QTransform::TxScale);
    const double sx = toWidget.m11(), sy = toWidget.m22(), dx = toWidget.dx(), dy = toWidget.dy();
    QPolygonF ring;
    if (const Coastlines* land = coastlines()) {
        const LandFills& index = landFills(*land);
        for (const double shift : shifts) {
            for (const std::vector<std::size_t>& group : index.groups) {
                QPainterPath outline;
                outline.setFillRule(Qt::OddEvenFill);
                for (const std::size_t r : group) {
                    if (index.lonRange[r].first + shift > 180 ||
                        index.lonRange[r].second + shift < -180)
                        continue;
                    ring.clear();
                    QPointF last;
                    for (const LatLon& p : land->ring(r)) {
                        const QPointF at(sx * (p.longitude + shift) + dx, sy * p.latitude + dy);
                        if (ring.isEmpty() ||
                            std::abs(at.x() - last.x()) + std::abs(at.y() - last.y()) > step) {
                            ring.append(at);
                            last = at;
                        }
                    }
                    if (ring.size() >= 3) {
                        outline.addPolygon(ring);
                        outline.closeSubpath();
                    }
                }
                if (!outline.isEmpty())
                    m_worldLand.push_back(std::move(outline));
            }
        }
    }
    m_worldShown = shown;
    m_worldCentre = centreLon;
    m_worldRatio = ratio;
    m_worldCached = true;
    return m_worldLand;
}

const std::vector<QPainterPath>& MapView::chartLand()
{
    if (m_chartCached)
        return m_chartLand;
    const Gnomonic chart(m_chartCentre, kChartLimit);
    m_chartLand.clear();
    if (const Coastlines* land = coastlines()) {
        for (const std::vector<std::size_t>& group : landFills(*land).groups) {
            QPainterPath outline;
            outline.setFillRule(Qt::OddEvenFill);
            for (const std::size_t r : group) {
                const MapRun clipped = chart.projectRing(land->ring(r));
                if (clipped.size() < 3)
                    continue;
                outline.addPolygon(toPolygon(clipped, QTransform()));
                outline.closeSubpath();
            }
            if (!outline.isEmpty())
                m_chartLand.push_back(std::move(outline));
        }
    }
    m_chartGraticule = QPainterPath();
    std::vector<LatLon> line;
    for (double lon = -180; lon < 180; lon += kGraticuleStep) {
        line.clear();
        for (double lat = -90; lat <= 90; lat += 2)
            line.push_back({lat, lon});
        for (const MapRun& run : chart.projectLine(line))
            m_chartGraticule.addPolygon(toPolygon(run, QTransform()));
    }
    for (double lat = -90 + kGraticuleStep; lat < 90; lat += kGraticuleStep) {
        line.clear();
        for (double lon = -180; lon <= 180; lon += 2)
            line.push_back({lat, lon});
        for (const MapRun& run : chart.projectLine(line))
            m_chartGraticule.addPolygon(toPolygon(run, QTransform()));
    }
    m_chartCached = true;
    return m_chartLand;
}

void MapView::paintChart(QPainter& painter)
{
    const Gnomonic chart(m_chartCentre, kChartLimit);
    const std::vector<MapRun> great = chart.projectLine(m_route.greatCircle);
    const std::vector<MapRun> rhumb = chart.projectLine(m_route.rhumbLine);

    // The chart shows the whole route with a margin, and never less than about 25 degrees across.
    double x0 = -0.22, x1 = 0.22, y0 = -0.22, y1 = 0.22;
    for (const auto* runs : {&great, &rhumb})
        for (const MapRun& run : *runs)
            for (const MapXY& p : run) {
                x0 = std::min(x0, p.x);
                x1 = std::max(x1, p.x);
                y0 = std::min(y0, p.y);
                y1 = std::max(y1, p.y);
            }
    const double margin = 0.12 * std::max(x1 - x0, y1 - y0);
    const QRectF needed(x0 - margin, y0 - margin, x1 - x0 + 2 * margin, y1 - y0 + 2 * margin);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    // The plane rectangle of the widget's aspect that holds `needed`, centred on it.
    QRectF plane = needed;
    const double aspect = area.width() / std::max(1.0, area.height());
    if (plane.width() < plane.height() * aspect)
        plane.setWidth(plane.height() * aspect);
    else
        plane.setHeight(plane.width() / aspect);
    plane.moveCenter(needed.center());
    const QTransform toWidget = planeToWidget(plane, area);

    const double horizon = std::tan(kChartLimit * std::numbers::pi / 180);
    QTransform keyed = toWidget;
    keyed.translate(m_chartCentre.longitude,
                    m_chartCentre.latitude); // the chart's centre counts as well
    if (Background bg = background(painter, keyed)) {
        bg->setClipRect(area);
        bg->setPen(Qt::NoPen);
        bg->setBrush(kSea);
        bg->drawEllipse(toWidget.map(QPointF(0, 0)), horizon * toWidget.m11(),
                        horizon * toWidget.m11());
        bg->setTransform(toWidget);
        QPen coast(kCoast, 0.8);
        coast.setCosmetic(true);
        bg->setPen(coast);
        bg->setBrush(kLand);
        for (const QPainterPath& land : chartLand())
            bg->drawPath(land);
        QPen grid(kGraticule, 0.8);
        grid.setCosmetic(true);
        bg->setPen(grid);
        bg->setBrush(Qt::NoBrush);
        bg->drawPath(m_chartGraticule);
    }
    showBackground(painter);

    std::vector<MapRun> overLand;
    for (const std::vector<LatLon>& stretch : m_route.overLand)
        for (MapRun& run : chart.projectLine(stretch))
            overLand.push_back(std::move(run));
    paintRoute(
        painter, great, rhumb, overLand,
        [&chart](LatLon p) -> std::optional<QPointF> {
            const std::optional<MapXY> xy = chart.project(p);
            if (!xy)
                return std::nullopt;
            return QPointF(xy->x, xy->y);
        },
        toWidget);
}

void MapView::paintRoute(QPainter& painter, const std::vector<MapRun>& great,
                         const std::vector<MapRun>& rhumb, const std::vector<MapRun>& overLand,
                         const std::function<std::optional<QPointF>(LatLon)>& place,
                         const QTransform& toWidget)
{
    painter.setBrush(Qt::NoBrush);
    QPen dashed(kRhumbLine, 1.6, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin);
    painter.setPen(dashed);
    drawRuns(painter, rhumb, toWidget);
    painter.setPen(QPen(kOverLand, 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawRuns(painter, overLand, toWidget);
    painter.setPen(QPen(kGreatCircle, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawRuns(painter, great, toWidget);
    if (!overLand.empty()) {
        painter.setPen(QPen(Qt::white, 2.2, Qt::DotLine, Qt::FlatCap, Qt::RoundJoin));
        drawRuns(painter, overLand, toWidget);
    }

    const auto at = [&](LatLon p) -> std::optional<QPointF> {
        const std::optional<QPointF> plane = place(p);
        if (!plane)
            return std::nullopt;
        return toWidget.map(*plane);
    };
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(kGreatCircle);
    for (const LatLon& waypoint : m_route.waypoints)
        if (const auto p = at(waypoint))
            painter.drawEllipse(*p, 3.0, 3.0);
    if (m_route.vertex) {
        if (const auto p = at(*m_route.vertex)) {
            // A diamond: the highest latitude of the route.
            painter.setPen(QPen(kText, 1.2));
            painter.setBrush(Qt::white);
            painter.drawPolygon(QPolygonF({*p + QPointF(0, -6), *p + QPointF(5, 0),
                                           *p + QPointF(0, 6), *p + QPointF(-5, 0)}));
        }
    }

    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const auto marker = [&](LatLon where, const QString& name, const QColor& colour) {
        const auto p = at(where);
        if (!p)
            return;
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(colour);
        painter.drawEllipse(*p, 5.5, 5.5);
        // The label beside the marker, turned to the side where it stays in the widget.
        const QSizeF size = metrics.size(Qt::TextSingleLine, name);
        QPointF corner = *p + QPointF(9, -9 - size.height() / 2);
        if (corner.x() + size.width() > width() - 4)
            corner.setX(p->x() - 9 - size.width());
        corner.setY(std::clamp(corner.y(), 2.0, std::max(2.0, height() - size.height() - 2)));
        const QRectF box(corner, size);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRoundedRect(box.adjusted(-3, -1, 3, 1), 3, 3);
        painter.setPen(kText);
        painter.drawText(box, Qt::AlignCenter, name);
    };
    for (const MapPlace& stop : m_route.stops)
        marker(stop.position, QString::fromStdString(stop.name), kStop);
    marker(m_route.start, QString::fromStdString(m_route.startName), kStart);
    marker(m_route.end, QString::fromStdString(m_route.endName), kEnd);
    if (!overLand.empty())
        paintLandLegend(painter);
}

void MapView::paintLandLegend(QPainter& painter)
{
    // Top left, where no marker label is pushed (labels keep to the right of their marker).
    QFont font = painter.font();
    font.setBold(false);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QSizeF text = metrics.size(Qt::TextSingleLine, kOverLandLegend);
    const double sample = 28;
    const QRectF box(10, 10, sample + 8 + text.width() + 12, std::max(text.height(), 12.0) + 8);
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
}

void MapView::paintCredit(QPainter& painter)
{
    QFont font = painter.font();
    font.setBold(false);
    // A printed map gives its font in units of the page rather than in points.
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 0.85);
    else
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * 0.85))));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QSizeF size = metrics.size(Qt::TextSingleLine, kCredit);
    const QRectF box(width() - size.width() - 10, height() - size.height() - 8, size.width(),
                     size.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 180));
    painter.drawRect(box.adjusted(-3, 0, 3, 0));
    painter.setPen(kText);
    painter.drawText(box, Qt::AlignCenter, kCredit);
}

} // namespace gyrena
