#include "app/window/clickable_label.h"
#include "app/window/form1.h"
#include "app/window/import_points.h"
#include "core/files.h"
#include "job_walk.h"

#include "bytes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <fstream>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

// P3 has no coordinates; the description of M1 is Windows-1252 text.
const QByteArray kJob = "M1              BAS\xC8                                                "
                        " 4448006.973  606794.230 4516065.343\r\n"
                        "P2              SECONDO PUNTO                                       "
                        " 4448010.000  606790.000 4516060.000\r\n"
                        "P3\r\n";
const fs::path kExpected = FEROLAN_TEST_DATA "/form1";

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
    std::unique_ptr<JobWalk> walk;
    Form1 &form() { return walk->windows.form1(); }

private slots:
    void init() { walk = std::make_unique<JobWalk>(); }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    void shouldRunTheActivationStepsAgainWhenTheUserComesBack() {
        walk->start();
        QWidget otherForm;
        otherForm.show();
        QVERIFY(QTest::qWaitForWindowActive(&otherForm));
        walk->run.context.enterForm(&otherForm);
        walk->folder.write(walk->folder.settings(), "PATH_PF=changed\r\nPATH_TGO=x\r\ncheck=1\r\n");
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QCOMPARE(walk->run.state.Path_pf, std::string("changed"));
        QCOMPARE(form().windowTitle().count(QStringLiteral("Versione")), 1);
    }

    // The window shows the version and no job. A bad settings file ends the program; while the
    // export definition of TGO is not yet updated (check=0) the user is asked, and No ends the
    // program touching nothing. The expected file holds what the user saw, then the settings
    // and the TGO files.
    void shouldStartOrEndAsTheSettingsSay_data() {
        QTest::addColumn<char>("check");
        QTest::addColumn<QByteArray>("change");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("settings in order") << '1' << QByteArray() << Answer::Ok;
        QTest::newRow("export updated") << '0' << QByteArray() << Answer::Yes;
        QTest::newRow("export not updated") << '0' << QByteArray() << Answer::No;
        QTest::newRow("export definition missing") << '0' << QByteArray("tgo") << Answer::Yes;
        QTest::newRow("export definition unreadable")
            << '0' << QByteArray("unreadable") << Answer::Yes;
        QTest::newRow("export update missing") << '0' << QByteArray("update") << Answer::Yes;
        QTest::newRow("old copy not writable") << '0' << QByteArray("old") << Answer::Yes;
        QTest::newRow("settings missing") << '1' << QByteArray("ini") << Answer::Ok;
        QTest::newRow("settings of two lines")
            << '1' << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\n") << Answer::Ok;
    }
    void shouldStartOrEndAsTheSettingsSay() {
        QFETCH(char, check);
        QFETCH(QByteArray, change);
        QFETCH(Answer, answer);
        walk = std::make_unique<JobWalk>(',', check);
        const ProgramFolder &folder = walk->folder;
        if (change == "tgo" || change == "unreadable") {
            fs::remove(folder.tgo() / "asciiexp.dat");
            if (change == "unreadable")
                fs::create_directory(folder.tgo() / "asciiexp.dat");
        } else if (change == "update")
            fs::remove(folder.root() / "aggiorna_export_tgo.txt");
        else if (change == "old")
            fs::create_directory(folder.tgo() / "asciiexp.dat.old");
        else if (change == "ini")
            fs::remove(folder.settings());
        else if (!change.isEmpty())
            folder.write(folder.settings(), change);
        if (answer != Answer::Ok)
            walk->run.dialogs.answers = {answer};
        walk->start();
        walk->compareEvents(kExpected, {folder.settings(), folder.tgo() / "asciiexp.dat",
                                        folder.tgo() / "asciiexp.dat.old"});
        walk->compareSnapshot(form(), kExpected);
    }

    // The row is chosen by a click or by the keys; getting the focus chooses nothing, Tab
    // leaves the grid. A new job clears the choice; the file dialog starts in the folder of the
    // last job. The confirmed row becomes the master station and the booklet gets its ".dat".
    void shouldChooseTheMasterByMouseOrKeysAndConfirmIt() {
        walk->start();
        walk->loadJob(kJob, 0);
        QCOMPARE(form().selectedRow(), std::size_t(0));
        walk->loadJob(kJob, 2);
        QCOMPARE(form().selectedRow(), std::size_t(2));
        walk->compareSnapshot(form(), kExpected);

        QTableView *grid = form().MSHFlexGrid1;
        grid->setFocus();
        const QList<std::pair<Qt::Key, std::size_t>> keys = {
            {Qt::Key_End, 3}, {Qt::Key_Home, 1}, {Qt::Key_PageDown, 3}, {Qt::Key_Up, 2}};
        for (const auto &[key, row] : keys) {
            QTest::keyClick(grid, key);
            QCOMPARE(form().selectedRow(), row);
            QCOMPARE(grid->selectionModel()->selectedRows(),
                     QModelIndexList{grid->model()->index(int(row) - 1, 0)});
            // The point's name stays in view.
            QVERIFY(grid->viewport()->rect().contains(
                grid->visualRect(grid->model()->index(int(row) - 1, 1)).center()));
        }
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != grid);
        walk->loadJob(kJob, 0);
        QCOMPARE(form().selectedRow(), std::size_t(0));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End); // without a current row: the last point
        QCOMPARE(form().selectedRow(), std::size_t(3));
        walk->loadJob(kJob, 0);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(form().selectedRow(), std::size_t(1));
        QTest::keyClick(grid, Qt::Key_Down);

        // Enter presses the focused button.
        walk->run.dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        walk->run.dialogs.fileChoices.push_back(
            {true, QString::fromStdString(walk->booklet().string())});
        form().Cmd_ok->setFocus();
        QTest::keyClick(form().Cmd_ok, Qt::Key_Return);
        QVERIFY(walk->windows.frm09());
        walk->compareEvents(kExpected);
        QCOMPARE(walk->run.state.File_libretto, walk->booklet());
        QCOMPARE(walk->run.state.Punto_master, std::string("P2"));
        QCOMPARE(walk->run.state.Riga_master, std::size_t(2));
        QVERIFY(!form().isEnabled());
    }

    void shouldGrowTheGridWithTheWindowButNotShrink() {
        walk->start();
        QCOMPARE(form().size(), QSize(489, 432));
        const QRect grid = form().MSHFlexGrid1->geometry();
        const QRect ok = form().Cmd_ok->geometry();
        form().resize(689, 532);
        QCOMPARE(form().MSHFlexGrid1->size(), grid.size() + QSize(200, 100));
        QCOMPARE(form().Cmd_ok->geometry(), ok.translated(200, 100));
        QCOMPARE(form().minimumSize(), QSize(489, 432));

        // A window wide enough shows every text whole, the descriptions taking what is left.
        walk->loadJob(kJob, 0);
        QTableView *view = form().MSHFlexGrid1;
        auto widths = [view] {
            QList<int> columns;
            for (int column = 0; column < view->model()->columnCount(); ++column)
                columns << view->columnWidth(column);
            return columns;
        };
        const QList<int> design = widths();
        form().resize(1900, 532);
        const QList<int> wide = widths();
        int total = 0;
        for (int column = 0; column < wide.size(); ++column) {
            QVERIFY(wide[column] >= design[column]);
            QVERIFY(wide[column] >=
                    static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column));
            total += wide[column];
        }
        QVERIFY(wide[2] > design[2]);
        QCOMPARE(total, view->viewport()->width());
    }

    // A job that cannot be read, files that are no job, one that another program rewrites
    // while it is read, then none chosen: the list, the job and its master stay, and the booklet
    // proposed is the job's.
    void shouldKeepTheListWhenNoJobIsReadAgain() {
        walk->start();
        walk->loadJob(kJob, 0);
        const fs::path job = walk->run.state.File_lavoro;
        // Missing, empty, blank lines only, a booklet chosen by mistake.
        const std::pair<const char *, QByteArray> notJobs[] = {
            {"manca.txt", {}},
            {"vuoto.txt", ""},
            {"bianco.txt", "\r\n  \r\n"},
            {"vecchio.dat", "0|05032027|123456|A074|0012|101|ROSSI|GEOMETRA|TORINO|\r\n"
                            "2|101|154.162,-92.964,-135.875|0,0,0,0,0,0|PDOP=1|0|PALO|\r\n"}};
        for (const auto &[name, bytes] : notJobs) {
            if (!bytes.isNull())
                walk->folder.write(walk->folder.root() / name, bytes);
            walk->run.dialogs.fileChoices.push_back(
                {true, QString::fromStdString((walk->folder.root() / name).string())});
            form().Cmd_selezione->click();
            QCOMPARE(walk->run.state.File_lavoro, job);
            QCOMPARE(form().MSHFlexGrid1->model()->rowCount(), 3);
        }
        onReadOpenedForTesting([](const fs::path &opened) {
            std::ofstream(opened, std::ios::binary | std::ios::app) << "P4\r\n";
        });
        walk->run.dialogs.fileChoices.push_back({true, QString::fromStdString(job.string())});
        form().Cmd_selezione->click();
        onReadOpenedForTesting(nullptr);
        QCOMPARE(form().MSHFlexGrid1->model()->rowCount(), 3);
        QTableView *grid = form().MSHFlexGrid1;
        grid->setCurrentIndex(grid->model()->index(1, 1));
        walk->run.dialogs.fileChoices.push_back({false, {}});
        form().Cmd_selezione->click();
        QCOMPARE(walk->run.state.File_lavoro, job);
        QCOMPARE(form().selectedRow(), std::size_t(2));
        QVERIFY(form().Cmd_ok->isEnabled());
        QCOMPARE(grid->model()->rowCount(), 3);
        QVERIFY(walk->openHeaderWindow(true));
        QCOMPARE(walk->run.dialogs.fileRequests.last().fileName, QStringLiteral("lavoro.dat"));
        walk->compareEvents(kExpected);
    }

    // No point chosen, a master without coordinates, a No or a cancelled save dialog: the main
    // window stays, and no booklet is named. A job cut inside a number of its last line: that
    // point is among those without coordinates, and the question says why.
    void shouldStayWithoutAMasterOrWhenTheUserSaysNo_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("yesAnswers");
        QTest::addColumn<QByteArray>("lastLine");
        QTest::newRow("no point chosen") << 0 << 0 << QByteArray();
        QTest::newRow("master without coordinates") << 3 << 1 << QByteArray();
        QTest::newRow("no to the master") << 1 << 0 << QByteArray();
        QTest::newRow("no to the points without coordinates") << 1 << 1 << QByteArray();
        QTest::newRow("no to the points without coordinates, the last cut")
            << 1 << 1
            << jobLine("P4", "TAGLIATO", "4448011.000", "606791.000", "4516061.000").left(99);
        QTest::newRow("no to the booklet") << 1 << 2 << QByteArray();
        QTest::newRow("cancelled save dialog") << 1 << 3 << QByteArray();
    }
    void shouldStayWithoutAMasterOrWhenTheUserSaysNo() {
        QFETCH(int, row);
        QFETCH(int, yesAnswers);
        QFETCH(QByteArray, lastLine);
        walk->start();
        walk->loadJob(kJob + lastLine, row);
        for (int i = 0; i < yesAnswers; ++i)
            walk->run.dialogs.answers.push_back(Answer::Yes);
        if (row == 1 && yesAnswers < 3)
            walk->run.dialogs.answers.push_back(Answer::No);
        else if (row == 1)
            walk->run.dialogs.fileChoices.push_back({false, {}});
        form().Cmd_ok->click();
        walk->compareEvents(kExpected);
        QVERIFY(form().isEnabled());
        QVERIFY(!walk->windows.frm09());
        QVERIFY(walk->run.state.File_libretto.empty());
    }

    // A folder that takes no file is refused as the booklet is chosen, and the dialog opens
    // again; the probe leaves nothing behind.
    void shouldAskAgainForAFolderThatTakesNoFile() {
        walk->start();
        walk->loadJob(kJob, 1);
        const auto filesBefore = test_bytes::filesUnder(walk->folder.root());
        walk->run.dialogs.fileChoices.push_back(
            {true, QString::fromStdString((walk->folder.root() / "manca" / "lib").string())});
        QVERIFY(walk->openHeaderWindow(true));
        walk->compareEvents(kExpected);
        QCOMPARE(walk->run.state.File_libretto, walk->booklet());
        QVERIFY(test_bytes::filesUnder(walk->folder.root()) == filesBefore);
    }

    void shouldEndAtOnceOnExitWritingNothing() {
        walk->start();
        walk->loadJob(kJob, 1);
        const auto filesBefore = test_bytes::filesUnder(walk->folder.root());
        form().Cmd_esci->click();
        QVERIFY(walk->run.desktop.ended);
        QVERIFY(test_bytes::filesUnder(walk->folder.root()) == filesBefore);
    }

    // The logos offer their web sites, "Info" the help page beside the program; both say so
    // when nothing can open them.
    void shouldOfferTheWebSitesAndTheHelp() {
        walk->start();
        walk->run.dialogs.answers = {Answer::No, Answer::Yes};
        emit form().Image1->clicked();
        emit form().Image2->clicked();
        form().cmd_info->click();
        walk->run.desktop.urlsOpen = false;
        walk->run.dialogs.answers = {Answer::Yes};
        emit form().Image1->clicked();
        form().cmd_info->click();
        walk->compareEvents(kExpected);
    }
    // The job dialog's third filter opens "Importa punti": a map without Z is refused; a format
    // saved is listed and read back; the lines left out are asked about (No keeps the window);
    // then the points reach the list.
    void shouldImportPointsFromOtherReceivers() {
        walk->start();
        const fs::path file = walk->folder.root() / "punti.csv";
        walk->folder.write(file, "Nome;X;Y;Z;Note\r\nM1;4448006,973;606794,23;4516065,343;x\r\n"
                                 "P2;4448010;606790;4516060;y\r\nP3;;;;\r\n");
        walk->run.dialogs.fileChoices = {{true, QString::fromStdString(file.string()), 3}};
        form().Cmd_selezione->click();
        auto *window = form().findChild<ImportPoints *>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Cmb_separatore->currentText(), QStringLiteral(";"));
        window->Spn_righe->setValue(1);
        window->Cmb_decimale->setCurrentIndex(1);
        auto role = [&](int column, ColumnRole to) {
            qobject_cast<QComboBox *>(window->Grd_anteprima->cellWidget(0, column))
                ->setCurrentIndex(int(to));
        };
        for (auto [column, to] :
             {std::pair(0, ColumnRole::Nome), {1, ColumnRole::X}, {2, ColumnRole::Y}})
            role(column, to);
        window->Cmd_importa->click();
        role(3, ColumnRole::Z);
        walk->run.dialogs.texts = {QStringLiteral("ricevitore")};
        window->Cmd_salva->click();
        window->showFormat({});
        window->Cmb_formati->activated(0);
        QCOMPARE(window->format().columns.size(), std::size_t(4));
        walk->run.dialogs.answers = {Answer::No, Answer::Yes};
        window->Cmd_importa->click();
        QVERIFY(window->isVisible());
        walk->compareSnapshot(*window, kExpected);
        window->Cmd_importa->click();
        QCOMPARE(form().points().rowCount(), std::size_t(2));
        walk->compareEvents(kExpected, {walk->folder.root() / "formati" / "ricevitore.formato"});
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
