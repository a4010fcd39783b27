#include "fiducial/window/frm_distanze_pf.h"
#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"
#include "job_walk.h"
#include "sketch/logic/sketch_pf_pairs.h"
#include "sketch/window/sketch_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

// PF01 moved 0.30 m along the line to PF02, 100 m away, and at right angles to the line to
// PF03; PF02 is listed twice, PF05 is not in the archive.
const fs::path kMoved = FEROLAN_TEST_DATA "/distanze";
const fs::path kExpected = FEROLAN_TEST_DATA "/frm_distanze_pf";

} // namespace

class TestFrmDistanzePf : public QObject {
    Q_OBJECT
    std::unique_ptr<JobWalk> walk;

    Frm_pf *open() {
        walk->start();
        walk->loadJob(walk->folder.read(kMoved / "job.txt"), 1);
        Frm_09 *header = walk->openHeaderWindow();
        JobWalk::fillHeader(*header);
        header->Txt_estmedia->setText(QStringLiteral("1403652"));
        return walk->handOff();
    }

    Frm_distanze_pf *openDistances(Frm_pf *window) {
        window->Cmd_distanze->click();
        auto *distances = window->findChild<Frm_distanze_pf *>();
        if (distances && !QTest::qWaitForWindowActive(distances))
            return nullptr;
        return distances;
    }

private slots:
    void init() {
        walk = std::make_unique<JobWalk>();
        const fs::path aglie = walk->archiveFile("TORINO", "A074 - AGLIE'");
        fs::create_directories(aglie.parent_path());
        fs::copy_file(kMoved / "A074 - AGLIE'.pf", aglie);
    }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    // One row a pair of found points, worst first: PF01-PF02 out of tolerance in red,
    // PF01-PF04 over 10 cm on orange; the paragraph for the report on the clipboard.
    void shouldShowThePairsAndCopyTheParagraph() {
        Frm_pf *window = open();
        QVERIFY(window->Cmd_distanze->isEnabled());
        Frm_distanze_pf *distances = openDistances(window);
        QVERIFY(distances);
        walk->compareSnapshot(*distances, kExpected);
        distances->Cmd_copia->click();
        walk->compareEvents(kExpected);
    }

    // The zone recomputes the grid, is kept while the fiducial point window lives and comes
    // back with the header's input for the same job; keys work as in the other grids.
    void shouldKeepTheZoneWithTheHeader() {
        Frm_pf *window = open();
        Frm_distanze_pf *distances = openDistances(window);
        QTableView *grid = distances->MSHFlexGrid1;
        QCOMPARE(grid->model()->index(0, PfDistancesModel::Tolerance).data().toString(),
                 QStringLiteral("0,180"));
        distances->Cmb_zona->setFocus();
        QTest::keyClick(distances->Cmb_zona, Qt::Key_Down);
        QCOMPARE(grid->model()->index(0, PfDistancesModel::Tolerance).data().toString(),
                 QStringLiteral("0,210"));
        QCOMPARE(window->zona(), DistanceZone::Pianeggiante);

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->currentIndex().row(), 5);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->currentIndex().row(), 4);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), distances->Cmd_copia);

        QPointer<Frm_distanze_pf> closing = distances;
        QTest::keyClick(distances->Cmd_copia, Qt::Key_Escape);
        QTRY_VERIFY(!closing);
        window->cmd_annulla->click();
        QTRY_VERIFY(!walk->windows.frmPf());
        Frm_09 *header = walk->openHeaderWindow();
        header->Txt_estmedia->setText(QStringLiteral("1403652"));
        window = walk->handOff();
        QCOMPARE(openDistances(window)->Cmb_zona->currentText(),
                 QStringLiteral("Extraurbana pianeggiante"));
    }

    // Only the pair out of tolerance, as a red dashed line with its ratio as tooltip.
    void shouldDrawThePairsOutOfToleranceInTheSketch() {
        Frm_pf *window = open();
        window->Cmd_schema->click();
        auto *sketch = window->findChild<SketchWindow *>();
        QVERIFY(sketch);
        const SurveySketch &survey = sketch->canvas->sketch();
        QCOMPARE(survey.pairsOutOfTolerance.size(), std::size_t(1));
        const SketchPair &pair = survey.pairsOutOfTolerance.front();
        QCOMPARE(QString::fromStdString(pairSummary(survey, pair)),
                 QStringLiteral("PF01/0012/A074 – PF02/0012/A074\n"
                                "rapporto differenza/tolleranza: 1,67"));
        QVERIFY(QTest::qWaitForWindowExposed(sketch));
        const QPointF middle = (sketch->canvas->pixelOf(survey.points[pair.first].plan) +
                                sketch->canvas->pixelOf(survey.points[pair.second].plan)) /
                               2;
        QCOMPARE(pairNear(survey, sketch->canvas->view(), middle.x(), middle.y() + 3, 4), &pair);
        QCOMPARE(pairNear(survey, sketch->canvas->view(), middle.x(), middle.y() + 9, 4), nullptr);
        const auto shapes = drawSketch(survey, sketch->canvas->view());
        QCOMPARE(std::count_if(shapes.begin(), shapes.end(),
                               [](const SketchShape &shape) {
                                   return shape.dashed && shape.colour == Rgb{255, 0, 0};
                               }),
                 2); // the pair and its legend
    }
};

QTEST_MAIN(TestFrmDistanzePf)
#include "test_frm_distanze_pf.moc"
