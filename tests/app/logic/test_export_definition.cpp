#include "app/logic/export_definition.h"
#include "core/files.h"

#include "bytes.h"
#include "cases.h"

#include <QtTest>

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

    void shouldAnswerEachCase_data() { test_cases::addRows(FEROLAN_TEST_DATA "/export_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        if (fields[0] == "marker") {
            QCOMPARE(QByteArray(holdsPregeoExport(fields[1].toStdString()) ? "yes" : "no"),
                     fields[2]);
            return;
        }
        const bool there = fields[1] == fields[2];
        writeBytes(tgo / "asciiexp.dat", fields[1]);
        writeBytes(tgo / "asciiexp.dat.old", "an older copy");
        QCOMPARE(ensurePregeoExport(tgo, update).outcome,
                 there ? Outcome::AlreadyThere : Outcome::Appended);
        QCOMPARE(bytesOf(tgo / "asciiexp.dat"), fields[2]);
        QCOMPARE(bytesOf(tgo / "asciiexp.dat.old"),
                 there ? QByteArray("an older copy") : fields[1]);
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::AlreadyThere);
    }

    void shouldReportAnUnreadableDefinition() {
        fs::create_directory(tgo / "asciiexp.dat");
        QCOMPARE(ensurePregeoExport(tgo, update).outcome, Outcome::DefinitionUnreadable);
    }
};

QTEST_APPLESS_MAIN(TestExportDefinition)
#include "test_export_definition.moc"
