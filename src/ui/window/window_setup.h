#pragma once

#include <QList>
#include <QRect>

class QString;
class QTableView;
class QWidget;

namespace ferolan {

// Moves a window to the middle of its screen.
void centreOnScreen(QWidget &window);

// The program's windows are teal behind their controls.
void fillWithTeal(QWidget &window);

// A read-only grid in the manner of the program's lists: no row headings, compact rows,
// each column as wide as its section of the format text in the grid's font.
void setUpGrid(QTableView &grid, const QString &format);

// Makes the columns first to last as wide as their texts and headings need, no wider.
void fitColumnsToContents(QTableView &grid, int first, int last);

// A window laid out at a design size that the user may enlarge: each control keeps its design
// place and size, and follows or stretches with the right and bottom edges as asked.
class GrowingLayout {
public:
    enum Follow {
        Stay = 0,
        Right = 1,  // moves with the right edge
        Bottom = 2, // moves with the bottom edge
        Wider = 4,  // stretches with the right edge
        Taller = 8, // stretches with the bottom edge
    };

    explicit GrowingLayout(QSize designSize) : designSize_(designSize) {}

    void add(QWidget *control, QRect design, int follow);
    // A new design size, for a window that grows a part of its own.
    void setDesignSize(QSize size) { designSize_ = size; }
    QSize designSize() const { return designSize_; }
    // Places every control for a window of the given size.
    void apply(QSize size) const;

private:
    struct Placed {
        QWidget *control;
        QRect design;
        int follow;
    };
    QSize designSize_;
    QList<Placed> placed_;
};

} // namespace ferolan
