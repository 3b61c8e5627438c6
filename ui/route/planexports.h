#pragma once

#include "platform/services.h"
#include "ui/route/plandocument.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace gyrena {

// The commands that take the passage plan out of the route window: "Print…" (with a preview
// first), "Export PDF…", "Export RTZ…" and "Export KML…". Each asks the window for what it
// shows at the moment it runs, and writes its file atomically.
class PlanExports : public QObject
{
    Q_OBJECT
public:
    using Snapshot = std::function<PlanDocumentContent()>;

    PlanExports(const Services& services, QWidget* window, Snapshot snapshot);

    // The four commands as actions, made once, in that order, as children of the window (for
    // its File menu); they are enabled by setEnabled.
    QList<QAction*> actions();
    void setEnabled(bool enabled);

    void print();
    void exportPdf();
    void exportRtz();
    void exportKml();

    // Writes the document as PDF to `path` (replaced whole); returns why it failed, or an
    // empty text.
    QString writePdf(const QString& path) const;

private:
    // The plan, or nothing after telling the user there is none.
    std::optional<PlanDocumentContent> content(const QString& title) const;
    void exportFile(const QString& title, const QString& filter,
                    const std::function<QByteArray(const PlanDocumentContent&)>& bytes);

    Services m_services;
    QWidget* m_window;
    Snapshot m_snapshot;
    QList<QAction*> m_actions;
};

} // namespace gyrena
