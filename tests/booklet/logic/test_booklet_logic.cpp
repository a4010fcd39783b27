#include "booklet/logic/archived_point.h"
#include "booklet/logic/booklet_rows.h"
#include "booklet/logic/booklet_rules.h"
#include "booklet/logic/controllo_libretto.h"
#include "booklet/logic/scrivi_libretto.h"
#include "booklet/logic/temporary_booklet.h"
#include "booklet/logic/trasforma_libretto.h"
#include "booklet/logic/vrs_mark.h"
#include "core/files.h"
#include "core/gauss_boaga.h"
#include "core/parallel.h"
#include "core/text.h"
#include "header/logic/header_rows.h"
#include "header/logic/tabella_comuni.h"
#include "job/master_station.h"

#include "bytes.h"
#include "cases.h"
#include "file_size_limit.h"
#include "header_fields.h"

#include <QtTest>

#include <chrono>
#include <fstream>
#include <unistd.h>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

using namespace ferolan;
namespace fs = std::filesystem;
using Outcome = FinishingResult::Outcome;

using namespace test_bytes;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;
// The worked example: its job's master station M1 stands on row 2, row 5 bears the
// master's name again and row 6 is a malformed fiducial point the user left out.
constexpr std::size_t kMasterRow = 2;
const Xyz kMaster{4512345.1234, 987654.3216, 4456789.0006};
const Xyz kArchived{4512300.0, 987700.0, 4456780.0};
const fs::path kFolder = kData / "controllo";
constexpr std::chrono::year_month_day kToday{std::chrono::year{2027}, std::chrono::March,
                                             std::chrono::day{1}};

// The printed form without its message: "errore: linea 3 (riga 1), campo 2 [R1-COORDINATE]".
QString withoutMessage(const Finding &finding) {
    Finding bare = finding;
    bare.message.clear();
    QString text = QString::fromStdString(findingText(bare));
    return text.remove(text.lastIndexOf(QStringLiteral(": ")), 2);
}

std::string dataFile(const char *name) {
    return readFile(kData / name).bytes;
}
HeaderData workedExampleHeader() {
    return test_header::withFields({}, bytesOf(kData / "worked_example_header.txt").split('\n'));
}

struct WorkedExample {
    HeaderData header = workedExampleHeader();
    PointList points;
    std::set<std::size_t> leftOut{6};
    explicit WorkedExample(const std::string &job = dataFile("worked_example.job")) {
        if (!points.load(job))
            qFatal("cannot load the worked example");
    }
    // The master station stands on row 2, or alone in its job.
    BookletSource source(char separator, std::string_view master = "M1") const {
        return {header,    points, master, points.rowCount() == 1 ? 1 : kMasterRow,
                separator, leftOut};
    }
};

// Sets or clears the immutable attribute, which keeps even root from deleting a file.
bool setImmutable(const fs::path &path, bool immutable) {
#ifdef __linux__
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#else
    return false;
#endif
}

} // namespace

class TestBookletLogic : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldAnswerEachCase_data() { test_cases::addRows(kData / "booklet_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        const QByteArray expected = fields.takeLast();
        const QByteArray op = fields.takeFirst();
        std::vector<std::string> a;
        for (const QByteArray &field : fields)
            a.push_back(field.toStdString());
        QByteArray answer;
        if (op == "header") {
            HeaderData header =
                test_header::withFields(workedExampleHeader(), {fields[0] + '=' + fields[1]});
            answer = bytes(expected.startsWith('0')   ? row0(header)
                           : expected.startsWith('9') ? row9(header)
                                                      : row6(header));
        } else if (op == "vector") {
            answer =
                bytes(row2(a[4], {fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble()},
                           a[5], a[3][0]));
        } else if (op == "master") {
            answer = bytes(row1(a[0], kMaster, "", ','));
        } else if (op == "archived") {
            answer =
                bytes(archivedPointRow(a[0], a[1], "A123 PROVA", kArchived, a[2], kMaster, ','));
        } else if (op == "findings") {
            answer = bytes(findingLines(std::vector<Finding>(
                fields[0].toUInt(), Finding{Severity::Avviso, 0, {}, 0, "x", {}})));
        } else if (op == "question") {
            answer = bytes(insertionQuestion(a[0], a[1], a[2]));
        } else if (op == "created") {
            answer = bytes(bookletCreatedMessage(fs::path(a[0])));
        } else if (op == "gauss") {
            GaussBoaga plane = gaussBoagaFromGeodetic(fields[0].toDouble(), fields[1].toDouble(),
                                                      a[2] == "Ovest" ? GaussBoagaZone::Ovest
                                                                      : GaussBoagaZone::Est);
            answer = std::abs(plane.east - fields[3].toDouble()) < 0.05 &&
                             std::abs(plane.north - fields[4].toDouble()) < 0.05
                         ? "ok"
                         : QByteArray::number(plane.east, 'f', 3) + ' ' +
                               QByteArray::number(plane.north, 'f', 3);
        } else {
            std::string text = a[0];
            toBookletCharacters(text);
            answer = bytes(text);
            // The file is mapped in pieces; the result is the same at any size.
            writeBytes(at("mapped.dat.tmp"), fields[0].repeated(20000).toStdString());
            QVERIFY(Trasforma_libretto(at("mapped.dat")).created());
            QCOMPARE(bytesOf(at("mapped.dat")), expected.repeated(20000));
        }
        QCOMPARE(answer, expected);
    }

    void shouldWriteTheWorkedExample_data() {
        QTest::addColumn<QString>("job");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("master");
        QTest::addColumn<bool>("leaveOut");
        QTest::addColumn<QString>("expectedFile");
        const QString job = "worked_example.job";
        QTest::newRow("comma") << job << ',' << "M1" << true << "worked_example_comma.tmp";
        QTest::newRow("full stop") << job << '.' << "M1" << true << "worked_example_point.tmp";
        // Six further cells of variance-covariance terms; rows whose cells are not all
        // numbers keep the zeros.
        QTest::newRow("variance columns") << "worked_example_varianze.job" << ',' << "M1" << true
                                          << "worked_example_varianze.tmp";
        QTest::newRow("variance columns cut off") << "worked_example_varianze_cut.job" << ','
                                                  << "M1" << true << "worked_example_comma.tmp";
        // Without the list of rows to leave out, the malformed point is written like any other.
        QTest::newRow("malformed point not left out")
            << job << ',' << "M1" << false << "worked_example_malformed_kept.tmp";
        // The master name is compared exactly: "m1" is an ordinary point.
        QTest::newRow("master named in small letters")
            << job << ',' << "m1" << true << "worked_example_master_m1.tmp";
        // A job of the master alone has no vector row.
        QTest::newRow("master alone")
            << "worked_example_master.job" << ',' << "M1" << true << "worked_example_master.tmp";
    }
    // Into the temporary file, over a stale one; then an archived point, and the finishing
    // pass gives the same booklet under either separator, an earlier booklet replaced whole.
    void shouldWriteTheWorkedExample() {
        QFETCH(QString, job);
        QFETCH(char, separator);
        QFETCH(QString, master);
        QFETCH(bool, leaveOut);
        QFETCH(QString, expectedFile);
        WorkedExample example(dataFile(qPrintable(job)));
        if (!leaveOut)
            example.leftOut.clear();
        const fs::path booklet = at("job.dat");
        writeBytes(at("job.dat.tmp"), std::string(5000, 'x') + "\r\n2|OLD|\r\n");
        writeBytes(booklet, std::string(100000, 'o'));
        auto Coord_master =
            Scrivi_libretto(example.source(separator, master.toStdString()), booklet);
        QVERIFY(Coord_master.has_value());
        QCOMPARE(Coord_master->X, kMaster.X);
        QCOMPARE(Coord_master->Y, kMaster.Y);
        QCOMPARE(Coord_master->Z, kMaster.Z);
        QCOMPARE(bytesOf(at("job.dat.tmp")), bytes(dataFile(qPrintable(expectedFile))));
        if (job != "worked_example.job" || !leaveOut || master != "M1")
            return;
        const std::string row =
            archivedPointRow("03", "0012", "A123 PROVA", kArchived, "CIPPO; SPIGOLO, NORD    ",
                             *Coord_master, separator);
        QVERIFY(appendToTemporaryBooklet(booklet, row));
        QCOMPARE(bytesOf(at("job.dat.tmp")), bytes(dataFile(qPrintable(expectedFile)) + row));
        FinishingResult result = Trasforma_libretto(booklet);
        QCOMPARE(result.outcome, Outcome::Created);
        QVERIFY(result.failedFile.empty() && result.leftoverTemporary.empty());
        QCOMPARE(bytesOf(booklet), bytes(dataFile("worked_example.dat")));
        QVERIFY(!fs::exists(at("job.dat.tmp")));
        QVERIFY(!fs::exists(at("job.dat.nuovo")));
    }

    // An NRTK booklet: row 1 named 10000 (as the window proposes it), the stated session, and the
    // VRS point's row first after row 6 with "[VRS]"; when the user left that point out, the
    // first row 2 carries the mark and the closing message says so.
    void shouldPutTheVrsPointFirst_data() {
        QTest::addColumn<QByteArray>("vrs");
        QTest::addColumn<QString>("expectedFile");
        QTest::addColumn<QByteArray>("note");
        QTest::newRow("chosen point")
            << QByteArray("P4") << "worked_example_nrtk.tmp" << QByteArray();
        QTest::newRow("chosen point left out")
            << QByteArray("PF1/0012/A123") << "worked_example_nrtk_left_out.tmp"
            << QByteArray("Il punto VRS PF1/0012/A123 non è nel libretto: il segno [VRS] è sulla "
                          "prima riga 2, il punto P1.");
    }
    void shouldPutTheVrsPointFirst() {
        QFETCH(QByteArray, vrs);
        QFETCH(QString, expectedFile);
        QFETCH(QByteArray, note);
        WorkedExample example;
        example.header = test_header::withFields(
            example.header, {"Cmb_metodo=NRTK", "Txt_base=10000", "Txt_ora_inizio=08:15",
                             "Txt_ora_fine=10:40", "Cmb_vrs=" + vrs});
        const fs::path booklet = at("nrtk.dat");
        QVERIFY(Scrivi_libretto(example.source(','), booklet));
        QCOMPARE(bytesOf(at("nrtk.dat.tmp")), bytes(dataFile(qPrintable(expectedFile))));
        const std::optional<std::string> shown =
            vrsMarkNote(example.source(','), vrsMark(example.source(',')));
        QCOMPARE(shown ? bytes(*shown) : QByteArray(), note);
    }

    // A full disk stops the temporary file part-way: the failure is reported and no part of
    // the file is left, which could be finished later as if it were whole.
    void shouldLeaveNoTemporaryFileWrittenPartWay() {
        WorkedExample example(dataFile("worked_example.job"));
        QVERIFY(!withFileSizeLimit(200, [&] {
            return Scrivi_libretto(example.source(',', "M1"), at("cut.dat")).has_value();
        }));
        QVERIFY(!fs::exists(at("cut.dat.tmp")));
    }

    // A job of 20,000 points read and written on one part and on many (parts of 1,000 points
    // through the test hook): the same points, mean east and rows, those a single pass gives.
    void shouldReadAndWriteALargeJobInPartsAsInOnePass_data() {
        QTest::addColumn<std::size_t>("leastPerPart");
        QTest::addColumn<std::size_t>("parts");
        QTest::newRow("one part") << std::size_t(1000) << std::size_t(1);
        QTest::newRow("many parts") << std::size_t(1000) << std::size_t(7);
    }
    void shouldReadAndWriteALargeJobInPartsAsInOnePass() {
        QFETCH(std::size_t, leastPerPart);
        QFETCH(std::size_t, parts);
        const std::size_t count = 20000;
        std::string job, expected;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = i == 0 ? "M" : "P" + std::to_string(i);
            const std::string x = std::to_string(i) + ".0";
            std::string line = name;
            line.resize(80 - x.size(), ' ');
            // Every kind of line end, so that the parts are cut after each kind.
            job += line + x + "   6400000.0         0.0" + std::string(12 - x.size(), ' ') + x +
                   (i % 3 == 0   ? "\r\n"
                    : i % 3 == 1 ? "\n"
                                 : "\r");
            if (i > 0)
                expected += "2|" + name + "|" + std::to_string(i) +
                            ",000;0,000;0,000|0;0;0;0;0;0|PDOP=1|0||\r\n";
        }
        writeBytes(at("large.txt"), job);
        setPartsForTesting(leastPerPart, parts);
        PointList points;
        QVERIFY(points.loadFile(at("large.txt")) == PointList::FileLoad::Loaded);
        QCOMPARE(points.rowCount(), count);
        // The mean of the east values 0 to count - 1, rounded down.
        QCOMPARE(masterStationAt(points, 1).Est_media, double((count - 1) / 2));

        std::set<std::size_t> none;
        std::string text;
        std::size_t pieces = 0;
        QVERIFY(produceBookletRows({workedExampleHeader(), points, "M", 1, ',', none},
                                   [&](std::string_view piece) {
                                       ++pieces;
                                       text += piece;
                                       return true;
                                   }));
        setPartsForTesting(0, 0);
        const std::size_t opening = text.find("\r\n2|");
        QVERIFY(opening != std::string::npos);
        QVERIFY2(text.substr(opening + 2) == expected, "the point rows differ");
        // Each round of rows in one piece, or in several when made in parts.
        const std::size_t rounds =
            (count + tuning::kBookletRowsPerRound - 1) / tuning::kBookletRowsPerRound;
        QVERIFY(parts == 1 ? pieces == 1 + rounds : pieces > 1 + rounds);

        // A refused piece stops the handing on.
        std::size_t handed = 0;
        QVERIFY(!produceBookletRows({workedExampleHeader(), points, "M", 1, ',', none},
                                    [&](std::string_view) { return ++handed < 1; }));
        QCOMPARE(handed, 1u);
    }

    void shouldCreateOrEmptyTheTemporaryFileNeverThroughALink() {
        writeBytes(at("target"), "not a booklet\r\n");
        fs::create_symlink(at("target"), at("link.dat.tmp"));
        QVERIFY(createTemporaryBooklet(at("link.dat")));
        QVERIFY(!fs::is_symlink(at("link.dat.tmp")));
        QCOMPARE(bytesOf(at("target")), QByteArray("not a booklet\r\n"));

        fs::create_directory(at("folder.dat.tmp"));
        QVERIFY(!createTemporaryBooklet(at("folder.dat")));
        QVERIFY(!createTemporaryBooklet(at("missing") / "job.dat"));
        QVERIFY(isExistingFolder(at("folder.dat.tmp")));
        QVERIFY(!appendToTemporaryBooklet(at("gone.dat"), "2|PF03/0012/A123|\r\n"));
        QVERIFY(!fs::exists(at("gone.dat.tmp")));
    }

    // Whatever stops the finishing pass, the earlier booklet and the temporary file stay.
    void shouldKeepBothFilesWhenTheBookletCannotBeFinished() {
        writeBytes(at("kept.dat"), "earlier booklet\r\n");
        FinishingResult missing = Trasforma_libretto(at("kept.dat"));
        QCOMPARE(missing.outcome, Outcome::TemporaryUnreadable);
        QCOMPARE(missing.failedFile, at("kept.dat.tmp"));
        fs::create_directory(at("kept.dat.tmp"));
        QCOMPARE(Trasforma_libretto(at("kept.dat")).outcome, Outcome::TemporaryUnreadable);
        QCOMPARE(bytesOf(at("kept.dat")), QByteArray("earlier booklet\r\n"));
        QVERIFY(!fs::exists(at("kept.dat.nuovo")));

        fs::create_directory(at("blocked.dat"));
        writeBytes(at("blocked.dat.tmp"), "2|P|1,0|\r\n");
        FinishingResult blocked = Trasforma_libretto(at("blocked.dat"));
        QCOMPARE(blocked.outcome, Outcome::BookletUnwritable);
        QCOMPARE(blocked.failedFile, at("blocked.dat"));
        QCOMPARE(bytesOf(at("blocked.dat.tmp")), QByteArray("2|P|1,0|\r\n"));
        QVERIFY(!fs::exists(at("blocked.dat.nuovo")));

        // A full disk stops the pass part-way.
        const std::string rows = std::string(200000, ';') + "\r\n";
        writeBytes(at("full.dat.tmp"), rows);
        QVERIFY(withFileSizeLimit(100000, [&] {
            return Trasforma_libretto(at("full.dat")).outcome == Outcome::BookletUnwritable;
        }));
        QCOMPARE(bytesOf(at("full.dat.tmp")), bytes(rows));
        QCOMPARE(bytesOf(at("kept.dat")), QByteArray("earlier booklet\r\n"));
        QVERIFY(!fs::exists(at("full.dat")));
        QVERIFY(!fs::exists(at("full.dat.nuovo")));

        // The check watching the bytes runs out of memory.
        QVERIFY_THROWS_EXCEPTION(std::bad_alloc, Trasforma_libretto(at("full.dat"), [](auto) {
                                     throw std::bad_alloc();
                                 }));
        QCOMPARE(bytesOf(at("full.dat.tmp")), bytes(rows));
        QVERIFY(!fs::exists(at("full.dat.nuovo")));
    }

    // A leftover ".nuovo" link must neither have its target overwritten nor become the
    // booklet; a temporary file that cannot be deleted is named.
    void shouldFinishPastALeftoverLinkAndAnUndeletableTemporaryFile() {
        writeBytes(at("target"), "someone else's file\r\n");
        writeBytes(at("linked.dat.tmp"), "2|P;1|\r\n");
        fs::create_symlink(at("target"), at("linked.dat.nuovo"));
        QVERIFY(Trasforma_libretto(at("linked.dat")).created());
        QCOMPARE(bytesOf(at("target")), QByteArray("someone else's file\r\n"));
        QVERIFY(!fs::is_symlink(at("linked.dat")));
        QCOMPARE(bytesOf(at("linked.dat")), QByteArray("2|P,1|\r\n"));

        writeBytes(at("stuck.dat.tmp"), "2|P;1|\r\n");
        if (!setImmutable(at("stuck.dat.tmp"), true))
            QSKIP("the file system cannot make a file undeletable here");
        FinishingResult result = Trasforma_libretto(at("stuck.dat"));
        setImmutable(at("stuck.dat.tmp"), false);
        QCOMPARE(result.outcome, Outcome::Created);
        QCOMPARE(result.leftoverTemporary, at("stuck.dat.tmp"));
        QCOMPARE(bytesOf(at("stuck.dat")), QByteArray("2|P,1|\r\n"));
    }
    // Each booklet of the folder holds one planted fault (or none); its ".expected" file lists
    // the findings in order. A first line "libretto: PATH" checks another test's booklet.
    void shouldFindThePlantedFaults_data() {
        QTest::addColumn<QString>("booklet");
        QTest::addColumn<QStringList>("expected");
        for (const fs::directory_entry &entry : fs::directory_iterator(kFolder)) {
            if (entry.path().extension() != ".expected")
                continue;
            QStringList lines = QString::fromLatin1(readFile(entry.path()).bytes)
                                    .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            fs::path booklet = fs::path(entry.path()).replace_extension(".dat");
            if (!lines.isEmpty() && lines.front().startsWith(QStringLiteral("libretto: ")))
                booklet = kFolder / lines.takeFirst().mid(10).toStdString();
            QTest::newRow(entry.path().stem().c_str()) << QString::fromStdString(booklet) << lines;
        }
    }
    void shouldFindThePlantedFaults() {
        QFETCH(QString, booklet);
        QFETCH(QStringList, expected);
        FileContent content = readFile(booklet.toStdString());
        QVERIFY2(content.ok(), qPrintable(booklet));
        Tabella_comuni table(kFolder / "cod_comuni_2.cod");
        QStringList found;
        for (const Finding &finding : Controlla_libretto(content.bytes, table, kToday))
            found << withoutMessage(finding);
        QCOMPARE(found, expected);
        // The same when checked as it is written, cut anywhere, even between CR and LF.
        for (std::size_t size : {1, 2, 3}) {
            BookletCheck check(table, kToday);
            for (std::size_t at = 0; at < content.bytes.size(); at += size)
                check.add(std::string_view(content.bytes).substr(at, size));
            QStringList inPieces;
            for (const Finding &finding : check.findings())
                inPieces << withoutMessage(finding);
            QCOMPARE(inPieces, expected);
        }
    }
    // Pregeo refuses a vector longer than 5 km without its variance-covariance matrix: the
    // check of Ferolan's own booklet says so at that row, unless the job carried the matrix.
    void shouldAskForTheMatrixOfAVectorBeyondFiveKilometres_data() {
        QTest::addColumn<QString>("job");
        QTest::addColumn<bool>("refused");
        QTest::newRow("without the six columns") << "oltre_5_km.job" << true;
        QTest::newRow("with the six columns") << "oltre_5_km_varianze.job" << false;
    }
    void shouldAskForTheMatrixOfAVectorBeyondFiveKilometres() {
        QFETCH(QString, job);
        QFETCH(bool, refused);
        WorkedExample example(dataFile(qPrintable(job)));
        const fs::path booklet = at("far.dat");
        QVERIFY(Scrivi_libretto(example.source(','), booklet));
        QCOMPARE(Trasforma_libretto(booklet).outcome, Outcome::Created);
        Tabella_comuni table(kFolder / "cod_comuni_2.cod");
        QStringList found;
        for (const Finding &finding : Controlla_libretto(readFile(booklet).bytes, table, kToday))
            found << withoutMessage(finding);
        QCOMPARE(found.contains("errore: linea 5 (riga 2), campo 3 [R2-MATRICE-5KM]"), refused);
    }

    // Users quote a finding's id: the help page and the check's reference explain each one.
    void shouldDocumentEveryRuleId_data() {
        QTest::addColumn<QString>("page");
        QTest::newRow("help page") << "data/ferolan.html";
        QTest::newRow("reference") << "docs/booklet_check.md";
    }
    void shouldDocumentEveryRuleId() {
        QFETCH(QString, page);
        const fs::path file = fs::path(FEROLAN_SOURCE_DIR) / page.toStdString();
        const std::string text = readFile(file).bytes;
        QVERIFY2(!text.empty(), qPrintable(page));
        std::set<std::string_view> ids;
        for (const CheckRule *rule : bookletCheckRules()) {
            QVERIFY2(ids.insert(rule->id).second, rule->id.data());
            const std::string quoted = "[" + std::string(rule->id) + "]";
            QVERIFY2(text.find(quoted) != std::string::npos,
                     qPrintable(QStringLiteral("%1 missing from %2").arg(quoted.c_str(), page)));
        }
    }
};

QTEST_APPLESS_MAIN(TestBookletLogic)
#include "test_booklet_logic.moc"
