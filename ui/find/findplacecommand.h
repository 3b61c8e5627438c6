#pragma once

#include "ui/find/findplacewindow.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace gyrena {

// Options > "Find Place…" (Ctrl+F): the menu item and the one Find Place window it opens.
class FindPlaceCommand : public QObject
{
    Q_OBJECT
public:
    using PlaceChosen = std::function<void(RouteEnd, const LocationTexts&)>;

    // Adds the item at the end of `menu`; `owner` (the main window) owns this command and the
    // window, and is handed every place set as its start or end.
    FindPlaceCommand(QMenu* menu, QWidget* owner, PlaceChosen chosen);

    void show(); // opens the window or raises the open one, its field ready for typing

    QAction* action() const { return m_action; }
    FindPlaceWindow* window() const { return m_window.data(); }

private:
    QAction* m_action = nullptr;
    PlaceChosen m_chosen;
    QPointer<FindPlaceWindow> m_window;
};

} // namespace gyrena
