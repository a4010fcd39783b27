#include "app/logic/export_definition.h"

#include "core/files.h"
#include "core/text.h"

namespace ferolan {
namespace fs = std::filesystem;

bool holdsPregeoExport(std::string_view definitionBytes) {
    for (std::string_view line : splitLines(definitionBytes))
        if (line.starts_with(kExportMarker))
            return true;
    return false;
}

ExportCheck ensurePregeoExport(const fs::path &tgoFolder, const fs::path &updateFile) {
    using Outcome = ExportCheck::Outcome;
    const fs::path definition = tgoFolder / kExportDefinitionName;
    FileContent current = readFile(definition);
    if (current.outcome == ReadOutcome::Missing)
        return {Outcome::DefinitionMissing, definition};
    if (!current.ok())
        return {Outcome::DefinitionUnreadable, definition};
    if (holdsPregeoExport(current.bytes))
        return {Outcome::AlreadyThere, definition};

    FileContent update = readFile(updateFile);
    if (!update.ok())
        return {Outcome::UpdateFailed, updateFile};
    std::string appended;
    for (std::string_view line : splitLines(update.bytes)) {
        appended += line;
        appended += kCrLf;
    }

    const fs::path backup = tgoFolder / kExportBackupName;
    if (!replaceFile(backup, current.bytes) || readFile(backup).bytes != current.bytes)
        return {Outcome::UpdateFailed, backup};
    if (!appendToFile(definition, appended)) {
        // appendToFile already cuts the file back; put the old content back should that fail.
        if (readFile(definition).bytes != current.bytes)
            replaceFile(definition, current.bytes);
        return {Outcome::UpdateFailed, definition};
    }
    return {Outcome::Appended, definition};
}

} // namespace ferolan
