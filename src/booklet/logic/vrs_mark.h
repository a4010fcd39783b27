#pragma once

#include "booklet/logic/booklet_source.h"

#include <cstddef>
#include <optional>
#include <string>

// The virtual reference point of an NRTK booklet: its row 2 comes first after row 6, marked
// "[VRS]" at the end of its last field.
namespace ferolan {

inline constexpr std::string_view kVrsMark = "[VRS]";

struct VrsMark {
    // The point-list row whose row 2 carries the mark.
    std::size_t row = 0;
    // False when the booklet leaves the chosen point out and its first row 2 stands in.
    bool chosen = true;
};

// The first row named as the chosen VRS point that the booklet carries, otherwise the first
// row 2 it carries; nothing for a method other than NRTK or a booklet without rows 2.
std::optional<VrsMark> vrsMark(const BookletSource &source);

// For the closing message, when the mark is not on the chosen point (UTF-8).
std::optional<std::string> vrsMarkNote(const BookletSource &source,
                                       const std::optional<VrsMark> &mark);

} // namespace ferolan
