#include "app/model/point_list_model.h"

#include "ui/model/grid_format.h"
#include "ui/model/qt_text.h"

namespace ferolan {

const QString PointListModel::kFormat = QStringLiteral(
    "|         Punto             |          Descrizione                 |   Codice     |"
    "         X(wgs84)        |        Y(wgs84)        |        Z(wgs84)        |"
    "        est          |     quota   ");

PointListModel::PointListModel(const PointList &points, QObject *parent)
    : QAbstractTableModel(parent), points_(points) {}

void PointListModel::reload() {
    beginResetModel();
    endResetModel();
}

int PointListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(points_.rowCount());
}

int PointListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : PointList::kColumns + 1;
}

QVariant PointListModel::data(const QModelIndex &index, int role) const {
    // The whole text is also the tooltip, for a cell too narrow to show it.
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    QString text =
        toQString(points_.field(static_cast<std::size_t>(index.row()) + 1, index.column()));
    if (role == Qt::ToolTipRole && text.isEmpty())
        return {};
    return text;
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return formatSection(kFormat, section).trimmed();
}

} // namespace ferolan
