#include "batch/batch_run.h"

#include "batch/dati_file.h"
#include "batch/distanze_file.h"
#include "batch/exit_status.h"
#include "booklet/logic/controllo_libretto.h"
#include "conversion/conversion_session.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/unexpected_failure.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_distances.h"
#include "header/logic/archive_folders.h"
#include "header/logic/gnss_session.h"
#include "header/logic/header_checks.h"
#include "header/logic/header_defaults.h"
#include "header/logic/tabella_comuni.h"
#include "job/delimited_job.h"
#include "job/master_station.h"
#include "job/point_list.h"
#include "job/usable_point.h"
#include "job/variance_terms.h"
#include "sketch/logic/sketch_svg.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace ferolan::batch {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCodeTableName = "cod_comuni_2.cod";
// The comparison grid is printed for scripts, with the decimal point; the finishing pass makes
// the same booklet from either separator.
constexpr char kDecimalSeparator = '.';

// Ends the run with its exit status and message.
struct Stop {
    int status;
    std::string message;
    bool withUsage = false;
};

// A file's name as the sketch writes it; characters beyond Windows-1252 become "?".
std::string cp1252Name(const fs::path &path) {
    return cp1252FromUtf8(utf8FromPath(path.filename())).value_or("?");
}

std::string quoted(const fs::path &path) {
    return "\"" + utf8FromPath(path) + "\"";
}

class BatchRun {
public:
    BatchRun(const BatchRequest &request, const BatchContext &context)
        : request_(request), context_(context), libretto_(pathFromUtf8(request.libretto)),
          tabella_(context.programFolder / kCodeTableName) {}

    int run() {
        if (request_.formato)
            format_ = readFormat(pathFromUtf8(*request_.formato));
        HeaderValues given = readDati();
        readSettings();
        loadJob();
        chooseMaster();
        fillHeader(given);
        prepareArchive();
        compareFiducialPoints();
        archiveAndWriteRows();
        addArchivedPoints();
        releaseJobUnlessSketched();
        finish();
        const int status = reportFindings();
        drawSketch();
        writeDistances();
        return status;
    }

    void discardTemporary() {
        if (session_)
            session_->abandon();
    }

    std::string bookletNotWritten() const {
        return " Il libretto non è stato scritto." + archivedNote();
    }

    // What became of the booklet and the archive when the run stops unforeseen.
    std::string stoppedNote() const {
        return session_ && session_->finished() ? " Il libretto è stato scritto." + archivedNote()
                                                : bookletNotWritten();
    }

private:
    HeaderValues readDati() {
        const fs::path file = pathFromUtf8(request_.dati);
        FileContent content = readFile(file);
        if (!content.ok())
            throw Stop{kFileProblem, "Impossibile leggere il file dei dati dell'intestazione " +
                                         quoted(file) + "."};
        DatiParsing parsing = parseDati(content.bytes, utf8FromPath(file));
        if (parsing.outcome != DatiParsing::Ok)
            throw Stop{kWrongCommandLine, parsing.problem,
                       parsing.outcome == DatiParsing::Malformed};
        return std::move(parsing.values);
    }

    void readSettings() {
        const fs::path file = settingsFile();
        FileContent content = readFile(file);
        std::optional<Settings> settings;
        if (content.ok())
            settings = parseSettings(content.bytes);
        if (!settings)
            throw Stop{kFileProblem, settingsProblemMessage(file)};
        Path_pf_ = settings->Path_pf;
    }

    void loadJob() {
        const fs::path file = pathFromUtf8(request_.lavoro);
        if (format_)
            return loadDelimitedJob(file, *format_);
        refuseUnlessLoaded(points_.loadFile(file), file, notAJobMessage(quoted(file)));
    }

    static void refuseUnlessLoaded(PointList::FileLoad outcome, const fs::path &file,
                                   std::string_view withoutPoints) {
        const std::string unreadable =
            "Impossibile leggere il file del lavoro " + quoted(file) + ".";
        if (std::optional<std::string> refusal =
                jobRefusal(outcome, quoted(file), withoutPoints, unreadable))
            throw Stop{outcome == PointList::FileLoad::ChangedWhileRead ||
                               outcome == PointList::FileLoad::Unreadable
                           ? kFileProblem
                           : kRefused,
                       *refusal};
    }

    DelimitedFormat readFormat(const fs::path &file) {
        FileContent content = readFile(file);
        if (!content.ok())
            throw Stop{kFileProblem, "Impossibile leggere il file del formato " + quoted(file)};
        FormatParsing parsing = parseFormat(content.bytes);
        if (!parsing.format)
            throw Stop{kWrongCommandLine,
                       "Il formato " + quoted(file) + " non è valido: " + parsing.problem, true};
        return std::move(*parsing.format);
    }

    void loadDelimitedJob(const fs::path &file, const DelimitedFormat &format) {
        DelimitedReading reading = readDelimitedFile(file, format);
        PointList::FileLoad outcome = reading.outcome;
        if (outcome == PointList::FileLoad::Loaded) {
            for (const std::string &message : leftOutMessages(utf8FromPath(file), reading))
                tell(message);
            for (const std::string &message : conversionMessages(reading))
                tell(message);
            outcome = points_.loadJobText(std::move(reading.jobText));
            // Lines that gave no fixed-column text: the file is not empty, the format is wrong.
            if (outcome == PointList::FileLoad::Empty)
                outcome = PointList::FileLoad::WithoutUsablePoints;
        }
        refuseUnlessLoaded(outcome, file, noDelimitedPointsMessage(quoted(file)));
    }

    // The first point row named exactly as asked, as a click on it would select it.
    void chooseMaster() {
        std::size_t row = 0;
        if (std::optional<std::string> name = cp1252FromUtf8(request_.master))
            for (std::size_t r = 1; r <= points_.rowCount() && row == 0; ++r)
                if (points_.field(r, PointList::Name) == *name)
                    row = r;
        if (row == 0 || points_.field(row, PointList::Name).empty())
            throw Stop{kRefused, "Non hai selezionato nessun punto!"};
        master_ = masterStationAt(points_, row);
        if (points_.truncatedRow() != 0)
            tell(truncatedRowMessage(quoted(pathFromUtf8(request_.lavoro)), points_));
        if (!hasUsableCoordinates(points_, row))
            throw Stop{kRefused, unusableMasterMessage(master_.Punto_master)};
        std::vector<std::string_view> names =
            pointsWithoutCoordinates(points_, master_.Punto_master);
        // The truncated row, the last one, has been told of already.
        if (points_.truncatedRow() != 0 && !names.empty() &&
            names.back() == points_.field(points_.truncatedRow(), PointList::Name))
            names.pop_back();
        for (std::string_view name : names)
            tell("Il punto " + utf8FromCp1252(name) +
                 " non ha coordinate utilizzabili: non inserito nel libretto");
    }

    void fillHeader(const HeaderValues &given) {
        HeaderData defaults;
        defaults.Cmb_prov = provinceOf(given);
        comuni_ = tabella_.Comuni_della_provincia(defaults.Cmb_prov);
        if (tabella_.lastOutcome() != ReadOutcome::Ok)
            throw Stop{kFileProblem, "Impossibile leggere la tabella dei comuni " +
                                         quoted(tabella_.file()) + "."};
        defaults.Txt_data = dateText(context_.today);
        defaults.Txt_quota = wholeNumberText(master_.Quota_master);
        defaults.Txt_estmedia = meanEastText(master_.Est_media);
        proposeSessionFromJob(defaults, points_, master_.Punto_master);
        header_ = headerDataFrom(given, defaults);
        header_.Cmb_prov = defaults.Cmb_prov;
        if (std::optional<std::string> problem =
                Controlla_intestazione(header_, {points_, master_.Punto_master}))
            throw Stop{kRefused, *problem};
        if (isNrtk(header_.Cmb_metodo) && !carriesVarianceTerms(points_))
            context_.err << kNrtkWithoutTerms << '\n';
    }

    // The job's province when the table knows its municipality; otherwise the one given, or
    // that of the municipality given; empty when none is known, which the header check
    // refuses as the window does.
    std::string provinceOf(const HeaderValues &given) {
        std::optional<std::string> ofJob = tabella_.knownProvinceOf(jobMunicipalityCode(points_));
        auto named = given.find("Cmb_prov");
        std::optional<std::string> chosen;
        if (named != given.end() && !trimBlanks(named->second).empty())
            chosen = std::string(trimBlanks(named->second));
        if (ofJob && chosen && *chosen != *ofJob)
            throw Stop{kRefused, "La provincia " + utf8FromCp1252(*chosen) +
                                     " non è quella del lavoro (" + utf8FromCp1252(*ofJob) + ")!"};
        if (ofJob)
            return *ofJob;
        if (chosen) {
            const std::vector<std::string> listed = tabella_.Elenco_province();
            if (std::find(listed.begin(), listed.end(), *chosen) == listed.end() &&
                tabella_.lastOutcome() == ReadOutcome::Ok)
                throw Stop{kRefused, "La provincia " + utf8FromCp1252(*chosen) +
                                         " non è nella tabella dei comuni."};
            return *chosen;
        }
        auto comune = given.find("Cmb_comune");
        if (comune != given.end())
            return tabella_.knownProvinceOf(columns(comune->second, 1, 4)).value_or("");
        return {};
    }

    void prepareArchive() {
        if (std::optional<std::string> problem =
                prepareArchiveFolders(Path_pf_, header_.Cmb_prov, settingsFile()))
            throw Stop{kFileProblem, *problem};
    }

    void compareFiducialPoints() {
        session_.emplace(ConversionSetup{points_, master_.Punto_master, master_.Riga_master,
                                         header_, Path_pf_, tabella_, libretto_,
                                         kDecimalSeparator});
        PfGridLoadingCallbacks callbacks{
            [this](std::string_view name) { return reportMalformedName(name); },
            [](std::size_t) {}};
        session_->compareFiducialPoints(callbacks);
        for (const fs::path &file : session_->unreadableFiles())
            tell("Impossibile leggere il file " + quoted(file) +
                 ": i punti fiduciali che ne dipendono restano senza confronto con "
                 "l'archivio e non sono proposti per l'archiviazione.");
        if (request_.confronto)
            printComparisonGrid();
        // Taken now: the grid may be let go before the booklet is finished.
        if (request_.distanze)
            pairs_ = pfPairs(session_->grid(), request_.zona);
    }

    // The first line of the window's question, and the window's answer Yes: the point is left
    // out of the comparison, the archive and the booklet.
    MalformedNameAnswer reportMalformedName(std::string_view name) {
        tell("il formato del punto " + utf8FromCp1252(name) + " non è corretto! (XX/XX/XXXX)");
        return MalformedNameAnswer::Continue;
    }

    void printComparisonGrid() const {
        for (const PfGridRow &row : session_->grid()) {
            std::string line;
            for (const std::string &cell : row.cells) {
                if (&cell != &row.cells.front())
                    line += '\t';
                line += withControlsShown(utf8FromCp1252(cell));
            }
            context_.out << line << '\n';
        }
    }

    void archiveAndWriteRows() {
        PfGrid &grid = session_->grid();
        if (request_.archivia == ArchiveChoice::Tutti)
            markEveryPointOnce(grid);
        else if (request_.archivia == ArchiveChoice::Nessuno)
            for (PfGridRow &row : grid)
                row.cell(PfGridRow::Mark) = kSkipMark;
        const ConversionSession::Writing writing = session_->archiveAndWriteRows();
        for (const std::string &name : session_->archivedMeanwhile())
            tell("Punto Fiduciale " + utf8FromCp1252(name) +
                 " già archiviato nel frattempo: non archiviato di nuovo");
        const std::string temporary = quoted(session_->temporaryBooklet());
        switch (writing.outcome) {
        case ConversionSession::Writing::Outcome::TemporaryNotCreated:
            // Before anything is archived: nothing has changed yet.
            throw Stop{kFileProblem, "Impossibile creare il file temporaneo " + temporary +
                                         ": il libretto non è stato scritto e l'archivio dei "
                                         "punti fiduciali non è stato modificato."};
        case ConversionSession::Writing::Outcome::ArchivingStopped:
            throw Stop{kFileProblem, archivingStopped(writing.archiving) + bookletNotWritten()};
        case ConversionSession::Writing::Outcome::RowsNotWritten:
            throw Stop{kFileProblem, "Impossibile scrivere il file temporaneo " + temporary + "." +
                                         bookletNotWritten()};
        case ConversionSession::Writing::Outcome::Written:
            break;
        }
        if (const std::optional<std::string> &note = session_->vrsNote())
            context_.err << *note << '\n';
    }

    std::string archivingStopped(const ArchivingResult &result) const {
        // Archiving stops at the row that failed: the first one it has not passed.
        const PfGrid &grid = session_->grid();
        auto failed = std::find_if(grid.begin(), grid.end(),
                                   [](auto &row) { return !row.passedByArchiving; });
        const std::string name =
            failed != grid.end() ? utf8FromCp1252(failed->cell(PfGridRow::Name)) : std::string();
        switch (result.outcome) {
        case ArchivingResult::TableUnreadable:
            return "Impossibile leggere la tabella dei comuni " + quoted(result.file) +
                   " per archiviare il punto fiduciale " + name + ".";
        case ArchivingResult::Busy:
            return archiveBusyMessage(result.file);
        default:
            return "Impossibile aggiungere il punto fiduciale " + name + " al file dell'archivio " +
                   quoted(result.file) + ".";
        }
    }

    void addArchivedPoints() {
        for (const std::string &nomePf : request_.aggiungi)
            if (std::optional<std::string> missing = addArchivedPoint(nomePf))
                tell("Il punto fiduciale " + utf8FromCp1252(nomePf) +
                     " non è stato aggiunto al libretto: " + *missing + ".");
    }

    // The point as the three lists of archived points would choose it: the first
    // municipality of the province with its code that has an archive file, then its sheet
    // and number there. Nothing when its row is appended, otherwise why it is not.
    std::optional<std::string> addArchivedPoint(const std::string &nomePf) {
        if (session_->isInBooklet(nomePf))
            return "è già nel libretto";
        const PfKey key = Scomponi_nome_pf(nomePf);
        for (const std::string &comune : comuni_) {
            if (columns(comune, 1, 4) != key.codice_comune || !archiveFileOf(comune))
                continue;
            const ConversionSession::AddingResult adding =
                session_->add(session_->archivedChoice(comune, key.foglio, key.numero));
            switch (adding.outcome) {
            case ConversionSession::Adding::ArchiveUnreadable:
                return "impossibile leggere il file dell'archivio " + quoted(adding.file);
            case ConversionSession::Adding::NotWritten:
                throw Stop{kFileProblem, "Impossibile aggiungere il punto fiduciale " +
                                             utf8FromCp1252(nomePf) + " al file temporaneo " +
                                             quoted(adding.file) + "." + bookletNotWritten()};
            case ConversionSession::Adding::Added:
                return std::nullopt;
            default:
                return "non si trova nel file dell'archivio " + quoted(adding.file);
            }
        }
        return "nessun comune della provincia " + utf8FromCp1252(header_.Cmb_prov) +
               " con codice " + utf8FromCp1252(key.codice_comune) +
               " ha punti fiduciali in archivio";
    }

    // The booklet is checked as it is written: the bytes checked are the bytes on the disk,
    // and a large booklet is not read back whole.
    void finish() {
        const ConversionSession::Finishing finishing = session_->finish(context_.today);
        const FinishingResult &result = finishing.result;
        switch (result.outcome) {
        case FinishingResult::Outcome::TemporaryUnreadable:
            throw Stop{kFileProblem, "Impossibile leggere il file temporaneo " +
                                         quoted(result.failedFile) + "." + bookletNotWritten()};
        case FinishingResult::Outcome::BookletUnwritable:
            throw Stop{kFileProblem, "Impossibile scrivere il libretto " +
                                         quoted(result.failedFile) +
                                         ": un libretto già presente con lo stesso nome è "
                                         "rimasto com'era." +
                                         archivedNote()};
        case FinishingResult::Outcome::Created:
            break;
        }
        findings_ = finishing.findings;
        context_.out << finishing.createdMessage << (hasErrore(findings_) ? "." : "") << '\n';
        if (!result.leftoverTemporary.empty())
            tell("Impossibile cancellare il file temporaneo " + quoted(result.leftoverTemporary) +
                 ".");
    }

    // Only the sketch needs the job after the booklet's rows: without one, a large job's
    // memory is given back before the booklet is finished and checked.
    void releaseJobUnlessSketched() {
        if (request_.schema)
            return;
        // Moved out to be destroyed: an assigned empty list could keep the bytes allocated.
        session_->releaseJob();
        [[maybe_unused]] const PointList released = std::move(points_);
        points_ = PointList();
    }

    // The booklet is kept whatever the check finds: the user decides.
    int reportFindings() const {
        for (const Finding &finding : findings_)
            tell(findingText(finding));
        return request_.severo && hasErrore(findings_) ? kBookletErrore : kDone;
    }

    // After the booklet: a sketch that cannot be drawn or written leaves the booklet as it is.
    void drawSketch() {
        if (!request_.schema)
            return;
        const fs::path file = pathFromUtf8(*request_.schema);
        std::optional<SurveySketch> sketch = session_->sketch(
            cp1252Name(pathFromUtf8(request_.lavoro)), cp1252Name(libretto_), request_.zona);
        if (!sketch)
            throw Stop{kFileProblem, "Impossibile disegnare lo schema del rilievo " + quoted(file) +
                                         ": la stazione master " +
                                         utf8FromCp1252(master_.Punto_master) +
                                         " non ha coordinate utilizzabili. Il libretto è stato "
                                         "scritto." +
                                         archivedNote()};
        if (!replaceFile(file, sketchSvg(*sketch)))
            throw Stop{kFileProblem, "Impossibile scrivere lo schema del rilievo " + quoted(file) +
                                         ". Il libretto è stato scritto." + archivedNote()};
    }

    // After the booklet, like the sketch: a file that cannot be written leaves the booklet.
    void writeDistances() const {
        if (!request_.distanze)
            return;
        for (const PfPair &pair : pairs_)
            if (!pair.inTolerance())
                context_.err << outOfToleranceWarning(pair, request_.zona) << '\n';
        const fs::path file = pathFromUtf8(*request_.distanze);
        if (!replaceFile(file, distanzeFile(pairs_)))
            throw Stop{kFileProblem, "Impossibile scrivere le distanze tra i punti fiduciali " +
                                         quoted(file) + ". Il libretto è stato scritto."};
    }

    std::optional<fs::path> archiveFileOf(std::string_view comune) const {
        std::optional<fs::path> file = Percorso_file_pf(Path_pf_, header_.Cmb_prov, comune);
        if (file && hasArchiveFile(*file))
            return file;
        return std::nullopt;
    }

    fs::path settingsFile() const { return context_.programFolder / kSettingsFileName; }

    std::string archivedNote() const {
        return ferolan::archivedNote(session_ ? session_->archivedCount() : 0);
    }

    // A message line on standard error, as a terminal may safely show it.
    void tell(const std::string &line) const { context_.err << withControlsShown(line) << '\n'; }

    const BatchRequest &request_;
    const BatchContext &context_;
    std::optional<DelimitedFormat> format_;
    const fs::path libretto_;
    Tabella_comuni tabella_;
    std::string Path_pf_;
    PointList points_;
    MasterStation master_;
    std::vector<std::string> comuni_;
    HeaderData header_;
    std::optional<ConversionSession> session_;
    std::vector<Finding> findings_;
    std::vector<PfPair> pairs_;
};

} // namespace

int runBatch(const BatchRequest &request, const BatchContext &context) {
    BatchRun run(request, context);
    try {
        return run.run();
    } catch (const Stop &stop) {
        run.discardTemporary();
        context.err << withControlsShown(stop.message) << '\n';
        if (stop.withUsage)
            context.err << '\n' << usageText();
        return stop.status;
    } catch (const std::exception &error) {
        // Out of memory for a huge job, or a file system that fails in an unforeseen way.
        run.discardTemporary();
        context.err << unexpectedFailureText(error) << run.stoppedNote() << '\n';
        return kFileProblem;
    }
}

int runVerify(const VerifyRequest &request, const BatchContext &context) {
    const fs::path file = pathFromUtf8(request.libretto);
    FileContent booklet = readFile(file);
    if (!booklet.ok()) {
        context.err << "Impossibile leggere il libretto " << quoted(file) << ".\n";
        return kFileProblem;
    }
    Tabella_comuni tabella(context.programFolder / kCodeTableName);
    tabella.Elenco_province();
    if (tabella.lastOutcome() != ReadOutcome::Ok) {
        context.err << "Impossibile leggere la tabella dei comuni " << quoted(tabella.file())
                    << ": senza la tabella i codici dei comuni non si possono controllare.\n";
        return kFileProblem;
    }
    std::vector<Finding> findings = Controlla_libretto(booklet.bytes, tabella, context.today);
    for (const Finding &finding : findings)
        context.out << withControlsShown(findingText(finding)) << '\n';
    return hasErrore(findings) ? kBookletErrore : kDone;
}

} // namespace ferolan::batch
