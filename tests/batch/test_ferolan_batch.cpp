// Runs ferolan-batch as a process on program folders of its own and compares the booklet,
// the archive files and the messages byte for byte with the files in data/.
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;
// What the job of the tests reports on standard error in every run that reaches the grid.
const QByteArray kWithoutCoordinates =
    "Il punto 104 non ha coordinate utilizzabili: non inserito nel libretto\n";
const QByteArray kMalformed =
    kWithoutCoordinates + "il formato del punto PF1/0012/A074 non è corretto! (XX/XX/XXXX)\n";

QByteArray bytesOf(const fs::path &path) {
    std::ifstream file(path, std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(file), {}});
}

void writeBytes(const fs::path &path, const QByteArray &bytes) {
    std::ofstream(path, std::ios::binary) << bytes.toStdString();
}

// Every file under a folder, by its path relative to the folder.
std::map<std::string, QByteArray> filesUnder(const fs::path &folder) {
    std::map<std::string, QByteArray> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = bytesOf(entry.path());
    return files;
}

void compareFolders(const fs::path &actual, const fs::path &expected) {
    auto actualFiles = filesUnder(actual);
    auto expectedFiles = filesUnder(expected);
    QStringList actualNames, expectedNames;
    for (const auto &[name, bytes] : actualFiles)
        actualNames << QString::fromStdString(name);
    for (const auto &[name, bytes] : expectedFiles)
        expectedNames << QString::fromStdString(name);
    QCOMPARE(actualNames, expectedNames);
    for (const auto &[name, bytes] : expectedFiles)
        QCOMPARE(actualFiles[name], bytes);
}

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// FEROLAN_BATCH_WINE names the Windows build of the program: then every run goes through
// Wine, and its messages are read as on Linux: "\\" as "/", without the drive "Z:", CR LF as LF.
const QString kWindowsProgram = qEnvironmentVariable("FEROLAN_BATCH_WINE");

QByteArray readAsOnLinux(QByteArray text) {
    if (kWindowsProgram.isEmpty())
        return text;
    return text.replace("\r\n", "\n").replace('\\', '/').replace("Z:/", "/");
}

// Runs the program under test, or `program` (a copy of it) when given.
Outcome run(const QStringList &arguments, const fs::path &workingFolder, QString program = {}) {
    QStringList all = arguments;
    if (!kWindowsProgram.isEmpty()) {
        all.prepend(program.isEmpty() ? kWindowsProgram : program);
        program = QStringLiteral("wine");
    } else if (program.isEmpty()) {
        program = QStringLiteral(FEROLAN_BATCH);
    }
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(workingFolder.string()));
    process.start(program, all);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), readAsOnLinux(process.readAllStandardOutput()),
            readAsOnLinux(process.readAllStandardError())};
}

// Converts data/job.txt in the program folder "{root}" with the header data of a file.
QStringList standardArguments(const QString &header = QString::fromStdString(kData /
                                                                             "header.txt")) {
    return {"--cartella", "{root}",  "--lavoro", QString::fromStdString(kData / "job.txt"),
            "--master",   "BASE",    "--dati",   header,
            "--libretto", "libretto"};
}

// A program folder: ferolan.ini pointing at a copy of data/archive, and the code table. The
// booklet is written into it as "libretto".
class ProgramFolder {
public:
    ProgramFolder() {
        fs::copy(kData / "archive", archive(), fs::copy_options::recursive);
        fs::copy(kData / "cod_comuni_2.cod", root());
        // The settings file is Windows-1252, like every file the program reads.
        const QString settings = "PATH_PF=" + dir_.path() + "/archive\r\nPATH_TGO=" + dir_.path() +
                                 "/tgo\r\ncheck=1\r\n";
        writeBytes(root() / "ferolan.ini", settings.toLatin1());
    }

    fs::path root() const { return dir_.path().toStdString(); }
    fs::path archive() const { return root() / "archive"; }
    fs::path province() const { return archive() / "punti_fiduciali" / "TORINO"; }
    fs::path aglie() const { return province() / "A074 - AGLIE'.pf"; }
    fs::path citta() const { return province() / u8"L999 - CITTÀ DI PROVA.pf"; }
    fs::path booklet() const { return root() / "libretto.dat"; }
    fs::path temporary() const { return root() / "libretto.dat.tmp"; }

    QStringList arguments() const { return expanded(standardArguments()); }
    QStringList arguments(const fs::path &header) const {
        return expanded(standardArguments(QString::fromStdString(header)));
    }
    Outcome run(const QStringList &arguments) const { return ::run(arguments, root()); }

    // "{root}" standing for the folder.
    QByteArray expanded(QByteArray text) const {
        return text.replace("{root}", QByteArray::fromStdString(root()));
    }
    QStringList expanded(QStringList texts) const {
        return texts.replaceInStrings("{root}", QString::fromStdString(root()));
    }

private:
    // Blanks and a letter beyond ASCII in the path, as a user folder may have.
    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/ferolan prova à-XXXXXX")};
};

QStringList without(QStringList arguments, const QString &option) {
    qsizetype at = arguments.indexOf(option);
    arguments.remove(at, 2);
    return arguments;
}

QByteArray usage() {
    static const QByteArray text = run({"--help"}, fs::current_path()).out;
    return text;
}

// The findings of the booklet check for data/expected/booklet.dat; its date, 5 March 2027,
// lies in the future only until that day.
QByteArray expectedFindings() {
    QList<QByteArray> lines = bytesOf(kData / "expected" / "findings.txt").split('\n');
    if (QDate::currentDate() >= QDate(2027, 3, 5))
        lines.removeIf([](const QByteArray &line) { return line.contains("campo 1: la data"); });
    return lines.join('\n');
}

// Standard error without the findings of the booklet check.
QByteArray withoutFindings(const QByteArray &err) {
    QList<QByteArray> lines = err.split('\n');
    lines.removeIf([](const QByteArray &line) {
        return line.startsWith("avviso: ") || line.startsWith("errore: ");
    });
    return lines.join('\n');
}

QByteArray headerWith(const QByteArray &extraLines) {
    return bytesOf(kData / "header.txt") + extraLines;
}

} // namespace

class TestFerolanBatch : public QObject {
    Q_OBJECT

private slots:
    // The job of data/ as the windows would convert it, archived points added; the
    // windows' test walks the same job through them.
    void shouldConvertTheJobLikeTheWindows() {
        ProgramFolder folder;
        Outcome outcome = folder.run(folder.arguments() << "--confronto"
                                                        << "--aggiungi"
                                                        << "PF02/0014/A074"
                                                        << "--aggiungi"
                                                        << "PF03/0007/L999");
        QCOMPARE(outcome.err, kMalformed + expectedFindings());
        QCOMPARE(outcome.out, bytesOf(kData / "expected" / "stdout.txt"));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(bytesOf(folder.booklet()), bytesOf(kData / "expected" / "booklet.dat"));
        compareFolders(folder.archive(), kData / "expected" / "archive_proposti");
        QVERIFY(!fs::exists(folder.temporary()));
    }

    void shouldArchiveAsChosen_data() {
        QTest::addColumn<QStringList>("choice");
        QTest::addColumn<QString>("expectedArchive");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("default") << QStringList() << "archive_proposti" << QByteArray("\r\n");
        QTest::newRow("proposti") << QStringList{"--archivia", "proposti"} << "archive_proposti"
                                  << QByteArray("\r\n");
        QTest::newRow("nessuno") << QStringList{"--archivia", "nessuno"} << "archive_nessuno"
                                 << QByteArray("\r\n");
        QTest::newRow("tutti") << QStringList{"--archivia", "tutti"} << "archive_tutti"
                               << QByteArray("\r\n");
        QTest::newRow("job with LF line ends")
            << QStringList() << "archive_proposti" << QByteArray("\n");
        QTest::newRow("job with CR line ends")
            << QStringList() << "archive_proposti" << QByteArray("\r");
    }
    void shouldArchiveAsChosen() {
        QFETCH(QStringList, choice);
        QFETCH(QString, expectedArchive);
        QFETCH(QByteArray, lineEnd);
        ProgramFolder folder;
        writeBytes(folder.root() / "job.txt", bytesOf(kData / "job.txt").replace("\r\n", lineEnd));
        Outcome outcome =
            folder.run(without(folder.arguments(), "--lavoro") << "--lavoro"
                                                               << "job.txt" << choice);
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.out, "il file libretto.dat è stato regolarmente creato\n");
        QCOMPARE(bytesOf(folder.booklet()),
                 bytesOf(kData / "expected" / "booklet_without_added_points.dat"));
        compareFolders(folder.archive(), kData / "expected" / expectedArchive.toStdString());
    }

    // Several runs archiving the same new points at once: each point is archived once.
    void shouldArchiveEachPointOnceWhenRunsOverlap() {
        ProgramFolder folder;
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int i = 0; i < 4; ++i) {
            runs.push_back(std::make_unique<QProcess>());
            runs.back()->setWorkingDirectory(QString::fromStdString(folder.root().string()));
            runs.back()->start(FEROLAN_BATCH, without(folder.arguments(), "--libretto")
                                                  << "--libretto" << QString("libretto%1").arg(i));
        }
        for (auto &process : runs) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->exitCode(), 0);
        }
        compareFolders(folder.archive(), kData / "expected" / "archive_proposti");
    }

    // A job whose municipality code the table does not know.
    void shouldTakeTheProvinceTheJobDoesNotGive_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QString>("province");
        QTest::newRow("of the municipality") << QByteArray() << 0 << QByteArray() << "TORINO";
        QTest::newRow("chosen") << QByteArray("Cmb_prov=CUNEO\n") << 0 << QByteArray() << "CUNEO";
        QTest::newRow("none") << QByteArray("Cmb_comune=X999 - ALTROVE\n") << 2
                              << QByteArray("Il campo Provincia è vuoto!\n") << "";
    }
    void shouldTakeTheProvinceTheJobDoesNotGive() {
        QFETCH(QByteArray, line);
        QFETCH(int, status);
        QFETCH(QString, province);
        ProgramFolder folder;
        writeBytes(folder.root() / "job.txt",
                   "BASE                                                                 "
                   "4448006.973  606794.230 4516065.343\r\n"
                   "PUNTO X999                                                           "
                   "4448010.000  606790.000 4516060.000\r\n");
        writeBytes(folder.root() / "dati", headerWith(line));
        Outcome outcome =
            folder.run(without(folder.arguments(folder.root() / "dati"), "--lavoro") << "--lavoro"
                                                                                     << "job.txt");
        QTEST(withoutFindings(outcome.err), "err");
        QCOMPARE(outcome.status, status);
        if (!province.isEmpty())
            QVERIFY(
                fs::is_directory(folder.archive() / "punti_fiduciali" / province.toStdString()));
    }

    void shouldReadHeaderDataInEveryEncoding_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("UTF-8, LF") << bytesOf(kData / "header.txt");
        QTest::newRow("UTF-8 with byte-order mark") << bytesOf(kData / "header_bom.txt");
        QTest::newRow("Windows-1252, CR LF") << bytesOf(kData / "header_cp1252.txt");
        QTest::newRow("keys repeated, empty lines, no last line end")
            << "Txt_pg=999999\r\nTxt_note=x\n\n\r\n" + bytesOf(kData / "header.txt") +
                   "Txt_note=rilievo gps città";
    }
    void shouldReadHeaderDataInEveryEncoding() {
        QFETCH(QByteArray, header);
        ProgramFolder folder;
        writeBytes(folder.root() / "dati", header);
        Outcome outcome = folder.run(folder.arguments(folder.root() / "dati") << "--archivia"
                                                                              << "nessuno");
        QCOMPARE(withoutFindings(outcome.err), kMalformed);
        QCOMPARE(outcome.status, 0);
        QCOMPARE(bytesOf(folder.booklet()),
                 bytesOf(kData / "expected" / "booklet_without_added_points.dat"));
    }

    void shouldTakeTheWindowDefaults() {
        ProgramFolder folder;
        QByteArray header;
        for (const QByteArray &line : bytesOf(kData / "header.txt").split('\n'))
            if (!line.startsWith("Txt_data=") && !line.startsWith("Txt_quota=") &&
                !line.startsWith("Txt_estmedia="))
                header += line + '\n';
        writeBytes(folder.root() / "dati", header);

        QByteArray before = QDate::currentDate().toString("ddMMyyyy").toLatin1();
        Outcome outcome = folder.run(folder.arguments(folder.root() / "dati"));
        QByteArray after = QDate::currentDate().toString("ddMMyyyy").toLatin1();
        QCOMPARE(outcome.status, 0);

        // The height of the master station and the mean of the 10 east values, rounded down;
        // the point without an east value does not count.
        QByteArray expected = bytesOf(kData / "expected" / "booklet_without_added_points.dat")
                                  .replace("|1403600|", "|1403663|");
        QByteArray booklet = bytesOf(folder.booklet());
        QVERIFY(booklet == QByteArray(expected).replace("05032027", before) ||
                booklet == QByteArray(expected).replace("05032027", after));
    }

    void shouldAddArchivedPointsOrSayWhyNot_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("archived earlier")
            << "nessuno"
            << "PF02/0014/A074"
            << QByteArray("2|PF02/0014/A074|-491.357,487.418,407.044|0,0,0,0,0,0|PDOP=1|0|"
                          "PF SU PILONE VOTIVO|\r\n")
            << QByteArray();
        QTest::newRow("archived in this run")
            << "proposti"
            << "PF03/0007/L999"
            << QByteArray("2|PF03/0007/L999|-206.850,-193.242,235.212|0,0,0,0,0,0|PDOP=1|0|"
                          "PF SU CIPPO DI CONFINE TRA I C|\r\n")
            << QByteArray();
        QTest::newRow("not archived in this run")
            << "nessuno"
            << "PF03/0007/L999" << QByteArray()
            << QByteArray("Il punto fiduciale PF03/0007/L999 non è stato aggiunto al libretto: "
                          "nessun comune della provincia TORINO con codice L999 ha punti "
                          "fiduciali in archivio.\n");
        QTest::newRow("municipality of another province")
            << "nessuno"
            << "PF01/0001/A016" << QByteArray()
            << QByteArray("Il punto fiduciale PF01/0001/A016 non è stato aggiunto al libretto: "
                          "nessun comune della provincia TORINO con codice A016 ha punti "
                          "fiduciali in archivio.\n");
        QTest::newRow("number not in the sheet")
            << "nessuno"
            << "PF77/0012/A074" << QByteArray()
            << QByteArray("Il punto fiduciale PF77/0012/A074 non è stato aggiunto al libretto: "
                          "non si trova nel file dell'archivio "
                          "\"{root}/archive/punti_fiduciali/TORINO/A074 - AGLIE'.pf\".\n");
    }
    void shouldAddArchivedPointsOrSayWhyNot() {
        QFETCH(QString, choice);
        QFETCH(QString, point);
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, message);
        ProgramFolder folder;
        Outcome outcome =
            folder.run(folder.arguments() << "--archivia" << choice << "--aggiungi" << point);
        QCOMPARE(withoutFindings(outcome.err), kMalformed + folder.expanded(message));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(bytesOf(folder.booklet()),
                 bytesOf(kData / "expected" / "booklet_without_added_points.dat") + row);
    }

    void shouldLeaveUnreadableArchiveFilesUncompared() {
        ProgramFolder folder;
        fs::remove(folder.aglie());
        fs::create_directory(folder.aglie());
        Outcome outcome = folder.run(folder.arguments() << "--confronto");
        QCOMPARE(outcome.status, 0);
        QCOMPARE(withoutFindings(outcome.err),
                 kMalformed + folder.expanded("Impossibile leggere il file \"{root}/archive/"
                                              "punti_fiduciali/TORINO/A074 - AGLIE'.pf\": i punti "
                                              "fiduciali che ne dipendono restano senza confronto "
                                              "con l'archivio e non sono proposti per "
                                              "l'archiviazione.\n"));
        QList<QByteArray> lines = outcome.out.split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], "PF01/0012/A074\t4447917.3883\t607071.5331\t4516117.3670\t\t\t\t\tX\t"
                           "PUNTO FIDUCIALE SU SPIGOLO CHIESA");
        QCOMPARE(lines[2], "PF03/0007/L999\t4447800.1234\t606600.9876\t4516300.5555\t\t\t\tNO\tV\t"
                           "PF SU CIPPO DI CONFINE TRA I COMUNI");
    }

    void shouldExitWithItsStatus_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("archiveAfter");

        const QStringList standard = standardArguments();
        auto wrongCommandLine = [&](const char *row, const QStringList &arguments,
                                    const QByteArray &message) {
            QTest::newRow(row) << arguments << QByteArray() << "" << 1 << message + "\n\n" + usage()
                               << "archive";
        };
        wrongCommandLine("unknown option", standard + QStringList{"--libro", "x"},
                         "Opzione sconosciuta: --libro.");
        wrongCommandLine("stray argument", standard + QStringList{"x"},
                         "Argomento inatteso: \"x\".");
        wrongCommandLine("repeated option", standard + QStringList{"--master", "101"},
                         "L'opzione --master è ripetuta.");
        wrongCommandLine("missing option", without(standard, "--libretto"),
                         "Manca l'opzione obbligatoria --libretto.");
        wrongCommandLine("missing value", standard + QStringList{"--archivia"},
                         "Manca il valore dell'opzione --archivia.");
        wrongCommandLine("empty file name",
                         without(standard, "--libretto") << "--libretto"
                                                         << "",
                         "Il valore dell'opzione --libretto è vuoto.");
        wrongCommandLine("--archivia other word", standard + QStringList{"--archivia", "alcuni"},
                         "Il valore \"alcuni\" dell'opzione --archivia non è ammesso: si può "
                         "scegliere proposti, nessuno o tutti.");
        wrongCommandLine("--aggiungi not PFnn/ffff/cccc",
                         standard + QStringList{"--aggiungi", "PF7/0012/A074"},
                         "Il valore \"PF7/0012/A074\" dell'opzione --aggiungi non ha la forma "
                         "PFnn/ffff/cccc.");
        wrongCommandLine("--help with others", standard + QStringList{"--help"},
                         "L'opzione --help va data da sola.");

        // The header data file's 14 lines, then the line under test.
        auto wrongHeader = [&](const char *row, const QByteArray &line, const QByteArray &message,
                               bool withUsage) {
            QTest::newRow(row) << standardArguments("{root}/dati") << headerWith(line) << "" << 1
                               << message + '\n' + (withUsage ? '\n' + usage() : QByteArray())
                               << "archive";
        };
        wrongHeader("line without =", "Txt_note\n",
                    "Manca il segno \"=\" alla riga 15 del file \"{root}/dati\": ogni riga deve "
                    "avere la forma Controllo=valore.",
                    true);
        wrongHeader(
            "unknown control", "Cmb_provincia=ROMA\n",
            "Il controllo \"Cmb_provincia\" alla riga 15 del file \"{root}/dati\" non esiste.",
            true);
        wrongHeader("value Windows-1252 cannot hold", "Txt_note=Ω\n",
                    "Il valore di Txt_note alla riga 15 del file \"{root}/dati\" contiene "
                    "caratteri che il libretto (Windows-1252) non può contenere.",
                    false);

        auto refused = [&](const char *row, const QStringList &arguments, const QByteArray &line,
                           const QByteArray &message) {
            QTest::newRow(row) << arguments << headerWith(line) << "" << 2 << message + '\n'
                               << "archive";
        };
        const QStringList withHeader = standardArguments("{root}/dati");
        refused("no such master station",
                without(withHeader, "--master") << "--master"
                                                << "PF1",
                "", "Non hai selezionato nessun punto!");
        refused("master station named by nothing",
                without(withHeader, "--master") << "--master"
                                                << "",
                "", "Non hai selezionato nessun punto!");
        refused("master station without coordinates",
                without(withHeader, "--master") << "--master"
                                                << "104",
                "",
                "Il punto 104 non ha coordinate utilizzabili: non può essere la stazione master.");
        refused("empty protocol", withHeader, "Txt_pg=\n",
                kWithoutCoordinates + "Il campo Protocollo è vuoto!");
        refused("short sheet", withHeader, "Txt_foglio=12\n",
                kWithoutCoordinates + "Il formato del foglio non è corretto! <XXXX>");
        refused("field separator in the notes", withHeader, "Txt_note=A|B\n",
                kWithoutCoordinates + "Il campo note contiene il carattere | non ammesso!");
        refused("another province than the job's", withHeader, "Cmb_prov= ROMA\n",
                kWithoutCoordinates + "La provincia ROMA non è quella del lavoro (TORINO)!");

        auto fileProblem = [&](const char *row, const QStringList &arguments, const char *setup,
                               const QByteArray &message, const char *archiveAfter = "archive") {
            QTest::newRow(row) << arguments << QByteArray() << setup << 3 << message + '\n'
                               << archiveAfter;
        };
        const QByteArray settingsProblem =
            "Il file delle impostazioni {root}/ferolan.ini manca, non si può leggere o ha meno "
            "di tre righe.\nDeve contenere le tre righe:\n"
            "PATH_PF=cartella dell'archivio dei punti fiduciali\n"
            "PATH_TGO=cartella del file asciiexp.dat di TGO\n"
            "check=0 (il file di export di TGO va ancora aggiornato) oppure check=1";
        fileProblem("no settings file", standard, "no settings", settingsProblem);
        fileProblem("settings of two lines", standard, "short settings", settingsProblem);
        fileProblem("no job",
                    without(standard, "--lavoro") << "--lavoro"
                                                  << "nessuno.txt",
                    "", "Impossibile leggere il file del lavoro \"nessuno.txt\".");
        fileProblem("no header data",
                    without(standard, "--dati") << "--dati"
                                                << "nessuno.txt",
                    "", "Impossibile leggere il file dei dati dell'intestazione \"nessuno.txt\".");
        fileProblem("no code table", standard, "no code table",
                    kWithoutCoordinates +
                        "Impossibile leggere la tabella dei comuni \"{root}/cod_comuni_2.cod\".");
        fileProblem(
            "no archive folder", standard, "no archive",
            kWithoutCoordinates +
                "La cartella dell'archivio dei punti fiduciali \"{root}/archive\" non esiste: "
                "correggere la riga PATH_PF= del file \"{root}/ferolan.ini\".");
        // These two stop after the comparison, which reports the malformed name first.
        fileProblem("temporary file not creatable", standard, "temporary blocked",
                    kMalformed +
                        "Impossibile creare il file temporaneo \"libretto.dat.tmp\": il libretto "
                        "non è stato scritto e l'archivio dei punti fiduciali non è stato "
                        "modificato.");
        fileProblem("booklet not writable", standard, "booklet blocked",
                    kMalformed +
                        "Impossibile scrivere il libretto \"libretto.dat\": un libretto già "
                        "presente con lo stesso nome è rimasto com'era. 2 punti fiduciali sono "
                        "già stati archiviati e restano nell'archivio.",
                    "expected/archive_proposti");
    }
    void shouldExitWithItsStatus() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, header);
        QFETCH(QString, setup);
        QFETCH(int, status);
        QFETCH(QByteArray, message);
        QFETCH(QString, archiveAfter);

        ProgramFolder folder;
        if (!header.isEmpty())
            writeBytes(folder.root() / "dati", header);
        if (setup == "no settings")
            fs::remove(folder.root() / "ferolan.ini");
        else if (setup == "short settings")
            writeBytes(folder.root() / "ferolan.ini", "PATH_PF=x\r\nPATH_TGO=y\r\n");
        else if (setup == "no code table")
            fs::remove(folder.root() / "cod_comuni_2.cod");
        else if (setup == "no archive")
            fs::rename(folder.archive(), folder.root() / "elsewhere");
        else if (setup == "temporary blocked")
            fs::create_directory(folder.temporary());
        else if (setup == "booklet blocked")
            fs::create_directories(folder.booklet() / "occupied");
        Outcome outcome = folder.run(folder.expanded(arguments));

        QCOMPARE(outcome.err, folder.expanded(message));
        QCOMPARE(outcome.out, QByteArray());
        QCOMPARE(outcome.status, status);
        QVERIFY(!fs::is_regular_file(folder.booklet()));
        QVERIFY(!fs::is_regular_file(folder.temporary()));
        if (fs::exists(folder.archive()))
            compareFolders(folder.archive(), kData / archiveAfter.toStdString());
    }

    // The check after writing goes to standard error and decides the exit status only with
    // --severo; --verifica checks any booklet on its own.
    void shouldCheckTheBooklet_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("finding");
        const QByteArray badHeight = "errore: linea 2 (riga 9), campo 1: la quota \"abc\" non è "
                                     "un numero: correggerlo.\n";
        const QStringList withHeader = standardArguments("{root}/dati");
        QTest::newRow("--severo, avvisi only")
            << (standardArguments() << "--severo") << QByteArray() << 0 << QByteArray("avviso: ");
        QTest::newRow("errore without --severo")
            << withHeader << headerWith("Txt_quota=abc\n") << 0 << badHeight;
        QTest::newRow("errore with --severo") << (withHeader + QStringList{"--severo"})
                                              << headerWith("Txt_quota=abc\n") << 4 << badHeight;
        const QString written = QString::fromStdString(kData / "expected" / "booklet.dat");
        QTest::newRow("--verifica, avvisi only")
            << QStringList{"--verifica", written, "--cartella", "{root}"} << QByteArray() << 0
            << expectedFindings();
        QTest::newRow("--verifica, errore")
            << QStringList{"--cartella", "{root}", "--verifica", "{root}/dati"}
            << QByteArray("0|05032026|1|A074|0012|1|X|GEOMETRA|TORINO|\r\n") << 4
            << QByteArray("errore: libretto: manca la riga 6");
        QTest::newRow("--verifica, no booklet")
            << QStringList{"--verifica", "{root}/nessuno.dat", "--cartella", "{root}"}
            << QByteArray() << 3
            << QByteArray("Impossibile leggere il libretto \"{root}/nessuno.dat\".\n");
        QTest::newRow("--verifica with other options")
            << QStringList{"--verifica", written, "--severo"} << QByteArray() << 1
            << QByteArray("L'opzione --severo non si usa con --verifica, che ammette solo "
                          "--cartella.\n");
    }
    void shouldCheckTheBooklet() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, header);
        QFETCH(int, status);
        QFETCH(QByteArray, finding);
        ProgramFolder folder;
        if (!header.isEmpty())
            writeBytes(folder.root() / "dati", header);
        Outcome outcome = folder.run(folder.expanded(arguments));
        QCOMPARE(outcome.status, status);
        // --verifica prints its findings on standard output, the conversion on standard error.
        const bool verifying = arguments.contains("--verifica");
        const QByteArray &stream =
            verifying && (status == 0 || status == 4) ? outcome.out : outcome.err;
        QVERIFY2(stream.contains(folder.expanded(finding)), outcome.out + outcome.err);
        // A booklet with an errore is kept: the user decides.
        QCOMPARE(fs::is_regular_file(folder.booklet()), !verifying);
    }

    void shouldKeepWholeRecordsWhenArchivingStops() {
        ProgramFolder folder;
        fs::create_directory(folder.citta());
        Outcome outcome = folder.run(folder.arguments() << "--archivia"
                                                        << "tutti");
        QCOMPARE(outcome.status, 3);
        QVERIFY(outcome.err.endsWith(folder.expanded(
            "Impossibile aggiungere il punto fiduciale PF03/0007/L999 al file dell'archivio "
            "\"{root}/archive/punti_fiduciali/TORINO/L999 - CITTÀ DI PROVA.pf\". Il libretto "
            "non è stato scritto. 2 punti fiduciali sono già stati archiviati e restano "
            "nell'archivio.\n")));
        // The rows before it in the grid, PF01 and PF05, are archived whole.
        QList<QByteArray> all = bytesOf(kData / "expected" / "archive_tutti" / "punti_fiduciali" /
                                        "TORINO" / "A074 - AGLIE'.pf")
                                    .split('\n');
        QCOMPARE(bytesOf(folder.aglie()),
                 bytesOf(kData / "archive" / "punti_fiduciali" / "TORINO" / "A074 - AGLIE'.pf") +
                     all[3] + '\n' + all[4] + '\n');
        QVERIFY(!fs::exists(folder.booklet()));
        QVERIFY(!fs::exists(folder.temporary()));
    }

    // The sketch comes after the booklet; one that cannot be written leaves the booklet.
    void shouldDrawTheSketchOnlyAfterTheBooklet_data() {
        QTest::addColumn<QString>("sketch");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("status");
        QTest::newRow("written") << "schema.svg"
                                 << "" << 0;
        QTest::newRow("folder missing") << "manca/schema.svg"
                                        << "" << 3;
        QTest::newRow("booklet not written") << "schema.svg"
                                             << "booklet blocked" << 3;
    }
    void shouldDrawTheSketchOnlyAfterTheBooklet() {
        QFETCH(QString, sketch);
        QFETCH(QString, setup);
        QFETCH(int, status);
        ProgramFolder folder;
        if (!setup.isEmpty())
            fs::create_directories(folder.booklet() / "occupied");
        Outcome outcome = folder.run(folder.arguments() << "--schema" << sketch);
        QCOMPARE(outcome.status, status);
        const bool bookletWritten = setup.isEmpty();
        QCOMPARE(fs::is_regular_file(folder.booklet()), bookletWritten);
        const QByteArray svg = bytesOf(folder.root() / sketch.toStdString());
        QCOMPARE(svg.startsWith("<?xml"), status == 0);
        QVERIFY(svg.contains("Libretto: libretto.dat") || status != 0);
        if (status != 0 && bookletWritten)
            QVERIFY(outcome.err.endsWith("Impossibile scrivere lo schema del rilievo \"manca/"
                                         "schema.svg\". Il libretto è stato scritto.\n"));
    }

    void shouldShowUsageOnHelp() {
        Outcome outcome = run({"--help"}, fs::current_path());
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.startsWith("Uso:\n  ferolan-batch --lavoro LAVORO"));
        QCOMPARE(outcome.err, QByteArray());
    }

    void shouldReadTheFolderOfTheProgramByDefault() {
        ProgramFolder folder;
        const fs::path program = kWindowsProgram.isEmpty()
                                     ? fs::path(FEROLAN_BATCH)
                                     : fs::path(kWindowsProgram.toStdString());
        fs::copy_file(program, folder.root() / program.filename());
        Outcome outcome = ::run(without(folder.arguments(), "--cartella"), folder.root(),
                                QString::fromStdString(folder.root() / program.filename()));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(bytesOf(folder.booklet()),
                 bytesOf(kData / "expected" / "booklet_without_added_points.dat"));
    }
};

QTEST_GUILESS_MAIN(TestFerolanBatch)
#include "test_ferolan_batch.moc"
