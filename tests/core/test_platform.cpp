// The platform layer, without Qt: built natively and for Windows, where it runs under Wine.
#include "core/cp1252.h"
#include "core/files.h"
#include "core/platform.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace ferolan;

namespace {

int failures = 0;

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

// A fresh folder under the system's temporary folder, with characters beyond ASCII and
// blanks in its name, as a user folder "Nicolò" or an archive "Città di prova" has.
fs::path freshFolder() {
    const fs::path folder =
        fs::temp_directory_path() /
        pathFromUtf8("ferolan prova Nicolò " +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder);
    return folder;
}

void shouldKnowTheProgramFolder(const char *argv0) {
    const fs::path folder = platform::programFolder(argv0);
    check(fs::exists(folder / fs::path(argv0).filename()) ||
              fs::exists(folder / (fs::path(argv0).filename().string() + ".exe")),
          "programFolder holds the program");
}

void shouldKnowToday() {
    const std::chrono::year_month_day today = platform::localToday();
    check(today.ok() && today.year() >= std::chrono::year{2024}, "localToday is a real day");
}

void shouldReadAndWriteUnderNonAsciiPaths(const fs::path &root) {
    const fs::path file = root / pathFromUtf8("L999 - CITTÀ DI PROVA.pf");
    check(replaceFile(file, "uno\r\n"), "replaceFile under a non-ASCII path");
    check(appendToFile(file, "due\r\n"), "appendToFile under a non-ASCII path");
    check(readFile(file).bytes == "uno\r\ndue\r\n", "readFile gives back what was written");
    check(replaceFile(file, "tre\r\n") && readFile(file).bytes == "tre\r\n",
          "replaceFile renames over an existing file");
}

} // namespace

int main(int argc, char **argv) {
    const fs::path root = freshFolder();
    shouldKnowTheProgramFolder(argc > 0 ? argv[0] : "");
    shouldKnowToday();
    shouldReadAndWriteUnderNonAsciiPaths(root);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    std::printf("%s\n", failures == 0 ? "test_platform: ok" : "test_platform: FAILED");
    return failures == 0 ? 0 : 1;
}
