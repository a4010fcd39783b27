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

// Makes the columns first to last as wide as their texts and headings need, no wider.
void fitColumnsToContents(QTableView &grid, int first, int last);

} // namespace ferolan
