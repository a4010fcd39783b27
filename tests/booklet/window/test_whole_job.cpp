#include "core/files.h"
#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"
#include "job_walk.h"

#include "bytes.h"
#include <QComboBox>
#include <QPushButton>

#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kDemo = fs::path(FEROLAN_SOURCE_DIR) / "demo";
const fs::path kExpected = fs::path(FEROLAN_TEST_DATA) / "whole_job";

} // namespace

// The sample job of Agliè walked through the three windows as a surveyor would, compared
// byte for byte with the booklet and the archive computed independently.
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

    void addArchivedPoint(Frm_pf *window, const QString &sheet, const QString &number) {
        window->Cmb_foglio->setCurrentIndex(window->Cmb_foglio->findText(sheet));
        int index = window->Cmb_pf->findText(number);
        window->Cmb_pf->setCurrentIndex(index);
        walk->run.dialogs.answers.push_back(Answer::Yes);
        emit window->Cmb_pf->activated(index);
    }

private slots:
    void init() { walk = std::make_unique<JobWalk>(); }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    void shouldWriteTheBookletWithoutArchivedPoints() {
        Frm_pf *window = reviewFiducialPoints();
        walk->run.dialogs.answers.push_back(Answer::No);
        window->Cmd_esegui->click();
        QVERIFY(walk->run.desktop.ended);
        QCOMPARE(bytesOf(walk->booklet()), bytesOf(kExpected / "booklet_no.dat"));
        QCOMPARE(bytesOf(aglie()), bytesOf(kExpected / "archive_after.pf"));
    }

    void shouldWriteTheBookletWithTwoArchivedPoints() {
        Frm_pf *window = reviewFiducialPoints();
        walk->run.dialogs.answers.push_back(Answer::Yes);
        window->Cmd_esegui->click();
        addArchivedPoint(window, QStringLiteral("0012"), QStringLiteral("09"));
        addArchivedPoint(window, QStringLiteral("0014"), QStringLiteral("02"));
        window->cmd_fine->click();
        QVERIFY(walk->run.desktop.ended);
        QCOMPARE(bytesOf(walk->booklet()), bytesOf(kExpected / "booklet_yes.dat"));
        QCOMPARE(bytesOf(aglie()), bytesOf(kExpected / "archive_after.pf"));
    }

    void shouldWriteTheSameBookletWithAPointAsDecimalSeparator() {
        walk = std::make_unique<JobWalk>('.');
        Frm_pf *window = reviewFiducialPoints();
        walk->run.dialogs.answers.push_back(Answer::No);
        window->Cmd_esegui->click();
        QCOMPARE(bytesOf(walk->booklet()), bytesOf(kExpected / "booklet_no.dat"));
    }
};

QTEST_MAIN(TestWholeJob)
#include "test_whole_job.moc"
