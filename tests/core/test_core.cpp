#include "core/byte_words.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/first_index.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/text.h"

#include "bytes.h"
#include "cases.h"
#include "file_size_limit.h"

#include <QtTest>

#include <chrono>
#include <thread>

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace ferolan;
namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

QByteArray listed(const std::vector<std::string_view> &items) {
    QByteArray out;
    for (std::string_view item : items)
        out += '[' + bytes(item) + ']';
    return out;
}
std::size_t count(const QByteArray &text) {
    return std::size_t(text.toULongLong());
}
} // namespace

class TestCore : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldAnswerEachCase_data() { test_cases::addRows(FEROLAN_TEST_DATA "/core_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        const QByteArray expected = fields.takeLast();
        const QByteArray op = fields.takeFirst();
        const std::string a = fields.value(0).toStdString();
        QByteArray answer;
        if (op == "lines")
            answer = listed(splitLines(a));
        else if (op == "closed")
            answer = endsWithLineEnd(a) ? "yes" : "no";
        else if (op == "trim")
            answer = listed({trimBlanks(a)});
        else if (op == "columns")
            answer = listed({columns(a, count(fields[1]), count(fields[2]))});
        else if (op == "columnsFrom")
            answer = listed({columnsFrom(a, count(fields[1]))});
        else if (op == "lastChars")
            answer = listed({lastChars(a, count(fields[1]))});
        else if (op == "upper")
            answer = bytes(toUpperCp1252(a));
        else if (op == "blanked")
            answer = bytes(withControlsBlanked(a));
        else if (op == "blankedAnd") {
            std::string text = a;
            blankControls(text, fields[1][0]);
            answer = bytes(text);
        } else if (op == "printableWord" || op == "barsInWord") {
            QCOMPARE(a.size(), 8u);
            const std::uint64_t word = words::load(a.data());
            if (op == "printableWord")
                answer = words::outsidePrintableAscii(word) == 0 ? "yes" : "no";
            for (std::uint64_t bars = words::bytesEqualTo(word, '|');
                 op == "barsInWord" && bars != 0; bars &= bars - 1)
                answer += '[' + QByteArray::number(qulonglong(words::firstByte(bars))) + ']';
        } else if (op == "value")
            answer = QByteArray::number(numericValue(a), 'g', 12);
        else if (op == "leading") {
            std::size_t length = 0;
            const std::optional<double> value = leadingPlainNumber(a, length);
            answer = value ? QByteArray::number(*value, 'g', 12) + ' ' +
                                 QByteArray::number(qulonglong(length))
                           : "none";
        } else if (op == "roundDown")
            answer = bytes(wholeNumberText(roundDown(fields[0].toDouble())));
        else if (op == "threeDecimals")
            answer = bytes(threeDecimalText(fields[0].toDouble(), fields[1][0]));
        else if (op == "cp1252") {
            answer = bytes(utf8FromCp1252(a));
            QCOMPARE(bytes(cp1252FromUtf8(answer.toStdString()).value_or("refused")), fields[0]);
        } else if (op == "fromUtf8")
            answer = bytes(cp1252FromUtf8(a).value_or("refused"));
        else if (op == "path")
            answer = bytes(utf8FromPath(pathFromCp1252(a)));
        else if (op == "settings") {
            std::optional<Settings> read = parseSettings(a);
            answer = read ? listed({read->Path_pf, read->Path_tgo,
                                    read->exportCheckDone ? "done" : "to do"})
                          : "refused";
        } else if (op == "settingsDone")
            answer = bytes(settingsTextWithCheckDone({a, fields[1].toStdString(), false}));
        else if (op == "plainName")
            answer = isPlainFileName(a) ? "yes" : "no";
        else if (op == "append") {
            const fs::path file = at(QTest::currentDataTag());
            writeBytes(file, a);
            QVERIFY(appendToFile(file, "b\r\n"));
            answer = bytes(readFile(file).bytes);
        } else
            QFAIL("unknown operation " + op);
        QCOMPARE(answer, expected);
    }

    // A file of several stretches with every kind of line end: each line is handed once, in
    // order, a CR LF never split, whether the file is kept, its last lines shared, or only
    // looked through; what a taker throws reaches the reader.
    void shouldHandEveryLineOnceWhileReading() {
        std::string text;
        const char *ends[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
        for (std::size_t i = 0; text.size() < 3'500'000; ++i)
            text += "riga " + std::to_string(i) + std::string(i % 97, 'x') + ends[i % 4];
        text += "ultima senza fine";
        writeBytes(at("fed"), text);
        std::string handed;
        bool wholeLines = true;
        FileContent content =
            readFileFeeding(at("fed"), [&](std::string_view soFar, std::size_t from) {
                wholeLines = wholeLines && from == handed.size() &&
                             (soFar.ends_with('\n') || soFar.size() == text.size());
                handed += soFar.substr(from);
            });
        QVERIFY(content.ok() && content.bytes == text);
        QVERIFY(wholeLines);
        QVERIFY(handed == text);
        // A slow taker leaves lines to share at the end, unless the reading is slower still:
        // the last ones come after every line the taker had, from a line's start.
        handed.clear();
        std::string last;
        auto slowTake = [&](std::string_view soFar, std::size_t from) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            wholeLines = wholeLines && from == handed.size() && soFar.ends_with('\n');
            handed += soFar.substr(from);
        };
        // Taken on the reading thread while the taker's goes on: a flag of its own.
        bool lastWhole = true;
        content = readFileFeeding(at("fed"), slowTake, [&](std::string_view all, std::size_t from) {
            lastWhole = all.size() == text.size() && text[from - 1] == '\n';
            last = all.substr(from);
        });
        QVERIFY(content.ok() && content.bytes == text);
        QVERIFY(wholeLines && lastWhole);
        QVERIFY(handed + last == text);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            readFileFeeding(at("fed"), slowTake, [](std::string_view, std::size_t) {
                throw std::runtime_error("last");
            }));
        // The same when the lines are only looked through.
        handed.clear();
        wholeLines = true;
        const LinesRead read = readFileLines(at("fed"), [&](std::string_view lines) {
            wholeLines = wholeLines &&
                         (lines.ends_with('\n') || handed.size() + lines.size() == text.size());
            handed += lines;
        });
        QVERIFY(read.outcome == ReadOutcome::Ok && read.length == text.size());
        QVERIFY(wholeLines);
        QVERIFY(handed == text);
        QVERIFY(readFileLines(at("none"), {}).outcome == ReadOutcome::Missing);
        QVERIFY(readFileLines(at(""), {}).outcome == ReadOutcome::Unreadable);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 readFileFeeding(at("fed"), [](std::string_view, std::size_t) {
                                     throw std::runtime_error("taker");
                                 }));
    }

    // Many items on a few hashes and no room made ahead: the index grows and still finds
    // the first of equal items, and nothing for an item never recorded.
    void shouldKeepTheFirstOfEqualItemsAsTheIndexGrows() {
        std::vector<std::size_t> items;
        FirstIndex index;
        for (std::size_t i = 0; i < 1000; ++i) {
            const std::size_t item = i % 300;
            auto same = [&](std::size_t number) { return items[number] == item; };
            QCOMPARE(index.insert(item % 7, items.size(), same), item);
            items.push_back(item);
        }
        QCOMPARE(index.find(299 % 7, [&](std::size_t n) { return items[n] == 299; }), 299u);
        QVERIFY(!index.find(300 % 7, [&](std::size_t n) { return items[n] == 300; }));
        // Numbers are kept in 32 bits: one beyond is refused, never cut.
        QVERIFY_THROWS_EXCEPTION(
            std::length_error,
            index.insert(1, std::size_t{UINT32_MAX}, [](std::size_t) { return false; }));
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

    // A full disk stops an append part-way: the file keeps its old bytes, nothing of the
    // cut record.
    void shouldTakeBackAnAppendThatFailsPartWay() {
        writeBytes(at("full"), "old\r\n");
        QVERIFY(!withFileSizeLimit(
            9, [&] { return appendToFile(at("full"), "a record that does not fit\r\n"); }));
        QCOMPARE(readFile(at("full")).bytes, std::string("old\r\n"));
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
        QCOMPARE(fs::exists(file), !after.isEmpty());
        QCOMPARE(bytes(readFile(file).bytes), after);
    }

    void shouldReplaceAFileWholeAndNeverThroughALink() {
        writeBytes(at("r"), "old");
        QVERIFY(replaceFile(at("r"), "new\r\n"));
        QCOMPARE(readFile(at("r")).bytes, std::string("new\r\n"));
        QVERIFY(!fs::exists(at("r.nuovo")));
        QVERIFY(!replaceFile(at("no-folder") / "r", "x"));
        writeBytes(at("target"), "keep");
        fs::create_symlink(at("target"), at("r.nuovo"));
        QVERIFY(replaceFile(at("r"), "newer"));
        QCOMPARE(readFile(at("target")).bytes, std::string("keep"));
        QCOMPARE(readFile(at("r")).bytes, std::string("newer"));
        QVERIFY(!fs::is_symlink(at("r")));
        // Cut short by a full disk: the old file stays whole, nothing is left beside it.
        QVERIFY(!withFileSizeLimit(4, [&] { return replaceFile(at("r"), "much too long"); }));
        QCOMPARE(readFile(at("r")).bytes, std::string("newer"));
        QVERIFY(!fs::exists(at("r.nuovo")));
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "test_core.moc"
