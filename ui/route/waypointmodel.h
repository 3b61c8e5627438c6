#pragma once

#include "geo/voyage.h"

#include <QAbstractTableModel>

#include <vector>

namespace gyrena {

// The rows of a voyage's plan as a table: number, the place's name, latitude, longitude, course
// to steer to the next row (the rhumb leg), that leg's distance, the distance steered from the
// start (the legs above added up) and to go, and the ETA (UTC). The headers' tooltips say so. The last row has no leg, so its course and leg cells are
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
        Leg,
        FromStart,
        ToGo,
        Eta,
        ColumnCount
    };

    explicit WaypointModel(QObject* parent = nullptr);

    void setPlan(const VoyagePlan& plan);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The header and every row as shown, cells joined by tabs and lines ended by "\n".
    QString tabSeparated() const;

private:
    QString cellText(int row, int column) const;

    std::vector<VoyageRow> m_rows;
};

} // namespace gyrena
