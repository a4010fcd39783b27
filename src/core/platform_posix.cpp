#include "core/platform.h"

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

} // namespace ferolan::platform
