#pragma once

#include "geo/mapprojection.h"
#include "geo/maproute.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace gyrena {

class Coastlines;

// The route on a world map (equirectangular, centred on the route's middle longitude) or on a
// great-circle chart (gnomonic, centred on the route's midpoint): pale sea, light land from
// Natural Earth's 1:50m coastlines, a graticule every 30 degrees, the route on top, and the
// stretches of the track over land as a warning band, with a legend.
class MapView : public QWidget
{
    Q_OBJECT
public:
    enum class Projection { World, Chart };

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    void setRoute(const MapRoute& route);
    const MapRoute& route() const { return m_route; }
    void setProjection(Projection projection);
    Projection projection() const { return m_projection; }

    // The coastlines of the process, read from the asset on the first call only; null when the
    // asset could not be read (the map then shows sea and graticule alone).
    static const Coastlines* coastlines();
    // Whether coastlines() has been called yet in this process: start-up must not pay for it.
    static bool coastlinesRead();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Frame; // where the projection's plane lies in the widget
    void paintWorld(QPainter& painter);
    void paintChart(QPainter& painter);
    void paintRoute(QPainter& painter, const std::vector<MapRun>& great,
                    const std::vector<MapRun>& rhumb, const std::vector<MapRun>& overLand,
                    const std::function<std::optional<QPointF>(LatLon)>& place,
                    const QTransform& toWidget);
    void paintCredit(QPainter& painter);
    void paintLandLegend(QPainter& painter); // says what the warning band over land means
    // A painter on a fresh background image when the one kept does not fit this size, density,
    // projection and plane transform (`toWidget`, keyed with the centre); else null.
    std::unique_ptr<QPainter> staleBackground(const QTransform& toWidget);
    // Where sea, land and graticule go: into that kept image when `target` paints pixels, or
    // straight onto `target` when it is a vector device (a map saved as SVG keeps them as lines
    // rather than as one picture). Null when the kept image is up to date.
    class Background;
    Background background(QPainter& target, const QTransform& toWidget);
    // Shows the kept image unless the background went straight onto `target`.
    void showBackground(QPainter& target) const;
    // The land on the chart of the current centre, one outline per fill group, cached.
    const std::vector<QPainterPath>& chartLand();
    // The land of the world map centred on centreLon, in widget pixels, one outline per fill
    // group, cached for one size and pixel density.
    const std::vector<QPainterPath>& worldLand(double centreLon, const QRectF& shown,
                                               const QTransform& toWidget, double ratio);

    MapRoute m_route;
    Projection m_projection = Projection::World;
    LatLon m_chartCentre;
    std::vector<QPainterPath> m_chartLand;
    QPainterPath m_chartGraticule;
    bool m_chartCached = false;
    std::vector<QPainterPath> m_worldLand;
    QRectF m_worldShown;
    double m_worldCentre = 0;
    double m_worldRatio = 1;
    bool m_worldCached = false;
    QImage m_background;
    QTransform m_backgroundTransform;
    Projection m_backgroundProjection = Projection::World;
};

} // namespace gyrena
