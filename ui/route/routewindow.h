#pragma once

#include "io/plan/voyageview.h"
#include "platform/services.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace gyrena {

class CityTable;
class MapView;
class VoyageDocument;
class VoyageEditor;
class PlanExports;
class WaypointModel;

// The route window, a voyage planner: the voyage's places and how each leg is sailed, its
// track on a world map or a great-circle chart, every row of its plan (waypoints at the chosen
// spacing, each place a row of its own, with distances to go and ETAs), a summary, and the
// commands that open and save voyages (GPX), export the waypoints, copy the table and save the
// map. The first voyage is the main window's route; until the user edits the voyage, every
// route computed there replaces it. The voyage lives in one VoyageDocument; every change to it
// is viewed afresh (viewVoyage) and shown.
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
    void checkLandNow();

    // The commands of the buttons.
    void openVoyage();                        // "Open Voyage…"
    bool openVoyageFile(const QString& path); // what Open Voyage does after its dialog
    void saveVoyage();                        // "Save Voyage…"
    void useMainWindowRoute();                // "Use Main Window Route"
    void exportGpx();                         // "Export GPX…"
    void copyTable();                         // "Copy"
    void saveMapAs();                         // "Save Map As…"
    // Print…, Export PDF…, Export RTZ…, Export KML…
    PlanExports* exports() const { return m_exports; }

private:
    void buildLayout();
    void replan(); // views the voyage afresh and shows that
    void showView();
    // The main window's last route with this voyage's speed, departure and spacing.
    Voyage mainRouteVoyage() const;
    bool writeFile(const QString& path, const QByteArray& bytes, const QString& title);

    Services m_services;
    VoyageDocument* m_document = nullptr;
    Voyage m_mainRoute; // the main window's last route as a voyage
    bool m_edited = false;
    VoyageView m_view;

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
    QPushButton* m_export = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_saveMap = nullptr;
    VoyageEditor* m_editor = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_useMain = nullptr;
    PlanExports* m_exports = nullptr;
};

} // namespace gyrena
