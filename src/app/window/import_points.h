#pragma once

#include "job/delimited_format.h"
#include "ui/window/app_context.h"

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ferolan {

// "Importa punti": how to read a receiver's delimited export, shown on the file's first lines.
// On " Importa" it emits the points as job lines; " Annulla" changes nothing.
class ImportPoints final : public QDialog {
    Q_OBJECT
public:
    ImportPoints(QWidget *parent, AppContext &context, std::filesystem::path file);

    // The format the controls show.
    DelimitedFormat format() const;
    void showFormat(const DelimitedFormat &format);

    QComboBox *Cmb_separatore;
    QSpinBox *Spn_righe;
    QComboBox *Cmb_decimale;
    QComboBox *Cmb_termini;
    QComboBox *Cmb_formati;
    QTableWidget *Grd_anteprima;
    QPlainTextEdit *Txt_scartate;
    QPushButton *Cmd_salva;
    QPushButton *Cmd_importa;
    QPushButton *Cmd_annulla;

signals:
    void imported(const std::string &jobText);

private:
    void fillPreview();
    void listFormats();
    void chooseFormat(int index);
    void Cmd_salva_Click();
    void Cmd_importa_Click();
    QComboBox *roleCombo(int column) const;
    std::filesystem::path formatsFolder() const;

    AppContext &context_;
    std::filesystem::path file_;
    // The file's first lines, as shown.
    std::vector<std::string> lines_;
};

} // namespace ferolan
