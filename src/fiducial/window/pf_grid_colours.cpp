#include "fiducial/window/pf_grid_colours.h"

#include "fiducial/logic/pf_grid.h"
#include "fiducial/model/pf_grid_model.h"

#include <QBrush>

#include <cmath>

namespace ferolan {
namespace {

// A fiducial point found in the archive more than this far from its earlier measurement must
// be explained in the survey's report.
constexpr double kMovedMetres = 0.10;

double cellNumber(const QModelIndex &index, int column) {
    // The differences are written with the user's decimal separator.
    QString text = index.siblingAtColumn(column).data(Qt::DisplayRole).toString();
    return text.replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble();
}

// The distance between archived and surveyed position of a found point, 0 otherwise.
double movedBy(const QModelIndex &index) {
    const QString used = index.siblingAtColumn(PfGridRow::Used).data(Qt::DisplayRole).toString();
    if (used != QLatin1String(kUsed.data(), kUsed.size()))
        return 0;
    return std::hypot(cellNumber(index, PfGridRow::DiffX), cellNumber(index, PfGridRow::DiffY),
                      cellNumber(index, PfGridRow::DiffZ));
}

} // namespace

QVariant PfGridColours::data(const QModelIndex &index, int role) const {
    if (role == Qt::ForegroundRole && index.column() == PfGridRow::Mark) {
        QString mark = index.data(Qt::DisplayRole).toString();
        if (mark == QLatin1String(kArchiveMark.data(), kArchiveMark.size()))
            return QBrush(QColor(0, 128, 128));
        if (mark == QLatin1String(kSkipMark.data(), kSkipMark.size()))
            return QBrush(QColor(255, 0, 0));
    }
    const bool difference =
        index.column() >= PfGridRow::DiffX && index.column() <= PfGridRow::DiffZ;
    if (difference && (role == Qt::BackgroundRole || role == Qt::ToolTipRole)) {
        if (const double moved = movedBy(index); moved > kMovedMetres) {
            if (role == Qt::BackgroundRole)
                return QBrush(QColor(255, 165, 0));
            return QStringLiteral("Scostamento %1 m: oltre 10 cm, va giustificato nella relazione")
                .arg(QString::number(moved, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(',')));
        }
    }
    // Green names the points archived; a row passed but marked "X" stays as it was.
    if (role == Qt::BackgroundRole && index.column() == PfGridRow::Name &&
        index.data(PfGridModel::PassedByArchivingRole).toBool() &&
        index.siblingAtColumn(PfGridRow::Mark).data(Qt::DisplayRole).toString() ==
            QLatin1String(kArchiveMark.data(), kArchiveMark.size()))
        return QBrush(QColor(0, 255, 0));
    return QIdentityProxyModel::data(index, role);
}

} // namespace ferolan
