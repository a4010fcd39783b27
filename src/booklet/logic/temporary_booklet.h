#pragma once

#include <filesystem>

namespace ferolan {

// The file that collects the booklet's rows until the finishing pass: the booklet's path
// with ".tmp" appended (job.dat gives job.dat.tmp).
std::filesystem::path temporaryBookletPath(const std::filesystem::path &File_libretto);

// Creates the temporary file afresh, a leftover of that name removed first. Run before anything is
// archived, so that a folder that cannot take the file stops the job while nothing has
// changed yet. False when the file cannot be created.
[[nodiscard]] bool createTemporaryBooklet(const std::filesystem::path &File_libretto);

// Removes the temporary file of a booklet that will not be finished: what it holds is no
// booklet anyone could finish.
void discardTemporaryBooklet(const std::filesystem::path &File_libretto);

} // namespace ferolan
