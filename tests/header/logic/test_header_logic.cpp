#include "header/logic/archive_folders.h"
#include "header/logic/gnss_session.h"
#include "header/logic/header_checks.h"
#include "header/logic/header_defaults.h"
#include "header/logic/header_rules.h"
#include "header/logic/tabella_comuni.h"

#include "bytes.h"
#include "cases.h"
#include "header_fields.h"

#include <QtTest>

using namespace ferolan;
namespace fs = std::filesystem;

using namespace test_bytes;

namespace {

const fs::path kData = FEROLAN_TEST_DATA;
const fs::path kSettings = "/programmi/ferolan/ferolan.ini";

QByteArray listed(const std::vector<std::string> &entries) {
    QByteArray out;
    for (const std::string &entry : entries)
        out += '[' + bytes(entry) + ']';
    return out;
}
// Every folder and file below `folder`, relative to it, sorted.
QByteArray treeOf(const fs::path &folder) {
    std::vector<std::string> entries;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        entries.push_back(fs::relative(entry.path(), folder).generic_string());
    std::ranges::sort(entries);
    return listed(entries);
}

HeaderData complete() {
    return test_header::withFields(
        {},
        {"Txt_data=05032027", "Txt_pg=123456", "Cmb_prov=TORINO", "Cmb_comune=A074 - AGLIE'",
         "Txt_foglio=0012", "Txt_mappali=101, 102", "Txt_tecnico=ROSSI MARIO", "Cmb_albo=GEOMETRA",
         "Cmb_prov_albo=TORINO", "Txt_quota=245", "Txt_estmedia=1402345", "Cmb_prec1=10",
         "Cmb_prec2=20", "Cmb_tipo=Frazionamento -FR", "Txt_base=BASE", "Cmb_vrs=101"});
}

// Its master station BASE, two points with coordinates and 104 without.
PointList sessionJob() {
    PointList points;
    if (points.loadFile(kData / "session_job.txt") != PointList::FileLoad::Loaded)
        qFatal("cannot load session_job.txt");
    return points;
}

} // namespace

class TestHeaderLogic : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path at(const char *name) const { return fs::path(dir.path().toStdString()) / name; }

private slots:
    void shouldAnswerEachCase_data() { test_cases::addRows(FEROLAN_TEST_DATA "/header_cases.txt"); }
    void shouldAnswerEachCase() {
        QFETCH(QByteArrayList, fields);
        QByteArray expected = fields.takeLast();
        const QByteArray op = fields.takeFirst();
        auto a = [&fields](qsizetype i) { return fields[i].toStdString(); };
        QByteArray answer;
        if (op == "fill" || op == "check") {
            std::optional<std::string> message = Controlla_intestazione(
                test_header::withFields(op == "fill" ? HeaderData() : complete(), fields),
                {sessionJob(), "BASE"});
            answer = message ? bytes(*message) : "ok";
        } else if (op == "base") {
            answer = bytes(baseAfterMethod(a(0), a(1), a(2), "BASE"));
        } else if (op == "code" || op == "date") {
            PointList points;
            std::string job;
            for (const QByteArray &name : fields)
                job += name.toStdString() + "\r\n";
            QVERIFY(fields.isEmpty() || points.load(job));
            answer = op == "code" ? bytes(jobMunicipalityCode(points))
                                  : bytes(dateText(std::chrono::year_month_day{
                                        std::chrono::year(fields[0].toInt()),
                                        std::chrono::month(fields[1].toUInt()),
                                        std::chrono::day(fields[2].toUInt())}));
        } else if (op == "rules") {
            // What rows 0 and 9 draw, each as its rule's id and the control at fault, for a
            // survey at Agliè.
            Tabella_comuni table(kData / "torino.cod");
            const Xyz aglie{4448006.973, 606794.230, 4516065.343};
            const std::chrono::year_month_day today{std::chrono::year(2027), std::chrono::March,
                                                    std::chrono::day(5)};
            QByteArrayList found;
            for (const Finding &finding : Controlla_righe_0_9(
                     test_header::withFields(complete(), fields), aglie, table, today)) {
                const std::string_view control =
                    headerControlOfField(finding.rowType, finding.field);
                found << QByteArray(finding.id.data(), finding.id.size()) + '@' +
                             QByteArray(control.data(), control.size());
            }
            answer = found.isEmpty() ? "ok" : found.join(' ');
        } else if (op == "folders") {
            const QByteArray base = QByteArray::fromStdString(at(QTest::currentDataTag()));
            fs::create_directory(base.toStdString());
            for (const QByteArray &entry : fields[0].split(',')) {
                if (entry.isEmpty())
                    continue;
                const fs::path path = base.toStdString() + "/" + entry.toStdString();
                fs::create_directories(entry.endsWith('/') ? path : path.parent_path());
                if (!entry.endsWith('/'))
                    writeBytes(path, "01 0001 A074\r\n");
            }
            std::optional<std::string> message =
                prepareArchiveFolders(QByteArray(fields[1]).replace("{base}", base).toStdString(),
                                      fields[2].toStdString(), kSettings);
            answer = (message ? bytes(*message) : "ok") + ' ' + treeOf(base.toStdString());
            expected.replace("{base}", base);
            QVERIFY(!fs::exists("/nessuna"));
            QVERIFY(!fs::exists(kArchiveFolderName)); // not in the working folder either
        } else {
            Tabella_comuni table(kData / fields[0].toStdString());
            const std::string code = fields[1].toStdString();
            if (op == "province")
                answer = listed(table.Elenco_province());
            else if (op == "comuni")
                answer = listed(table.Comuni_della_provincia(code));
            else if (op == "provincia")
                answer = bytes(table.Provincia_del_comune(code));
            else if (op == "known")
                answer =
                    table.knownProvinceOf(code) ? listed({*table.knownProvinceOf(code)}) : "none";
            else
                answer =
                    table.Riga_del_comune(code) ? listed({*table.Riga_del_comune(code)}) : "none";
            QCOMPARE(table.lastOutcome(), ReadOutcome::Ok);
        }
        QCOMPARE(answer, expected);
    }

    // The table is read again whenever its bytes change, even at the same size and time.
    void shouldReadAChangedOrVanishedTableAgain() {
        const fs::path file = at("changing.cod");
        writeBytes(file, "*P\r\nC001 - UNO\r\n");
        Tabella_comuni table(file);
        QCOMPARE(table.Riga_del_comune("C001"), std::optional<std::string>("C001 - UNO"));
        auto written = fs::last_write_time(file);
        writeBytes(file, "*Q\r\nC001 - DUE\r\n");
        fs::last_write_time(file, written);
        QCOMPARE(table.Riga_del_comune("C001"), std::optional<std::string>("C001 - DUE"));
        QCOMPARE(listed(table.Elenco_province()), QByteArray("[Q]"));
        QCOMPARE(table.Provincia_del_comune("C001"), std::string("Q"));
        QCOMPARE(listed(table.Comuni_della_provincia("P")), QByteArray());
        writeBytes(file, "*Q\r\nC001 - DUE\r\nC002 - TRE\r\n");
        QCOMPARE(listed(table.Comuni_della_provincia("Q")), QByteArray("[C001 - DUE][C002 - TRE]"));
        writeBytes(file, "*Q\r\nC001 - DUE\r\n"); // a prefix of the bytes read before
        QCOMPARE(listed(table.Comuni_della_provincia("Q")), QByteArray("[C001 - DUE]"));

        fs::remove(file);
        QCOMPARE(listed(table.Elenco_province()), QByteArray());
        QCOMPARE(table.lastOutcome(), ReadOutcome::Missing);
        QCOMPARE(table.Riga_del_comune("C001"), std::nullopt);
        QCOMPARE(table.Provincia_del_comune("C001"), std::string());
        fs::create_directory(file);
        QCOMPARE(table.Riga_del_comune("C001"), std::nullopt);
        QCOMPARE(table.lastOutcome(), ReadOutcome::Unreadable);
        fs::remove(file);
        writeBytes(file, "*P\r\nC001 - UNO\r\n");
        QCOMPARE(table.Riga_del_comune("C001"), std::optional<std::string>("C001 - UNO"));
        QCOMPARE(table.lastOutcome(), ReadOutcome::Ok);
    }
};

QTEST_APPLESS_MAIN(TestHeaderLogic)
#include "test_header_logic.moc"
