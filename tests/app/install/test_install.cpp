// Installs the built program with "cmake --install" and packs it with "cpack", as a user
// would, into temporary folders, and checks the program folder that comes out.
#include "bytes.h"

#include <QtTest>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;
const fs::path kSource = FEROLAN_SOURCE_DIR;
const QByteArray kTgoLine = "PATH_TGO=C:\\Programmi\\Trimble\\Trimble Geomatics Office\\System\r\n";
const QByteArray kCheckLine = "check=0\r\n";

// Everything the two programs read beside themselves, and the programs.
const std::set<std::string> kProgramFolder = {
    "aggiorna_export_tgo.txt", "archivio",     "cod_comuni_2.cod", "ferolan",
    "ferolan-batch",           "ferolan.html", "ferolan.ini",      "leggimi.txt"};

std::set<std::string> namesIn(const fs::path &folder) {
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct Outcome {
    int status = -1;
    QByteArray output; // standard output and standard error
};

Outcome run(const QString &program, const QStringList &arguments,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(240000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.readAll()};
    return {process.exitCode(), process.readAll()};
}

QString qPath(const fs::path &path) {
    return QString::fromStdString(path.string());
}

Outcome install(const fs::path &prefix,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    return run(QStringLiteral(FEROLAN_CMAKE),
               {"--install", QStringLiteral(FEROLAN_BUILD_DIR), "--prefix", qPath(prefix)},
               environment);
}

// Runs the call once and fails the test with the program's output unless it succeeded.
#define VERIFY_SUCCESS(call)                                                                       \
    do {                                                                                           \
        const Outcome outcome_ = (call);                                                           \
        QVERIFY2(outcome_.status == 0, outcome_.output.constData());                               \
    } while (false)

QByteArray settingsTemplate(const QByteArray &archiveFolder) {
    return "PATH_PF=" + archiveFolder + "\r\n" + kTgoLine + kCheckLine;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir temporary;
    fs::path root() const { return temporary.path().toStdString(); }

private slots:
    // Every file both programs read; the installed ferolan-batch reads the installed settings
    // file and code table and archives into the archive folder beside it. A second install
    // keeps what the user changed and puts back what is missing.
    void shouldInstallAWorkingProgramFolderAndKeepTheUsersFiles() {
        const fs::path prefix = root() / "every_file";
        VERIFY_SUCCESS(install(prefix));
        QCOMPARE(namesIn(prefix), kProgramFolder);
        // A file added beside the built program must be installed too.
        for (const std::string &name : namesIn(FEROLAN_PROGRAM_DIR))
            QVERIFY2(kProgramFolder.contains(name), name.c_str());
        QVERIFY(fs::is_empty(prefix / "archivio"));
        for (const char *name :
             {"cod_comuni_2.cod", "aggiorna_export_tgo.txt", "ferolan.html", "leggimi.txt"})
            QCOMPARE(bytesOf(prefix / name), bytesOf(kSource / "data" / name));

        const fs::path booklet = root() / "job_libretto.dat";
        VERIFY_SUCCESS(run(qPath(prefix / "ferolan-batch"),
                           {"--lavoro", qPath(kData / "lavoro.txt"), "--master", "BASE", "--dati",
                            qPath(kData / "dati.txt"), "--libretto", qPath(booklet)}));
        QVERIFY(fs::exists(booklet));
        const fs::path archiveFile =
            prefix / "archivio" / "punti_fiduciali" / "TORINO" / "A074 - AGLIE'.pf";
        const QByteArray archived = bytesOf(archiveFile);
        QVERIFY2(archived.startsWith("01 0012 A074 PUNTO FIDUCIALE"), archived.constData());

        const QByteArray settings = "PATH_PF=D:\\archivio\r\nPATH_TGO=D:\\tgo\r\ncheck=1\r\n";
        const QByteArray table = "*TORINO\r\nA074 - AGLIE'\r\n";
        writeBytes(prefix / "ferolan.ini", settings);
        writeBytes(prefix / "cod_comuni_2.cod", table);
        fs::remove(prefix / "ferolan.html");
        VERIFY_SUCCESS(install(prefix));
        QCOMPARE(bytesOf(prefix / "ferolan.ini"), settings);
        QCOMPARE(bytesOf(prefix / "cod_comuni_2.cod"), table);
        QCOMPARE(bytesOf(archiveFile), archived);
        QCOMPARE(bytesOf(prefix / "ferolan.html"), bytesOf(kSource / "data" / "ferolan.html"));
    }

    // The settings file names the archive folder where the program will run; a path that
    // Windows-1252 text cannot hold is left for the user to write.
    void shouldWriteTheSettingsTemplate_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("staged");
        QTest::addColumn<bool>("namesArchive");
        QTest::newRow("blanks in the path") << "Ferolan 1" << false << true;
        QTest::newRow("staged through DESTDIR") << "ferolan" << true << true;
        QTest::newRow("folder name beyond ASCII") << "città" << false << false;
    }
    void shouldWriteTheSettingsTemplate() {
        QFETCH(QString, folder);
        QFETCH(bool, staged);
        QFETCH(bool, namesArchive);
        const fs::path prefix = root() / QTest::currentDataTag() / folder.toStdU16String();
        const fs::path stage = root() / QTest::currentDataTag() / "stage";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (staged)
            environment.insert("DESTDIR", qPath(stage));
        VERIFY_SUCCESS(install(prefix, environment));

        const fs::path programFolder = staged ? stage / prefix.relative_path() : prefix;
        const QByteArray archive = QByteArray::fromStdString((prefix / "archivio").string());
        QCOMPARE(bytesOf(programFolder / "ferolan.ini"),
                 settingsTemplate(namesArchive ? archive : QByteArray()));
        QVERIFY(fs::is_directory(programFolder / "archivio"));
        QCOMPARE(fs::exists(prefix), !staged);
    }

    // A package is unpacked where nobody knows yet: its settings file names no archive folder.
    void shouldPackTheProgramFolderToUnpackAnywhere() {
        const fs::path packages = root() / "packages";
        VERIFY_SUCCESS(run(QStringLiteral(FEROLAN_CPACK),
                           {"-G", "TGZ", "-B", qPath(packages), "--config",
                            QStringLiteral(FEROLAN_BUILD_DIR "/CPackConfig.cmake")}));
        const QString name = QStringLiteral("ferolan-%1-%2").arg(FEROLAN_VERSION, FEROLAN_SYSTEM);
        const fs::path unpacked = root() / "unpacked";
        fs::create_directories(unpacked);
        VERIFY_SUCCESS(run(QStringLiteral(FEROLAN_CMAKE),
                           {"-E", "chdir", qPath(unpacked), QStringLiteral(FEROLAN_CMAKE), "-E",
                            "tar", "xzf", qPath(packages / (name + ".tar.gz").toStdString())}));

        QCOMPARE(namesIn(unpacked), std::set<std::string>{name.toStdString()});
        const fs::path programFolder = unpacked / name.toStdString();
        QCOMPARE(namesIn(programFolder), kProgramFolder);
        QCOMPARE(bytesOf(programFolder / "ferolan.ini"), settingsTemplate(QByteArray()));
        QCOMPARE(bytesOf(programFolder / "cod_comuni_2.cod"),
                 bytesOf(kSource / "data" / "cod_comuni_2.cod"));
    }
};

QTEST_APPLESS_MAIN(TestInstall)
#include "test_install.moc"
