#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The edge between the logic's Windows-1252 bytes and Qt's Unicode strings.
namespace ferolan {

QString toQString(std::string_view cp1252);

// Empty when the text holds a character that Windows-1252 cannot hold.
std::optional<std::string> toCp1252(const QString &text);

bool fitsCp1252(const QString &text);

QString pathToQString(const std::filesystem::path &path);
std::filesystem::path toPath(const QString &path);

// The user's decimal separator as the logic writes it: "," where the system uses a comma,
// "." otherwise (the finishing pass of the booklet maps only the comma).
char userDecimalSeparator();

} // namespace ferolan
