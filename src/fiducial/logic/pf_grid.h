#pragma once

#include "core/geodesy.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The comparison grid of the fiducial point window, without the window: one row per valid
// fiducial point of the job, in point list order. Texts are Windows-1252 bytes.
namespace ferolan {

struct PfGridRow {
    enum Column { Name = 1, X, Y, Z, DiffX, DiffY, DiffZ, Used, Mark, Description };
    static constexpr int kColumns = 10;

    std::array<std::string, kColumns> cells;
    // Set as archiving passes the row; the window shows the name cell green from then on.
    bool passedByArchiving = false;
    // The length of the point's archive file when it was compared: archiving reads only what
    // other programs appended after it.
    std::uint64_t archiveLengthCompared = 0;
    // For a point found in the archive: where it was surveyed today and where its first
    // record puts it, for the distances between found points.
    struct Positions {
        Geocentric today, archived;
    };
    std::optional<Positions> found;

    std::string &cell(Column column) { return cells[static_cast<std::size_t>(column - 1)]; }
    const std::string &cell(Column column) const {
        return cells[static_cast<std::size_t>(column - 1)];
    }
};

using PfGrid = std::vector<PfGridRow>;

// Column "Già usato": found in the archive, not found; empty when the archive could not be read.
inline constexpr std::string_view kUsed = "SI";
inline constexpr std::string_view kNotUsed = "NO";
// Column "Archivia": archive it (shown in teal) or not (shown in red).
inline constexpr std::string_view kArchiveMark = "V";
inline constexpr std::string_view kSkipMark = "X";

// A click on a mark: "V" becomes "X", anything else becomes "V".
inline std::string_view toggledMark(std::string_view mark) {
    return mark == kArchiveMark ? kSkipMark : kArchiveMark;
}

} // namespace ferolan
