#include "header/logic/archive_folders.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "core/text.h"

#include <system_error>

namespace ferolan {
namespace {

std::string inQuotes(std::string_view utf8) {
    return "\"" + std::string(utf8) + "\"";
}

// Creates the folder when missing; false when it is still not a folder afterwards.
bool ensureFolder(const std::filesystem::path &folder) {
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
    return isExistingFolder(folder);
}

} // namespace

std::optional<std::string> prepareArchiveFolders(std::string_view pathPf,
                                                 std::string_view provincia,
                                                 const std::filesystem::path &settingsFile) {
    std::string settings = inQuotes(utf8FromPath(settingsFile));
    if (pathPf.empty())
        return "La cartella dell'archivio dei punti fiduciali non è indicata: completare la "
               "riga PATH_PF= del file " +
               settings + ".";
    std::filesystem::path base = pathFromCp1252(pathPf);
    if (!isExistingFolder(base))
        return "La cartella dell'archivio dei punti fiduciali " + inQuotes(utf8FromCp1252(pathPf)) +
               " non esiste: correggere la riga PATH_PF= del file " + settings + ".";

    std::string_view province = trimBlanks(provincia);
    if (!isPlainFileName(province))
        return "La provincia " + inQuotes(utf8FromCp1252(provincia)) +
               " non può essere usata come nome di una cartella dell'archivio.";

    std::filesystem::path root = base / kArchiveFolderName;
    for (const std::filesystem::path &folder : {root, root / pathFromCp1252(province)})
        if (!ensureFolder(folder))
            return "Impossibile creare la cartella " + inQuotes(utf8FromPath(folder)) + ".";
    return std::nullopt;
}

} // namespace ferolan
