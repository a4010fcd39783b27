#include "core/files.h"
#include "core/numbers.h"
#include "job/delimited_job.h"
#include "job/master_station.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include "cases.h"

#include <QtTest>

#include <array>
#include <fstream>
#include <functional>

using namespace ferolan;

namespace {

QByteArray dump(const PointList &points) {
    QByteArray out;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        for (int column = 1; column <= PointList::kColumns; ++column) {
            std::string_view field = points.field(row, column);
            out += '[' + QByteArray(field.data(), static_cast<qsizetype>(field.size())) + ']';
        }
        out += '\n';
    }
    return out;
}

// A job line with text right-aligned in the columns that end at `ends` (counted from 1).
std::string jobLine(std::string line, const QByteArrayList &cells,
                    std::initializer_list<std::size_t> ends) {
    auto cell = cells.begin();
    for (std::size_t end : ends) {
        const std::string text = (cell++)->toStdString();
        line.resize(end - text.size(), ' ');
        line += text;
    }
    return line + "\r\n";
}

} // namespace

class TestJob : public QObject {
    Q_OBJECT
private slots:
    void shouldAnswerEachCase_data() { test_cases::addRows(FEROLAN_TEST_DATA "/job_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        const QByteArray expected = fields.takeLast();
        const QByteArray op = fields.takeFirst();
        QByteArray answer;
        PointList points;
        if (op == "master") {
            const QByteArray height = fields.takeLast();
            std::string job;
            for (qsizetype i = 0; i < fields.size(); ++i)
                job += jobLine("P" + std::to_string(i + 1), {fields[i], i == 1 ? height : ""},
                               {116, 124});
            QVERIFY(points.load(job));
            MasterStation master = masterStationAt(points, 2);
            answer = QByteArray::fromStdString(master.Punto_master) + ' ' +
                     QByteArray::number(qulonglong(master.Riga_master)) + ' ' +
                     QByteArray::number(master.Quota_master) + ' ' +
                     QByteArray::number(master.Est_media);
        } else if (op == "last") {
            const QByteArray variance = "0.000001234";
            std::string last =
                jobLine("P2",
                        {"4448161.135", "606701.266", "4515929.467", "1403617", "317.111", variance,
                         variance, variance, variance, variance, variance},
                        {80, 92, 104, 116, 124, 136, 148, 160, 172, 184, 196});
            last = last.substr(0, fields[0].toUInt()) + fields[1].toStdString();
            QVERIFY(
                points.load(jobLine("P1", {"4448006.973", "606794.230", "4516065.343", "1403600"},
                                    {80, 92, 104, 116}) +
                            last));
            answer = QByteArray::number(qulonglong(points.truncatedRow())) +
                     (hasUsableCoordinates(points, 2) ? " usable " : " unusable ") +
                     QByteArray::number(points.meanEast(), 'f', 3);
        } else if (op == "without") {
            QVERIFY(points.load(
                jobLine("P1", {"4448006.973", "606794.230", "4516065.343"}, {80, 92, 104}) +
                "P2\r\nP3\r\nP2\r\nP4\r\n"));
            for (std::string_view name : pointsWithoutCoordinates(points, fields[0].toStdString()))
                answer +=
                    (answer.isEmpty() ? "" : " ") + QByteArray(name.data(), qsizetype(name.size()));
        } else if (op == "delimited") { // format file, file bytes: the rows and what is told
            const FormatParsing format = parseFormat(fields[0].toStdString());
            QVERIFY2(format.format, format.problem.c_str());
            DelimitedReading reading = readDelimited(fields[1].toStdString(), *format.format);
            const bool loaded = points.loadJobText(reading.jobText) == PointList::FileLoad::Loaded;
            answer = loaded ? dump(points).replace('\n', '/') : "refused";
            for (std::size_t row = 1; loaded && row <= points.rowCount(); ++row)
                answer += QByteArray::fromStdString(std::string(points.varianceColumns(row)));
            for (const auto &messages :
                 {leftOutMessages("f", reading), conversionMessages(reading)})
                for (const std::string &message : messages)
                    answer += " " + QByteArray::fromStdString(message);
        } else if (op == "format") { // a format file's text: the problem, or the text saved
            const FormatParsing format = parseFormat(fields[0].toStdString());
            answer = QByteArray::fromStdString(format.format ? formatFileText(*format.format)
                                                             : format.problem);
        } else if (op == "dat") {
            answer = QByteArray::fromStdString(withDatExtension(fields[0].toStdString()));
        } else {
            QVERIFY(points.load(jobLine("P", fields, {80, 92, 104})));
            answer = hasUsableCoordinates(points, 1) ? "yes" : "no";
        }
        QCOMPARE(answer, expected);
    }

    void shouldReadEveryLineByFixedColumns() {
        PointList points;
        QCOMPARE(points.rowCount(), std::size_t(1)); // one empty row before any job
        QCOMPARE(points.field(1, PointList::Name), std::string_view());
        QVERIFY(points.load(readFile(FEROLAN_TEST_DATA "/job_edge_cases.txt").bytes));
        QCOMPARE(dump(points), QByteArray::fromStdString(
                                   readFile(FEROLAN_TEST_DATA "/job_edge_cases.expected").bytes));
    }

    // A job file of several stretches, with every kind of line end and blank lines, reads
    // as the same bytes in memory do, its mean east summed in row order; a file that cannot
    // be read changes nothing.
    void shouldLoadAJobFileAsItsBytes() {
        std::string job;
        const char *ends[] = {"\r\n", "\n", "\r", "\r\n  \r\n"};
        long double eastSum = 0;
        std::size_t i = 0;
        for (; job.size() < 2'500'000; ++i) {
            const QByteArray east =
                QByteArray::number(1'500'000.001 + double(i % 1000) / 3, 'f', 3);
            eastSum += numericValue(east.toStdString());
            std::string line = jobLine("P" + std::to_string(i),
                                       {QByteArray::number(4448000.0 + double(i % 1000), 'f', 3),
                                        "606794.230", "4516065.343", east},
                                       {80, 92, 104, 116});
            job += line.substr(0, line.size() - 2) + ends[i % 4];
        }
        const QTemporaryDir dir;
        const std::filesystem::path file =
            std::filesystem::path(dir.path().toStdString()) / "job.txt";
        std::ofstream(file, std::ios::binary) << job;
        PointList fromFile, fromBytes;
        QVERIFY(fromFile.loadFile(file) == PointList::FileLoad::Loaded);
        QVERIFY(fromBytes.load(job));
        QVERIFY(dump(fromFile) == dump(fromBytes));
        QCOMPARE(fromFile.rowCount(), i);
        QCOMPARE(fromFile.meanEast(), static_cast<double>(eastSum / i));
        QVERIFY(fromFile.loadFile(file.parent_path() / "missing.txt") ==
                PointList::FileLoad::Unreadable);
        QVERIFY(fromFile.loadFile(file.parent_path()) == PointList::FileLoad::Unreadable);
        QCOMPARE(fromFile.rowCount(), fromBytes.rowCount());
        // Files that are no job leave the list as it was.
        const std::pair<std::string, PointList::FileLoad> notJobs[] = {
            {"", PointList::FileLoad::Empty},
            {"\r\n   \r\n", PointList::FileLoad::Empty},
            {"0|05032027|123456|A074|0012|101|ROSSI|GEOMETRA|TORINO|\r\n",
             PointList::FileLoad::WithoutUsablePoints},
            {jobLine("P1", {"4448006.973", "606794.230", "4516065"}, {80, 92, 104}).substr(0, 99),
             PointList::FileLoad::WithoutUsablePoints}};
        const std::filesystem::path other = file.parent_path() / "other.txt";
        for (const auto &[bytes, outcome] : notJobs) {
            std::ofstream(other, std::ios::binary | std::ios::trunc) << bytes;
            QVERIFY(fromFile.loadFile(other) == outcome);
            QVERIFY(dump(fromFile) == dump(fromBytes));
        }
        // Another program adding to the job, or cutting it, between opening and reading.
        const std::array<std::function<void()>, 2> changes = {
            [&] { std::ofstream(file, std::ios::binary | std::ios::app) << "P\r\n"; },
            [&] { std::filesystem::resize_file(file, job.size() / 2); }};
        for (const std::function<void()> &change : changes) {
            onReadOpenedForTesting([&](const std::filesystem::path &) { change(); });
            QVERIFY(fromFile.loadFile(file) == PointList::FileLoad::ChangedWhileRead);
            QVERIFY(dump(fromFile) == dump(fromBytes));
        }
        onReadOpenedForTesting(nullptr);
    }

    // A new job replaces every row; an empty file keeps the row count with empty rows.
    void shouldReplaceTheRowsOfAnEarlierJob() {
        PointList points;
        QVERIFY(points.load("A\r\nB\r\nC\r\n"));
        QVERIFY(points.load("D\r\n"));
        QCOMPARE(dump(points), QByteArray("[D][][][][][][][]\n"));
        QCOMPARE(points.field(0, PointList::Name), std::string_view());
        QCOMPARE(points.field(2, PointList::Name), std::string_view());
        QCOMPARE(points.field(1, 0), std::string_view());
        QCOMPARE(points.field(1, 9), std::string_view());
        QVERIFY(points.load("A\r\nB\r\nC"));
        QVERIFY(points.load(""));
        QCOMPARE(dump(points), QByteArray("[][][][][][][][]\n").repeated(3));
    }
};

QTEST_APPLESS_MAIN(TestJob)
#include "test_job.moc"
