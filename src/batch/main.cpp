// ferolan-batch: the conversion of the three windows, driven by the command line.
#include "batch/batch_run.h"
#include "batch/command_line.h"
#include "batch/console_output.h"
#include "batch/exit_status.h"
#include "batch/testing_hooks.h"
#include "core/cp1252.h"
#include "core/platform.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char **argv) {
    using namespace ferolan::batch;
    // One run and the process ends: what a stage frees is better kept for the next.
    ferolan::platform::keepFreedMemoryForReuse();
    const ConsoleOutput console(std::cout, ferolan::platform::StandardStream::Output);
    const ConsoleOutput consoleErrors(std::cerr, ferolan::platform::StandardStream::Error);
    const std::vector<std::string> texts = ferolan::platform::commandLineArguments(argc, argv);
    const std::vector<std::string_view> arguments(texts.begin(), texts.end());
    CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.kind) {
    case CommandLine::Help:
        std::cout << usageText();
        return kDone;
    case CommandLine::Wrong:
        std::cerr << commandLine.problem << "\n\n" << usageText();
        return kWrongCommandLine;
    case CommandLine::Run:
    case CommandLine::Verify:
        break;
    }
    const bool verify = commandLine.kind == CommandLine::Verify;
    const std::optional<std::string> &cartella =
        verify ? commandLine.verify.cartella : commandLine.request.cartella;
    const std::filesystem::path programFolder =
        cartella ? ferolan::pathFromUtf8(*cartella)
                 : ferolan::platform::programFolder(argc > 0 ? argv[0] : "");
    installTestingHooks(commandLine.request);
    const BatchContext context{programFolder,
                               testingToday().value_or(ferolan::platform::localToday()), std::cout,
                               std::cerr};
    return verify ? runVerify(commandLine.verify, context) : runBatch(commandLine.request, context);
}
