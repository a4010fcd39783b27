#include "sketch/window/sketch_window.h"

#include "core/cp1252.h"
#include "sketch/logic/sketch_pf_pairs.h"
#include "ui/model/qt_text.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace ferolan {
namespace {

QColor toQColor(const Rgb &rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// A4 landscape as the SVG copy lays it out, in CSS pixels.
const QSizeF kPage(1123, 794);
// The smallest canvas on which the title, the legend and the scale bar stay apart.
const QSize kSmallestCanvas(480, 320);

} // namespace

void paintSketch(QPainter &painter, const std::vector<SketchShape> &shapes) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Runs of lines or dots alike are drawn in one call each: a job of thousands of points
    // must repaint quickly while the user zooms and pans.
    QList<QLineF> lines;
    QList<QPointF> dots;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const SketchShape &shape = shapes[i];
        const QColor colour = toQColor(shape.colour);
        const SketchShape *next = i + 1 < shapes.size() ? &shapes[i + 1] : nullptr;
        const bool runGoesOn = next && next->kind == shape.kind && next->colour == shape.colour &&
                               next->size == shape.size && next->dashed == shape.dashed;
        switch (shape.kind) {
        case SketchShape::Line:
            lines.append(QLineF(shape.x, shape.y, shape.x2, shape.y2));
            if (!runGoesOn) {
                // Thin lines are drawn without smoothing, which costs most with many.
                painter.setRenderHint(QPainter::Antialiasing, shape.size > 1);
                painter.setPen(
                    QPen(colour, shape.size, shape.dashed ? Qt::DashLine : Qt::SolidLine));
                painter.drawLines(lines);
                painter.setRenderHint(QPainter::Antialiasing);
                lines.clear();
            }
            break;
        case SketchShape::Dot:
            dots.append(QPointF(shape.x, shape.y));
            if (!runGoesOn) {
                painter.setRenderHint(QPainter::Antialiasing, shape.size > 2);
                painter.setPen(QPen(colour, 2 * shape.size, Qt::SolidLine, Qt::RoundCap));
                painter.drawPoints(dots);
                painter.setRenderHint(QPainter::Antialiasing);
                dots.clear();
            }
            break;
        case SketchShape::Triangle: {
            QPainterPath path;
            path.moveTo(shape.x, shape.y - shape.size);
            path.lineTo(shape.x - shape.size, shape.y + shape.size * 0.7);
            path.lineTo(shape.x + shape.size, shape.y + shape.size * 0.7);
            path.closeSubpath();
            painter.fillPath(path, colour);
            break;
        }
        case SketchShape::Text: {
            QFont font(QStringLiteral("Sans Serif"));
            font.setPixelSize(std::max(1, static_cast<int>(shape.size)));
            font.setBold(shape.bold);
            if (painter.font() != font)
                painter.setFont(font);
            painter.setPen(colour);
            painter.drawText(QPointF(shape.x, shape.y), toQString(shape.text));
            break;
        }
        }
    }
}

SketchCanvas::SketchCanvas(SurveySketch sketch, QWidget *parent)
    : QWidget(parent), sketch_(std::move(sketch)) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
}

QPointF SketchCanvas::pixelOf(const PlanPoint &point) const {
    return {view_.toX(point), view_.toY(point)};
}

void SketchCanvas::resizeEvent(QResizeEvent *) {
    if (!fitted_) {
        view_ = fittedView(sketch_, width(), height());
        fitted_ = true;
        return;
    }
    // The plan point at the centre stays there.
    view_.width = width();
    view_.height = height();
}

void SketchCanvas::paintEvent(QPaintEvent *) {
    if (!fitted_)
        view_ = fittedView(sketch_, width(), height());
    QPainter painter(this);
    paintSketch(painter, drawSketch(sketch_, view_));
}

void SketchCanvas::wheelEvent(QWheelEvent *event) {
    const double steps = event->angleDelta().y() / 120.0;
    view_.zoomAround(event->position().x(), event->position().y(), std::pow(1.25, steps));
    update();
    event->accept();
}

void SketchCanvas::mousePressEvent(QMouseEvent *event) {
    dragFrom_ = event->position();
}

void SketchCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF moved = event->position() - dragFrom_;
    dragFrom_ = event->position();
    view_.centre.east -= moved.x() / view_.pixelsPerMetre;
    view_.centre.north += moved.y() / view_.pixelsPerMetre;
    update();
}

bool SketchCanvas::event(QEvent *event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    if (const SketchPoint *point = pointNear(sketch_, view_, help->pos().x(), help->pos().y(), 8))
        QToolTip::showText(help->globalPos(), QString::fromStdString(pointSummary(sketch_, *point)),
                           this);
    else if (const SketchPair *pair = pairNear(sketch_, view_, help->pos().x(), help->pos().y(), 4))
        QToolTip::showText(help->globalPos(), QString::fromStdString(pairSummary(sketch_, *pair)),
                           this);
    else
        QToolTip::hideText();
    return true;
}

SketchWindow::SketchWindow(AppContext &context, SurveySketch sketch, std::filesystem::path jobFile,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), jobFile_(std::move(jobFile)) {
    setObjectName(QStringLiteral("Frm_schema"));
    setWindowTitle(QStringLiteral("Schema del rilievo"));
    setAttribute(Qt::WA_DeleteOnClose);
    canvas = new SketchCanvas(std::move(sketch), this);
    canvas->setMinimumSize(kSmallestCanvas);
    Cmd_pdf = new QPushButton(QStringLiteral(" Salva PDF…"), this);
    Cmd_png = new QPushButton(QStringLiteral(" Salva PNG…"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Cmd_pdf);
    buttons->addWidget(Cmd_png);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(canvas, 1);
    layout->addLayout(buttons);
    StBar = new QStatusBar(this);
    StBar->setSizeGripEnabled(false);
    layout->addWidget(StBar);
    resize(800, 600);

    connect(Cmd_pdf, &QPushButton::clicked, this, [this] {
        save(QStringLiteral("Salva lo schema in PDF"), QStringLiteral("File PDF (*.pdf)|*.pdf"),
             QStringLiteral(".pdf"), &SketchWindow::savePdf);
    });
    connect(Cmd_png, &QPushButton::clicked, this, [this] {
        save(QStringLiteral("Salva lo schema come immagine"),
             QStringLiteral("Immagine PNG (*.png)|*.png"), QStringLiteral(".png"),
             &SketchWindow::savePng);
    });
}

void SketchWindow::save(const QString &title, const QString &filter, const QString &extension,
                        bool (SketchWindow::*write)(const QString &) const) {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = title;
    request.filter = filter;
    request.startFolder = pathToQString(jobFile_.parent_path());
    request.fileName = pathToQString(jobFile_.stem()) + extension;
    FileChoice choice = context_.dialogs.chooseFile(this, request);
    if (!choice.accepted || choice.fileName.isEmpty())
        return;
    QString file = choice.fileName;
    if (!file.endsWith(extension, Qt::CaseInsensitive))
        file += extension;
    if (!(this->*write)(file)) {
        StBar->clearMessage();
        context_.tell(this, QStringLiteral("Impossibile scrivere il file %1.").arg(file),
                      std::nullopt, MessageIcon::Critical);
        return;
    }
    StBar->showMessage(QStringLiteral("Salvato: ") + file);
}

void SketchWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

// Both copies are written beside and renamed, so an earlier file is never left half written.
bool SketchWindow::savePdf(const QString &file) const {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&out);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("Schema del rilievo"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    painter.setWindow(0, 0, static_cast<int>(kPage.width()), static_cast<int>(kPage.height()));
    const SketchView view = fittedView(canvas->sketch(), kPage.width(), kPage.height());
    paintSketch(painter, drawSketch(canvas->sketch(), view));
    return painter.end() && out.commit();
}

bool SketchWindow::savePng(const QString &file) const {
    QImage image(canvas->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSketch(painter, drawSketch(canvas->sketch(), canvas->view()));
    painter.end();
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}

} // namespace ferolan
