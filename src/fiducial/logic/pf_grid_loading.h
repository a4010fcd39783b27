#pragma once

#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace ferolan {

class PointList;

enum class MalformedNameAnswer { Continue, Stop };

struct PfGridLoading {
    // The user chose to stop at a malformed name; nothing else here counts then.
    bool stopped = false;
    PfGrid grid;
    // Point list rows of PF names with a wrong layout, left out of the grid (and so of the
    // archive and the booklet).
    std::vector<std::size_t> skippedRows;
    // Files that could not be read, each once: archive files and the code table.
    std::vector<std::filesystem::path> unreadableFiles;
};

struct PfGridLoadingCallbacks {
    // Asked for a point named "PF..." without "/" at characters 5 and 10; gets the name
    // without surrounding blanks.
    std::function<MalformedNameAnswer(std::string_view name)> askAboutMalformedName;
    // Told before each point is compared; gets its number among the valid points, from 1.
    std::function<void(std::size_t pfCount)> showProgress;
};

// Lists the job's fiducial points in point list order, compares each with the archive and
// proposes "V" (archive it) for those the archive does not hold, each name only at its first
// occurrence. Points without usable coordinates are left out.
PfGridLoading loadPfGrid(const PointList &points, const ProvinceArchive &archive,
                         char decimalSeparator, const PfGridLoadingCallbacks &callbacks);

} // namespace ferolan
