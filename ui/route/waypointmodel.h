#pragma once

#include "geo/routeplan.h"

#include <QAbstractTableModel>

#include <vector>

namespace gyrena {

// The waypoints of a plan as a table: number, latitude, longitude, course to steer to the next
// waypoint (the rhumb leg), that leg's distance and the great-circle distance from the start.
// The last row has no leg, so its course and leg cells are empty.
class WaypointModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Latitude, Longitude, Course, Leg, FromStart, ColumnCount };

    explicit WaypointModel(QObject* parent = nullptr);

    void setPlan(const RoutePlan& plan);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The header and every row as shown, cells joined by tabs and lines ended by "\n".
    QString tabSeparated() const;

private:
    QString cellText(int row, int column) const;

    std::vector<Waypoint> m_waypoints;
    std::vector<RhumbLeg> m_legs;
};

} // namespace gyrena
