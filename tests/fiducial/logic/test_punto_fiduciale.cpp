#include "archive_fixture.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/punto_fiduciale.h"

#include <QtTest>

using namespace ferolan;
using namespace fiducial_test;

class TestPuntoFiduciale : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    // The first record is the worked example of the layout: a line of 79 characters.
    void shouldStoreRecordsByteForByte() {
        fs::path file = at("records.pf");
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF07/0023/Z999", "SPIGOLO FABBRICATO",
                                         "4321098.765", "1234567.890", "4567890.123"));
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF12/0001/A123",
                                         "DESCRIZIONE MOLTO LUNGA CHE SUPERA I TRENTA",
                                         "123456789012", "-1.5", "7"));
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF99/9999/B000", "", "1", "2", "3"));
        // A line feed would split the record in two broken ones.
        QVERIFY(Aggiungi_punto_fiduciale(file, "PF98/0001/B000", "A\nB\tC", "1", "2", "3"));
        QCOMPARE(bytesOf(file), dataFile("records.pf"));
    }

    void shouldReadARecordFromItsColumns_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("texts"); // numero, foglio, codice_comune, descrizione
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("z");
        QTest::newRow("worked example")
            << QByteArray("07 0023 Z999 SPIGOLO FABBRICATO             4321098.765 "
                          "1234567.890 4567890.123")
            << QStringList{"07", "0023", "Z999", "SPIGOLO FABBRICATO"} << 4321098.765 << 1234567.890
            << 4567890.123;
        QTest::newRow("twelve characters read as eleven")
            << QByteArray("12 0001 A123  A  B                          123456789012"
                          "-1.5        7.2345678901")
            << QStringList{"12", "0001", "A123", " A  B"} << 12345678901.0 << -1.5 << 7.234567890;
        QTest::newRow("line ends inside the key")
            << QByteArray("07 0023 Z9") << QStringList{"07", "0023", "Z9", ""} << 0.0 << 0.0 << 0.0;
        QTest::newRow("line ends inside x")
            << QByteArray("07 0023 Z999 D                              43")
            << QStringList{"07", "0023", "Z999", "D"} << 43.0 << 0.0 << 0.0;
    }
    void shouldReadARecordFromItsColumns() {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, texts);
        Punto_fiduciale record = readRecord(line.toStdString());
        QCOMPARE(textsOf({record.numero, record.foglio, record.codice_comune, record.descrizione}),
                 texts);
        QTEST(record.x, "x");
        QTEST(record.y, "y");
        QTEST(record.z, "z");
    }

    void shouldSplitAPfNameByPosition_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("layout") << QByteArray("PF07/0023/Z999")
                                << QStringList{"07", "0023", "Z999"};
        QTest::newRow("longer: code is the last four")
            << QByteArray("PF07/0023/XZ999") << QStringList{"07", "0023", "Z999"};
        QTest::newRow("short") << QByteArray("PF07/002") << QStringList{"07", "002", "/002"};
    }
    void shouldSplitAPfNameByPosition() {
        QFETCH(QByteArray, name);
        QFETCH(QStringList, parts);
        std::string text = name.toStdString();
        PfKey key = Scomponi_nome_pf(text);
        QCOMPARE(textsOf({key.numero, key.foglio, key.codice_comune}), parts);
    }
};

QTEST_APPLESS_MAIN(TestPuntoFiduciale)
#include "test_punto_fiduciale.moc"
