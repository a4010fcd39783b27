#include "app/window/window_sequence.h"

#include "app/window/form1.h"
#include "core/numbers.h"
#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"
#include "sketch/window/sketch_window.h"

namespace ferolan {

WindowSequence::WindowSequence(AppContext &context)
    : context_(context), table_(context.programFolder / "cod_comuni_2.cod"),
      form1_(std::make_unique<Form1>(context, [this] { openHeaderWindow(); })) {
    form1_->setEndGuard([this] { return mayEndProgram(); });
}

WindowSequence::~WindowSequence() {
    delete frmPf_;
    delete frm09_;
}

void WindowSequence::start() {
    form1_->show();
}

Frm_09 *WindowSequence::frm09() const {
    return frm09_;
}

Frm_pf *WindowSequence::frmPf() const {
    return frmPf_;
}

void WindowSequence::openHeaderWindow() {
    auto *header = new Frm_09(context_, form1_->points(), table_);
    if (!header->Form_Load()) {
        delete header;
        backToMainWindow();
        return;
    }
    if (const TypedHeader *typed = typedForActiveJob())
        header->restoreInput(
            headerForMaster(typed->header, typed->master, masterProposal(), form1_->points()));
    frm09_ = header;
    connect(header, &Frm_09::indietro, this, &WindowSequence::backToMainWindow);
    connect(header, &Frm_09::avanti, this, &WindowSequence::openFiducialWindow);
    header->show();
    header->activateWindow();
}

void WindowSequence::openFiducialWindow() {
    auto *fiducial = new Frm_pf(context_, form1_->points(), table_, frm09_->datiIntestazione(),
                                frm09_->municipalityEntries());
    connect(fiducial, &Frm_pf::progressChanged, frm09_, &Frm_09::Mostra_stato);
    connect(fiducial, &Frm_pf::sketchRequested, this, [this, fiducial](const SurveySketch &sketch) {
        auto *window = new SketchWindow(context_, sketch, context_.state.File_lavoro, fiducial);
        window->move(fiducial->frameGeometry().center() - window->rect().center());
        window->show();
        window->activateWindow();
    });
    if (!fiducial->Form_Load()) {
        delete fiducial;
        backToMainWindow();
        return;
    }
    if (const TypedHeader *typed = typedForActiveJob())
        fiducial->setZona(typed->zona);
    frmPf_ = fiducial;
    connect(fiducial, &Frm_pf::annulla, this, &WindowSequence::backToMainWindow);
    fiducial->show();
    fiducial->activateWindow();
}

const WindowSequence::TypedHeader *WindowSequence::typedForActiveJob() const {
    if (typedHeader_ && typedHeader_->job == context_.state.File_lavoro &&
        fileStamp(context_.state.File_lavoro) == typedHeader_->stamp)
        return &*typedHeader_;
    return nullptr;
}

MasterProposal WindowSequence::masterProposal() const {
    return {context_.state.Punto_master, wholeNumberText(context_.state.Quota_master)};
}

bool WindowSequence::mayEndProgram() {
    if (frmPf_ && frmPf_->hasArchived()) {
        if (!frmPf_->abandonBooklet())
            return false;
        tellAbandoned(frmPf_->abandonedNote());
        return true;
    }
    if (!frm09_ && !frmPf_)
        return true;
    if (context_.ask(
            form1_.get(), QStringLiteral("Il libretto non è stato scritto. Uscire da Ferolan?"),
            std::nullopt, MessageButtons::YesNo, MessageIcon::None, Answer::No) == Answer::No)
        return false;
    // Removes a temporary booklet written without archiving anything.
    return !frmPf_ || frmPf_->abandonBooklet();
}

void WindowSequence::tellAbandoned(const QString &note) {
    if (!note.isEmpty())
        context_.tell(form1_.get(), note, std::nullopt, MessageIcon::Information);
}

void WindowSequence::backToMainWindow() {
    const QString abandoned = frmPf_ ? frmPf_->abandonedNote() : QString();
    std::optional<FileStamp> stamp = fileStamp(context_.state.File_lavoro);
    if (frm09_ && stamp) {
        const TypedHeader *typed = typedForActiveJob();
        const DistanceZone zona = frmPf_  ? frmPf_->zona()
                                  : typed ? typed->zona
                                          : DistanceZone::Urbana;
        typedHeader_ = TypedHeader{context_.state.File_lavoro, *stamp, masterProposal(),
                                   frm09_->datiIntestazione(), zona};
    }
    // Deleted later: the way back may start inside one of these windows' own handlers.
    for (QWidget *window : {static_cast<QWidget *>(frmPf_), static_cast<QWidget *>(frm09_)})
        if (window) {
            window->hide();
            window->deleteLater();
        }
    frmPf_ = nullptr;
    frm09_ = nullptr;
    form1_->setEnabled(true);
    form1_->show();
    form1_->raise();
    form1_->activateWindow();
    tellAbandoned(abandoned);
}

} // namespace ferolan
