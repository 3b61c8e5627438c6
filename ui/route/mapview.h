#pragma once

#include "geo/chartview.h"
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

// The route on a world map (equirectangular, centred on the voyage's own span of longitude) or
// on a great-circle chart (gnomonic, centred on the selected leg): pale sea, light land
// (Natural Earth's 1:50m coast, 1:10m zoomed in), a labelled graticule whose spacing follows
// the zoom, a scale bar in nautical miles, the route on top with the places' names placed so
// that none covers another or a marker, and the stretches of the track over land as a warning
// band, with a legend. A route opens fitted to the view; the wheel, the + and
// - keys and zoomIn()/zoomOut() zoom, dragging and the arrow keys pan, fitVoyage() fits again.
class MapView : public QWidget
{
    Q_OBJECT
public:
    enum class Projection { World, Chart };

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Shows `route`. The view stays where the user put it; while the user has not zoomed or
    // panned since the last fit, it fits the new route.
    void setRoute(const MapRoute& route);
    const MapRoute& route() const { return m_route; }
    void setProjection(Projection projection);
    Projection projection() const { return m_projection; }
    // The leg the great-circle chart is centred on (0 = the first; clamped to the legs).
    void setSelectedLeg(int leg);
    int selectedLeg() const { return m_selectedLeg; }
    // The place marked as selected (-1: none), where distances under the pointer are measured
    // from.
    void setSelectedPlace(int place);

    // The view: fitted to the whole voyage (the world map) or to the selected leg (the chart),
    // zoomed about the centre or a pixel, panned by pixels.
    void fitVoyage();
    void zoomIn();
    void zoomOut();
    void zoomBy(double factor, QPointF about);
    void panBy(QPointF pixels);
    // Whether the view still follows the voyage: no zoom or pan since the last fit.
    bool followsVoyage() const { return m_follow; }
    // The view's window onto the current projection's plane, and the world map's centre, at
    // the widget's size (fitted first when it is due).
    MapWindow window();
    double worldCentreLongitude();
    // Nautical miles per pixel at the view's centre.
    double nauticalMilesPerPixel();
    // Whether the coast is drawn from the detailed (1:10m) land at this zoom.
    bool detailedCoast();

    // Where a pixel of the widget lies on the Earth (nothing off the map), and back.
    std::optional<LatLon> positionAt(QPointF pixel);
    std::optional<QPointF> pixelOf(LatLon position);
    // The place whose marker is under the pixel (0 = the start, then the stops, then the end),
    // or -1.
    int placeAt(QPointF pixel);
    // The turning point of a route by sea whose marker is under the pixel (an index into
    // route().turns), or -1.
    int turnAt(QPointF pixel);
    // The leg whose track passes nearest to the pixel (0 = the first), or -1 without legs.
    int nearestLeg(QPointF pixel);

    // The coastlines of the process, read from the asset on the first call only; null when the
    // asset could not be read (the map then shows sea and graticule alone).
    static const Coastlines* coastlines();
    // The detailed coast (1:10m) for close views, read from its asset on its first use; null
    // when it could not be read, and the map keeps the 1:50m coast.
    static const Coastlines* detailedCoastlines();
    // Whether coastlines() has been called yet in this process: start-up must not pay for it.
    static bool coastlinesRead();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The position under the pointer, or none when it left the map.
    void hovered(std::optional<gyrena::LatLon> position);
    // After a zoom, a pan, a fit or a resize.
    void viewChanged();
    // Editing on the map. A place's marker dragged to `position` (`finished` on the release),
    // or nudged with Ctrl and an arrow key (finished at once).
    void placeDragged(int place, gyrena::LatLon position, bool finished);
    // A turning point's marker dragged to `position` (`finished` on the release): the window
    // makes it a place there.
    void turnDragged(int turn, gyrena::LatLon position, bool finished);
    // A click with Ctrl: a place added at the end; with Shift: inserted on the nearest leg.
    void addRequested(gyrena::LatLon position, bool onNearestLeg);
    // The context menu asked for at `global` (screen pixels), over `place` (-1: none) and the
    // map's `position` (none: off the map), by the right button or the menu key.
    void contextMenuRequested(QPoint global, int place, std::optional<gyrena::LatLon> position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Land; // a coast projected onto a plane, with each ring's bounds
    class Background;

    void fitIfDue();
    const MapLimits& limits() const;
    QTransform planeToWidget();
    std::optional<MapXY> project(LatLon p) const;
    std::vector<MapRun> projectLine(const std::vector<LatLon>& line) const;
    const std::vector<LatLon>& chartLeg() const;
    std::optional<LatLon> placePosition(int place) const; // 0 = the start, as placeAt counts

    void paintBackground(QPainter& painter, const QTransform& toWidget);
    void paintLand(QPainter& painter, const QTransform& toWidget);
    void paintGraticule(QPainter& painter, const QTransform& toWidget);
    void paintRoute(QPainter& painter, const QTransform& toWidget);
    void paintScaleBar(QPainter& painter, QRectF& box);
    QRectF creditBox(const QFont& font) const;
    void paintCredit(QPainter& painter);
    // Says what the band over land means; the box it took.
    QRectF paintLandLegend(QPainter& painter);
    QRectF landLegendBox() const;
    // A painter on a fresh background image when the one kept does not fit this size, density
    // and view; else null. Straight onto `target` when it is a vector device (a map saved as
    // SVG or printed keeps land and graticule as lines).
    Background background(QPainter& target, const QTransform& toWidget);
    void showBackground(QPainter& target) const;
    const Land& chartLand(bool detailed);

    MapRoute m_route;
    Projection m_projection = Projection::World;
    int m_selectedLeg = 0;
    int m_selectedPlace = -1;
    bool m_follow = true;
    bool m_fitDue = true;
    double m_worldCentre = 0;
    MapWindow m_worldWindow;
    LatLon m_chartCentre;
    MapWindow m_chartWindow;
    MapLimits m_worldLimits;
    MapLimits m_chartLimits;

    std::unique_ptr<Land> m_chartLand;
    QImage m_background;
    QTransform m_backgroundTransform;
    Projection m_backgroundProjection = Projection::World;
    double m_backgroundKey = 0;

    std::optional<QPointF> m_dragFrom; // where a pan by dragging last was
    int m_dragPlace = -1;              // the place whose marker is being dragged
    int m_dragTurn = -1;               // the turning point whose marker is being dragged
    bool m_turnMoved = false;          // ... and has moved
};

} // namespace gyrena

Q_DECLARE_METATYPE(std::optional<gyrena::LatLon>)
