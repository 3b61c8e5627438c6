#pragma once

#include "io/plan/voyageview.h"

#include <QAbstractTableModel>

#include <vector>

namespace gyrena {

// The rows of a voyage's plan as a table: number, the place's name, latitude, longitude, course
// to steer to the next row (the rhumb leg, true or magnetic), the variation, that leg's distance,
// the distance steered from the start (the legs above added up) and to go, the ETA, the light
// at the ETA, sunrise and sunset, and whether the track to the next row crosses land. The
// headers' tooltips say so. The last row has no leg, so its course and leg cells are empty;
// without a departure the ETA and the Sun's cells are empty, and the land cells are empty for a
// voyage not checked against the land. A row over land is shaded as a warning.
class WaypointModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        Number,
        Place,
        Latitude,
        Longitude,
        Course,
        Variation,
        Leg,
        FromStart,
        ToGo,
        Eta,
        Light,
        Sunrise,
        Sunset,
        Land, // the last: a voyage not checked against the land has the columns before it
        ColumnCount
    };

    explicit WaypointModel(QObject* parent = nullptr);

    // The view's plan, a row each, with its almanac as the view chose to show it (courses true
    // or magnetic, times in UTC, zone or local time) and whether each row's stretch to the next
    // meets land; a view without an almanac leaves its columns empty, and one not checked against
    // the land its land column.
    void setView(const VoyageView& view);
    bool magneticCourses() const { return m_magnetic; }
    TimeKeeping timeKeeping() const { return m_keeping; }
    bool overLand(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A turning point of a route by sea takes a new name or position in its row (a position as
    // the table writes it, 36°05.0'N, or in signed degrees); the row itself never changes:
    // turnEdited() asks the window to make it a place.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The header and every row as shown, cells joined by tabs and lines ended by "\n"; the land
    // column only when the voyage was checked.
    QString tabSeparated() const;

signals:
    // The turning point of `row` edited: the name and position it is to have as a place.
    void turnEdited(int row, const QString& name, gyrena::LatLon position);

private:
    QString cellText(int row, int column) const;
    QString headerText(int column) const;

    std::vector<VoyageRow> m_rows;
    std::vector<AlmanacRow> m_almanac; // one per row, or none
    bool m_magnetic = false;
    TimeKeeping m_keeping = TimeKeeping::Utc;
    std::vector<bool> m_overLand;
};

} // namespace gyrena
