#pragma once

#include <QIdentityProxyModel>

namespace ferolan {

// The colours of the distances' grid: the verdict in red when out of tolerance, "oltre 10 cm"
// on orange, as the comparison grid shows a point that moved more than 10 cm.
class PfDistancesColours final : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override;
};

} // namespace ferolan
