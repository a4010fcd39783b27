#include "booklet/logic/archived_point.h"

#include "booklet/logic/temporary_booklet.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/text.h"

#include <algorithm>

namespace ferolan {

std::string archivedPointName(std::string_view number, std::string_view sheet,
                              std::string_view municipalityEntry) {
    std::string name = "PF";
    name += number;
    name += '/';
    name += sheet;
    name += '/';
    name += columns(municipalityEntry, 1, 4);
    return name;
}

namespace {} // namespace

namespace {

std::string_view withoutTrailingBlanks(std::string_view text) {
    auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

} // namespace

std::string archivedPointRow(std::string_view number, std::string_view sheet,
                             std::string_view municipalityEntry, const Xyz &archived,
                             std::string_view description, const Xyz &Coord_master,
                             char decimalSeparator) {
    return row2(archivedPointName(number, sheet, municipalityEntry),
                Calcola_vettore(archived, Coord_master), withoutTrailingBlanks(description),
                decimalSeparator);
}

std::string insertionQuestion(std::string_view number, std::string_view sheet,
                              std::string_view municipalityEntry) {
    return "confermi l'inserimento nel libretto del " +
           utf8FromCp1252(archivedPointName(number, sheet, municipalityEntry)) + '?';
}

bool appendToTemporaryBooklet(const std::filesystem::path &File_libretto, std::string_view row) {
    const std::filesystem::path temporary = temporaryBookletPath(File_libretto);
    return isExistingFile(temporary) && appendToFile(temporary, row);
}

bool rewriteAddedRows(const std::filesystem::path &File_libretto, std::size_t writtenLength,
                      const std::vector<std::string> &rows) {
    const std::filesystem::path temporary = temporaryBookletPath(File_libretto);
    FileContent content = readFile(temporary);
    if (!content.ok() || content.bytes.size() < writtenLength)
        return false;
    content.bytes.resize(writtenLength);
    for (const std::string &row : rows)
        content.bytes += row;
    return replaceFile(temporary, content.bytes);
}

} // namespace ferolan
