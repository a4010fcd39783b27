#include "job/variance_terms.h"

#include "core/numbers.h"
#include "core/text.h"

namespace ferolan {

std::optional<VarianceTerms> varianceTerms(std::string_view cells) {
    constexpr std::size_t kCellWidth = 12;
    // Most jobs carry no terms at all: told at once, for each of their many rows.
    if (cells.empty())
        return std::nullopt;
    VarianceTerms terms;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        std::optional<double> term =
            exactNumericValue(trimBlanks(columns(cells, 1 + i * kCellWidth, kCellWidth)), true);
        if (!term)
            return std::nullopt;
        terms[i] = *term;
    }
    return terms;
}

bool carriesVarianceTerms(const PointList &points) {
    for (std::size_t row = 1; row <= points.rowCount(); ++row)
        if (varianceTerms(points.varianceColumns(row)))
            return true;
    return false;
}

} // namespace ferolan
