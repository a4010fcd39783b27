#include "core/files.h"
#include "booklet/logic/controllo_libretto.h"
#include "core/gauss_boaga.h"
#include "header/logic/tabella_comuni.h"

#include <QtTest>

#include <filesystem>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

const fs::path kFolder = fs::path(FEROLAN_TEST_DATA) / "controllo";
constexpr std::chrono::year_month_day kToday{std::chrono::year{2027}, std::chrono::March,
                                             std::chrono::day{1}};

// The printed form without its message: "errore: linea 3 (riga 1), campo 2".
QString withoutMessage(const Finding &finding) {
    QString text = QString::fromStdString(findingText(finding));
    return text.left(text.indexOf(QStringLiteral(": "), text.indexOf(QStringLiteral(": ")) + 2));
}

} // namespace

class TestControlloLibretto : public QObject {
    Q_OBJECT
private slots:
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
        QStringList found, printed;
        for (const Finding &finding : Controlla_libretto(content.bytes, table, kToday)) {
            found << withoutMessage(finding);
            printed << QString::fromStdString(findingText(finding));
        }
        if (found != expected)
            qWarning("%s", qPrintable(printed.join(QLatin1Char('\n'))));
        QCOMPARE(found, expected);
    }

    void shouldShowAtMostTwentyFindings() {
        std::vector<Finding> findings(21, Finding{Severity::Avviso, 0, {}, 0, "x"});
        QStringList lines = QString::fromStdString(findingLines(findings)).split('\n');
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines.first(), QStringLiteral("avviso: libretto: x"));
        QCOMPARE(lines.last(), QStringLiteral("e altri 1"));
    }

    // Reference values from an independent transverse Mercator series (Krüger's, in n).
    void shouldProjectToGaussBoaga_data() {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("ovest");
        QTest::addColumn<double>("east");
        QTest::addColumn<double>("north");
        QTest::newRow("central meridian") << 45.0 << 9.0 << true << 1500000.000 << 4983043.122;
        QTest::newRow("Agliè") << 45.37 << 7.87 << true << 1411509.728 << 5024769.139;
        QTest::newRow("12° E in Ovest") << 45.0 << 12.0 << true << 1736457.010 << 4987422.430;
        QTest::newRow("12° E in Est") << 45.0 << 12.0 << false << 2283542.990 << 4987422.430;
        QTest::newRow("Reggio Calabria") << 38.1 << 15.6 << false << 2572609.370 << 4217150.341;
    }
    void shouldProjectToGaussBoaga() {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, ovest);
        QFETCH(double, east);
        QFETCH(double, north);
        GaussBoaga plane = gaussBoagaFromGeodetic(
            latitude, longitude, ovest ? GaussBoagaZone::Ovest : GaussBoagaZone::Est);
        QVERIFY2(std::abs(plane.east - east) < 0.05,
                 qPrintable(QString::number(plane.east, 'f', 3)));
        QVERIFY2(std::abs(plane.north - north) < 0.05,
                 qPrintable(QString::number(plane.north, 'f', 3)));
    }
};

QTEST_APPLESS_MAIN(TestControlloLibretto)
#include "test_controllo_libretto.moc"
