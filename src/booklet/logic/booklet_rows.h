#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"
#include "job/usable_point.h"
#include "job/variance_terms.h"

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

// The survey session: the date with the start and end times, the method in capitals.
std::string row6(const HeaderData &header);

// Rows 1 and 2 take the point's name and description as the job (or the archive) holds
// them: a "|" in either would split a field in two, so it is written as a blank. A decimal
// separator other than "," or "." would survive the finishing pass and make the numbers
// unreadable, so it is written as ",".
std::string row1(std::string_view name, const Xyz &Coord_master, std::string_view description,
                 char decimalSeparator);
std::string row2(std::string_view name, const Xyz &vector, std::string_view description,
                 char decimalSeparator, const std::optional<VarianceTerms> &terms = std::nullopt);
// The same row appended to `out`, for a booklet assembled without a string per row.
void appendRow2(std::string &out, std::string_view name, const Xyz &vector,
                std::string_view description, char decimalSeparator,
                const std::optional<VarianceTerms> &terms = std::nullopt);

} // namespace ferolan
