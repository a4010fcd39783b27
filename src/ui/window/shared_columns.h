#pragma once

#include <QList>
#include <QObject>

class QTableView;

namespace ferolan {

// A grid's columns at their design widths in a grid of the design size. A wider grid first
// widens, in order, the columns whose texts are cut, then gives what is left to the fill
// columns (the descriptions), so that an enlarged window shows whole values.
class SharedColumns final : public QObject {
public:
    // The design widths are the columns' widths now.
    SharedColumns(QTableView &grid, QList<int> fillColumns);

    // How wide each column's texts would like to be; again whenever the contents change.
    void measure();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QTableView &grid_;
    QList<int> fillColumns_;
    QList<int> design_;
    QList<int> wanted_;
};

} // namespace ferolan
