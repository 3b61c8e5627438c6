#include "ui/find/findplacecommand.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace gyrena {

FindPlaceCommand::FindPlaceCommand(QMenu* menu, QWidget* owner,
                                   FindPlaceWindow::PlaceChosen chosen)
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
        m_window = new FindPlaceWindow(m_chosen, qobject_cast<QWidget*>(parent()));
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (auto* field = m_window->findChild<QLineEdit*>(QStringLiteral("FindField"))) {
        field->setFocus();
        field->selectAll();
    }
}

} // namespace gyrena
