#include "core/files.h"
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

const fs::path kDemo = fs::path(FEROLAN_SOURCE_DIR) / "demo";
const fs::path kExpected = fs::path(FEROLAN_TEST_DATA) / "whole_job";
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

void choose(QComboBox *list, const QString &entry) {
    int index = list->findText(entry);
    QVERIFY(index >= 0);
    list->setCurrentIndex(index);
}

} // namespace

// A job walked through the three windows as a surveyor would, compared byte for byte with
// the booklet and the archive computed independently: the demo job of Agliè, and the job of
// ferolan-batch's test, whose answers add archived points.
class TestWholeJob : public QObject {
    Q_OBJECT
    std::unique_ptr<JobWalk> walk;

    fs::path aglie() const { return walk->archiveFile("TORINO", "A074 - AGLIE'"); }

    Frm_pf *reviewFiducialPoints() {
        fs::copy(kDemo / "archivio", walk->folder.archive(), fs::copy_options::recursive);
        walk->start();
        walk->loadJob(bytesOf(kDemo / "lavoro_aglie.txt"), 1);
        Frm_09 *header = walk->openHeaderWindow();
        JobWalk::fillHeader(*header);
        walk->run.dialogs.answers.push_back(
            Answer::Yes); // go on without the malformed PF4/0012/A074
        return walk->handOff();
    }

private slots:
    void init() { walk = std::make_unique<JobWalk>(); }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    // The same booklet whichever decimal separator the system uses.
    void shouldWriteTheBookletWithoutArchivedPoints_data() {
        QTest::addColumn<char>("separator");
        QTest::newRow("comma") << ',';
        QTest::newRow("full stop") << '.';
    }
    void shouldWriteTheBookletWithoutArchivedPoints() {
        QFETCH(char, separator);
        walk = std::make_unique<JobWalk>(separator);
        Frm_pf *window = reviewFiducialPoints();
        walk->run.dialogs.answers.push_back(Answer::No);
        window->Cmd_esegui->click();
        QVERIFY(walk->run.desktop.ended);
        QCOMPARE(bytesOf(walk->booklet()), bytesOf(kExpected / "booklet_no.dat"));
        QCOMPARE(bytesOf(aglie()), bytesOf(kExpected / "archive_after.pf"));
    }

    // The job of ferolan-batch's test, given the same answers: the booklet and archive that
    // ferolan-batch writes, byte for byte.
    void shouldWriteWhatFerolanBatchWritesForTheSameAnswers() {
        walk->folder.write(walk->folder.root() / "cod_comuni_2.cod",
                           bytesOf(kBatch / "cod_comuni_2.cod"));
        fs::copy(kBatch / "archive", walk->folder.archive(), fs::copy_options::recursive);
        walk->start();
        walk->loadJob(bytesOf(kBatch / "job.txt"), 1);
        Frm_09 *header = walk->openHeaderWindow(true);
        typeHeader(*header, bytesOf(kBatch / "header.txt"));
        // Go on despite the accented letters; skip PF1/0012/A074; add points.
        walk->run.dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        Frm_pf *window = walk->handOff();
        QVERIFY(window);
        window->Cmd_esegui->click();
        for (auto [municipality, sheet, number] :
             {std::tuple{"A074 - AGLIE'", "0014", "02"}, {"L999 - CITTÀ DI PROVA", "0007", "03"}}) {
            choose(window->Cmb_comune, QString::fromUtf8(municipality));
            choose(window->Cmb_foglio, QString::fromUtf8(sheet));
            choose(window->Cmb_pf, QString::fromUtf8(number));
            walk->run.dialogs.answers.push_back(Answer::Yes);
            emit window->Cmb_pf->activated(window->Cmb_pf->currentIndex());
        }
        window->cmd_fine->click();
        QVERIFY(walk->run.desktop.ended);
        QCOMPARE(walk->run.dialogs.unanswered, 0);

        QCOMPARE(bytesOf(walk->booklet()), bytesOf(kBatch / "expected" / "booklet.dat"));
        QCOMPARE(filesUnder(walk->folder.archive()),
                 filesUnder(kBatch / "expected" / "archive_proposti"));
    }
};

QTEST_MAIN(TestWholeJob)
#include "test_whole_job.moc"
