#include "job/point_list.h"
#include "archive_fixture.h"
#include "fiducial/logic/pf_grid_loading.h"

#include <QtTest>

using namespace ferolan;
using namespace fiducial_test;

namespace {

struct Job {
    PointList points;
    explicit Job(const std::string &bytes) {
        if (!points.load(bytes))
            throw std::runtime_error("job not loaded");
    }
};

std::string jobOfNames(const QStringList &names) {
    std::string bytes;
    for (const QString &name : names)
        bytes += jobLine(name.toStdString(), "", "4000000", "1000000", "4800000");
    return bytes;
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

class TestPfGridLoading : public QObject {
    Q_OBJECT
private slots:
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
        Job job(jobLine("PF07/0023/A123", "SPIGOLO", "4321098.752", "1234567.890", "4567890.200") +
                jobLine("STAZIONE", "", "4000000", "1000000", "4800000") +
                jobLine("PF08/0023/A123", "NUOVO", "4000000", "1000000", "4800000") +
                jobLine("pf09/0023/A123", "", "4000000", "1000000", "4800000") +
                jobLine("PF01/0001/B456", "SENZA FILE", "4000000", "1000000", "4800000") +
                jobLine("PF02/0001/C789", "FUORI TABELLA", "4000000", "1000000", "4800000") +
                jobLine("PF07/0023/A123", "ANCORA", "4321098.778", "1234567.890", "4567890.123") +
                jobLine("PF03/0001/D000", "", "4000000", "1000000", "4800000") +
                jobLine("PF04/0001/D000", "", "4000000", "1000000", "4800000") +
                jobLine("PF05/0001/E111", "VUOTO", "4000000", "1000000", "4800000") +
                jobLine("PFAB/CDEF/xA123", "", "4000000", "1000000", "4800000") +
                jobLine("PF06/0023/A123", "SENZA COORDINATE", "", "", "") +
                jobLine("PF08/0023/A123", "RIPETUTO", "4000000", "1000000", "4800000"));
        Recorder recorder;

        PfGridLoading loading =
            loadPfGrid(job.points, fixture.archive(), ',', recorder.callbacks());

        QVERIFY(!loading.stopped);
        QCOMPARE(cellsOf(loading.grid),
                 (QStringList{
                     "PF07/0023/A123|4321098.752|1234567.890|4567890.200|0,013|0,000|-0,077|SI|X|"
                     "SPIGOLO",
                     "PF08/0023/A123|4000000|1000000|4800000||||NO|V|NUOVO",
                     "PF01/0001/B456|4000000|1000000|4800000||||NO|V|SENZA FILE",
                     "PF02/0001/"
                     "C789|4000000|1000000|4800000|-4000000,000|-1000000,000|-4800000,000|SI|X|"
                     "FUORI TABELLA",
                     "PF07/0023/A123|4321098.778|1234567.890|4567890.123|-0,013|0,000|0,000|SI|"
                     "X|ANCORA",
                     "PF03/0001/D000|4000000|1000000|4800000|||||X|",
                     "PF04/0001/D000|4000000|1000000|4800000|||||X|",
                     "PF05/0001/E111|4000000|1000000|4800000||||NO|V|VUOTO",
                     "PFAB/CDEF/xA123|4000000|1000000|4800000||||NO|V|",
                     "PF08/0023/A123|4000000|1000000|4800000||||NO|X|RIPETUTO",
                 }));
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

    void shouldToggleAMark_data() {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QByteArray>("once");
        QTest::addColumn<QByteArray>("thrice");
        QTest::newRow("V") << QByteArray("V") << QByteArray("X") << QByteArray("X");
        QTest::newRow("X") << QByteArray("X") << QByteArray("V") << QByteArray("V");
        QTest::newRow("empty") << QByteArray("") << QByteArray("V") << QByteArray("V");
        QTest::newRow("lower case v") << QByteArray("v") << QByteArray("V") << QByteArray("V");
    }
    void shouldToggleAMark() {
        QFETCH(QByteArray, mark);
        std::string_view once = toggledMark(mark.toStdString());
        QTEST(QByteArray(once.data(), static_cast<qsizetype>(once.size())), "once");
        std::string_view thrice = toggledMark(toggledMark(once));
        QTEST(QByteArray(thrice.data(), static_cast<qsizetype>(thrice.size())), "thrice");
    }
};

QTEST_APPLESS_MAIN(TestPfGridLoading)
#include "test_pf_grid_loading.moc"
