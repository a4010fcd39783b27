#include "core/files.h"
#include "core/parallel.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid_loading.h"
#include "fiducial/logic/punto_fiduciale.h"
#include "header/logic/tabella_comuni.h"
#include "job/point_list.h"

#include "bytes.h"
#include "cases.h"

#include <QtTest>

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

    const std::string &pathPf() const { return pathPf_; }
    ferolan::Tabella_comuni &tabella() { return tabella_; }
    ferolan::ProvinceArchive archive() { return {pathPf_, " PROVA ", tabella_}; }
    // The code table and archive files of a data folder instead.
    void takeFilesFrom(const fs::path &before) {
        fs::remove(table());
        if (fs::exists(before))
            fs::copy(before, root(), fs::copy_options::recursive);
    }

private:
    QTemporaryDir dir;
    std::string pathPf_ = root().string(); // an ASCII temporary folder: the same bytes
    ferolan::Tabella_comuni tabella_{table()};
};

// The rows of data/SUBFOLDER, one a folder.
void addFolderRows(const char *subfolder) {
    QTest::addColumn<QString>("folder");
    for (const auto &entry : fs::directory_iterator(kData / subfolder))
        QTest::newRow(entry.path().filename().c_str()) << QString::fromStdString(entry.path());
}

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
        } else if (op == "archive") {
            // An archive file of the given bytes, none, or a folder in its place: the lookup of
            // PF07/0023/Z999, whether the file is there, its sheets and the numbers of a sheet.
            const fs::path file = at(QTest::currentDataTag());
            if (a == "(folder)")
                fs::create_directory(file);
            else if (a != "(none)")
                writeBytes(file, fields[0]);
            const char *const outcomes[] = {"found", "nomatch", "nofile", "unreadable"};
            answer = outcomes[int(
                         Cerca_punto_fiduciale(file, Scomponi_nome_pf("PF07/0023/Z999")).outcome)] +
                     QByteArray(hasArchiveFile(file) ? " file" : " no file");
            const char *const reads[] = {"", ":missing", ":unreadable"};
            for (const ArchiveListing &list :
                 {sheetsInFile(file), numbersOfSheet(file, fields[1].toStdString())}) {
                answer += QByteArray(" list") + reads[int(list.outcome)];
                for (const std::string &entry : list.entries)
                    answer += '[' + bytes(entry) + ']';
            }
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
        QCOMPARE(textOf(file), textOf(kData / "records.pf"));
    }

    // Each folder of data/loading: the code table and archive before, the job, the answers to
    // its malformed names ("answers.txt": "continua" or "ferma", one a line) and the header's
    // province ("province.txt", else " PROVA "); "result.txt" holds the names asked about, the
    // progress, whether loading stopped, the rows left out, the files that could not be read and
    // the grid, its cells joined by "|".
    void shouldLoadTheGridOfTheFolder_data() { addFolderRows("loading"); }
    void shouldLoadTheGridOfTheFolder() {
        QFETCH(QString, folder);
        const fs::path data = folder.toStdString();
        ArchiveFixture fixture;
        fixture.takeFilesFrom(data / "before");
        PointList points;
        QVERIFY(points.load(textOf(data / "job.txt")));
        const QByteArrayList answers = bytesOf(data / "answers.txt").split('\n');
        const std::string province =
            fs::exists(data / "province.txt") ? textOf(data / "province.txt") : " PROVA ";
        QByteArray asked = "asked", progress = "\nprogress";
        const PfGridLoadingCallbacks callbacks{
            [&](std::string_view name) {
                const bool goOn = answers.value(asked.count(' ')) == "continua";
                asked += ' ' + bytes(name);
                return goOn ? MalformedNameAnswer::Continue : MalformedNameAnswer::Stop;
            },
            [&](std::size_t count) { progress += ' ' + QByteArray::number(qulonglong(count)); }};

        PfGridLoading loading =
            loadPfGrid(points, {fixture.pathPf(), province, fixture.tabella()}, ',', callbacks);

        QByteArray answer = asked + progress + (loading.stopped ? "\nstopped\n" : "\nskipped");
        if (!loading.stopped) {
            for (std::size_t row : loading.skippedRows)
                answer += ' ' + QByteArray::number(qulonglong(row));
            answer += "\nunreadable";
            for (const fs::path &file : loading.unreadableFiles)
                answer += ' ' + bytes(file.lexically_relative(fixture.root()).string());
            answer += '\n';
            for (const PfGridRow &row : loading.grid) {
                for (const std::string &cell : row.cells)
                    answer += bytes(cell) + '|';
                answer.back() = '\n';
            }
        }
        QCOMPARE(answer, bytesOf(data / "result.txt"));
    }

    // A job large enough to be looked through in parts: the fiducial points of every part
    // are listed, in job order, the last row's too.
    void shouldListTheFiducialPointsOfEveryPartOfALargeJob() {
        ArchiveFixture fixture;
        const std::size_t rows = 3 * tuning::kLeastItemsPerPart;
        std::string job;
        QByteArray expected, listedNames;
        for (std::size_t row = 1; row <= rows; ++row) {
            std::string name = "P" + std::to_string(row);
            if (row % 10000 == 0) {
                name = "PF" + std::to_string(10 + row / 10000) + "/0012/A123";
                expected += name.c_str() + QByteArray(" ");
            }
            name.resize(68, ' ');
            job += name + " 4448006.973  606794.230 4516065.343\r\n";
        }
        PointList points;
        QVERIFY(points.load(job));
        PfGridLoading loading = loadPfGrid(
            points, fixture.archive(), ',',
            {[](std::string_view) { return MalformedNameAnswer::Continue; }, [](std::size_t) {}});
        for (const PfGridRow &row : loading.grid)
            listedNames += bytes(row.cell(PfGridRow::Name)) + ' ';
        QCOMPARE(listedNames, expected);
    }

    // Each folder of data/archiving: the code table and archive before (province PROVA), the
    // grid of the window ("grid.txt", its cells joined by "|"), and the files after archiving
    // with the result: its outcome, the file that failed, the rows passed, the points another
    // program archived meanwhile and every folder below the archive.
    void shouldArchiveTheMarkedRowsInGridOrder_data() { addFolderRows("archiving"); }
    void shouldArchiveTheMarkedRowsInGridOrder() {
        QFETCH(QString, folder);
        const fs::path data = folder.toStdString();
        ArchiveFixture fixture;
        fixture.takeFilesFrom(data / "before");
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
};

QTEST_APPLESS_MAIN(TestFiducialLogic)
#include "test_fiducial_logic.moc"
