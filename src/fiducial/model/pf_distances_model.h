#pragma once

#include "fiducial/logic/pf_distances.h"

#include <QAbstractTableModel>

#include <vector>

namespace ferolan {

// The pairs of fiducial points found in the archive as a table, one row a pair, numbers with
// the user's decimal separator.
class PfDistancesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { First, Second, Today, Archived, Difference, Tolerance, Ratio, Esito, Over10Cm };
    static constexpr int kColumns = 9;
    // The headings, their blanks setting the columns' widths.
    static const QString kFormat;

    explicit PfDistancesModel(char decimalSeparator, QObject *parent = nullptr);

    void setPairs(std::vector<PfPair> pairs);
    const std::vector<PfPair> &pairs() const { return pairs_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(const PfPair &pair, int column) const;

    char decimalSeparator_;
    std::vector<PfPair> pairs_;
};

} // namespace ferolan
