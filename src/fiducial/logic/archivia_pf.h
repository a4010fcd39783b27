#pragma once

#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>

namespace ferolan {

struct ArchivingResult {
    enum Outcome { Ok, TableUnreadable, AppendFailed };
    Outcome outcome = Ok;
    // The code table or the archive file that failed.
    std::filesystem::path file;
};

// Appends every row marked "V" to its municipality's archive file, in grid order, and marks
// each row passed. Stops at the first failure: the records appended before it stay (each
// is whole), the failed one leaves its file as it was, and later rows are not touched.
ArchivingResult Archivia_pf(PfGrid &grid, const ProvinceArchive &archive);

} // namespace ferolan
