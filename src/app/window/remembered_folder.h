#pragma once

#include <QString>

namespace ferolan {

// The folder of the last job opened, kept across runs in the user's own settings (an INI
// file in the user's configuration folder, never the program's settings file): surveyors keep
// their jobs in one place, and the job dialog should open there. Empty until a job is opened.
QString lastJobFolder();
void rememberJobFolder(const QString &folder);

} // namespace ferolan
