#include "job/point_list.h"

#include "core/parallel.h"
#include "core/text.h"
#include "job/usable_point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ferolan {
namespace {

constexpr std::size_t kLeastBytesPerPart = kLeastRowsPerPart * 100;
constexpr Xyz kUnusable{std::numeric_limits<double>::quiet_NaN(), 0, 0};

struct FieldLayout {
    std::size_t from;
    std::size_t width;
};
constexpr std::array<FieldLayout, PointList::kColumns> kLayout = {
    {{1, 16}, {17, 36}, {53, 16}, {69, 12}, {81, 12}, {93, 12}, {105, 12}, {117, 8}}};

} // namespace

PointList::PointList() : rows_(1), coordinates_(1, kUnusable) {}

bool PointList::load(std::string jobBytes) {
    if (jobBytes.size() > UINT32_MAX)
        return false;
    // A large job is read in parts at once, each a run of whole lines.
    const std::vector<std::string_view> pieces = wholeLinePieces(
        jobBytes, std::clamp<std::size_t>(jobBytes.size() / kLeastBytesPerPart, 1, partCount()));
    std::vector<Points> found(pieces.size());
    runParts(pieces.size(), [&](std::size_t part) {
        // The first part's lists get room for the whole job: the other parts' points are
        // added to them, and memory set aside but never used costs nothing.
        found[part] = pointsOf(pieces[part], pieces[part].data() - jobBytes.data(),
                               part == 0 ? jobBytes.size() : pieces[part].size());
    });
    Points points = std::move(found.front());
    for (std::size_t part = 1; part < found.size(); ++part) {
        points.rows.insert(points.rows.end(), found[part].rows.begin(), found[part].rows.end());
        points.coordinates.insert(points.coordinates.end(), found[part].coordinates.begin(),
                                  found[part].coordinates.end());
    }
    if (points.rows.empty()) {
        points.rows.resize(rows_.size());
        points.coordinates.assign(rows_.size(), kUnusable);
    }
    bytes_ = std::move(jobBytes);
    rows_ = std::move(points.rows);
    coordinates_ = std::move(points.coordinates);
    return true;
}

PointList::Points PointList::pointsOf(std::string_view piece, std::ptrdiff_t offset,
                                      std::size_t roomFor) {
    Points points;
    // Room for lines of the usual width; a job of narrower lines grows as it must.
    const std::size_t expected = roomFor / kLineWidth + 1;
    points.rows.reserve(expected);
    points.coordinates.reserve(expected);
    LineReader lines(piece);
    for (std::string_view line; lines.next(line);) {
        // Blank lines, trailing ones above all, are no points.
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        // The coordinates are read while the line is at hand, in one pass over the job.
        const Line at{static_cast<std::uint32_t>(offset + (line.data() - piece.data())),
                      static_cast<std::uint32_t>(line.size())};
        points.rows.push_back(at);
        points.coordinates.push_back(
            usableXyzOf(fieldOf(line, X), fieldOf(line, Y), fieldOf(line, Z)).value_or(kUnusable));
    }
    return points;
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
