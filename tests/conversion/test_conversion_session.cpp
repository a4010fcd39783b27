#include "conversion/conversion_session.h"
#include "core/files.h"
#include "header/logic/tabella_comuni.h"
#include "job/point_list.h"

#include <QtTest>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

const fs::path kData = FEROLAN_BATCH_DATA;
const fs::path kArchiveFile = fs::path("punti_fiduciali") / "TORINO" / "A074 - AGLIE'.pf";
constexpr std::string_view kAglie = "A074 - AGLIE'";
constexpr std::chrono::year_month_day kToday{std::chrono::year(2027), std::chrono::month(3),
                                             std::chrono::day(5)};

// The batch tests' job (master BASE, fiducial points found, new and malformed) against a copy
// of their archive, with the booklet written into `bookletFolder`.
class Conversion {
public:
    explicit Conversion(const fs::path &bookletFolder = {}) {
        fs::copy(kData / "archive", root(), fs::copy_options::recursive);
        QVERIFY(points.loadFile(kData / "job.txt") == PointList::FileLoad::Loaded);
        HeaderData header;
        header.Cmb_prov = "TORINO";
        header.Txt_base = "BASE";
        session.emplace(ConversionSetup{
            points, "BASE", 1, header, root().string(), table,
            (bookletFolder.empty() ? root() : bookletFolder) / "libretto.dat", ','});
        const auto continueAtMalformed = [](std::string_view) {
            return MalformedNameAnswer::Continue;
        };
        QVERIFY(session->compareFiducialPoints({continueAtMalformed, [](std::size_t) {}}));
    }

    fs::path root() const { return dir.path().toStdString(); }
    fs::path booklet() const { return root() / "libretto.dat"; }
    std::string archive() const { return readFile(root() / kArchiveFile).bytes; }

    QTemporaryDir dir;
    Tabella_comuni table{kData / "cod_comuni_2.cod"};
    PointList points;
    std::optional<ConversionSession> session;
};

} // namespace

class TestConversionSession : public QObject {
    Q_OBJECT
private slots:
    void shouldAddAndRemoveArchivedPointsBeforeFinishing() {
        Conversion conversion;
        ConversionSession &session = *conversion.session;
        markEveryPointOnce(session.grid());
        QCOMPARE(session.archiveAndWriteRows().outcome,
                 ConversionSession::Writing::Outcome::Written);
        const std::size_t archived = session.archivedCount();
        QVERIFY(archived > 0);

        QVERIFY(session.archivedChoice(kAglie, "0012", "01").alreadyInBooklet); // surveyed
        const ArchivedChoice pilone = session.archivedChoice(kAglie, "0014", "02");
        QCOMPARE(pilone.name, std::string("PF02/0014/A074"));
        QCOMPARE(session.add(pilone).outcome, ConversionSession::Adding::Added);
        QVERIFY(session.archivedChoice(kAglie, "0014", "02").alreadyInBooklet);
        QCOMPARE(session.add(session.archivedChoice(kAglie, "0012", "77")).outcome,
                 ConversionSession::Adding::NotInArchive);
        QVERIFY(session.removeAdded(0));
        QVERIFY(!session.archivedChoice(kAglie, "0014", "02").alreadyInBooklet);
        QCOMPARE(session.add(pilone).outcome, ConversionSession::Adding::Added);

        // The grid's memory goes, not the account of what was archived.
        session.releaseJob();
        QCOMPARE(session.archivedCount(), archived);
        const ConversionSession::Finishing finishing = session.finish(kToday);
        QVERIFY(finishing.result.created());
        QVERIFY(session.finished());
        QVERIFY(!fs::exists(session.temporaryBooklet()));
        const std::string booklet = readFile(conversion.booklet()).bytes;
        QCOMPARE(booklet.find("PF02/0014/A074"), booklet.rfind("PF02/0014/A074"));
        QVERIFY(booklet.find("PF02/0014/A074") != std::string::npos);
    }

    void shouldKeepTheArchiveAndNoTemporaryWhenAbandoned() {
        Conversion conversion;
        ConversionSession &session = *conversion.session;
        const std::string before = conversion.archive();
        markEveryPointOnce(session.grid());
        QCOMPARE(session.archiveAndWriteRows().outcome,
                 ConversionSession::Writing::Outcome::Written);
        QVERIFY(fs::exists(session.temporaryBooklet()));
        session.abandon();
        QVERIFY(!fs::exists(session.temporaryBooklet()));
        QVERIFY(!fs::exists(conversion.booklet()));
        QVERIFY(conversion.archive().size() > before.size());
        QVERIFY(conversion.archive().starts_with(before));
    }

    void shouldChangeNothingWhenNoTemporaryCanBeMade() {
        QTemporaryDir other;
        Conversion conversion(fs::path(other.path().toStdString()) / "missing");
        ConversionSession &session = *conversion.session;
        const std::string before = conversion.archive();
        markEveryPointOnce(session.grid());
        QCOMPARE(session.archiveAndWriteRows().outcome,
                 ConversionSession::Writing::Outcome::TemporaryNotCreated);
        QVERIFY(!session.archivingStarted());
        QCOMPARE(session.archivedCount(), std::size_t(0));
        QCOMPARE(conversion.archive(), before);
    }
};

QTEST_GUILESS_MAIN(TestConversionSession)
#include "test_conversion_session.moc"
