#include "app/window/window_sequence.h"

#include "app/window/form1.h"
#include "fiducial/window/frm_pf.h"
#include "header/window/frm_09.h"

namespace ferolan {

WindowSequence::WindowSequence(AppContext &context)
    : context_(context), table_(context.programFolder / "cod_comuni_2.cod"),
      form1_(std::make_unique<Form1>(context, [this] { openHeaderWindow(); })) {}

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
        header->restoreInput(typed->header);
    frm09_ = header;
    connect(header, &Frm_09::indietro, this, &WindowSequence::backToMainWindow);
    connect(header, &Frm_09::avanti, this, &WindowSequence::openFiducialWindow);
    header->show();
    header->activateWindow();
}

void WindowSequence::openFiducialWindow() {
    auto *fiducial = new Frm_pf(context_, form1_->points(), table_, *frm09_);
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
        typedHeader_->masterRow == context_.state.Riga_master)
        return &*typedHeader_;
    return nullptr;
}

void WindowSequence::backToMainWindow() {
    if (frm09_) {
        const TypedHeader *typed = typedForActiveJob();
        const DistanceZone zona = frmPf_  ? frmPf_->zona()
                                  : typed ? typed->zona
                                          : DistanceZone::Urbana;
        typedHeader_ = TypedHeader{context_.state.File_lavoro, context_.state.Riga_master,
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
}

} // namespace ferolan
