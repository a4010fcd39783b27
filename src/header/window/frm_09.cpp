#include "header/window/frm_09.h"

#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "header/logic/archive_folders.h"
#include "header/logic/gnss_session.h"
#include "header/logic/header_checks.h"
#include "header/logic/header_defaults.h"
#include "header/logic/header_rules.h"
#include "header/logic/tabella_comuni.h"
#include "job/master_station.h"
#include "job/usable_point.h"
#include "job/variance_terms.h"
#include "ui/model/qt_text.h"
#include "ui/window/cp1252_validator.h"
#include "ui/window/window_setup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace ferolan {
namespace {

template <typename Texts> QStringList toQStringList(const Texts &texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (std::string_view text : texts)
        list << toQString(text);
    return list;
}

std::string cp1252Of(const QString &text) {
    return toCp1252(text).value_or(std::string());
}

QLabel *fieldLabel(const QString &caption, const QColor &colour, QWidget *parent) {
    auto *label = new QLabel(caption, parent);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *heading(const QString &caption, QWidget *parent) {
    auto *label = new QLabel(caption, parent);
    label->setStyleSheet(
        QStringLiteral("color: rgb(255, 255, 128); font-family: Arial; font-weight: bold;"));
    return label;
}

} // namespace

Frm_09::Frm_09(AppContext &context, const PointList &points, Tabella_comuni &table)
    : context_(context), points_(points), table_(table) {
    setObjectName(QStringLiteral("Frm_09"));
    setWindowTitle(QStringLiteral("Dati riga 0 e riga 9"));
    fillWithTeal(*this);
    buildControls();
}

void Frm_09::buildControls() {
    auto lineEdit = [this](int limit) {
        auto *edit = new QLineEdit(this);
        edit->setValidator(new Cp1252Validator(edit, limit));
        return edit;
    };
    auto comboBox = [this](bool editable) {
        auto *combo = new QComboBox(this);
        combo->setEditable(editable);
        if (editable) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setValidator(new Cp1252Validator(combo));
            combo->completer()->setCompletionMode(QCompleter::InlineCompletion);
            combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
            combo->installEventFilter(this);
        }
        return combo;
    };

    Txt_data = lineEdit(8);
    Txt_pg = lineEdit(6);
    Cmb_prov = comboBox(false);
    Cmb_comune = comboBox(true);
    Txt_foglio = lineEdit(5);
    Txt_mappali = lineEdit(30);
    Txt_tecnico = lineEdit(-1);
    Cmb_albo = comboBox(true);
    Cmb_prov_albo = comboBox(true);
    Txt_quota = lineEdit(4);
    Txt_estmedia = lineEdit(7);
    Cmb_prec1 = comboBox(true);
    Cmb_prec2 = comboBox(true);
    Cmb_tipo = comboBox(true);
    Txt_note = lineEdit(30);
    Cmb_metodo = comboBox(true);
    Txt_ora_inizio = lineEdit(5);
    Txt_ora_fine = lineEdit(5);
    Txt_base = lineEdit(-1);
    Cmb_vrs = comboBox(true);
    Cmd_annulla1 = new QPushButton(style()->standardIcon(QStyle::SP_ArrowLeft),
                                   QStringLiteral(" Indietro"), this);
    Cmd_ok = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight),
                             QStringLiteral(" Avanti"), this);
    StBar = new QStatusBar(this);
    StBar->setSizeGripEnabled(false);
    // The status line keeps the system's colours, readable on the teal window.
    QPalette plain = StBar->palette();
    plain.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    plain.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    StBar->setPalette(plain);
    StBar->setAutoFillBackground(true);

    const QColor row0(Qt::white);
    const QColor row9(192, 255, 255);
    auto *body = new QWidget(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    auto place = [&](int line, int column, const QString &caption, const QColor &colour,
                     QWidget *field, int span = 1) {
        grid->addWidget(fieldLabel(caption, colour, this), line, column * 2);
        grid->addWidget(field, line, column * 2 + 1, 1, span * 2 - 1);
    };
    auto separator = [&](int line) {
        auto *rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        grid->addWidget(rule, line, 0, 1, 6);
    };
    grid->addWidget(heading(QStringLiteral("Dati Riga 0:"), this), 0, 0, 1, 6);
    place(1, 0, QStringLiteral("Data:"), row0, Txt_data);
    place(1, 1, QStringLiteral("Foglio:"), row0, Txt_foglio);
    place(1, 2, QStringLiteral("Tecnico:"), row0, Txt_tecnico);
    place(2, 0, QStringLiteral("Prot.:"), row0, Txt_pg);
    place(2, 1, QStringLiteral("mappali:"), row0, Txt_mappali);
    place(2, 2, QStringLiteral("Titolo:"), row0, Cmb_albo);
    place(3, 0, QStringLiteral("Provincia:"), row0, Cmb_prov);
    place(3, 2, QStringLiteral("Prov.:"), row0, Cmb_prov_albo);
    place(4, 0, QStringLiteral("Comune:"), row0, Cmb_comune, 2);
    separator(5);
    grid->addWidget(heading(QStringLiteral("Dati Riga 9:"), this), 6, 0, 1, 6);
    place(7, 0, QStringLiteral("Quota:"), row9, Txt_quota);
    place(7, 1, QStringLiteral("Precisione lin. (mm.):"), row9, Cmb_prec1);
    place(8, 0, QStringLiteral("Est media:"), row9, Txt_estmedia);
    place(8, 1, QStringLiteral("Precisione ang. (cc):"), row9, Cmb_prec2);
    // The buttons keep their size; the fields take the room of a larger window.
    // Enter on a focused button presses that button; elsewhere it presses " Avanti".
    for (QPushButton *button : {Cmd_annulla1, Cmd_ok}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->setAutoDefault(true);
    }
    for (int column : {1, 3, 5})
        grid->setColumnStretch(column, 1);
    grid->setRowStretch(15, 1);
    grid->addWidget(Cmd_annulla1, 8, 5, Qt::AlignRight);
    place(9, 0, QStringLiteral("Tipo elaborato:"), row9, Cmb_tipo, 2);
    grid->addWidget(Cmd_ok, 9, 5, Qt::AlignRight);
    place(10, 0, QStringLiteral("Note:"), row9, Txt_note, 2);
    separator(11);
    grid->addWidget(heading(QStringLiteral("Sessione GNSS (righe 1 e 6)"), this), 12, 0, 1, 6);
    place(13, 0, QStringLiteral("Metodo:"), row9, Cmb_metodo);
    place(13, 1, QStringLiteral("Ora inizio:"), row9, Txt_ora_inizio);
    place(13, 2, QStringLiteral("Ora fine:"), row9, Txt_ora_fine);
    place(14, 0, QStringLiteral("Base (riga 1):"), row9, Txt_base);
    place(14, 1, QStringLiteral("Punto VRS:"), row9, Cmb_vrs, 2);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Opens as large as the captions need in the system's font, never smaller than the
    // original 8040 x 5490 twips (536 x 366 pixels); the user may enlarge it.
    outer->setSizeConstraint(QLayout::SetDefaultConstraint);
    body->setMinimumSize(536, 366 - StBar->sizeHint().height());
    body->setLayout(grid);
    outer->addWidget(body, 1);
    outer->addWidget(StBar);

    const QList<QWidget *> focusOrder = {
        Txt_data,    Txt_pg,   Cmb_prov,      Cmb_comune, Txt_foglio,     Txt_mappali,
        Txt_tecnico, Cmb_albo, Cmb_prov_albo, Txt_quota,  Txt_estmedia,   Cmb_prec1,
        Cmb_prec2,   Cmb_tipo, Txt_note,      Cmb_metodo, Txt_ora_inizio, Txt_ora_fine,
        Txt_base,    Cmb_vrs,  Cmd_annulla1,  Cmd_ok};
    for (qsizetype i = 0; i + 1 < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i], focusOrder[i + 1]);

    const QList<std::pair<QWidget *, const char *>> names = {{Txt_data, "Txt_data"},
                                                             {Txt_pg, "Txt_pg"},
                                                             {Cmb_prov, "Cmb_prov"},
                                                             {Cmb_comune, "Cmb_comune"},
                                                             {Txt_foglio, "Txt_foglio"},
                                                             {Txt_mappali, "Txt_mappali"},
                                                             {Txt_tecnico, "Txt_tecnico"},
                                                             {Cmb_albo, "Cmb_albo"},
                                                             {Cmb_prov_albo, "Cmb_prov_albo"},
                                                             {Txt_quota, "Txt_quota"},
                                                             {Txt_estmedia, "Txt_estmedia"},
                                                             {Cmb_prec1, "Cmb_prec1"},
                                                             {Cmb_prec2, "Cmb_prec2"},
                                                             {Cmb_tipo, "Cmb_tipo"},
                                                             {Txt_note, "Txt_note"},
                                                             {Cmb_metodo, "Cmb_metodo"},
                                                             {Txt_ora_inizio, "Txt_ora_inizio"},
                                                             {Txt_ora_fine, "Txt_ora_fine"},
                                                             {Txt_base, "Txt_base"},
                                                             {Cmb_vrs, "Cmb_vrs"},
                                                             {Cmd_annulla1, "Cmd_annulla1"},
                                                             {Cmd_ok, "Cmd_ok"},
                                                             {StBar, "StBar"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    for (const HeaderControl &control : kHeaderControls)
        if (control.upperCase) {
            auto *field = findChild<QLineEdit *>(
                QString::fromLatin1(control.name.data(), control.name.size()));
            connect(field, &QLineEdit::textChanged, this, [this, field] { keepUpperCase(field); });
        }
    connect(Cmb_prov, &QComboBox::currentTextChanged, this, &Frm_09::Cmb_prov_Change);
    connect(Cmb_metodo, &QComboBox::currentTextChanged, this, &Frm_09::Cmb_metodo_Change);
    connect(Cmd_ok, &QPushButton::clicked, this, &Frm_09::Cmd_ok_Click);
    connect(Cmd_annulla1, &QPushButton::clicked, this, &Frm_09::indietro);
}

bool Frm_09::Form_Load() {
    centreOnScreen(*this);
    unsetCursor();

    Txt_data->setText(QString::fromStdString(dateText(context_.today())));
    Txt_quota->setText(QString::fromStdString(wholeNumberText(context_.state.Quota_master)));
    Txt_estmedia->setText(QString::fromStdString(meanEastText(context_.state.Est_media)));

    Cmb_prov_albo->addItems(toQStringList(table_.Elenco_province()));
    if (table_.lastOutcome() != ReadOutcome::Ok) {
        context_.tell(this,
                      QStringLiteral("Impossibile leggere la tabella dei comuni %1.\n"
                                     "Senza la tabella non si possono compilare i dati del "
                                     "libretto: controllare che il file sia accanto al programma.")
                          .arg(pathToQString(table_.file())),
                      QStringLiteral("Errore di accesso al file"), MessageIcon::Critical);
        return false;
    }
    Cmb_albo->addItems(toQStringList(kTitoliProfessionali));
    Cmb_tipo->addItems(toQStringList(kTipiElaborato));
    Cmb_prec1->addItems(toQStringList(kPrecisioniLineari));
    Cmb_prec2->addItems(toQStringList(kPrecisioniAngolari));
    for (QComboBox *combo : {Cmb_albo, Cmb_prov_albo, Cmb_prec1, Cmb_prec2, Cmb_tipo})
        combo->setCurrentIndex(-1);
    proposeSession();

    // A job whose municipality the table does not know leaves the province to the user,
    // rather than guessing one and creating its folder.
    std::optional<std::string> provincia = table_.knownProvinceOf(jobMunicipalityCode(points_));
    QSignalBlocker quiet(Cmb_prov);
    if (provincia) {
        Cmb_prov->addItem(toQString(*provincia));
    } else {
        Cmb_prov->addItems(toQStringList(table_.Elenco_province()));
        Cmb_prov->setCurrentIndex(-1);
    }
    quiet.unblock();
    Cmb_prov_Change();
    if (provincia) {
        // Every fiducial point names the same municipality: that is the job's.
        if (std::optional<std::string> code = commonFiducialCode(points_))
            if (std::optional<std::string> line = table_.Riga_del_comune(*code))
                Cmb_comune->setCurrentIndex(Cmb_comune->findText(toQString(*line)));
    } else if (hasFiducialName(points_)) {
        Mostra_stato(QStringLiteral("Il codice %1 dei punti fiduciali non è nella tabella dei "
                                    "comuni: scegliere la provincia.")
                         .arg(toQString(jobMunicipalityCode(points_))));
    }
    Txt_data->setFocus();
    adjustSize();
    setMinimumSize(size());
    return true;
}

void Frm_09::proposeSession() {
    HeaderData session;
    proposeSessionFromJob(session, points_, context_.state.Punto_master);
    metodo_ = session.Cmb_metodo;
    QSignalBlocker quiet(Cmb_metodo);
    Cmb_metodo->addItems(toQStringList(kMetodiRilievo));
    Cmb_metodo->setCurrentText(toQString(session.Cmb_metodo));
    Txt_ora_inizio->setText(toQString(session.Txt_ora_inizio));
    Txt_ora_fine->setText(toQString(session.Txt_ora_fine));
    Txt_base->setText(toQString(session.Txt_base));
    Cmb_vrs->setEditText(toQString(session.Cmb_vrs));
    Cmb_vrs->setEnabled(false);
}

void Frm_09::Cmb_metodo_Change(const QString &text) {
    const std::string before = std::exchange(metodo_, cp1252Of(text));
    const QString base = toQString(
        baseAfterMethod(cp1252Of(Txt_base->text()), before, metodo_, context_.state.Punto_master));
    if (base != Txt_base->text())
        Txt_base->setText(base);
    const bool nrtk = isNrtk(metodo_);
    // Listed only once NRTK is chosen: a large job's names would slow every opening.
    if (nrtk && Cmb_vrs->count() == 0) {
        const QString kept = Cmb_vrs->currentText();
        Cmb_vrs->addItems(toQStringList(vrsCandidates(points_, context_.state.Punto_master)));
        Cmb_vrs->setEditText(kept);
    }
    Cmb_vrs->setEnabled(nrtk);
    const QString withoutTerms =
        QString::fromUtf8(kNrtkWithoutTerms.data(), qsizetype(kNrtkWithoutTerms.size()));
    if (nrtk && !isNrtk(before) && !carriesVarianceTerms(points_))
        Mostra_stato(withoutTerms);
    else if (!nrtk && statusText() == withoutTerms)
        Mostra_stato(QString());
}

void Frm_09::restoreInput(const HeaderData &typed) {
    // In focus order, so the province comes before the municipalities it lists.
    for (const HeaderControl &header : kHeaderControls) {
        const QString text = toQString(typed.*header.text);
        if (auto *edit = qobject_cast<QLineEdit *>(control(header.name)))
            edit->setText(text);
        else
            qobject_cast<QComboBox *>(control(header.name))->setCurrentText(text);
    }
}

QWidget *Frm_09::control(std::string_view name) const {
    return findChild<QWidget *>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

void Frm_09::keyPressEvent(QKeyEvent *event) {
    // Reached only by keys the focused control leaves alone; an open list keeps its own.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && Cmd_ok->isEnabled())
        Cmd_ok->click();
    else if (event->key() == Qt::Key_Escape && Cmd_annulla1->isEnabled())
        Cmd_annulla1->click();
    else
        QWidget::keyPressEvent(event);
}

bool Frm_09::eventFilter(QObject *watched, QEvent *event) {
    // A list's line takes a completion it offers on Enter and keeps the key; Enter must still
    // press " Avanti", as it does everywhere else in the window.
    auto *combo = qobject_cast<QComboBox *>(watched);
    const QLineEdit *edit = combo ? combo->lineEdit() : nullptr;
    if (edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QCompleter *completer = edit->completer();
        const bool completionPending =
            completer && completer->completionMode() == QCompleter::InlineCompletion &&
            edit->hasSelectedText() && edit->selectionEnd() == edit->text().size() &&
            !completer->currentCompletion().isEmpty();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && completionPending) {
            static_cast<QObject *>(combo)->event(event);
            if (Cmd_ok->isEnabled())
                Cmd_ok->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Frm_09::Cmb_prov_Change() {
    Cmb_comune->clear();
    Cmb_comune->addItems(
        toQStringList(table_.Comuni_della_provincia(cp1252Of(Cmb_prov->currentText()))));
    Cmb_comune->setCurrentIndex(-1);
    Cmb_comune->clearEditText();
}

void Frm_09::keepUpperCase(QLineEdit *field) {
    std::optional<std::string> bytes = toCp1252(field->text());
    if (!bytes)
        return;
    QString upper = toQString(toUpperCp1252(*bytes));
    if (upper == field->text())
        return;
    int cursor = field->cursorPosition();
    field->setText(upper);
    field->setCursorPosition(cursor);
}

HeaderData Frm_09::datiIntestazione() const {
    HeaderData header;
    for (const HeaderControl &control : kHeaderControls) {
        const QString name = QString::fromLatin1(control.name.data(), control.name.size());
        const auto *edit = findChild<const QLineEdit *>(name);
        header.*control.text =
            cp1252Of(edit ? edit->text() : findChild<const QComboBox *>(name)->currentText());
    }
    return header;
}

std::vector<std::string> Frm_09::municipalityEntries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < Cmb_comune->count(); ++i)
        entries.push_back(cp1252Of(Cmb_comune->itemText(i)));
    return entries;
}

void Frm_09::Mostra_stato(const QString &text) {
    if (text.isEmpty())
        StBar->clearMessage();
    else
        StBar->showMessage(text);
    // Shown at once, also while a long handler of another window runs.
    StBar->repaint();
}

QString Frm_09::statusText() const {
    return StBar->currentMessage();
}

void Frm_09::Cmd_ok_Click() {
    Mostra_stato(QString());
    if (std::optional<HeaderProblem> problem =
            headerProblem(datiIntestazione(), {points_, context_.state.Punto_master})) {
        context_.desktop.beep();
        Mostra_stato(QString::fromStdString(problem->message));
        for (const HeaderControl &header : kHeaderControls)
            if (header.text == problem->field) {
                QWidget *atFault = control(header.name);
                atFault->setFocus(Qt::OtherFocusReason);
                if (auto *edit = qobject_cast<QLineEdit *>(atFault))
                    edit->selectAll();
                else if (auto *combo = qobject_cast<QComboBox *>(atFault); combo->lineEdit())
                    combo->lineEdit()->selectAll();
            }
        return;
    }
    if (!acceptFindings())
        return;
    if (Apri_gestione_pf())
        emit avanti();
}

bool Frm_09::acceptFindings() {
    const std::vector<Finding> findings = Controlla_righe_0_9(
        datiIntestazione(), surveyedCentroid(points_, context_.state.Punto_master), table_,
        context_.today());
    if (findings.empty())
        return true;
    const QString text = QStringLiteral("Il libretto avrà questi problemi:\n") +
                         QString::fromStdString(findingLines(findings)) +
                         QStringLiteral("\nContinuare comunque?");
    if (context_.ask(this, text, QStringLiteral("Controllo del libretto"), MessageButtons::YesNo,
                     MessageIcon::Exclamation, Answer::No) != Answer::No)
        return true;
    for (const Finding &finding : findings) {
        std::string_view control = headerControlOfField(finding.rowType, finding.field);
        if (!control.empty()) {
            findChild<QWidget *>(QString::fromLatin1(control.data(), control.size()))->setFocus();
            break;
        }
    }
    return false;
}

bool Frm_09::Apri_gestione_pf() {
    std::optional<std::string> problem =
        prepareArchiveFolders(context_.state.Path_pf, cp1252Of(Cmb_prov->currentText()),
                              context_.programFolder / kSettingsFileName);
    if (problem) {
        context_.tell(this, QString::fromStdString(*problem),
                      QStringLiteral("Errore di accesso all'archivio"), MessageIcon::Critical);
        return false;
    }
    busy_ = true;
    setEnabled(false);
    setCursor(Qt::WaitCursor);
    return true;
}

bool Frm_09::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        context_.enterForm(this);
    return QWidget::event(event);
}

void Frm_09::closeEvent(QCloseEvent *event) {
    // While busy the fiducial point window works on; only its own buttons end that.
    event->ignore();
    if (!busy_)
        emit indietro();
}

} // namespace ferolan
