#pragma once

#include <chrono>
#include <filesystem>

// Every call into the operating system that the logic makes, behind one small interface
// with a POSIX and a Windows implementation chosen at build time. Nothing else in the
// program includes a system header.
namespace ferolan::platform {

// The folder of the running program file; `argv0` is used only where the system cannot
// tell the program's own path.
std::filesystem::path programFolder(const char *argv0);

// Today's date in the user's local time.
std::chrono::year_month_day localToday();

} // namespace ferolan::platform
