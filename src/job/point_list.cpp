#include "job/point_list.h"

#include "core/files.h"
#include "core/numbers.h"
#include "core/parallel.h"
#include "core/text.h"
#include "job/usable_point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ferolan {
namespace {

// Lines are found by 32-bit offsets.
constexpr std::size_t kLargestJob = UINT32_MAX;
constexpr Xyz kUnusable{std::numeric_limits<double>::quiet_NaN(), 0, 0};

struct FieldLayout {
    std::size_t from;
    std::size_t width;
};
constexpr std::array<FieldLayout, PointList::kColumns> kLayout = {
    {{1, 16}, {17, 36}, {53, 16}, {69, 12}, {81, 12}, {93, 12}, {105, 12}, {117, 8}}};

// The last column of each number cell: X, Y, Z, East, height and the six optional ones.
constexpr std::array<std::size_t, 11> kNumberCellEnds = {80,  92,  104, 116, 124, 136,
                                                         148, 160, 172, 184, 196};
constexpr std::size_t kFirstNumberColumn = 69;

// A line that stops inside a number cell, right after a digit or a point of it.
bool endsInsideNumber(std::string_view line) {
    const std::size_t end = line.size();
    if (end < kFirstNumberColumn || end >= kNumberCellEnds.back() ||
        std::find(kNumberCellEnds.begin(), kNumberCellEnds.end(), end) != kNumberCellEnds.end())
        return false;
    return isDigit(line.back()) || line.back() == '.';
}

// Blank lines, trailing ones above all, are no points.
bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

PointList::PointList() : rows_(1), coordinates_(1, kUnusable), meanEast_(kUnusable.X) {}

bool PointList::load(std::string jobBytes) {
    return read(std::move(jobBytes), false) == FileLoad::Loaded;
}

PointList::FileLoad PointList::loadFile(const std::filesystem::path &job) {
    FileContent content = readFile(job);
    if (!content.ok())
        return FileLoad::Unreadable;
    if (content.changedWhileRead)
        return FileLoad::ChangedWhileRead;
    return read(std::move(content.bytes), true);
}

PointList::FileLoad PointList::loadJobText(std::string jobBytes) {
    return read(std::move(jobBytes), true);
}

PointList::FileLoad PointList::read(std::string jobBytes, bool onlyJobs) {
    if (jobBytes.size() > kLargestJob)
        return FileLoad::Unreadable;
    // A large job's lines are read in parts at once: each part counts its points, then reads
    // them into its own stretch of the rows, so that they are never copied from part to part.
    const std::vector<std::string_view> pieces =
        lineAlignedPieces(jobBytes, partsFor(jobBytes.size() / kLineWidth));
    std::vector<std::size_t> firsts(pieces.size() + 1);
    runParts(pieces.size(), [&](std::size_t part) { firsts[part + 1] = pointsIn(pieces[part]); });
    for (std::size_t part = 0; part < pieces.size(); ++part)
        firsts[part + 1] += firsts[part];
    Points points;
    points.rows.resize(firsts.back());
    points.coordinates.resize(firsts.back());
    points.easts.resize(firsts.back());
    runParts(pieces.size(), [&](std::size_t part) {
        readPoints(pieces[part], static_cast<std::size_t>(pieces[part].data() - jobBytes.data()),
                   points, firsts[part]);
    });
    return replaceWith(std::move(jobBytes), std::move(points), onlyJobs);
}

PointList::FileLoad PointList::replaceWith(std::string jobBytes, Points points, bool onlyJobs) {
    if (points.rows.empty()) {
        if (onlyJobs)
            return FileLoad::Empty;
        points.rows.resize(rows_.size());
        points.coordinates.assign(rows_.size(), kUnusable);
    }
    std::size_t truncatedRow = 0;
    if (!points.rows.empty() && !endsWithLineEnd(jobBytes)) {
        const Line &last = points.rows.back();
        const std::string_view line = std::string_view(jobBytes).substr(last.offset, last.length);
        if (last.offset + last.length == jobBytes.size() && endsInsideNumber(line)) {
            truncatedRow = points.rows.size();
            points.coordinates.back() = kUnusable;
            points.easts.back() = kUnusable.X;
        }
    }
    // A booklet or any other text chosen by mistake: nothing in it could become a booklet row.
    if (onlyJobs && std::ranges::all_of(points.coordinates,
                                        [](const Xyz &point) { return std::isnan(point.X); }))
        return FileLoad::WithoutUsablePoints;
    truncatedRow_ = truncatedRow;
    bytes_ = std::move(jobBytes);
    rows_ = std::move(points.rows);
    coordinates_ = std::move(points.coordinates);
    // In a wide type, in row order as a single pass over the rows would add them.
    long double eastSum = 0;
    std::size_t easts = 0;
    for (double east : points.easts)
        if (!std::isnan(east)) {
            eastSum += east;
            ++easts;
        }
    meanEast_ =
        easts == 0 ? kUnusable.X : static_cast<double>(eastSum / static_cast<long double>(easts));
    return FileLoad::Loaded;
}

std::size_t PointList::pointsIn(std::string_view lines) {
    std::size_t count = 0;
    LineReader reader(lines);
    for (std::string_view line; reader.next(line);)
        count += isBlank(line) ? 0 : 1;
    return count;
}

void PointList::readPoints(std::string_view lines, std::size_t offset, Points &points,
                           std::size_t first) {
    LineReader reader(lines);
    std::size_t row = first;
    for (std::string_view line; reader.next(line);) {
        if (isBlank(line))
            continue;
        // The numbers are read while the line is at hand, in one pass over the job.
        points.rows[row] = {static_cast<std::uint32_t>(offset + (line.data() - lines.data())),
                            static_cast<std::uint32_t>(line.size())};
        points.coordinates[row] =
            usableXyzOf(fieldOf(line, X), fieldOf(line, Y), fieldOf(line, Z)).value_or(kUnusable);
        const std::string_view east = fieldOf(line, East);
        points.easts[row] = beginsWithNumber(east) ? numericValue(east) : kUnusable.X;
        ++row;
    }
}

std::string_view PointList::field(std::size_t row, int column) const {
    return fieldOf(line(row), column);
}

std::string_view PointList::fieldOf(std::string_view line, int column) {
    if (column < 1 || column > kColumns)
        return {};
    const FieldLayout &layout = kLayout[static_cast<std::size_t>(column - 1)];
    return trimBlanks(columns(line.substr(0, kLineWidth), layout.from, layout.width));
}

std::string_view PointList::varianceColumns(std::size_t row) const {
    return columns(line(row), kVarianceFrom, kVarianceWidth);
}

std::optional<Xyz> PointList::usableCoordinates(std::size_t row) const {
    if (row < 1 || row > coordinates_.size() || std::isnan(coordinates_[row - 1].X))
        return std::nullopt;
    return coordinates_[row - 1];
}

std::string_view PointList::line(std::size_t row) const {
    if (row < 1 || row > rows_.size())
        return {};
    const Line &at = rows_[row - 1];
    return std::string_view(bytes_).substr(at.offset, at.length);
}

} // namespace ferolan
