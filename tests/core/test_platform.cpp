// The platform layer, without Qt: built natively and for Windows, where it runs under Wine.
#include "core/cp1252.h"
#include "core/files.h"
#include "core/platform.h"

#include "plain_check.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace ferolan;
using plain_check::check;
using plain_check::failures;

namespace {

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

void shouldCreateOnlyNewFiles(const fs::path &root) {
    const fs::path file = root / "nuovo";
    platform::File first = platform::File::createNew(file);
    check(first.isOpen() && first.write("a") && first.flushToDisk() && first.close(),
          "createNew makes a new file");
    check(!platform::File::createNew(file).isOpen(), "createNew refuses an existing file");
    std::error_code linkError;
    fs::create_symlink(root / "bersaglio", root / "collegamento", linkError);
    if (!linkError) {
        check(!platform::File::createNew(root / "collegamento").isOpen(),
              "createNew refuses a symbolic link");
        check(!fs::exists(root / "bersaglio"), "the link's target stays untouched");
    }
}

void shouldRenameOverAnExistingFile(const fs::path &root) {
    const fs::path from = root / "da", to = root / "a";
    check(replaceFile(to, "vecchio"), "a file to replace");
    platform::File fresh = platform::File::createNew(from);
    check(fresh.write("nuovo") && fresh.flushToDisk() && fresh.close(), "a file to rename");
    check(platform::renameOver(from, to), "renameOver replaces the file");
    check(readFile(to).bytes == "nuovo" && !fs::exists(from), "the new content took its place");
}

// A second process must not get the lock while this one holds it. The child tries once,
// without waiting (a waiting lock under Wine would not show the difference).
// Runs a UTF-8 command line through the system's shell.
int runCommand(const std::string &utf8) {
#ifdef _WIN32
    // cmd.exe drops the outer pair of quotes of a command that begins with one, and takes
    // its text in UTF-16 only through the wide call.
    return _wsystem(pathFromUtf8("\"" + utf8 + "\"").wstring().c_str());
#else
    return std::system(utf8.c_str());
#endif
}

void shouldHoldTheLockAgainstAnotherProcess(const fs::path &root, const char *argv0) {
    const fs::path file = root / "archivio.pf";
    bool created = false;
    platform::File holder = platform::File::openForAppend(file, created);
    check(created && holder.lockExclusive(std::chrono::milliseconds(0)) ==
                         platform::File::LockResult::Locked,
          "the first process locks");
    const fs::path self = platform::programFolder(argv0) / fs::path(argv0).filename();
    const std::string command =
        "\"" + utf8FromPath(self) + "\" --prova-blocco \"" + utf8FromPath(file) + "\"";
    check(runCommand(command) != 0, "a second process cannot lock meanwhile");
    holder.close();
    check(runCommand(command) == 0, "the lock is free once the file is closed");
}

// Another program holding a file open, as an editor or Pregeo may hold a booklet: says
// "aperto" once the file is open, then keeps it open for the given seconds.
int holdOpen(const std::string &utf8Path, const std::string &seconds) {
    std::ifstream file(pathFromUtf8(utf8Path), std::ios::binary);
    std::printf("%s\n", file ? "aperto" : "non aperto");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(std::stoi(seconds)));
    return file ? 0 : 1;
}

// The child's side: exit 0 when the lock could be taken at once.
int tryLock(const std::string &utf8Path) {
    bool created = false;
    platform::File file = platform::File::openForAppend(pathFromUtf8(utf8Path), created);
    return file.lockExclusive(std::chrono::milliseconds(0)) == platform::File::LockResult::Locked
               ? 0
               : 1;
}

} // namespace

int main(int argc, char **argv) {
    // The arguments as UTF-8, as ferolan-batch takes them: Windows hands argv over in the
    // ANSI code page.
    const std::vector<std::string> arguments = platform::commandLineArguments(argc, argv);
    if (arguments.size() == 2 && arguments[0] == "--prova-blocco")
        return tryLock(arguments[1]);
    if (arguments.size() == 3 && arguments[0] == "--tieni-aperto")
        return holdOpen(arguments[1], arguments[2]);
    const fs::path root = freshFolder();
    shouldKnowTheProgramFolder(argc > 0 ? argv[0] : "");
    shouldKnowToday();
    shouldReadAndWriteUnderNonAsciiPaths(root);
    shouldCreateOnlyNewFiles(root);
    shouldRenameOverAnExistingFile(root);
    shouldHoldTheLockAgainstAnotherProcess(root, argc > 0 ? argv[0] : "");
    std::error_code ignored;
    fs::remove_all(root, ignored);
    std::printf("%s\n", failures == 0 ? "test_platform: ok" : "test_platform: FAILED");
    return failures == 0 ? 0 : 1;
}
