#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The rows of the temporary booklet file, each returned with its CR LF. Texts are
// Windows-1252 bytes; numbers carry the user's decimal separator and coordinates are
// joined by ";" until the finishing pass turns them into Pregeo's form.
namespace ferolan {

// The vector from the master station to a point, in double precision.
Xyz Calcola_vettore(const Xyz &point, const Xyz &Coord_master);

std::string row0(const HeaderData &header);
std::string row9(const HeaderData &header);
// The survey session: the date with the start and end times, the method in capitals.
std::string row6(const HeaderData &header);

// Rows 1 and 2 take the point's name and description as the job (or the archive) holds
// them: a "|" in either would split a field in two, so it is written as a blank. A decimal
// separator other than "," or "." would survive the finishing pass and make the numbers
// unreadable, so it is written as ",".
std::string row1(std::string_view name, const Xyz &Coord_master, std::string_view description,
                 char decimalSeparator);
// The variance-covariance terms of a vector in square metres: variances of X, Y and Z, then
// covariances XY, YZ and ZX, the order row 2 carries them in.
using VarianceTerms = std::array<double, 6>;

// The terms of the job's six optional 12-character cells when each, blanks trimmed, is a
// whole number text (sign, digits with at most one point, exponent); otherwise none, and the
// row carries zeros as a job of the plain layout does.
std::optional<VarianceTerms> varianceTerms(std::string_view cells);
// Whether some point of the job carries the six terms.
bool carriesVarianceTerms(const PointList &points);

std::string row2(std::string_view name, const Xyz &vector, std::string_view description,
                 char decimalSeparator, const std::optional<VarianceTerms> &terms = std::nullopt);
// The same row appended to `out`, for a booklet assembled without a string per row.
void appendRow2(std::string &out, std::string_view name, const Xyz &vector,
                std::string_view description, char decimalSeparator,
                const std::optional<VarianceTerms> &terms = std::nullopt);

} // namespace ferolan
