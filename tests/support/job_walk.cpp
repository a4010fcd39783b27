#include "job_walk.h"

#include "app/window/form1.h"
#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace ferolan::testing {
namespace {

QByteArray field(const QByteArray &text, int width, bool right) {
    QByteArray blanks(std::max<qsizetype>(0, width - text.size()), ' ');
    return right ? blanks + text : text + blanks;
}

} // namespace

QByteArray jobLine(const QByteArray &name, const QByteArray &description, const QByteArray &x,
                   const QByteArray &y, const QByteArray &z, const QByteArray &east,
                   const QByteArray &height) {
    return field(name, 16, false) + field(description, 36, false) + field("GPS", 16, false) +
           field(x, 12, true) + field(y, 12, true) + field(z, 12, true) + field(east, 12, true) +
           field(height, 8, true) + "\r\n";
}

JobWalk::JobWalk(char decimalSeparator, char check)
    : folder(check), run(folder, decimalSeparator), windows(run.context) {
    run.context.today = [] { return kWalkDay; };
    std::filesystem::create_directory(folder.root() / "lavori");
}

std::filesystem::path JobWalk::archiveFile(const char *province, const char *municipality) const {
    return folder.archive() / "punti_fiduciali" / province / (std::string(municipality) + ".pf");
}

void JobWalk::start() {
    windows.start();
    QVERIFY(QTest::qWaitForWindowActive(&windows.form1()));
}

void JobWalk::loadJob(const QByteArray &job, int pointRow) {
    folder.write(folder.root() / "lavori" / "lavoro.txt", job);
    run.dialogs.fileChoices.push_back(
        {true, QString::fromStdString((folder.root() / "lavori" / "lavoro.txt").string())});
    windows.form1().Cmd_selezione->click();
    if (pointRow == 0)
        return;
    QTableView *grid = windows.form1().MSHFlexGrid1;
    QRect cell = grid->visualRect(grid->model()->index(pointRow - 1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

Frm_09 *JobWalk::openHeaderWindow(bool withoutCoordinates) {
    run.dialogs.answers.push_back(Answer::Yes);
    if (withoutCoordinates)
        run.dialogs.answers.push_back(Answer::Yes);
    run.dialogs.answers.push_back(Answer::Yes);
    run.dialogs.fileChoices.push_back({true, QString::fromStdString(booklet().string())});
    windows.form1().Cmd_ok->click();
    return windows.frm09();
}

void JobWalk::fillHeader(Frm_09 &header) {
    header.Txt_data->setText(QStringLiteral("05032027"));
    header.Txt_pg->setText(QStringLiteral("123456"));
    header.Cmb_comune->setCurrentIndex(0);
    header.Txt_foglio->setText(QStringLiteral("0012"));
    header.Txt_mappali->setText(QStringLiteral("101, 102; 103"));
    header.Txt_tecnico->setText(QStringLiteral("ROSSI MARIO"));
    header.Cmb_albo->setCurrentIndex(3);
    header.Cmb_prov_albo->setCurrentText(QStringLiteral("torino"));
    header.Cmb_prec1->setCurrentIndex(0);
    header.Cmb_prec2->setCurrentIndex(0);
    header.Cmb_tipo->setCurrentIndex(0);
    header.Txt_note->setText(QStringLiteral("rilievo gps"));
}

Frm_pf *JobWalk::handOff() {
    if (!windows.frm09())
        return nullptr;
    windows.frm09()->Cmd_ok->click();
    return windows.frmPf();
}

void JobWalk::compareEvents(const std::filesystem::path &expected,
                            const std::vector<std::filesystem::path> &files) const {
    testing::compareEvents(run, folder, expectedFileOf(expected), files);
}

void JobWalk::compareSnapshot(const QWidget &window, const std::filesystem::path &expected) const {
    testing::compareSnapshot(window, folder, expectedFileOf(expected, "_window"));
}

} // namespace ferolan::testing
