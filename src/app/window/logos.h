#pragma once

#include <QPixmap>
#include <QUrl>

namespace ferolan {

// The two logos of the main window and the web sites they offer.
inline const QUrl kTrimbleSite = QUrl(QStringLiteral("https://www.trimble.com"));
inline const QUrl kVarnetaSite = QUrl(QStringLiteral("https://www.varneta.it"));

QPixmap trimbleLogo(QSize size);
QPixmap varnetaLogo(QSize size);

} // namespace ferolan
