#include "job/point_list.h"

#include "core/text.h"
#include "job/usable_point.h"

#include <array>
#include <cmath>
#include <limits>

namespace ferolan {
namespace {

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
    std::vector<Line> rows;
    rows.reserve(lineCount(jobBytes));
    LineReader lines(jobBytes);
    for (std::string_view line; lines.next(line);) {
        // Blank lines, trailing ones above all, are no points.
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        rows.push_back({static_cast<std::uint32_t>(line.data() - jobBytes.data()),
                        static_cast<std::uint32_t>(line.size())});
    }
    if (rows.empty())
        rows.resize(rows_.size());
    bytes_ = std::move(jobBytes);
    rows_ = std::move(rows);
    coordinates_.assign(rows_.size(), kUnusable);
    for (std::size_t row = 1; row <= rows_.size(); ++row)
        if (std::optional<Xyz> xyz = usableXyzOf(field(row, X), field(row, Y), field(row, Z)))
            coordinates_[row - 1] = *xyz;
    return true;
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
