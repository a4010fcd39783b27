#pragma once

#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ferolan {

struct ArchivingResult {
    enum Outcome { Ok, TableUnreadable, AppendFailed, Busy };
    Outcome outcome = Ok;
    // The code table or the archive file that failed.
    std::filesystem::path file;
    // Points found new by the comparison that another program archived in the meantime:
    // they were not appended again, and their mark is now "X".
    std::vector<std::string> archivedMeanwhile;
};

// Appends every row marked "V" to its municipality's archive file, in grid order, and marks
// each row passed; the province folder is created when missing. Stops at the first failure:
// the records appended before it stay (each is whole), the failed one leaves its file as it
// was, and later rows are not touched. Busy when another program keeps the file locked.
ArchivingResult Archivia_pf(PfGrid &grid, const ProvinceArchive &archive);

// "L'archivio <file> è in uso da un altro programma." (UTF-8)
std::string archiveBusyMessage(const std::filesystem::path &file);

} // namespace ferolan
