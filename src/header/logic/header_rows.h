#pragma once

#include "header/logic/header_data.h"

#include <string>

// Rows 0 and 9 of the booklet, made of the header data, each with its CR LF, as the temporary
// booklet holds them (decimal commas and ";" until the finishing pass).
namespace ferolan {

std::string row0(const HeaderData &header);
std::string row9(const HeaderData &header);

} // namespace ferolan
