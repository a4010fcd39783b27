#include "core/files.h"
#include "job/point_list.h"
#include "sketch/logic/sketch_drawing.h"
#include "sketch/logic/sketch_svg.h"
#include "sketch/logic/survey_sketch.h"

#include <QtTest>

#include <map>
#include <tuple>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

PointList jobFile(const QString &name) {
    PointList points;
    if (!points.load(readFile(fs::path(FEROLAN_TEST_DATA) / (name + ".txt").toStdString()).bytes))
        throw std::runtime_error("job not loaded");
    return points;
}

PfGridRow gridRow(const char *name, std::string_view used) {
    PfGridRow row;
    row.cell(PfGridRow::Name) = name;
    row.cell(PfGridRow::Used) = used;
    return row;
}

// What the comparison gives for aglie.txt: PF01 in the archive, PF02 not, PF04 unreadable;
// the malformed PF3 (row 8) is left out of it. Point 101 (row 5) is the VRS point.
SurveySketch aglieSketch() {
    const PfGrid grid = {gridRow("PF01/0012/A074", kUsed), gridRow("PF02/0012/A074", kNotUsed),
                         gridRow("PF04/0012/A074", "")};
    return *buildSurveySketch(jobFile("aglie"), 1, grid, {8}, 5, "aglie.txt", "aglie.dat");
}

const std::map<QString, SketchMark> kMarks = {{"master", SketchMark::Master},
                                              {"point", SketchMark::Point},
                                              {"used", SketchMark::PfUsed},
                                              {"new", SketchMark::PfNew},
                                              {"leftout", SketchMark::PfLeftOut}};

} // namespace

class TestSurveySketch : public QObject {
    Q_OBJECT

private slots:
    // The expected files hold each point's east and north as the job was made from them
    // (points 100 m north, east and up of the master among them), with its mark.
    void shouldPlaceEveryUsablePointOnThePlaneOfTheMaster_data() {
        QTest::addColumn<QString>("job");
        QTest::addColumn<std::size_t>("withoutCoordinates");
        QTest::newRow("Aglie', near 7.8 E") << "aglie" << std::size_t(2);
        QTest::newRow("Roma, near 12.5 E") << "roma" << std::size_t(0);
    }
    void shouldPlaceEveryUsablePointOnThePlaneOfTheMaster() {
        QFETCH(QString, job);
        QFETCH(std::size_t, withoutCoordinates);
        const SurveySketch sketch =
            job == "aglie"
                ? aglieSketch()
                : *buildSurveySketch(jobFile(job), 1, {}, {}, std::nullopt, "roma.txt", "roma.dat");
        QFile expected(QStringLiteral(FEROLAN_TEST_DATA "/") + job + ".expected");
        QVERIFY(expected.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines =
            QString::fromLatin1(expected.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(sketch.points.size(), std::size_t(lines.size()));
        for (std::size_t i = 0; i < sketch.points.size(); ++i) {
            const QStringList fields = lines[qsizetype(i)].split(' ', Qt::SkipEmptyParts);
            const SketchPoint &point = sketch.points[i];
            QCOMPARE(QString::fromStdString(point.name), fields[0]);
            QVERIFY2(std::abs(point.plan.east - fields[1].toDouble()) < 0.001,
                     qPrintable(fields[0]));
            QVERIFY2(std::abs(point.plan.north - fields[2].toDouble()) < 0.001,
                     qPrintable(fields[0]));
            QCOMPARE(point.mark, kMarks.at(fields[3]));
        }
        QCOMPARE(sketch.masterIndex, std::size_t(0));
        QCOMPARE(sketch.pointsWithoutCoordinates, withoutCoordinates);
    }

    // The page as drawn, byte for byte: ASCII with CR LF, the marks, the names left out where
    // they would overlap, the scale bar and its label, the legend and the titles.
    // The wheel zooms around the cursor: the plan point under it stays under it, whichever
    // side of the centre it lies on.
    void shouldKeepThePointUnderTheCursorWhenZooming() {
        for (const auto &[x, y, factor] : {std::tuple{100.0, 50.0, 1.25},
                                           {700.0, 550.0, 0.8},
                                           {400.0, 300.0, 2.0},
                                           {30.0, 590.0, 1.5625}}) {
            SketchView view{800, 600, 2, {1000, -500}};
            const PlanPoint under = view.toPlan(x, y);
            view.zoomAround(x, y, factor);
            QCOMPARE(view.pixelsPerMetre, 2 * factor);
            QVERIFY(std::abs(view.toX(under) - x) < 1e-9 && std::abs(view.toY(under) - y) < 1e-9);
        }
    }

    void shouldWriteTheSketchAsSvg() {
        QCOMPARE(QByteArray::fromStdString(sketchSvg(aglieSketch())),
                 QByteArray::fromStdString(readFile(FEROLAN_TEST_DATA "/aglie.svg").bytes));
    }
};

QTEST_APPLESS_MAIN(TestSurveySketch)
#include "test_survey_sketch.moc"
