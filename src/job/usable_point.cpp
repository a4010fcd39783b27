#include "job/usable_point.h"

#include "core/cp1252.h"
#include "core/numbers.h"

#include <cmath>

namespace ferolan {
namespace {

constexpr double kInnerRadius = 6'000'000.0;
constexpr double kOuterRadius = 6'800'000.0;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool beginsWithNumber(std::string_view cell) {
    if (!cell.empty() && (cell.front() == '+' || cell.front() == '-'))
        cell.remove_prefix(1);
    if (!cell.empty() && cell.front() == '.')
        cell.remove_prefix(1);
    return !cell.empty() && isDigit(cell.front());
}

bool hasUsableCoordinates(const PointList &points, std::size_t row) {
    double squares = 0;
    for (PointList::Column column : {PointList::X, PointList::Y, PointList::Z}) {
        std::string_view cell = points.field(row, column);
        if (!beginsWithNumber(cell))
            return false;
        double value = numericValue(cell);
        squares += value * value;
    }
    double distance = std::sqrt(squares);
    return distance >= kInnerRadius && distance <= kOuterRadius;
}

std::vector<std::string_view> pointsWithoutCoordinates(const PointList &points,
                                                       std::string_view Punto_master) {
    std::vector<std::string_view> names;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        std::string_view name = points.field(row, PointList::Name);
        if (name != Punto_master && !hasUsableCoordinates(points, row))
            names.push_back(name);
    }
    return names;
}

std::string unusableMasterMessage(std::string_view Punto_master) {
    return "Il punto " + utf8FromCp1252(Punto_master) +
           " non ha coordinate utilizzabili: non può essere la stazione master.";
}

} // namespace ferolan
