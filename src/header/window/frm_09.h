#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"
#include "ui/window/app_context.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace ferolan {

class Tabella_comuni;

// The header window: the data of the booklet's rows 0 and 9, proposed from the job and the
// municipality code table, checked by " Avanti" before the fiducial points are handled.
class Frm_09 final : public QWidget {
    Q_OBJECT
public:
    Frm_09(AppContext &context, const PointList &points, Tabella_comuni &table);

    // Fills the window; false (and the user told) when the code table cannot be read.
    bool Form_Load();

    // The texts of the controls, as the booklet and the archive take them.
    HeaderData datiIntestazione() const;
    // The entries of the municipality list (Windows-1252), in list order.
    std::vector<std::string> municipalityEntries() const;

    // Puts back every field as the user left it in an earlier opening for the same job.
    void restoreInput(const HeaderData &typed);

    void Mostra_stato(const QString &text);
    QString statusText() const;
    bool isBusy() const { return busy_; }

    QLineEdit *Txt_data;
    QLineEdit *Txt_pg;
    QComboBox *Cmb_prov;
    QComboBox *Cmb_comune;
    QLineEdit *Txt_foglio;
    QLineEdit *Txt_mappali;
    QLineEdit *Txt_tecnico;
    QComboBox *Cmb_albo;
    QComboBox *Cmb_prov_albo;
    QLineEdit *Txt_quota;
    QLineEdit *Txt_estmedia;
    QComboBox *Cmb_prec1;
    QComboBox *Cmb_prec2;
    QComboBox *Cmb_tipo;
    QLineEdit *Txt_note;
    QComboBox *Cmb_metodo;
    QLineEdit *Txt_ora_inizio;
    QLineEdit *Txt_ora_fine;
    QLineEdit *Txt_base;
    QComboBox *Cmb_vrs;
    QPushButton *Cmd_ok;
    QPushButton *Cmd_annulla1;
    QStatusBar *StBar;

signals:
    // " Indietro", or the window closed from its frame while editing.
    void indietro();
    // Every check passed and the archive folders are there: the window is now busy.
    void avanti();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Cmb_prov_Change();
    // The survey session as every booklet had it before: RTK, 09:00-12:00, row 1 named as the
    // master station.
    void proposeSession();
    // Proposes or withdraws 10000 as the base, and lists the VRS points, as NRTK is chosen or
    // left.
    void Cmb_metodo_Change(const QString &text);
    void Cmd_ok_Click();
    // Shows what the booklet check finds in rows 0 and 9; false when the user goes back to
    // correct them (the focus then in the first field at fault).
    bool acceptFindings();
    bool Apri_gestione_pf();
    void keepUpperCase(QLineEdit *field);
    QWidget *control(std::string_view name) const;

    AppContext &context_;
    const PointList &points_;
    Tabella_comuni &table_;
    bool busy_ = false;
    // The method before the latest change.
    std::string metodo_;
};

} // namespace ferolan
