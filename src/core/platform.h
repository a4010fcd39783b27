#pragma once

#include <chrono>
#include <filesystem>
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

enum class StandardStream { Output, Error };

// True when the stream is a console that must be written through the system's own call
// (Windows shows UTF-8 bytes garbled there); false for files, pipes and POSIX terminals.
bool isConsole(StandardStream stream);

// Writes UTF-8 text to a console stream.
void writeConsole(StandardStream stream, std::string_view utf8);

} // namespace ferolan::platform
