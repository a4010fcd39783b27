#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <optional>
#include <string>
#include <string_view>

namespace ferolan {

// The job the survey session is checked against: its points and the master station's name.
struct HeaderJob {
    const PointList &points;
    std::string_view Punto_master;
};

// The checks of " Avanti" in their fixed order, the province first: the first that fails gives its
// message (UTF-8), nothing when the header may go on. A field counts as empty only when it is the
// empty string; lengths count characters. Then come the fields holding "|", the booklet's
// field separator, which would shift every field after it, and last the survey session.
std::optional<std::string> Controlla_intestazione(const HeaderData &header, const HeaderJob &job);

// The same first failing check, with the field at fault.
struct HeaderProblem {
    std::string message;
    std::string HeaderData::*field;
};
std::optional<HeaderProblem> headerProblem(const HeaderData &header, const HeaderJob &job);

} // namespace ferolan
