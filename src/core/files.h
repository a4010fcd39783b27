#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Whole-file reading and the careful ways of writing that keep the user's files intact.
namespace ferolan {

enum class ReadOutcome { Ok, Missing, Unreadable };

struct FileContent {
    ReadOutcome outcome = ReadOutcome::Ok;
    std::string bytes;
    bool ok() const { return outcome == ReadOutcome::Ok; }
};

FileContent readFile(const std::filesystem::path &path);

// Writes the bytes to a new file beside `path` and renames it over `path`, so that `path`
// holds either its old content or the whole new one, never a part.
bool replaceFile(const std::filesystem::path &path, std::string_view bytes);

// Appends the bytes in one write, creating the file when missing. When the file's last line
// has no line end, CR LF goes first so the new text starts a line of its own. On failure the
// file is cut back to its old length.
bool appendToFile(const std::filesystem::path &path, std::string_view bytes);

// A name that can stand as one component of a path on Windows and elsewhere: not empty,
// not "." or "..", no path separator and none of : * ? " < > | nor a control character.
bool isPlainFileName(std::string_view name);

bool isExistingFolder(const std::filesystem::path &path);
bool isExistingFile(const std::filesystem::path &path);

} // namespace ferolan
