#include "ui/route/plandocument.h"

#include "geo/utctime.h"

#include <QAbstractItemModel>
#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

namespace gyrena {

namespace {

// The document is laid out in the screen's units (96 to the inch), so that the map keeps the
// proportions of its lines, markers and labels as the window shows them; fonts are given in
// those units too, whatever the resolution of the device.
constexpr double kUnitsPerInch = 96.0;
// The map is drawn at this width, the window's usual one, then scaled onto the page.
constexpr int kMapDrawWidth = 720;
constexpr double kMarginMm = 12.7;
const QColor kRule(0x80, 0x80, 0x80);
const QColor kShade(0xf0, 0xf3, 0xf6);
const QColor kText(0x20, 0x20, 0x20);
const QString kDash = QStringLiteral(" \u2013 ");

namespace text {
const QString nauticalMiles = QStringLiteral("%1 nm");
const QString departure = QStringLiteral("departure %1");
const QString arrival = QStringLiteral("arrival %1");
const QString printed = QStringLiteral("Printed %1");
const QString page = QStringLiteral("%1 \u2013 page %2 of %3");
} // namespace text

QFont fontOf(double size, bool bold = false)
{
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setBold(bold);
    return font;
}

// A UTC minute as the window's table writes its ETAs.
QString utcText(std::int64_t utcMinute)
{
    return QString::fromStdString(utcMinuteText(utcMinute));
}

// The table's columns: texts, widths and alignments, fitted to `width` by shrinking the font
// when the natural widths do not fit.
struct Table
{
    QStringList headers;
    std::vector<QStringList> rows;
    // A row's own shade and ink, as the window's table paints it (a row over land); invalid
    // colours for a plain row.
    std::vector<std::pair<QColor, QColor>> marks;
    std::vector<Qt::Alignment> alignment;
    std::vector<double> widths;
    double fontSize = 12;
    double rowHeight = 18;

    Table(const QAbstractItemModel& model, const std::vector<int>& hidden, double width)
    {
        std::vector<int> columns;
        for (int c = 0; c < model.columnCount(); ++c)
            if (std::find(hidden.begin(), hidden.end(), c) == hidden.end())
                columns.push_back(c);
        for (const int c : columns) {
            headers << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const QVariant align = model.data(model.index(0, c), Qt::TextAlignmentRole);
            alignment.push_back(align.isValid()
                                    ? Qt::Alignment(align.toInt()) & Qt::AlignHorizontal_Mask
                                    : Qt::AlignLeft);
        }
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (const int c : columns)
                cells << model.data(model.index(r, c), Qt::DisplayRole).toString();
            rows.push_back(cells);
            marks.emplace_back(model.data(model.index(r, 0), Qt::BackgroundRole).value<QColor>(),
                               model.data(model.index(r, 0), Qt::ForegroundRole).value<QColor>());
        }
        fit(width);
    }

    void fit(double width)
    {
        constexpr double kPadding = 10;
        const auto natural = [&](double size) {
            const QFontMetricsF plain(fontOf(size)), bold(fontOf(size, true));
            std::vector<double> out;
            for (qsizetype c = 0; c < headers.size(); ++c) {
                double w = bold.horizontalAdvance(headers[c]);
                for (const QStringList& row : rows)
                    w = std::max(w, plain.horizontalAdvance(row[c]));
                out.push_back(w + kPadding);
            }
            return out;
        };
        widths = natural(fontSize);
        double total = std::accumulate(widths.begin(), widths.end(), 0.0);
        if (total > width && total > 0) {
            fontSize = std::max(7.0, std::floor(fontSize * width / total));
            widths = natural(fontSize);
            total = std::accumulate(widths.begin(), widths.end(), 0.0);
        }
        // What is left over goes to every column alike; what is still missing is taken alike.
        if (!widths.empty())
            for (double& w : widths)
                w += (width - total) / static_cast<double>(widths.size());
        rowHeight = std::ceil(fontSize * 1.55);
    }

    void paintRow(QPainter& painter, double top, const QStringList& cells, bool header, bool shaded,
                  const std::pair<QColor, QColor>& mark = {}) const
    {
        double x = 0;
        const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
        if (mark.first.isValid())
            painter.fillRect(QRectF(0, top, total, rowHeight), mark.first);
        else if (shaded)
            painter.fillRect(QRectF(0, top, total, rowHeight), kShade);
        painter.setFont(fontOf(fontSize, header));
        painter.setPen(mark.second.isValid() ? mark.second : kText);
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell(x + 5, top, widths[c] - 10, rowHeight);
            const Qt::Alignment align = header ? Qt::AlignHCenter : alignment[c];
            painter.drawText(cell, int(align | Qt::AlignVCenter), cells[qsizetype(c)]);
            x += widths[c];
        }
        if (header) {
            painter.setPen(QPen(kRule, 0.8));
            painter.drawLine(QPointF(0, top + rowHeight), QPointF(total, top + rowHeight));
        }
    }
};

// Draws `text` wrapped into `width` at `top` and returns the height it took.
double paragraph(QPainter& painter, double top, double width, const QString& text,
                 const QFont& font)
{
    if (text.isEmpty())
        return 0;
    painter.setFont(font);
    painter.setPen(kText);
    const QRectF box(0, top, width, 10000);
    const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, text);
    painter.drawText(box, Qt::TextWordWrap, text);
    return used.height();
}

} // namespace

QPageSize::PageSizeId paperFor(const QLocale& locale)
{
    static const QLocale::Territory letter[] = {
        QLocale::UnitedStates, QLocale::Canada,
        QLocale::Mexico,       QLocale::Philippines,
        QLocale::PuertoRico,   QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela,
        QLocale::CostaRica,    QLocale::Guatemala,
        QLocale::Panama,       QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::DominicanRepublic,
    };
    return std::find(std::begin(letter), std::end(letter), locale.territory()) != std::end(letter)
               ? QPageSize::Letter
               : QPageSize::A4;
}

QString planDocumentTitle(const PassagePlan& plan)
{
    QStringList places;
    for (const std::string& name : plan.placeNames())
        places << QString::fromStdString(name);
    return places.isEmpty() ? QString::fromStdString(plan.name) : places.join(kDash);
}

void paintPlanDocument(QPagedPaintDevice& device, const PlanDocumentContent& content,
                       const QLocale& userLocale)
{
    // Figures as the window's summary and table write them: the locale's decimal separator,
    // no grouping.
    QLocale locale = userLocale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QPainter painter(&device);
    if (!painter.isActive())
        return;
    const double scale = device.logicalDpiX() / kUnitsPerInch;
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    const double width = device.width() / scale;
    const double height = device.height() / scale;
    const QString title = planDocumentTitle(content.plan);

    // Title, date and totals, summary.
    double y = paragraph(painter, 0, width, title, fontOf(20, true)) + 4;
    QStringList facts{text::printed.arg(locale.toString(QDate::currentDate(), QLocale::LongFormat)),
                      text::nauticalMiles.arg(locale.toString(content.plan.totalNm, 'f', 1))};
    if (content.plan.departure) {
        facts << text::departure.arg(utcText(*content.plan.departure));
        if (!content.plan.rows.empty() && content.plan.rows.back().eta)
            facts << text::arrival.arg(utcText(*content.plan.rows.back().eta));
    }
    y += paragraph(painter, y, width, facts.join(QStringLiteral(" \u00B7 ")), fontOf(13)) + 6;
    y += paragraph(painter, y, width, content.summary, fontOf(11)) + 8;

    // The map, by the window's own drawing code, as lines.
    const double mapHeight = std::min(width / 2.0, height * 0.42);
    {
        MapView map;
        map.setFont(fontOf(12));
        map.setRoute(content.map);
        map.setProjection(content.projection);
        const double drawScale = width / kMapDrawWidth;
        map.resize(kMapDrawWidth, static_cast<int>(std::lround(mapHeight / drawScale)));
        painter.save();
        painter.translate(0, y);
        painter.scale(drawScale, drawScale);
        map.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.restore();
        // The world map's land runs on beyond its sides, where the window itself ends; a clip
        // would do, but the PDF engine loses the route drawn after the map's own clip.
        const double beyond = 4 * kUnitsPerInch;
        painter.fillRect(QRectF(-beyond, y, beyond, mapHeight), Qt::white);
        painter.fillRect(QRectF(width, y, beyond, mapHeight), Qt::white);
        painter.setPen(QPen(kRule, 0.8));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0, y, width, mapHeight));
    }
    y += mapHeight + 14;

    if (!content.table)
        return;
    const Table table(*content.table, content.hiddenColumns, width);
    const double footer = 24;
    const auto rowsFrom = [&](double top) {
        return std::max(1, static_cast<int>((height - footer - top) / table.rowHeight) - 1);
    };
    const int rows = static_cast<int>(table.rows.size());
    const int firstRows = rowsFrom(y), laterRows = rowsFrom(0);
    const int pages = rows <= firstRows ? 1 : 1 + (rows - firstRows + laterRows - 1) / laterRows;

    int row = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) {
            device.newPage();
            y = 0;
        }
        table.paintRow(painter, y, table.headers, true, false);
        y += table.rowHeight;
        for (int n = page == 1 ? firstRows : laterRows; n > 0 && row < rows; --n, ++row) {
            table.paintRow(painter, y, table.rows[std::size_t(row)], false, row % 2 == 1,
                           table.marks[std::size_t(row)]);
            y += table.rowHeight;
        }
        painter.setFont(fontOf(10));
        painter.setPen(kRule);
        painter.drawText(QRectF(0, height - footer + 8, width, footer - 8),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         text::page.arg(title, locale.toString(page), locale.toString(pages)));
    }
}

QByteArray planDocumentPdf(const PlanDocumentContent& content, const QLocale& locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(paperFor(locale)));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                              QPageLayout::Millimeter);
        writer.setTitle(planDocumentTitle(content.plan));
        writer.setCreator(QStringLiteral("Gyrena"));
        paintPlanDocument(writer, content, locale);
    }
    return bytes;
}

} // namespace gyrena
