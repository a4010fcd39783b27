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

const fs::path kData = fs::path(FEROLAN_TEST_DATA);

// Every file below a folder, by relative path, with its bytes.
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

// One job through the three windows: the answers given to ferolan-batch in its own test must
// give the same booklet and the same archive, byte for byte.
class TestWindowsAndBatch : public QObject {
    Q_OBJECT

    static void prepare(const ProgramFolder &folder) {
        folder.write(folder.root() / "cod_comuni_2.cod", bytesOf(kData / "cod_comuni_2.cod"));
        fs::copy(kData / "archive", folder.archive(), fs::copy_options::recursive);
    }

private slots:
    void shouldGiveTheSameBookletAndArchiveAsTheWindows() {
        JobWalk walk;
        prepare(walk.folder);
        walk.start();
        walk.loadJob(bytesOf(kData / "job.txt"), 1);
        Frm_09 *header = walk.openHeaderWindow(true);
        typeHeader(*header, bytesOf(kData / "header.txt"));
        // Go on despite the accented letters; skip PF1/0012/A074; add points.
        walk.run.dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        Frm_pf *window = walk.handOff();
        QVERIFY(window);
        window->Cmd_esegui->click();
        for (auto [municipality, sheet, number] :
             {std::tuple{"A074 - AGLIE'", "0014", "02"}, {"L999 - CITTÀ DI PROVA", "0007", "03"}}) {
            choose(window->Cmb_comune, QString::fromUtf8(municipality));
            choose(window->Cmb_foglio, QString::fromUtf8(sheet));
            choose(window->Cmb_pf, QString::fromUtf8(number));
            walk.run.dialogs.answers.push_back(Answer::Yes);
            emit window->Cmb_pf->activated(window->Cmb_pf->currentIndex());
        }
        window->cmd_fine->click();
        QVERIFY(walk.run.desktop.ended);
        QCOMPARE(walk.run.dialogs.unanswered, 0);

        QCOMPARE(bytesOf(walk.booklet()), bytesOf(kData / "expected" / "booklet.dat"));
        QCOMPARE(filesUnder(walk.folder.archive()),
                 filesUnder(kData / "expected" / "archive_proposti"));
    }
};

QTEST_MAIN(TestWindowsAndBatch)
#include "test_windows_and_batch.moc"
