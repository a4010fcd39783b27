#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every call into the operating system that the logic makes, behind one small interface
// with a POSIX and a Windows implementation chosen at build time. Nothing else in the
// program includes a system header. Texts are UTF-8 here; the Windows side speaks UTF-16
// to the system.
namespace ferolan::platform {

// The folder of the running program file; `argv0` is used only where the system cannot
// tell the program's own path.
std::filesystem::path programFolder(const char *argv0);

// Today's date in the user's local time.
std::chrono::year_month_day localToday();

// The command line's arguments after the program name, in UTF-8 (Windows hands `argv` over
// in the ANSI code page, which cannot hold every file name).
std::vector<std::string> commandLineArguments(int argc, char **argv);

// Asks the memory allocator to keep what is freed for the allocations that follow instead of
// giving it back to the system at once, so that a short run which allocates and frees large
// blocks touches fresh pages, each a fault, less often. Where the allocator cannot, nothing
// happens.
void keepFreedMemoryForReuse();

// The file opened as std::fopen opens it, the path taken whole on Windows too (std::fopen
// there takes the ANSI code page, which cannot hold every file name); null on failure.
std::FILE *openStandardFile(const std::filesystem::path &path, const char *mode);

enum class StandardStream { Output, Error };

// True when the stream is a console that must be written through the system's own call
// (Windows shows UTF-8 bytes garbled there); false for files, pipes and POSIX terminals.
bool isConsole(StandardStream stream);

// Writes UTF-8 text to a console stream.
void writeConsole(StandardStream stream, std::string_view utf8);

// An open file for writing, closed when the value goes. Every operation answers false (or
// nothing) on failure, including on a file that is not open.
class File {
public:
    File() = default;
    File(File &&other) noexcept;
    File &operator=(File &&other) noexcept;
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    ~File();

    // A file that did not exist before, never reached through a symbolic link: an existing
    // file or link of that name makes it fail, so nothing else can ever be overwritten.
    static File createNew(const std::filesystem::path &path);
    // The file opened for appending (every write goes to its end), created when missing;
    // `created` tells whether this call created it.
    static File openForAppend(const std::filesystem::path &path, bool &created);

    bool isOpen() const;
    // All the bytes, or false.
    bool write(std::string_view bytes);
    std::optional<std::uint64_t> size() const;
    // Up to `count` bytes from `offset`, fewer at the end of the file.
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const;
    bool truncate(std::uint64_t size);
    // Waits until the data written so far are on the disk.
    bool flushToDisk();
    // Asks the system to start writing these bytes to the disk without waiting for them, so
    // that flushToDisk has less left to wait for. Where the system cannot, nothing happens.
    void startFlushing(std::uint64_t offset, std::uint64_t count);

    enum class LockResult { Locked, TimedOut, Failed };
    // An exclusive lock on the whole file between processes, held until the file is closed;
    // waits at most `timeout` for another holder to let go.
    LockResult lockExclusive(std::chrono::milliseconds timeout);
    // True while `path` still names this very file (it has not been removed or replaced).
    bool isStillAt(const std::filesystem::path &path) const;

    bool close();

private:
    // A POSIX file descriptor or a Windows handle; -1 when closed.
    explicit File(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = -1;
};

// Renames `from` over `to` and then asks the folder to record the change on the disk, so that
// a power cut leaves either the old `to` or the new one.
bool renameOver(const std::filesystem::path &from, const std::filesystem::path &to);

} // namespace ferolan::platform
