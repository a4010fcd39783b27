#include "core/files.h"
#include "core/text.h"
#include "header/logic/tabella_comuni.h"

#include <QtTest>

#include <ctime>
#include <regex>
#include <set>

using namespace ferolan;

namespace {

const std::filesystem::path kTable =
    std::filesystem::path(FEROLAN_SOURCE_DIR) / "data" / "cod_comuni_2.cod";

bool isCodeCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A name that makes a file or folder on Windows as well: no character Windows refuses in a
// name, no trailing dot or blank, which Windows drops, and no leading blank, easily lost when
// the name is typed. Told here in full, not by the program's own rule, which it checks.
bool isPortableName(std::string_view name) {
    return !name.empty() && name.find_first_of("/\\:*?\"<>|") == name.npos &&
           !name.starts_with(' ') && !name.ends_with(' ') && !name.ends_with('.');
}

// A small letter of Windows-1252: a-z, š œ ž, à to þ but ÷, and ÿ.
bool isSmallLetter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || byte == 0x9A || byte == 0x9C || byte == 0x9E ||
           (byte >= 0xE0 && byte != 0xF7);
}

bool isWindowsDeviceName(std::string_view name) {
    return std::regex_match(std::string(name), std::regex("CON|PRN|AUX|NUL|(COM|LPT)[1-9]"));
}

QString shown(std::string_view line) {
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace

class TestCodeTable : public QObject {
    Q_OBJECT
    std::string bytes;

private slots:
    void initTestCase() {
        FileContent content = readFile(kTable);
        QVERIFY2(content.ok(), "the code table is missing from data/");
        bytes = std::move(content.bytes);
    }

    // Windows-1252 text with CR LF line ends, printable characters only; every municipality
    // once, under a province whose name makes a folder on Windows too.
    void shouldListEveryMunicipalityOnceUnderAProvince() {
        const QByteArray text = QByteArray::fromStdString(bytes);
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(text.count('\r'), text.count("\r\n"));
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        const std::string_view undefined("\x81\x8D\x8F\x90\x9D", 5);
        QByteArrayList lines = text.chopped(2).split('\n');
        for (QByteArray &line : lines)
            line.chop(1);
        QVERIFY(!lines.empty() && lines.front().startsWith('*'));
        std::set<std::string_view> codes;
        std::set<std::string_view> provinces;
        std::size_t inGroup = 0;
        for (const QByteArray &bytesOfLine : lines) {
            const std::string_view line(bytesOfLine.constData(), std::size_t(bytesOfLine.size()));
            for (char c : line)
                QVERIFY2(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F &&
                             undefined.find(c) == undefined.npos && !isSmallLetter(c),
                         qPrintable(shown(line)));
            if (line.starts_with('*')) {
                std::string_view province = line.substr(1);
                QVERIFY2(provinces.insert(province).second, qPrintable(shown(line)));
                QVERIFY2(isPortableName(province) && !isWindowsDeviceName(province),
                         qPrintable(shown(line)));
                QVERIFY2(provinces.size() == 1 || inGroup > 0, "a province without municipalities");
                inGroup = 0;
                continue;
            }
            std::string_view code = line.substr(0, 4);
            QVERIFY2(code.size() == 4 && std::ranges::all_of(code, isCodeCharacter),
                     qPrintable(shown(line)));
            QVERIFY2(line.substr(4, 3) == " - " && line.size() > 7, qPrintable(shown(line)));
            QVERIFY2(codes.insert(code).second, qPrintable("repeated code " + shown(code)));
            QVERIFY2(isPortableName(line), qPrintable(shown(line)));
            ++inGroup;
        }
        QVERIFY(inGroup > 0);
        QVERIFY2(codes.size() > 7800 && codes.size() < 8100,
                 qPrintable(QString::number(codes.size())));
        QVERIFY(provinces.size() > 100);
    }

    // The fiducial window asks for one line per fiducial point of the job. Processor time,
    // not wall time, so that a busy machine does not fail the test.
    void shouldFindTheLinesOfAThousandPointsQuickly() {
        Tabella_comuni table(kTable);
        std::vector<std::string_view> lines = splitLines(bytes);
        std::clock_t start = std::clock();
        std::size_t found = 0;
        for (std::size_t i = 0; i < 1000; ++i)
            found += table.Riga_del_comune(columns(lines[i * 7 % lines.size()], 1, 4)).has_value();
        auto milliseconds = static_cast<long>((std::clock() - start) * 1000 / CLOCKS_PER_SEC);
        qInfo("1000 lookups of a line: %ld ms of processor time", milliseconds);
        QCOMPARE(found, std::size_t(1000));
        // Far above the real figure, far below parsing the whole table anew for every point.
        QVERIFY2(milliseconds < 1000, qPrintable(QString::number(milliseconds) + " ms"));
    }
};

QTEST_APPLESS_MAIN(TestCodeTable)
#include "test_code_table.moc"
