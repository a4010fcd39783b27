#pragma once

#include "fiducial/logic/pf_grid.h"

#include <QAbstractTableModel>

namespace ferolan {

// The fiducial point window's comparison grid as a table: column 0 is the grid's empty
// fixed column, columns 1 to 10 those of the grid rows.
class PfGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static const QString kFormat;
    // True for the cells of a row that archiving has passed.
    static constexpr int PassedByArchivingRole = Qt::UserRole + 1;

    explicit PfGridModel(PfGrid &grid, QObject *parent = nullptr);

    void reload();
    // The grid row behind a model row changed (its mark or its archiving state).
    void rowChanged(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    PfGrid &grid_;
};

} // namespace ferolan
