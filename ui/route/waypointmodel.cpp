#include "ui/route/waypointmodel.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/utctime.h"

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace gyrena {

namespace {

const char* const kHeaders[WaypointModel::ColumnCount] = {
    "No.",   "Place",    "Latitude",        "Longitude",  "Course (T)",
    "Var.",  "Leg (nm)", "From start (nm)", "To go (nm)", "ETA (UTC)",
    "Light", "Sunrise",  "Sunset",          "Land",
};
const char* const kMagneticCourse = "Course (M)";
// The light in the table, short; its tooltip and what a screen reader reads say it in full.
const char* const kShortLight[] = {"Day", "Civil tw.", "Nautical tw.", "Astro. tw.", "Night"};
const char* const kEtaHeaders[] = {"ETA (UTC)", "ETA (zone time)", "ETA (local time)"};
// What each column counts. The distances are steered, rhumb leg by rhumb leg, so that the
// column adds up; the summary gives the great circle beside them.
const char* const kToolTips[WaypointModel::ColumnCount] = {
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "The rhumb-line course to steer to the next row: true, or magnetic (the true course less the "
    "variation), as chosen under Courses",
    "The magnetic variation at the row on the date of its ETA (today's without a departure), "
    "World Magnetic Model 2025",
    "The distance to the next row on that course (the rhumb line)",
    "The distance steered from the first row: the row before's, plus its leg",
    "The distance steered from this row to the last: the legs still to go",
    "The time of arrival at this row at the leg's speed, in UTC, in zone time (ZD, the hours "
    "added to zone time to give UTC, is the nautical zone of the longitude) or in local time (a "
    "place's legal time, zone time at sea), as chosen under Times",
    "The light at the ETA: day, civil, nautical or astronomical twilight, or night",
    "Sunrise on the ETA's UTC day at the row (the Sun's centre 50' below the horizon)",
    "Sunset on the ETA's UTC day at the row",
    "Whether the track from this row to the next crosses land (the coast of a 1:10m map)",
};

// A row over land: a warm tint, dark enough text on it, in the window and in print alike.
const QColor kOverLandShade(255, 222, 204);
const QColor kOverLandText(110, 30, 0);

// A turning point of a route by sea: computed, not a place. Its name is marked and it is drawn in
// the colour of its marker on the map, in the window and in print alike.
const QColor kTurnText(0x5b, 0x3a, 0x9a);
const QString kTurnMark = QStringLiteral("\u25C6 ");
const QString kTurnTip =
    QStringLiteral("A turning point of the route by sea%1: one great circle ends here and the "
                   "next begins. Edit its name or position to make it a place of the voyage.");

// An angle as the table writes it (36°05.0'N, 122°27,0'W) or typed (36 5 N, -5.6, 36.1): the
// signed degrees, or nothing when the text is no angle of its column.
std::optional<double> typedAngle(const QString& typed, bool latitude)
{
    static const QRegularExpression angle(
        QStringLiteral("^\\s*([+-]?)\\s*(\\d+(?:[.,]\\d*)?)\\s*\u00B0?\\s*(?:(\\d+(?:[.,]\\d*)?)"
                       "\\s*['\u2032]?)?\\s*"
                       "([NSEWnsew]?)\\s*$"));
    const QRegularExpressionMatch match = angle.match(typed);
    if (!match.hasMatch())
        return std::nullopt;
    const auto number = [](QString text) { return text.replace(u',', u'.').toDouble(); };
    const double degrees = number(match.captured(2));
    const double minutes = match.captured(3).isEmpty() ? 0.0 : number(match.captured(3));
    const QString letter = match.captured(4).toUpper();
    if (minutes >= 60.0 || (!letter.isEmpty() && (letter == u"N" || letter == u"S") != latitude))
        return std::nullopt;
    double value = degrees + minutes / 60.0;
    if (value > (latitude ? 90.0 : 180.0))
        return std::nullopt;
    if (match.captured(1) == u"-" || letter == u"S" || letter == u"W")
        value = -value;
    return value;
}

} // namespace

WaypointModel::WaypointModel(QObject* parent) : QAbstractTableModel(parent) {}

void WaypointModel::setView(const VoyageView& view)
{
    beginResetModel();
    m_rows = view.plan.rows;
    m_almanac =
        view.almanac.rows.size() == m_rows.size() ? view.almanac.rows : std::vector<AlmanacRow>();
    m_magnetic = view.magneticCourses;
    m_keeping = view.timeKeeping;
    m_overLand = view.landChecked ? view.rowsOverLand : std::vector<bool>();
    endResetModel();
}

bool WaypointModel::overLand(int row) const
{
    return row >= 0 && std::size_t(row) < m_overLand.size() && m_overLand[std::size_t(row)];
}

QString WaypointModel::headerText(int column) const
{
    if (column == Course && m_magnetic)
        return QString::fromLatin1(kMagneticCourse);
    if (column == Eta)
        return QString::fromLatin1(kEtaHeaders[static_cast<int>(m_keeping)]);
    return QString::fromLatin1(kHeaders[column]);
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
    const AlmanacRow* almanac =
        m_almanac.empty() ? nullptr : &m_almanac[static_cast<std::size_t>(row)];
    // A time as the user chose: ISO 8601 in UTC, or with the offset of the zone or place.
    const auto time = [&](std::int64_t minute) {
        if (m_keeping == TimeKeeping::Utc || !almanac)
            return QString::fromStdString(utcMinuteText(minute));
        return QString::fromStdString(offsetTimeText(minute, shownOffset(*almanac, m_keeping)));
    };
    // Sunrise and sunset as the hour and minute in the chosen time.
    const auto clock = [&](const std::optional<std::int64_t>& minute) {
        if (!minute)
            return QStringLiteral("\u2014");
        const int offset = almanac ? shownOffset(*almanac, m_keeping) : 0;
        return QString::fromStdString(utcMinuteText(*minute + offset).substr(11, 5));
    };
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
        if (waypoint.turningPoint)
            return kTurnMark + QString::fromStdString(waypoint.name);
        return QString::fromStdString(waypoint.name);
    case Course: {
        const std::optional<double> course =
            m_magnetic ? (almanac ? almanac->magneticCourse : std::nullopt) : waypoint.courseToNext;
        return course
                   ? QString::fromStdString(formatCourse(*course, 1, separator)) + QChar(u'\u00B0')
                   : QString();
    }
    case Variation:
        return almanac && almanac->variation
                   ? QString::fromStdString(variationText(*almanac->variation, separator))
                   : QString();
    case Leg:
        return waypoint.legNm ? number(*waypoint.legNm) : QString();
    case FromStart:
        return number(waypoint.fromStartNm);
    case ToGo:
        return number(waypoint.toGoNm);
    case Eta:
        // ISO 8601 in every locale: a time in UTC reads the same everywhere.
        return waypoint.eta ? time(*waypoint.eta) : QString();
    case Light:
        return almanac && almanac->light
                   ? QString::fromLatin1(kShortLight[static_cast<int>(*almanac->light)])
                   : QString();
    case Sunrise:
    case Sunset:
        if (!almanac || !almanac->sun)
            return {};
        if (almanac->sun->upAllDay)
            return QStringLiteral("Polar day");
        if (almanac->sun->downAllDay)
            return QStringLiteral("Polar night");
        return clock(column == Sunrise ? almanac->sun->sunrise : almanac->sun->sunset);
    case Land:
        return overLand(row) ? QStringLiteral("over land") : QString();
    default:
        return {};
    }
}

QVariant WaypointModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    if ((role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) && index.column() == Light &&
        !m_almanac.empty() && m_almanac[row].light)
        return QString::fromLatin1(lightName(*m_almanac[row].light).data());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cellText(index.row(), index.column());
    const VoyageRow& shown = m_rows[row];
    if (role == Qt::EditRole && shown.turningPoint) {
        if (index.column() == Place)
            return QString::fromStdString(shown.name);
        return cellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (index.column() == Place || index.column() == Land ? Qt::AlignLeft : Qt::AlignRight) |
            Qt::AlignVCenter);
    if (overLand(index.row())) {
        if (role == Qt::BackgroundRole)
            return kOverLandShade;
        if (role == Qt::ForegroundRole)
            return kOverLandText;
        if (role == Qt::ToolTipRole)
            return QStringLiteral("The track from this row to the next crosses land");
    }
    if (shown.turningPoint) {
        if (role == Qt::ForegroundRole)
            return kTurnText;
        if (role == Qt::FontRole && index.column() == Place) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        if (role == Qt::ToolTipRole)
            return kTurnTip.arg(shown.name.empty() ? QString()
                                                   : QStringLiteral(" (%1)").arg(
                                                         QString::fromStdString(shown.name)));
    }
    return {};
}

Qt::ItemFlags WaypointModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() < rowCount() &&
        m_rows[std::size_t(index.row())].turningPoint &&
        (index.column() == Place || index.column() == Latitude || index.column() == Longitude))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool WaypointModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const VoyageRow& row = m_rows[std::size_t(index.row())];
    QString name = QString::fromStdString(row.name);
    LatLon position = row.position;
    if (index.column() == Place) {
        name = value.toString();
    } else {
        const std::optional<double> angle =
            typedAngle(value.toString(), index.column() == Latitude);
        if (!angle)
            return false;
        (index.column() == Latitude ? position.latitude : position.longitude) = *angle;
    }
    if (name == QString::fromStdString(row.name) && position == row.position)
        return false; // nothing changed: it stays a turning point
    emit turnEdited(index.row(), name, position);
    return true;
}

QVariant WaypointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return headerText(section);
    if (role == Qt::ToolTipRole && kToolTips[section])
        return QString::fromLatin1(kToolTips[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString WaypointModel::tabSeparated() const
{
    QStringList lines;
    QStringList cells;
    // The land column only for a voyage checked against the land, as the window shows it.
    const int columns = m_overLand.empty() ? Land : ColumnCount;
    for (int column = 0; column < columns; ++column)
        cells << headerText(column);
    lines << cells.join(QLatin1Char('\t'));
    for (int row = 0; row < rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < columns; ++column)
            cells << cellText(row, column);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace gyrena
