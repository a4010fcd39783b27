#include "conversion/conversion_session.h"

#include "booklet/logic/archived_point.h"
#include "booklet/logic/controllo_libretto.h"
#include "booklet/logic/scrivi_libretto.h"
#include "booklet/logic/temporary_booklet.h"
#include "booklet/logic/vrs_mark.h"
#include "core/files.h"
#include "core/text.h"
#include "fiducial/logic/added_points.h"
#include "fiducial/logic/fiducial_archive.h"
#include "sketch/logic/sketch_pf_pairs.h"

#include <cassert>

namespace ferolan {

ConversionSession::ConversionSession(ConversionSetup setup) : setup_(std::move(setup)) {}

BookletSource ConversionSession::bookletSource() const {
    return {setup_.header,      setup_.points,           setup_.Punto_master,
            setup_.Riga_master, setup_.decimalSeparator, leftOutRows_};
}

ProvinceArchive ConversionSession::archive() const {
    return {setup_.Path_pf, setup_.header.Cmb_prov, setup_.table};
}

bool ConversionSession::compareFiducialPoints(const PfGridLoadingCallbacks &callbacks) {
    PfGridLoading loading =
        loadPfGrid(setup_.points, archive(), setup_.decimalSeparator, callbacks);
    if (loading.stopped)
        return false;
    grid_ = std::move(loading.grid);
    leftOutRows_ = std::set<std::size_t>(loading.skippedRows.begin(), loading.skippedRows.end());
    unreadable_ = std::move(loading.unreadableFiles);
    return true;
}

ConversionSession::Writing ConversionSession::archiveAndWriteRows() {
    // A second pass would append the same records to the archive again.
    assert(!archivingStarted_);
    if (!createTemporaryBooklet(setup_.File_libretto))
        return {Writing::Outcome::TemporaryNotCreated, {}};
    temporaryCreated_ = true;
    try {
        archivingStarted_ = true;
        ArchivingResult archiving = Archivia_pf(grid_, archive());
        archivedMeanwhile_ = archiving.archivedMeanwhile;
        if (archiving.outcome != ArchivingResult::Ok) {
            abandon();
            return {Writing::Outcome::ArchivingStopped, std::move(archiving)};
        }
        const BookletSource source = bookletSource();
        vrsNote_ = vrsMarkNote(source, vrsMark(source));
        std::optional<Xyz> master = Scrivi_libretto(source, setup_.File_libretto);
        if (!master) {
            abandon();
            return {Writing::Outcome::RowsNotWritten, {}};
        }
        Coord_master = *master;
        const std::optional<FileStamp> written = fileStamp(temporaryBooklet());
        writtenLength_ = written ? written->length : 0;
        // The four rows before the points, then one a point at most, added ones aside.
        bookletLines_ = setup_.points.rowCount() + 4;
        return {};
    } catch (...) {
        abandon();
        throw;
    }
}

std::size_t ConversionSession::archivedCount() const {
    return archivedAtRelease_.value_or(ferolan::archivedCount(grid_));
}

ArchivedChoice ConversionSession::archivedChoice(std::string_view municipalityEntry,
                                                 std::string_view sheet,
                                                 std::string_view number) const {
    ArchivedChoice choice{std::string(municipalityEntry), std::string(sheet), std::string(number),
                          archivedPointName(number, sheet, municipalityEntry),
                          insertionQuestion(number, sheet, municipalityEntry)};
    choice.alreadyInBooklet = isInBooklet(choice.name);
    return choice;
}

bool ConversionSession::isInBooklet(std::string_view name) const {
    std::vector<std::string> names;
    for (const AddedPoint &point : added_)
        names.push_back(point.name);
    return ferolan::isInBooklet(name, grid_, names);
}

ConversionSession::AddingResult ConversionSession::add(const ArchivedChoice &choice) {
    // Archived points are measured from the master station the booklet's rows gave.
    assert(writtenLength_ > 0 && !finished_);
    if (choice.alreadyInBooklet)
        return {Adding::AlreadyInBooklet, {}};
    std::optional<std::filesystem::path> file =
        Percorso_file_pf(setup_.Path_pf, setup_.header.Cmb_prov, choice.municipalityEntry);
    if (!file)
        return {Adding::NotInArchive, {}};
    const PfKey key{choice.number, choice.sheet, columns(choice.municipalityEntry, 1, 4)};
    PfLookup lookup = Cerca_punto_fiduciale(*file, key);
    if (lookup.outcome == LookupOutcome::Unreadable)
        return {Adding::ArchiveUnreadable, *file};
    if (lookup.outcome != LookupOutcome::Found)
        return {Adding::NotInArchive, *file};
    const Punto_fiduciale record = lookup.record();
    std::string row = archivedPointRow(choice.number, choice.sheet, choice.municipalityEntry,
                                       {record.x, record.y, record.z}, record.descrizione,
                                       Coord_master, setup_.decimalSeparator);
    if (!appendToTemporaryBooklet(setup_.File_libretto, row))
        return {Adding::NotWritten, temporaryBooklet()};
    added_.push_back({choice.name, std::move(row), std::string(trimBlanks(record.descrizione))});
    ++bookletLines_;
    return {};
}

bool ConversionSession::removeAdded(std::size_t index) {
    assert(writtenLength_ > 0 && !finished_);
    if (index >= added_.size())
        return false;
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < added_.size(); ++i)
        if (i != index)
            rows.push_back(added_[i].row);
    if (!rewriteAddedRows(setup_.File_libretto, writtenLength_, rows))
        return false;
    added_.erase(added_.begin() + static_cast<std::ptrdiff_t>(index));
    --bookletLines_;
    return true;
}

ConversionSession::Finishing ConversionSession::finish(std::chrono::year_month_day today) {
    BookletCheck check(setup_.table, today, bookletLines_);
    Finishing finishing;
    finishing.result = Trasforma_libretto(setup_.File_libretto,
                                          [&check](std::string_view piece) { check.add(piece); });
    if (!finishing.result.created())
        return finishing;
    finished_ = true;
    finishing.findings = check.findings();
    finishing.createdMessage = bookletCreatedMessage(setup_.File_libretto, finishing.findings);
    return finishing;
}

void ConversionSession::abandon() {
    if (temporaryCreated_ && !finished_)
        discardTemporaryBooklet(setup_.File_libretto);
    temporaryCreated_ = false;
}

std::filesystem::path ConversionSession::temporaryBooklet() const {
    return temporaryBookletPath(setup_.File_libretto);
}

std::optional<SurveySketch> ConversionSession::sketch(std::string jobName, std::string bookletName,
                                                      DistanceZone zone) const {
    const std::optional<VrsMark> vrs = vrsMark(bookletSource());
    std::optional<SurveySketch> drawn = buildSurveySketch(
        setup_.points, setup_.Riga_master, grid_,
        std::vector<std::size_t>(leftOutRows_.begin(), leftOutRows_.end()),
        vrs ? std::optional(vrs->row) : std::nullopt, std::move(jobName), std::move(bookletName));
    if (drawn)
        markPairsOutOfTolerance(*drawn, pfPairs(grid_, zone));
    return drawn;
}

void ConversionSession::releaseJob() {
    archivedAtRelease_ = archivedCount();
    // Moved out to be destroyed: an assigned empty grid could keep its memory.
    [[maybe_unused]] const PfGrid released = std::move(grid_);
    grid_ = PfGrid();
}

} // namespace ferolan
