#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Every file Ferolan reads or writes is Windows-1252; these turn such bytes into
// Unicode (UTF-8) and back, for file names and for the window edge.
namespace ferolan {

std::string utf8FromCp1252(std::string_view cp1252);

// Empty when the text is not valid UTF-8 or holds a character Windows-1252 has not.
std::optional<std::string> cp1252FromUtf8(std::string_view utf8);

// The same for any valid UTF-8 text, each character Windows-1252 cannot hold written as "?"
// and counted in `replaced`.
std::string cp1252FromUtf8Replacing(std::string_view utf8, std::size_t &replaced);
bool isValidUtf8(std::string_view text);

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::filesystem::path pathFromCp1252(std::string_view cp1252);
std::string utf8FromPath(const std::filesystem::path &path);

} // namespace ferolan
