#include "core/platform.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace ferolan::platform {
namespace fs = std::filesystem;

fs::path programFolder(const char *argv0) {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        program = fs::absolute(argv0, error);
    return program.parent_path();
}

std::chrono::year_month_day localToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year{local.tm_year + 1900} /
           std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
           std::chrono::day{static_cast<unsigned>(local.tm_mday)};
}

std::vector<std::string> commandLineArguments(int argc, char **argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Up to a job of a million points, whose bytes are the largest block.
    constexpr int kKept = 256 << 20;
    mallopt(M_MMAP_THRESHOLD, kKept);
    mallopt(M_TRIM_THRESHOLD, kKept);
#endif
}

std::FILE *openStandardFile(const fs::path &path, const char *mode) {
    return std::fopen(path.c_str(), mode);
}

bool isConsole(StandardStream) {
    return false;
}

void writeConsole(StandardStream stream, std::string_view utf8) {
    std::FILE *file = stream == StandardStream::Output ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
}

namespace {

int descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

int openRetrying(const fs::path &path, int flags) {
    int handle = -1;
    do
        handle = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    while (handle < 0 && errno == EINTR);
    return handle;
}

} // namespace

File File::createNew(const fs::path &path) {
    return File(openRetrying(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW));
}

File File::openForAppend(const fs::path &path, bool &created) {
    created = false;
    int handle = openRetrying(path, O_RDWR | O_APPEND | O_CREAT | O_EXCL);
    if (handle >= 0)
        created = true;
    else if (errno == EEXIST)
        handle = openRetrying(path, O_RDWR | O_APPEND);
    return File(handle);
}

bool File::write(std::string_view bytes) {
    if (!isOpen())
        return false;
    while (!bytes.empty()) {
        ssize_t written = ::write(descriptor(handle_), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::uint64_t> File::size() const {
    struct stat status {};
    if (!isOpen() || ::fstat(descriptor(handle_), &status) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::string> File::readAt(std::uint64_t offset, std::size_t count) const {
    if (!isOpen())
        return std::nullopt;
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = ::pread(descriptor(handle_), bytes.data() + done, count - done,
                              static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

bool File::truncate(std::uint64_t size) {
    return isOpen() && ::ftruncate(descriptor(handle_), static_cast<off_t>(size)) == 0;
}

bool File::flushToDisk() {
    return isOpen() && ::fsync(descriptor(handle_)) == 0;
}

void File::startFlushing([[maybe_unused]] std::uint64_t offset,
                         [[maybe_unused]] std::uint64_t count) {
#if defined(__linux__)
    if (isOpen())
        ::sync_file_range(descriptor(handle_), static_cast<off_t>(offset),
                          static_cast<off_t>(count), SYNC_FILE_RANGE_WRITE);
#endif
}

// flock belongs to the open file description: unlike a plain fcntl lock, it is not dropped
// when some other descriptor of the same file is closed in this process.
File::LockResult File::lockExclusive(std::chrono::milliseconds timeout) {
    if (!isOpen())
        return LockResult::Failed;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (::flock(descriptor(handle_), LOCK_EX | LOCK_NB) == 0)
            return LockResult::Locked;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return LockResult::Failed;
        if (std::chrono::steady_clock::now() >= deadline)
            return LockResult::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool File::isStillAt(const fs::path &path) const {
    struct stat mine {};
    struct stat named {};
    return isOpen() && ::fstat(descriptor(handle_), &mine) == 0 &&
           ::stat(path.c_str(), &named) == 0 && mine.st_dev == named.st_dev &&
           mine.st_ino == named.st_ino;
}

bool File::close() {
    if (!isOpen())
        return true;
    const int handle = descriptor(handle_);
    handle_ = -1;
    return ::close(handle) == 0;
}

bool renameOver(const fs::path &from, const fs::path &to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    fs::path folder = to.parent_path();
    if (folder.empty())
        folder = ".";
    // The rename has happened by now; some file systems cannot flush a folder, and saying
    // the rename failed would make the caller undo a change that is already in place.
    int handle = openRetrying(folder, O_RDONLY | O_DIRECTORY);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
    return true;
}

} // namespace ferolan::platform
