#pragma once

#include "header/logic/header_data.h"

#include <optional>
#include <string>

namespace ferolan {

// The checks of " Avanti" in their fixed order, the province first: the first that fails gives its
// message (UTF-8), nothing when the header may go on. A field counts as empty only when it is the
// empty string; lengths count characters. Last come the fields holding "|", the booklet's
// field separator, which would shift every field after it.
std::optional<std::string> Controlla_intestazione(const HeaderData &header);

// The same first failing check, with the field at fault.
struct HeaderProblem {
    std::string message;
    std::string HeaderData::*field;
};
std::optional<HeaderProblem> headerProblem(const HeaderData &header);

} // namespace ferolan
