#pragma once

#include "io/plan/passageplan.h"
#include "ui/route/mapview.h"

#include <QLocale>
#include <QPageSize>
#include <QString>

#include <vector>

class QAbstractItemModel;
class QPagedPaintDevice;

namespace gyrena {

// What a printed passage plan shows: the plan's places and totals, the map as the window draws
// it, the window's summary and its waypoint table (every column, as shown).
struct PlanDocumentContent
{
    PassagePlan plan;
    MapRoute map;
    MapView::Projection projection = MapView::Projection::World;
    QString summary;
    const QAbstractItemModel* table = nullptr;
    std::vector<int> hiddenColumns; // the table's columns the window does not show
};

// The paper of the user's territory: Letter where it is the custom (the United States, Canada,
// Mexico, the Philippines and much of Central and South America), A4 everywhere else.
QPageSize::PageSizeId paperFor(const QLocale& locale);

// The document's title: the places joined by dashes, "Lisbon – Funchal – Bridgetown".
QString planDocumentTitle(const PassagePlan& plan);

// Draws the passage plan on `device` (a PDF writer or a printer, any page size and resolution):
// on the first page the title, the date and total, the summary and the map (as lines, by the
// map's own code), then the waypoint table with its header on top of every page, and a page
// number at the foot of each. Numbers and dates follow `locale`, as the window shows them.
void paintPlanDocument(QPagedPaintDevice& device, const PlanDocumentContent& content,
                       const QLocale& locale = QLocale());

// The whole document as PDF bytes on paper for `locale`, with the title in its metadata.
QByteArray planDocumentPdf(const PlanDocumentContent& content, const QLocale& locale = QLocale());

} // namespace gyrena
