#include "ui/route/waypointmodel.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/utctime.h"

#include <QLocale>

namespace gyrena {

namespace {

const char* const kHeaders[WaypointModel::ColumnCount] = {
    "No.",      "Place",           "Latitude",   "Longitude", "Course",
    "Leg (nm)", "From start (nm)", "To go (nm)", "ETA (UTC)",
};

// What the distance columns count: the distance steered, rhumb leg by rhumb leg, so that the
// column adds up; the summary gives the great circle beside it.
const char* const kToolTips[WaypointModel::ColumnCount] = {
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "The rhumb-line course to steer to the next row",
    "The distance to the next row on that course (the rhumb line)",
    "The distance steered from the first row: the row before's, plus its leg",
    "The distance steered from this row to the last: the legs still to go",
    "The time of arrival at this row, UTC, at the leg's speed",
};

} // namespace

WaypointModel::WaypointModel(QObject* parent) : QAbstractTableModel(parent) {}

void WaypointModel::setPlan(const VoyagePlan& plan)
{
    beginResetModel();
    m_rows = plan.rows;
    endResetModel();
}

int WaypointModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int WaypointModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString WaypointModel::cellText(int row, int column) const
{
    const VoyageRow& waypoint = m_rows[static_cast<std::size_t>(row)];
    // The user's decimal separator, as in the main window's boxes; never digit grouping.
    const std::string separator = QLocale().decimalPoint().toStdString();
    const auto number = [&](double value) {
        return QString::fromStdString(formatDecimals(value, 1, separator));
    };
    switch (column) {
    case Number:
        return QString::number(row + 1);
    case Latitude:
        return QString::fromStdString(latitudeText(waypoint.position.latitude, separator));
    case Longitude:
        return QString::fromStdString(longitudeText(waypoint.position.longitude, separator));
    case Place:
        return QString::fromStdString(waypoint.name);
    case Course:
        return waypoint.courseToNext
                   ? QString::fromStdString(formatCourse(*waypoint.courseToNext, 1, separator)) +
                         QChar(u'\u00B0')
                   : QString();
    case Leg:
        return waypoint.legNm ? number(*waypoint.legNm) : QString();
    case FromStart:
        return number(waypoint.fromStartNm);
    case ToGo:
        return number(waypoint.toGoNm);
    case Eta:
        // ISO 8601 in every locale: a time in UTC reads the same everywhere.
        return waypoint.eta ? QString::fromStdString(utcMinuteText(*waypoint.eta)) : QString();
    default:
        return {};
    }
}

QVariant WaypointModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((index.column() == Place ? Qt::AlignLeft : Qt::AlignRight) |
                                   Qt::AlignVCenter);
    return {};
}

QVariant WaypointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::ToolTipRole && kToolTips[section])
        return QString::fromLatin1(kToolTips[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString WaypointModel::tabSeparated() const
{
    QStringList lines;
    QStringList cells;
    for (const char* header : kHeaders)
        cells << QString::fromLatin1(header);
    lines << cells.join(QLatin1Char('\t'));
    for (int row = 0; row < rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < ColumnCount; ++column)
            cells << cellText(row, column);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace gyrena
