#pragma once

#include "program_folder.h"

#include "app/window/window_sequence.h"

#include <QByteArray>

#include <chrono>
#include <filesystem>

namespace ferolan {
class Frm_09;
class Frm_pf;
} // namespace ferolan

namespace ferolan::testing {

// One line of a job file in its fixed columns.
QByteArray jobLine(const QByteArray &name, const QByteArray &description, const QByteArray &x = {},
                   const QByteArray &y = {}, const QByteArray &z = {}, const QByteArray &east = {},
                   const QByteArray &height = {});

// "Today" in every walk: the day after the date the walks type, 05032027.
inline constexpr std::chrono::year_month_day kWalkDay{std::chrono::year{2027}, std::chrono::March,
                                                      std::chrono::day{6}};

// A whole run of the windowed program in its own program folder, driven as a user would:
// every question and file dialog answered from the script of `run.dialogs`.
class JobWalk {
public:
    // `check`: the last character of the settings file's third line.
    explicit JobWalk(char decimalSeparator = ',', char check = '1');

    ProgramFolder folder;
    Run run;
    WindowSequence windows;

    std::filesystem::path booklet() const { return folder.root() / "lavori" / "libretto.dat"; }
    std::filesystem::path archiveFile(const char *province, const char *municipality) const;

    void start();
    // Loads the job and clicks the point row (1..N; 0: none).
    void loadJob(const QByteArray &job, int pointRow);
    // Confirms the master station and names the booklet; the header window opens.
    // `withoutCoordinates`: the job has points without usable coordinates, which the user
    // agrees to leave out.
    Frm_09 *openHeaderWindow(bool withoutCoordinates = false);
    // Fills every header field with valid values (the municipality: the first of the list).
    static void fillHeader(Frm_09 &header);
    // Presses " Avanti" in the header window; the fiducial point window opens unless loading
    // stopped.
    Frm_pf *handOff();

    // What the user saw on the whole walk (then `files` as they are now), and what a window
    // shows, compared with the files named after the running test (and its row) in `expected`.
    void compareEvents(const std::filesystem::path &expected,
                       const std::vector<std::filesystem::path> &files = {}) const;
    void compareSnapshot(const QWidget &window, const std::filesystem::path &expected) const;
};

} // namespace ferolan::testing
