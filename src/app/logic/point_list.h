#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// The job's point list: rows 1 to N, one per line of the job file, each with the eight
// fields of the fixed-column layout as text. The file's bytes are kept once and the fields
// are views into them, so a job of a million points stays small.
class PointList {
public:
    enum Column { Name = 1, Description, Code, X, Y, Z, East, Height };
    static constexpr int kColumns = 8;
    static constexpr std::size_t kLineWidth = 124;

    // Before the first job: one empty row, as the grid shows it.
    PointList();

    // Replaces the rows with the lines of a job file (Windows-1252 bytes). An empty file
    // keeps the number of rows and empties them all. False, and nothing changed, for a
    // file of 4 GiB or more.
    [[nodiscard]] bool load(std::string jobBytes);

    std::size_t rowCount() const { return rows_.size(); }
    // row 1..rowCount(), column 1..8; anything else reads as empty.
    std::string_view field(std::size_t row, int column) const;

private:
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    using Row = std::array<Span, kColumns>;

    std::string bytes_;
    std::vector<Row> rows_;
};

// Whether a row's X, Y and Z are each a plain number ("." decimals) and together place the
// point between 6,000 and 6,800 km from the Earth's centre: a blank or mistyped cell would
// otherwise read as 0 and put the point at the centre of the Earth.
bool hasUsableCoordinates(const PointList &points, std::size_t row);

} // namespace ferolan
