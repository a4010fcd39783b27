#include "core/files.h"

#include "core/text.h"

#include <cstdio>
#include <memory>
#include <system_error>

namespace ferolan {
namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle openFile(const fs::path &path, const char *mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return FileHandle(_wfopen(path.c_str(), wideMode.c_str()));
#else
    return FileHandle(std::fopen(path.c_str(), mode));
#endif
}

bool writeAll(std::FILE *file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// The last two bytes of a file, fewer when it is shorter; empty on failure.
std::string tailOf(const fs::path &path, std::uintmax_t size) {
    auto file = openFile(path, "rb");
    if (!file)
        return {};
    long count = size >= 2 ? 2 : static_cast<long>(size);
    if (std::fseek(file.get(), -count, SEEK_END) != 0)
        return {};
    std::string tail(static_cast<std::size_t>(count), '\0');
    if (std::fread(tail.data(), 1, tail.size(), file.get()) != tail.size())
        return {};
    return tail;
}

} // namespace

FileContent readFile(const fs::path &path) {
    std::error_code error;
    auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return {ReadOutcome::Missing, {}};
    if (error || !fs::is_regular_file(status))
        return {ReadOutcome::Unreadable, {}};
    auto file = openFile(path, "rb");
    if (!file)
        return {ReadOutcome::Unreadable, {}};
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, count);
    if (std::ferror(file.get()))
        return {ReadOutcome::Unreadable, {}};
    return {ReadOutcome::Ok, std::move(bytes)};
}

bool replaceFile(const fs::path &path, std::string_view bytes) {
    fs::path fresh = path;
    fresh += ".nuovo";
    {
        auto file = openFile(fresh, "wb");
        if (!file)
            return false;
        bool written = writeAll(file.get(), bytes) && std::fflush(file.get()) == 0;
        if (std::fclose(file.release()) != 0 || !written) {
            std::error_code ignored;
            fs::remove(fresh, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(fresh, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return false;
    }
    return true;
}

bool appendToFile(const fs::path &path, std::string_view bytes) {
    std::error_code error;
    bool existed = fs::exists(path, error);
    std::uintmax_t oldSize = existed ? fs::file_size(path, error) : 0;
    if (error)
        return false;

    std::string text;
    if (oldSize > 0 && !endsWithLineEnd(tailOf(path, oldSize)))
        text = kCrLf;
    text += bytes;

    auto file = openFile(path, "ab");
    if (!file)
        return false;
    bool written = writeAll(file.get(), text) && std::fflush(file.get()) == 0;
    if (std::fclose(file.release()) == 0 && written)
        return true;

    // Take back whatever part of the text reached the disk.
    std::error_code ignored;
    if (existed)
        fs::resize_file(path, oldSize, ignored);
    else
        fs::remove(path, ignored);
    return false;
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

} // namespace ferolan
