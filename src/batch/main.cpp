// ferolan-batch: the conversion of the three windows, driven by the command line.
#include "app/logic/cp1252.h"
#include "batch/batch_run.h"
#include "batch/command_line.h"
#include "batch/exit_status.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folder of the program file itself, where the windowed program keeps its files too.
fs::path programFolderOf(const char *argv0) {
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

} // namespace

int main(int argc, char **argv) {
    using namespace ferolan::batch;
    const std::vector<std::string_view> arguments(argv + std::min(argc, 1), argv + argc);
    CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.kind) {
    case CommandLine::Help:
        std::cout << usageText();
        return kDone;
    case CommandLine::Wrong:
        std::cerr << commandLine.problem << "\n\n" << usageText();
        return kWrongCommandLine;
    case CommandLine::Run:
        break;
    }
    const BatchRequest &request = commandLine.request;
    const fs::path programFolder = request.cartella ? ferolan::pathFromUtf8(*request.cartella)
                                                    : programFolderOf(argc > 0 ? argv[0] : "");
    return runBatch(request, {programFolder, localToday(), std::cout, std::cerr});
}
