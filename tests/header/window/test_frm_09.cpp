#include "app/window/form1.h"
#include "cases.h"
#include "header/window/frm_09.h"
#include "job_walk.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

using namespace ferolan;
using namespace ferolan::testing;
namespace fs = std::filesystem;

namespace {

const QByteArray kJob =
    jobLine("BASE", "STAZIONE", "4448006.9732", "606794.2298", "4516065.3429", "1403652.400",
            "315.3") +
    jobLine("101", "PALO", "4448010.0", "606790.0", "4516060.0", "1403600", "317") +
    jobLine("PF01/0012/A074", "PF", "4448010.0", "606790.0", "4516060.0", "1403700", "316") +
    jobLine("PF05/0013/H501", "PF DI ROMA", "4448010.0", "606790.0", "4516060.0", "1403652", "316");

// Types text as the keyboard would, letters outside ASCII included.
void typeText(QWidget *widget, const QString &text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

const fs::path kExpected = FEROLAN_TEST_DATA "/frm_09";

// What the fifteen fields show, read from the controls themselves.
QStringList shownTexts(const Frm_09 &header) {
    QStringList texts;
    for (const QLineEdit *field :
         {header.Txt_data, header.Txt_pg, header.Txt_foglio, header.Txt_mappali, header.Txt_tecnico,
          header.Txt_quota, header.Txt_estmedia, header.Txt_note, header.Txt_ora_inizio,
          header.Txt_ora_fine, header.Txt_base})
        texts << field->text();
    for (const QComboBox *list :
         {header.Cmb_prov, header.Cmb_comune, header.Cmb_albo, header.Cmb_prov_albo,
          header.Cmb_prec1, header.Cmb_prec2, header.Cmb_tipo, header.Cmb_metodo, header.Cmb_vrs})
        texts << list->currentText();
    return texts;
}

} // namespace

class TestFrm09 : public QObject {
    Q_OBJECT
    std::unique_ptr<JobWalk> walk;

    Frm_09 *open(const QByteArray &job = kJob, int master = 1) {
        walk->start();
        walk->loadJob(job, master);
        return walk->openHeaderWindow();
    }

private slots:
    void init() { walk = std::make_unique<JobWalk>(); }
    void cleanup() {
        QCOMPARE(walk->run.dialogs.unanswered, 0);
        walk.reset();
    }

    void shouldProposeTheDefaultsAndTheLists() {
        Frm_09 *header = open();
        QVERIFY(header);
        QVERIFY(!walk->windows.form1().isEnabled());
        // Today's date, the master's height, the mean east value rounded down, empty choices.
        walk->compareSnapshot(*header, kExpected);
        QCOMPARE(header->statusText(), QString());

        // Enlarged, its fields grow, its buttons do not; it never shrinks below.
        const QSize opened = header->size();
        const QSize button = header->Cmd_ok->size();
        const int field = header->Txt_mappali->width();
        header->resize(opened + QSize(300, 100));
        QTRY_VERIFY(header->Txt_mappali->width() > field + 50);
        QCOMPARE(header->Cmd_ok->size(), button);
        QCOMPARE(header->minimumSize(), opened);
    }

    void shouldTakeTheProvinceFromTheLastPointWithoutAFiducialPoint() {
        const QByteArray job = jobLine("BASE", "", "4000000", "1000000", "4800000", "", "12345.6") +
                               jobLine("PUNTO H501", "ROMA", "4000000", "1000000", "4800000");
        Frm_09 *header = open(job);
        // A default longer than the input limit shows whole: the limit bounds typing only.
        // No east value at all: no made-up mean.
        walk->compareSnapshot(*header, kExpected);
    }

    void shouldLetTheUserChooseAProvinceTheJobDoesNotGive() {
        const QByteArray job = jobLine("BASE", "", "4000000", "1000000", "4800000", "1403652") +
                               jobLine("PUNTO Z000", "", "4000000", "1000000", "4800000");
        Frm_09 *header = open(job);
        walk->compareSnapshot(*header, kExpected); // every province offered, none chosen
        QVERIFY(!header->Cmb_prov->isEditable());
        JobWalk::fillHeader(*header);
        header->Cmd_ok->click();
        QCOMPARE(header->statusText(), QStringLiteral("Il campo Provincia è vuoto!"));
        QCOMPARE(walk->run.dialogs.events.count("beep"), 1);
        QVERIFY(!fs::exists(walk->folder.archive() / "punti_fiduciali"));
        header->Cmb_prov->setCurrentText(QStringLiteral("ROMA"));
        QVERIFY(header->Cmb_comune->findText(QStringLiteral("H501 - ROMA")) >= 0);
    }

    // Every fiducial point of one municipality the table knows: it is proposed. A fiducial
    // point's code the table does not know is named in the status line.
    void shouldProposeTheMunicipalityOfTheFiducialPoints_data() {
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QString>("comune");
        QTest::addColumn<QString>("status");
        QTest::newRow("one municipality")
            << QByteArrayList{"PF01/0012/A074", "PF02/0013/A074"} << "A074 - AGLIE'"
            << "";
        QTest::newRow("two municipalities")
            << QByteArrayList{"PF01/0012/A074", "PF05/0013/H501"} << ""
            << "";
        QTest::newRow("unknown code")
            << QByteArrayList{"PF01/0012/Z000"} << ""
            << "Il codice Z000 dei punti fiduciali non è nella tabella dei comuni: scegliere "
               "la provincia.";
        QTest::newRow("no fiducial point") << QByteArrayList{"PUNTO Z000"} << ""
                                           << "";
    }
    void shouldProposeTheMunicipalityOfTheFiducialPoints() {
        QFETCH(QByteArrayList, names);
        QFETCH(QString, comune);
        QFETCH(QString, status);
        QByteArray job =
            jobLine("BASE", "", "4448006.9", "606794.2", "4516065.3", "1403652", "315");
        for (const QByteArray &name : names)
            job += jobLine(name, "", "4448010.0", "606790.0", "4516060.0", "1403700", "316");
        Frm_09 *header = open(job);
        QVERIFY(header);
        QCOMPARE(header->Cmb_comune->currentText(), comune);
        QCOMPARE(header->statusText(), status);
    }

    // The focus starts on the date; Tab walks the fields down the form, then the buttons.
    void shouldWalkTheFieldsInTheirOrder() {
        Frm_09 *header = open();
        QVERIFY(QTest::qWaitForWindowActive(header));
        QStringList order;
        for (int i = 0; i < 22; ++i) {
            QWidget *focus = QApplication::focusWidget();
            order << (focus->objectName().isEmpty() ? focus->parentWidget() : focus)->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{"Txt_data",       "Txt_pg",       "Cmb_prov",     "Cmb_comune",
                              "Txt_foglio",     "Txt_mappali",  "Txt_tecnico",  "Cmb_albo",
                              "Cmb_prov_albo",  "Txt_quota",    "Txt_estmedia", "Cmb_prec1",
                              "Cmb_prec2",      "Cmb_tipo",     "Txt_note",     "Cmb_metodo",
                              "Txt_ora_inizio", "Txt_ora_fine", "Txt_base",     "Cmd_annulla1",
                              "Cmd_ok",         "Txt_data"}));
    }

    void shouldTypeWhatTheBookletCanHold_data() {
        test_cases::addRows(FEROLAN_TEST_DATA "/frm_09_typing_cases.txt");
    }
    void shouldTypeWhatTheBookletCanHold() {
        QFETCH(QByteArrayList, fields);
        Frm_09 *header = open();
        auto *edit = header->findChild<QLineEdit *>(QString::fromUtf8(fields[1]));
        typeText(edit, QString::fromUtf8(fields[2]));
        const qsizetype typed = edit->text().size();
        edit->setCursorPosition(2);
        typeText(edit, QString::fromUtf8(fields[3]));
        QCOMPARE(edit->text(), QString::fromUtf8(fields[4]));
        QCOMPARE(edit->cursorPosition(), 2 + edit->text().size() - typed);
    }

    void shouldShowTheFirstFailedCheckWithABeep_data() {
        test_cases::addRows(FEROLAN_TEST_DATA "/frm_09_check_cases.txt");
    }
    // Enter in a field presses " Avanti"; the field at fault gets the focus, its text selected.
    void shouldShowTheFirstFailedCheckWithABeep() {
        QFETCH(QByteArrayList, fields);
        const QString message = QString::fromUtf8(fields.takeLast());
        const QString value = QString::fromUtf8(fields.takeLast());
        const QString field = QString::fromUtf8(fields.takeLast());
        Frm_09 *header = open();
        JobWalk::fillHeader(*header);
        fields.removeFirst();
        fields << (field + '=' + value).toUtf8();
        QLineEdit *edit = nullptr;
        for (const QByteArray &typed : fields) {
            const QString name = QString::fromUtf8(typed.left(typed.indexOf('=')));
            const QString text = QString::fromUtf8(typed.mid(typed.indexOf('=') + 1));
            edit = header->findChild<QLineEdit *>(name);
            if (edit)
                edit->setText(text);
            else
                header->findChild<QComboBox *>(name)->setCurrentText(text);
        }
        QVERIFY(QTest::qWaitForWindowActive(header));
        header->Txt_pg->setFocus();
        QTest::keyClick(header->Txt_pg, Qt::Key_Return);
        QCOMPARE(header->statusText(), message);
        QVERIFY(header->findChild<QWidget *>(field)->hasFocus());
        if (edit)
            QCOMPARE(edit->selectedText(), value);
        QCOMPARE(walk->run.dialogs.events.count("beep"), 1);
        QVERIFY(header->isEnabled());
        QVERIFY(!walk->windows.frmPf());
    }

    // What the booklet check finds in rows 0 and 9 is shown before going on; No, the default
    // button, goes back to the first field at fault. Going on creates the province's archive
    // folder; a missing archive folder stops it.
    void shouldGoOnOnlyWithTheUsersYesAndAnArchive_data() {
        QTest::addColumn<bool>("findings");
        QTest::addColumn<bool>("goOn");
        QTest::newRow("Si to the findings") << true << true;
        QTest::newRow("No to the findings") << true << false;
        QTest::newRow("archive folder missing") << false << false;
    }
    void shouldGoOnOnlyWithTheUsersYesAndAnArchive() {
        QFETCH(bool, findings);
        QFETCH(bool, goOn);
        if (!findings)
            fs::remove_all(walk->folder.archive());
        Frm_09 *header = open();
        JobWalk::fillHeader(*header);
        if (findings) {
            header->Txt_quota->setText(QStringLiteral("abc"));
            header->Txt_foglio->setText(QStringLiteral("12AB"));
            walk->run.dialogs.answers.push_back(goOn ? Answer::Yes : Answer::No);
        }
        // The keypad's Enter presses " Avanti" too.
        QVERIFY(QTest::qWaitForWindowActive(header));
        header->Txt_pg->setFocus();
        QTest::keyClick(header->Txt_pg, Qt::Key_Enter, Qt::KeypadModifier);
        walk->compareEvents(kExpected);
        QCOMPARE(walk->windows.frmPf() != nullptr, goOn);
        QCOMPARE(header->isEnabled(), !goOn);
        QCOMPARE(fs::is_directory(walk->folder.archive() / "punti_fiduciali" / "TORINO"), goOn);
        QCOMPARE(fs::exists(walk->folder.archive() / "punti_fiduciali"), goOn);
        QCOMPARE(walk->run.dialogs.events.count("beep"), 0);
        if (goOn)
            QCOMPARE(header->cursor().shape(), Qt::WaitCursor);
        else if (findings)
            QCOMPARE(header->focusWidget(), header->Txt_foglio);
    }

    void shouldGoBackKeepingTheInputForTheSameJob_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Indietro") << "Indietro";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("closed from the frame") << "frame";
        QTest::newRow("Enter on Indietro") << "Enter";
    }
    void shouldGoBackKeepingTheInputForTheSameJob() {
        QFETCH(QString, way);
        QPointer<Frm_09> header = open();
        QVERIFY(header);
        JobWalk::fillHeader(*header);
        header->Txt_pg->setText(QStringLiteral("999"));
        header->Txt_quota->setText(QStringLiteral("12"));
        header->Cmb_metodo->setCurrentText(QStringLiteral("NRTK"));
        header->Txt_ora_inizio->setText(QStringLiteral("08:15"));
        header->Txt_base->setText(QStringLiteral("TORI"));
        header->Cmb_vrs->setCurrentText(QStringLiteral("PF05/0013/H501"));
        const QStringList typed = shownTexts(*header);
        if (way == "frame")
            header->close();
        else if (way == "Enter")
            QTest::keyClick(header->Cmd_annulla1, Qt::Key_Return);
        else if (way == "Escape") {
            // An open list keeps Escape for itself.
            header->Cmb_albo->showPopup();
            QTest::keyClick(header->Cmb_albo->view(), Qt::Key_Escape);
            QTRY_VERIFY(!header->Cmb_albo->view()->isVisible());
            QVERIFY(header && header->isVisible());
            QTest::keyClick(header->Txt_mappali, Qt::Key_Escape);
        } else {
            header->Cmd_annulla1->click();
        }
        QTRY_VERIFY(!header);
        QVERIFY(walk->windows.form1().isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(&walk->windows.form1()));

        Frm_09 *again = walk->openHeaderWindow();
        QVERIFY(again);
        QCOMPARE(shownTexts(*again), typed);

        // Another master station of the same job: what was typed stays, also a VRS point
        // still listed; what still held the proposals follows the new master.
        auto otherMaster = [this](Frm_09 *window, int row) {
            window->Cmd_annulla1->click();
            QTableView *grid = walk->windows.form1().MSHFlexGrid1;
            grid->setCurrentIndex(grid->model()->index(row - 1, 1));
            return walk->openHeaderWindow();
        };
        Frm_09 *second = otherMaster(again, 2);
        QVERIFY(second);
        QCOMPARE(shownTexts(*second), typed);
        second->Txt_quota->setText(QStringLiteral("317"));
        second->Txt_base->setText(QStringLiteral("101"));
        second->Cmb_vrs->setCurrentText(QStringLiteral("BASE"));
        Frm_09 *third = otherMaster(second, 1);
        QVERIFY(third);
        QCOMPARE(third->Txt_pg->text(), QStringLiteral("999"));
        QCOMPARE(third->Txt_quota->text(), QStringLiteral("315"));
        QCOMPARE(third->Txt_base->text(), QStringLiteral("BASE"));
        QCOMPARE(third->Cmb_vrs->currentText(), QStringLiteral("101"));

        third->Cmd_annulla1->click();
        walk->loadJob(kJob + jobLine("102", "", "4448011.0", "606791.0", "4516061.0"), 2);
        Frm_09 *fresh = walk->openHeaderWindow();
        QVERIFY(fresh);
        QCOMPARE(fresh->Txt_pg->text(), QString());
        QCOMPARE(fresh->Txt_quota->text(), QStringLiteral("317"));
        QCOMPARE(fresh->Txt_base->text(), QStringLiteral("101"));
    }

    // Enter in a list that offers a completion takes it and presses " Avanti" as well.
    void shouldTakeTheCompletionAndGoOnWithOneEnter() {
        Frm_09 *header = open();
        QVERIFY(header);
        JobWalk::fillHeader(*header);
        header->Txt_pg->clear();
        header->Cmb_albo->setCurrentIndex(-1);
        QVERIFY(QTest::qWaitForWindowActive(header));
        header->Cmb_albo->setFocus();
        QTest::keyClicks(header->Cmb_albo, QStringLiteral("GEO"));
        QCOMPARE(header->Cmb_albo->lineEdit()->selectedText(), QStringLiteral("METRA"));
        QTest::keyClick(header->Cmb_albo, Qt::Key_Return);
        QCOMPARE(header->Cmb_albo->currentText(), QStringLiteral("GEOMETRA"));
        QCOMPARE(header->statusText(), QStringLiteral("Il campo Protocollo è vuoto!"));
    }

    // Row 1 named as the master station until NRTK is chosen, which proposes 10000, lists the
    // VRS points and says that the job has no variance-covariance terms; leaving NRTK takes
    // back only the 10000 it proposed.
    void shouldProposeTheBaseAndTheVrsPointForTheMethod() {
        Frm_09 *header = open();
        auto shown = [header] {
            QStringList listed;
            for (int i = 0; i < header->Cmb_vrs->count(); ++i)
                listed << header->Cmb_vrs->itemText(i);
            return QStringList{header->Cmb_metodo->currentText(),
                               header->Txt_base->text(),
                               header->Cmb_vrs->currentText(),
                               header->Cmb_vrs->isEnabled() ? "enabled" : "disabled",
                               listed.join(','),
                               header->statusText()};
        };
        const QString withoutTerms = QStringLiteral(
            "Con il metodo NRTK ogni vettore richiede la matrice di varianza-covarianza: il lavoro "
            "non la contiene.");
        QCOMPARE(shown(), (QStringList{"RTK", "BASE", "101", "disabled", "", ""}));
        QCOMPARE(header->Cmb_metodo->count(), 4);
        header->Cmb_metodo->setCurrentText(QStringLiteral("NRTK"));
        QCOMPARE(shown(), (QStringList{"NRTK", "10000", "101", "enabled",
                                       "101,PF01/0012/A074,PF05/0013/H501", withoutTerms}));
        header->Cmb_vrs->setCurrentIndex(2);
        header->Cmb_metodo->setCurrentText(QStringLiteral("STATICO"));
        QCOMPARE(shown(), (QStringList{"STATICO", "BASE", "PF05/0013/H501", "disabled",
                                       "101,PF01/0012/A074,PF05/0013/H501", ""}));
        header->Txt_base->setText(QStringLiteral("TORI"));
        header->Cmb_metodo->setCurrentText(QStringLiteral("NRTK"));
        QCOMPARE(header->Txt_base->text(), QStringLiteral("TORI"));
        header->Txt_base->setText(QStringLiteral("10000"));
        header->Cmb_metodo->setCurrentText(QStringLiteral("RTK"));
        QCOMPARE(header->Txt_base->text(), QStringLiteral("BASE"));
    }

    void shouldNameAMissingCodeTableAndStayOnTheMainWindow() {
        fs::remove(walk->folder.root() / "cod_comuni_2.cod");
        QVERIFY(!open());
        walk->compareEvents(kExpected);
        QVERIFY(walk->windows.form1().isEnabled());
    }
};

QTEST_MAIN(TestFrm09)
#include "test_frm_09.moc"
