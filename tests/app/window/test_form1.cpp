#include "app/window/clickable_label.h"
#include "app/window/form1.h"
#include "app/window/logos.h"
#include "program_folder.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

// P3 has no coordinates.
const QByteArray kJob = "M1              BASE                                                "
                        " 4448006.973  606794.230 4516065.343\r\n"
                        "P2              SECONDO PUNTO                                       "
                        " 4448010.000  606790.000 4516060.000\r\n"
                        "P3\r\n";
const QString kWithoutCoordinates =
    "I punti seguenti non hanno coordinate utilizzabili e non saranno inseriti nel libretto né "
    "archiviati:\nP3\nContinuare?";

QString lines(std::initializer_list<QString> parts) {
    return QStringList(parts).join('\n');
}

void clickRow(QTableView *grid, int modelRow) {
    QRect cell = grid->visualRect(grid->model()->index(modelRow, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Run> run;
    std::unique_ptr<Form1> form;
    int headerWindowsOpened = 0;

    void start() {
        form = std::make_unique<Form1>(run->context, [this] { ++headerWindowsOpened; });
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void loadJob(const QByteArray &job) {
        folder->write(folder->root() / "lavoro.txt", job);
        run->dialogs.fileChoices.push_back(
            {true, QString::fromStdString((folder->root() / "lavoro.txt").string())});
        form->Cmd_selezione->click();
    }

private slots:
    void init() {
        folder = std::make_unique<ProgramFolder>('1');
        run = std::make_unique<Run>(*folder);
        headerWindowsOpened = 0;
    }
    void cleanup() {
        form.reset();
        QCOMPARE(run->dialogs.unanswered, 0);
    }

    void shouldStartWithTheVersionTheSettingsAndNoJob() {
        start();
        QCOMPARE(form->windowTitle(), QStringLiteral("Ferolan - da TGO a Pregeo - Versione 1.0.0"));
        QCOMPARE(form->Lbl_lavoro_attivo->text(), QStringLiteral("lavoro attivo: "));
        QCOMPARE(QString::fromStdString(run->state.Path_pf),
                 QString::fromStdString(folder->archive().string()));
        QVERIFY(!form->Cmd_ok->isEnabled());
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 1);
        QCOMPARE(form->MSHFlexGrid1->model()->columnCount(), 9);
        QCOMPARE(form->MSHFlexGrid1->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Punto"));
        QCOMPARE(form->MSHFlexGrid1->model()->headerData(8, Qt::Horizontal).toString(),
                 QStringLiteral("quota"));
        QVERIFY(run->dialogs.messages.isEmpty());
    }

    void shouldRunTheActivationStepsAgainWhenTheUserComesBack() {
        start();
        QWidget otherForm;
        otherForm.show();
        QVERIFY(QTest::qWaitForWindowActive(&otherForm));
        run->context.enterForm(&otherForm);
        folder->write(folder->settings(), "PATH_PF=changed\r\nPATH_TGO=x\r\ncheck=1\r\n");
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(run->state.Path_pf, std::string("changed"));
        QCOMPARE(form->windowTitle().count(QStringLiteral("Versione")), 1);
    }

    void shouldUpdateTheExportDefinitionOnYes() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        run->dialogs.answers = {Answer::Yes};
        start();
        const QString definition =
            QString::fromStdString((folder->tgo() / "asciiexp.dat").string());
        QCOMPARE(run->dialogs.texts(),
                 QStringList{
                     lines({"E' necessario eseguire l'aggiornamento del file di export di "
                            "Trimble Geomatic Office",
                            "Il file da aggiornare è -" + definition + "-.",
                            "Il vecchio file sarà rinominato -asciiexp.dat.old-. Continuare?"})});
        QCOMPARE(run->dialogs.messages[0].title, std::nullopt);
        QCOMPARE(run->dialogs.messages[0].icon, MessageIcon::None);
        QCOMPARE(folder->read(folder->tgo() / "asciiexp.dat.old"),
                 QByteArray("DEFINIZIONE ESISTENTE\r\n"));
        QVERIFY(folder->read(folder->tgo() / "asciiexp.dat")
                    .startsWith("DEFINIZIONE ESISTENTE\r\nUSCITA PREGEO\r\n"));
        QVERIFY(folder->read(folder->settings()).endsWith("\r\ncheck=1\r\n"));
        QVERIFY(!run->desktop.ended);
        QCOMPARE(form->Lbl_lavoro_attivo->text(), QStringLiteral("lavoro attivo: "));
    }

    void shouldEndWithoutTouchingAnyFileOnNo() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        QByteArray settingsBefore = folder->read(folder->settings());
        run->dialogs.answers = {Answer::No};
        start();
        QVERIFY(run->desktop.ended);
        QCOMPARE(folder->read(folder->settings()), settingsBefore);
        QCOMPARE(folder->read(folder->tgo() / "asciiexp.dat"),
                 QByteArray("DEFINIZIONE ESISTENTE\r\n"));
        QVERIFY(!fs::exists(folder->tgo() / "asciiexp.dat.old"));
    }

    void shouldEndWhenTheExportDefinitionIsMissing() {
        folder = std::make_unique<ProgramFolder>('0');
        run = std::make_unique<Run>(*folder);
        fs::remove(folder->tgo() / "asciiexp.dat");
        run->dialogs.answers = {Answer::Yes};
        start();
        QCOMPARE(run->dialogs.messages.size(), 2);
        const Message &error = run->dialogs.messages[1];
        QCOMPARE(error.title, QStringLiteral("Errore di accesso al file"));
        QCOMPARE(error.icon, MessageIcon::Critical);
        QCOMPARE(error.text,
                 lines({"Attenzione! Il file " +
                            QString::fromStdString((folder->tgo() / "asciiexp.dat").string()) +
                            " non è presente",
                        "oppure il percorso di ricerca non è valido. Verificare nel "
                        "file -leggimi.txt- le operazioni da eseguire"}));
        QVERIFY(run->desktop.ended);
        QVERIFY(folder->read(folder->settings()).endsWith("check=0\r\n"));
    }

    void shouldEndNamingABadSettingsFile_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("two lines") << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\n") << true;
    }
    void shouldEndNamingABadSettingsFile() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, present);
        if (present)
            folder->write(folder->settings(), settings);
        else
            fs::remove(folder->settings());
        start();
        QCOMPARE(run->dialogs.messages.size(), 1);
        QVERIFY(run->dialogs.messages[0].text.contains(
            QString::fromStdString(folder->settings().string())));
        QCOMPARE(run->dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(run->desktop.ended);
        QCOMPARE(fs::exists(folder->settings()), present);
    }

    void shouldLoadAJobAndSelectARow() {
        start();
        loadJob(kJob);
        const FileRequest &request = run->dialogs.fileRequests.at(0);
        QCOMPARE(request.title, QStringLiteral("Selezione del file esportato da TGO"));
        QCOMPARE(request.filter,
                 QStringLiteral("Tutti i file (*.*)|*.*|File di testo(*.txt)|*.txt"));
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(request.fileName, QString());
        QCOMPARE(request.startFolder, QString()); // no job opened yet
        QCOMPARE(run->dialogs.messages.last().title, QStringLiteral("Selezione stazione master"));
        QCOMPARE(run->dialogs.messages.last().icon, MessageIcon::Information);
        QCOMPARE(run->dialogs.messages.last().text,
                 lines({"E' ora necessario selezionare dalla lista il punto che sarà trasformato "
                        "in stazione master.",
                        "Cliccare sulla riga contenente il punto prescelto"}));
        QVERIFY(form->Cmd_ok->isEnabled());
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 3);
        QCOMPARE(form->MSHFlexGrid1->model()->index(1, 2).data().toString(),
                 QStringLiteral("SECONDO PUNTO"));
        QVERIFY(form->Lbl_lavoro_attivo->text().endsWith("lavoro.txt"));
        QCOMPARE(form->selectedRow(), std::size_t(0));

        clickRow(form->MSHFlexGrid1, 1);
        QCOMPARE(form->selectedRow(), std::size_t(2));
        QCOMPARE(form->MSHFlexGrid1->toolTip(), QStringLiteral("Il punto selezionato é: P2"));

        loadJob("A\r\n");
        QCOMPARE(run->dialogs.fileRequests.at(1).startFolder,
                 QString::fromStdString(folder->root().string()));
        QCOMPARE(form->selectedRow(), std::size_t(0));
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 1);
        clickRow(form->MSHFlexGrid1, 0);
        QCOMPARE(form->selectedRow(), std::size_t(1));
        QCOMPARE(form->MSHFlexGrid1->toolTip(), QStringLiteral("Il punto selezionato é: P2"));
    }

    void shouldChooseTheMasterByKeysAndLeaveTheGridByTab() {
        start();
        loadJob(kJob);
        QTableView *grid = form->MSHFlexGrid1;
        grid->setFocus(); // getting the focus chooses nothing
        QCOMPARE(form->selectedRow(), std::size_t(0));
        const QList<std::pair<Qt::Key, std::size_t>> keys = {
            {Qt::Key_End, 3}, {Qt::Key_Home, 1}, {Qt::Key_PageDown, 3}, {Qt::Key_Up, 2}};
        for (const auto &[key, row] : keys) {
            QTest::keyClick(grid, key);
            QCOMPARE(form->selectedRow(), row);
            QCOMPARE(grid->selectionModel()->selectedRows(),
                     QModelIndexList{grid->model()->index(int(row) - 1, 0)});
        }
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != grid);
        QCOMPARE(form->selectedRow(), std::size_t(2));
        loadJob(kJob);
        QCOMPARE(form->selectedRow(), std::size_t(0));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(form->selectedRow(), std::size_t(1));
        QTest::keyClick(grid, Qt::Key_Down);

        // Conferma punto, Punti senza coordinate (P3), Conferma trasformazione.
        run->dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        run->dialogs.fileChoices.push_back({true, QStringLiteral("/lavori/libretto")});
        form->Cmd_ok->click();
        QCOMPARE(run->state.Punto_master, std::string("P2"));
        QCOMPARE(headerWindowsOpened, 1);
    }

    void shouldGrowTheGridWithTheWindowButNotShrink() {
        start();
        QCOMPARE(form->size(), QSize(489, 432));
        const QRect grid = form->MSHFlexGrid1->geometry();
        const QRect ok = form->Cmd_ok->geometry();
        form->resize(689, 532);
        QCOMPARE(form->MSHFlexGrid1->size(), grid.size() + QSize(200, 100));
        QCOMPARE(form->Cmd_ok->geometry(), ok.translated(200, 100));
        QCOMPARE(form->minimumSize(), QSize(489, 432));
    }

    void shouldKeepTheListWhenNoJobIsChosen() {
        start();
        loadJob(kJob);
        run->dialogs.fileChoices.push_back({false, {}});
        form->Cmd_selezione->click();
        QCOMPARE(run->dialogs.messages.last().text,
                 QStringLiteral("Non hai selezionato nessun lavoro!"));
        QCOMPARE(run->dialogs.messages.last().title, QStringLiteral("errore"));
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 3);
        QVERIFY(run->state.File_lavoro.empty());
    }

    void shouldKeepTheListWhenTheJobCannotBeRead() {
        start();
        loadJob(kJob);
        fs::path missing = folder->root() / "manca.txt";
        run->dialogs.fileChoices.push_back({true, QString::fromStdString(missing.string())});
        form->Cmd_selezione->click();
        QVERIFY(
            run->dialogs.messages.last().text.contains(QString::fromStdString(missing.string())));
        QCOMPARE(run->dialogs.messages.last().icon, MessageIcon::Critical);
        QCOMPARE(form->MSHFlexGrid1->model()->rowCount(), 3);
        QCOMPARE(run->state.File_lavoro, folder->root() / "lavoro.txt");
    }

    void shouldRefuseToGoOnWithoutAPoint() {
        start();
        loadJob(kJob);
        form->Cmd_ok->click();
        const Message &message = run->dialogs.messages.last();
        QCOMPARE(message.text, QStringLiteral("Non hai selezionato nessun punto!"));
        QCOMPARE(message.title, QString(""));
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(headerWindowsOpened, 0);
    }

    void shouldConfirmTheMasterStationAndChooseTheBooklet() {
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 1);
        run->dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        run->dialogs.fileChoices.push_back({true, QStringLiteral("/lavori/libretto")});
        form->Cmd_ok->click();
        QCOMPARE(run->dialogs.texts().mid(1),
                 (QStringList{"Confermi l'utilizzo del punto P2 come stazione master?",
                              kWithoutCoordinates,
                              "Vuoi procedere alla creazione del libretto Pregeo?"}));
        QCOMPARE(run->dialogs.messages[1].title, QStringLiteral("Conferma punto"));
        QCOMPARE(run->dialogs.messages[2].title, QStringLiteral("Punti senza coordinate"));
        QCOMPARE(run->dialogs.messages[3].title, QStringLiteral("Conferma trasformazione"));
        const FileRequest &save = run->dialogs.fileRequests.last();
        QCOMPARE(save.mode, FileRequest::Mode::Save);
        QCOMPARE(save.title, QStringLiteral("Creazione file Pregeo"));
        QCOMPARE(save.filter, QStringLiteral("File Pregeo (*.dat)|*.dat"));
        QCOMPARE(save.fileName, QStringLiteral("lavoro.dat"));
        QCOMPARE(save.startFolder, QString::fromStdString(folder->root().string()));
        QCOMPARE(run->state.File_libretto, fs::path("/lavori/libretto.dat"));
        QCOMPARE(run->state.Punto_master, std::string("P2"));
        QCOMPARE(run->state.Riga_master, std::size_t(2));
        QVERIFY(!form->isEnabled());
        QCOMPARE(headerWindowsOpened, 1);
    }

    void shouldStopAtANoOrACancelledBooklet_data() {
        QTest::addColumn<int>("yesAnswers");
        QTest::newRow("no to the master") << 0;
        QTest::newRow("no to the points without coordinates") << 1;
        QTest::newRow("no to the booklet") << 2;
        QTest::newRow("cancelled save dialog") << 3;
    }
    void shouldStopAtANoOrACancelledBooklet() {
        QFETCH(int, yesAnswers);
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 0);
        for (int i = 0; i < yesAnswers; ++i)
            run->dialogs.answers.push_back(Answer::Yes);
        if (yesAnswers < 3)
            run->dialogs.answers.push_back(Answer::No);
        else
            run->dialogs.fileChoices.push_back({false, {}});
        form->Cmd_ok->click();
        QVERIFY(form->isEnabled());
        QCOMPARE(headerWindowsOpened, 0);
        QCOMPARE(run->state.Punto_master, std::string("M1"));
        QVERIFY(run->state.File_libretto.empty());
    }

    void shouldRefuseAMasterWithoutCoordinates() {
        start();
        loadJob(kJob);
        clickRow(form->MSHFlexGrid1, 2);
        run->dialogs.answers = {Answer::Yes};
        form->Cmd_ok->click();
        QCOMPARE(run->dialogs.messages.last().text,
                 QStringLiteral("Il punto P3 non ha coordinate utilizzabili: non può essere la "
                                "stazione master."));
        QCOMPARE(run->dialogs.messages.last().icon, MessageIcon::Critical);
        QCOMPARE(headerWindowsOpened, 0);
    }

    void shouldEndAtOnceOnExitWritingNothing() {
        start();
        loadJob(kJob);
        auto filesNow = [this] {
            QStringList files;
            for (const auto &entry : fs::recursive_directory_iterator(folder->root()))
                files << QString::fromStdString(entry.path().string());
            files.sort();
            return files;
        };
        QStringList filesBefore = filesNow();
        QByteArray settingsBefore = folder->read(folder->settings());
        form->Cmd_esci->click();
        QVERIFY(run->desktop.ended);
        QCOMPARE(folder->read(folder->settings()), settingsBefore);
        QCOMPARE(filesNow(), filesBefore);
    }

    void shouldOfferTheWebSitesAndOpenThemUnlessNo() {
        start();
        run->dialogs.answers = {Answer::No, Answer::Yes};
        emit form->Image1->clicked();
        QVERIFY(run->desktop.openedUrls.isEmpty());
        emit form->Image2->clicked();
        QCOMPARE(run->dialogs.texts(),
                 (QStringList{"Vuoi collegarti al sito Internet di Trimble?",
                              "Vuoi collegarti al sito Internet di Varneta?"}));
        QCOMPARE(run->dialogs.messages[0].title, QStringLiteral("Richiesta di Collegamento"));
        QCOMPARE(run->desktop.openedUrls, QList<QUrl>{kVarnetaSite});

        run->desktop.urlsOpen = false;
        run->dialogs.answers = {Answer::Yes};
        emit form->Image1->clicked();
        QCOMPARE(run->dialogs.messages.last().text,
                 QStringLiteral("Impossibile aprire %1.").arg(kTrimbleSite.toDisplayString()));
        QCOMPARE(run->dialogs.messages.last().title, std::nullopt);
    }

    void shouldOpenTheHelpBesideTheProgram() {
        start();
        form->cmd_info->click();
        QCOMPARE(run->desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(
                                              (folder->root() / "ferolan.html").string()))});
        QVERIFY(run->dialogs.messages.isEmpty());

        run->desktop.urlsOpen = false;
        form->cmd_info->click();
        const QString help = QString::fromStdString((folder->root() / "ferolan.html").string());
        QCOMPARE(
            run->dialogs.texts(),
            QStringList{QStringLiteral("Impossibile aprire file://%1.\nLa guida si trova in %1.")
                            .arg(help)});
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
