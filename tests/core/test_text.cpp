#include "core/text.h"

#include <QtTest>

using namespace ferolan;

namespace {
QByteArray joined(const std::vector<std::string_view> &lines) {
    QByteArray out;
    for (auto line : lines)
        out += "[" + QByteArray(line.data(), static_cast<qsizetype>(line.size())) + "]";
    return out;
}
} // namespace

class TestText : public QObject {
    Q_OBJECT
private slots:
    void shouldEndLinesAtCrLfCrOrLf_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty text has no lines") << QByteArray("") << QByteArray("");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QByteArray("[a][b]");
        QTest::newRow("lone cr") << QByteArray("a\rb") << QByteArray("[a][b]");
        QTest::newRow("lone lf") << QByteArray("a\nb\n") << QByteArray("[a][b]");
        QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QByteArray("[a][][b]");
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << QByteArray("[a][b]");
        QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx") << QByteArray("[][][x]");
        QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QByteArray("[a][][b]");
        QTest::newRow("only a line end") << QByteArray("\r\n") << QByteArray("[]");
    }
    void shouldEndLinesAtCrLfCrOrLf() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(joined(splitLines(text.toStdString())), expected);
    }

    void shouldTellWhetherTheLastLineIsClosed_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("closed");
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("crlf") << QByteArray("a\r\n") << true;
        QTest::newRow("cr") << QByteArray("a\r") << true;
        QTest::newRow("lone lf") << QByteArray("a\n") << true;
        QTest::newRow("none") << QByteArray("a") << false;
    }
    void shouldTellWhetherTheLastLineIsClosed() {
        QFETCH(QByteArray, text);
        QFETCH(bool, closed);
        QCOMPARE(endsWithLineEnd(text.toStdString()), closed);
    }

    void shouldTrimOnlyBlanks() {
        QCOMPARE(trimBlanks("  a b  "), std::string_view("a b"));
        QCOMPARE(trimBlanks("\ta\t "), std::string_view("\ta\t"));
        QCOMPARE(trimBlanks("   "), std::string_view(""));
    }

    void shouldCutColumnsByPosition() {
        QCOMPARE(columns("abcdef", 2, 3), std::string_view("bcd"));
        QCOMPARE(columns("abcdef", 5, 10), std::string_view("ef"));
        QCOMPARE(columns("abc", 4, 1), std::string_view(""));
        QCOMPARE(columnsFrom("PATH_PF=c:\\x", 9), std::string_view("c:\\x"));
        QCOMPARE(columnsFrom("PATH", 9), std::string_view(""));
        QCOMPARE(lastChars("PF07/0012/A123", 4), std::string_view("A123"));
        QCOMPARE(lastChars("AB", 4), std::string_view("AB"));
    }

    void shouldUpperCaseByTheOneRule_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ascii") << QByteArray("via roma 1") << QByteArray("VIA ROMA 1");
        QTest::newRow("accented") << QByteArray("\xe0\xe8\xe9\xec\xf2\xf9")
                                  << QByteArray("\xc0\xc8\xc9\xcc\xd2\xd9");
        QTest::newRow("thorn and division sign")
            << QByteArray("\xfe\xf7") << QByteArray("\xde\xf7");
        QTest::newRow("s z oe y caron")
            << QByteArray("\x9a\x9c\x9e\xff") << QByteArray("\x8a\x8c\x8e\x9f");
        QTest::newRow("sharp s and micro stay") << QByteArray("\xdf\xb5") << QByteArray("\xdf\xb5");
        QTest::newRow("capitals stay") << QByteArray("ABC\xc0") << QByteArray("ABC\xc0");
    }
    void shouldUpperCaseByTheOneRule() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(toUpperCp1252(text.toStdString())), expected);
    }
};

QTEST_APPLESS_MAIN(TestText)
#include "test_text.moc"
