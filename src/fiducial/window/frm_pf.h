#pragma once

#include "conversion/conversion_session.h"
#include "fiducial/logic/pf_distances.h"
#include "fiducial/logic/pf_grid.h"
#include "fiducial/model/pf_grid_model.h"
#include "fiducial/window/pf_grid_colours.h"
#include "header/logic/header_data.h"
#include "job/point_list.h"
#include "sketch/logic/survey_sketch.h"
#include "ui/window/app_context.h"
#include "ui/window/window_setup.h"

#include <QPointer>
#include <QWidget>

#include <exception>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace ferolan {

class Frm_distanze_pf;
class Tabella_comuni;

// The fiducial point window: the job's fiducial points compared with the archive, the
// choice of those to archive, the booklet's rows, and the archived points to add.
class Frm_pf final : public QWidget {
    Q_OBJECT
public:
    // `header` holds the header window's data, `municipalities` the entries of its list of
    // the province's municipalities.
    Frm_pf(AppContext &context, const PointList &points, Tabella_comuni &table, HeaderData header,
           std::vector<std::string> municipalities);

    // Lists and compares the job's fiducial points, telling the progress through
    // progressChanged(); false when the user chose to stop at a malformed name.
    bool Form_Load();

    const PfGrid &grid() const { return session_.grid(); }

    // The zone whose tolerances the distances between fiducial points take.
    DistanceZone zona() const { return zona_; }
    void setZona(DistanceZone zone) { zona_ = zone; }
    // Whether the window may go: once points are archived the user is asked first, and on
    // Yes the temporary booklet is removed. Before archiving, yes.
    bool abandonBooklet();
    // What to tell once an abandoned booklet's window has gone: the points that stay in the
    // archive and the earlier booklet left as it was; empty when nothing was archived.
    const QString &abandonedNote() const { return abandonedNote_; }
    // Whether points of this job were appended to the archive.
    bool hasArchived() const;

    QTableView *MSHFlexGrid1;
    QPushButton *Cmd_esegui;
    QPushButton *cmd_annulla;
    QPushButton *cmd_fine;
    QLabel *lbl_comune;
    QComboBox *Cmb_comune;
    QLabel *Lbl_foglio;
    QComboBox *Cmb_foglio;
    QLabel *lbl_pf;
    QComboBox *Cmb_pf;
    QPushButton *Cmd_schema;
    // Enabled when at least two fiducial points of the job are found in the archive.
    QPushButton *Cmd_distanze;
    // The archived points added to the booklet, in the order added.
    QListWidget *Lst_aggiunti;
    QPushButton *Cmd_rimuovi;

signals:
    // " Annulla", or the window closed from its frame.
    void annulla();
    // What the loading is doing, for a status line; empty once done. Shown at once: the
    // loading runs within one handler.
    void progressChanged(const QString &text);
    // " Schema": the survey sketch to show over this window.
    void sketchRequested(const SurveySketch &sketch);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void MSHFlexGrid1_Click(const QModelIndex &index);
    void toggleMark(int modelRow);
    void Cmd_schema_Click();
    void Cmd_distanze_Click();
    void Cmd_esegui_Click();
    void archiveAndWrite();
    void tellArchivingStopped(const ArchivingResult &archiving);
    void enterInsertionStage();
    void Trasforma_libretto();
    void Cmb_comune_Change();
    void Cmb_foglio_Change();
    void Cmb_pf_Click();
    // Takes the chosen added point out of the list and of the temporary booklet.
    void Cmd_rimuovi_Click();
    std::optional<std::filesystem::path> chosenArchiveFile() const;
    void tellCritical(const QString &text);
    // A failure nobody foresaw (memory running out): the booklet is not written, and the
    // points archived so far are named, so that nobody archives them again.
    void tellUnforeseen(const std::exception &failure);
    // "\n" and archivedNote() for the points archived, or nothing.
    QString archivedLine() const;
    const std::string &province() const { return session_.setup().header.Cmb_prov; }

    AppContext &context_;
    std::vector<std::string> municipalities_;
    ConversionSession session_;
    PfGridModel model_;
    PfGridColours colours_;
    // Set once the user agreed to leave a booklet whose points were archived.
    bool abandoned_ = false;
    QString abandonedNote_;
    GrowingLayout layout_{{684, 318}};
    DistanceZone zona_ = DistanceZone::Urbana;
    QPointer<Frm_distanze_pf> distanze_;
};

} // namespace ferolan
