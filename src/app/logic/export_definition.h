#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// TGO's export definition file "asciiexp.dat" must hold the format that writes Ferolan's
// job files; the program's "aggiorna_export_tgo.txt" carries it and is appended once.
namespace ferolan {

inline constexpr std::string_view kExportDefinitionName = "asciiexp.dat";
inline constexpr std::string_view kExportBackupName = "asciiexp.dat.old";
inline constexpr std::string_view kExportUpdateName = "aggiorna_export_tgo.txt";
inline constexpr std::string_view kExportMarker = "USCITA PREGEO";

// True when a line of the text begins with the marker (exact, case-sensitive).
bool holdsPregeoExport(std::string_view definitionBytes);

struct ExportCheck {
    enum class Outcome {
        AlreadyThere,      // nothing was touched
        Appended,          // backup made, update appended
        DefinitionMissing, // asciiexp.dat or its folder does not exist
        DefinitionUnreadable,
        UpdateFailed // `file` could not be read or written; asciiexp.dat is as it was
    };
    Outcome outcome;
    std::filesystem::path file;
};

// Looks for the marker and, when it is missing, copies the definition to its backup,
// checks the copy and appends every line of the update file, each closed by CR LF (with a
// CR LF first when the definition's last line has none). All or nothing: on a failure the
// definition keeps its old content.
ExportCheck ensurePregeoExport(const std::filesystem::path &tgoFolder,
                               const std::filesystem::path &updateFile);

} // namespace ferolan
