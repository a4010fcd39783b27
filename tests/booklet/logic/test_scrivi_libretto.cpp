#include "core/files.h"
#include "booklet/logic/archived_point.h"
#include "booklet/logic/scrivi_libretto.h"
#include "booklet/logic/temporary_booklet.h"

#include "worked_example.h"

#include <QtTest>

#include <filesystem>

using namespace ferolan;
using namespace booklet_test;
Q_DECLARE_METATYPE(std::string)
namespace fs = std::filesystem;

namespace {

struct WorkedExample {
    HeaderData header = workedExampleHeader();
    PointList points;
    std::set<std::size_t> leftOut{kMalformedRow};
    explicit WorkedExample(std::string job = dataFile("worked_example.job")) {
        if (!points.load(std::move(job)))
            qFatal("cannot load the worked example");
    }
    BookletSource source(char separator) const {
        return {header, points, "M1", kMasterRow, separator, leftOut};
    }
};

std::string inMemory(const BookletSource &source) {
    std::string text;
    bool produced = produceBookletRows(source, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    if (!produced)
        qFatal("rows not produced");
    return text;
}

// The job with every line cut after its 124th character.
std::string cutAt124(const std::string &job) {
    std::string cut;
    for (std::size_t start = 0; start < job.size();) {
        std::size_t end = std::min(job.find("\r\n", start), job.size());
        cut += job.substr(start, std::min<std::size_t>(end - start, 124)) + "\r\n";
        start = end + 2;
    }
    return cut;
}

// A job of `count` points named P1, P2, ... at X = 1, 2, ... with the master station M at
// the origin on the first row.
std::string generatedJob(int count) {
    auto line = [](const std::string &name, int x) {
        std::string text = name;
        text.resize(68, ' ');
        std::string number = std::to_string(x) + ".0";
        text += std::string(12 - number.size(), ' ') + number;
        text += "   6400000.0         0.0";
        return text + "\r\n";
    };
    std::string job = line("M", 0);
    for (int i = 1; i < count; ++i)
        job += line("P" + std::to_string(i), i);
    return job;
}

} // namespace

class TestScriviLibretto : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldWriteTheWorkedExampleToTheTemporaryFile_data() {
        QTest::addColumn<std::string>("job");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("expectedFile");
        const std::string job = dataFile("worked_example.job");
        const std::string withTerms = dataFile("worked_example_varianze.job");
        QTest::newRow("comma") << job << ',' << "worked_example_comma.tmp";
        QTest::newRow("full stop") << job << '.' << "worked_example_point.tmp";
        // Six further cells of variance-covariance terms; rows whose cells are not all
        // numbers keep the zeros.
        QTest::newRow("variance columns") << withTerms << ',' << "worked_example_varianze.tmp";
        QTest::newRow("variance columns cut off")
            << cutAt124(withTerms) << ',' << "worked_example_comma.tmp";
    }
    void shouldWriteTheWorkedExampleToTheTemporaryFile() {
        QFETCH(std::string, job);
        QFETCH(char, separator);
        QFETCH(QString, expectedFile);
        WorkedExample example(job);
        fs::path booklet = at("job.dat");
        auto Coord_master = Scrivi_libretto(example.source(separator), booklet);
        QVERIFY(Coord_master.has_value());
        QCOMPARE(Coord_master->X, 4512345.1234);
        QCOMPARE(Coord_master->Y, 987654.3216);
        QCOMPARE(Coord_master->Z, 4456789.0006);
        QCOMPARE(fileBytes(at("job.dat.tmp")),
                 QByteArray::fromStdString(dataFile(expectedFile.toStdString().c_str())));
        QVERIFY(!fs::exists(booklet));
    }

    void shouldWriteNoVectorForAMasterOnlyJob() {
        WorkedExample example;
        std::string job = dataFile("worked_example.job");
        QVERIFY(example.points.load(job.substr(job.find("M1"), 126)));
        example.leftOut.clear();
        QByteArray expected = QByteArray::fromStdString(dataFile("worked_example_comma.tmp"));
        expected.truncate(expected.indexOf("\r\n2|") + 2);
        QCOMPARE(QByteArray::fromStdString(
                     inMemory({example.header, example.points, "M1", 1, ',', example.leftOut})),
                 expected);
    }

    void shouldLeaveOutEveryRowNamedAsTheMasterAndTheRowsLeftOut() {
        WorkedExample example;
        std::string text = inMemory(example.source(','));
        QVERIFY(text.find("DOPPIO") == std::string::npos);
        QVERIFY(text.find("PF MALFORMATO") == std::string::npos);
        QVERIFY(text.find("2|M1|") == std::string::npos);

        // Without the list of rows to leave out, the malformed point is written like any other.
        std::set<std::size_t> none;
        std::string all = inMemory({example.header, example.points, "M1", kMasterRow, ',', none});
        QVERIFY(all.find("2|PF1/0012/A123|-5,123;-14,322;-9,001|0;0;0;0;0;0|PDOP=1|0|PF "
                         "MALFORMATO|\r\n") != std::string::npos);
        // The master name is compared exactly: "m1" is an ordinary point.
        std::string other = inMemory({example.header, example.points, "m1", kMasterRow, ',', none});
        QVERIFY(other.find("2|M1|") != std::string::npos);
    }

    void shouldHandALargeJobOnInPiecesOfWholeRows() {
        const int count = 3000;
        PointList points;
        QVERIFY(points.load(generatedJob(count)));
        HeaderData header = workedExampleHeader();
        std::set<std::size_t> none;
        int pieces = 0;
        bool wholeRows = true;
        std::string text;
        QVERIFY(
            produceBookletRows({header, points, "M", 1, ',', none}, [&](std::string_view piece) {
                ++pieces;
                wholeRows = wholeRows && piece.ends_with("\r\n");
                text += piece;
                return true;
            }));
        QVERIFY(pieces > 1);
        QVERIFY(wholeRows);
        auto lines = QByteArray::fromStdString(text).split('\n');
        QCOMPARE(lines.size(), 4 + (count - 1) + 1);
        for (int i = 1; i < count; ++i)
            QCOMPARE(lines[3 + i],
                     QByteArray("2|P" + QByteArray::number(i) + "|" + QByteArray::number(i) +
                                ",000;0,000;0,000|0;0;0;0;0;0|PDOP=1|0||\r"));
    }

    void shouldReplaceAStaleTemporaryFile() {
        WorkedExample example;
        writeBytes(at("stale.dat.tmp"), std::string(5000, 'x') + "\r\n2|OLD|\r\n");
        QVERIFY(Scrivi_libretto(example.source(','), at("stale.dat")).has_value());
        QCOMPARE(fileBytes(at("stale.dat.tmp")),
                 QByteArray::fromStdString(dataFile("worked_example_comma.tmp")));
    }

    void shouldCreateOrEmptyTheTemporaryFile() {
        QVERIFY(createTemporaryBooklet(at("new.dat")));
        QVERIFY(isExistingFile(at("new.dat.tmp")));
        QCOMPARE(fs::file_size(at("new.dat.tmp")), std::uintmax_t(0));

        writeBytes(at("old.dat.tmp"), "2|OLD|\r\n");
        QVERIFY(createTemporaryBooklet(at("old.dat")));
        QCOMPARE(fs::file_size(at("old.dat.tmp")), std::uintmax_t(0));

        // A leftover link is replaced, never followed: what it points at stays as it was.
        WorkedExample example;
        writeBytes(at("target"), "not a booklet\r\n");
        fs::create_symlink(at("target"), at("link.dat.tmp"));
        QVERIFY(createTemporaryBooklet(at("link.dat")));
        QVERIFY(!fs::is_symlink(at("link.dat.tmp")));
        QVERIFY(Scrivi_libretto(example.source(','), at("link.dat")).has_value());
        QCOMPARE(fileBytes(at("target")), QByteArray("not a booklet\r\n"));
    }

    void shouldReportATemporaryFileThatCannotBeCreated() {
        fs::create_directory(at("folder.dat.tmp"));
        QVERIFY(!createTemporaryBooklet(at("folder.dat")));
        QVERIFY(!createTemporaryBooklet(at("missing") / "job.dat"));
        QVERIFY(isExistingFolder(at("folder.dat.tmp")));

        WorkedExample example;
        QVERIFY(!Scrivi_libretto(example.source(','), at("folder.dat")).has_value());
        QVERIFY(isExistingFolder(at("folder.dat.tmp")));
        QVERIFY(!Scrivi_libretto(example.source(','), at("missing") / "job.dat").has_value());
    }

    void shouldAppendArchivedPointsToTheTemporaryFile() {
        WorkedExample example;
        auto Coord_master = Scrivi_libretto(example.source(','), at("append.dat"));
        QVERIFY(Coord_master.has_value());
        std::string row =
            archivedPointRow("03", "0012", "A123 PROVA", {4512300.0, 987700.0, 4456780.0},
                             "CIPPO; SPIGOLO, NORD    ", *Coord_master, ',');
        QVERIFY(appendToTemporaryBooklet(at("append.dat"), row));
        QVERIFY(appendToTemporaryBooklet(at("append.dat"), row));
        QCOMPARE(fileBytes(at("append.dat.tmp")),
                 QByteArray::fromStdString(dataFile("worked_example_comma.tmp") + row + row));
    }

    void shouldNotAppendToAMissingTemporaryFile() {
        QVERIFY(!appendToTemporaryBooklet(at("gone.dat"), "2|PF03/0012/A123|\r\n"));
        QVERIFY(!fs::exists(at("gone.dat.tmp")));
    }
};

QTEST_APPLESS_MAIN(TestScriviLibretto)
#include "test_scrivi_libretto.moc"
