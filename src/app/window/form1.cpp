#include "app/window/form1.h"

#include "app/logic/export_definition.h"
#include "app/window/clickable_label.h"
#include "app/window/import_points.h"
#include "app/window/logos.h"
#include "app/window/remembered_folder.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/settings_file.h"
#include "job/delimited_job.h"
#include "job/master_station.h"
#include "job/usable_point.h"
#include "ui/model/qt_text.h"
#include "ui/window/shared_columns.h"
#include "ui/window/window_setup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

namespace ferolan {
namespace {

const QString kDesignCaption = QStringLiteral("Ferolan - da TGO a Pregeo ");
const QString kActiveJob = QStringLiteral("lavoro attivo: ");
// The job dialog's filter that opens "Importa punti".
constexpr int kOtherReceivers = 3;

QPushButton *makeButton(QWidget *parent, const QString &caption, const QColor &textColour = {}) {
    auto *button = new QPushButton(caption, parent);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    // Disabled, a button takes the style's grey like any other.
    if (textColour.isValid())
        button->setStyleSheet(
            QStringLiteral("QPushButton:enabled { color: %1; }").arg(textColour.name()));
    return button;
}

// Only the user makes a row current: Qt would make the first row current as the grid gets the
// focus, and so silently choose a master station.
class PointGrid final : public QTableView {
public:
    using QTableView::QTableView;

protected:
    // Home and End go to the first and last point, as in a list, keeping its name in view.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if ((action == MoveHome || action == MoveEnd) && model()->rowCount() > 0)
            return model()->index(action == MoveHome ? 0 : model()->rowCount() - 1,
                                  PointList::Name);
        return QTableView::moveCursor(action, modifiers);
    }
    void focusInEvent(QFocusEvent *event) override {
        const bool hadCurrent = currentIndex().isValid();
        QTableView::focusInEvent(event);
        if (!hadCurrent && currentIndex().isValid())
            selectionModel()->clear();
    }
};

} // namespace

Form1::Form1(AppContext &context, std::function<void()> openHeaderWindow)
    : context_(context), openHeaderWindow_(std::move(openHeaderWindow)), model_(points_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kDesignCaption);
    setMinimumSize(layout_.designSize());
    resize(layout_.designSize());

    using Follow = GrowingLayout::Follow;
    Cmd_ok = makeButton(this, QStringLiteral(" Esegui trasformazione"), QColor(0, 0, 255));
    layout_.add(Cmd_ok, {320, 344, 153, 33}, Follow::Right | Follow::Bottom);
    Cmd_ok->setEnabled(false);
    Cmd_selezione = makeButton(this, QStringLiteral("  Selezione Lavoro"), QColor(0, 0, 128));
    layout_.add(Cmd_selezione, {16, 344, 153, 33}, Follow::Bottom);
    Cmd_esci = makeButton(this, QStringLiteral(" Uscita"));
    layout_.add(Cmd_esci, {400, 384, 73, 41}, Follow::Right | Follow::Bottom);
    Cmd_esci->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    MSHFlexGrid1 = new PointGrid(this);
    layout_.add(MSHFlexGrid1, {16, 54, 457, 289}, Follow::Wider | Follow::Taller);
    MSHFlexGrid1->setModel(&model_);
    setUpGrid(*MSHFlexGrid1, PointListModel::kFormat);
    columns_ = new SharedColumns(*MSHFlexGrid1, {PointList::Description});
    MSHFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab moves on to the next control instead of walking the cells.
    MSHFlexGrid1->setTabKeyNavigation(false);
    MSHFlexGrid1->viewport()->installEventFilter(this);

    Lbl_lavoro_attivo = new QLabel(kActiveJob, this);
    layout_.add(Lbl_lavoro_attivo, {16, 384, 369, 41}, Follow::Bottom | Follow::Wider);
    Lbl_lavoro_attivo->setWordWrap(true);
    Lbl_lavoro_attivo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmd_info = makeButton(this, QStringLiteral("  Info"));
    layout_.add(cmd_info, {184, 8, 105, 41}, Follow::Stay);
    cmd_info->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));

    Image2 = new ClickableLabel(this);
    layout_.add(Image2, {16, 8, 137, 33}, Follow::Stay);
    Image2->setPixmap(varnetaLogo({121, 28}));
    Image2->setCursor(Qt::PointingHandCursor);
    Image1 = new ClickableLabel(this);
    layout_.add(Image1, {320, 8, 153, 33}, Follow::Right);
    Image1->setPixmap(trimbleLogo({153, 33}));
    Image1->setCursor(Qt::PointingHandCursor);

    setTabOrder(Cmd_ok, Cmd_selezione);
    setTabOrder(Cmd_selezione, Cmd_esci);
    setTabOrder(Cmd_esci, MSHFlexGrid1);
    setTabOrder(MSHFlexGrid1, cmd_info);

    connect(Cmd_selezione, &QPushButton::clicked, this, &Form1::Cmd_selezione_Click);
    connect(Cmd_ok, &QPushButton::clicked, this, &Form1::Cmd_ok_Click);
    connect(Cmd_esci, &QPushButton::clicked, this, &Form1::Cmd_esci_Click);
    connect(cmd_info, &QPushButton::clicked, this, &Form1::cmd_info_Click);
    // Arrows, pages, Home/End and clicks all move the current row: it is the master station.
    connect(MSHFlexGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Form1::MSHFlexGrid1_RowChange);
    connect(Image1, &ClickableLabel::clicked, this, [this] {
        offerSite(QStringLiteral("Vuoi collegarti al sito Internet di Trimble?"), kTrimbleSite);
    });
    connect(Image2, &ClickableLabel::clicked, this, [this] {
        offerSite(QStringLiteral("Vuoi collegarti al sito Internet di Varneta?"), kVarnetaSite);
    });
}

bool Form1::event(QEvent *event) {
    bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && context_.enterForm(this))
        Form_Activate();
    return handled;
}

void Form1::closeEvent(QCloseEvent *event) {
    if (mayEnd_ && !mayEnd_()) {
        event->ignore();
        return;
    }
    event->accept();
    Cmd_esci_Click();
}

void Form1::resizeEvent(QResizeEvent *) {
    layout_.apply(size());
}

// A cell's tooltip is its whole text, followed by the name of the selected point.
bool Form1::eventFilter(QObject *watched, QEvent *event) {
    if (watched != MSHFlexGrid1->viewport() || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    QStringList lines;
    const QString cell = MSHFlexGrid1->indexAt(help->pos()).data(Qt::ToolTipRole).toString();
    if (!cell.isEmpty())
        lines << cell;
    if (!MSHFlexGrid1->toolTip().isEmpty())
        lines << MSHFlexGrid1->toolTip();
    if (lines.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), MSHFlexGrid1);
    return true;
}

void Form1::Form_Activate() {
    centreOnScreen(*this);
    if (!versionShown_) {
        setWindowTitle(windowTitle() + QStringLiteral("- Versione %1.%2.%3")
                                           .arg(FEROLAN_VERSION_MAJOR)
                                           .arg(FEROLAN_VERSION_MINOR)
                                           .arg(FEROLAN_VERSION_PATCH));
        versionShown_ = true;
    }

    const std::filesystem::path settingsFile = context_.programFolder / kSettingsFileName;
    FileContent content = readFile(settingsFile);
    std::optional<Settings> settings;
    if (content.ok())
        settings = parseSettings(content.bytes);
    if (!settings) {
        context_.tell(this, QString::fromStdString(settingsProblemMessage(settingsFile)),
                      QStringLiteral("Errore nel file delle impostazioni"), MessageIcon::Critical);
        context_.desktop.endProgram();
        return;
    }
    context_.state.Path_pf = settings->Path_pf;
    context_.state.Path_tgo = settings->Path_tgo;

    if (!settings->exportCheckDone) {
        if (!checkExportDefinition())
            return;
        if (!replaceFile(settingsFile, settingsTextWithCheckDone(*settings))) {
            context_.tell(this,
                          QStringLiteral("Impossibile scrivere il file delle impostazioni %1.\n"
                                         "Il file non è stato modificato.")
                              .arg(pathToQString(settingsFile)),
                          QStringLiteral("Errore di scrittura"), MessageIcon::Critical);
            return;
        }
    }
    showActiveJob();
}

// False when the activation steps must stop here (the program may have ended).
bool Form1::checkExportDefinition() {
    const std::filesystem::path tgoFolder = pathFromCp1252(context_.state.Path_tgo);
    const QString definition = pathToQString(tgoFolder / kExportDefinitionName);
    const QString question =
        QStringLiteral("E' necessario eseguire l'aggiornamento del file di export di Trimble "
                       "Geomatic Office\nIl file da aggiornare è -%1-.\n"
                       "Il vecchio file sarà rinominato -asciiexp.dat.old-. Continuare?")
            .arg(definition);
    if (context_.ask(this, question, std::nullopt) == Answer::No) {
        context_.desktop.endProgram();
        return false;
    }

    ExportCheck check = ensurePregeoExport(tgoFolder, context_.programFolder / kExportUpdateName);
    switch (check.outcome) {
    case ExportCheck::Outcome::AlreadyThere:
    case ExportCheck::Outcome::Appended:
        return true;
    case ExportCheck::Outcome::DefinitionMissing:
        context_.tell(this,
                      QStringLiteral("Attenzione! Il file %1 non è presente\noppure il percorso "
                                     "di ricerca non è valido. Verificare nel file -leggimi.txt- "
                                     "le operazioni da eseguire")
                          .arg(definition),
                      QStringLiteral("Errore di accesso al file"), MessageIcon::Critical);
        context_.desktop.endProgram();
        return false;
    case ExportCheck::Outcome::DefinitionUnreadable:
    case ExportCheck::Outcome::UpdateFailed:
        context_.tell(this,
                      QStringLiteral("Impossibile aggiornare il file di export di TGO: il file "
                                     "%1 non si può leggere o scrivere.\n"
                                     "Il file %2 è rimasto com'era.")
                          .arg(pathToQString(check.file), definition),
                      QStringLiteral("Errore di accesso al file"), MessageIcon::Critical);
        return false;
    }
    return false;
}

void Form1::showActiveJob() {
    Lbl_lavoro_attivo->setText(kActiveJob + pathToQString(context_.state.File_lavoro));
}

void Form1::Cmd_selezione_Click() {
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = QStringLiteral("Selezione del file esportato da TGO");
    request.filter = QStringLiteral("Tutti i file (*.*)|*.*|File di testo(*.txt)|*.txt|"
                                    "Punti da altri strumenti (*.csv *.txt)|*.csv;*.txt");
    request.filterIndex = 2;
    request.startFolder = lastJobFolder();
    FileChoice choice = context_.dialogs.chooseFile(this, request);
    // A cancel changes nothing: the loaded job, its master and the booklet it proposes stay.
    if (!choice.accepted || choice.fileName.isEmpty()) {
        context_.tell(this, QStringLiteral("Non hai selezionato nessun lavoro!"),
                      QStringLiteral("errore"), MessageIcon::Critical);
        return;
    }
    if (choice.filterIndex == kOtherReceivers)
        return importPoints(toPath(choice.fileName));
    Carica_lavoro(toPath(choice.fileName));
}

void Form1::importPoints(const std::filesystem::path &file) {
    auto *window = new ImportPoints(this, context_, file);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &ImportPoints::imported, this, [this, file](const std::string &jobText) {
        takeJob(file, points_.loadJobText(jobText),
                noDelimitedPointsMessage(pathToQString(file).toStdString()));
    });
    window->open();
}

bool Form1::Carica_lavoro(const std::filesystem::path &job) {
    return takeJob(job, points_.loadFile(job), notAJobMessage(pathToQString(job).toStdString()));
}

bool Form1::takeJob(const std::filesystem::path &job, PointList::FileLoad outcome,
                    const std::string &withoutPoints) {
    const QString shown = pathToQString(job);
    const QString unreadable = QStringLiteral("Impossibile leggere il file del lavoro %1.\n"
                                              "La lista dei punti non è stata cambiata.")
                                   .arg(shown);
    if (std::optional<std::string> refusal =
            jobRefusal(outcome, shown.toStdString(), withoutPoints, unreadable.toStdString())) {
        context_.tell(this, QString::fromStdString(*refusal), QStringLiteral("errore"),
                      MessageIcon::Critical);
        return false;
    }
    context_.state.File_lavoro = job;
    rememberJobFolder(pathToQString(job.parent_path()));
    showActiveJob();
    model_.reload();
    columns_->measure();
    // No row is the master station until the user chooses one.
    MSHFlexGrid1->selectionModel()->clear();
    selectedRow_ = 0;
    context_.tell(this,
                  QStringLiteral("E' ora necessario selezionare dalla lista il punto che sarà "
                                 "trasformato in stazione master.\n"
                                 "Cliccare sulla riga contenente il punto prescelto"),
                  QStringLiteral("Selezione stazione master"), MessageIcon::Information);
    Cmd_ok->setEnabled(true);
    return true;
}

void Form1::MSHFlexGrid1_RowChange(const QModelIndex &current) {
    if (!current.isValid()) {
        selectedRow_ = 0;
        return;
    }
    selectedRow_ = static_cast<std::size_t>(current.row()) + 1;
    // The highlighted row is the one " Esegui trasformazione" confirms, whatever moved it.
    MSHFlexGrid1->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    if (points_.rowCount() > 1)
        MSHFlexGrid1->setToolTip(QStringLiteral("Il punto selezionato é: ") +
                                 toQString(points_.field(selectedRow_, PointList::Name)));
}

void Form1::Cmd_ok_Click() {
    if (selectedRow_ == 0 || points_.field(selectedRow_, PointList::Name).empty()) {
        context_.tell(this, QStringLiteral("Non hai selezionato nessun punto!"), QString(),
                      MessageIcon::Exclamation);
        return;
    }
    MasterStation master = masterStationAt(points_, selectedRow_);
    Module1 &state = context_.state;
    state.Punto_master = master.Punto_master;
    state.Riga_master = master.Riga_master;
    state.Quota_master = master.Quota_master;
    state.Est_media = master.Est_media;

    if (context_.ask(this,
                     QStringLiteral("Confermi l'utilizzo del punto %1 come stazione master?")
                         .arg(toQString(state.Punto_master)),
                     QStringLiteral("Conferma punto")) == Answer::No)
        return;
    if (!hasUsableCoordinates(points_, selectedRow_)) {
        context_.tell(this, QString::fromStdString(unusableMasterMessage(state.Punto_master)),
                      std::nullopt, MessageIcon::Critical);
        return;
    }
    if (!confirmPointsWithoutCoordinates(state.Punto_master))
        return;
    if (context_.ask(this, QStringLiteral("Vuoi procedere alla creazione del libretto Pregeo?"),
                     QStringLiteral("Conferma trasformazione")) == Answer::No)
        return;

    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = QStringLiteral("Creazione file Pregeo");
    request.filter = QStringLiteral("File Pregeo (*.dat)|*.dat");
    request.filterIndex = 1;
    const std::filesystem::path &job = context_.state.File_lavoro;
    // Never ".dat" alone, which would be written as a hidden file.
    const QString stem = pathToQString(job.stem());
    request.fileName =
        (stem.isEmpty() ? QStringLiteral("libretto") : stem) + QStringLiteral(".dat");
    request.startFolder = pathToQString(job.parent_path());
    // A cancelled dialog would leave the name "*.dat", under which no booklet can be written.
    // A folder that takes no file is found now, not after the header and the comparison.
    for (;;) {
        FileChoice choice = context_.dialogs.chooseFile(this, request);
        if (!choice.accepted)
            return;
        const std::filesystem::path booklet =
            pathFromUtf8(withDatExtension(choice.fileName.toStdString()));
        if (canCreateFilesIn(booklet.parent_path())) {
            state.File_libretto = booklet;
            break;
        }
        context_.tell(this,
                      QStringLiteral("Nella cartella %1 non si possono scrivere file: scegliere "
                                     "un'altra cartella.")
                          .arg(pathToQString(booklet.parent_path())),
                      std::nullopt, MessageIcon::Exclamation);
        request.fileName = pathToQString(booklet.filename());
        if (isExistingFolder(booklet.parent_path()))
            request.startFolder = pathToQString(booklet.parent_path());
    }

    setEnabled(false);
    openHeaderWindow_();
}

// True when every point has usable coordinates or the user agrees to leave out those that
// have none.
bool Form1::confirmPointsWithoutCoordinates(std::string_view Punto_master) {
    constexpr std::size_t kListed = 20;
    std::vector<std::string_view> names = pointsWithoutCoordinates(points_, Punto_master);
    if (names.empty())
        return true;
    QStringList lines;
    if (points_.truncatedRow() != 0)
        lines << QString::fromStdString(
            truncatedRowMessage(pathToQString(context_.state.File_lavoro).toStdString(), points_));
    lines << QStringLiteral("I punti seguenti non hanno coordinate utilizzabili e non "
                            "saranno inseriti nel libretto né archiviati:");
    for (std::size_t i = 0; i < names.size() && i < kListed; ++i)
        lines << toQString(names[i]);
    if (names.size() > kListed)
        lines << QStringLiteral("e altri %1").arg(names.size() - kListed);
    lines << QStringLiteral("Continuare?");
    return context_.ask(this, lines.join(QLatin1Char('\n')),
                        QStringLiteral("Punti senza coordinate")) != Answer::No;
}

void Form1::Cmd_esci_Click() {
    context_.desktop.endProgram();
}

void Form1::cmd_info_Click() {
    const QString help = pathToQString(context_.programFolder / "ferolan.html");
    if (!context_.desktop.openUrl(QUrl::fromLocalFile(help)))
        context_.tell(this,
                      QStringLiteral("Impossibile aprire %1.\nLa guida si trova in %2.")
                          .arg(QUrl::fromLocalFile(help).toDisplayString(), help),
                      std::nullopt, MessageIcon::Exclamation);
}

void Form1::offerSite(const QString &question, const QUrl &site) {
    if (context_.ask(this, question, QStringLiteral("Richiesta di Collegamento")) == Answer::No)
        return;
    if (!context_.desktop.openUrl(site))
        context_.tell(this, QStringLiteral("Impossibile aprire %1.").arg(site.toDisplayString()),
                      std::nullopt, MessageIcon::Exclamation);
}

} // namespace ferolan
