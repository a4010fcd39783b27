#include "fiducial/window/pf_grid_colours.h"

#include "fiducial/logic/pf_grid.h"
#include "fiducial/model/pf_grid_model.h"

#include <QBrush>

namespace ferolan {

QVariant PfGridColours::data(const QModelIndex &index, int role) const {
    if (role == Qt::ForegroundRole && index.column() == PfGridRow::Mark) {
        QString mark = index.data(Qt::DisplayRole).toString();
        if (mark == QLatin1String(kArchiveMark.data(), kArchiveMark.size()))
            return QBrush(QColor(0, 128, 128));
        if (mark == QLatin1String(kSkipMark.data(), kSkipMark.size()))
            return QBrush(QColor(255, 0, 0));
    }
    if (role == Qt::BackgroundRole && index.column() == PfGridRow::Name &&
        index.data(PfGridModel::PassedByArchivingRole).toBool())
        return QBrush(QColor(0, 255, 0));
    return QIdentityProxyModel::data(index, role);
}

} // namespace ferolan
