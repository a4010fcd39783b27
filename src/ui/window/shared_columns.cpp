#include "ui/window/shared_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace ferolan {

SharedColumns::SharedColumns(QTableView &grid, QList<int> fillColumns)
    : QObject(&grid), grid_(grid), fillColumns_(std::move(fillColumns)) {
    for (int column = 0; column < grid.model()->columnCount(); ++column)
        design_ << grid.columnWidth(column);
    wanted_ = design_;
    grid.viewport()->installEventFilter(this);
}

void SharedColumns::measure() {
    const QAbstractItemView &view = grid_; // the size hint is public only on the base class
    for (int column = 0; column < design_.size(); ++column)
        wanted_[column] = std::max({design_[column], view.sizeHintForColumn(column),
                                    grid_.horizontalHeader()->sectionSizeHint(column)});
    apply();
}

bool SharedColumns::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

void SharedColumns::apply() {
    QList<int> widths = design_;
    int room = grid_.viewport()->width();
    for (int width : design_)
        room -= width;
    for (int column = 0; column < widths.size() && room > 0; ++column)
        if (!fillColumns_.contains(column)) {
            const int grown = std::min(room, wanted_[column] - widths[column]);
            widths[column] += grown;
            room -= grown;
        }
    for (qsizetype i = 0; i < fillColumns_.size() && room > 0; ++i) {
        const int share = room / int(fillColumns_.size() - i);
        widths[fillColumns_[i]] += share;
        room -= share;
    }
    for (int column = 0; column < widths.size(); ++column)
        if (grid_.columnWidth(column) != widths[column])
            grid_.setColumnWidth(column, widths[column]);
}

} // namespace ferolan
