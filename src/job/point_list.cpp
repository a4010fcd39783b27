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
    std::vector<std::vector<Line>> found(pieces.size());
    runParts(pieces.size(), [&](std::size_t part) {
        found[part] = nonBlankLines(pieces[part], pieces[part].data() - jobBytes.data());
    });
    std::vector<Line> rows = std::move(found.front());
    for (std::size_t part = 1; part < found.size(); ++part)
        rows.insert(rows.end(), found[part].begin(), found[part].end());
    if (rows.empty())
        rows.resize(rows_.size());
    bytes_ = std::move(jobBytes);
    rows_ = std::move(rows);
    coordinates_.assign(rows_.size(), kUnusable);
    runInRanges(1, rows_.size() + 1, kLeastRowsPerPart,
                [this](std::size_t, std::size_t from, std::size_t to) {
                    for (std::size_t row = from; row < to; ++row)
                        if (std::optional<Xyz> xyz =
                                usableXyzOf(field(row, X), field(row, Y), field(row, Z)))
                            coordinates_[row - 1] = *xyz;
                });
    return true;
}

std::vector<PointList::Line> PointList::nonBlankLines(std::string_view piece,
                                                      std::ptrdiff_t offset) {
    std::vector<Line> rows;
    rows.reserve(static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n')) + 1);
    LineReader lines(piece);
    for (std::string_view line; lines.next(line);) {
        // Blank lines, trailing ones above all, are no points.
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        rows.push_back({static_cast<std::uint32_t>(offset + (line.data() - piece.data())),
                        static_cast<std::uint32_t>(line.size())});
    }
    return rows;
}

std::string_view PointList::field(std::size_t row, int column) const {
    if (column < 1 || column > kColumns)
        return {};
    const FieldLayout &layout = kLayout[static_cast<std::size_t>(column - 1)];
    return trimBlanks(columns(line(row).substr(0, kLineWidth), layout.from, layout.width));
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
