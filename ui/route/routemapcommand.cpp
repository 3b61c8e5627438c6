#include "ui/route/routemapcommand.h"

#include "ui/route/routewindow.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

namespace gyrena {

RouteMapCommand::RouteMapCommand(QMenu* menu, const Services& services, QWidget* owner)
    : QObject(owner), m_services(services)
{
    m_action = new QAction(QStringLiteral("Route Map"), owner);
    m_action->setObjectName(QStringLiteral("MRouteMap"));
    m_action->setEnabled(false);
    menu->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &RouteMapCommand::show);
    owner->installEventFilter(this);
}

bool RouteMapCommand::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the main window ends the program: the route window must not keep it running with
    // no main window to compute routes in.
    if (event->type() == QEvent::Close && watched == parent() && m_window)
        m_window->close();
    return QObject::eventFilter(watched, event);
}

RouteMapCommand::~RouteMapCommand()
{
    // The window has no owner, so that the main window stays usable beside it; it goes with
    // the main window at the latest.
    delete m_window.data();
}

RouteWindow* RouteMapCommand::window() const
{
    return m_window.data();
}

void RouteMapCommand::routeComputed(const LocationState& location, const QString& startName,
                                    const QString& endName)
{
    m_start = startPosition(location);
    m_end = endPosition(location);
    m_startName = startName;
    m_endName = endName;
    m_action->setEnabled(true);
    if (m_window)
        m_window->setRoute(m_start, m_end, m_startName, m_endName);
}

void RouteMapCommand::makeWindow()
{
    if (m_window)
        return;
    m_window = new RouteWindow(m_services, nullptr);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setCities(m_cities);
    if (m_action->isEnabled())
        m_window->setRoute(m_start, m_end, m_startName, m_endName);
}

void RouteMapCommand::citiesLoaded(const CityTable* cities)
{
    m_cities = cities;
    if (m_window)
        m_window->setCities(cities);
}

void RouteMapCommand::openVoyage(const QString& path)
{
    const bool had = m_window;
    makeWindow();
    if (!m_window->openVoyageFile(path)) {
        if (!had)
            delete m_window.data();
        return;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RouteMapCommand::show()
{
    if (!m_action->isEnabled())
        return;
    makeWindow();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace gyrena
