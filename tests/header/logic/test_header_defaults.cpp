#include "header/logic/header_defaults.h"

#include <QtTest>

using namespace ferolan;
using namespace std::chrono;

namespace {

// A job whose lines carry only point names (columns 1 to 16).
PointList jobNamed(const QByteArrayList &names) {
    PointList points;
    std::string job;
    for (const QByteArray &name : names)
        job += name.toStdString() + "\r\n";
    if (!points.load(job))
        qFatal("job not loaded");
    return points;
}

} // namespace

class TestHeaderDefaults : public QObject {
    Q_OBJECT
private slots:
    void shouldTakeTheMunicipalityCodeOfTheJob_data() {
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("first fiducial point decides")
            << QByteArrayList{"BASE", "PF01/0001/A074", "PF02/0001/H501", "P9"}
            << QByteArray("A074");
        QTest::newRow("13, 15 characters and small letters do not count")
            << QByteArrayList{"PF01/001/A074", "PF01/00001/A074", "pf01/0001/A074", "STAZIONE"}
            << QByteArray("IONE");
        QTest::newRow("any 14 characters after PF")
            << QByteArrayList{"1", "PFxxxxxxxxB111", "2"} << QByteArray("B111");
        QTest::newRow("name placed with blanks")
            << QByteArrayList{"  PF01/0001/A074", "P9"} << QByteArray("A074");
        QTest::newRow("short last name") << QByteArrayList{"PF1", "P2"} << QByteArray("P2");
        QTest::newRow("blank last line is no point")
            << QByteArrayList{"PF01/0001", ""} << QByteArray("0001");
        QTest::newRow("no job loaded") << QByteArrayList{} << QByteArray("");
    }
    void shouldTakeTheMunicipalityCodeOfTheJob() {
        QFETCH(QByteArrayList, names);
        QFETCH(QByteArray, code);
        PointList points = names.isEmpty() ? PointList() : jobNamed(names);
        QCOMPARE(QByteArray::fromStdString(jobMunicipalityCode(points)), code);
    }

    void shouldWriteTheDateAsDayMonthYear_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<unsigned>("month");
        QTest::addColumn<unsigned>("day");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("single digits padded") << 2027 << 3u << 5u << QByteArray("05032027");
        QTest::newRow("double digits") << 1999 << 12u << 31u << QByteArray("31121999");
        QTest::newRow("leap day") << 2000 << 2u << 29u << QByteArray("29022000");
    }
    void shouldWriteTheDateAsDayMonthYear() {
        QFETCH(int, year);
        QFETCH(unsigned, month);
        QFETCH(unsigned, day);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(dateText(year_month_day{
                     std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)})),
                 text);
    }
};

QTEST_APPLESS_MAIN(TestHeaderDefaults)
#include "test_header_defaults.moc"
