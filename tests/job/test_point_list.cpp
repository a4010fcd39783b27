#include "core/files.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <QtTest>

using namespace ferolan;

namespace {
QByteArray dump(const PointList &points) {
    QByteArray out;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        for (int column = 1; column <= PointList::kColumns; ++column) {
            std::string_view field = points.field(row, column);
            out += '[' + QByteArray(field.data(), static_cast<qsizetype>(field.size())) + ']';
        }
        out += '\n';
    }
    return out;
}

std::string dataFile(const char *name) {
    return readFile(std::filesystem::path(FEROLAN_TEST_DATA) / name).bytes;
}
} // namespace

class TestPointList : public QObject {
    Q_OBJECT
private slots:
    void shouldReadEveryLineByFixedColumns() {
        PointList points;
        QVERIFY(points.load(dataFile("job_edge_cases.txt")));
        QCOMPARE(dump(points), QByteArray::fromStdString(dataFile("job_edge_cases.expected")));
    }

    // A job that went through another system reads as the original, blank lines aside.
    void shouldReadTheSameJobWhateverItsLineEnds() {
        const QByteArray original = QByteArray::fromStdString(
            readFile(std::filesystem::path(FEROLAN_SOURCE_DIR) / "demo" / "lavoro_aglie.txt")
                .bytes);
        PointList reference;
        QVERIFY(reference.load(original.toStdString()));
        QCOMPARE(reference.rowCount(), std::size_t(32));
        for (const char *lineEnd : {"\n", "\r"}) {
            QByteArray twin = QByteArray(original).replace("\r\n", lineEnd) + "  \t " + lineEnd;
            PointList points;
            QVERIFY(points.load(twin.toStdString()));
            QCOMPARE(dump(points), dump(reference));
        }
    }

    void shouldTellUsableCoordinates_data() {
        QTest::addColumn<QByteArray>("x");
        QTest::addColumn<QByteArray>("y");
        QTest::addColumn<QByteArray>("z");
        QTest::addColumn<bool>("usable");
        QTest::newRow("a point in Italy") << QByteArray("4448006.973") << QByteArray("606794.230")
                                          << QByteArray("4516065.343") << true;
        QTest::newRow("inner edge")
            << QByteArray("6000000") << QByteArray("0") << QByteArray("0") << true;
        QTest::newRow("below it") << QByteArray("5999999.99") << QByteArray("0") << QByteArray("0")
                                  << false;
        QTest::newRow("outer edge")
            << QByteArray("0") << QByteArray("-6800000") << QByteArray("0") << true;
        QTest::newRow("beyond it")
            << QByteArray("0") << QByteArray("0") << QByteArray("+6800000.01") << false;
        QTest::newRow("point and digit")
            << QByteArray(".64E7") << QByteArray("0") << QByteArray("0") << true;
        QTest::newRow("empty cell")
            << QByteArray("6400000") << QByteArray("") << QByteArray("0") << false;
        QTest::newRow("text") << QByteArray("6400000") << QByteArray("0") << QByteArray("N/D")
                              << false;
        QTest::newRow("sign alone")
            << QByteArray("-") << QByteArray("6400000") << QByteArray("0") << false;
        QTest::newRow("overflowing")
            << QByteArray("1E999") << QByteArray("0") << QByteArray("0") << false;
    }
    void shouldTellUsableCoordinates() {
        QFETCH(QByteArray, x);
        QFETCH(QByteArray, y);
        QFETCH(QByteArray, z);
        std::string line = "P";
        for (const QByteArray &cell : {x, y, z}) {
            line.resize(line.size() < 68 ? 68 : line.size(), ' ');
            line +=
                std::string(12 - static_cast<std::size_t>(cell.size()), ' ') + cell.toStdString();
        }
        PointList points;
        QVERIFY(points.load(line));
        QTEST(hasUsableCoordinates(points, 1), "usable");
    }

    void shouldStartWithOneEmptyRow() {
        PointList points;
        QCOMPARE(points.rowCount(), std::size_t(1));
        QCOMPARE(points.field(1, PointList::Name), std::string_view());
    }

    void shouldReplaceAllRowsOfAnEarlierJob() {
        PointList points;
        QVERIFY(points.load("A\r\nB\r\nC\r\n"));
        QVERIFY(points.load("D\r\n"));
        QCOMPARE(points.rowCount(), std::size_t(1));
        QCOMPARE(points.field(1, PointList::Name), std::string_view("D"));
    }

    void shouldKeepTheRowCountButEmptyTheRowsForAnEmptyFile() {
        PointList points;
        QVERIFY(points.load("A\r\nB\r\nC"));
        QVERIFY(points.load(""));
        QCOMPARE(points.rowCount(), std::size_t(3));
        QCOMPARE(dump(points), QByteArray("[][][][][][][][]\n").repeated(3));
    }

    void shouldReadNothingOutsideTheList() {
        PointList points;
        QVERIFY(points.load("A\r\n"));
        QCOMPARE(points.field(0, PointList::Name), std::string_view());
        QCOMPARE(points.field(2, PointList::Name), std::string_view());
        QCOMPARE(points.field(1, 0), std::string_view());
        QCOMPARE(points.field(1, 9), std::string_view());
    }
};

QTEST_APPLESS_MAIN(TestPointList)
#include "test_point_list.moc"
