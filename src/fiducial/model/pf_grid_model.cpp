#include "fiducial/model/pf_grid_model.h"

#include "ui/model/grid_format.h"
#include "ui/model/qt_text.h"

namespace ferolan {

const QString PfGridModel::kFormat = QStringLiteral(
    "|     Punto Fiduciale           |    X (wgs84)              |    Y (wgs84)              |"
    "    Z (wgs84)              | diffX  |diffY  |diffZ  |Già usato|Archivia| |");

PfGridModel::PfGridModel(PfGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), grid_(grid) {}

void PfGridModel::reload() {
    beginResetModel();
    endResetModel();
}

void PfGridModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, PfGridRow::kColumns));
}

int PfGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(grid_.size());
}

int PfGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : PfGridRow::kColumns + 1;
}

QVariant PfGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.column() == 0)
        return {};
    const PfGridRow &row = grid_[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<PfGridRow::Column>(index.column());
    if (role == Qt::DisplayRole)
        return toQString(row.cell(column));
    // The whole text is also the tooltip, for a cell too narrow to show it.
    if (role == Qt::ToolTipRole && !row.cell(column).empty())
        return toQString(row.cell(column));
    if (role == PassedByArchivingRole)
        return row.passedByArchiving;
    return {};
}

QVariant PfGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    // The format's one-blank heading left the description column unnamed.
    if (section == PfGridRow::Description)
        return QStringLiteral("Descrizione");
    return formatSection(kFormat, section).trimmed();
}

} // namespace ferolan
