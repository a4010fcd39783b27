#include "app/window/remembered_folder.h"

#include <QSettings>

namespace ferolan {
namespace {

const QString kJobFolderKey = QStringLiteral("cartelle/lavori");

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferolan"),
                     QStringLiteral("preferenze"));
}

} // namespace

QString lastJobFolder() {
    return userSettings().value(kJobFolderKey).toString();
}

void rememberJobFolder(const QString &folder) {
    userSettings().setValue(kJobFolderKey, folder);
}

} // namespace ferolan
