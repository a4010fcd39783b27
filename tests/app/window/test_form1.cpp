#include "app/window/clickable_label.h"
#include "app/window/form1.h"
#include "app/window/logos.h"
#include "program_folder.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

// P3 has no coordinates.
const QByteArray kJob = "M1              BASE                                                "
                        " 4448006.973  606794.230 4516065.343\r\n"
                        "P2              SECONDO PUNTO                                       "
                        " 4448010.000  606790.000 4516060.000\r\n"
                        "P3\r\n";
const fs::path kExpected = FEROLAN_TEST_DATA "/form1";

void clickRow(QTableView *grid, int modelRow) {
    QRect cell = grid->visualRect(grid->model()->index(modelRow, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Run> run;
    std::unique_ptr<Form1> form;
    int headerWindowsOpened = 0;

    void start() {
        form = std::make_unique<Form1>(run->context, [this] { ++headerWindowsOpened; });
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void loadJob(const QByteArray &job) {
        folder->write(folder->root() / "lavoro.txt", job);
        run->dialogs.fileChoices.push_back(
            {true, QString::fromStdString((folder->root() / "lavoro.txt").string())});
        form->Cmd_selezione->click();
    }

    // What the user saw, and what the window shows, compared with the files named after the
    // test (and its row).
    void compareEvents() { testing::compareEvents(*run, *folder, expectedFileOf(kExpected)); }
    void compareSnapshot() {
        testing::compareSnapshot(*form, *folder, expectedFileOf(kExpected, "_window"));
    }

private slots:
    void init() {
        folder = std::make_unique<ProgramFolder>('1');
        run = std::make_unique<Run>(*folder);
        headerWindowsOpened = 0;
    }
    void cleanup() {
        form.reset();
        QCOMPARE(run->dialogs.unanswered, 0);
    }

    void shouldStartWithTheVersionTheSettingsAndNoJob() {
        start();
        compareSnapshot();
        QCOMPARE(QString::fromStdString(run->state.Path_pf),
                 QString::fromStdString(folder->archive().string()));
        QVERIFY(run->dialogs.events.isEmpty());
    }

    void shouldRunTheActivationStepsAgainWhenTheUserComesBack() {
        start();
        QWidget otherForm;
        otherForm.show();
        QVERIFY(QTest::qWaitForWindowActive(&otherForm));
        run->context.enterForm(&otherForm);
        folder->write(folder->settings(), "PATH_PF=changed\r\nPATH_TGO=x\r\ncheck=1\r\n");
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(run->state.Path_pf, std::string("changed"));
        QCOMPARE(form->windowTitle().count(QStringLiteral("Versione")), 1);
    }

    void shouldUpdateTheExportDefinitionOnYes() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        run->dialogs.answers = {Answer::Yes};
        start();
        compareEvents();
        QCOMPARE(folder->read(folder->tgo() / "asciiexp.dat.old"),
                 QByteArray("DEFINIZIONE ESISTENTE\r\n"));
        QVERIFY(folder->read(folder->tgo() / "asciiexp.dat")
                    .startsWith("DEFINIZIONE ESISTENTE\r\nUSCITA PREGEO\r\n"));
        QVERIFY(folder->read(folder->settings()).endsWith("\r\ncheck=1\r\n"));
        QVERIFY(!run->desktop.ended);
        QCOMPARE(form->Lbl_lavoro_attivo->text(), QStringLiteral("lavoro attivo: "));
    }

    void shouldEndWithoutTouchingAnyFileOnNo() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        QByteArray settingsBefore = folder->read(folder->settings());
        run->dialogs.answers = {Answer::No};
        start();
        QVERIFY(run->desktop.ended);
        QCOMPARE(folder->read(folder->settings()), settingsBefore);
        QCOMPARE(folder->read(folder->tgo() / "asciiexp.dat"),
                 QByteArray("DEFINIZIONE ESISTENTE\r\n"));
        QVERIFY(!fs::exists(folder->tgo() / "asciiexp.dat.old"));
    }

    void shouldEndWhenTheExportDefinitionIsMissing() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        fs::remove(folder->tgo() / "asciiexp.dat");
        run->dialogs.answers = {Answer::Yes};
        start();
        compareEvents();
        QVERIFY(folder->read(folder->settings()).endsWith("check=0\r\n"));
    }

    void shouldEndNamingABadSettingsFile_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("two lines") << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\n") << true;
    }
    void shouldEndNamingABadSettingsFile() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, present);
        if (present)
            folder->write(folder->settings(), settings);
        else
            fs::remove(folder->settings());
        start();
        compareEvents();
        QCOMPARE(fs::exists(folder->settings()), present);
    }

    void shouldLoadAJobAndSelectARow() {
        start();
        loadJob(kJob);
        QCOMPARE(form->selectedRow(), std::size_t(0));
        clickRow(form->MSHFlexGrid1, 1);
        QCOMPARE(form->selectedRow(), std::size_t(2));
        compareSnapshot();

        loadJob("A\r\n"); // the file dialog starts in the folder of the last job
        compareEvents();
        QCOMPARE(form->selectedRow(), std::size_t(0));
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 1);
        clickRow(form->MSHFlexGrid1, 0);
        QCOMPARE(form->selectedRow(), std::size_t(1));
        QCOMPARE(form->MSHFlexGrid1->toolTip(), QStringLiteral("Il punto selezionato é: P2"));
    }

    void shouldChooseTheMasterByKeysAndLeaveTheGridByTab() {
        start();
        loadJob(kJob);
        QTableView *grid = form->MSHFlexGrid1;
        grid->setFocus(); // getting the focus chooses nothing
        QCOMPARE(form->selectedRow(), std::size_t(0));
        const QList<std::pair<Qt::Key, std::size_t>> keys = {
            {Qt::Key_End, 3}, {Qt::Key_Home, 1}, {Qt::Key_PageDown, 3}, {Qt::Key_Up, 2}};
        for (const auto &[key, row] : keys) {
            QTest::keyClick(grid, key);
            QCOMPARE(form->selectedRow(), row);
            QCOMPARE(grid->selectionModel()->selectedRows(),
                     QModelIndexList{grid->model()->index(int(row) - 1, 0)});
        }
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != grid);
        QCOMPARE(form->selectedRow(), std::size_t(2));
        loadJob(kJob);
        QCOMPARE(form->selectedRow(), std::size_t(0));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(form->selectedRow(), std::size_t(1));
        QTest::keyClick(grid, Qt::Key_Down);

        // Conferma punto, Punti senza coordinate (P3), Conferma trasformazione.
        run->dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        run->dialogs.fileChoices.push_back({true, QStringLiteral("/lavori/libretto")});
        form->Cmd_ok->click();
        QCOMPARE(run->state.Punto_master, std::string("P2"));
        QCOMPARE(headerWindowsOpened, 1);
    }

    void shouldGrowTheGridWithTheWindowButNotShrink() {
        start();
        QCOMPARE(form->size(), QSize(489, 432));
        const QRect grid = form->MSHFlexGrid1->geometry();
        const QRect ok = form->Cmd_ok->geometry();
        form->resize(689, 532);
        QCOMPARE(form->MSHFlexGrid1->size(), grid.size() + QSize(200, 100));
        QCOMPARE(form->Cmd_ok->geometry(), ok.translated(200, 100));
        QCOMPARE(form->minimumSize(), QSize(489, 432));
    }

    // A job that cannot be read, then none chosen: the list stays.
    void shouldKeepTheListWhenNoJobIsReadAgain() {
        start();
        loadJob(kJob);
        run->dialogs.fileChoices.push_back(
            {true, QString::fromStdString((folder->root() / "manca.txt").string())});
        form->Cmd_selezione->click();
        QCOMPARE(run->state.File_lavoro, folder->root() / "lavoro.txt");
        run->dialogs.fileChoices.push_back({false, {}});
        form->Cmd_selezione->click();
        QVERIFY(run->state.File_lavoro.empty());
        compareEvents();
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 3);
    }

    void shouldRefuseToGoOnWithoutAPoint() {
        start();
        loadJob(kJob);
        form->Cmd_ok->click();
        compareEvents();
        QCOMPARE(headerWindowsOpened, 0);
    }

    void shouldConfirmTheMasterStationAndChooseTheBooklet() {
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 1);
        run->dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        run->dialogs.fileChoices.push_back({true, QStringLiteral("/lavori/libretto")});
        form->Cmd_ok->click();
        compareEvents();
        QCOMPARE(run->state.File_libretto, fs::path("/lavori/libretto.dat"));
        QCOMPARE(run->state.Punto_master, std::string("P2"));
        QCOMPARE(run->state.Riga_master, std::size_t(2));
        QVERIFY(!form->isEnabled());
        QCOMPARE(headerWindowsOpened, 1);
    }

    void shouldStopAtANoOrACancelledBooklet_data() {
        QTest::addColumn<int>("yesAnswers");
        QTest::newRow("no to the master") << 0;
        QTest::newRow("no to the points without coordinates") << 1;
        QTest::newRow("no to the booklet") << 2;
        QTest::newRow("cancelled save dialog") << 3;
    }
    void shouldStopAtANoOrACancelledBooklet() {
        QFETCH(int, yesAnswers);
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 0);
        for (int i = 0; i < yesAnswers; ++i)
            run->dialogs.answers.push_back(Answer::Yes);
        if (yesAnswers < 3)
            run->dialogs.answers.push_back(Answer::No);
        else
            run->dialogs.fileChoices.push_back({false, {}});
        form->Cmd_ok->click();
        QVERIFY(form->isEnabled());
        QCOMPARE(headerWindowsOpened, 0);
        QCOMPARE(run->state.Punto_master, std::string("M1"));
        QVERIFY(run->state.File_libretto.empty());
    }

    void shouldRefuseAMasterWithoutCoordinates() {
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 2);
        run->dialogs.answers = {Answer::Yes};
        form->Cmd_ok->click();
        compareEvents();
        QCOMPARE(headerWindowsOpened, 0);
    }

    void shouldEndAtOnceOnExitWritingNothing() {
        start();
        loadJob(kJob);
        auto filesNow = [this] {
            QStringList files;
            for (const auto &entry : fs::recursive_directory_iterator(folder->root()))
                files << QString::fromStdString(entry.path().string());
            files.sort();
            return files;
        };
        QStringList filesBefore = filesNow();
        QByteArray settingsBefore = folder->read(folder->settings());
        form->Cmd_esci->click();
        QVERIFY(run->desktop.ended);
        QCOMPARE(folder->read(folder->settings()), settingsBefore);
        QCOMPARE(filesNow(), filesBefore);
    }

    void shouldOfferTheWebSitesAndOpenThemUnlessNo() {
        start();
        run->dialogs.answers = {Answer::No, Answer::Yes};
        emit form->Image1->clicked();
        emit form->Image2->clicked();
        run->desktop.urlsOpen = false;
        run->dialogs.answers = {Answer::Yes};
        emit form->Image1->clicked();
        compareEvents();
    }

    void shouldOpenTheHelpBesideTheProgram() {
        start();
        form->cmd_info->click();
        run->desktop.urlsOpen = false;
        form->cmd_info->click();
        compareEvents();
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
