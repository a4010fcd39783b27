#include "header/logic/tabella_comuni.h"

#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray joined(const std::vector<std::string> &entries) {
    QByteArray out;
    for (const auto &entry : entries)
        out += "[" + bytes(entry) + "]";
    return out;
}

QByteArray lineOrNone(const std::optional<std::string> &line) {
    return line ? "[" + bytes(*line) + "]" : QByteArray("none");
}

void writeBytes(const fs::path &path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

fs::path dataFile(const QByteArray &name) {
    return fs::path(FEROLAN_TEST_DATA) / name.toStdString();
}

} // namespace

class TestTabellaComuni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    // Each row asks one operation of a small table and compares the whole answer: lists as
    // "[entry]..." and a line as "[line]" or "none".
    void shouldAnswerAsAFreshReadOfTheTable_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("operation");
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char *name, const char *file, const char *operation,
                      const char *argument, const char *expected) {
            QTest::newRow(name) << QByteArray(file) << QByteArray(operation) << QByteArray(argument)
                                << QByteArray(expected);
        };
        row("provinces in file order", "two_provinces.cod", "province", "", "[P][Q]");
        row("municipalities stop at the next header", "two_provinces.cod", "comuni", "P",
            "[C001 - UNO]");
        row("province of a code", "two_provinces.cod", "provincia", "C002", "Q");
        row("unknown code gives the last header", "two_provinces.cod", "provincia", "Z999", "Q");
        row("line of a code", "two_provinces.cod", "riga", "C001", "[C001 - UNO]");
        row("no line for an unknown code", "two_provinces.cod", "riga", "Z999", "none");
        row("unknown province has no municipalities", "two_provinces.cod", "comuni", "X", "");

        row("header listed trimmed", "blanks.cod", "province", "", "[SPAZI]");
        row("group chosen by the trimmed name", "blanks.cod", "comuni", "SPAZI",
            "[S001 - A][S002 - B]");
        row("wanted name trimmed too", "blanks.cod", "comuni", " SPAZI   ", "[S001 - A][S002 - B]");
        row("province returned untrimmed", "blanks.cod", "provincia", "S001", "  SPAZI  ");
        row("line returned as read", "blanks.cod", "riga", "  S0", "[  S002 - B  ]");
        row("leading blanks hide a code", "blanks.cod", "riga", "S002", "none");

        row("repeated province listed twice", "groups.cod", "province", "", "[P][Q][p][P]");
        row("both groups, ignored line skipped, empty line kept", "groups.cod", "comuni", "P",
            "[P001 - UNO][P002 - DUE][][P003 - QUATTRO]");
        row("letter case tells provinces apart", "groups.cod", "comuni", "p", "[p001 - PICCOLA]");
        row("province of the second group", "groups.cod", "provincia", "P003", "P");
        row("last line without a line end", "groups.cod", "riga", "P003", "[P003 - QUATTRO]");
        row("codes compared with their case", "groups.cod", "riga", "p003", "none");

        row("short lines listed, orphan and ignored lines not", "odd_lines.cod", "comuni", "P",
            "[AB][ABC][D001 - PRIMA][D001 - SECONDA][L001 - A][CAPO]");
        row("line before any header has no province", "odd_lines.cod", "provincia", "O001", "");
        row("line before any header found by its code", "odd_lines.cod", "riga", "O001",
            "[O001 - ORFANO]");
        row("short line never matches a four-character code", "odd_lines.cod", "riga", "ABCD",
            "none");
        row("short line compares as it is", "odd_lines.cod", "riga", "ABC", "[ABC]");
        row("first of a repeated code", "odd_lines.cod", "riga", "D001", "[D001 - PRIMA]");
        row("ignored line found by the line lookup", "odd_lines.cod", "riga", "-D01",
            "[-D01 - IGNORATA]");
        row("ignored line skipped by the province lookup", "odd_lines.cod", "provincia", "-D01",
            "R");
        row("lone LF ends a line", "odd_lines.cod", "riga", "L001", "[L001 - A]");
        row("lone CR ends a line", "odd_lines.cod", "provincia", "R001", "R");
        row("code longer than four characters", "odd_lines.cod", "riga", "D0011", "none");

        row("empty table has no provinces", "empty.cod", "province", "", "");
        row("empty table has no municipalities", "empty.cod", "comuni", "", "");
        row("empty table has no province for a code", "empty.cod", "provincia", "C001", "");
        row("empty table has no line", "empty.cod", "riga", "C001", "none");
    }
    void shouldAnswerAsAFreshReadOfTheTable() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, operation);
        QFETCH(QByteArray, argument);
        QFETCH(QByteArray, expected);
        Tabella_comuni table(dataFile(file));
        std::string code = argument.toStdString();
        QByteArray answer;
        if (operation == "province")
            answer = joined(table.Elenco_province());
        else if (operation == "comuni")
            answer = joined(table.Comuni_della_provincia(code));
        else if (operation == "provincia")
            answer = bytes(table.Provincia_del_comune(code));
        else
            answer = lineOrNone(table.Riga_del_comune(code));
        QCOMPARE(answer, expected);
        QCOMPARE(table.lastOutcome(), ReadOutcome::Ok);
    }

    void shouldReadAChangedTableAgain() {
        fs::path file = at("changing.cod");
        writeBytes(file, "*P\r\nC001 - UNO\r\n");
        Tabella_comuni table(file);
        QCOMPARE(lineOrNone(table.Riga_del_comune("C001")), QByteArray("[C001 - UNO]"));
        QCOMPARE(joined(table.Elenco_province()), QByteArray("[P]"));

        // Same size and same modification time: only the content tells the change.
        auto written = fs::last_write_time(file);
        writeBytes(file, "*Q\r\nC001 - DUE\r\n");
        fs::last_write_time(file, written);
        QCOMPARE(lineOrNone(table.Riga_del_comune("C001")), QByteArray("[C001 - DUE]"));
        QCOMPARE(joined(table.Elenco_province()), QByteArray("[Q]"));
        QCOMPARE(bytes(table.Provincia_del_comune("C001")), QByteArray("Q"));
        QCOMPARE(joined(table.Comuni_della_provincia("P")), QByteArray(""));

        writeBytes(file, "*Q\r\nC001 - DUE\r\nC002 - TRE\r\n");
        QCOMPARE(joined(table.Comuni_della_provincia("Q")), QByteArray("[C001 - DUE][C002 - TRE]"));

        // Cut back to what it began with: a prefix of the bytes read before.
        writeBytes(file, "*Q\r\nC001 - DUE\r\n");
        QCOMPARE(joined(table.Comuni_della_provincia("Q")), QByteArray("[C001 - DUE]"));
    }

    void shouldAnswerAsEmptyAndSayWhyWhenTheTableCannotBeRead() {
        fs::path file = at("coming_and_going.cod");
        writeBytes(file, "*P\r\nC001 - UNO\r\n");
        Tabella_comuni table(file);
        QCOMPARE(joined(table.Elenco_province()), QByteArray("[P]"));

        fs::remove(file);
        QCOMPARE(joined(table.Elenco_province()), QByteArray(""));
        QCOMPARE(table.lastOutcome(), ReadOutcome::Missing);
        QCOMPARE(lineOrNone(table.Riga_del_comune("C001")), QByteArray("none"));
        QCOMPARE(bytes(table.Provincia_del_comune("C001")), QByteArray(""));
        QCOMPARE(joined(table.Comuni_della_provincia("P")), QByteArray(""));

        fs::create_directory(file);
        QCOMPARE(lineOrNone(table.Riga_del_comune("C001")), QByteArray("none"));
        QCOMPARE(table.lastOutcome(), ReadOutcome::Unreadable);

        fs::remove(file);
        writeBytes(file, "*P\r\nC001 - UNO\r\n");
        QCOMPARE(lineOrNone(table.Riga_del_comune("C001")), QByteArray("[C001 - UNO]"));
        QCOMPARE(table.lastOutcome(), ReadOutcome::Ok);
    }
};

QTEST_APPLESS_MAIN(TestTabellaComuni)
#include "test_tabella_comuni.moc"
