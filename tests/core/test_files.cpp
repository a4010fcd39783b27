#include "core/files.h"

#include <QtTest>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {
void writeBytes(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
} // namespace

class TestFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldTellMissingFromUnreadable() {
        QCOMPARE(readFile(at("none")).outcome, ReadOutcome::Missing);
        fs::create_directory(at("folder"));
        QCOMPARE(readFile(at("folder")).outcome, ReadOutcome::Unreadable);
        writeBytes(at("a"), "x\r\n");
        auto content = readFile(at("a"));
        QVERIFY(content.ok());
        QCOMPARE(content.bytes, std::string("x\r\n"));
    }

    void shouldAppendOnANewLine_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("closed") << QByteArray("a\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("open") << QByteArray("a") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone lf") << QByteArray("a\n") << QByteArray("a\nb\r\n");
        QTest::newRow("lone cr") << QByteArray("a\r") << QByteArray("a\rb\r\n");
        QTest::newRow("empty") << QByteArray("") << QByteArray("b\r\n");
    }
    void shouldAppendOnANewLine() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeBytes(at("append"), before.toStdString());
        QVERIFY(appendToFile(at("append"), "b\r\n"));
        QCOMPARE(QByteArray::fromStdString(readFile(at("append")).bytes), after);
    }

    void shouldCreateAMissingFileOnAppend() {
        QVERIFY(appendToFile(at("new"), "b\r\n"));
        QCOMPARE(readFile(at("new")).bytes, std::string("b\r\n"));
        QVERIFY(!appendToFile(at("no-folder") / "x", "b\r\n"));
    }

    // Another process holds the lock: the append waits for it and lands after its record.
    void shouldWaitForTheLockOfAnotherProcess() {
        int ready[2];
        QVERIFY(pipe(ready) == 0);
        pid_t child = fork();
        if (child == 0) {
            bool created = false;
            platform::File file = platform::File::openForAppend(at("locked"), created);
            bool locked =
                file.lockExclusive(std::chrono::seconds(1)) == platform::File::LockResult::Locked;
            char signal = locked ? 'L' : 'F';
            bool told = write(ready[1], &signal, 1) == 1;
            usleep(300'000);
            _exit(told && file.write("other\r\n") ? 0 : 1);
        }
        char signal = 0;
        QVERIFY(read(ready[0], &signal, 1) == 1);
        QCOMPARE(signal, 'L');
        QElapsedTimer waited;
        waited.start();
        QVERIFY(appendToFile(at("locked"), "mine\r\n"));
        QVERIFY(waited.elapsed() >= 150);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(status, 0);
        QCOMPARE(readFile(at("locked")).bytes, std::string("other\r\nmine\r\n"));
        close(ready[0]);
        close(ready[1]);
    }

    // A writer appends between the start of a failing append and its lock: taking the failed
    // append back must keep that record, and must not remove a file that holds it.
    void shouldTakeBackOnlyItsOwnFailedAppend_data() {
        QTest::addColumn<bool>("existed");
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("existing file")
            << true << QByteArray("other\r\n") << QByteArray("old\r\nother\r\n");
        QTest::newRow("file created by the append, then filled by another")
            << false << QByteArray("other\r\n") << QByteArray("other\r\n");
        QTest::newRow("file created by the append alone") << false << QByteArray() << QByteArray();
    }
    void shouldTakeBackOnlyItsOwnFailedAppend() {
        QFETCH(bool, existed);
        QFETCH(QByteArray, other);
        QFETCH(QByteArray, after);
        fs::path file = at(QTest::currentDataTag());
        if (existed)
            writeBytes(file, "old\r\n");
        failNextAppendForTesting([&] {
            if (!other.isEmpty())
                std::ofstream(file, std::ios::binary | std::ios::app) << other.toStdString();
        });
        QVERIFY(!appendToFile(file, "mine, cut short by a full disk\r\n"));
        if (after.isEmpty())
            QVERIFY(!fs::exists(file));
        else
            QCOMPARE(QByteArray::fromStdString(readFile(file).bytes), after);
    }

    void shouldTellPlainFileNames_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("municipality line") << QByteArray("A074 - AGLIE'") << true;
        QTest::newRow("accented") << QByteArray("CANT\xd9") << true;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("dot") << QByteArray(".") << false;
        QTest::newRow("dot dot") << QByteArray("..") << false;
        QTest::newRow("slash") << QByteArray("BOLZANO/BOZEN") << false;
        QTest::newRow("backslash") << QByteArray("a\\b") << false;
        for (char c : std::string(":*?\"<>|"))
            QTest::newRow(("reserved " + std::string(1, c)).c_str()) << QByteArray(1, c) << false;
        QTest::newRow("control") << QByteArray("a\tb") << false;
    }
    void shouldTellPlainFileNames() {
        QFETCH(QByteArray, name);
        QFETCH(bool, plain);
        QCOMPARE(isPlainFileName(name.toStdString()), plain);
    }

    void shouldReplaceAFileWhole() {
        writeBytes(at("r"), "old");
        QVERIFY(replaceFile(at("r"), "new\r\n"));
        QCOMPARE(readFile(at("r")).bytes, std::string("new\r\n"));
        QVERIFY(!fs::exists(at("r.nuovo")));
        QVERIFY(!replaceFile(at("no-folder") / "r", "x"));

        // A leftover link beside is replaced, its target left alone.
        writeBytes(at("target"), "keep");
        fs::create_symlink(at("target"), at("r.nuovo"));
        QVERIFY(replaceFile(at("r"), "newer"));
        QCOMPARE(readFile(at("target")).bytes, std::string("keep"));
        QCOMPARE(readFile(at("r")).bytes, std::string("newer"));
        QVERIFY(!fs::is_symlink(at("r")));
    }
};

QTEST_APPLESS_MAIN(TestFiles)
#include "test_files.moc"
