#pragma once

#include "sketch/logic/sketch_drawing.h"
#include "ui/window/app_context.h"

#include <QWidget>

#include <filesystem>

class QPainter;
class QPushButton;
class QStatusBar;

namespace ferolan {

// Paints the sketch's shapes.
void paintSketch(QPainter &painter, const std::vector<SketchShape> &shapes);

// The survey drawn in plan, fitted to the canvas on opening; the wheel zooms around the
// cursor, dragging pans, and a point's tooltip tells its name, description and distance.
class SketchCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit SketchCanvas(SurveySketch sketch, QWidget *parent = nullptr);

    const SurveySketch &sketch() const { return sketch_; }
    const SketchView &view() const { return view_; }
    // The pixel where a plan point is drawn now.
    QPointF pixelOf(const PlanPoint &point) const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    SurveySketch sketch_;
    SketchView view_;
    bool fitted_ = false;
    QPointF dragFrom_;
};

class SketchWindow final : public QWidget {
    Q_OBJECT
public:
    // `jobFile` names the job; the copies are proposed beside it under its name.
    SketchWindow(AppContext &context, SurveySketch sketch, std::filesystem::path jobFile,
                 QWidget *parent = nullptr);

    SketchCanvas *canvas;
    QPushButton *Cmd_pdf;
    QPushButton *Cmd_png;
    // Names the file last saved.
    QStatusBar *StBar;

    // Writes the whole sketch as a one-page A4 landscape PDF; false when it cannot.
    bool savePdf(const QString &file) const;
    bool savePng(const QString &file) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void save(const QString &title, const QString &filter, const QString &extension,
              bool (SketchWindow::*write)(const QString &) const);

    AppContext &context_;
    std::filesystem::path jobFile_;
};

} // namespace ferolan
