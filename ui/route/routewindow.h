#pragma once

#include "io/plan/voyageview.h"
#include "platform/services.h"
#include "ui/route/seareader.h"

#include <QWidget>

class QAction;
class QCheckBox;
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
class VoyageDocument;
class VoyageEditor;
class PlanExports;
class WaypointModel;

// The route window, a voyage planner: the voyage's places and how each leg is sailed, its
// track on a world map or a great-circle chart that zooms and pans and on which places are
// added, dragged, renamed and removed, every row of its plan (waypoints at the chosen spacing,
// each place a row of its own, with distances to go and ETAs), a summary, and in its menus the
// commands that open and save voyages (GPX), export the waypoints, copy the table, save the
// map, print and export the passage plan, and undo and redo every change to the voyage. The
// first voyage is the main window's route; until the user edits the voyage, every route
// computed there replaces it. The voyage lives in one VoyageDocument, whose undo stack holds
// every change from the list and the map alike; every change is viewed afresh (viewVoyage) and
// shown.
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
    const Voyage& voyage() const;
    VoyageDocument* document() const { return m_document; }
    QUndoStack* undoStack() const;
    MapView* map() const { return m_map; }
    const VoyagePlan& plan() const { return m_view.plan; }
    const VoyageView& view() const { return m_view; }
    const WaypointModel* model() const { return m_model; }
    VoyageEditor* editor() const { return m_editor; }
    // The main window's loaded city list, for picking a place from it (null: none).
    void setCities(const CityTable* cities);
    // Whether the user has changed the places or legs since the voyage was the main window's.
    bool edited() const { return m_edited; }

    // How the table, the print and the PDF show courses (true or magnetic) and times (UTC, zone
    // or local time): what the lists "Courses" and "Times" choose. The view is worked out afresh.
    void setMagneticCourses(bool magnetic);
    void setTimeKeeping(TimeKeeping keeping);

    // An index into the spacing list: every 5, 10, 15, 20 degrees of longitude, every 100,
    // 500, 1000 nautical miles.
    void setSpacing(int index);

    // Whether every leg is checked for land (on by default; off for a flight). The user's
    // choice is kept in the preferences.
    void setLandCheck(bool on);
    bool landCheck() const;
    // Checks the voyage for land at once, reading the land on this thread if it is not read
    // yet (a window reads it on Qt's thread pool and checks the voyage when it is ready).
    // The routes by sea likewise: a voyage with a leg by sea is planned at once.
    void checkLandNow();

    // Routes by sea from `router`, offering `passages` to avoid, in place of the built-in
    // graph's (null: the built-in graph's again): for tests. The router must outlive the window.
    void setSeaRouting(const SeaRouter* router, std::vector<AvoidablePassage> passages);

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
    void buildLayout();
    void buildMenus();
    void replan(); // views the voyage afresh and shows that
    void showView();
    void selectLeg(int leg, int place);
    void showPointer(std::optional<LatLon> position);
    // Editing on the map: a marker dragged, a place added or inserted where the user clicked,
    // a marker's context menu (rename, remove, the next leg's sailing).
    void dragPlace(int place, LatLon position, bool finished);
    void addPlaceOnMap(LatLon position, bool onNearestLeg);
    void renamePlaceOnMap(int place);
    // A turning point of a route by sea edited: its marker dragged, or its name or position
    // changed in the table. It becomes a place of the voyage there.
    void dragTurn(int turn, LatLon position, bool finished);
    void editTurn(int tableRow, const QString& name, LatLon position);
    const VoyageRow* turningRow(int turn) const; // the turn-th turning point's row, or null
    void makeTurnPlace(const VoyageRow& row, const VoyagePlace& place, int gesture = 0);
    // The router of the legs by sea, or null while it is read (or when it cannot be).
    const SeaRouter* seaRouter();
    void mapContextMenu(QPoint global, int place, std::optional<LatLon> position);
    void describeMap(); // the route in words, and what the map shows of it
    // The main window's last route with this voyage's speed, departure and spacing.
    Voyage mainRouteVoyage() const;
    bool writeFile(const QString& path, const QByteArray& bytes, const QString& title);

    Services m_services;
    VoyageDocument* m_document = nullptr;
    Voyage m_mainRoute; // the main window's last route as a voyage
    bool m_edited = false;
    VoyageView m_view;
    bool m_dragging = false; // a marker is being dragged: its moves are one step of Undo
    int m_dragGesture = 0;
    int m_dragTurnPlace = -1;               // the place a dragged turning point became
    const SeaRouter* m_seaRouter = nullptr; // set by setSeaRouting; else the built-in one

    MapView* m_map = nullptr;
    QRadioButton* m_world = nullptr;
    QRadioButton* m_chart = nullptr;
    QTableView* m_table = nullptr;
    WaypointModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QComboBox* m_spacing = nullptr;
    QComboBox* m_courses = nullptr;
    QComboBox* m_times = nullptr;
    QCheckBox* m_checkLand = nullptr;
    bool m_waitForLand = false;
    QToolButton* m_zoomIn = nullptr;
    QToolButton* m_zoomOut = nullptr;
    QToolButton* m_fit = nullptr;
    QLabel* m_pointer = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QAction* m_export = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_saveMap = nullptr;
    VoyageEditor* m_editor = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_useMain = nullptr;
    PlanExports* m_exports = nullptr;
};

} // namespace gyrena
