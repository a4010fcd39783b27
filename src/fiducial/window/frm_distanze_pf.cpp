#include "fiducial/window/frm_distanze_pf.h"

#include "ui/model/qt_text.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace ferolan {

Frm_distanze_pf::Frm_distanze_pf(AppContext &context, const PfGrid &grid, DistanceZone zone,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), grid_(grid),
      model_(context.decimalSeparator) {
    using Follow = GrowingLayout::Follow;
    setObjectName(QStringLiteral("Frm_distanze_pf"));
    setWindowTitle(QStringLiteral("Distanze tra i Punti Fiduciali"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(layout_.designSize());
    resize(layout_.designSize());
    fillWithTeal(*this);
    const QString orange = QStringLiteral("color: rgb(255, 192, 128);");

    lbl_zona = new QLabel(QStringLiteral("Zona:"), this);
    lbl_zona->setStyleSheet(orange);
    layout_.add(lbl_zona, {8, 12, 40, 17}, Follow::Stay);
    Cmb_zona = new QComboBox(this);
    for (DistanceZone each : kDistanceZones)
        Cmb_zona->addItem(toQString(zoneCaption(each)));
    Cmb_zona->setCurrentIndex(static_cast<int>(zone));
    lbl_zona->setBuddy(Cmb_zona);
    layout_.add(Cmb_zona, {48, 8, 200, 25}, Follow::Stay);

    colours_.setSourceModel(&model_);
    MSHFlexGrid1 = new QTableView(this);
    MSHFlexGrid1->setModel(&colours_);
    setUpGrid(*MSHFlexGrid1, PfDistancesModel::kFormat);
    MSHFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSHFlexGrid1->setTabKeyNavigation(false);
    layout_.add(MSHFlexGrid1, {8, 40, 824, 204}, Follow::Wider | Follow::Taller);

    lbl_stato = new QLabel(this);
    lbl_stato->setStyleSheet(orange);
    layout_.add(lbl_stato, {8, 262, 460, 17}, Follow::Bottom | Follow::Wider);
    Cmd_copia = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                QStringLiteral(" Copia per la relazione"), this);
    layout_.add(Cmd_copia, {496, 252, 185, 41}, Follow::Right | Follow::Bottom);
    Cmd_chiudi = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                 QStringLiteral(" Chiudi"), this);
    layout_.add(Cmd_chiudi, {688, 252, 144, 41}, Follow::Right | Follow::Bottom);

    setTabOrder(Cmb_zona, MSHFlexGrid1);
    setTabOrder(MSHFlexGrid1, Cmd_copia);
    setTabOrder(Cmd_copia, Cmd_chiudi);

    connect(Cmb_zona, &QComboBox::currentIndexChanged, this, &Frm_distanze_pf::Cmb_zona_Click);
    connect(Cmd_copia, &QPushButton::clicked, this, &Frm_distanze_pf::Cmd_copia_Click);
    connect(Cmd_chiudi, &QPushButton::clicked, this, &QWidget::close);
    model_.setPairs(pfPairs(grid_, zona()));
    MSHFlexGrid1->setCurrentIndex(colours_.index(0, 0));
    fitColumnsToContents(*MSHFlexGrid1, 0, PfDistancesModel::kColumns - 1);
    if (parent) // over the fiducial point window, where the user looks
        move(parent->geometry().center() - rect().center());
}

DistanceZone Frm_distanze_pf::zona() const {
    return kDistanceZones[static_cast<std::size_t>(std::max(0, Cmb_zona->currentIndex()))];
}

void Frm_distanze_pf::Cmb_zona_Click() {
    model_.setPairs(pfPairs(grid_, zona()));
    MSHFlexGrid1->setCurrentIndex(colours_.index(0, 0));
    lbl_stato->clear();
    emit zonaChanged(zona());
}

void Frm_distanze_pf::Cmd_copia_Click() {
    context_.desktop.copyToClipboard(
        toQString(relazioneText(grid_, model_.pairs(), zona(), context_.decimalSeparator)));
    lbl_stato->setText(QStringLiteral("Testo per la relazione copiato negli appunti."));
}

void Frm_distanze_pf::keyPressEvent(QKeyEvent *event) {
    // Reached only by keys the focused control leaves alone.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Frm_distanze_pf::resizeEvent(QResizeEvent *) {
    layout_.apply(size());
}

} // namespace ferolan
