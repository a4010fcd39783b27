#include "app/window/form1.h"
#include "cases.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/model/pf_grid_model.h"
#include "fiducial/window/frm_pf.h"
#include "fiducial/window/pf_grid_colours.h"
#include "header/window/frm_09.h"
#include "job_walk.h"
#include "sketch/window/sketch_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

#include <set>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

const QByteArray kJob =
    jobLine("BASE", "STAZIONE", "4448000.000", "606800.000", "4516000.000", "1403652", "315") +
    jobLine("PF01/0012/A074", "PF CHIESA", "4447917.388", "607071.533", "4516117.367") +
    jobLine("PF4/0012/A074", "NOME ERRATO", "4448050.0", "606850.0", "4516050.0") +
    jobLine("PF02/0012/A074", "PF CAMPANILE", "4448100.5", "606900.25", "4516010.125") +
    jobLine("pf03/0012/A074", "NON UN PF", "4447190.0", "612746.0", "4516000.0") +
    jobLine("PF02/0012/A074", "PF CAMPANILE BIS", "4448100.5", "606900.25", "4516010.125");

const QByteArray kArchive =
    "01 0012 A074 PF SU SPIGOLO CHIESA           4447917.401 607071.512  4516117.375\r\n"
    "09 0014 A074 PF SU PILONE VOTIVO            4447515.616 607281.648  4516472.387\r\n";

QString cell(const Frm_pf *window, int row, int column) {
    return window->MSHFlexGrid1->model()->index(row, column).data().toString();
}

const fs::path kExpected = FEROLAN_TEST_DATA "/frm_pf";

} // namespace

class TestFrmPf : public QObject {
    Q_OBJECT
    std::unique_ptr<JobWalk> walk;

    fs::path aglie() const { return walk->archiveFile("TORINO", "A074 - AGLIE'"); }

    // Walks to the fiducial point window, answering the malformed name with `malformed`; with
    // `vrs`, an NRTK survey whose VRS point it is. Nothing when a window on the way did not
    // open, which the test then reports.
    Frm_pf *open(Answer malformed = Answer::Yes, const QByteArray &job = kJob,
                 const QString &vrs = {}) {
        walk->start();
        walk->loadJob(job, 1);
        Frm_09 *header = walk->openHeaderWindow();
        if (!header)
            return nullptr;
        JobWalk::fillHeader(*header);
        // The job's only east value, rather than the mean over every row, which the booklet
        // check would question.
        header->Txt_estmedia->setText(QStringLiteral("1403652"));
        if (!vrs.isEmpty()) {
            header->Cmb_metodo->setCurrentText(QStringLiteral("NRTK"));
            header->Cmb_vrs->setCurrentText(vrs);
        }
        walk->run.dialogs.answers.push_back(malformed);
        return walk->handOff();
    }

private slots:
    void init() {
        walk = std::make_unique<JobWalk>();
        fs::create_directories(aglie().parent_path());
        walk->folder.write(aglie(), kArchive);
    }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    void shouldListAndCompareTheFiducialPoints() {
        Frm_pf *window = open();
        QVERIFY(window);
        walk->compareEvents(kExpected);
        // PF01 found, moved 0,025 m; the point measured twice proposed once.
        walk->compareSnapshot(*window, kExpected);
        QCOMPARE(walk->windows.frm09()->statusText(), QString());
        QVERIFY(window->MSHFlexGrid1->columnWidth(10) >=
                window->MSHFlexGrid1->fontMetrics().horizontalAdvance(QString(30, 'A')) * 3 / 4);
        const QSize grid = window->MSHFlexGrid1->size();
        const QPoint avanti = window->Cmd_esegui->pos();
        window->resize(window->size() + QSize(120, 60));
        QCOMPARE(window->MSHFlexGrid1->size(), grid + QSize(120, 60));
        QCOMPARE(window->Cmd_esegui->pos(), avanti + QPoint(120, 60));
        // Wide enough, the descriptions take the room the other columns leave.
        const int description = window->MSHFlexGrid1->columnWidth(10);
        window->resize(1900, window->height());
        QVERIFY(window->MSHFlexGrid1->columnWidth(10) > description);
    }

    // A click on the mark, or Space on any cell of its row, switches it; a key moves no cell.
    // A point already archived is marked "V" again only when the user says so each time.
    void shouldToggleTheMarkOnEachClick() {
        Frm_pf *window = open();
        QVERIFY(window);
        QTableView *grid = window->MSHFlexGrid1;
        QString seen;
        walk->run.dialogs.answers = {Answer::No, Answer::Yes, Answer::Yes};
        for (int column : {9, 9, 9, 9, 1}) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, column)).center());
            seen += cell(window, 0, 9);
        }
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Right, Qt::Key_Space})
            QTest::keyClick(grid, key);
        QCOMPARE(seen + cell(window, 0, 9) + cell(window, 1, 9), QStringLiteral("XVXVVXX"));
        QCOMPARE(walk->run.dialogs.events
                     .filter(QStringLiteral("PF01/0012/A074 è già in "
                                            "archivio: un nuovo record non "
                                            "sarà mai usato dalle ricerche, "
                                            "che trovano il primo. "
                                            "Archiviarlo di nuovo?"))
                     .size(),
                 3);
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 2));
        QCOMPARE(grid->selectionModel()->selectedRows(),
                 QModelIndexList{grid->model()->index(1, 0)});
    }

    void shouldMarkAFoundPointThatMovedMoreThanTenCentimetres_data() {
        test_cases::addRows(FEROLAN_TEST_DATA "/moved_cases.txt");
    }
    void shouldMarkAFoundPointThatMovedMoreThanTenCentimetres() {
        QFETCH(QByteArrayList, fields);
        const QString tooltip = QString::fromUtf8(fields.takeLast());
        PfGrid grid(1);
        for (int i = 0; i < 4; ++i)
            grid[0].cell(PfGridRow::Column(PfGridRow::DiffX + i)) = fields[i + 1].toStdString();
        PfGridModel model(grid);
        PfGridColours colours;
        colours.setSourceModel(&model);
        const QModelIndex diffY = colours.index(0, PfGridRow::DiffY);
        QCOMPARE(diffY.data(Qt::ToolTipRole).toString(), tooltip);
        QCOMPARE(diffY.data(Qt::BackgroundRole).isValid(), tooltip.startsWith("Scostamento"));
        QCOMPARE(diffY.data(Qt::DisplayRole).toString(), QString::fromUtf8(fields[2]));
    }

    // " Avanti" (Enter) archives the "V" rows, each name in green as it passes, and writes the
    // booklet, then asks whether to add archived points. The expected files hold what the user
    // saw with the archive file and the booklet after, and the window.
    void shouldArchiveAndWriteTheBooklet_data() {
        QTest::addColumn<QString>("fault");
        for (const char *fault :
             {"none", "archived meanwhile", "no temporary file", "append fails",
              "booklet not writable", "VRS point left out", "memory gone after archiving"})
            QTest::newRow(fault) << fault;
    }
    void shouldArchiveAndWriteTheBooklet() {
        QFETCH(QString, fault);
        QByteArray job = kJob;
        if (fault == "append fails") { // its code's archive file is a folder
            job += jobLine("PF05/0013/Z999", "CODICE IGNOTO", "4448060.0", "606860.0", "4516060.0");
            fs::create_directories(walk->archiveFile("TORINO", "Z999"));
        }
        // The malformed name was chosen as the VRS point: the closing message names the point
        // marked instead.
        Frm_pf *window =
            open(Answer::Yes, job, fault == "VRS point left out" ? "PF4/0012/A074" : QString());
        QVERIFY(window);
        if (fault == "memory gone after archiving")
            onNextArchivingDoneForTesting([] { throw std::bad_alloc(); });
        else if (fault == "archived meanwhile") // by another program, since the comparison
            walk->folder.write(aglie(), kArchive + "02 0012 A074 DA UN ALTRO PROGRAMMA         "
                                                   "4448100.5   606900.25   4516010.125\r\n");
        else if (fault == "no temporary file")
            fs::remove_all(walk->booklet().parent_path());
        else if (fault == "booklet not writable")
            fs::create_directory(walk->booklet());
        if (fault == "append fails") { // its point, not compared, marked by the user
            QTableView *grid = window->MSHFlexGrid1;
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(3, 9)).center());
        } else if (fault != "no temporary file" && fault != "memory gone after archiving") {
            walk->run.dialogs.answers.push_back(Answer::No); // no archived points to add
        }
        // Enter, or the keypad's Enter.
        if (fault == "none")
            QTest::keyClick(window->MSHFlexGrid1, Qt::Key_Return);
        else
            QTest::keyClick(window->MSHFlexGrid1, Qt::Key_Enter, Qt::KeypadModifier);
        if (fault == "booklet not writable") { // the temporary file stays for " Fine"
            fs::remove(walk->booklet());
            window->cmd_fine->click();
        }
        walk->compareEvents(kExpected,
                            {aglie(), walk->booklet(), walk->booklet().string() + ".tmp"});
        walk->compareSnapshot(*window, kExpected);
    }

    void shouldLeaveTheArchiveUntouchedWhenCancelled_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Annulla") << "Annulla";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("closed from the frame") << "frame";
        QTest::newRow("No to the malformed name") << "No";
    }
    void shouldLeaveTheArchiveUntouchedWhenCancelled() {
        QFETCH(QString, way);
        QPointer<Frm_pf> window = open(way == "No" ? Answer::No : Answer::Yes);
        QVERIFY(window || way == "No");
        if (way == "frame")
            window->close();
        else if (way == "Escape")
            QTest::keyClick(window->MSHFlexGrid1, Qt::Key_Escape);
        else if (way == "Annulla")
            window->cmd_annulla->click();
        QTRY_VERIFY(!window);
        QTRY_VERIFY(!walk->windows.frm09());
        QVERIFY(walk->windows.form1().isEnabled());
        QCOMPARE(walk->folder.read(aglie()), kArchive);
        QVERIFY(!fs::exists(walk->booklet()));
        // The header comes back as it was typed, for the same job and master station.
        Frm_09 *header = walk->openHeaderWindow();
        QVERIFY(header);
        QCOMPARE(header->Txt_pg->text(), QStringLiteral("123456"));
    }

    // Once points are archived, " Annulla", the frame and the main window's close ask first: No
    // keeps the window and the temporary booklet, Yes removes it and leaves the older booklet
    // as it was. Before archiving, closing the main window asks whether to leave Ferolan.
    void shouldAskBeforeAbandoningTheBooklet_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("archived");
        QTest::addColumn<Answer>("answer");
        for (const char *way : {"Annulla", "frame", "main window"})
            for (Answer answer : {Answer::No, Answer::Yes})
                QTest::addRow("%s after archiving, %s", way, answer == Answer::No ? "no" : "yes")
                    << QString(way) << true << answer;
        for (Answer answer : {Answer::No, Answer::Yes})
            QTest::addRow("main window before archiving, %s", answer == Answer::No ? "no" : "yes")
                << QStringLiteral("main window") << false << answer;
    }
    void shouldAskBeforeAbandoningTheBooklet() {
        QFETCH(QString, way);
        QFETCH(bool, archived);
        QFETCH(Answer, answer);
        walk->folder.write(walk->booklet(), "LIBRETTO PRECEDENTE\r\n");
        QPointer<Frm_pf> window = open();
        QVERIFY(window);
        if (archived) {
            walk->run.dialogs.answers.push_back(Answer::Yes); // archived points to add
            window->Cmd_esegui->click();
        }
        walk->run.dialogs.answers.push_back(answer);
        if (way == "Annulla")
            window->cmd_annulla->click();
        else if (way == "frame")
            window->close();
        else
            walk->windows.form1().close();
        walk->compareEvents(kExpected,
                            {aglie(), walk->booklet(), walk->booklet().string() + ".tmp"});
        const bool ends = way == "main window" && answer == Answer::Yes;
        QCOMPARE(walk->run.desktop.ended, ends);
        if (answer == Answer::No)
            QVERIFY(window->isVisible() && walk->windows.form1().isVisible());
        else if (!ends)
            QTRY_VERIFY(!window);
    }

    void shouldDrawTheSurveySketchAndSaveItAsPdf() {
        Frm_pf *window = open();
        QVERIFY(window);
        window->Cmd_schema->click();
        auto *sketch = window->findChild<SketchWindow *>();
        QVERIFY(sketch);
        QCOMPARE(sketch->windowTitle(), QStringLiteral("Schema del rilievo"));
        QVERIFY(QTest::qWaitForWindowExposed(sketch));
        const QImage drawn = sketch->canvas->grab().toImage();
        const SurveySketch &survey = sketch->canvas->sketch();
        QCOMPARE(survey.points.size(), std::size_t(6));
        for (std::size_t i : {survey.masterIndex, std::size_t(1)}) {
            const QPoint at = sketch->canvas->pixelOf(survey.points[i].plan).toPoint();
            QVERIFY2(drawn.pixelColor(at) != QColor(Qt::white), survey.points[i].name.c_str());
        }

        const fs::path pdf = walk->folder.root() / "lavori" / "schema.pdf";
        walk->run.dialogs.fileChoices.push_back({true, QString::fromStdString(pdf.string())});
        sketch->Cmd_pdf->click();
        QCOMPARE(walk->run.dialogs.fileRequests.last().fileName, QStringLiteral("lavoro.pdf"));
        QVERIFY(walk->folder.read(pdf).startsWith("%PDF"));
        QCOMPARE(sketch->StBar->currentMessage(),
                 QStringLiteral("Salvato: ") + QString::fromStdString(pdf.string()));
    }

    // Centred over the fiducial point window; at its smallest the legend stays clear of the
    // title and the scale bar; Escape closes it.
    void shouldKeepTheSketchWindowReadableAndCloseItWithEscape() {
        Frm_pf *window = open();
        QVERIFY(window);
        window->Cmd_schema->click();
        QPointer<SketchWindow> sketch = window->findChild<SketchWindow *>();
        QVERIFY(sketch);
        // Within the window frames' few pixels.
        QVERIFY((sketch->geometry().center() - window->geometry().center()).manhattanLength() <=
                10);
        sketch->resize(1, 1);
        QCOMPARE(sketch->canvas->size(), sketch->canvas->minimumSize());
        double scaleRight = 0, titleBottom = 0, legendLeft = 1e9, legendTop = 1e9;
        const std::set<std::string> legend = {"stazione master", "PF gi\xE0 usato", "PF nuovo",
                                              "PF escluso"};
        for (const SketchShape &shape :
             drawSketch(sketch->canvas->sketch(), sketch->canvas->view())) {
            if (shape.kind != SketchShape::Text)
                continue;
            if (shape.text.ends_with(" m")) {
                scaleRight = shape.x + 0.6 * shape.size * double(shape.text.size());
            } else if (shape.text.starts_with("Lavoro") || shape.text.starts_with("Libretto")) {
                titleBottom = std::max(titleBottom, shape.y);
            } else if (legend.contains(shape.text)) {
                legendLeft = std::min(legendLeft, shape.x - 12);
                legendTop = std::min(legendTop, shape.y - shape.size);
            }
        }
        QVERIFY(scaleRight > 0 && titleBottom > 0);
        QVERIFY2(scaleRight < legendLeft && titleBottom < legendTop,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(scaleRight)
                                .arg(legendLeft)
                                .arg(titleBottom)
                                .arg(legendTop)));
        QTest::keyClick(sketch, Qt::Key_Escape);
        QTRY_VERIFY(!sketch);
        QVERIFY(window->isVisible());
    }

    // Each archived point is added once, none surveyed in the job; one taken back with
    // " Rimuovi" or Delete leaves the booklet and may be added again.
    void shouldAddArchivedPointsBeforeFinishing() {
        walk->folder.write(aglie(), kArchive + "03 0014 A074 PF SU CIPPO                    "
                                               "4447600.000 607200.000  4516400.000\r\n");
        // Points archived under a code the table did not know are offered too, after the
        // header's municipalities.
        walk->folder.write(walk->archiveFile("TORINO", "Z999"), "");
        Frm_pf *window = open();
        QVERIFY(window);
        walk->run.dialogs.answers.push_back(Answer::Yes);
        window->Cmd_esegui->click();
        QCOMPARE(window->Cmb_comune->count(), 2);
        QCOMPARE(window->Cmb_comune->itemText(1), QStringLiteral("Z999"));
        window->Cmb_foglio->setCurrentIndex(1);
        auto choose = [window](int number) {
            window->Cmb_pf->setCurrentIndex(number);
            emit window->Cmb_pf->activated(number);
        };
        walk->run.dialogs.answers.push_back(Answer::No);
        choose(0);
        walk->run.dialogs.answers.push_back(Answer::Yes);
        choose(0); // PF09/0014
        choose(0); // again: refused
        walk->run.dialogs.answers.push_back(Answer::Yes);
        choose(1);                                             // PF03/0014
        QTest::keyClick(window->Lst_aggiunti, Qt::Key_Delete); // nothing chosen yet
        window->Lst_aggiunti->setCurrentRow(0);
        QTest::keyClick(window->Lst_aggiunti, Qt::Key_Delete);
        walk->run.dialogs.answers.push_back(Answer::Yes);
        choose(0); // PF09/0014 once more
        window->Lst_aggiunti->setCurrentRow(0);
        window->Cmd_rimuovi->click(); // PF03/0014
        window->Cmb_foglio->setCurrentIndex(0);
        choose(0); // PF01/0012, surveyed in the job: refused
        QVERIFY(!fs::exists(walk->booklet().string() + ".tmp.nuovo"));
        walk->compareSnapshot(*window, kExpected);

        window->Cmb_comune->setEditText(QStringLiteral("../../fuori"));
        QCOMPARE(window->Cmb_foglio->count(), 0);

        // Escape would abandon the written booklet: nothing happens. Enter in a list is the
        // list's own; elsewhere it presses " Fine".
        QTest::keyClick(window->MSHFlexGrid1, Qt::Key_Escape);
        window->Cmb_foglio->setFocus();
        QTest::keyClick(window->Cmb_foglio->lineEdit(), Qt::Key_Return);
        QVERIFY(!walk->run.desktop.ended);
        QVERIFY(window->isVisible());
        window->MSHFlexGrid1->setFocus();
        QTest::keyClick(window->MSHFlexGrid1, Qt::Key_Return);
        walk->compareEvents(kExpected, {walk->booklet()});
    }
};

QTEST_MAIN(TestFrmPf)
#include "test_frm_pf.moc"
