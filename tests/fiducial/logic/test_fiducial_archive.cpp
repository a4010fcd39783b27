#include "archive_fixture.h"
#include "fiducial/logic/fiducial_archive.h"

#include <QtTest>

#include <optional>

using namespace ferolan;
using namespace fiducial_test;

namespace {
// Records cut short after the key; a word tells lines with the same key apart.
constexpr std::string_view kArchive = "07 0023 Z999 PRIMO\r\n"
                                      "07 0023 Z999 SECONDO\r\n"
                                      "08 0001 Z999 TERZO\r\n"
                                      "09 0001 A123\r\n"
                                      "07 0023 Z998 ULTIMO SENZA FINE RIGA";
} // namespace

class TestFiducialArchive : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldFindTheFirstRecordWithTheKey_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("line"); // empty: no match
        QTest::newRow("first of two")
            << QByteArray("PF07/0023/Z999") << QByteArray("07 0023 Z999 PRIMO");
        QTest::newRow("line of twelve characters")
            << QByteArray("PF09/0001/A123") << QByteArray("09 0001 A123");
        QTest::newRow("last line without line end")
            << QByteArray("PF07/0023/Z998") << QByteArray("07 0023 Z998 ULTIMO SENZA FINE RIGA");
        QTest::newRow("letter case differs") << QByteArray("PF07/0023/z999") << QByteArray();
        QTest::newRow("sheet differs") << QByteArray("PF08/0023/Z999") << QByteArray();
    }
    void shouldFindTheFirstRecordWithTheKey() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, line);
        writeBytes(at("a.pf"), kArchive);
        std::string text = name.toStdString();
        PfLookup found = Cerca_punto_fiduciale(at("a.pf"), Scomponi_nome_pf(text));
        QCOMPARE(found.outcome, line.isEmpty() ? LookupOutcome::NoMatch : LookupOutcome::Found);
        QCOMPARE(QByteArray::fromStdString(found.line), line);
    }

    void shouldTellNoMatchNoFileAndUnreadable() {
        PfKey key = Scomponi_nome_pf("PF07/0023/Z999");
        writeBytes(at("empty.pf"), "");
        QCOMPARE(Cerca_punto_fiduciale(at("empty.pf"), key).outcome, LookupOutcome::NoMatch);
        QCOMPARE(Cerca_punto_fiduciale(at("none.pf"), key).outcome, LookupOutcome::NoFile);
        fs::create_directory(at("folder.pf"));
        QCOMPARE(Cerca_punto_fiduciale(at("folder.pf"), key).outcome, LookupOutcome::Unreadable);
    }

    void shouldAppendAfterALastLineWithoutLineEnd() {
        writeBytes(at("open.pf"), "07 0023 Z999 VECCHIO");
        QVERIFY(Aggiungi_punto_fiduciale(at("open.pf"), "PF08/0023/Z999", "NUOVO", "1", "2", "3"));
        QVERIFY(bytesOf(at("open.pf")).starts_with("07 0023 Z999 VECCHIO\r\n08 0023 Z999 NUOVO"));
        QCOMPARE(Cerca_punto_fiduciale(at("open.pf"), Scomponi_nome_pf("PF08/0023/Z999")).outcome,
                 LookupOutcome::Found);
    }

    void shouldFailToAppendWithoutTouchingAnything() {
        fs::create_directory(at("taken.pf"));
        QVERIFY(!Aggiungi_punto_fiduciale(at("taken.pf"), "PF07/0023/Z999", "", "1", "2", "3"));
        QVERIFY(fs::is_directory(at("taken.pf")));
        QVERIFY(!Aggiungi_punto_fiduciale(at("no-folder") / "x.pf", "PF07/0023/Z999", "", "1", "2",
                                          "3"));
        QVERIFY(!fs::exists(at("no-folder")));
    }

    void shouldNameAMunicipalityFileFromTheCodeTable_data() {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("tableReadable");
        QTest::newRow("its line") << QByteArray("A123") << QByteArray("A123 - ALFA") << true;
        QTest::newRow("bare code when absent") << QByteArray("Z999") << QByteArray("Z999") << true;
        QTest::newRow("letter case counts") << QByteArray("a123") << QByteArray("a123") << true;
        QTest::newRow("table unreadable") << QByteArray("A123") << QByteArray() << false;
    }
    void shouldNameAMunicipalityFileFromTheCodeTable() {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, name);
        QFETCH(bool, tableReadable);
        ArchiveFixture fixture;
        if (!tableReadable) {
            fs::remove(fixture.table());
            fs::create_directory(fixture.table());
        }
        std::optional<std::string> base =
            Nome_file_comune(fixture.archive().tabella, code.toStdString());
        QCOMPARE(base.has_value(), tableReadable);
        QCOMPARE(QByteArray::fromStdString(base.value_or("")), name);
    }

    void shouldBuildThePathOnlyFromPlainNames_data() {
        QTest::addColumn<QByteArray>("province");
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QString>("tail"); // below Path_pf/punti_fiduciali; empty: refused
        QTest::newRow("province trimmed")
            << QByteArray("  PROVA ") << QByteArray("A123 - ALFA") << "PROVA/A123 - ALFA.pf";
        QTest::newRow("base unchanged")
            << QByteArray("PROVA") << QByteArray(" A123 ") << "PROVA/ A123 .pf";
        QTest::newRow("windows-1252") << QByteArray("FORL\xCC") << QByteArray("D704 - FORL\xCC")
                                      << QString::fromUtf8("FORLÌ/D704 - FORLÌ.pf");
        QTest::newRow("province climbing out") << QByteArray("..") << QByteArray("A123") << "";
        QTest::newRow("blank province") << QByteArray("  ") << QByteArray("A123") << "";
        QTest::newRow("separator in the name")
            << QByteArray("BOLZANO") << QByteArray("A952 - BOLZANO/BOZEN") << "";
        QTest::newRow("backslash in the province")
            << QByteArray("A\\B") << QByteArray("A123") << "";
    }
    void shouldBuildThePathOnlyFromPlainNames() {
        QFETCH(QByteArray, province);
        QFETCH(QByteArray, base);
        QFETCH(QString, tail);
        auto path = Percorso_file_pf("/archivio", province.toStdString(), base.toStdString());
        QCOMPARE(path.has_value(), !tail.isEmpty());
        if (path)
            QCOMPARE(*path, fs::path("/archivio/punti_fiduciali") / tail.toStdString());
    }

    void shouldListSheetsAndNumbersInFileOrder() {
        writeBytes(at("list.pf"), "07 0023 Z999\r\n01 0001 Z999\r\n07 0023 Z999\r\n"
                                  "03 0002 Z999\r\n02 0023 Z999");
        QCOMPARE(sheetsInFile(at("list.pf")).entries,
                 (std::vector<std::string>{"0023", "0001", "0002"}));
        QCOMPARE(numbersOfSheet(at("list.pf"), "0023").entries,
                 (std::vector<std::string>{"07", "07", "02"}));
        QCOMPARE(sheetsInFile(at("none.pf")).outcome, ReadOutcome::Missing);
        QVERIFY(hasArchiveFile(at("list.pf")));
        QVERIFY(!hasArchiveFile(at("none.pf")));
        fs::create_directory(at("dir.pf"));
        QVERIFY(!hasArchiveFile(at("dir.pf")));
    }
};

QTEST_APPLESS_MAIN(TestFiducialArchive)
#include "test_fiducial_archive.moc"
