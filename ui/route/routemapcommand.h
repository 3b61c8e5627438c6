#pragma once

#include "geo/location.h"
#include "geo/routeplan.h"
#include "platform/services.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QEvent;
class QMenu;
class QWidget;

namespace gyrena {

class CityTable;
class RouteWindow;

// Options > "Route Map": the menu item and the one route window it opens. The item is enabled
// once a route has been computed; every route computed after that reaches an open window.
class RouteMapCommand : public QObject
{
    Q_OBJECT
public:
    // Adds the item at the end of `menu`; `owner` (the main window) owns this command.
    RouteMapCommand(QMenu* menu, const Services& services, QWidget* owner);
    ~RouteMapCommand() override;

    // After a successful computation: the route of `location` under the two names. One the
    // planner cannot plan (a latitude beyond 90 degrees) is shown with the reason, never
    // the route before it.
    void routeComputed(const LocationState& location, const QString& startName,
                       const QString& endName);
    void show(); // opens the window or raises the open one
    // Opens the voyage file at `path` in the route window (made for it if need be), as Open
    // Voyage does; a file that cannot be read is told and opens no window.
    void openVoyage(const QString& path);
    // The city list the main window has loaded, offered by the route window's "City list"; it
    // must stay in place while this command lives or until the next call.
    void citiesLoaded(const CityTable* cities);

    QAction* action() const { return m_action; }
    RouteWindow* window() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeWindow();

    Services m_services;
    QAction* m_action = nullptr;
    QPointer<RouteWindow> m_window;
    const CityTable* m_cities = nullptr;
    LatLon m_start;
    LatLon m_end;
    QString m_startName;
    QString m_endName;
};

} // namespace gyrena
