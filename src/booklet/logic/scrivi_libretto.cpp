#include "booklet/logic/scrivi_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "core/files.h"
#include "job/usable_point.h"

#include <string>
#include <system_error>

namespace ferolan {
namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

// Collects rows and hands them on whenever a piece is full.
class PieceBuffer {
public:
    explicit PieceBuffer(const std::function<bool(std::string_view)> &sink) : sink_(sink) {
        piece_.reserve(kPieceSize + 1024);
    }
    // The piece being filled: rows are appended to it, then rowAdded() is called.
    std::string &piece() { return piece_; }
    bool rowAdded() { return piece_.size() < kPieceSize || flush(); }
    bool add(std::string_view row) {
        piece_ += row;
        return rowAdded();
    }
    bool flush() {
        bool accepted = piece_.empty() || sink_(piece_);
        piece_.clear();
        return accepted;
    }

private:
    const std::function<bool(std::string_view)> &sink_;
    std::string piece_;
};

} // namespace

bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink) {
    const PointList &points = source.points;
    const Xyz Coord_master = pointXyz(points, source.Riga_master);
    PieceBuffer buffer(sink);
    if (!buffer.add(row0(source.header)) || !buffer.add(row9(source.header)) ||
        !buffer.add(row1(points.field(source.Riga_master, PointList::Name), Coord_master,
                         points.field(source.Riga_master, PointList::Description),
                         source.decimalSeparator)) ||
        !buffer.add(row6(source.header.Txt_data)))
        return false;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        std::string_view name = points.field(row, PointList::Name);
        if (name == source.Punto_master || source.leftOutRows.contains(row))
            continue;
        const std::optional<Xyz> point = points.usableCoordinates(row);
        if (!point)
            continue;
        const Xyz vector = Calcola_vettore(*point, Coord_master);
        appendRow2(buffer.piece(), name, vector, points.field(row, PointList::Description),
                   source.decimalSeparator, varianceTerms(points.varianceColumns(row)));
        if (!buffer.rowAdded())
            return false;
    }
    return buffer.flush();
}

std::optional<Xyz> Scrivi_libretto(const BookletSource &source,
                                   const std::filesystem::path &File_libretto) {
    const std::filesystem::path temporary = temporaryBookletPath(File_libretto);
    platform::File file = createFresh(temporary);
    if (!file.isOpen())
        return std::nullopt;
    bool written =
        produceBookletRows(source, [&file](std::string_view piece) { return file.write(piece); });
    if (!file.close() || !written) {
        // A booklet cut short must not be finished later as if it were whole.
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return std::nullopt;
    }
    return pointXyz(source.points, source.Riga_master);
}

} // namespace ferolan
