#pragma once

#include "core/platform.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Whole-file reading and the careful ways of writing that keep the user's files intact.
namespace ferolan {

enum class ReadOutcome { Ok, Missing, Unreadable };

struct FileContent {
    ReadOutcome outcome = ReadOutcome::Ok;
    std::string bytes;
    // The file's length or modification time differed after reading from what they were
    // when it was opened: another program cut or rewrote it meanwhile, and the bytes may be
    // part old, part new.
    bool changedWhileRead = false;
    bool ok() const { return outcome == ReadOutcome::Ok; }
};

FileContent readFile(const std::filesystem::path &path);

struct LinesRead {
    ReadOutcome outcome = ReadOutcome::Ok;
    // The bytes read.
    std::uint64_t length = 0;
};

// Reads the file a piece at a time and hands each run of whole lines to `take`, in order,
// the last line even without its line end, keeping none of them: for a large file looked
// through once for a few of its lines.
LinesRead readFileLines(const std::filesystem::path &path,
                        const std::function<void(std::string_view lines)> &take);

// The file's length as the system tells it now, 0 when it cannot: for setting room aside.
std::size_t expectedLength(const std::filesystem::path &path);

// For tests: every readFile runs `afterOpening` with its path once the file is open and
// before reading it, as another program rewriting the file at that moment would.
void onReadOpenedForTesting(std::function<void(const std::filesystem::path &)> afterOpening);

// A new file at `path` for writing. A leftover file or link of that name is removed first (a
// folder is not) and the new one is created exclusively, so a link planted there can never
// redirect the write.
platform::File createFresh(const std::filesystem::path &path);

// Writes the bytes to a new file beside `path`, flushes it to disk and renames it over
// `path`, so that `path` holds either its old content or the whole new one, never a part.
bool replaceFile(const std::filesystem::path &path, std::string_view bytes);

// How long an append waits for another program to release the file.
inline constexpr std::chrono::seconds kAppendLockWait{10};

// For tests: appends wait this long instead of kAppendLockWait.
void setAppendLockWaitForTesting(std::chrono::milliseconds wait);

enum class AppendOutcome { Appended, Declined, Busy, Failed };

// Lets the caller see, under the lock, what other programs appended since it last read the
// file, and decline its own append because of it.
struct AppendWatch {
    // The length of the file the caller has already seen; moved past the bytes read and
    // written by each append.
    std::uint64_t seenUpTo = 0;
    // Gets the bytes beyond `seenUpTo` (what others appended); false declines the append.
    std::function<bool(std::string_view unseen)> stillWanted;
};

// Appends the bytes in one write under an exclusive lock on the file, creating the file when
// missing, and flushes them to disk. When the file's last line has no line end, CR LF goes
// first so the new text starts a line of its own. Busy when another program keeps the file
// locked beyond kAppendLockWait. On failure the file is cut back to the length found under
// the lock, and a file this append created is removed while it holds nothing else, so no
// other writer's record is ever lost.
AppendOutcome appendLocked(const std::filesystem::path &path, std::string_view bytes,
                           AppendWatch *watch = nullptr);

// appendLocked without a watch: true when the bytes were appended.
bool appendToFile(const std::filesystem::path &path, std::string_view bytes);

// For tests: the next append runs `beforeLock` once its file is open and before it locks
// it, as another program acting meanwhile would; with `failPartWay` it then fails after
// writing part of its bytes, as a full disk would.
void onNextAppendForTesting(std::function<void()> beforeLock, bool failPartWay);

// A name that can stand as one component of a path on Windows and elsewhere: not empty,
// not "." or "..", no path separator and none of : * ? " < > | nor a control character.
bool isPlainFileName(std::string_view name);

bool isExistingFolder(const std::filesystem::path &path);
bool isExistingFile(const std::filesystem::path &path);

// Whether a new file can be written in the folder: a probe of a name no file has is created
// exclusively and removed again, so no existing file is ever touched.
bool canCreateFilesIn(const std::filesystem::path &folder);

// A file as it stands: the same length and modification time tell the same contents.
struct FileStamp {
    std::uintmax_t length = 0;
    std::filesystem::file_time_type modified;
    bool operator==(const FileStamp &) const = default;
};
// Nothing when the file cannot be examined.
std::optional<FileStamp> fileStamp(const std::filesystem::path &path);

} // namespace ferolan
