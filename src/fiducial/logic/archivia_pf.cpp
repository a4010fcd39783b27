#include "fiducial/logic/archivia_pf.h"

#include "core/cp1252.h"
#include "core/text.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>
#include <utility>

namespace ferolan {
namespace {

std::string keyText(const PfKey &key) {
    return std::string(key.numero) + '/' + std::string(key.foglio) + '/' +
           std::string(key.codice_comune);
}

// What archiving knows of one municipality file: how far it has read it, and the keys other
// programs appended since the comparison.
struct WatchedFile {
    AppendWatch watch;
    std::set<std::string> keysOfOthers;
};

std::function<void()> pendingFault;

} // namespace

void markEveryPointOnce(PfGrid &grid) {
    std::set<std::string> marked;
    for (PfGridRow &row : grid)
        row.cell(PfGridRow::Mark) =
            marked.insert(keyText(Scomponi_nome_pf(row.cell(PfGridRow::Name)))).second
                ? kArchiveMark
                : kSkipMark;
}

std::size_t archivedCount(const PfGrid &grid) {
    return static_cast<std::size_t>(std::count_if(grid.begin(), grid.end(), [](auto &row) {
        return row.passedByArchiving && row.cell(PfGridRow::Mark) == kArchiveMark;
    }));
}

std::string archivedNote(std::size_t archived) {
    if (archived == 0)
        return {};
    return archived == 1 ? " Un punto fiduciale è già stato archiviato e resta nell'archivio."
                         : " " + std::to_string(archived) +
                               " punti fiduciali sono già stati archiviati e restano "
                               "nell'archivio.";
}

void onNextArchivingDoneForTesting(std::function<void()> afterArchiving) {
    pendingFault = std::move(afterArchiving);
}

ArchivingResult Archivia_pf(PfGrid &grid, const ProvinceArchive &archive) {
    ArchivingResult result;
    std::map<std::filesystem::path, WatchedFile> watched;
    for (PfGridRow &row : grid) {
        if (row.cell(PfGridRow::Mark) == kArchiveMark) {
            // The code table is asked again for every point, as the file may have changed.
            const std::string &name = row.cell(PfGridRow::Name);
            PfFile file = pfFileOf(archive, name);
            if (file.status == PfFile::TableUnreadable)
                return {ArchivingResult::TableUnreadable, file.path, {}};
            if (file.status != PfFile::Ok)
                return {ArchivingResult::AppendFailed, file.path, {}};
            // A point of another province than the header's may need its folder.
            std::error_code ignored;
            std::filesystem::create_directory(file.path.parent_path(), ignored);

            auto [entry, isNew] = watched.try_emplace(file.path);
            WatchedFile &known = entry->second;
            if (isNew)
                known.watch.seenUpTo = row.archiveLengthCompared;
            // Only a point the comparison found new is checked: one the user chose to archive
            // again is appended as asked.
            const bool foundNew = row.cell(PfGridRow::Used) == kNotUsed;
            const std::string key = keyText(Scomponi_nome_pf(name));
            known.watch.stillWanted = [&known, &key, foundNew](std::string_view unseen) {
                for (std::string_view line : splitLines(unseen))
                    known.keysOfOthers.insert(keyText(recordKey(line)));
                return !foundNew || !known.keysOfOthers.contains(key);
            };
            AppendOutcome outcome =
                foundNew && known.keysOfOthers.contains(key)
                    ? AppendOutcome::Declined
                    : appendPfRecord(file.path, name, row.cell(PfGridRow::Description),
                                     row.cell(PfGridRow::X), row.cell(PfGridRow::Y),
                                     row.cell(PfGridRow::Z), &known.watch);
            switch (outcome) {
            case AppendOutcome::Appended:
                break;
            case AppendOutcome::Declined:
                result.archivedMeanwhile.push_back(name);
                row.cell(PfGridRow::Mark) = kSkipMark;
                break;
            case AppendOutcome::Busy:
                return {ArchivingResult::Busy, file.path, std::move(result.archivedMeanwhile)};
            case AppendOutcome::Failed:
                return {ArchivingResult::AppendFailed, file.path,
                        std::move(result.archivedMeanwhile)};
            }
        }
        row.passedByArchiving = true;
    }
    if (std::function<void()> fault = std::exchange(pendingFault, nullptr))
        fault();
    return result;
}

std::string archiveBusyMessage(const std::filesystem::path &file) {
    return "L'archivio " + utf8FromPath(file) + " è in uso da un altro programma.";
}

} // namespace ferolan
