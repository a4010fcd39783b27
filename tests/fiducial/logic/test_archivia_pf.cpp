#include "job/point_list.h"
#include "archive_fixture.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/pf_grid_loading.h"
#include "fiducial/logic/punto_fiduciale.h"

#include <QtTest>

using namespace ferolan;
using namespace fiducial_test;

namespace {

PfGridRow gridRow(std::string_view name, std::string_view mark, std::string_view description = "",
                  std::string_view x = "1", std::string_view y = "2", std::string_view z = "3") {
    PfGridRow row;
    row.cell(PfGridRow::Name) = name;
    row.cell(PfGridRow::X) = x;
    row.cell(PfGridRow::Y) = y;
    row.cell(PfGridRow::Z) = z;
    row.cell(PfGridRow::Mark) = mark;
    row.cell(PfGridRow::Description) = description;
    return row;
}

QList<bool> passedRows(const PfGrid &grid) {
    QList<bool> passed;
    for (const PfGridRow &row : grid)
        passed << row.passedByArchiving;
    return passed;
}

} // namespace

class TestArchiviaPf : public QObject {
    Q_OBJECT
private slots:
    void shouldArchiveExactlyTheMarkedRowsInGridOrder() {
        ArchiveFixture fixture;
        writeBytes(fixture.alfa(), "05 0023 A123 VECCHIO\r\n");
        PfGrid grid{
            gridRow("PF07/0023/A123", "V", "SPIGOLO FABBRICATO", "4321098.765", "1234567.890",
                    "4567890.123"),
            gridRow("PF08/0023/A123", "X"),
            gridRow("PF01/0001/B456", "V", "CHIESA", "-12.5", "0", "1E3"),
            gridRow("PF09/0023/A123", ""),
            gridRow("PF10/0023/A123", "v"),
            gridRow("PF02/0001/C789", "V"),
            gridRow("PF07/0023/A123", "V", "DESCRIZIONE DI PIU DI TRENTA CARATTERI", "4321098.770",
                    "1234567.891", "4567890.124"),
        };

        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        QCOMPARE(result.outcome, ArchivingResult::Ok);
        QCOMPARE(bytesOf(fixture.alfa()), dataFile("archived_A123.pf"));
        QCOMPARE(bytesOf(fixture.beta()), dataFile("archived_B456.pf"));
        QCOMPARE(bytesOf(fixture.provinceFolder() / "C789.pf"), dataFile("archived_C789.pf"));
        QCOMPARE(passedRows(grid), QList<bool>(7, true));
    }

    void shouldArchiveNothingWhenTheCodeTableCannotBeRead() {
        ArchiveFixture fixture;
        fs::remove(fixture.table());
        PfGrid grid{gridRow("PF08/0023/A123", "X"), gridRow("PF07/0023/A123", "V")};

        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        QCOMPARE(result.outcome, ArchivingResult::TableUnreadable);
        QCOMPARE(result.file, fixture.table());
        QVERIFY(fs::is_empty(fixture.provinceFolder()));
        QCOMPARE(passedRows(grid), (QList<bool>{true, false}));
    }

    void shouldStopAtTheFirstFailedAppend_data() {
        QTest::addColumn<bool>("unusableName");
        QTest::newRow("file cannot be written") << false;
        QTest::newRow("municipality line cannot name a file") << true;
    }
    void shouldStopAtTheFirstFailedAppend() {
        QFETCH(bool, unusableName);
        ArchiveFixture fixture;
        fs::path failing = fixture.beta();
        if (unusableName) {
            writeBytes(fixture.table(), "*PROVA\r\nA123 - ALFA\r\nB456 - BE/TA\r\n");
            failing = fixture.provinceFolder() / "B456 - BE" / "TA.pf";
        } else {
            fs::create_directory(fixture.beta());
        }
        PfGrid grid{gridRow("PF07/0023/A123", "V", "PRIMO"), gridRow("PF08/0023/A123", "X"),
                    gridRow("PF01/0001/B456", "V"), gridRow("PF09/0023/A123", "V")};

        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        QCOMPARE(result.outcome, ArchivingResult::AppendFailed);
        QCOMPARE(result.file, failing);
        QCOMPARE(bytesOf(fixture.alfa()),
                 recordLine("PF07/0023/A123", "PRIMO", "1", "2", "3") + "\r\n");
        QVERIFY(!fs::exists(fixture.provinceFolder() / "B456 - BE"));
        QCOMPARE(passedRows(grid), (QList<bool>{true, true, false, false}));
    }

    void shouldFindArchivedPointsAtTheNextLoading() {
        ArchiveFixture fixture;
        PointList points;
        QVERIFY(points.load(
            jobLine("PF07/0023/A123", "SPIGOLO", "4321098.765", "1234567.890", "4567890.123")));
        PfGridLoadingCallbacks quiet{[](std::string_view) { return MalformedNameAnswer::Stop; },
                                     [](std::size_t) {}};
        PfGridLoading first = loadPfGrid(points, fixture.archive(), '.', quiet);
        QCOMPARE(first.grid.at(0).cell(PfGridRow::Mark), std::string("V"));
        QCOMPARE(Archivia_pf(first.grid, fixture.archive()).outcome, ArchivingResult::Ok);

        PfGridLoading second = loadPfGrid(points, fixture.archive(), '.', quiet);
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
            recordLine("PF01/0001/C789", "", "4000000", "1000000", "4800000") + "\r\n";
        writeBytes(oldPlace, archived);
        PointList points;
        QVERIFY(points.load(jobLine("PF01/0001/C789", "", "4000000", "1000000", "4800000") +
                            jobLine("PF02/0001/C789", "", "4000000", "1000000", "4800000") +
                            jobLine("PF07/0023/A123", "", "4000000", "1000000", "4800000") +
                            jobLine("PF08/0023/A123", "", "4000000", "1000000", "4800000")));
        PfGridLoadingCallbacks quiet{[](std::string_view) { return MalformedNameAnswer::Stop; },
                                     [](std::size_t) {}};
        PfGrid grid = loadPfGrid(points, fixture.archive(), '.', quiet).grid;
        QStringList marks;
        for (const PfGridRow &row : grid)
            marks << QString::fromStdString(row.cell(PfGridRow::Used) + row.cell(PfGridRow::Mark));
        QCOMPARE(marks, (QStringList{"SIX", "NOV", "NOV", "NOV"}));

        const std::string byAnother = recordLine("PF08/0023/A123", "ALTRO", "1", "2", "3") + "\r\n";
        writeBytes(fixture.alfa(), byAnother);
        ArchivingResult result = Archivia_pf(grid, fixture.archive());

        QCOMPARE(result.outcome, ArchivingResult::Ok);
        QCOMPARE(result.archivedMeanwhile, std::vector<std::string>{"PF08/0023/A123"});
        QCOMPARE(grid[3].cell(PfGridRow::Mark), std::string("X"));
        QCOMPARE(bytesOf(oldPlace), archived);
        QCOMPARE(bytesOf(ownPlace),
                 recordLine("PF02/0001/C789", "", "4000000", "1000000", "4800000") + "\r\n");
        QCOMPARE(bytesOf(fixture.alfa()),
                 byAnother + recordLine("PF07/0023/A123", "", "4000000", "1000000", "4800000") +
                     "\r\n");
    }
};

QTEST_APPLESS_MAIN(TestArchiviaPf)
#include "test_archivia_pf.moc"
