#pragma once

#include "booklet/logic/booklet_rows.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Rows for fiducial points taken from the archive rather than surveyed in this job.
namespace ferolan {

// "PF" + number + "/" + sheet + "/" + the first 4 characters of the municipality entry.
std::string archivedPointName(std::string_view number, std::string_view sheet,
                              std::string_view municipalityEntry);

// The row 2 of an archived point: named "PF" + number + "/" + sheet + "/" + the first 4
// characters of the municipality entry, measured from the master station, and described
// by the archive record's own description with its trailing blanks removed.
std::string archivedPointRow(std::string_view number, std::string_view sheet,
                             std::string_view municipalityEntry, const Xyz &archived,
                             std::string_view description, const Xyz &Coord_master,
                             char decimalSeparator);

// "confermi l'inserimento nel libretto del PF07/0012/A123?", in UTF-8.
std::string insertionQuestion(std::string_view number, std::string_view sheet,
                              std::string_view municipalityEntry);

// Appends a row to the temporary file. The file must already hold the booklet's rows: when
// it has gone, false and nothing is written, since a booklet of archived points alone
// would be finished as if it were whole.
[[nodiscard]] bool appendToTemporaryBooklet(const std::filesystem::path &File_libretto,
                                            std::string_view row);

// Puts back the temporary file's first `writtenLength` bytes, the booklet's own rows, followed
// by `rows`, the archived points still chosen. Written beside it and renamed: a failure leaves
// it as it was. False when it has gone, is shorter than that or cannot be written.
[[nodiscard]] bool rewriteAddedRows(const std::filesystem::path &File_libretto,
                                    std::size_t writtenLength,
                                    const std::vector<std::string> &rows);

} // namespace ferolan
