#pragma once

#include "core/files.h"
#include "fiducial/logic/pf_distances.h"
#include "header/logic/header_data.h"
#include "header/logic/header_for_master.h"
#include "header/logic/tabella_comuni.h"
#include "ui/window/app_context.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>

namespace ferolan {

class Form1;
class Frm_09;
class Frm_pf;

// The three windows one after another: each later window opens over the earlier ones,
// which stay on the screen disabled, and every way back ends on an enabled main window.
class WindowSequence final : public QObject {
    Q_OBJECT
public:
    explicit WindowSequence(AppContext &context);
    ~WindowSequence() override;

    void start();

    Form1 &form1() { return *form1_; }
    Frm_09 *frm09() const;
    Frm_pf *frmPf() const;

private:
    void openHeaderWindow();
    void openFiducialWindow();
    void backToMainWindow();
    // Closing the main window while a booklet is under way asks first.
    bool mayEndProgram();
    // Says, over the main window, what became of an abandoned booklet's points.
    void tellAbandoned(const QString &note);

    AppContext &context_;
    Tabella_comuni table_;
    std::unique_ptr<Form1> form1_;
    QPointer<Frm_09> frm09_;
    QPointer<Frm_pf> frmPf_;

    // What the header window held when the user went back, for the job it was typed for and
    // what the master station then proposed, with the zone chosen for the distances between
    // fiducial points.
    struct TypedHeader {
        std::filesystem::path job;
        FileStamp stamp;
        MasterProposal master;
        HeaderData header;
        DistanceZone zona = DistanceZone::Urbana;
    };
    MasterProposal masterProposal() const;
    std::optional<TypedHeader> typedHeader_;
    // The typed header when it was typed for the active job, unchanged since.
    const TypedHeader *typedForActiveJob() const;
};

} // namespace ferolan
