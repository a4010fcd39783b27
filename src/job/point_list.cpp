#include "job/point_list.h"

#include "core/files.h"
#include "core/numbers.h"
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

} // namespace

PointList::PointList() : rows_(1), coordinates_(1, kUnusable), meanEast_(kUnusable.X) {}

bool PointList::load(std::string jobBytes) {
    if (jobBytes.size() > kLargestJob)
        return false;
    Points points;
    points.reserveFor(jobBytes.size());
    points.add(jobBytes, 0);
    return replaceWith(std::move(jobBytes), std::move(points), false) == FileLoad::Loaded;
}

PointList::FileLoad PointList::loadFile(const std::filesystem::path &job) {
    Points points;
    points.reserveFor(expectedLength(job));
    // The points are read from each run of lines while the rest of the file comes; the last
    // lines may be read on this thread meanwhile, into points of their own added after.
    Points last;
    auto adder = [](Points &to) {
        return [&to](std::string_view text, std::size_t from) {
            if (text.size() <= kLargestJob)
                to.add(text.substr(from), from);
        };
    };
    FileContent content = readFileFeeding(job, adder(points), adder(last));
    if (!content.ok())
        return FileLoad::Unreadable;
    if (content.changedWhileRead)
        return FileLoad::ChangedWhileRead;
    points.append(std::move(last));
    return replaceWith(std::move(content.bytes), std::move(points), true);
}

PointList::FileLoad PointList::replaceWith(std::string jobBytes, Points points, bool onlyJobs) {
    if (jobBytes.size() > kLargestJob)
        return FileLoad::Unreadable;
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
            if (beginsWithNumber(fieldOf(line, East)))
                points.easts.pop_back();
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
    for (double east : points.easts)
        eastSum += east;
    meanEast_ = points.easts.empty()
                    ? kUnusable.X
                    : static_cast<double>(eastSum / static_cast<long double>(points.easts.size()));
    return FileLoad::Loaded;
}

void PointList::Points::reserveFor(std::size_t jobLength) {
    // Room for lines of the usual width; a job of narrower lines grows as it must.
    const std::size_t expected = jobLength / kLineWidth + 1;
    rows.reserve(expected);
    coordinates.reserve(expected);
    easts.reserve(expected);
}

void PointList::Points::add(std::string_view lines, std::size_t offset) {
    LineReader reader(lines);
    for (std::string_view line; reader.next(line);) {
        // Blank lines, trailing ones above all, are no points.
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        // The numbers are read while the line is at hand, in one pass over the job.
        rows.push_back({static_cast<std::uint32_t>(offset + (line.data() - lines.data())),
                        static_cast<std::uint32_t>(line.size())});
        coordinates.push_back(
            usableXyzOf(fieldOf(line, X), fieldOf(line, Y), fieldOf(line, Z)).value_or(kUnusable));
        if (const std::string_view east = fieldOf(line, East); beginsWithNumber(east))
            easts.push_back(numericValue(east));
    }
}

void PointList::Points::append(Points later) {
    rows.insert(rows.end(), later.rows.begin(), later.rows.end());
    coordinates.insert(coordinates.end(), later.coordinates.begin(), later.coordinates.end());
    easts.insert(easts.end(), later.easts.begin(), later.easts.end());
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
