#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// X, Y, Z of a point, or the components of a vector between two points.
struct Xyz {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

// The job's point list: rows 1 to N, one per non-blank line of the job file, each with the eight
// fields of the fixed-column layout as text. The file's bytes are kept once, with where each
// line starts, and the fields are views into them, so a job of a million points stays small.
// Each point's coordinates are read once, on loading, for the many passes that need them.
class PointList {
public:
    enum Column { Name = 1, Description, Code, X, Y, Z, East, Height };
    static constexpr int kColumns = 8;
    static constexpr std::size_t kLineWidth = 124;

    // Before the first job: one empty row, as the grid shows it.
    PointList();

    // Replaces the rows with the lines of a job file (Windows-1252 bytes). A file without a
    // non-blank line keeps the number of rows and empties them all. False, and nothing changed, for
    // a file of 4 GiB or more.
    [[nodiscard]] bool load(std::string jobBytes);
    enum class FileLoad { Loaded, Unreadable, ChangedWhileRead, Empty, WithoutUsablePoints };
    // The same with the job file's bytes. Nothing changes for a file that cannot be read, nor
    // for one that another program cut or rewrote while it was read: half a job would give a
    // booklet without its last points. Nor for a file that is no job: empty (no bytes or
    // blank lines only), or without a line that has usable coordinates.
    [[nodiscard]] FileLoad loadFile(const std::filesystem::path &job);

    // The same with job lines another reader made, as a receiver's delimited export turned into
    // this layout: refused as a job file is when it holds no usable point.
    [[nodiscard]] FileLoad loadJobText(std::string jobBytes);

    std::size_t rowCount() const { return rows_.size(); }
    // row 1..rowCount(), column 1..8; anything else reads as empty.
    std::string_view field(std::size_t row, int column) const;

    // Characters 125 to 196 of the row's line, as they are: six optional cells of 12
    // characters with the variance-covariance terms of the point's vector.
    static constexpr std::size_t kVarianceFrom = 125, kVarianceWidth = 72;
    std::string_view varianceColumns(std::size_t row) const;

    // The row's X, Y and Z when they are usable as job/usable_point.h rules; nothing when
    // they are not or the row does not exist.
    std::optional<Xyz> usableCoordinates(std::size_t row) const;

    // The mean of the East cells that begin with a number, NaN when none does. The sum is
    // made in row order in a wide type, so that absurd values cannot overflow it into infinity.
    double meanEast() const { return meanEast_; }

    // The last row when the job ends, without a line end, inside one of the number cells
    // (characters 69-196) right after a digit or a point and before the cell's last column:
    // the file was most likely cut inside a number, whose missing digits would move the point.
    // That row has no usable coordinates and its East does not count. 0 when there is none.
    std::size_t truncatedRow() const { return truncatedRow_; }

private:
    // Where a point's line lies in the job's bytes; its fields are cut from it when asked.
    struct Line {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    std::string_view line(std::size_t row) const;
    static std::string_view fieldOf(std::string_view line, int column);
    // The points of a job's non-blank lines, as they are read.
    struct Points {
        std::vector<Line> rows;
        std::vector<Xyz> coordinates;
        // Each row's East cell as a number; NaN when it does not begin with one.
        std::vector<double> easts;
    };
    // How many points a run of lines holds.
    static std::size_t pointsIn(std::string_view lines);
    // Reads the points of a run of lines that starts `offset` bytes into the job into rows and
    // coordinates and East values from `first` on.
    static void readPoints(std::string_view lines, std::size_t offset, Points &points,
                           std::size_t first);
    // The job's points read, in parts for a large job, and the rows replaced by them.
    FileLoad read(std::string jobBytes, bool onlyJobs);

    // The rows of the job read; nothing changed for a job too large (Unreadable) and, with
    // `onlyJobs`, for a file that is no job.
    FileLoad replaceWith(std::string jobBytes, Points points, bool onlyJobs);

    std::string bytes_;
    std::vector<Line> rows_;
    // One for each row; X is not a number where the coordinates are not usable.
    std::vector<Xyz> coordinates_;
    double meanEast_;
    std::size_t truncatedRow_ = 0;
};

} // namespace ferolan
