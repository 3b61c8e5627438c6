#include "ui/find/findplacecommand.h"

#include <QAction>
#include <QMenu>

namespace gyrena {

FindPlaceCommand::FindPlaceCommand(QMenu* menu, QWidget* owner, PlaceChosen chosen)
    : QObject(owner), m_chosen(std::move(chosen))
{
    m_action = new QAction(QStringLiteral("Find Place…"), owner);
    m_action->setObjectName(QStringLiteral("MFindPlace"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    menu->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &FindPlaceCommand::show);
}

void FindPlaceCommand::show()
{
    if (!m_window) {
        // Owned by the main window, so it never outlives it; not modal, so both stay usable.
        const auto setAs = [this](RouteEnd end) {
            return [chosen = m_chosen, end](const LocationTexts& place, LatLon) {
                chosen(end, place);
            };
        };
        m_window =
            new FindPlaceWindow({{QStringLiteral("Set as Start"), QStringLiteral("FindSetStart"),
                                  QStringLiteral("%1 is the start now."), setAs(RouteEnd::Start)},
                                 {QStringLiteral("Set as End"), QStringLiteral("FindSetEnd"),
                                  QStringLiteral("%1 is the end now."), setAs(RouteEnd::End)}},
                                qobject_cast<QWidget*>(parent()));
    }
    m_window->present();
}

} // namespace gyrena
