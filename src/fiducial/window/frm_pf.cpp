#include "fiducial/window/frm_pf.h"

#include "core/files.h"
#include "core/text.h"
#include "core/unexpected_failure.h"
#include "fiducial/logic/archivia_pf.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/window/frm_distanze_pf.h"
#include "ui/model/qt_text.h"
#include "ui/window/cp1252_validator.h"
#include "ui/window/shared_columns.h"
#include "ui/window/window_setup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace ferolan {
namespace {

const QString kWorking = QStringLiteral("ATTENDERE ... ELABORAZIONE IN CORSO ...");
// The room the list of added points takes below the insertion stage's controls.
constexpr int kAddedListHeight = 110;

// The current text of a list, only when it is one of the list's own entries: a typed text
// that matches nothing is ignored.
std::optional<std::string> listedChoice(const QComboBox *combo) {
    if (combo->currentText().isEmpty() || combo->findText(combo->currentText()) < 0)
        return std::nullopt;
    return toCp1252(combo->currentText());
}

// The closing message's account of the booklet check.
QString checkText(const std::vector<Finding> &findings) {
    if (findings.empty())
        return QStringLiteral("Controllo del libretto: nessun problema.");
    return QStringLiteral("Controllo del libretto:\n") +
           QString::fromStdString(findingLines(findings));
}

} // namespace

Frm_pf::Frm_pf(AppContext &context, const PointList &points, Tabella_comuni &table,
               HeaderData header, std::vector<std::string> municipalities)
    : context_(context), municipalities_(std::move(municipalities)),
      session_({points, context.state.Punto_master, context.state.Riga_master, std::move(header),
                context.state.Path_pf, table, context.state.File_libretto,
                context.decimalSeparator}),
      model_(session_.grid()) {
    colours_.setSourceModel(&model_);
    setObjectName(QStringLiteral("Frm_pf"));
    setWindowTitle(QStringLiteral("Gestione PF"));
    setMinimumSize(layout_.designSize());
    resize(layout_.designSize());
    fillWithTeal(*this);
    buildControls();
}

void Frm_pf::buildControls() {
    using Follow = GrowingLayout::Follow;
    MSHFlexGrid1 = new QTableView(this);
    layout_.add(MSHFlexGrid1, {8, 8, 673, 209}, Follow::Wider | Follow::Taller);
    MSHFlexGrid1->setModel(&colours_);
    setUpGrid(*MSHFlexGrid1, PfGridModel::kFormat);
    // The whole current row shows which point Space would switch.
    MSHFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSHFlexGrid1->setTabKeyNavigation(false);
    MSHFlexGrid1->installEventFilter(this);

    auto button = [this](const QString &caption, QStyle::StandardPixmap icon, QRect geometry) {
        auto *created = new QPushButton(style()->standardIcon(icon), caption, this);
        // Enter on a focused button presses that button, not " Avanti" or " Fine".
        created->setAutoDefault(true);
        layout_.add(created, geometry, Follow::Right | Follow::Bottom);
        return created;
    };
    Cmd_esegui = button(QStringLiteral(" Avanti"), QStyle::SP_ArrowRight, {544, 272, 137, 41});
    cmd_annulla =
        button(QStringLiteral(" Annulla"), QStyle::SP_DialogCancelButton, {544, 224, 137, 41});
    cmd_fine = button(QStringLiteral(" Fine"), QStyle::SP_DialogApplyButton, {544, 272, 137, 41});
    cmd_fine->hide();
    Cmd_schema =
        button(QStringLiteral(" Schema"), QStyle::SP_FileDialogContentsView, {400, 224, 137, 41});
    Cmd_distanze =
        button(QStringLiteral(" Distanze PF"), QStyle::SP_FileDialogListView, {400, 272, 137, 41});
    Cmd_distanze->setEnabled(false);

    auto label = [this](const QString &caption, QRect geometry) {
        auto *created = new QLabel(caption, this);
        layout_.add(created, geometry, Follow::Bottom);
        created->setStyleSheet(QStringLiteral("color: rgb(255, 192, 128);"));
        created->setEnabled(false);
        return created;
    };
    auto list = [this](QRect geometry) {
        auto *combo = new QComboBox(this);
        layout_.add(combo, geometry, Follow::Bottom);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setValidator(new Cp1252Validator(combo));
        combo->setEnabled(false);
        return combo;
    };
    lbl_comune = label(QStringLiteral("COMUNE:"), {16, 240, 65, 17});
    Cmb_comune = list({80, 232, 265, 25});
    Lbl_foglio = label(QStringLiteral("Foglio di mappa:"), {16, 264, 88, 33});
    Lbl_foglio->setWordWrap(true);
    Cmb_foglio = list({104, 264, 81, 25});
    lbl_pf = label(QStringLiteral("Punto Fiduciale:"), {192, 264, 88, 33});
    lbl_pf->setWordWrap(true);
    Cmb_pf = list({280, 264, 65, 25});
    Lst_aggiunti = new QListWidget(this);
    Lst_aggiunti->setObjectName(QStringLiteral("Lst_aggiunti"));
    layout_.add(Lst_aggiunti, {16, 304, 521, kAddedListHeight - 8}, Follow::Bottom | Follow::Wider);
    Lst_aggiunti->hide();
    Lst_aggiunti->installEventFilter(this);
    Cmd_rimuovi = button(QStringLiteral(" Rimuovi"), QStyle::SP_TrashIcon, {544, 320, 137, 33});
    Cmd_rimuovi->hide();
    Cmd_rimuovi->setEnabled(false);

    setTabOrder(MSHFlexGrid1, Cmd_esegui);
    setTabOrder(Cmd_esegui, cmd_annulla);
    setTabOrder(cmd_annulla, Cmd_schema);
    setTabOrder(Cmd_schema, Cmd_distanze);
    setTabOrder(Cmd_distanze, Cmb_comune);
    setTabOrder(Cmb_comune, Cmb_foglio);
    setTabOrder(Cmb_foglio, Cmb_pf);
    setTabOrder(Cmb_pf, Lst_aggiunti);
    setTabOrder(Lst_aggiunti, Cmd_rimuovi);
    setTabOrder(Cmd_rimuovi, cmd_fine);

    connect(MSHFlexGrid1, &QTableView::clicked, this, &Frm_pf::MSHFlexGrid1_Click);
    connect(Cmd_esegui, &QPushButton::clicked, this, &Frm_pf::Cmd_esegui_Click);
    connect(cmd_annulla, &QPushButton::clicked, this, [this] {
        if (abandonBooklet())
            emit annulla();
    });
    connect(Cmd_schema, &QPushButton::clicked, this, &Frm_pf::Cmd_schema_Click);
    connect(Cmd_distanze, &QPushButton::clicked, this, &Frm_pf::Cmd_distanze_Click);
    connect(cmd_fine, &QPushButton::clicked, this, [this] {
        // The temporary file stays, and " Fine" may be pressed again.
        try {
            Trasforma_libretto();
        } catch (const std::exception &failure) {
            tellUnforeseen(failure);
        }
    });
    connect(Cmb_comune, &QComboBox::currentTextChanged, this, &Frm_pf::Cmb_comune_Change);
    connect(Cmb_foglio, &QComboBox::currentTextChanged, this, &Frm_pf::Cmb_foglio_Change);
    connect(Cmb_pf, &QComboBox::activated, this, &Frm_pf::Cmb_pf_Click);
    connect(Cmd_rimuovi, &QPushButton::clicked, this, &Frm_pf::Cmd_rimuovi_Click);
    connect(Lst_aggiunti, &QListWidget::currentRowChanged, this,
            [this](int row) { Cmd_rimuovi->setEnabled(row >= 0); });
}

bool Frm_pf::Form_Load() {
    centreOnScreen(*this);
    emit progressChanged(kWorking);

    PfGridLoadingCallbacks callbacks;
    callbacks.askAboutMalformedName = [this](std::string_view name) {
        QString text = QStringLiteral("il formato del punto %1 non è corretto! (XX/XX/XXXX)\n"
                                      "Questo punto non sarà inserito nel libretto e "
                                      "nell'archivio dei punti fiduciali.\n"
                                      "Continuare la creazione del libretto Pregeo?")
                           .arg(toQString(name));
        return context_.ask(this, text, QStringLiteral("Attenzione!")) == Answer::No
                   ? MalformedNameAnswer::Stop
                   : MalformedNameAnswer::Continue;
    };
    callbacks.showProgress = [this](std::size_t pfCount) {
        emit progressChanged(kWorking + QStringLiteral(" PF N.") + QString::number(pfCount));
    };
    if (!session_.compareFiducialPoints(callbacks))
        return false;

    model_.reload();
    Cmd_distanze->setEnabled(foundPfCount(session_.grid()) >= 2);
    // In today's fonts the headings' widths would push the marks out of sight.
    fitColumnsToContents(*MSHFlexGrid1, PfGridRow::Name, PfGridRow::Mark);
    MSHFlexGrid1->setColumnWidth(PfGridRow::Description,
                                 MSHFlexGrid1->fontMetrics().averageCharWidth() * 30 + 8);
    (new SharedColumns(*MSHFlexGrid1, {PfGridRow::Description}))->measure();
    emit progressChanged(QString());

    if (!session_.unreadableFiles().empty()) {
        QStringList files;
        for (const std::filesystem::path &file : session_.unreadableFiles())
            files << pathToQString(file);
        context_.tell(this,
                      QStringLiteral("Impossibile leggere:\n%1\nI punti fiduciali che vi "
                                     "rimandano non sono stati confrontati con l'archivio: la "
                                     "colonna \"Già usato\" resta vuota e non sono proposti per "
                                     "l'archiviazione.")
                          .arg(files.join(QLatin1Char('\n'))),
                      QStringLiteral("Errore di accesso all'archivio"), MessageIcon::Exclamation);
    }
    return true;
}

void Frm_pf::MSHFlexGrid1_Click(const QModelIndex &index) {
    if (!index.isValid() || index.column() != PfGridRow::Mark)
        return;
    MSHFlexGrid1->setCurrentIndex(index);
    toggleMark(index.row());
}

void Frm_pf::toggleMark(int modelRow) {
    PfGridRow &row = session_.grid()[static_cast<std::size_t>(modelRow)];
    // A second record of a point is never found: lookups take the first.
    if (row.cell(PfGridRow::Mark) != kArchiveMark && row.cell(PfGridRow::Used) == kUsed &&
        context_.ask(this,
                     QStringLiteral("Il punto %1 è già in archivio: un nuovo record non sarà mai "
                                    "usato dalle ricerche, che trovano il primo. Archiviarlo di "
                                    "nuovo?")
                         .arg(toQString(trimBlanks(row.cell(PfGridRow::Name)))),
                     std::nullopt, MessageButtons::YesNo, MessageIcon::Exclamation,
                     Answer::No) == Answer::No)
        return;
    row.cell(PfGridRow::Mark) = toggledMark(row.cell(PfGridRow::Mark));
    model_.rowChanged(modelRow);
}

void Frm_pf::Cmd_schema_Click() {
    const Module1 &state = context_.state;
    std::optional<SurveySketch> sketch = session_.sketch(
        toCp1252(pathToQString(state.File_lavoro.filename())).value_or("?"),
        toCp1252(pathToQString(state.File_libretto.filename())).value_or("?"), zona_);
    if (!sketch) {
        tellCritical(QStringLiteral("La stazione master %1 non ha coordinate utilizzabili: lo "
                                    "schema del rilievo non si può disegnare.")
                         .arg(toQString(state.Punto_master)));
        return;
    }
    emit sketchRequested(*sketch);
}

void Frm_pf::Cmd_distanze_Click() {
    if (!distanze_) {
        distanze_ = new Frm_distanze_pf(context_, session_.grid(), zona_, this);
        connect(distanze_, &Frm_distanze_pf::zonaChanged, this,
                [this](DistanceZone zone) { zona_ = zone; });
    }
    distanze_->show();
    distanze_->raise();
    distanze_->activateWindow();
}

void Frm_pf::Cmd_esegui_Click() {
    try {
        archiveAndWrite();
    } catch (const std::exception &failure) {
        Cmd_esegui->setEnabled(false);
        model_.reload();
        session_.abandon();
        tellUnforeseen(failure);
    }
}

void Frm_pf::archiveAndWrite() {
    using Outcome = ConversionSession::Writing::Outcome;
    const ConversionSession::Writing writing = session_.archiveAndWriteRows();
    model_.reload();
    const QString temporary = pathToQString(session_.temporaryBooklet());
    if (writing.outcome == Outcome::TemporaryNotCreated) {
        tellCritical(QStringLiteral("Impossibile creare il file temporaneo %1.\n"
                                    "Nessun punto fiduciale è stato archiviato e il libretto non "
                                    "è stato scritto.")
                         .arg(temporary));
        return;
    }
    if (writing.outcome == Outcome::RowsNotWritten) {
        Cmd_esegui->setEnabled(false);
        tellCritical(QStringLiteral("Impossibile scrivere il file temporaneo %1.\n"
                                    "Il libretto non è stato scritto.")
                         .arg(temporary) +
                     archivedLine());
        return;
    }
    if (writing.outcome == Outcome::ArchivingStopped) {
        // Whatever was appended stays; pressing " Avanti" again would archive it twice.
        Cmd_esegui->setEnabled(false);
        tellArchivingStopped(writing.archiving);
        return;
    }
    if (context_.ask(this,
                     QStringLiteral("Vuoi aggiungere al libretto uno o più Punti Fiduciali "
                                    "presenti in archivio?"),
                     QStringLiteral("archiviazione")) == Answer::No)
        Trasforma_libretto();
    else
        enterInsertionStage();
}

void Frm_pf::tellArchivingStopped(const ArchivingResult &archiving) {
    const QString stopped =
        QStringLiteral("\nL'archiviazione si è fermata a questo punto: i punti delle righe "
                       "in verde prima di esso sono archiviati.");
    QString cause;
    switch (archiving.outcome) {
    case ArchivingResult::TableUnreadable:
        cause = QStringLiteral("Impossibile leggere la tabella dei comuni %1.\n"
                               "Nessun punto fiduciale è stato archiviato.")
                    .arg(pathToQString(archiving.file));
        break;
    case ArchivingResult::Busy:
        cause = QString::fromStdString(archiveBusyMessage(archiving.file)) + stopped;
        break;
    default:
        cause = QStringLiteral("Impossibile scrivere nell'archivio dei punti fiduciali il file %1.")
                    .arg(pathToQString(archiving.file)) +
                stopped;
    }
    tellCritical(cause + QStringLiteral("\nIl libretto non è stato scritto.") + archivedLine());
}

void Frm_pf::enterInsertionStage() {
    for (QWidget *control : std::initializer_list<QWidget *>{lbl_comune, Lbl_foglio, lbl_pf,
                                                             Cmb_comune, Cmb_foglio, Cmb_pf})
        control->setEnabled(true);
    Cmd_esegui->hide();
    cmd_fine->show();
    Lst_aggiunti->show();
    Cmd_rimuovi->show();
    layout_.setDesignSize({layout_.designSize().width(), 318 + kAddedListHeight});
    setMinimumSize(layout_.designSize());
    resize(width(), height() + kAddedListHeight);

    QSignalBlocker quiet(Cmb_comune);
    for (const std::string &entry :
         municipalitiesWithArchive(context_.state.Path_pf, province(), municipalities_))
        Cmb_comune->addItem(toQString(entry));
    Cmb_comune->setCurrentIndex(Cmb_comune->count() > 0 ? 0 : -1);
    quiet.unblock();
    Cmb_comune_Change();
}

std::optional<std::filesystem::path> Frm_pf::chosenArchiveFile() const {
    std::optional<std::string> entry = listedChoice(Cmb_comune);
    if (!entry)
        return std::nullopt;
    return Percorso_file_pf(context_.state.Path_pf, province(), *entry);
}

void Frm_pf::Cmb_comune_Change() {
    QSignalBlocker quietSheets(Cmb_foglio);
    QSignalBlocker quietNumbers(Cmb_pf);
    Cmb_foglio->clear();
    Cmb_pf->clear();
    std::optional<std::filesystem::path> file = chosenArchiveFile();
    if (!file)
        return;
    ArchiveListing sheets = sheetsInFile(*file);
    if (sheets.outcome != ReadOutcome::Ok) {
        tellCritical(QStringLiteral("Impossibile leggere il file dell'archivio %1.")
                         .arg(pathToQString(*file)));
        return;
    }
    for (const std::string &sheet : sheets.entries)
        Cmb_foglio->addItem(toQString(sheet));
    Cmb_foglio->setCurrentIndex(-1);
    Cmb_foglio->clearEditText();
}

void Frm_pf::Cmb_foglio_Change() {
    QSignalBlocker quiet(Cmb_pf);
    Cmb_pf->clear();
    std::optional<std::filesystem::path> file = chosenArchiveFile();
    std::optional<std::string> sheet = listedChoice(Cmb_foglio);
    if (!file || !sheet)
        return;
    for (const std::string &number : numbersOfSheet(*file, *sheet).entries)
        Cmb_pf->addItem(toQString(number));
    Cmb_pf->setCurrentIndex(-1);
    Cmb_pf->clearEditText();
}

void Frm_pf::Cmb_pf_Click() {
    std::optional<std::string> entry = listedChoice(Cmb_comune);
    std::optional<std::string> sheet = listedChoice(Cmb_foglio);
    std::optional<std::string> number = listedChoice(Cmb_pf);
    if (!entry || !sheet || !number || !chosenArchiveFile())
        return;
    const ArchivedChoice choice = session_.archivedChoice(*entry, *sheet, *number);
    if (choice.alreadyInBooklet) {
        context_.tell(this,
                      QStringLiteral("Il punto %1 è già nel libretto.").arg(toQString(choice.name)),
                      std::nullopt, MessageIcon::Exclamation);
        return;
    }
    if (context_.ask(this, QString::fromStdString(choice.question),
                     QStringLiteral("Richiesta conferma")) == Answer::No)
        return;

    const ConversionSession::AddingResult adding = session_.add(choice);
    switch (adding.outcome) {
    case ConversionSession::Adding::Added:
        Lst_aggiunti->addItem(QStringLiteral("%1  %2").arg(
            toQString(choice.name), toQString(session_.added().back().description)));
        Lst_aggiunti->scrollToBottom();
        return;
    case ConversionSession::Adding::ArchiveUnreadable:
        tellCritical(QStringLiteral("Impossibile leggere il file dell'archivio %1.\n"
                                    "Il punto non è stato aggiunto al libretto.")
                         .arg(pathToQString(adding.file)));
        return;
    case ConversionSession::Adding::NotWritten:
        tellCritical(QStringLiteral("Impossibile scrivere nel file temporaneo %1.\n"
                                    "Il punto non è stato aggiunto al libretto.")
                         .arg(pathToQString(adding.file)));
        return;
    case ConversionSession::Adding::AlreadyInBooklet:
    case ConversionSession::Adding::NotInArchive:
        return;
    }
}

void Frm_pf::Cmd_rimuovi_Click() {
    const int chosen = Lst_aggiunti->currentRow();
    if (chosen < 0 || std::size_t(chosen) >= session_.added().size())
        return;
    if (!session_.removeAdded(std::size_t(chosen))) {
        tellCritical(QStringLiteral("Impossibile scrivere il file temporaneo %1.\n"
                                    "Il punto non è stato tolto dal libretto.")
                         .arg(pathToQString(session_.temporaryBooklet())));
        return;
    }
    delete Lst_aggiunti->takeItem(chosen);
}

void Frm_pf::Trasforma_libretto() {
    const ConversionSession::Finishing finishing = session_.finish(context_.today());
    const FinishingResult &result = finishing.result;
    if (!result.created()) {
        // The booklet can be tried again once the cause is removed; archiving never again.
        Cmd_esegui->hide();
        cmd_fine->show();
        QString cause =
            result.outcome == FinishingResult::Outcome::TemporaryUnreadable
                ? QStringLiteral("Impossibile leggere il file temporaneo %1.")
                : QStringLiteral("Impossibile scrivere il libretto %1 (cartella mancante, file "
                                 "di sola lettura o disco pieno).");
        tellCritical(cause.arg(pathToQString(result.failedFile)) +
                     QStringLiteral("\nIl libretto non è stato creato; il file temporaneo %1 è "
                                    "conservato. Rimossa la causa, premere \" Fine\" per "
                                    "riprovare, oppure \" Annulla\".")
                         .arg(pathToQString(session_.temporaryBooklet())) +
                     archivedLine());
        return;
    }
    const std::vector<Finding> &findings = finishing.findings;
    const bool errore = hasErrore(findings);
    QString text = QString::fromStdString(finishing.createdMessage);
    if (errore)
        text += QStringLiteral(":\n") + QString::fromStdString(findingLines(findings));
    if (const std::optional<std::string> &note = session_.vrsNote())
        text += QLatin1Char('\n') + QString::fromStdString(*note);
    if (!result.leftoverTemporary.empty())
        text += QStringLiteral("\nNon è stato possibile cancellare il file temporaneo %1.")
                    .arg(pathToQString(result.leftoverTemporary));
    if (!session_.archivedMeanwhile().empty()) {
        text += QStringLiteral("\nPunti Fiduciali già archiviati nel frattempo da un altro "
                               "programma, non archiviati di nuovo:");
        for (const std::string &name : session_.archivedMeanwhile())
            text += QLatin1Char('\n') + toQString(name);
    }
    if (!errore)
        text += QStringLiteral("\n") + checkText(findings);
    context_.tell(this, text, QStringLiteral("Trasformazione eseguita"),
                  errore ? MessageIcon::Exclamation : MessageIcon::Information);
    context_.desktop.endProgram();
}

void Frm_pf::tellCritical(const QString &text) {
    context_.tell(this, text, std::nullopt, MessageIcon::Critical);
}

void Frm_pf::tellUnforeseen(const std::exception &failure) {
    tellCritical(QString::fromStdString(unexpectedFailureText(failure)) +
                 QStringLiteral("\nIl libretto non è stato scritto.") + archivedLine());
}

QString Frm_pf::archivedLine() const {
    const QString note = QString::fromStdString(archivedNote(session_.archivedCount())).trimmed();
    return note.isEmpty() ? QString() : QLatin1Char('\n') + note;
}

bool Frm_pf::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        context_.enterForm(this);
    return QWidget::event(event);
}

bool Frm_pf::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Lst_aggiunti && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        Cmd_rimuovi_Click();
        return true;
    }
    // Space on the grid switches the current row's mark, as a click on it does.
    if (watched == MSHFlexGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
        if (MSHFlexGrid1->currentIndex().isValid())
            toggleMark(MSHFlexGrid1->currentIndex().row());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Frm_pf::keyPressEvent(QKeyEvent *event) {
    // Reached only by keys the focused control leaves alone. In the insertion stage Enter in
    // the lists chooses a point, and Escape does nothing: it would abandon a written booklet.
    QWidget *focused = focusWidget();
    const bool inLists =
        focused &&
        std::ranges::any_of(
            std::initializer_list<QWidget *>{Cmb_comune, Cmb_foglio, Cmb_pf},
            [focused](QWidget *list) { return list == focused || list->isAncestorOf(focused); });
    const bool beforeAvanti = !Cmd_esegui->isHidden() && Cmd_esegui->isEnabled();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (beforeAvanti)
            Cmd_esegui->click();
        else if (!cmd_fine->isHidden() && cmd_fine->isEnabled() && !inLists)
            cmd_fine->click();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (beforeAvanti)
            cmd_annulla->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Frm_pf::resizeEvent(QResizeEvent *) {
    layout_.apply(size());
}

void Frm_pf::closeEvent(QCloseEvent *event) {
    event->ignore();
    if (abandonBooklet())
        emit annulla();
}

bool Frm_pf::hasArchived() const {
    return session_.archivedCount() > 0;
}

bool Frm_pf::abandonBooklet() {
    if (!session_.archivingStarted() || abandoned_)
        return true;
    const std::filesystem::path &booklet = context_.state.File_libretto;
    const std::size_t archived = session_.archivedCount();
    if (archived > 0 &&
        context_.ask(this,
                     QStringLiteral("I punti fiduciali sono già stati archiviati. Abbandonare il "
                                    "libretto? Il file temporaneo sarà cancellato e un libretto "
                                    "precedente con lo stesso nome resterà com'era."),
                     std::nullopt, MessageButtons::YesNo, MessageIcon::Exclamation,
                     Answer::No) == Answer::No)
        return false;
    session_.abandon();
    abandoned_ = true;
    if (archived == 0)
        return true;
    abandonedNote_ =
        QStringLiteral("Il libretto non è stato scritto. ") +
        (archived == 1 ? QStringLiteral("Un punto fiduciale è stato archiviato e resta "
                                        "nell'archivio.")
                       : QStringLiteral("%1 punti fiduciali sono stati archiviati e "
                                        "restano nell'archivio.")
                             .arg(archived));
    if (isExistingFile(booklet))
        abandonedNote_ += QStringLiteral("\nIl libretto precedente %1 è rimasto com'era.")
                              .arg(pathToQString(booklet));
    return true;
}

} // namespace ferolan
