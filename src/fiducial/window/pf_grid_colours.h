#pragma once

#include <QIdentityProxyModel>

namespace ferolan {

// The colours of the comparison grid: the mark "V" in teal and "X" in red, the name of a
// point passed by archiving on green.
class PfGridColours final : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override;
};

} // namespace ferolan
