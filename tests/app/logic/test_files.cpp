#include "app/logic/files.h"

#include <QtTest>

#include <filesystem>
#include <fstream>

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
    }
};

QTEST_APPLESS_MAIN(TestFiles)
#include "test_files.moc"
