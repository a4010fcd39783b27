#include "core/files.h"

#include "core/text.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

namespace ferolan {
namespace fs = std::filesystem;

namespace {

// How much of a file is gathered before its lines are handed on: large enough that handing
// them costs little, small enough that a province's archive is never held whole.
constexpr std::size_t kFedStretch = 256 * 1024;

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle openFile(const fs::path &path, const char *mode) {
    return FileHandle(platform::openStandardFile(path, mode));
}

// The regular file at `path` opened for reading; nothing, and why in `outcome`, otherwise.
FileHandle openForReading(const fs::path &path, ReadOutcome &outcome) {
    std::error_code error;
    auto status = fs::status(path, error);
    outcome = ReadOutcome::Unreadable;
    if (status.type() == fs::file_type::not_found)
        outcome = ReadOutcome::Missing;
    else if (!error && fs::is_regular_file(status))
        if (FileHandle file = openFile(path, "rb")) {
            outcome = ReadOutcome::Ok;
            return file;
        }
    return nullptr;
}

// What tells a file rewritten while it was read: its length and modification time.

std::function<void(const fs::path &)> readFault;

} // namespace

void onReadOpenedForTesting(std::function<void(const fs::path &)> afterOpening) {
    readFault = std::move(afterOpening);
}

LinesRead readFileLines(const fs::path &path,
                        const std::function<void(std::string_view lines)> &take) {
    LinesRead read;
    FileHandle file = openForReading(path, read.outcome);
    if (!file)
        return read;
    // The lines read and not handed yet: the start of a line whose end has not come, then
    // the piece just read.
    std::string pending;
    pending.reserve(kFedStretch);
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        read.length += count;
        pending.append(buffer, count);
        if (pending.size() < kFedStretch)
            continue;
        // Cut after a line feed, so that a CR LF is never split between two runs; looked for
        // in the piece just read only, and a piece without one waits for the next.
        const std::size_t lastLf = std::string_view(buffer, count).rfind('\n');
        if (lastLf == std::string_view::npos)
            continue;
        const std::size_t end = pending.size() - count + lastLf + 1;
        take(std::string_view(pending).substr(0, end));
        pending.erase(0, end);
    }
    if (std::ferror(file.get()))
        return {ReadOutcome::Unreadable, read.length};
    if (!pending.empty())
        take(pending);
    return read;
}

std::size_t expectedLength(const fs::path &path) {
    std::error_code error;
    const std::uintmax_t length = fs::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(length);
}

FileContent readFile(const fs::path &path) {
    ReadOutcome opened = ReadOutcome::Ok;
    FileHandle file = openForReading(path, opened);
    if (!file)
        return {opened, {}};
    const std::optional<FileStamp> opening = fileStamp(path);
    if (readFault)
        readFault(path);
    std::string bytes;
    // Room for the whole file at once: a large job is not copied over while it grows.
    bytes.reserve(expectedLength(path));
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, count);
    if (std::ferror(file.get()))
        return {ReadOutcome::Unreadable, {}};
    const bool changed = !opening || opening != fileStamp(path) || opening->length != bytes.size();
    return {ReadOutcome::Ok, std::move(bytes), changed};
}

platform::File createFresh(const fs::path &path) {
    std::error_code error;
    fs::file_status leftover = fs::symlink_status(path, error);
    if (fs::is_regular_file(leftover) || fs::is_symlink(leftover))
        fs::remove(path, error);
    return platform::File::createNew(path);
}

bool replaceFile(const fs::path &path, std::string_view bytes) {
    fs::path fresh = path;
    fresh += ".nuovo";
    platform::File file = createFresh(fresh);
    bool written = file.write(bytes) && file.flushToDisk();
    if (file.close() && written && platform::renameOver(fresh, path))
        return true;
    std::error_code ignored;
    fs::remove(fresh, ignored);
    return false;
}

namespace {

std::function<void()> pendingFault;
bool pendingFaultFails = false;
std::chrono::milliseconds lockWait = kAppendLockWait;

// The text to write after `size` bytes of the open file: CR LF first when its last line is
// still open.
std::optional<std::string> appendedText(const platform::File &file, std::uint64_t size,
                                        std::string_view bytes) {
    std::string text;
    if (size > 0) {
        std::uint64_t tailLength = size >= 2 ? 2 : size;
        std::optional<std::string> tail = file.readAt(size - tailLength, tailLength);
        if (!tail || tail->size() != tailLength)
            return std::nullopt;
        if (!endsWithLineEnd(*tail))
            text = kCrLf;
    }
    text += bytes;
    return text;
}

// False when the watch must see bytes that cannot be read.
bool showUnseen(const platform::File &file, std::uint64_t size, AppendWatch &watch, bool &wanted) {
    wanted = true;
    if (size <= watch.seenUpTo) {
        watch.seenUpTo = size;
        return true;
    }
    std::optional<std::string> unseen =
        file.readAt(watch.seenUpTo, static_cast<std::size_t>(size - watch.seenUpTo));
    if (!unseen || unseen->size() != size - watch.seenUpTo)
        return false;
    watch.seenUpTo = size;
    wanted = watch.stillWanted(*unseen);
    return true;
}

} // namespace

void onNextAppendForTesting(std::function<void()> beforeLock, bool failPartWay) {
    pendingFault = std::move(beforeLock);
    pendingFaultFails = failPartWay;
}

void setAppendLockWaitForTesting(std::chrono::milliseconds wait) {
    lockWait = wait;
}

AppendOutcome appendLocked(const fs::path &path, std::string_view bytes, AppendWatch *watch) {
    std::function<void()> fault = std::exchange(pendingFault, nullptr);
    const bool failPartWay = fault && pendingFaultFails;
    // A writer that rolled back may remove the file it had just created while this one waited
    // for the lock: then open the path again, a few times at most.
    for (int attempt = 0; attempt < 5; ++attempt) {
        bool created = false;
        platform::File file = platform::File::openForAppend(path, created);
        if (!file.isOpen())
            return AppendOutcome::Failed;
        if (fault)
            std::exchange(fault, nullptr)();
        switch (file.lockExclusive(lockWait)) {
        case platform::File::LockResult::Locked:
            break;
        case platform::File::LockResult::TimedOut:
            return AppendOutcome::Busy;
        case platform::File::LockResult::Failed:
            return AppendOutcome::Failed;
        }
        if (!file.isStillAt(path))
            continue;

        std::optional<std::uint64_t> size = file.size();
        if (!size)
            return AppendOutcome::Failed;
        bool wanted = true;
        if (watch && !showUnseen(file, *size, *watch, wanted))
            return AppendOutcome::Failed;
        if (!wanted)
            return AppendOutcome::Declined;
        std::optional<std::string> text = appendedText(file, *size, bytes);
        if (!text)
            return AppendOutcome::Failed;

        bool written = false;
        if (failPartWay)
            file.write(std::string_view(*text).substr(0, text->size() / 2));
        else
            written = file.write(*text) && file.flushToDisk();
        if (written) {
            if (watch)
                watch->seenUpTo = *size + text->size();
            return AppendOutcome::Appended;
        }
        // Take back only what this append wrote, still under the lock.
        file.truncate(*size);
        file.flushToDisk();
        if (created && *size == 0) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
        return AppendOutcome::Failed;
    }
    return AppendOutcome::Failed;
}

bool appendToFile(const fs::path &path, std::string_view bytes) {
    return appendLocked(path, bytes) == AppendOutcome::Appended;
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return true;
}

bool isExistingFolder(const fs::path &path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isExistingFile(const fs::path &path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool canCreateFilesIn(const fs::path &folder) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const fs::path probe = folder / ("ferolan_prova_" + std::to_string(entropy()) + ".tmp");
        std::error_code error;
        if (fs::symlink_status(probe, error).type() != fs::file_type::not_found)
            continue;
        platform::File file = platform::File::createNew(probe);
        if (!file.isOpen())
            return false;
        const bool closed = file.close();
        fs::remove(probe, error);
        return closed;
    }
    return false;
}

std::optional<FileStamp> fileStamp(const fs::path &path) {
    std::error_code error;
    FileStamp stamp;
    stamp.length = fs::file_size(path, error);
    if (!error)
        stamp.modified = fs::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return stamp;
}

} // namespace ferolan
