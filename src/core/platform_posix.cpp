#include "core/platform.h"

#include <cstdio>
#include <ctime>
#include <system_error>

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

bool isConsole(StandardStream) {
    return false;
}

void writeConsole(StandardStream stream, std::string_view utf8) {
    std::FILE *file = stream == StandardStream::Output ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
}

} // namespace ferolan::platform
