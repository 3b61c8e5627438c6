#pragma once

#include "geo/routeplan.h"
#include "geo/voyage.h"
#include "platform/services.h"

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;
class QUndoStack;

namespace gyrena {

class CityTable;
class MapView;
class VoyageEditor;
class PlanExports;
class WaypointModel;

// The route window, a voyage planner: the voyage's places and how each leg is sailed, its
// track on a world map or a great-circle chart that zooms and pans, every row of its plan
// (waypoints at the chosen spacing, each place a row of its own, with distances to go and ETAs),
// a summary, and in its menus the commands that open and save voyages (GPX), export the
// waypoints, copy the table, save the map, print and export the passage plan, and undo and redo
// every change to the voyage. The first voyage is the main window's route; until the user edits
// the voyage, every route computed there replaces it. Every change re-plans at once.
class RouteWindow : public QWidget
{
    Q_OBJECT
public:
    explicit RouteWindow(const Services& services, QWidget* parent = nullptr);
    ~RouteWindow() override;

    // The main window's route from `start` to `end` (signed degrees) under the two location
    // names: it becomes the voyage unless the user has edited the voyage since.
    void setRoute(LatLon start, LatLon end, const QString& startName, const QString& endName);
    // Shows `voyage` as if the user had opened it.
    void setVoyage(const Voyage& voyage);
    const Voyage& voyage() const { return m_voyage; }
    // Makes `after` the voyage, as one step that Undo takes back; `what` names it in the Edit
    // menu ("Undo Move Place"). Changes of the same `mergeKey` (>= 0) in a row are one step,
    // as the moves of one drag are.
    void changeVoyage(const Voyage& after, const QString& what, int mergeKey = -1);
    QUndoStack* undoStack() const { return m_undo; }
    MapView* map() const { return m_map; }
    const VoyagePlan& plan() const { return m_plan; }
    const WaypointModel* model() const { return m_model; }
    VoyageEditor* editor() const { return m_editor; }
    // The main window's loaded city list, for picking a place from it (null: none).
    void setCities(const CityTable* cities);
    // Whether the user has changed the places or legs since the voyage was the main window's.
    bool edited() const { return m_edited; }

    // An index into the spacing list: every 5, 10, 15, 20 degrees of longitude, every 100,
    // 500, 1000 nautical miles.
    void setSpacing(int index);

    // The commands of the buttons.
    void openVoyage();                        // "Open Voyage…"
    bool openVoyageFile(const QString& path); // what Open Voyage does after its dialog
    void saveVoyage();                        // "Save Voyage…"
    void useMainWindowRoute();                // "Use Main Window Route"
    void exportGpx();                         // File > "Export GPX…"
    void copyTable();                         // Edit > "Copy"
    void saveMapAs();                         // File > "Save Map As…"
    // Print…, Export PDF…, Export RTZ…, Export KML…
    PlanExports* exports() const { return m_exports; }

private:
    class Change;
    void buildLayout();
    void buildMenus();
    void replan();
    void voyageEdited(bool placesOrLegs);
    // Shows `voyage` without recording a step: what Undo and Redo do.
    void showVoyage(const Voyage& voyage);
    void selectLeg(int leg, int place);
    void showPointer(std::optional<LatLon> position);
    // Editing on the map: a marker dragged, a place added or inserted where the user clicked,
    // a marker's context menu (rename, remove, the next leg's sailing).
    void dragPlace(int place, LatLon position, bool finished);
    void addPlaceOnMap(LatLon position, bool onNearestLeg);
    void renamePlaceOnMap(int place);
    void mapContextMenu(QPoint global, int place, std::optional<LatLon> position);
    void describeMap();
    bool writeFile(const QString& path, const QByteArray& bytes, const QString& title);

    Services m_services;
    Voyage m_voyage;    // the voyage shown, its spacing included
    Voyage m_mainRoute; // the main window's last route as a voyage
    bool m_edited = false;
    PlanOptions m_options;
    VoyagePlan m_plan;
    RoutePlan m_routePlan;    // the great circle of a voyage of two places, for its summary
    QString m_mapDescription; // the route in words
    bool m_dragging = false;  // a marker is being dragged: its moves are one step of Undo
    int m_dragSerial = 0;

    MapView* m_map = nullptr;
    QRadioButton* m_world = nullptr;
    QRadioButton* m_chart = nullptr;
    QTableView* m_table = nullptr;
    WaypointModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QComboBox* m_spacing = nullptr;
    QToolButton* m_zoomIn = nullptr;
    QToolButton* m_zoomOut = nullptr;
    QToolButton* m_fit = nullptr;
    QLabel* m_pointer = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QAction* m_export = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_saveMap = nullptr;
    QUndoStack* m_undo = nullptr;
    VoyageEditor* m_editor = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_useMain = nullptr;
    PlanExports* m_exports = nullptr;
};

} // namespace gyrena
