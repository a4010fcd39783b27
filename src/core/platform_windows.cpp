#include "core/platform.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include <windows.h>

#include <shellapi.h>

namespace ferolan::platform {
namespace fs = std::filesystem;

namespace {

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

std::wstring wideFromUtf8(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

HANDLE handleOf(StandardStream stream) {
    return GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

} // namespace

fs::path programFolder(const char *) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::chrono::year_month_day localToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return std::chrono::year{local.tm_year + 1900} /
           std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
           std::chrono::day{static_cast<unsigned>(local.tm_mday)};
}

std::vector<std::string> commandLineArguments(int, char **) {
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

void keepFreedMemoryForReuse() {}

std::FILE *openStandardFile(const fs::path &path, const char *mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

bool isConsole(StandardStream stream) {
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}

void writeConsole(StandardStream stream, std::string_view utf8) {
    const std::wstring wide = wideFromUtf8(utf8);
    DWORD written = 0;
    WriteConsoleW(handleOf(stream), wide.data(), static_cast<DWORD>(wide.size()), &written,
                  nullptr);
}

namespace {

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t fromHandle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

// Windows locks are mandatory: a lock over the data would stop other programs from reading
// the archive while a record is appended. Locking one byte far beyond any real file keeps
// the writers in line and leaves the data readable.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

bool sameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace

// CREATE_NEW fails on any existing name, a symbolic link included, so nothing is ever
// written through a link.
File File::createNew(const fs::path &path) {
    return File(fromHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

File File::openForAppend(const fs::path &path, bool &created) {
    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    created = handle != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
    return File(fromHandle(handle));
}

// Every write goes to the end of the file: a new file grows from its start, and an archive
// file opened for appending gets its records after whatever another process appended.
bool File::write(std::string_view bytes) {
    if (!isOpen() || !SetFilePointerEx(asHandle(handle_), {}, nullptr, FILE_END))
        return false;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::optional<std::uint64_t> File::size() const {
    LARGE_INTEGER size{};
    if (!isOpen() || !GetFileSizeEx(asHandle(handle_), &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::string> File::readAt(std::uint64_t offset, std::size_t count) const {
    if (!isOpen())
        return std::nullopt;
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        if (!ReadFile(asHandle(handle_), bytes.data() + done, chunk, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            return std::nullopt;
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool File::truncate(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return isOpen() &&
           SetFileInformationByHandle(asHandle(handle_), FileEndOfFileInfo, &end, sizeof end);
}

bool File::flushToDisk() {
    return isOpen() && FlushFileBuffers(asHandle(handle_));
}

// FlushFileBuffers always waits: the flush is left to flushToDisk.
void File::startFlushing(std::uint64_t, std::uint64_t) {}

File::LockResult File::lockExclusive(std::chrono::milliseconds timeout) {
    if (!isOpen())
        return LockResult::Failed;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        OVERLAPPED at{};
        at.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(asHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                       0, &at))
            return LockResult::Locked;
        if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING)
            return LockResult::Failed;
        if (std::chrono::steady_clock::now() >= deadline)
            return LockResult::TimedOut;
        Sleep(20);
    }
}

bool File::isStillAt(const fs::path &path) const {
    if (!isOpen())
        return false;
    HANDLE named =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    const bool same = sameFile(asHandle(handle_), named);
    CloseHandle(named);
    return same;
}

// Closing the handle lets go of the lock too.
bool File::close() {
    if (!isOpen())
        return true;
    return CloseHandle(asHandle(std::exchange(handle_, -1)));
}

// Write-through: the rename is on the disk when the call returns.
bool renameOver(const fs::path &from, const fs::path &to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace ferolan::platform
