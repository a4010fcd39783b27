#pragma once

#include "job/point_list.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace ferolan {

// The main window's point list as a table: column 0 is the grid's empty fixed column,
// columns 1 to 8 the job's fields; model row r - 1 is point row r.
class PointListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The grid's format text: one section per column, its blanks setting the column width.
    static const QString kFormat;

    explicit PointListModel(const PointList &points, QObject *parent = nullptr);

    // To be called after the point list has been loaded anew.
    void reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const PointList &points_;
};

} // namespace ferolan
