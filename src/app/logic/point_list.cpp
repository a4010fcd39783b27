#include "app/logic/point_list.h"

#include "app/logic/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace ferolan {
namespace {

struct FieldLayout {
    std::size_t from;
    std::size_t width;
};
constexpr std::array<FieldLayout, PointList::kColumns> kLayout = {
    {{1, 16}, {17, 36}, {53, 16}, {69, 12}, {81, 12}, {93, 12}, {105, 12}, {117, 8}}};

} // namespace

PointList::PointList() : rows_(1) {}

bool PointList::load(std::string jobBytes) {
    if (jobBytes.size() > UINT32_MAX)
        return false;
    std::vector<std::string_view> lines = splitLines(jobBytes);
    std::vector<Row> rows;
    rows.reserve(lines.empty() ? rows_.size() : lines.size());
    for (std::string_view line : lines) {
        line = line.substr(0, std::min(line.size(), kLineWidth));
        Row row;
        for (std::size_t i = 0; i < kLayout.size(); ++i) {
            std::string_view text = trimBlanks(columns(line, kLayout[i].from, kLayout[i].width));
            if (!text.empty())
                row[i] = {static_cast<std::uint32_t>(text.data() - jobBytes.data()),
                          static_cast<std::uint32_t>(text.size())};
        }
        rows.push_back(row);
    }
    if (lines.empty())
        rows.resize(rows_.size());
    bytes_ = std::move(jobBytes);
    rows_ = std::move(rows);
    return true;
}

std::string_view PointList::field(std::size_t row, int column) const {
    if (row < 1 || row > rows_.size() || column < 1 || column > kColumns)
        return {};
    const Span &span = rows_[row - 1][static_cast<std::size_t>(column - 1)];
    return std::string_view(bytes_).substr(span.offset, span.length);
}

namespace {

std::optional<double> plainNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

bool hasUsableCoordinates(const PointList &points, std::size_t row) {
    std::optional<double> x = plainNumber(points.field(row, PointList::X));
    std::optional<double> y = plainNumber(points.field(row, PointList::Y));
    std::optional<double> z = plainNumber(points.field(row, PointList::Z));
    if (!x || !y || !z)
        return false;
    const double distance = std::sqrt(*x * *x + *y * *y + *z * *z);
    return distance >= 6'000'000.0 && distance <= 6'800'000.0;
}

} // namespace ferolan
