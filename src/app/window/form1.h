#pragma once

#include "app/model/point_list_model.h"
#include "job/point_list.h"
#include "ui/window/app_context.h"
#include "ui/window/window_setup.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace ferolan {

class ClickableLabel;
class SharedColumns;

// The main window: the job's point list, the choice of the master station and the
// program's small commands. Its activation steps run each time the user comes back to it
// from another of the program's windows.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    // `openHeaderWindow` is called once the master station and the booklet are chosen.
    Form1(AppContext &context, std::function<void()> openHeaderWindow);

    // Asked before closing the window ends the program; false keeps it open.
    void setEndGuard(std::function<bool()> mayEnd) { mayEnd_ = std::move(mayEnd); }

    const PointList &points() const { return points_; }
    // The selected point row (1..N), 0 when none.
    std::size_t selectedRow() const { return selectedRow_; }

    // Controls, named as the program knows them.
    QPushButton *Cmd_ok;
    QPushButton *Cmd_selezione;
    QPushButton *Cmd_esci;
    QPushButton *cmd_info;
    QTableView *MSHFlexGrid1;
    QLabel *Lbl_lavoro_attivo;
    ClickableLabel *Image1;
    ClickableLabel *Image2;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Activate();
    bool checkExportDefinition();
    void Cmd_selezione_Click();
    bool Carica_lavoro(const std::filesystem::path &job);
    // A receiver's delimited export, read through "Importa punti".
    void importPoints(const std::filesystem::path &file);
    // The job just read into the point list, or refused with its message.
    bool takeJob(const std::filesystem::path &job, PointList::FileLoad outcome,
                 const std::string &withoutPoints);
    void MSHFlexGrid1_RowChange(const QModelIndex &current);
    void Cmd_ok_Click();
    void Cmd_esci_Click();
    void cmd_info_Click();
    void offerSite(const QString &question, const QUrl &site);
    bool confirmPointsWithoutCoordinates(std::string_view Punto_master);
    // Hands the address to the desktop and says so when nothing could open it.
    bool openAddress(const QUrl &address);
    void showActiveJob();

    AppContext &context_;
    std::function<void()> openHeaderWindow_;
    std::function<bool()> mayEnd_;
    PointList points_;
    PointListModel model_;
    SharedColumns *columns_;
    std::size_t selectedRow_ = 0;
    GrowingLayout layout_{{489, 432}};
    bool versionShown_ = false;
};

} // namespace ferolan
