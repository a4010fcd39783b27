#include "app/logic/export_definition.h"
#include "core/files.h"

#include "bytes.h"

#include <QtTest>

#include <fstream>

using namespace ferolan;
namespace fs = std::filesystem;
using Outcome = ExportCheck::Outcome;

using namespace test_bytes;
class TestExportDefinition : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    fs::path tgo, update;

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        tgo = fs::path(dir->path().toStdString()) / "tgo";
        fs::create_directory(tgo);
        update = fs::path(dir->path().toStdString()) / "aggiorna_export_tgo.txt";
        writeBytes(update, "USCITA PREGEO,1\r\nRIGA 2");
    }

    void shouldFindTheMarkerOnlyAtTheStartOfALine_data() {
        QTest::addColumn<QByteArray>("definition");
        QTest::addColumn<bool>("found");
        QTest::newRow("first line") << QByteArray("USCITA PREGEO\r\n") << true;
        QTest::newRow("later line, no line end") << QByteArray("A\r\nUSCITA PREGEO X") << true;
        QTest::newRow("after a lone cr") << QByteArray("A\rUSCITA PREGEO") << true;
        QTest::newRow("blanks in front") << QByteArray(" USCITA PREGEO\r\n") << false;
        QTest::newRow("lower case") << QByteArray("uscita pregeo\r\n") << false;
        QTest::newRow("after a lone lf") << QByteArray("A\nUSCITA PREGEO") << true;
        QTest::newRow("cut short") << QByteArray("USCITA PREGE") << false;
        QTest::newRow("empty") << QByteArray("") << false;
    }
    void shouldFindTheMarkerOnlyAtTheStartOfALine() {
        QFETCH(QByteArray, definition);
        QFETCH(bool, found);
        QCOMPARE(holdsPregeoExport(definition.toStdString()), found);
    }

    void shouldTouchNothingWhenTheMarkerIsThere() {
        writeBytes(tgo / "asciiexp.dat", "X\r\nUSCITA PREGEO\r\n");
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::AlreadyThere);
        QCOMPARE(bytesOf(tgo / "asciiexp.dat"), QByteArray("X\r\nUSCITA PREGEO\r\n"));
        QVERIFY(!fs::exists(tgo / "asciiexp.dat.old"));
    }

    void shouldCopyThenAppendTheUpdate_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("closed last line")
            << QByteArray("A\r\n") << QByteArray("A\r\nUSCITA PREGEO,1\r\nRIGA 2\r\n");
        QTest::newRow("open last line gets a line end first")
            << QByteArray("A") << QByteArray("A\r\nUSCITA PREGEO,1\r\nRIGA 2\r\n");
        QTest::newRow("empty definition")
            << QByteArray("") << QByteArray("USCITA PREGEO,1\r\nRIGA 2\r\n");
    }
    void shouldCopyThenAppendTheUpdate() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeBytes(tgo / "asciiexp.dat", before);
        writeBytes(tgo / "asciiexp.dat.old", "an older copy");
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::Appended);
        QCOMPARE(bytesOf(tgo / "asciiexp.dat"), after);
        QCOMPARE(bytesOf(tgo / "asciiexp.dat.old"), before);
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::AlreadyThere);
    }

    void shouldReportAMissingDefinitionOrFolder() {
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::DefinitionMissing);
        QCOMPARE(ensurePregeoExport(tgo / "none", update).outcome, Outcome::DefinitionMissing);
        QVERIFY(!fs::exists(tgo / "asciiexp.dat"));
    }

    void shouldLeaveTheDefinitionAsItWasWhenTheUpdateFails() {
        writeBytes(tgo / "asciiexp.dat", "A\r\n");
        ExportCheck noUpdate = ensurePregeoExport(tgo, tgo / "missing.txt");
        QCOMPARE(noUpdate.outcome, Outcome::UpdateFailed);
        QCOMPARE(noUpdate.file, tgo / "missing.txt");

        fs::create_directory(tgo / "asciiexp.dat.old"); // the copy cannot be written
        ExportCheck noCopy = ensurePregeoExport(tgo, update);
        QCOMPARE(noCopy.outcome, Outcome::UpdateFailed);
        QCOMPARE(noCopy.file, tgo / "asciiexp.dat.old");
        QCOMPARE(bytesOf(tgo / "asciiexp.dat"), QByteArray("A\r\n"));
    }

    void shouldReportAnUnreadableDefinition() {
        fs::create_directory(tgo / "asciiexp.dat");
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::DefinitionUnreadable);
    }
};

QTEST_APPLESS_MAIN(TestExportDefinition)
#include "test_export_definition.moc"
