#include "core/files.h"
#include "booklet/logic/archived_point.h"
#include "booklet/logic/scrivi_libretto.h"
#include "booklet/logic/trasforma_libretto.h"

#include "worked_example.h"

#include <QtTest>

#include <filesystem>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace ferolan;
using namespace booklet_test;
namespace fs = std::filesystem;
using Outcome = FinishingResult::Outcome;

namespace {

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

class TestTrasformaLibretto : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldMapCommasAndSemicolonsOnce_data() {
        QTest::addColumn<QByteArray>("temporary");
        QTest::addColumn<QByteArray>("booklet");
        QTest::newRow("vector row")
            << QByteArray("2|P7|1,500;-2,250;0,000|0;0;0;0;0;0|PDOP=1|0|x|\r\n")
            << QByteArray("2|P7|1.500,-2.250,0.000|0,0,0,0,0,0|PDOP=1|0|x|\r\n");
        QTest::newRow("row 9 constant") << QByteArray("9|1|10|20|2|8.00-G,Stda 3.11|FR||\r\n")
                                        << QByteArray("9|1|10|20|2|8.00-G.Stda 3.11|FR||\r\n");
        QTest::newRow("header fields") << QByteArray("0|1|2|A123|1|10,11;12|A;B,C|G|RM|\r\n")
                                       << QByteArray("0|1|2|A123|1|10.11,12|A,B.C|G|RM|\r\n");
        QTest::newRow("full stop numbers pass unchanged")
            << QByteArray("1|M1|4512345.123;987654.322;4456789.001|0|BASE|\r\n")
            << QByteArray("1|M1|4512345.123,987654.322,4456789.001|0|BASE|\r\n");
        QTest::newRow("semicolons and commas side by side")
            << QByteArray(";,;,,;;") << QByteArray(",.,..,,");
        QTest::newRow("line ends and other bytes untouched")
            << QByteArray("a\r\nb\rc\nd\t\xE8|\x00\xFF|", 14)
            << QByteArray("a\r\nb\rc\nd\t\xE8|\x00\xFF|", 14);
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void shouldMapCommasAndSemicolonsOnce() {
        QFETCH(QByteArray, temporary);
        QFETCH(QByteArray, booklet);
        std::string text = temporary.toStdString();
        toBookletCharacters(text);
        QCOMPARE(QByteArray::fromStdString(text), booklet);

        // The file is mapped in pieces; the result is the same at any size.
        QByteArray repeated = temporary.repeated(20000);
        writeBytes(at("mapped.dat.tmp"), repeated.toStdString());
        QVERIFY(Trasforma_libretto(at("mapped.dat")).created());
        QCOMPARE(fileBytes(at("mapped.dat")), booklet.repeated(20000));
    }

    void shouldFinishTheWorkedExampleAlikeUnderEitherSeparator_data() {
        QTest::addColumn<char>("separator");
        QTest::newRow("comma") << ',';
        QTest::newRow("full stop") << '.';
    }
    void shouldFinishTheWorkedExampleAlikeUnderEitherSeparator() {
        QFETCH(char, separator);
        HeaderData header = workedExampleHeader();
        PointList points;
        QVERIFY(points.load(dataFile("worked_example.job")));
        std::set<std::size_t> leftOut{kMalformedRow};
        fs::path booklet = at("worked.dat");
        writeBytes(booklet, std::string(100000, 'o')); // an earlier booklet, replaced whole
        auto Coord_master =
            Scrivi_libretto({header, points, "M1", kMasterRow, separator, leftOut}, booklet);
        QVERIFY(Coord_master.has_value());
        QVERIFY(appendToTemporaryBooklet(
            booklet, archivedPointRow("03", "0012", "A123 PROVA", {4512300.0, 987700.0, 4456780.0},
                                      "CIPPO; SPIGOLO, NORD    ", *Coord_master, separator)));
        auto temporaryLines = fileBytes(at("worked.dat.tmp")).count("\r\n");

        FinishingResult result = Trasforma_libretto(booklet);
        QCOMPARE(result.outcome, Outcome::Created);
        QVERIFY(result.failedFile.empty());
        QVERIFY(result.leftoverTemporary.empty());
        QCOMPARE(fileBytes(booklet), QByteArray::fromStdString(dataFile("worked_example.dat")));
        QCOMPARE(fileBytes(booklet).count("\r\n"), temporaryLines);
        QVERIFY(!fs::exists(at("worked.dat.tmp")));
        QVERIFY(!fs::exists(at("worked.dat.nuovo")));
    }

    void shouldReportAMissingOrUnreadableTemporaryFile() {
        writeBytes(at("kept.dat"), "earlier booklet\r\n");
        FinishingResult missing = Trasforma_libretto(at("kept.dat"));
        QCOMPARE(missing.outcome, Outcome::TemporaryUnreadable);
        QCOMPARE(missing.failedFile, at("kept.dat.tmp"));
        QCOMPARE(fileBytes(at("kept.dat")), QByteArray("earlier booklet\r\n"));
        QVERIFY(!fs::exists(at("kept.dat.nuovo")));

        fs::create_directory(at("kept.dat.tmp"));
        FinishingResult folder = Trasforma_libretto(at("kept.dat"));
        QCOMPARE(folder.outcome, Outcome::TemporaryUnreadable);
        QCOMPARE(folder.failedFile, at("kept.dat.tmp"));
        QCOMPARE(fileBytes(at("kept.dat")), QByteArray("earlier booklet\r\n"));
        QVERIFY(isExistingFolder(at("kept.dat.tmp")));
    }

    void shouldKeepTheTemporaryFileWhenTheBookletCannotBeWritten() {
        fs::create_directory(at("folder.dat"));
        writeBytes(at("folder.dat.tmp"), "2|P|1,0|\r\n");
        FinishingResult result = Trasforma_libretto(at("folder.dat"));
        QCOMPARE(result.outcome, Outcome::BookletUnwritable);
        QCOMPARE(result.failedFile, at("folder.dat"));
        QCOMPARE(fileBytes(at("folder.dat.tmp")), QByteArray("2|P|1,0|\r\n"));
        QVERIFY(isExistingFolder(at("folder.dat")));
        QVERIFY(!fs::exists(at("folder.dat.nuovo")));
    }

    // A leftover ".nuovo" link must neither have its target overwritten nor become the
    // booklet.
    void shouldNeverWriteThroughALeftoverLink() {
        writeBytes(at("target"), "someone else's file\r\n");
        writeBytes(at("linked.dat.tmp"), "2|P;1|\r\n");
        fs::create_symlink(at("target"), at("linked.dat.nuovo"));
        QVERIFY(Trasforma_libretto(at("linked.dat")).created());
        QCOMPARE(fileBytes(at("target")), QByteArray("someone else's file\r\n"));
        QVERIFY(!fs::is_symlink(at("linked.dat")));
        QCOMPARE(fileBytes(at("linked.dat")), QByteArray("2|P,1|\r\n"));
    }

    void shouldReportATemporaryFileThatCannotBeDeleted() {
        writeBytes(at("stuck.dat.tmp"), "2|P;1|\r\n");
        if (!setImmutable(at("stuck.dat.tmp"), true))
            QSKIP("the file system cannot make a file undeletable here");
        FinishingResult result = Trasforma_libretto(at("stuck.dat"));
        setImmutable(at("stuck.dat.tmp"), false);
        QCOMPARE(result.outcome, Outcome::Created);
        QCOMPARE(result.leftoverTemporary, at("stuck.dat.tmp"));
        QCOMPARE(fileBytes(at("stuck.dat")), QByteArray("2|P,1|\r\n"));
    }

    void shouldSayTheBookletWasCreated() {
        QCOMPARE(QString::fromStdString(bookletCreatedMessage(fs::path("/lavori/città.dat"))),
                 QString::fromUtf8("il file /lavori/città.dat è stato regolarmente creato"));
    }
};

QTEST_APPLESS_MAIN(TestTrasformaLibretto)
#include "test_trasforma_libretto.moc"
