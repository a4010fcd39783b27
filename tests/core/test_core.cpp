#include "core/cp1252.h"
#include "core/files.h"
#include "core/first_index.h"
#include "core/numbers.h"
#include "core/parallel.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/text_hash.h"

#include "bytes.h"
#include "cases.h"
#include "file_size_limit.h"

#include <QtTest>

#include <array>
#include <chrono>
#include <random>
#include <thread>
#include <unordered_map>

#include <csignal>
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
        } else if (op == "value")
            answer = QByteArray::number(numericValue(a), 'g', 12);
        else if (op == "bits")
            answer = numericValue(a) == fields[0].toDouble() ? "exact" : "inexact";
        else if (op == "exact") {
            const std::optional<double> value = exactNumericValue(a, fields[1] == "yes");
            answer = value ? QByteArray::number(*value, 'g', 12) : "none";
        } else if (op == "decimals")
            answer = bytes(decimalText(fields[0].toDouble(), fields[1].toInt(), '.'));
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

    // A text of every kind of line end: cut for parts, each piece ends after a line end (a CR
    // LF never cut in two) and the pieces cover the text in order; a file looked through hands
    // each run of lines once, in order.
    void shouldCutTextsAtLineEndsOnly() {
        std::string text;
        const char *ends[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
        for (std::size_t i = 0; text.size() < 3'500'000; ++i)
            text += "riga " + std::to_string(i) + std::string(i % 97, 'x') + ends[i % 4];
        text += "ultima senza fine";
        for (std::size_t parts : {1, 2, 3, 7, 64}) {
            std::size_t covered = 0;
            bool alignedInOrder = true;
            for (std::string_view piece : lineAlignedPieces(text, parts)) {
                const std::size_t end = covered + piece.size();
                alignedInOrder = alignedInOrder && piece.data() == text.data() + covered &&
                                 (end == text.size() || text[end - 1] == '\n' ||
                                  (text[end - 1] == '\r' && text[end] != '\n'));
                covered = end;
            }
            QVERIFY(alignedInOrder);
            QCOMPARE(covered, text.size());
        }
        QCOMPARE(lineAlignedPieces("a\r\nb", 8).size(), std::size_t(2));
        QCOMPARE(lineAlignedPieces("", 3).size(), std::size_t(1));

        writeBytes(at("fed"), text);
        std::string handed;
        bool wholeLines = true;
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
    }

    // Every fast path against its plain twin on a million values drawn with a fixed seed: the
    // quick decimal writer, near halves above all, and the first-item index, on a weak hash
    // that makes many items share a slot's run.
    void shouldAgreeWithThePlainWayOnAMillionValues_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("decimals") << "decimals";
        QTest::newRow("first-item index") << "index";
    }
    void shouldAgreeWithThePlainWayOnAMillionValues() {
        QFETCH(QString, path);
        std::mt19937_64 random(20261207);
        constexpr std::size_t kValues = 1'000'000;
        std::size_t differences = 0, fastTaken = 0;
        if (path == "decimals") {
            std::uniform_real_distribution<double> anywhere(-2e9, 2e9);
            std::uniform_int_distribution<std::int64_t> thousandths(-1'000'000'000'000,
                                                                    1'000'000'000'000);
            std::uniform_int_distribution<int> steps(-4, 4), decimals(0, 4);
            for (std::size_t i = 0; i < kValues; ++i) {
                double value = anywhere(random);
                if (i % 2 == 0) { // a half of the last decimal, give or take a few units last place
                    value = (static_cast<double>(thousandths(random)) + 0.5) / 1000;
                    for (int step = steps(random); step != 0; step += step > 0 ? -1 : 1)
                        value = std::nextafter(value, step > 0 ? 1e300 : -1e300);
                }
                const int places = decimals(random);
                std::array<char, kQuickDecimalRoom> room;
                const std::size_t length = quickDecimalText(room, value, places, ',');
                if (length == 0)
                    continue;
                ++fastTaken;
                std::string plain;
                appendPlainDecimalText(plain, value, places, ',');
                if (std::string_view(room.data(), length) != plain && ++differences < 5)
                    qWarning("%.17g to %d decimals: %.*s against %s", value, places, int(length),
                             room.data(), plain.c_str());
            }
        } else {
            // Names from a pool small enough to repeat, on a hash of 18 bits mixed over all
            // 64, so that different names share hashes and slots' tags.
            std::uniform_int_distribution<std::size_t> pick(0, 300'000);
            std::vector<std::string> items;
            FirstIndex index;
            std::unordered_map<std::string, std::size_t> firstOf;
            auto weakHash = [](const std::string &name) {
                std::uint64_t z = (textHash(name) & 0x3FFFF) + 0x9E3779B97F4A7C15u;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
                return (z ^ (z >> 27)) * 0x94D049BB133111EBu;
            };
            for (std::size_t i = 0; i < kValues; ++i) {
                std::string name = "PF" + std::to_string(pick(random));
                const std::uint64_t hash = weakHash(name);
                auto same = [&](std::size_t number) { return items[number] == name; };
                const bool look = i % 4 == 3;
                const std::optional<std::size_t> plain =
                    firstOf.contains(name) ? std::optional(firstOf[name]) : std::nullopt;
                if (look) {
                    differences += index.find(hash, same) != plain;
                } else {
                    items.push_back(name);
                    const std::size_t first = index.insert(hash, items.size() - 1, same);
                    firstOf.emplace(name, items.size() - 1);
                    differences += first != firstOf[name];
                }
                ++fastTaken;
            }
        }
        QCOMPARE(differences, std::size_t(0));
        QVERIFY2(fastTaken > kValues / 3, "the fast path was hardly taken");
    }

    // Items on hashes that use all 64 bits, several items to a hash, no room made ahead: the
    // index grows, re-placing what it holds, and still finds the first of equal items. The
    // 256 items fill the table exactly when it grows only once full, so the look for an item
    // never recorded, made in a child process, must end.
    void shouldKeepTheFirstOfEqualItemsAsTheIndexGrows() {
        auto hashOf = [](std::size_t item) {
            std::uint64_t z = item % 97 + 0x9E3779B97F4A7C15u;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
            return (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        };
        std::vector<std::size_t> items;
        FirstIndex index;
        auto insert = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                const std::size_t item = i % 256;
                auto same = [&](std::size_t number) { return items[number] == item; };
                QCOMPARE(index.insert(hashOf(item), items.size(), same), item);
                items.push_back(item);
            }
        };
        insert(0, 256);
        const pid_t child = fork();
        if (child == 0)
            _exit(index.find(hashOf(256), [&](std::size_t n) { return items[n] == 256; }) ? 1 : 0);
        int status = -1;
        for (int waited = 0; waited < 100 && waitpid(child, &status, WNOHANG) == 0; ++waited)
            QThread::msleep(50);
        if (status == -1) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            QFAIL("the look for an item never recorded does not end");
        }
        QCOMPARE(status, 0);
        insert(256, 600);
        for (std::size_t item : {0u, 96u, 97u, 255u})
            QCOMPARE(index.find(hashOf(item), [&](std::size_t n) { return items[n] == item; }),
                     std::optional<std::size_t>(item));
        // Numbers are kept in 32 bits: one beyond is refused, never cut.
        QVERIFY_THROWS_EXCEPTION(
            std::length_error,
            index.insert(1, std::size_t{UINT32_MAX}, [](std::size_t) { return false; }));
    }

    // Another process holds the lock: the append waits for it and lands after its record; when
    // the process keeps it beyond the wait (shortened here), the append gives up writing nothing.
    void shouldWaitForTheLockOfAnotherProcess_data() {
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("released in time") << 300 << 10000 << QByteArray("other\r\nmine\r\n");
        QTest::newRow("kept beyond the wait") << 1500 << 200 << QByteArray("other\r\n");
    }
    void shouldWaitForTheLockOfAnotherProcess() {
        QFETCH(int, holdMs);
        QFETCH(int, waitMs);
        QFETCH(QByteArray, after);
        const fs::path file = at(QTest::currentDataTag());
        int ready[2];
        QVERIFY(pipe(ready) == 0);
        pid_t child = fork();
        if (child == 0) {
            bool created = false;
            platform::File held = platform::File::openForAppend(file, created);
            bool locked =
                held.lockExclusive(std::chrono::seconds(1)) == platform::File::LockResult::Locked;
            char signal = locked ? 'L' : 'F';
            bool told = write(ready[1], &signal, 1) == 1;
            usleep(static_cast<useconds_t>(holdMs) * 1000);
            _exit(told && held.write("other\r\n") ? 0 : 1);
        }
        char signal = 0;
        QVERIFY(read(ready[0], &signal, 1) == 1);
        QCOMPARE(signal, 'L');
        QElapsedTimer waited;
        waited.start();
        setAppendLockWaitForTesting(std::chrono::milliseconds(waitMs));
        const AppendOutcome outcome = appendLocked(file, "mine\r\n");
        setAppendLockWaitForTesting(kAppendLockWait);
        QVERIFY(waited.elapsed() >= 150);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(status, 0);
        QVERIFY(outcome == (waitMs > holdMs ? AppendOutcome::Appended : AppendOutcome::Busy));
        QCOMPARE(bytes(readFile(file).bytes), after);
        close(ready[0]);
        close(ready[1]);
    }

    // The file removed, or replaced by another, while the append waited for its lock: the
    // record goes into the file now at the path, never into the one that is gone.
    void shouldAppendToTheFileNowAtThePath_data() {
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("removed") << QByteArray() << QByteArray("mine\r\n");
        QTest::newRow("replaced") << QByteArray("new\r\n") << QByteArray("new\r\nmine\r\n");
    }
    void shouldAppendToTheFileNowAtThePath() {
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, after);
        const fs::path file = at(QTest::currentDataTag());
        writeBytes(file, "old\r\n");
        onNextAppendForTesting(
            [&] {
                fs::remove(file);
                if (!replacement.isEmpty())
                    writeBytes(file, replacement);
            },
            false);
        QVERIFY(appendToFile(file, "mine\r\n"));
        QCOMPARE(bytes(readFile(file).bytes), after);
    }

    // Under the lock the watch sees only what others appended since it last looked, never its
    // own records, and is not asked when nothing came; it may decline the append.
    void shouldShowTheWatchOnlyWhatOthersAppended() {
        const fs::path file = at("watched");
        writeBytes(file, "a\r\n");
        QByteArrayList shown;
        AppendWatch watch{3, [&](std::string_view unseen) {
                              shown << bytes(unseen);
                              return unseen.find("no") == unseen.npos;
                          }};
        auto appendAs = [&](const char *record, const char *others) {
            std::ofstream(file, std::ios::binary | std::ios::app) << others;
            return appendLocked(file, record, &watch);
        };
        QVERIFY(appendAs("b\r\n", "") == AppendOutcome::Appended);
        QVERIFY(appendAs("d\r\n", "c\r\n") == AppendOutcome::Appended);
        QVERIFY(appendAs("e\r\n", "") == AppendOutcome::Appended);
        QVERIFY(appendAs("f\r\n", "no\r\n") == AppendOutcome::Declined);
        QCOMPARE(shown, QByteArrayList({"c\r\n", "no\r\n"}));
        QCOMPARE(bytes(readFile(file).bytes), QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nno\r\n"));
        QCOMPARE(watch.seenUpTo, std::uint64_t(19));
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
        onNextAppendForTesting(
            [&] {
                if (!other.isEmpty())
                    std::ofstream(file, std::ios::binary | std::ios::app) << other.toStdString();
            },
            true);
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
