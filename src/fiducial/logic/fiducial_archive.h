#pragma once

#include "core/files.h"
#include "fiducial/logic/punto_fiduciale.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fiducial point archive: under Path_pf, a folder "punti_fiduciali", one folder per
// province and in it one file per municipality, named by the municipality's line of the
// code table. Every operation opens the file it needs and closes it before returning.
namespace ferolan {

class Tabella_comuni;

// The base name of a municipality's archive file: its line of the code table, or the bare
// code when the table has no line for it. Empty when the table cannot be read, since a
// guessed name would file the point in the wrong place.
std::optional<std::string> Nome_file_comune(Tabella_comuni &tabella, std::string_view codice);

// Path_pf/punti_fiduciali/<province trimmed>/<base name>.pf. Empty when the trimmed
// province or the base name cannot stand as one plain file name: such a name is never
// allowed to reach outside the province folder.
std::optional<std::filesystem::path>
Percorso_file_pf(std::string_view pathPf, std::string_view provincia, std::string_view nomeBase);

// Where the points of one province are kept: the archive folder Path_pf, the province as
// the header window shows it, and the code table that names the municipality files. The
// texts are viewed, not copied: they must outlive the value.
struct ProvinceArchive {
    std::string_view pathPf;
    std::string_view provincia;
    Tabella_comuni &tabella;
};

// The municipality file of a fiducial point, the one place where looking up and archiving
// agree on it: the name split, the base name from the code table, the path built.
struct PfFile {
    enum Status { Ok, TableUnreadable, NameUnusable };
    Status status = Ok;
    // The file; the code table when it could not be read; the path the file would have
    // when its name is not usable (for naming it in a message only).
    std::filesystem::path path;
    // The file of the same name under the header window's province, when the point's own
    // province is another: archives kept before points went to their own province hold
    // such points there.
    std::optional<std::filesystem::path> headerProvinceFile;
};

// A point is filed in the province of its own municipality code as the code table gives it;
// only a code the table does not know is filed under the header window's province.
PfFile pfFileOf(const ProvinceArchive &archive, std::string_view nomePf);

enum class LookupOutcome { Found, NoMatch, NoFile, Unreadable };

struct PfLookup {
    LookupOutcome outcome = LookupOutcome::NoMatch;
    std::string line; // the record line when found
    Punto_fiduciale record() const { return readRecord(line); }
};

// The first record of the file whose key equals the given one.
PfLookup Cerca_punto_fiduciale(const std::filesystem::path &file, const PfKey &key);

// Appends the record line and CR LF in one write, creating the file when missing (its
// folders must exist). On failure the file is left as it was.
[[nodiscard]] bool Aggiungi_punto_fiduciale(const std::filesystem::path &file,
                                            std::string_view nomePf, std::string_view descrizione,
                                            std::string_view x, std::string_view y,
                                            std::string_view z);

// Aggiungi_punto_fiduciale under the watch of appendLocked, telling how the append went.
AppendOutcome appendPfRecord(const std::filesystem::path &file, std::string_view nomePf,
                             std::string_view descrizione, std::string_view x, std::string_view y,
                             std::string_view z, AppendWatch *watch);

// A municipality has archived points when its file exists as an ordinary file.
bool hasArchiveFile(const std::filesystem::path &file);

// The municipalities of a province whose points can be added from the archive: the entries
// given (the header's list) that have a file, in their order, then the base names of the
// province folder's other ".pf" files by file name (codes the table did not know when they
// were archived), so that every archived point can be found again.
std::vector<std::string> municipalitiesWithArchive(std::string_view pathPf,
                                                   std::string_view provincia,
                                                   const std::vector<std::string> &entries);

struct ArchiveListing {
    ReadOutcome outcome = ReadOutcome::Ok;
    std::vector<std::string> entries;
};

// The sheets (characters 4-7) of the file's records, each once, in order of first appearance.
ArchiveListing sheetsInFile(const std::filesystem::path &file);

// The numbers (characters 1-2) of every record of the sheet, in file order, repeats kept.
ArchiveListing numbersOfSheet(const std::filesystem::path &file, std::string_view foglio);

} // namespace ferolan
