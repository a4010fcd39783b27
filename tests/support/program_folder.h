#pragma once

#include "job/module1.h"
#include "scripted_dialogs.h"
#include "ui/window/app_context.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <vector>

namespace ferolan::testing {

// A program folder of its own for one test: ferolan.ini pointing at an archive folder and a
// TGO folder inside it, the export update text and the code table beside the program.
class ProgramFolder {
public:
    // `check` is the last character of the settings file's third line.
    explicit ProgramFolder(char check = '1');

    std::filesystem::path root() const;
    std::filesystem::path archive() const { return root() / "archivio"; }
    std::filesystem::path tgo() const { return root() / "tgo"; }
    std::filesystem::path settings() const { return root() / "ferolan.ini"; }
    // Where the user's own settings go during the test, instead of the real ones.
    std::filesystem::path userSettings() const { return root() / "utente"; }

    void write(const std::filesystem::path &path, const QByteArray &bytes) const;
    QByteArray read(const std::filesystem::path &path) const;

private:
    QTemporaryDir dir_;
};

// The shared state, scripted dialogs and a recording desktop of one run of the program.
struct Run {
    explicit Run(const ProgramFolder &folder, char decimalSeparator = ',')
        : context{state, folder.root(), dialogs, desktop, decimalSeparator} {}
    Module1 state;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop{dialogs.events};
    AppContext context;
};

// The expected file of the running test (and its row, blanks as "_") in `folder`.
std::filesystem::path expectedFileOf(const std::filesystem::path &folder,
                                     const QString &suffix = {});

// Compares what the user saw, then each of `files` as it is now ("(none)" when missing), with
// an expected file, the folder's path written "{root}". With FEROLAN_WRITE_EXPECTED set,
// writes the file instead, to be read over before committing.
void compareEvents(const Run &run, const ProgramFolder &folder,
                   const std::filesystem::path &expected,
                   const std::vector<std::filesystem::path> &files = {});

// The same for what a window shows: its title, then each control (by its name, else its class)
// with its text, its list (long ones by their size, first and last entry), whether it is
// disabled or hidden, and every grid cell with its tooltip and colours.
void compareSnapshot(const QWidget &window, const ProgramFolder &folder,
                     const std::filesystem::path &expected);

} // namespace ferolan::testing
