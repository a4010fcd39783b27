#pragma once

#include "fiducial/logic/pf_distances.h"
#include "fiducial/logic/pf_grid.h"
#include "fiducial/model/pf_distances_model.h"
#include "fiducial/window/pf_distances_colours.h"
#include "ui/window/app_context.h"
#include "ui/window/window_setup.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace ferolan {

// The distances between the fiducial points found in the archive, today's against the
// archive's, within the tolerance of the chosen zone, and their paragraph for the report.
class Frm_distanze_pf final : public QWidget {
    Q_OBJECT
public:
    // The grid must outlive the window.
    Frm_distanze_pf(AppContext &context, const PfGrid &grid, DistanceZone zone, QWidget *parent);

    DistanceZone zona() const;

    QLabel *lbl_zona;
    QComboBox *Cmb_zona;
    QTableView *MSHFlexGrid1;
    QPushButton *Cmd_copia;
    QPushButton *Cmd_chiudi;
    // Tells that the paragraph is on the clipboard.
    QLabel *lbl_stato;

signals:
    void zonaChanged(DistanceZone zone);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Cmb_zona_Click();
    void Cmd_copia_Click();

    AppContext &context_;
    const PfGrid &grid_;
    PfDistancesModel model_;
    PfDistancesColours colours_;
    GrowingLayout layout_{{840, 300}};
};

} // namespace ferolan
