#include "core/files.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid_loading.h"
#include "fiducial/logic/punto_fiduciale.h"
#include "header/logic/tabella_comuni.h"
#include "job/point_list.h"

#include "bytes.h"
#include "cases.h"

#include <QtTest>

#include <fstream>

using namespace ferolan;
namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;

QByteArray listed(std::initializer_list<std::string_view> texts) {
    QByteArray out;
    for (std::string_view text : texts)
        out += '[' + bytes(text) + ']';
    return out;
}

std::string textOf(const fs::path &path) {
    return ferolan::readFile(path).bytes;
}

std::string dataFile(std::string_view name) {
    return textOf(kData / name);
}

// A job file line in its fixed columns: name 1-16, description 17-52, X 69-80, Y 81-92,
// Z 93-104.
std::string jobLine(std::string_view name, std::string_view description, std::string_view x,
                    std::string_view y, std::string_view z) {
    std::string line;
    for (auto [text, width] : {std::pair{name, 16},
                               {description, 36},
                               {std::string_view(), 16},
                               {x, 12},
                               {y, 12},
                               {z, 12}}) {
        line += text;
        line.resize(line.size() + static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return line + "\r\n";
}

// An archive under a temporary Path_pf with the folder of province "PROVA", and a code
// table that knows A123 and B456. The province is given with blanks, which the path drops.
class ArchiveFixture {
public:
    ArchiveFixture() {
        fs::create_directories(provinceFolder());
        writeBytes(table(), "*PROVA\r\nA123 - ALFA\r\nB456 - BETA\r\n");
    }

    fs::path root() const { return dir.path().toStdString(); }
    fs::path provinceFolder() const { return root() / "punti_fiduciali" / "PROVA"; }
    fs::path table() const { return root() / "cod_comuni_2.cod"; }
    fs::path alfa() const { return provinceFolder() / "A123 - ALFA.pf"; }
    fs::path beta() const { return provinceFolder() / "B456 - BETA.pf"; }

    const std::string &pathPf() const { return pathPf_; }
    ferolan::Tabella_comuni &tabella() { return tabella_; }
    ferolan::ProvinceArchive archive() { return {pathPf_, " PROVA ", tabella_}; }

private:
    QTemporaryDir dir;
    std::string pathPf_ = root().string(); // an ASCII temporary folder: the same bytes
    ferolan::Tabella_comuni tabella_{table()};
};

struct Job {
    PointList points;
    explicit Job(const std::string &job) {
        if (!points.load(job))
            throw std::runtime_error("job not loaded");
    }
};

std::string jobOfNames(const QStringList &names) {
    std::string job;
    for (const QString &name : names)
        job += jobLine(name.toStdString(), "", "4000000", "1000000", "4800000");
    return job;
}

// Every cell of a row, joined by "|".
QStringList cellsOf(const PfGrid &grid) {
    QStringList rows;
    for (const PfGridRow &row : grid) {
        QStringList cells;
        for (const std::string &cell : row.cells)
            cells << QString::fromStdString(cell);
        rows << cells.join('|');
    }
    return rows;
}

QStringList pathsOf(const std::vector<fs::path> &paths) {
    QStringList list;
    for (const fs::path &path : paths)
        list << QString::fromStdString(path.string());
    return list;
}

const PfGridLoadingCallbacks kQuiet{[](std::string_view) { return MalformedNameAnswer::Stop; },
                                    [](std::size_t) {}};

struct Recorder {
    QList<bool> answers; // true: continue
    QStringList asked;
    QList<int> progress;
    PfGridLoadingCallbacks callbacks() {
        return {[this](std::string_view name) {
                    asked << QString::fromStdString(std::string(name));
                    return answers.takeFirst() ? MalformedNameAnswer::Continue
                                               : MalformedNameAnswer::Stop;
                },
                [this](std::size_t count) { progress << static_cast<int>(count); }};
    }
};

} // namespace

class TestFiducialLogic : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldAnswerEachCase_data() { test_cases::addRows(kData / "fiducial_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        const QByteArray expected = fields.takeLast();
        const QByteArray op = fields.takeFirst();
        const std::string a = fields[0].toStdString();
        QByteArray answer;
        if (op == "record") {
            Punto_fiduciale record = readRecord(a);
            answer =
                listed({record.numero, record.foglio, record.codice_comune, record.descrizione});
            for (double value : {record.x, record.y, record.z})
                answer += ' ' + QByteArray::number(value, 'g', 12);
        } else if (op == "split") {
            PfKey key = Scomponi_nome_pf(a);
            answer = listed({key.numero, key.foglio, key.codice_comune});
        } else if (op == "find") {
            writeBytes(at("a.pf"), "07 0023 Z999 PRIMO\r\n07 0023 Z999 SECONDO\r\n"
                                   "08 0001 Z999 TERZO\r\n09 0001 A123\r\n"
                                   "07 0023 Z998 ULTIMO SENZA FINE RIGA");
            PfLookup found = Cerca_punto_fiduciale(at("a.pf"), Scomponi_nome_pf(a));
            answer = found.outcome == LookupOutcome::Found ? listed({found.line}) : "none";
            QCOMPARE(found.outcome == LookupOutcome::NoMatch, answer == "none");
        } else if (op == "file") {
            ArchiveFixture fixture;
            answer = bytes(Nome_file_comune(fixture.archive().tabella, a).value_or("unreadable"));
        } else if (op == "path") {
            auto path = Percorso_file_pf("/archivio", a, fields[1].toStdString());
            answer = path ? QByteArray::fromStdString(
                                fs::relative(*path, "/archivio/punti_fiduciali").string())
                          : "refused";
        } else {
            std::string_view once = toggledMark(a);
            answer = bytes(once) + ' ' + bytes(toggledMark(toggledMark(once)));
        }
        QCOMPARE(answer, expected);
    }

    // The first record is the worked example of the layout: a line of 79 characters.
    void shouldStoreRecordsByteForByte() {
        fs::path file = at("records.pf");
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF07/0023/Z999", "SPIGOLO FABBRICATO",
                                         "4321098.765", "1234567.890", "4567890.123"));
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF12/0001/A123",
                                         "DESCRIZIONE MOLTO LUNGA CHE SUPERA I TRENTA",
                                         "123456789012", "-1.5", "7"));
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF99/9999/B000", "", "1", "2", "3"));
        // A line feed would split the record in two broken ones.
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF98/0001/B000", "A\nB\tC", "1", "2", "3"));
        QCOMPARE(textOf(file), dataFile("records.pf"));

        // After a last line without a line end; and never into a folder or a missing one.
        writeBytes(at("open.pf"), "07 0023 Z999 VECCHIO");
        QVERIFY(Aggiungi_punto_fiduciale(at("open.pf"), "PF08/0023/Z999", "NUOVO", "1", "2", "3"));
        QVERIFY(textOf(at("open.pf")).starts_with("07 0023 Z999 VECCHIO\r\n08 0023 Z999 NUOVO"));
        fs::create_directory(at("taken.pf"));
        QVERIFY(!Aggiungi_punto_fiduciale(at("taken.pf"), "PF07/0023/Z999", "", "1", "2", "3"));
        QVERIFY(fs::is_directory(at("taken.pf")));
        QVERIFY(!Aggiungi_punto_fiduciale(at("no-folder") / "x.pf", "PF07/0023/Z999", "", "1", "2",
                                          "3"));
        QVERIFY(!fs::exists(at("no-folder")));
    }

    void shouldTellNoMatchNoFileAndUnreadable() {
        PfKey key = Scomponi_nome_pf("PF07/0023/Z999");
        writeBytes(at("empty.pf"), "");
        QCOMPARE(Cerca_punto_fiduciale(at("empty.pf"), key).outcome, LookupOutcome::NoMatch);
        QCOMPARE(Cerca_punto_fiduciale(at("none.pf"), key).outcome, LookupOutcome::NoFile);
        fs::create_directory(at("folder.pf"));
        QCOMPARE(Cerca_punto_fiduciale(at("folder.pf"), key).outcome, LookupOutcome::Unreadable);
        ArchiveFixture fixture;
        fs::remove(fixture.table());
        fs::create_directory(fixture.table());
        QCOMPARE(Nome_file_comune(fixture.archive().tabella, "A123"), std::nullopt);
    }

    void shouldListSheetsAndNumbersInFileOrder() {
        writeBytes(at("list.pf"), "07 0023 Z999\r\n01 0001 Z999\r\n07 0023 Z999\r\n"
                                  "03 0002 Z999\r\n02 0023 Z999");
        QCOMPARE(sheetsInFile(at("list.pf")).entries,
                 (std::vector<std::string>{"0023", "0001", "0002"}));
        QCOMPARE(numbersOfSheet(at("list.pf"), "0023").entries,
                 (std::vector<std::string>{"07", "07", "02"}));
        QCOMPARE(sheetsInFile(at("none.pf")).outcome, ReadOutcome::Missing);
        QVERIFY(hasArchiveFile(at("list.pf")));
        QVERIFY(!hasArchiveFile(at("none.pf")));
        QVERIFY(!hasArchiveFile(at("folder.pf")));
    }

    void shouldCompareEveryPfWithTheArchive() {
        ArchiveFixture fixture;
        // Records with LF line ends, as a file copied through another system has them.
        writeBytes(fixture.alfa(), "05 0023 A123 ALTRO\n"
                                   "07 0023 A123 PRIMO                          4321098.765 "
                                   "1234567.890 4567890.123\n"
                                   "07 0023 A123 DOPPIO                         1.000       "
                                   "1.000       1.000\r\n");
        writeBytes(fixture.provinceFolder() / "C789.pf", "02 0001 C789");
        writeBytes(fixture.provinceFolder() / "E111.pf", "");
        fs::create_directory(fixture.provinceFolder() / "D000.pf");
        Job job(dataFile("compare_job.txt"));
        Recorder recorder;

        PfGridLoading loading =
            loadPfGrid(job.points, fixture.archive(), ',', recorder.callbacks());

        QVERIFY(!loading.stopped);
        QCOMPARE(cellsOf(loading.grid).join('\n') + '\n',
                 QString::fromStdString(dataFile("compare_job.expected")));
        QCOMPARE(recorder.progress, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(pathsOf(loading.unreadableFiles), pathsOf({fixture.provinceFolder() / "D000.pf"}));
        QVERIFY(loading.skippedRows.empty());
    }

    void shouldAskAboutMalformedNames_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QList<int>>("skippedRows");
        QStringList names{"PF1/0023/A123",  "PF07/0023/A123", "PF07/002",
                          "PF08-0023/A123", "PF08/0023A123",  "PF08/0023/A123"};
        QStringList malformed{"PF1/0023/A123", "PF07/002", "PF08-0023/A123", "PF08/0023A123"};
        QTest::newRow("continue: the count does not advance")
            << names << QList<bool>{true, true, true, true} << malformed << QList<int>{1, 2}
            << QStringList{"PF07/0023/A123", "PF08/0023/A123"} << false << QList<int>{1, 3, 4, 5};
        QTest::newRow("stop at the second")
            << names << QList<bool>{true, false} << malformed.mid(0, 2) << QList<int>{1}
            << QStringList{} << true << QList<int>{1};
        QTest::newRow("no fiducial point")
            << QStringList{"STAZIONE", "pf01/0001/A123", "Pf01/0001/A123", "P", ""} << QList<bool>{}
            << QStringList{} << QList<int>{} << QStringList{} << false << QList<int>{};
    }
    void shouldAskAboutMalformedNames() {
        QFETCH(QStringList, names);
        QFETCH(QList<bool>, answers);
        QFETCH(QList<int>, skippedRows);
        ArchiveFixture fixture;
        Job job(jobOfNames(names));
        Recorder recorder{answers, {}, {}};

        PfGridLoading loading =
            loadPfGrid(job.points, fixture.archive(), ',', recorder.callbacks());

        QTEST(recorder.asked, "asked");
        QTEST(recorder.progress, "progress");
        QTEST(loading.stopped, "stopped");
        if (!loading.stopped) {
            QStringList listed;
            for (const PfGridRow &row : loading.grid)
                listed << QString::fromStdString(row.cell(PfGridRow::Name));
            QTEST(listed, "listed");
            QCOMPARE(QList<int>(loading.skippedRows.begin(), loading.skippedRows.end()),
                     skippedRows);
        }
    }

    void shouldNameWhatCouldNotBeRead_data() {
        QTest::addColumn<bool>("tableMissing");
        QTest::addColumn<QByteArray>("province");
        QTest::newRow("code table missing") << true << QByteArray("PROVA");
        QTest::newRow("province not a plain name") << false << QByteArray("..");
    }
    void shouldNameWhatCouldNotBeRead() {
        QFETCH(bool, tableMissing);
        QFETCH(QByteArray, province);
        ArchiveFixture fixture;
        // A code the table does not know is filed under the header's province.
        if (tableMissing)
            fs::remove(fixture.table());
        else
            writeBytes(fixture.table(), "*PROVA\r\n");
        std::string provincia = province.toStdString();
        Job job(jobOfNames({"PF07/0023/A123", "PF08/0023/A123"}));
        Recorder recorder;

        PfGridLoading loading =
            loadPfGrid(job.points, {fixture.pathPf(), provincia, fixture.tabella()}, ',',
                       recorder.callbacks());

        fs::path named =
            tableMissing ? fixture.table() : fixture.root() / "punti_fiduciali" / ".." / "A123.pf";
        QCOMPARE(pathsOf(loading.unreadableFiles), pathsOf({named}));
        QCOMPARE(cellsOf(loading.grid),
                 (QStringList{"PF07/0023/A123|4000000|1000000|4800000|||||X|",
                              "PF08/0023/A123|4000000|1000000|4800000|||||X|"}));
    }

    // Each folder of data/archiving: the code table and archive before (province PROVA), the
    // grid of the window ("grid.txt", its cells joined by "|"), and the files after archiving
    // with the result: its outcome, the file that failed, the rows passed, the points another
    // program archived meanwhile and every folder below the archive.
    void shouldArchiveTheMarkedRowsInGridOrder_data() {
        QTest::addColumn<QString>("folder");
        for (const auto &entry : fs::directory_iterator(kData / "archiving"))
            QTest::newRow(entry.path().filename().c_str()) << QString::fromStdString(entry.path());
    }
    void shouldArchiveTheMarkedRowsInGridOrder() {
        QFETCH(QString, folder);
        const fs::path data = folder.toStdString();
        ArchiveFixture fixture;
        fs::remove(fixture.table());
        if (fs::exists(data / "before"))
            fs::copy(data / "before", fixture.root(), fs::copy_options::recursive);
        PfGrid grid;
        for (const QByteArray &line : bytesOf(data / "grid.txt").split('\n')) {
            const QList<QByteArray> cells = line.split('|');
            for (int column = 0; column < PfGridRow::kColumns && !line.isEmpty(); ++column)
                (column ? grid.back() : grid.emplace_back()).cells[column] =
                    cells.value(column).toStdString();
        }

        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        const char *const outcomes[] = {"Ok", "TableUnreadable", "AppendFailed", "Busy"};
        QByteArray answer =
            outcomes[result.outcome] + QByteArray("\n") +
            bytes(result.file.empty() ? ""
                                      : result.file.lexically_relative(fixture.root()).string()) +
            "\npassed ";
        for (const PfGridRow &row : grid)
            answer += row.passedByArchiving ? '1' : '0';
        answer += "\nmeanwhile";
        for (const std::string &name : result.archivedMeanwhile)
            answer += ' ' + bytes(name);
        QStringList folders;
        for (const auto &entry : fs::recursive_directory_iterator(fixture.root()))
            if (entry.is_directory())
                folders << QString::fromStdString(
                    entry.path().lexically_relative(fixture.root()).string());
        folders.sort();
        answer += "\nfolders " + folders.join(", ").toUtf8() + '\n';
        QCOMPARE(answer, bytesOf(data / "result.txt"));
        using Files = std::map<QString, QByteArray>;
        QCOMPARE(filesUnder(fixture.root()),
                 fs::exists(data / "after") ? filesUnder(data / "after") : Files());
    }

    void shouldFindArchivedPointsAtTheNextLoading() {
        ArchiveFixture fixture;
        PointList points;
        QVERIFY(points.load(
            jobLine("PF07/0023/A123", "SPIGOLO", "4321098.765", "1234567.890", "4567890.123")));
        PfGridLoading first = loadPfGrid(points, fixture.archive(), '.', kQuiet);
        QCOMPARE(first.grid.at(0).cell(PfGridRow::Mark), std::string("V"));
        QCOMPARE(Archivia_pf(first.grid, fixture.archive()).outcome, ArchivingResult::Ok);

        PfGridLoading second = loadPfGrid(points, fixture.archive(), '.', kQuiet);
        const PfGridRow &row = second.grid.at(0);
        QCOMPARE(row.cell(PfGridRow::Used), std::string("SI"));
        QCOMPARE(row.cell(PfGridRow::DiffX) + row.cell(PfGridRow::DiffY) +
                     row.cell(PfGridRow::DiffZ),
                 std::string("0.0000.0000.000"));
        QCOMPARE(row.cell(PfGridRow::Mark), std::string("X"));
    }

    // A job near a provincial border, run while another program archives one of its points.
    void shouldFileEachPointInItsOwnProvinceAndNotArchiveWhatAnotherDid() {
        ArchiveFixture fixture;
        writeBytes(fixture.table(), "*PROVA\r\nA123 - ALFA\r\n*ALTRA\r\nC789 - GAMMA\r\n");
        const fs::path oldPlace = fixture.provinceFolder() / "C789 - GAMMA.pf";
        const fs::path ownPlace = fixture.root() / "punti_fiduciali" / "ALTRA" / "C789 - GAMMA.pf";
        const std::string archived =
            "01 0001 C789                                4000000     1000000     4800000\r\n";
        writeBytes(oldPlace, archived);
        Job job(
            jobOfNames({"PF01/0001/C789", "PF02/0001/C789", "PF07/0023/A123", "PF08/0023/A123"}));
        PfGrid grid = loadPfGrid(job.points, fixture.archive(), '.', kQuiet).grid;
        QStringList marks;
        for (const PfGridRow &row : grid)
            marks << QString::fromStdString(row.cell(PfGridRow::Used) + row.cell(PfGridRow::Mark));
        QCOMPARE(marks, (QStringList{"SIX", "NOV", "NOV", "NOV"}));

        const std::string byAnother =
            "08 0023 A123 ALTRO                          1           2           3\r\n";
        writeBytes(fixture.alfa(), byAnother);
        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        QCOMPARE(result.outcome, ArchivingResult::Ok);
        QCOMPARE(result.archivedMeanwhile, std::vector<std::string>{"PF08/0023/A123"});
        QCOMPARE(grid[3].cell(PfGridRow::Mark), std::string("X"));
        QCOMPARE(textOf(oldPlace), archived);
        QCOMPARE(textOf(ownPlace),
                 "02 0001 C789                                4000000     1000000     4800000\r\n");
        QCOMPARE(
            textOf(fixture.alfa()),
            byAnother +
                "07 0023 A123                                4000000     1000000     4800000\r\n");
    }
};

QTEST_APPLESS_MAIN(TestFiducialLogic)
#include "test_fiducial_logic.moc"
