#pragma once

#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <functional>
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

// Marks every row "V", as the user marking each of them would, except a point listed again
// in the job (same number, sheet and municipality): it is archived once, at its first row.
void markEveryPointOnce(PfGrid &grid);

// The rows archiving has passed and appended: they stay in the archive whatever stops the
// run afterwards.
std::size_t archivedCount(const PfGrid &grid);

// " Un punto fiduciale è già stato archiviato e resta nell'archivio." or " <N> punti
// fiduciali sono già stati archiviati e restano nell'archivio." (UTF-8), for the message of
// a run that stops after archiving, so that the user does not archive them again; empty for 0.
std::string archivedNote(std::size_t archived);

// For tests: the next Archivia_pf runs `afterArchiving` once every row is passed, as a
// failure right after archiving (memory running out, say) would strike.
void onNextArchivingDoneForTesting(std::function<void()> afterArchiving);

// "L'archivio <file> è in uso da un altro programma." (UTF-8)
std::string archiveBusyMessage(const std::filesystem::path &file);

} // namespace ferolan
