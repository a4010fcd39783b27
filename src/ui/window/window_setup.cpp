#include "ui/window/window_setup.h"

#include "ui/model/grid_format.h"

#include <QHeaderView>
#include <QPalette>
#include <QScreen>
#include <QTableView>

namespace ferolan {

void fillWithTeal(QWidget &window) {
    window.setAutoFillBackground(true);
    QPalette teal = window.palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    window.setPalette(teal);
}

void centreOnScreen(QWidget &window) {
    const QRect screenArea = window.screen()->geometry();
    const QSize size = window.frameGeometry().size();
    window.move(screenArea.x() + (screenArea.width() - size.width()) / 2,
                screenArea.y() + (screenArea.height() - size.height()) / 2);
}

void setUpGrid(QTableView &grid, const QString &format) {
    // The grids were designed for an 8-point font; the format text's widths assume it.
    QFont small = grid.font();
    small.setPointSize(8);
    grid.setFont(small);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 4);
    grid.horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < formatColumnCount(format); ++column)
        grid.setColumnWidth(column, std::max(8, grid.fontMetrics().horizontalAdvance(
                                                    formatSection(format, column))));
}

void GrowingLayout::add(QWidget *control, QRect design, int follow) {
    placed_.append({control, design, follow});
    control->setGeometry(design);
}

void GrowingLayout::apply(QSize size) const {
    const int dx = std::max(0, size.width() - designSize_.width());
    const int dy = std::max(0, size.height() - designSize_.height());
    for (const Placed &placed : placed_) {
        QRect rect = placed.design;
        rect.translate(placed.follow & Right ? dx : 0, placed.follow & Bottom ? dy : 0);
        rect.setWidth(rect.width() + (placed.follow & Wider ? dx : 0));
        rect.setHeight(rect.height() + (placed.follow & Taller ? dy : 0));
        placed.control->setGeometry(rect);
    }
}

void fitColumnsToContents(QTableView &grid, int first, int last) {
    const QAbstractItemView &view = grid; // the size hint is public only on the base class
    for (int column = first; column <= last; ++column)
        grid.setColumnWidth(column, std::max(view.sizeHintForColumn(column),
                                             grid.horizontalHeader()->sectionSizeHint(column)));
}

} // namespace ferolan
