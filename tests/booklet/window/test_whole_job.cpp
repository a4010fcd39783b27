#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"
#include "job_walk.h"

#include "bytes.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kBatch = fs::path(FEROLAN_SOURCE_DIR) / "tests" / "batch" / "data";

// Types the header file's "Control=value" lines into the controls of that name.
void typeHeader(Frm_09 &header, const QByteArray &lines) {
    for (const QByteArray &line : lines.split('\n')) {
        qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        QString name = QString::fromUtf8(line.left(equals));
        QString value = QString::fromUtf8(line.mid(equals + 1));
        if (auto *edit = header.findChild<QLineEdit *>(name))
            edit->setText(value);
        else
            header.findChild<QComboBox *>(name)->setCurrentText(value);
    }
}

// The code table and the archive of ferolan-batch's test.
void useBatchData(JobWalk &walk) {
    walk.folder.write(walk.folder.root() / "cod_comuni_2.cod",
                      bytesOf(kBatch / "cod_comuni_2.cod"));
    fs::copy(kBatch / "archive", walk.folder.archive(), fs::copy_options::recursive);
    walk.start();
}

void choose(QComboBox *list, const QString &entry) {
    int index = list->findText(entry);
    QVERIFY(index >= 0);
    list->setCurrentIndex(index);
}

} // namespace

// The job of ferolan-batch's test walked through the three windows as a surveyor would, given
// the same answers, archived points added: the booklet and archive that ferolan-batch writes,
// byte for byte, whichever decimal separator the system uses.
class TestWholeJob : public QObject {
    Q_OBJECT

private slots:
    void shouldWriteWhatFerolanBatchWritesForTheSameAnswers_data() {
        QTest::addColumn<char>("separator");
        QTest::newRow("comma") << ',';
        QTest::newRow("full stop") << '.';
    }
    void shouldWriteWhatFerolanBatchWritesForTheSameAnswers() {
        QFETCH(char, separator);
        JobWalk walk(separator);
        useBatchData(walk);
        walk.loadJob(bytesOf(kBatch / "job.txt"), 1);
        Frm_09 *header = walk.openHeaderWindow(true);
        typeHeader(*header, bytesOf(kBatch / "header.txt"));
        // Go on despite the accented letters; skip PF1/0012/A074; add points.
        walk.run.dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        Frm_pf *window = walk.handOff();
        QVERIFY(window);
        window->Cmd_esegui->click();
        // PF03/0007/L999, archived in this run, is in the booklet already: refused.
        for (auto [municipality, sheet, number] :
             {std::tuple{"A074 - AGLIE'", "0014", "02"}, {"L999 - CITTÀ DI PROVA", "0007", "03"}}) {
            choose(window->Cmb_comune, QString::fromUtf8(municipality));
            choose(window->Cmb_foglio, QString::fromUtf8(sheet));
            choose(window->Cmb_pf, QString::fromUtf8(number));
            if (QString(number) == "02")
                walk.run.dialogs.answers.push_back(Answer::Yes);
            emit window->Cmb_pf->activated(window->Cmb_pf->currentIndex());
        }
        window->cmd_fine->click();
        QVERIFY(walk.run.desktop.ended);
        QCOMPARE(walk.run.dialogs.unanswered, 0);

        QCOMPARE(bytesOf(walk.booklet()), bytesOf(kBatch / "expected" / "booklet.dat"));
        QCOMPARE(filesUnder(walk.folder.archive()),
                 filesUnder(kBatch / "expected" / "archive_proposti"));
    }

    // An NRTK survey from a permanent station, its session typed into the header window.
    void shouldWriteWhatFerolanBatchWritesForAnNrtkSurvey() {
        JobWalk walk;
        useBatchData(walk);
        walk.loadJob(bytesOf(kBatch / "job_nrtk.txt"), 1);
        Frm_09 *header = walk.openHeaderWindow();
        typeHeader(*header, bytesOf(kBatch / "header.txt") +
                                "Cmb_metodo=NRTK\nTxt_ora_inizio=08:15\nTxt_ora_fine=10:40\n");
        // Go on despite the accented letters; add no archived point.
        walk.run.dialogs.answers = {Answer::Yes, Answer::No};
        Frm_pf *window = walk.handOff();
        QVERIFY(window);
        window->Cmd_esegui->click();
        QVERIFY(walk.run.desktop.ended);
        QCOMPARE(walk.run.dialogs.unanswered, 0);
        QCOMPARE(bytesOf(walk.booklet()), bytesOf(kBatch / "expected" / "booklet_nrtk.dat"));
    }
};

QTEST_MAIN(TestWholeJob)
#include "test_whole_job.moc"
