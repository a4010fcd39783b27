#include "fiducial/window/pf_distances_colours.h"

#include "fiducial/logic/pf_distances.h"
#include "fiducial/model/pf_distances_model.h"
#include "ui/model/qt_text.h"

#include <QBrush>

namespace ferolan {

QVariant PfDistancesColours::data(const QModelIndex &index, int role) const {
    if (role == Qt::ForegroundRole && index.column() == PfDistancesModel::Esito &&
        index.data(Qt::DisplayRole).toString() == toQString(kFuoriTolleranza))
        return QBrush(QColor(255, 0, 0));
    if (role == Qt::BackgroundRole && index.column() == PfDistancesModel::Over10Cm &&
        !index.data(Qt::DisplayRole).toString().isEmpty())
        return QBrush(QColor(255, 165, 0));
    return QIdentityProxyModel::data(index, role);
}

} // namespace ferolan
