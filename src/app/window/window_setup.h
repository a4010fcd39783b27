#pragma once

class QString;
class QTableView;
class QWidget;

namespace ferolan {

// Moves a window to the middle of its screen.
void centreOnScreen(QWidget &window);

// A read-only grid in the manner of the program's lists: no row headings, compact rows,
// each column as wide as its section of the format text in the grid's font.
void setUpGrid(QTableView &grid, const QString &format);

// Widens every column whose texts do not fit; never narrows one.
void widenColumnsToContents(QTableView &grid);

} // namespace ferolan
