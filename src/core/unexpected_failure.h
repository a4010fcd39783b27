#pragma once

#include <exception>
#include <string>

namespace ferolan {

// What the user is told of a failure nobody foresaw (UTF-8): "Memoria insufficiente." when
// memory ran out, else "Errore inatteso: <what>." with the exception's own words.
std::string unexpectedFailureText(const std::exception &failure);

} // namespace ferolan
