#include "core/cp1252.h"
#include "core/geodesy.h"
#include "core/numbers.h"
#include "fiducial/logic/pf_distances.h"

#include "cases.h"

#include <QtTest>

#include <cmath>
#include <numbers>

using namespace ferolan;

namespace {

constexpr double kMeanEarthRadius = 6371000.0;

// A point at east, north and up metres from a latitude, longitude and ellipsoidal height,
// built the textbook way rather than through the program's geodesy.
Geocentric offsetPoint(double latitude, double longitude, double height, double east, double north,
                       double up) {
    const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f);
    const double phi = latitude * std::numbers::pi / 180,
                 lambda = longitude * std::numbers::pi / 180;
    const double n = a / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
    const Geocentric origin{(n + height) * std::cos(phi) * std::cos(lambda),
                            (n + height) * std::cos(phi) * std::sin(lambda),
                            (n * (1 - e2) + height) * std::sin(phi)};
    return {origin.x - std::sin(lambda) * east - std::sin(phi) * std::cos(lambda) * north +
                std::cos(phi) * std::cos(lambda) * up,
            origin.y + std::cos(lambda) * east - std::sin(phi) * std::sin(lambda) * north +
                std::cos(phi) * std::sin(lambda) * up,
            origin.z + std::cos(phi) * north + std::sin(phi) * up};
}

DistanceZone zoneOf(const QByteArray &word) {
    return *zoneOfWord(word.toStdString());
}

// A grid row of the job, found in the archive at `archived` metres east and north of a point
// near Aglie' when given, surveyed today at `today`.
PfGridRow row(const char *name, std::array<double, 2> today,
              std::optional<std::array<double, 2>> archived) {
    PfGridRow row;
    row.cell(PfGridRow::Name) = name;
    auto at = [](std::array<double, 2> en) {
        return offsetPoint(45.365, 7.77, 320, en[0], en[1], 0);
    };
    if (archived)
        row.found = PfGridRow::Positions{at(today), at(*archived)};
    return row;
}

QString pairsText(const std::vector<PfPair> &pairs) {
    QStringList texts;
    for (const PfPair &pair : pairs)
        texts << QString::fromStdString(pair.first + "-" + pair.second + " " +
                                        decimalText(pair.ratio(), 2, ','));
    return texts.join("; ");
}

} // namespace

class TestPfDistances : public QObject {
    Q_OBJECT

private slots:
    void shouldFollowTheCadastresRule_data() {
        test_cases::addRows(FEROLAN_TEST_DATA "/distance_cases.txt");
    }
    void shouldFollowTheCadastresRule() {
        QFETCH(QByteArrayList, fields);
        const QByteArray operation = fields.takeFirst();
        if (operation == "tolerance") {
            const double tolerance = distanceTolerance(zoneOf(fields[0]), fields[1].toDouble());
            QVERIFY2(std::abs(tolerance - fields[2].toDouble()) < 1e-9,
                     qPrintable(QString::number(tolerance, 'f', 9)));
        } else if (operation == "verdict") {
            const DistanceZone zone = zoneOf(fields[0]);
            const double d = fields[1].toDouble();
            const PfPair pair{"A", "B", d, fields[2].toDouble(), distanceTolerance(zone, d)};
            const QStringList shown{
                QString::fromStdString(threeDecimalText(pair.difference(), ',')),
                QString::fromStdString(threeDecimalText(pair.tolerance, ',')),
                QString::fromStdString(decimalText(pair.ratio(), 2, ',')),
                QString::fromStdString(std::string(pair.esito())),
                pair.overTenCentimetres() ? QStringLiteral("oltre 10 cm") : QString()};
            QCOMPARE(shown.join(';'), QString::fromUtf8(fields[3]));
        } else {
            QList<double> v;
            for (const QByteArray &field : fields)
                v << field.toDouble();
            const double up = v[5], half = v[6];
            const Geocentric a = offsetPoint(v[0], v[1], v[2], v[3], v[4], up + half);
            const Geocentric b = offsetPoint(v[0], v[1], v[2], -v[3], -v[4], up - half);
            const double expected =
                2 * std::hypot(v[3], v[4]) * kMeanEarthRadius / (kMeanEarthRadius + v[2] + up);
            QVERIFY2(std::abs(horizontalDistance(a, b) - expected) < 0.001,
                     qPrintable(QString::number(horizontalDistance(a, b) - expected, 'g', 6)));
            QCOMPARE(horizontalDistance(b, a), horizontalDistance(a, b));
        }
    }

    void shouldTakeZonesByTheirNames() {
        QStringList captions, sentences;
        for (DistanceZone zone : kDistanceZones) {
            captions << QString::fromStdString(std::string(zoneCaption(zone)));
            sentences << QString::fromStdString(zoneInSentence(zone));
        }
        QCOMPARE(captions.join('|'),
                 QStringLiteral("Urbana|Extraurbana pianeggiante|Extraurbana sfavorevole"));
        QCOMPARE(sentences.join('|'),
                 QStringLiteral("urbana|extraurbana pianeggiante|extraurbana sfavorevole"));
        QCOMPARE(zoneOfWord("pianeggiante"), DistanceZone::Pianeggiante);
        QCOMPARE(zoneOfWord("Urbana"), std::nullopt);
        QCOMPARE(zoneOfWord(""), std::nullopt);
    }

    // Pairs of distinct found points, the earlier in the job first, worst ratio first and equal
    // ratios in job order; a point listed twice counts at its first row, one not found not at all.
    void shouldPairTheFoundPointsWorstFirst() {
        const PfGrid grid = {
            row("PF01", {0, 0}, {{0, 0}}),      row("PF02", {100, 0}, {{100, 0}}),
            row("PF03", {0, 50}, std::nullopt), row("PF04", {0, 200.3}, {{0, 200}}),
            row("PF02", {105, 0}, {{100, 0}}),  row("PF05", {50, 0}, {{50, 0}}),
        };
        QCOMPARE(foundPfCount(grid), std::size_t(4));
        QCOMPARE(pairsText(pfPairs(grid, DistanceZone::Urbana)),
                 QStringLiteral("PF01-PF04 0,97; PF04-PF05 0,91; PF02-PF04 0,79; PF01-PF02 0,00; "
                                "PF01-PF05 0,00; PF02-PF05 0,00"));
        QCOMPARE(pfPairs({row("PF01", {0, 0}, {{0, 0}})}, DistanceZone::Urbana).size(),
                 std::size_t(0));
    }

    // The paragraph for the report: every surveyed point, found or not, then the pairs to
    // explain, or that there is none.
    void shouldWriteTheParagraphForTheReport() {
        PfGrid grid = {row("PF01", {0, 0}, {{0, 0}}), row("PF03", {0, 50}, std::nullopt),
                       row("PF02", {100, 0}, {{100.04, 0}})};
        QCOMPARE(
            utf8FromCp1252(relazioneText(grid, pfPairs(grid, DistanceZone::Pianeggiante),
                                         DistanceZone::Pianeggiante, ',')),
            std::string("Sono stati rilevati i punti fiduciali PF01, PF03 e PF02. La distanza "
                        "tra 1 coppia di punti fiduciali è stata confrontata con quella "
                        "ricavata dalle misure precedenti in archivio, con le tolleranze per la "
                        "zona extraurbana pianeggiante. La distanza risulta in tolleranza."));
        grid.push_back(row("PF04", {0, 100}, {{0, 100.15}}));
        const std::string text =
            relazioneText(grid, pfPairs(grid, DistanceZone::Urbana), DistanceZone::Urbana, '.');
        QCOMPARE(utf8FromCp1252(text),
                 std::string("Sono stati rilevati i punti fiduciali PF01, PF03, PF02 e PF04. Le "
                             "distanze tra 3 coppie di punti fiduciali sono state confrontate con "
                             "quelle ricavate dalle misure precedenti in archivio, con le "
                             "tolleranze per la zona urbana. La distanza PF01 – PF04 misura "
                             "99.995 m contro 100.145 m in archivio: differenza 0.150 m, "
                             "tolleranza 0.180 m (in tolleranza). La distanza PF02 – PF04 misura "
                             "141.414 m contro 141.549 m in archivio: differenza 0.134 m, "
                             "tolleranza 0.234 m (in tolleranza)."));
    }
};

QTEST_APPLESS_MAIN(TestPfDistances)
#include "test_pf_distances.moc"
