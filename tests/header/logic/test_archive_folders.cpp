#include "header/logic/archive_folders.h"

#include <QtTest>

#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

const fs::path kSettings = "/programmi/ferolan/ferolan.ini";

// Every folder and file below `folder`, relative to it, sorted.
QStringList treeOf(const fs::path &folder) {
    QStringList entries;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        entries << QString::fromStdString(fs::relative(entry.path(), folder).generic_string());
    entries.sort();
    return entries;
}

QString messageOf(const std::optional<std::string> &message) {
    return message ? QString::fromStdString(*message) : QString();
}

} // namespace

class TestArchiveFolders : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base;

private slots:
    void init() {
        base = fs::path(dir.path().toStdString()) / "archivio";
        fs::remove_all(base);
        fs::create_directory(base);
    }

    void shouldCreateBothFoldersWhenMissing() {
        QCOMPARE(messageOf(prepareArchiveFolders(base.string(), "TORINO", kSettings)), QString());
        QCOMPARE(treeOf(base), (QStringList{"punti_fiduciali", "punti_fiduciali/TORINO"}));
    }

    void shouldCreateOnlyTheMissingProvinceFolder() {
        fs::create_directory(base / "punti_fiduciali");
        fs::create_directory(base / "punti_fiduciali" / "CUNEO");
        QVERIFY(!prepareArchiveFolders(base.string(), "TORINO", kSettings));
        QCOMPARE(treeOf(base), (QStringList{"punti_fiduciali", "punti_fiduciali/CUNEO",
                                            "punti_fiduciali/TORINO"}));
    }

    void shouldLeaveExistingFoldersAlone() {
        fs::create_directories(base / "punti_fiduciali" / "TORINO");
        std::ofstream(base / "punti_fiduciali" / "TORINO" / "A074 - AGLIE'.pf")
            << "01 0001 A074\r\n";
        QVERIFY(!prepareArchiveFolders(base.string(), "TORINO", kSettings));
        QCOMPARE(treeOf(base), (QStringList{"punti_fiduciali", "punti_fiduciali/TORINO",
                                            "punti_fiduciali/TORINO/A074 - AGLIE'.pf"}));
    }

    void shouldNameTheProvinceFolderInWindows1252() {
        QVERIFY(!prepareArchiveFolders(base.string(), " FORL\xCC'-CESENA ", kSettings));
        QCOMPARE(treeOf(base), (QStringList{"punti_fiduciali", "punti_fiduciali/FORLÌ'-CESENA"}));
    }

    void shouldNeverCreateTheArchiveFolderItself_data() {
        QTest::addColumn<QByteArray>("pathPf");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray("")
                               << "La cartella dell'archivio dei punti fiduciali non è indicata: "
                                  "completare la riga PATH_PF= del file \"" +
                                      QString::fromStdString(kSettings.string()) + "\".";
        QTest::newRow("missing") << QByteArray("/nessuna/cartella/archivio")
                                 << "La cartella dell'archivio dei punti fiduciali "
                                    "\"/nessuna/cartella/archivio\" non esiste: correggere la riga "
                                    "PATH_PF= del file \"" +
                                        QString::fromStdString(kSettings.string()) + "\".";
    }
    void shouldNeverCreateTheArchiveFolderItself() {
        QFETCH(QByteArray, pathPf);
        QFETCH(QString, message);
        QCOMPARE(messageOf(prepareArchiveFolders(pathPf.toStdString(), "TORINO", kSettings)),
                 message);
        QVERIFY(!fs::exists("/nessuna"));
        QVERIFY(!fs::exists(kArchiveFolderName)); // not in the working folder either
    }

    void shouldRefuseAProvinceThatIsNoFolderName_data() {
        QTest::addColumn<QByteArray>("province");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("blanks only") << QByteArray("   ");
        QTest::newRow("dot") << QByteArray(".");
        QTest::newRow("dot dot") << QByteArray("..");
        QTest::newRow("slash") << QByteArray("../TORINO");
        QTest::newRow("backslash") << QByteArray("A\\B");
        QTest::newRow("colon") << QByteArray("C:");
        QTest::newRow("bar") << QByteArray("TO|");
        QTest::newRow("control") << QByteArray("TO\tRINO");
    }
    void shouldRefuseAProvinceThatIsNoFolderName() {
        QFETCH(QByteArray, province);
        QString message =
            messageOf(prepareArchiveFolders(base.string(), province.toStdString(), kSettings));
        QCOMPARE(message, "La provincia \"" + QString::fromLatin1(province) +
                              "\" non può essere usata come nome di una cartella dell'archivio.");
        QCOMPARE(treeOf(base), QStringList());
    }

    void shouldNameTheFolderThatCannotBeCreated() {
        std::ofstream(base / "punti_fiduciali") << "not a folder";
        QCOMPARE(messageOf(prepareArchiveFolders(base.string(), "TORINO", kSettings)),
                 "Impossibile creare la cartella \"" +
                     QString::fromStdString((base / "punti_fiduciali").string()) + "\".");
        QCOMPARE(treeOf(base), QStringList{"punti_fiduciali"});
    }

    void shouldNameTheFolderInAReadOnlyParent() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        fs::create_directory(base / "punti_fiduciali");
        fs::permissions(base / "punti_fiduciali", fs::perms::owner_read | fs::perms::owner_exec);
        QString message = messageOf(prepareArchiveFolders(base.string(), "TORINO", kSettings));
        fs::permissions(base / "punti_fiduciali", fs::perms::owner_all);
        QCOMPARE(message,
                 "Impossibile creare la cartella \"" +
                     QString::fromStdString((base / "punti_fiduciali" / "TORINO").string()) +
                     "\".");
    }
};

QTEST_APPLESS_MAIN(TestArchiveFolders)
#include "test_archive_folders.moc"
