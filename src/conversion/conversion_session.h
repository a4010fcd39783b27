#pragma once

#include "booklet/logic/booklet_rows.h"
#include "booklet/logic/booklet_source.h"
#include "booklet/logic/trasforma_libretto.h"
#include "core/check_findings.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/pf_distances.h"
#include "fiducial/logic/pf_grid_loading.h"
#include "header/logic/header_data.h"
#include "job/point_list.h"
#include "sketch/logic/survey_sketch.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The conversion from the comparison of the fiducial points to the finished booklet, the
// same for the windows and for ferolan-batch: each front end maps the steps to its buttons or
// its order, and the outcomes to its message boxes or to messages and exit statuses.
namespace ferolan {

class Tabella_comuni;

// What the job and header stages settled. Texts are Windows-1252.
struct ConversionSetup {
    // Kept by the caller while the session lives.
    const PointList &points;
    std::string Punto_master;
    std::size_t Riga_master = 0;
    HeaderData header;
    std::string Path_pf;
    Tabella_comuni &table;
    std::filesystem::path File_libretto;
    char decimalSeparator = ',';
};

// An archived point the user may add to the booklet.
struct ArchivedChoice {
    std::string municipalityEntry, sheet, number;
    // "PF" + number + "/" + sheet + "/" + the municipality's code.
    std::string name;
    // "confermi l'inserimento nel libretto del …?" (UTF-8)
    std::string question;
    bool alreadyInBooklet = false;
};

struct AddedPoint {
    std::string name;
    std::string row;
    std::string description;
};

class ConversionSession {
public:
    explicit ConversionSession(ConversionSetup setup);
    const ConversionSetup &setup() const { return setup_; }

    // Lists the job's fiducial points and compares them with the archive, asking about
    // malformed names and telling the progress through `callbacks`. False when the user chose
    // to stop; the grid is then empty.
    bool compareFiducialPoints(const PfGridLoadingCallbacks &callbacks);
    // The comparison grid, whose marks are the archiving choices.
    PfGrid &grid() { return grid_; }
    const PfGrid &grid() const { return grid_; }
    const std::vector<std::filesystem::path> &unreadableFiles() const { return unreadable_; }

    struct Writing {
        enum class Outcome { Written, TemporaryNotCreated, ArchivingStopped, RowsNotWritten };
        Outcome outcome = Outcome::Written;
        // The cause and file when archiving stopped.
        ArchivingResult archiving;
    };
    // Creates the temporary booklet before anything is archived, appends the rows marked "V"
    // to the archive, then writes the booklet's rows. On a failure, or an exception, after
    // the temporary booklet was created it is removed; what was archived stays.
    Writing archiveAndWriteRows();
    bool archivingStarted() const { return archivingStarted_; }
    // The points appended to the archive: they stay whatever stops the conversion afterwards.
    std::size_t archivedCount() const;
    // Points another program archived between the comparison and archiving.
    const std::vector<std::string> &archivedMeanwhile() const { return archivedMeanwhile_; }
    // Said when an NRTK booklet's chosen VRS point was left out (UTF-8).
    const std::optional<std::string> &vrsNote() const { return vrsNote_; }

    // Surveyed in the job or added before: a second row of one point is never wanted.
    bool isInBooklet(std::string_view name) const;
    ArchivedChoice archivedChoice(std::string_view municipalityEntry, std::string_view sheet,
                                  std::string_view number) const;
    enum class Adding { Added, AlreadyInBooklet, ArchiveUnreadable, NotInArchive, NotWritten };
    struct AddingResult {
        Adding outcome = Adding::Added;
        // The archive file, or the temporary booklet that could not be written.
        std::filesystem::path file;
    };
    // Looks the point up in its municipality's archive file and appends its row to the
    // temporary booklet.
    AddingResult add(const ArchivedChoice &choice);
    // Takes an added point out of the list and of the temporary booklet; false when the
    // temporary booklet cannot be written, which leaves both as they were.
    bool removeAdded(std::size_t index);
    const std::vector<AddedPoint> &added() const { return added_; }

    struct Finishing {
        FinishingResult result;
        std::vector<Finding> findings;
        // "il file … è stato regolarmente creato" or its warning form (UTF-8).
        std::string createdMessage;
    };
    // Turns the temporary booklet into the booklet, checking the bytes as they are written.
    // On a failure the temporary booklet is kept, to try again.
    Finishing finish(std::chrono::year_month_day today);
    bool finished() const { return finished_; }

    // Removes the temporary booklet of a booklet that will not be finished.
    void abandon();
    std::filesystem::path temporaryBooklet() const;

    // The sketch of the survey, with the pairs of fiducial points out of tolerance in `zone`;
    // nothing when the master station has no usable coordinates.
    std::optional<SurveySketch> sketch(std::string jobName, std::string bookletName,
                                       DistanceZone zone) const;
    // The job and the grid are needed no more (no sketch will be drawn): the grid's memory is
    // given back, and the caller may empty the point list.
    void releaseJob();

private:
    BookletSource bookletSource() const;
    ProvinceArchive archive() const;

    ConversionSetup setup_;
    PfGrid grid_;
    std::set<std::size_t> leftOutRows_;
    std::vector<std::filesystem::path> unreadable_;
    bool temporaryCreated_ = false;
    bool archivingStarted_ = false;
    std::optional<std::size_t> archivedAtRelease_;
    std::vector<std::string> archivedMeanwhile_;
    std::optional<std::string> vrsNote_;
    Xyz Coord_master;
    // The temporary booklet's own rows, before any archived point; and the lines expected.
    std::uintmax_t writtenLength_ = 0;
    std::size_t bookletLines_ = 0;
    std::vector<AddedPoint> added_;
    bool finished_ = false;
};

} // namespace ferolan
