#include "app/window/logos.h"

#include <QPainter>

namespace ferolan {
namespace {

QPixmap wordmark(QSize size, const QString &word, const QColor &ink, const QColor &paper) {
    QPixmap pixmap(size);
    pixmap.fill(paper);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2));
    painter.drawRoundedRect(QRectF(pixmap.rect()).adjusted(1, 1, -1, -1), 4, 4);
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(size.height() * 11 / 20);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, word);
    return pixmap;
}

} // namespace

QPixmap trimbleLogo(QSize size) {
    return wordmark(size, QStringLiteral("TRIMBLE"), QColor(0, 64, 128), QColor(235, 242, 250));
}

QPixmap varnetaLogo(QSize size) {
    return wordmark(size, QStringLiteral("VARNETA"), QColor(0, 112, 96), QColor(236, 248, 244));
}

} // namespace ferolan
