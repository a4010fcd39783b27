#include "fiducial/model/pf_distances_model.h"

#include "core/numbers.h"
#include "ui/model/grid_format.h"
#include "ui/model/qt_text.h"

namespace ferolan {

// The same headings as ferolan-batch's file of distances.
const QString PfDistancesModel::kFormat =
    QStringLiteral("   PF 1             |   PF 2             | d oggi (m) | D archivio (m) |"
                   " differenza (m) | tolleranza (m) | rapporto |  esito           | oltre 10 cm ");

PfDistancesModel::PfDistancesModel(char decimalSeparator, QObject *parent)
    : QAbstractTableModel(parent), decimalSeparator_(decimalSeparator) {}

void PfDistancesModel::setPairs(std::vector<PfPair> pairs) {
    beginResetModel();
    pairs_ = std::move(pairs);
    endResetModel();
}

int PfDistancesModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(pairs_.size());
}

int PfDistancesModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QString PfDistancesModel::text(const PfPair &pair, int column) const {
    auto metres = [this](double value) {
        return QString::fromStdString(threeDecimalText(value, decimalSeparator_));
    };
    switch (column) {
    case First:
        return toQString(pair.first);
    case Second:
        return toQString(pair.second);
    case Today:
        return metres(pair.today);
    case Archived:
        return metres(pair.archived);
    case Difference:
        return metres(pair.difference());
    case Tolerance:
        return metres(pair.tolerance);
    case Ratio:
        return QString::fromStdString(decimalText(pair.ratio(), 2, decimalSeparator_));
    case Esito:
        return toQString(pair.esito());
    case Over10Cm:
        return pair.overTenCentimetres() ? toQString(kOltre10Cm) : QString();
    }
    return {};
}

QVariant PfDistancesModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const PfPair &pair = pairs_[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() >= Today && index.column() <= Ratio)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    // The whole text is also the tooltip, for a cell too narrow to show it.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        QString shown = text(pair, index.column());
        return role == Qt::ToolTipRole && shown.isEmpty() ? QVariant() : QVariant(shown);
    }
    return {};
}

QVariant PfDistancesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return formatSection(kFormat, section).trimmed();
}

} // namespace ferolan
