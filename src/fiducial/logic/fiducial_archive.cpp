#include "fiducial/logic/fiducial_archive.h"

#include "core/cp1252.h"
#include "core/text.h"
#include "fiducial/logic/archive_snapshot.h"
#include "header/logic/archive_folders.h"
#include "header/logic/tabella_comuni.h"

#include <set>
#include <system_error>
#include <unordered_set>

namespace ferolan {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kArchiveExtension = ".pf";

fs::path pfFilePath(std::string_view pathPf, std::string_view provincia,
                    std::string_view nomeBase) {
    std::string fileName(nomeBase);
    fileName += kArchiveExtension;
    return pathFromCp1252(pathPf) / kArchiveFolderName / pathFromCp1252(trimBlanks(provincia)) /
           pathFromCp1252(fileName);
}

} // namespace

std::optional<std::string> Nome_file_comune(Tabella_comuni &tabella, std::string_view codice) {
    std::optional<std::string> line = tabella.Riga_del_comune(codice);
    if (tabella.lastOutcome() != ReadOutcome::Ok)
        return std::nullopt;
    return line ? *line : std::string(codice);
}

std::optional<fs::path> Percorso_file_pf(std::string_view pathPf, std::string_view provincia,
                                         std::string_view nomeBase) {
    if (!isPlainFileName(trimBlanks(provincia)) || !isPlainFileName(nomeBase))
        return std::nullopt;
    return pfFilePath(pathPf, provincia, nomeBase);
}

PfFile pfFileOf(const ProvinceArchive &archive, std::string_view nomePf) {
    std::string_view code = Scomponi_nome_pf(nomePf).codice_comune;
    std::optional<std::string> nomeBase = Nome_file_comune(archive.tabella, code);
    std::optional<std::string> own = archive.tabella.knownProvinceOf(code);
    if (!nomeBase || archive.tabella.lastOutcome() != ReadOutcome::Ok)
        return {PfFile::TableUnreadable, archive.tabella.file(), {}};
    std::string_view provincia = own ? std::string_view(*own) : archive.provincia;
    std::optional<fs::path> path = Percorso_file_pf(archive.pathPf, provincia, *nomeBase);
    if (!path)
        return {PfFile::NameUnusable, pfFilePath(archive.pathPf, provincia, *nomeBase), {}};
    PfFile file{PfFile::Ok, *path, {}};
    if (own && *own != trimBlanks(archive.provincia))
        file.headerProvinceFile = Percorso_file_pf(archive.pathPf, archive.provincia, *nomeBase);
    return file;
}

PfLookup Cerca_punto_fiduciale(const fs::path &file, const PfKey &key) {
    return ArchiveSnapshot(file, WantedKeys({key})).lookup(key);
}

bool Aggiungi_punto_fiduciale(const fs::path &file, std::string_view nomePf,
                              std::string_view descrizione, std::string_view x, std::string_view y,
                              std::string_view z) {
    return appendPfRecord(file, nomePf, descrizione, x, y, z, nullptr) == AppendOutcome::Appended;
}

AppendOutcome appendPfRecord(const fs::path &file, std::string_view nomePf,
                             std::string_view descrizione, std::string_view x, std::string_view y,
                             std::string_view z, AppendWatch *watch) {
    std::string line = recordLine(nomePf, descrizione, x, y, z);
    line += kCrLf;
    return appendLocked(file, line, watch);
}

bool hasArchiveFile(const fs::path &file) {
    return isExistingFile(file);
}

std::vector<std::string> municipalitiesWithArchive(std::string_view pathPf,
                                                   std::string_view provincia,
                                                   const std::vector<std::string> &entries) {
    std::vector<std::string> listed;
    std::set<fs::path> listedFiles;
    for (const std::string &entry : entries) {
        std::optional<fs::path> file = Percorso_file_pf(pathPf, provincia, entry);
        if (file && hasArchiveFile(*file)) {
            listed.push_back(entry);
            listedFiles.insert(*file);
        }
    }
    if (!isPlainFileName(trimBlanks(provincia)))
        return listed;
    std::set<std::string> others; // ordered by file name
    std::error_code error;
    const fs::path folder = pfFilePath(pathPf, provincia, "x").parent_path();
    for (fs::directory_iterator file(folder, error), end; !error && file != end;
         file.increment(error)) {
        std::optional<std::string> name = cp1252FromUtf8(utf8FromPath(file->path().filename()));
        if (file->path().extension() == kArchiveExtension && hasArchiveFile(file->path()) &&
            !listedFiles.contains(file->path()) && name && !name->starts_with('.'))
            others.insert(name->substr(0, name->size() - kArchiveExtension.size()));
    }
    listed.insert(listed.end(), others.begin(), others.end());
    return listed;
}

ArchiveListing sheetsInFile(const fs::path &file) {
    FileContent content = readFile(file);
    ArchiveListing listing{content.outcome, {}};
    std::unordered_set<std::string_view> seen;
    for (std::string_view line : splitLines(content.bytes)) {
        std::string_view sheet = recordKey(line).foglio;
        if (seen.insert(sheet).second)
            listing.entries.emplace_back(sheet);
    }
    return listing;
}

ArchiveListing numbersOfSheet(const fs::path &file, std::string_view foglio) {
    FileContent content = readFile(file);
    ArchiveListing listing{content.outcome, {}};
    for (std::string_view line : splitLines(content.bytes))
        if (recordKey(line).foglio == foglio)
            listing.entries.emplace_back(recordKey(line).numero);
    return listing;
}

} // namespace ferolan
