#include "header/logic/header_defaults.h"

#include "core/text.h"

namespace ferolan {
namespace {

constexpr std::size_t kFiducialNameLength = 14;
constexpr std::size_t kCodeLength = 4;

bool isFiducialName(std::string_view name) {
    return name.size() == kFiducialNameLength && name.starts_with("PF");
}

// The value in decimal digits, padded with leading zeros to the width.
std::string zeroPadded(unsigned value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

} // namespace

std::string jobMunicipalityCode(const PointList &points) {
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        std::string_view name = points.field(row, PointList::Name);
        if (isFiducialName(name))
            return std::string(lastChars(name, kCodeLength));
    }
    return std::string(lastChars(points.field(points.rowCount(), PointList::Name), kCodeLength));
}

std::optional<std::string> commonFiducialCode(const PointList &points) {
    std::optional<std::string> code;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        std::string_view name = points.field(row, PointList::Name);
        if (!isFiducialName(name))
            continue;
        const std::string_view own = lastChars(name, kCodeLength);
        if (code && *code != own)
            return std::nullopt;
        code = std::string(own);
    }
    return code;
}

bool hasFiducialName(const PointList &points) {
    for (std::size_t row = 1; row <= points.rowCount(); ++row)
        if (isFiducialName(points.field(row, PointList::Name)))
            return true;
    return false;
}

std::string dateText(std::chrono::year_month_day date) {
    return zeroPadded(static_cast<unsigned>(date.day()), 2) +
           zeroPadded(static_cast<unsigned>(date.month()), 2) +
           zeroPadded(static_cast<unsigned>(static_cast<int>(date.year())), 4);
}

} // namespace ferolan
