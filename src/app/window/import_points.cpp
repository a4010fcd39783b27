#include "app/window/import_points.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "core/text.h"
#include "job/delimited_job.h"
#include "job/usable_point.h"
#include "ui/model/qt_text.h"
#include "ui/window/window_setup.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ferolan {
namespace {

constexpr std::size_t kPreviewLines = 20;
const QString kTitle = QStringLiteral("Importa punti");

QString shown(std::string_view bytes, bool utf8) {
    return utf8 ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                : toQString(bytes);
}

} // namespace

ImportPoints::ImportPoints(QWidget *parent, AppContext &context, std::filesystem::path file)
    : QDialog(parent), context_(context), file_(std::move(file)) {
    setWindowTitle(kTitle);
    Cmb_separatore = new QComboBox;
    Cmb_separatore->addItems({";", ",", "tab", "spazi"});
    Spn_righe = new QSpinBox;
    Spn_righe->setRange(0, 9999);
    Cmb_decimale = new QComboBox;
    Cmb_decimale->addItems({".", ","});
    Cmb_termini = new QComboBox;
    Cmb_termini->addItems({QStringLiteral("varianze (m²)"),
                           QStringLiteral("deviazioni standard (m, elevate al quadrato)")});
    Cmb_formati = new QComboBox;
    Grd_anteprima = new QTableWidget;
    Grd_anteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Txt_scartate = new QPlainTextEdit;
    Txt_scartate->setReadOnly(true);
    Txt_scartate->setMaximumHeight(90);
    Cmd_salva = new QPushButton(QStringLiteral(" Salva formato…"));
    Cmd_importa = new QPushButton(QStringLiteral(" Importa"));
    Cmd_annulla = new QPushButton(QStringLiteral(" Annulla"));
    Cmd_importa->setDefault(true);
    Cmb_separatore->setObjectName(QStringLiteral("Cmb_separatore"));
    Spn_righe->setObjectName(QStringLiteral("Spn_righe"));
    Cmb_decimale->setObjectName(QStringLiteral("Cmb_decimale"));
    Cmb_termini->setObjectName(QStringLiteral("Cmb_termini"));
    Cmb_formati->setObjectName(QStringLiteral("Cmb_formati"));
    Grd_anteprima->setObjectName(QStringLiteral("Grd_anteprima"));
    Txt_scartate->setObjectName(QStringLiteral("Txt_scartate"));
    Cmd_salva->setObjectName(QStringLiteral("Cmd_salva"));
    Cmd_importa->setObjectName(QStringLiteral("Cmd_importa"));
    Cmd_annulla->setObjectName(QStringLiteral("Cmd_annulla"));

    auto *choices = new QFormLayout;
    choices->addRow(QStringLiteral("&Formato salvato:"), Cmb_formati);
    choices->addRow(QStringLiteral("&Separatore:"), Cmb_separatore);
    choices->addRow(QStringLiteral("&Righe da saltare:"), Spn_righe);
    choices->addRow(QStringLiteral("Separatore &decimale:"), Cmb_decimale);
    choices->addRow(QStringLiteral("&Termini var X, var Y, var Z:"), Cmb_termini);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Cmd_salva);
    buttons->addStretch();
    buttons->addWidget(Cmd_importa);
    buttons->addWidget(Cmd_annulla);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(Grd_anteprima, 1);
    layout->addWidget(Txt_scartate);
    layout->addLayout(buttons);

    FileContent content = readFile(file_);
    std::string_view bytes = content.bytes;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    LineReader reader(bytes);
    for (std::string_view line; lines_.size() < kPreviewLines && reader.next(line);)
        lines_.emplace_back(line);
    std::string first;
    for (const std::string &line : lines_)
        first += line + "\n";
    Cmb_separatore->setCurrentIndex(static_cast<int>(proposedSeparator(first)));

    connect(Cmb_separatore, &QComboBox::currentIndexChanged, this, &ImportPoints::fillPreview);
    connect(Cmb_formati, &QComboBox::activated, this, &ImportPoints::chooseFormat);
    connect(Cmd_salva, &QPushButton::clicked, this, &ImportPoints::Cmd_salva_Click);
    connect(Cmd_importa, &QPushButton::clicked, this, &ImportPoints::Cmd_importa_Click);
    connect(Cmd_annulla, &QPushButton::clicked, this, &QDialog::reject);
    fillPreview();
    listFormats();
    resize(820, 560);
    centreOnScreen(*this);
}

// Row 0 holds the role of each column; the file's first lines follow, cut by the separator.
void ImportPoints::fillPreview() {
    const DelimitedFormat before = format();
    const auto separator = static_cast<FieldSeparator>(Cmb_separatore->currentIndex());
    std::string all;
    for (const std::string &line : lines_)
        all += line;
    const bool utf8 = isValidUtf8(all);
    std::vector<std::vector<std::string>> rows;
    std::size_t columns = 1;
    for (const std::string &line : lines_) {
        rows.push_back(splitFields(line, separator).value_or(std::vector<std::string>{line}));
        columns = std::max(columns, rows.back().size());
    }
    Grd_anteprima->clear();
    Grd_anteprima->setRowCount(static_cast<int>(rows.size()) + 1);
    Grd_anteprima->setColumnCount(static_cast<int>(columns));
    for (std::size_t column = 0; column < columns; ++column) {
        auto *roles = new QComboBox;
        for (std::size_t role = 0; role < kColumnRoles; ++role) {
            const std::string_view name = roleName(static_cast<ColumnRole>(role));
            roles->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
        if (column < before.columns.size())
            roles->setCurrentIndex(static_cast<int>(before.columns[column]));
        Grd_anteprima->setCellWidget(0, static_cast<int>(column), roles);
    }
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            Grd_anteprima->setItem(static_cast<int>(row) + 1, static_cast<int>(column),
                                   new QTableWidgetItem(shown(rows[row][column], utf8)));
    Grd_anteprima->resizeColumnsToContents();
}

QComboBox *ImportPoints::roleCombo(int column) const {
    return qobject_cast<QComboBox *>(Grd_anteprima->cellWidget(0, column));
}

DelimitedFormat ImportPoints::format() const {
    DelimitedFormat format;
    format.separator = static_cast<FieldSeparator>(Cmb_separatore->currentIndex());
    format.decimal = Cmb_decimale->currentIndex() == 1 ? ',' : '.';
    format.linesToSkip = static_cast<std::size_t>(Spn_righe->value());
    format.deviations = Cmb_termini->currentIndex() == 1;
    for (int column = 0; column < Grd_anteprima->columnCount(); ++column)
        if (QComboBox *roles = roleCombo(column))
            format.columns.push_back(static_cast<ColumnRole>(roles->currentIndex()));
    // Columns the map leaves unread at the end are no part of it.
    while (!format.columns.empty() && format.columns.back() == ColumnRole::Ignora)
        format.columns.pop_back();
    return format;
}

void ImportPoints::showFormat(const DelimitedFormat &format) {
    {
        const QSignalBlocker blocker(Cmb_separatore);
        Cmb_separatore->setCurrentIndex(static_cast<int>(format.separator));
    }
    Cmb_decimale->setCurrentIndex(format.decimal == ',' ? 1 : 0);
    Spn_righe->setValue(static_cast<int>(format.linesToSkip));
    Cmb_termini->setCurrentIndex(format.deviations ? 1 : 0);
    fillPreview();
    for (int column = 0; column < Grd_anteprima->columnCount(); ++column)
        roleCombo(column)->setCurrentIndex(
            static_cast<std::size_t>(column) < format.columns.size()
                ? static_cast<int>(format.columns[static_cast<std::size_t>(column)])
                : 0);
}

std::filesystem::path ImportPoints::formatsFolder() const {
    return context_.programFolder / "formati";
}

void ImportPoints::listFormats() {
    Cmb_formati->clear();
    const QStringList names =
        QDir(pathToQString(formatsFolder()))
            .entryList({QStringLiteral("*.formato")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names)
        Cmb_formati->addItem(name.chopped(8));
    Cmb_formati->setCurrentIndex(-1);
}

void ImportPoints::chooseFormat(int index) {
    const std::filesystem::path file =
        formatsFolder() / toPath(Cmb_formati->itemText(index) + QStringLiteral(".formato"));
    FileContent content = readFile(file);
    FormatParsing parsing = parseFormat(content.bytes);
    if (!content.ok() || !parsing.format) {
        context_.tell(this,
                      QStringLiteral("Il formato %1 non è valido: %2")
                          .arg(pathToQString(file), content.ok()
                                                        ? QString::fromStdString(parsing.problem)
                                                        : QStringLiteral("non si può leggere")),
                      kTitle, MessageIcon::Critical);
        return;
    }
    showFormat(*parsing.format);
}

void ImportPoints::Cmd_salva_Click() {
    const std::optional<QString> name =
        context_.dialogs.askText(this, kTitle, QStringLiteral("Nome del formato:"));
    if (!name || name->trimmed().isEmpty())
        return;
    const std::optional<std::string> cp1252 = toCp1252(name->trimmed());
    if (!cp1252 || name->contains(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")))) {
        context_.tell(this, QStringLiteral("Il nome %1 non si può usare per un file.").arg(*name),
                      kTitle, MessageIcon::Critical);
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(formatsFolder(), error);
    const std::filesystem::path file =
        formatsFolder() / toPath(name->trimmed() + QStringLiteral(".formato"));
    if (!replaceFile(file, formatFileText(format()))) {
        context_.tell(
            this,
            QStringLiteral("Impossibile scrivere il file del formato %1.").arg(pathToQString(file)),
            kTitle, MessageIcon::Critical);
        return;
    }
    listFormats();
    Cmb_formati->setCurrentText(name->trimmed());
}

void ImportPoints::Cmd_importa_Click() {
    const DelimitedFormat chosen = format();
    if (std::optional<FormatProblem> problem = formatProblem(chosen)) {
        context_.tell(this, QString::fromStdString(formatProblemMessage(*problem)), kTitle,
                      MessageIcon::Critical);
        return;
    }
    DelimitedReading reading = readDelimitedFile(file_, chosen);
    const std::string path = pathToQString(file_).toStdString();
    QStringList leftOut;
    for (const std::string &message : leftOutMessages(path, reading))
        leftOut << QString::fromStdString(message);
    Txt_scartate->setPlainText(leftOut.join('\n'));
    if (std::optional<std::string> refusal =
            jobRefusal(reading.outcome, path, noDelimitedPointsMessage(path),
                       "Impossibile leggere il file " + path + ".")) {
        context_.tell(this, QString::fromStdString(*refusal), QStringLiteral("errore"),
                      MessageIcon::Critical);
        return;
    }
    if (!leftOut.isEmpty() &&
        context_.ask(this,
                     QStringLiteral("%1 righe non sono state importate (elenco sopra). Continuare?")
                         .arg(leftOut.size()),
                     kTitle, MessageButtons::YesNo, MessageIcon::Exclamation,
                     Answer::No) != Answer::Yes)
        return;
    QStringList converted;
    for (const std::string &message : conversionMessages(reading))
        converted << QString::fromStdString(message);
    if (!converted.isEmpty())
        context_.tell(this, converted.join('\n'), kTitle, MessageIcon::Information);
    emit imported(reading.jobText);
    accept();
}

} // namespace ferolan
