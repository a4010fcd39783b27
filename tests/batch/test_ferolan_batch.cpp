// Runs ferolan-batch as a process on program folders of its own and compares the booklet,
// the archive files and the messages byte for byte with the files in data/.
#include "bytes.h"
#include "cases.h"

#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;
// What the job of the tests reports on standard error in every run that reaches the grid.
const QByteArray kWithoutCoordinates =
    "Il punto 104 non ha coordinate utilizzabili: non inserito nel libretto\n";
const QByteArray kMalformed =
    kWithoutCoordinates + "il formato del punto PF1/0012/A074 non è corretto! (XX/XX/XXXX)\n";

// The names of the files below two folders, then their bytes.
void compareFolders(const fs::path &actual, const fs::path &expected) {
    auto actualFiles = filesUnder(actual);
    auto expectedFiles = filesUnder(expected);
    QStringList actualNames, expectedNames;
    for (const auto &[name, content] : actualFiles)
        actualNames << name;
    for (const auto &[name, content] : expectedFiles)
        expectedNames << name;
    QCOMPARE(actualNames, expectedNames);
    QVERIFY(actualFiles == expectedFiles);
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

// Every run takes the same day for today, before the date of the header data (5 March 2027),
// and may strike one of the program's test faults.
void start(QProcess &process, const QStringList &arguments, const fs::path &workingFolder,
           const QString &fault = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FEROLAN_BATCH_OGGI", "2027-01-15");
    if (!fault.isEmpty())
        environment.insert("FEROLAN_BATCH_GUASTO", fault);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(workingFolder.string()));
    if (kWindowsProgram.isEmpty())
        process.start(QStringLiteral(FEROLAN_BATCH), arguments);
    else
        process.start(QStringLiteral("wine"), QStringList(kWindowsProgram) + arguments);
}

Outcome run(const QStringList &arguments, const fs::path &workingFolder,
            const QString &fault = {}) {
    QProcess process;
    start(process, arguments, workingFolder, fault);
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
    Outcome run(const QStringList &arguments, const QString &fault = {}) const {
        return ::run(arguments, root(), fault);
    }

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

QStringList withJob(const QStringList &arguments, const char *job) {
    return without(arguments, "--lavoro") << "--lavoro" << QString::fromStdString(kData / job);
}

QByteArray usage() {
    return bytesOf(kData / "expected" / "usage.txt");
}

// The findings of the booklet check for data/expected/booklet.dat, whose date lies after
// the runs' today.
QByteArray expectedFindings() {
    return bytesOf(kData / "expected" / "findings.txt");
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

// The arguments of a case: {standard} and {dati} stand for the standard arguments (with the
// header data file "{root}/dati"), "-OPTION" drops an option and its value.
QStringList argumentsOf(const QByteArrayList &fields, const ProgramFolder &folder) {
    QStringList arguments;
    for (const QByteArray &field : fields) {
        if (field == "{standard}" || field == "{dati}")
            arguments << (field == "{dati}" ? standardArguments("{root}/dati")
                                            : standardArguments());
        else if (field.startsWith("-") && !field.startsWith("--"))
            arguments = without(arguments, "-" + QString::fromUtf8(field));
        else
            arguments << QString::fromUtf8(field).replace("{data}", QString::fromStdString(kData));
    }
    return folder.expanded(arguments);
}

// The header data file "dati" with an extra line, and what a case sets up in the folder.
void prepare(const ProgramFolder &folder, const QString &setup, const QByteArray &header) {
    writeBytes(folder.root() / "dati", headerWith(header.isEmpty() ? header : header + '\n'));
    if (setup == "no settings")
        fs::remove(folder.root() / "ferolan.ini");
    else if (setup == "short settings")
        writeBytes(folder.root() / "ferolan.ini", "PATH_PF=x\r\nPATH_TGO=y\r\n");
    else if (setup == "not jobs") {
        writeBytes(folder.root() / "vuoto.txt", "");
        writeBytes(folder.root() / "bianco.txt", "\r\n   \r\n\r\n");
        fs::copy_file(kData / "expected" / "booklet_without_added_points.dat",
                      folder.root() / "vecchio.dat");
    } else if (setup == "delimited") {
        for (const char *file :
             {"semicolon.formato", "comma.formato", "tab.formato", "incomplete.formato",
              "job_semicolon.csv", "job_comma.csv", "job_tab.txt"})
            fs::copy_file(kData / file, folder.root() / file);
        writeBytes(folder.root() / "vuoto.csv", "\r\n \r\n");
        writeBytes(folder.root() / "intestazione.csv", "Nome;X;Y;Z\r\n");
    } else if (setup == "no code table")
        fs::remove(folder.root() / "cod_comuni_2.cod");
    else if (setup == "no archive")
        fs::rename(folder.archive(), folder.root() / "elsewhere");
    else if (setup == "temporary blocked")
        fs::create_directory(folder.temporary());
    else if (setup == "booklet blocked")
        fs::create_directories(folder.booklet() / "occupied");
    else if (setup == "città blocked")
        fs::create_directory(folder.citta());
    if (setup == "aglie unreadable") {
        fs::remove(folder.aglie());
        fs::create_directory(folder.aglie());
    }
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
                                                        << "PF02/0014/A074");
        QCOMPARE(outcome.err, kMalformed + expectedFindings());
        QCOMPARE(outcome.out, bytesOf(kData / "expected" / "stdout.txt"));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(bytesOf(folder.booklet()), bytesOf(kData / "expected" / "booklet.dat"));
        compareFolders(folder.archive(), kData / "expected" / "archive_proposti");
        QVERIFY(!fs::exists(folder.temporary()));
    }

    // Whatever the job's line ends or the header data's encoding, the same booklet; the
    // archive as chosen.
    void shouldArchiveAsChosen_data() { test_cases::addRows(kData / "archive_cases.txt"); }
    void shouldArchiveAsChosen() {
        QFETCH(QByteArrayList, fields);
        const QString expectedArchive = QString::fromUtf8(fields[1]);
        const QByteArray lineEnd = fields[2];
        const QByteArray header = bytesOf(kData / fields[3].toStdString());
        QStringList choice;
        for (const QByteArray &field : fields.mid(4))
            choice << QString::fromUtf8(field);
        ProgramFolder folder;
        writeBytes(folder.root() / "job.txt", bytesOf(kData / "job.txt").replace("\r\n", lineEnd));
        writeBytes(folder.root() / "dati", header);
        Outcome outcome = folder.run(without(folder.arguments(folder.root() / "dati"), "--lavoro")
                                     << "--lavoro"
                                     << "job.txt" << choice);
        QCOMPARE(withoutFindings(outcome.err), kMalformed);
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
            start(*runs.back(),
                  without(folder.arguments(), "--libretto")
                      << "--libretto" << QString("libretto%1").arg(i),
                  folder.root());
        }
        for (auto &process : runs) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->exitCode(), 0);
        }
        compareFolders(folder.archive(), kData / "expected" / "archive_proposti");
    }

    // A job whose municipality code the table does not know: the province of the header's
    // municipality, or the one chosen.
    void shouldTakeTheProvinceTheJobDoesNotGive_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("province");
        QTest::newRow("of the municipality") << QByteArray() << "TORINO";
        QTest::newRow("chosen") << QByteArray("Cmb_prov=CUNEO\n") << "CUNEO";
    }
    void shouldTakeTheProvinceTheJobDoesNotGive() {
        QFETCH(QByteArray, line);
        QFETCH(QString, province);
        ProgramFolder folder;
        writeBytes(folder.root() / "dati", headerWith(line));
        Outcome outcome =
            folder.run(withJob(folder.arguments(folder.root() / "dati"), "job_unknown_code.txt"));
        QCOMPARE(withoutFindings(outcome.err), QByteArray());
        QCOMPARE(outcome.status, 0);
        QVERIFY(fs::is_directory(folder.archive() / "punti_fiduciali" / province.toStdString()));
    }

    // The date, the height and the mean east value left out of the header data.
    void shouldTakeTheWindowDefaults() {
        ProgramFolder folder;
        Outcome outcome = folder.run(folder.arguments(kData / "header_without_defaults.txt"));
        QCOMPARE(outcome.status, 0);

        // The height of the master station and the mean of the 10 east values, rounded down;
        // the point without an east value does not count.
        QCOMPARE(bytesOf(folder.booklet()),
                 bytesOf(kData / "expected" / "booklet_without_added_points.dat")
                     .replace("|1403600|", "|1403663|")
                     .replace("05032027", "15012027"));
    }

    // A job cut or rewritten, control bytes in its names, a point listed twice, memory
    // running out after archiving: what is archived and written, and what the user is told,
    // never a control byte that would drive the terminal.
    void shouldTellWhatBecameOfTheJob_data() { test_cases::addRows(kData / "job_fault_cases.txt"); }
    void shouldTellWhatBecameOfTheJob() {
        QFETCH(QByteArrayList, fields);
        const QByteArray fault = fields.takeFirst();
        const fs::path job = kData / fields.takeFirst().toStdString();
        const int status = fields.takeFirst().toInt();
        const fs::path archiveAfter = kData / fields.takeFirst().toStdString();
        const QByteArray leftOut = fields.takeFirst();
        const QByteArray message = fields.takeLast()
                                       .replace("{104}", kWithoutCoordinates)
                                       .replace("{malformed}", kMalformed);
        ProgramFolder folder;
        fs::copy(job, folder.root() / "lavoro.txt");
        writeBytes(folder.booklet(), "libretto precedente\r\n");
        QStringList arguments = without(folder.arguments(), "--lavoro") << "--lavoro"
                                                                        << "lavoro.txt";
        for (const QByteArray &field : fields)
            arguments << QString::fromUtf8(field);
        Outcome outcome = folder.run(arguments, fault == "none" ? QString() : QString(fault));

        QCOMPARE(withoutFindings(outcome.err), message);
        QVERIFY2(
            std::ranges::none_of(
                outcome.err, [](char c) { return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7F; }),
            outcome.err.constData());
        QCOMPARE(outcome.status, status);
        compareFolders(folder.archive(), archiveAfter);
        QVERIFY(!fs::exists(folder.temporary()));
        const QByteArray booklet = bytesOf(folder.booklet());
        if (status != 0)
            QCOMPARE(booklet, QByteArray("libretto precedente\r\n"));
        else
            QVERIFY(booklet.startsWith("0|") && (leftOut.isEmpty() || !booklet.contains(leftOut)));
    }

    // Wrong command lines and header data, refused input and unreadable files: nothing is
    // written, and the exit status and message tell why.
    void shouldExitWithItsStatus_data() { test_cases::addRows(kData / "exit_cases.txt"); }
    void shouldExitWithItsStatus() {
        QFETCH(QByteArrayList, fields);
        const QString setup = QString::fromUtf8(fields.takeFirst());
        const QByteArray header = fields.takeFirst();
        const int status = fields.takeFirst().toInt();
        const QString archiveAfter = QString::fromUtf8(fields.takeFirst());
        QByteArray message = fields.takeLast()
                                 .replace("{104}", kWithoutCoordinates)
                                 .replace("{malformed}", kMalformed)
                                 .replace("{usage}", "\n\n" + usage());
        if (!message.endsWith('\n'))
            message += '\n';
        ProgramFolder folder;
        prepare(folder, setup, header);
        Outcome outcome = folder.run(argumentsOf(fields, folder));

        QCOMPARE(withoutFindings(outcome.err), folder.expanded(message));
        QCOMPARE(outcome.status, status);
        if (status == 0) { // the archive field holds the row added to the booklet
            QCOMPARE(outcome.out, "il file libretto.dat è stato regolarmente creato\n");
            QCOMPARE(bytesOf(folder.booklet()),
                     bytesOf(kData / "expected" / "booklet_without_added_points.dat") +
                         archiveAfter.toUtf8());
            return;
        }
        QCOMPARE(outcome.out, QByteArray());
        QVERIFY(!fs::is_regular_file(folder.booklet()));
        QVERIFY(!fs::is_regular_file(folder.temporary()));
        if (fs::exists(folder.archive()))
            compareFolders(folder.archive(), kData / archiveAfter.toStdString());
    }

    // The check after writing goes to standard error and decides the exit status only with
    // --severo; --verifica checks any booklet on its own and prints its findings. The sketch
    // comes after the booklet; one that cannot be written leaves the booklet.
    void shouldCheckTheBookletAndDrawTheSketch_data() {
        test_cases::addRows(kData / "check_cases.txt");
    }
    void shouldCheckTheBookletAndDrawTheSketch() {
        QFETCH(QByteArrayList, fields);
        const QString setup = QString::fromUtf8(fields.takeFirst());
        const QByteArray header = fields.takeFirst();
        const int status = fields.takeFirst().toInt();
        const bool bookletWritten = fields.takeFirst() == "booklet";
        const QByteArray shown = fields.takeLast()
                                     .replace("{findings}", expectedFindings())
                                     .replace("{usage}", usage())
                                     .replace("{malformed}", kMalformed);
        ProgramFolder folder;
        prepare(folder, setup, header);
        const QStringList arguments = argumentsOf(fields, folder);
        Outcome outcome = folder.run(arguments);
        QCOMPARE(outcome.status, status);
        const QByteArray &stream = shown.startsWith("out: ") ? outcome.out : outcome.err;
        QVERIFY2(stream.contains(folder.expanded(shown.mid(5))), outcome.out + outcome.err);
        // A booklet with an errore is kept: the user decides.
        QCOMPARE(fs::is_regular_file(folder.booklet()), bookletWritten);
        if (arguments.contains("--schema")) {
            const QByteArray svg = bytesOf(folder.root() / "schema.svg");
            QCOMPARE(svg.startsWith("<?xml") && svg.contains("Libretto: libretto.dat"),
                     status == 0);
        }
    }

    // The survey session as the header data state it. An NRTK booklet has exactly one row 2
    // marked "[VRS]", the first after row 6.
    void shouldWriteTheSessionAsStated_data() { test_cases::addRows(kData / "session_cases.txt"); }
    void shouldWriteTheSessionAsStated() {
        QFETCH(QByteArrayList, fields);
        ProgramFolder folder;
        writeBytes(folder.root() / "dati", headerWith(fields[3] + '\n'));
        QStringList arguments = without(
            withJob(folder.arguments(folder.root() / "dati"), fields[1].constData()), "--master");
        arguments << "--master" << QString::fromUtf8(fields[2]) << "--severo"
                  << "--archivia"
                  << "nessuno";
        Outcome outcome = folder.run(arguments);
        QCOMPARE(withoutFindings(outcome.err), fields[5]);
        QCOMPARE(outcome.status, 0);
        QByteArrayList methodFindings;
        for (const QByteArray &line : outcome.err.split('\n'))
            if (line.contains("[R6-NRTK]") || line.contains("[NRTK-"))
                methodFindings << line.trimmed().split('[').last().chopped(1);
        QCOMPARE(methodFindings.join(' '), fields[6]);
        const QByteArray booklet = bytesOf(folder.booklet());
        QCOMPARE(booklet, bytesOf(kData / "expected" / fields[4].toStdString()));
        const QList<QByteArray> lines = booklet.split('\n');
        if (lines[3].contains("|NRTK|")) {
            QCOMPARE(booklet.count("[VRS]"), 1);
            QVERIFY(lines[4].startsWith("2|") && lines[4].endsWith("[VRS]|\r"));
        }
    }

    // The distances between the fiducial points found in the archive, written only with the
    // booklet, each pair out of tolerance also an avviso.
    void shouldWriteTheDistancesBetweenFiducialPoints_data() {
        test_cases::addRows(kData / "distanze_cases.txt");
    }
    void shouldWriteTheDistancesBetweenFiducialPoints() {
        QFETCH(QByteArrayList, fields);
        const fs::path moved = FEROLAN_SOURCE_DIR "/tests/fiducial/data/distanze";
        const QByteArray job = fields.takeFirst();
        const int status = fields.takeFirst().toInt();
        const QByteArray expected = fields.takeFirst();
        const QByteArray shown = fields.takeLast().replace("{usage}", usage());
        ProgramFolder folder;
        if (job != "standard") {
            QByteArray points = bytesOf(moved / "job.txt");
            QByteArray archive = bytesOf(moved / "A074 - AGLIE'.pf");
            if (job == "quoted") { // a name holding the file's separator
                points.replace("PF03/0012/A074", "PF0;/0012/A074");
                archive.replace("\r\n03 0012", "\r\n0; 0012");
            }
            writeBytes(folder.root() / "job.txt", points);
            writeBytes(folder.aglie(), archive);
        }
        const QStringList arguments = argumentsOf(fields, folder);
        Outcome outcome = folder.run(arguments);

        QCOMPARE(outcome.status, status);
        if (arguments.contains("--schema")) // the pair's line and the legend's
            QCOMPARE(bytesOf(folder.root() / "schema.svg").count("stroke-dasharray"), 2);
        const fs::path written = folder.root() / "distanze.csv";
        if (expected == "-")
            QVERIFY(!fs::exists(written));
        else
            QCOMPARE(bytesOf(written), bytesOf(kData / "expected" / expected.toStdString()));
        QCOMPARE(fs::is_regular_file(folder.booklet()),
                 status == 0 || shown.contains("Il libretto è stato scritto."));
        if (status != 0) {
            QVERIFY2(outcome.err.contains(folder.expanded(shown)), outcome.err.constData());
            return;
        }
        QList<QByteArray> warnings = outcome.err.split('\n');
        warnings.removeIf(
            [](const QByteArray &line) { return !line.startsWith("avviso: distanza"); });
        QCOMPARE(warnings.join('\n'), shown);
    }

    // The test job written with latitude, longitude and ellipsoidal height (9 decimals): every
    // vector of its booklet within a millimetre of the one the X, Y and Z give.
    void shouldTakeGeographicCoordinatesWithinAMillimetre() {
        ProgramFolder folder;
        Outcome outcome = folder.run(
            withJob(folder.arguments(), "job_geographic.csv")
            << "--formato" << QString::fromStdString(kData / "geographic.formato") << "--archivia"
            << "nessuno");
        QCOMPARE(outcome.status, 0);
        const QList<QByteArray> rows = bytesOf(folder.booklet()).split('\n');
        const QList<QByteArray> expected =
            bytesOf(kData / "expected" / "booklet_without_added_points.dat").split('\n');
        QCOMPARE(rows.size(), expected.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QList<QByteArray> fields = rows[i].split('|'), wanted = expected[i].split('|');
            if (!rows[i].startsWith("2|")) {
                QCOMPARE(rows[i], expected[i]);
                continue;
            }
            const QList<QByteArray> vector = fields[2].split(','), exact = wanted[2].split(',');
            for (qsizetype axis = 0; axis < 3; ++axis)
                QVERIFY2(std::abs(vector[axis].toDouble() - exact[axis].toDouble()) <= 0.001,
                         rows[i].constData());
            QCOMPARE(fields.mid(3), wanted.mid(3));
        }
    }

    // Two points named like the master station: the first is the master.
    void shouldTakeTheFirstPointNamedLikeTheMaster() {
        ProgramFolder folder;
        Outcome outcome = folder.run(withJob(folder.arguments(), "job_two_masters.txt"));
        QCOMPARE(outcome.status, 0);
        QVERIFY(
            bytesOf(folder.booklet()).contains("\r\n1|BASE|4448006.973,606794.230,4516065.343|0|"));
    }

    // Another program (an editor, Pregeo) holding the earlier booklet open while it is
    // replaced: Linux replaces it; Windows refuses, and then a message names it and the
    // earlier booklet stays whole.
    void shouldReplaceABookletHeldOpenOrSaySo() {
        ProgramFolder folder;
        writeBytes(folder.booklet(), "libretto precedente\r\n");
        const QStringList hold{"--tieni-aperto", QString::fromStdString(folder.booklet()), "5"};
        QProcess holder;
        if (kWindowsProgram.isEmpty())
            holder.start(QStringLiteral(FEROLAN_PLATFORM_TEST), hold);
        else
            holder.start(QStringLiteral("wine"),
                         QStringList{qEnvironmentVariable("FEROLAN_PLATFORM_TEST_WINE")} + hold);
        QVERIFY(holder.waitForReadyRead(60000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("aperto"));

        Outcome outcome = folder.run(folder.arguments() << "--archivia"
                                                        << "nessuno");
        QVERIFY(holder.waitForFinished(60000));
        if (outcome.status == 0) {
            QCOMPARE(bytesOf(folder.booklet()),
                     bytesOf(kData / "expected" / "booklet_without_added_points.dat"));
        } else {
            QCOMPARE(outcome.status, 3);
            QVERIFY2(outcome.err.contains("Impossibile scrivere il libretto \"libretto.dat\": un "
                                          "libretto già presente con lo stesso nome è rimasto "
                                          "com'era."),
                     outcome.err.constData());
            QCOMPARE(bytesOf(folder.booklet()), QByteArray("libretto precedente\r\n"));
        }
        QVERIFY(!fs::exists(folder.root() / "libretto.dat.nuovo"));
    }
};

QTEST_GUILESS_MAIN(TestFerolanBatch)
#include "test_ferolan_batch.moc"
