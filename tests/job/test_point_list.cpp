#include "core/files.h"
#include "job/point_list.h"

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
