#pragma once

#include "geo/voyage.h"

#include <QAbstractTableModel>

#include <vector>

namespace gyrena {

// The rows of a voyage's plan as a table: number, the place's name, latitude, longitude, course
// to steer to the next row (the rhumb leg), that leg's distance, the distance steered from the
// start (the legs above added up) and to go, the ETA (UTC), and whether the track to the next
// row crosses land. The headers' tooltips say so. The last row has no leg, so its course and
// leg cells are empty; without a departure the ETA cells are empty, and the land cells are empty
// for a voyage not checked against the land. A row over land is shaded as a warning.
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
        Land, // the last: a voyage not checked against the land has the columns before it
        ColumnCount
    };

    explicit WaypointModel(QObject* parent = nullptr);

    // `overLand`: for each row, whether its stretch to the next row meets land (empty: the
    // voyage was not checked).
    void setPlan(const VoyagePlan& plan, const std::vector<bool>& overLand = {});
    bool overLand(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The header and every row as shown, cells joined by tabs and lines ended by "\n"; the land
    // column only when the voyage was checked.
    QString tabSeparated() const;

private:
    QString cellText(int row, int column) const;

    std::vector<VoyageRow> m_rows;
    std::vector<bool> m_overLand;
};

} // namespace gyrena
