#include "job/point_list.h"

#include "core/text.h"

#include <algorithm>

namespace ferolan {
namespace {

struct FieldLayout {
    std::size_t from;
    std::size_t width;
};
constexpr std::array<FieldLayout, PointList::kColumns> kLayout = {
    {{1, 16}, {17, 36}, {53, 16}, {69, 12}, {81, 12}, {93, 12}, {105, 12}, {117, 8}}};

std::size_t lineCount(std::string_view text) {
    std::size_t count = 0;
    LineReader lines(text);
    for (std::string_view line; lines.next(line);)
        ++count;
    return count;
}

} // namespace

PointList::PointList() : rows_(1) {}

bool PointList::load(std::string jobBytes) {
    if (jobBytes.size() > UINT32_MAX)
        return false;
    std::vector<Row> rows;
    rows.reserve(lineCount(jobBytes));
    LineReader lines(jobBytes);
    for (std::string_view line; lines.next(line);) {
        // Blank lines, trailing ones above all, are no points.
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        auto spanOf = [&jobBytes](std::string_view text) {
            return text.empty() ? Span{}
                                : Span{static_cast<std::uint32_t>(text.data() - jobBytes.data()),
                                       static_cast<std::uint32_t>(text.size())};
        };
        Row row;
        row[kColumns] = spanOf(columns(line, kVarianceFrom, kVarianceWidth));
        line = line.substr(0, std::min(line.size(), kLineWidth));
        for (std::size_t i = 0; i < kLayout.size(); ++i)
            row[i] = spanOf(trimBlanks(columns(line, kLayout[i].from, kLayout[i].width)));
        rows.push_back(row);
    }
    if (rows.empty())
        rows.resize(rows_.size());
    bytes_ = std::move(jobBytes);
    rows_ = std::move(rows);
    return true;
}

std::string_view PointList::field(std::size_t row, int column) const {
    if (column < 1 || column > kColumns)
        return {};
    return text(row, static_cast<std::size_t>(column - 1));
}

std::string_view PointList::varianceColumns(std::size_t row) const {
    return text(row, kColumns);
}

std::string_view PointList::text(std::size_t row, std::size_t span) const {
    if (row < 1 || row > rows_.size())
        return {};
    const Span &at = rows_[row - 1][span];
    return std::string_view(bytes_).substr(at.offset, at.length);
}

} // namespace ferolan
