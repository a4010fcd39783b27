#include "booklet/logic/archived_point.h"
#include "booklet/logic/booklet_rows.h"

#include "worked_example.h"

#include <QtTest>

#include <map>

using namespace ferolan;
using namespace booklet_test;

namespace {
QByteArray bytes(const std::string &text) {
    return QByteArray::fromStdString(text);
}
const Xyz kMaster{4512345.1234, 987654.3216, 4456789.0006};
} // namespace

class TestBookletRows : public QObject {
    Q_OBJECT
private slots:
    void shouldTakeTheHeaderRowsFromTheControls_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("registration province upper-cased, accents too")
            << QByteArray("Cmb_prov_albo") << QByteArray("forl\xEC")
            << QByteArray(
                   "0|05032027|123456|A123|12|100;101;102|MARIO ROSSI|GEOMETRA|FORL\xCC|\r\n");
        QTest::newRow("municipality shorter than its code")
            << QByteArray("Cmb_comune") << QByteArray("A1")
            << QByteArray("0|05032027|123456|A1|12|100;101;102|MARIO ROSSI|GEOMETRA|ROMA|\r\n");
        QTest::newRow("typed document type keeps its last two characters")
            << QByteArray("Cmb_tipo") << QByteArray("altro XY")
            << QByteArray("9|123|10|20|2312345|8.00-G,Stda 3.11|XY|NOTE; PROVA, UNO|\r\n");
        QTest::newRow("one-character document type")
            << QByteArray("Cmb_tipo") << QByteArray("Z")
            << QByteArray("9|123|10|20|2312345|8.00-G,Stda 3.11|Z|NOTE; PROVA, UNO|\r\n");
    }
    void shouldTakeTheHeaderRowsFromTheControls() {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        static const std::map<QByteArray, std::string HeaderData::*> kFields = {
            {"Cmb_prov_albo", &HeaderData::Cmb_prov_albo},
            {"Cmb_comune", &HeaderData::Cmb_comune},
            {"Cmb_tipo", &HeaderData::Cmb_tipo}};
        HeaderData header = workedExampleHeader();
        header.*kFields.at(field) = value.toStdString();
        QCOMPARE(bytes(expected.startsWith('0') ? row0(header) : row9(header)), expected);
    }

    void shouldWriteAVectorRow_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("z");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("negative components")
            << -1.25 << -0.0006 << -1000.0 << ',' << QByteArray("P") << QByteArray("D")
            << QByteArray("2|P|-1,250;-0,001;-1000,000|0;0;0;0;0;0|PDOP=1|0|D|\r\n");
        QTest::newRow("negative that rounds to zero has no sign")
            << -0.0004 << 0.0 << 0.0 << ',' << QByteArray("P") << QByteArray()
            << QByteArray("2|P|0,000;0,000;0,000|0;0;0;0;0;0|PDOP=1|0||\r\n");
        QTest::newRow("other separator written as a comma")
            << 1.5 << 2.0 << 3.0 << '\'' << QByteArray("P") << QByteArray()
            << QByteArray("2|P|1,500;2,000;3,000|0;0;0;0;0;0|PDOP=1|0||\r\n");
        QTest::newRow("bars become blanks, inner blanks stay")
            << 0.0 << 0.0 << 0.0 << ',' << QByteArray("|P|") << QByteArray("MURO  |CANCELLO")
            << QByteArray("2| P |0,000;0,000;0,000|0;0;0;0;0;0|PDOP=1|0|MURO   CANCELLO|\r\n");
        QTest::newRow("control characters become blanks")
            << 0.0 << 0.0 << 0.0 << ',' << QByteArray("P\r") << QByteArray("MURO\nNORD\0X", 11)
            << QByteArray("2|P |0,000;0,000;0,000|0;0;0;0;0;0|PDOP=1|0|MURO NORD X|\r\n");
    }
    void shouldWriteAVectorRow() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, z);
        QFETCH(char, separator);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, description);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes(row2(name.toStdString(), {x, y, z}, description.toStdString(), separator)),
                 expected);
    }

    void shouldWriteTheMasterStationRowLikeThePoints() {
        QCOMPARE(bytes(row1("M|1", kMaster, "", ',')),
                 QByteArray("1|M 1|4512345,123;987654,322;4456789,001|0||\r\n"));
    }

    void shouldWriteTheRowOfAnArchivedPoint_data() {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("record description, trailing blanks removed")
            << QByteArray("07") << QByteArray("0012") << QByteArray("  CIPPO IN PIETRA    ")
            << QByteArray("2|PF07/0012/A123|-45,123;45,678;-9,001|0;0;0;0;0;0|PDOP=1|0|  CIPPO "
                          "IN PIETRA|\r\n");
        QTest::newRow("blank description")
            << QByteArray("07") << QByteArray("0012") << QByteArray("      ")
            << QByteArray("2|PF07/0012/A123|-45,123;45,678;-9,001|0;0;0;0;0;0|PDOP=1|0||\r\n");
        QTest::newRow("bars in the record become blanks")
            << QByteArray("0|") << QByteArray("00|2") << QByteArray("A|B")
            << QByteArray("2|PF0 /00 2/A123|-45,123;45,678;-9,001|0;0;0;0;0;0|PDOP=1|0|A B|\r\n");
    }
    void shouldWriteTheRowOfAnArchivedPoint() {
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, sheet);
        QFETCH(QByteArray, description);
        QFETCH(QByteArray, expected);
        Xyz archived{4512300.0, 987700.0, 4456780.0};
        QCOMPARE(bytes(archivedPointRow(number.toStdString(), sheet.toStdString(), "A123 PROVA",
                                        archived, description.toStdString(), kMaster, ',')),
                 expected);
    }

    void shouldAskToConfirmTheArchivedPoint() {
        QCOMPARE(QString::fromStdString(insertionQuestion("07", "0012", "A123 PROVA")),
                 QString("confermi l'inserimento nel libretto del PF07/0012/A123?"));
        QCOMPARE(QString::fromStdString(insertionQuestion("\xE8"
                                                          "1",
                                                          "0012", "A12")),
                 QString::fromUtf8("confermi l'inserimento nel libretto del PFè1/0012/A12?"));
    }
};

QTEST_APPLESS_MAIN(TestBookletRows)
#include "test_booklet_rows.moc"
