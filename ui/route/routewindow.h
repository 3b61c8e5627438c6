#pragma once

#include "geo/routeplan.h"
#include "platform/services.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace gyrena {

class MapView;
class PlanExports;
class WaypointModel;

// The route window: the last route computed on a world map or a great-circle chart, its
// waypoints at the chosen spacing, a summary line, and the commands that export the waypoints
// as GPX, copy the table and save the map. It plans the route itself from the two ends, so a
// change of spacing needs nothing from the main window.
class RouteWindow : public QWidget
{
    Q_OBJECT
public:
    explicit RouteWindow(const Services& services, QWidget* parent = nullptr);
    ~RouteWindow() override;

    // Shows the route from `start` to `end` (signed degrees) under the two location names.
    void setRoute(LatLon start, LatLon end, const QString& startName, const QString& endName);
    const RoutePlan& plan() const { return m_plan; }
    const WaypointModel* model() const { return m_model; }

    // An index into the spacing list: every 5, 10, 15, 20 degrees of longitude, every 100,
    // 500, 1000 nautical miles.
    void setSpacing(int index);

    // The commands of the buttons.
    void exportGpx(); // "Export GPX…"
    void copyTable(); // "Copy"
    void saveMapAs(); // "Save Map As…"
    // Print…, Export PDF…, Export RTZ…, Export KML…
    PlanExports* exports() const { return m_exports; }

private:
    void buildLayout();
    void replan();
    bool writeFile(const QString& path, const QByteArray& bytes, const QString& title);

    Services m_services;
    LatLon m_start;
    LatLon m_end;
    QString m_startName;
    QString m_endName;
    PlanOptions m_options;
    RoutePlan m_plan;

    MapView* m_map = nullptr;
    QRadioButton* m_world = nullptr;
    QRadioButton* m_chart = nullptr;
    QTableView* m_table = nullptr;
    WaypointModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QComboBox* m_spacing = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_saveMap = nullptr;
    PlanExports* m_exports = nullptr;
};

} // namespace gyrena
