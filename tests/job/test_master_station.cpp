#include "job/master_station.h"

#include <QtTest>

using namespace ferolan;

namespace {
// A job line with the name, the east value and the height in their columns.
std::string jobLine(const std::string &name, const std::string &east, const std::string &height) {
    std::string line = name;
    line.resize(104, ' ');
    line += std::string(12 - std::min<std::size_t>(12, east.size()), ' ') + east;
    line += std::string(8 - std::min<std::size_t>(8, height.size()), ' ') + height;
    return line + "\r\n";
}
} // namespace

class TestMasterStation : public QObject {
    Q_OBJECT
private slots:
    void shouldComputeTheHeaderDefaults_data() {
        QTest::addColumn<QStringList>("easts");
        QTest::addColumn<QString>("height");
        QTest::addColumn<double>("quota");
        QTest::addColumn<double>("estMedia");
        QTest::newRow("mean of 10 20 31")
            << QStringList{"10", "20", "31"} << "123.9" << 123.0 << 20.0;
        QTest::newRow("negative height") << QStringList{"1", "1", "1"} << "-0.5" << -1.0 << 1.0;
        QTest::newRow("text height") << QStringList{"1", "1", "1"} << "abc" << 0.0 << 1.0;
        QTest::newRow("only numbers count") << QStringList{"10", "", "11"} << "" << 0.0 << 10.0;
        QTest::newRow("text east does not count")
            << QStringList{"10", "EST", "11"} << "" << 0.0 << 10.0;
        QTest::newRow("negative mean rounds down")
            << QStringList{"-1", "0", "0"} << "5" << 5.0 << -1.0;
    }
    void shouldComputeTheHeaderDefaults() {
        QFETCH(QStringList, easts);
        QFETCH(QString, height);
        QFETCH(double, quota);
        QFETCH(double, estMedia);
        std::string job;
        for (int i = 0; i < easts.size(); ++i)
            job += jobLine("P" + std::to_string(i + 1), easts[i].toStdString(),
                           i == 1 ? height.toStdString() : "");
        PointList points;
        QVERIFY(points.load(job));
        MasterStation master = masterStationAt(points, 2);
        QCOMPARE(master.Punto_master, std::string("P2"));
        QCOMPARE(master.Riga_master, std::size_t(2));
        QCOMPARE(master.Quota_master, quota);
        QCOMPARE(master.Est_media, estMedia);
    }

    void shouldApplyTheDatRule_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no extension") << "/lavori/job"
                                      << "/lavori/job.dat";
        QTest::newRow("lower case") << "/lavori/job.dat"
                                    << "/lavori/job.dat";
        QTest::newRow("capitals kept") << "/lavori/JOB.DAT"
                                       << "/lavori/JOB.DAT";
        QTest::newRow("mixed case kept") << "/lavori/job.DaT"
                                         << "/lavori/job.DaT";
        QTest::newRow("another extension after") << "/lavori/job.dat.txt"
                                                 << "/lavori/job.dat.txt.dat";
        QTest::newRow("short") << "da"
                               << "da.dat";
    }
    void shouldApplyTheDatRule() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(withDatExtension(name.toStdString())), expected);
    }
};

QTEST_APPLESS_MAIN(TestMasterStation)
#include "test_master_station.moc"
