#include "program_folder.h"

#include "core/files.h"

#include <QSettings>
#include <QtTest>

#include <fstream>

namespace ferolan::testing {
namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(char check) {
    // The user's own settings (the remembered job folder) stay out of the test's way.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(userSettings().string()));
    fs::create_directory(archive());
    fs::create_directory(tgo());
    write(tgo() / "asciiexp.dat", "DEFINIZIONE ESISTENTE\r\n");
    QByteArray settingsText = "PATH_PF=" + QByteArray::fromStdString(archive().string()) +
                              "\r\nPATH_TGO=" + QByteArray::fromStdString(tgo().string()) +
                              "\r\ncheck=" + QByteArray(1, check) + "\r\n";
    write(settings(), settingsText);
    for (const char *name : {"aggiorna_export_tgo.txt", "cod_comuni_2.cod"})
        if (fs::exists(fs::path(FEROLAN_SOURCE_DIR) / "data" / name))
            fs::copy_file(fs::path(FEROLAN_SOURCE_DIR) / "data" / name, root() / name);
}

fs::path ProgramFolder::root() const {
    return fs::path(dir_.path().toStdString());
}

void ProgramFolder::write(const fs::path &path, const QByteArray &bytes) const {
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

QByteArray ProgramFolder::read(const fs::path &path) const {
    return QByteArray::fromStdString(readFile(path).bytes);
}

void compareEvents(const Run &run, const ProgramFolder &folder, const fs::path &expected) {
    QByteArray events = run.dialogs.events.join('\n').toUtf8() + '\n';
    events.replace(QByteArray::fromStdString(folder.root().string()), "{root}");
    if (qEnvironmentVariableIsSet("FEROLAN_WRITE_EXPECTED"))
        folder.write(expected, events);
    QCOMPARE(events, folder.read(expected));
}

} // namespace ferolan::testing
