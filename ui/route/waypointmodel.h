#pragma once

#include "geo/almanac.h"
#include "geo/voyage.h"

#include <QAbstractTableModel>

#include <vector>

namespace gyrena {

// The rows of a voyage's plan as a table: number, the place's name, latitude, longitude, course
// to steer to the next row (the rhumb leg), that leg's distance, the distance from the start and
// to go as sailed, and the ETA (UTC). The last row has no leg, so its course and leg cells are
// empty; without a departure the ETA cells are empty.
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
        ColumnCount
    };

    explicit WaypointModel(QObject* parent = nullptr);

    // The plan's rows with the almanac of each (an almanac without rows leaves its columns empty).
    void setPlan(const VoyagePlan& plan, const Almanac& almanac = {});
    // Whether the course column shows the true course or the magnetic one (true less variation).
    void setMagneticCourses(bool magnetic);
    bool magneticCourses() const { return m_magnetic; }
    // In which time the ETA, sunrise and sunset are shown.
    void setTimeKeeping(TimeKeeping keeping);
    TimeKeeping timeKeeping() const { return m_keeping; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The header and every row as shown, cells joined by tabs and lines ended by "\n".
    QString tabSeparated() const;

private:
    QString cellText(int row, int column) const;
    QString headerText(int column) const;

    std::vector<VoyageRow> m_rows;
    std::vector<AlmanacRow> m_almanac; // one per row, or none
    bool m_magnetic = false;
    TimeKeeping m_keeping = TimeKeeping::Utc;
};

} // namespace gyrena
