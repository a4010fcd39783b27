#include "core/settings_file.h"

#include <QtTest>

using namespace ferolan;

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void shouldReadTheFoldersByCharacterPosition_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("pathPf");
        QTest::addColumn<QByteArray>("pathTgo");
        QTest::addColumn<bool>("checkDone");
        QTest::newRow("as written")
            << QByteArray("PATH_PF=c:\\pf\r\nPATH_TGO=c:\\tgo\r\ncheck=1\r\n")
            << QByteArray("c:\\pf") << QByteArray("c:\\tgo") << true;
        QTest::newRow("keys not checked")
            << QByteArray("ABCDEFGHc:\\pf\r\n123456789c:\\tgo\r\ncheck=0") << QByteArray("c:\\pf")
            << QByteArray("c:\\tgo") << false;
        QTest::newRow("nothing trimmed") << QByteArray("PATH_PF= a \r\nPATH_TGO=b \r\n0\r\n")
                                         << QByteArray(" a ") << QByteArray("b ") << false;
        QTest::newRow("short lines give empty folders")
            << QByteArray("PATH\r\nPATH_TGO\r\nx0") << QByteArray() << QByteArray() << false;
        QTest::newRow("empty third line means done")
            << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\n\r\n") << QByteArray("a") << QByteArray("b")
            << true;
        QTest::newRow("only the last character counts")
            << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\ncheck=01") << QByteArray("a")
            << QByteArray("b") << true;
        QTest::newRow("lone cr ends lines") << QByteArray("PATH_PF=a\rPATH_TGO=b\rcheck=0")
                                            << QByteArray("a") << QByteArray("b") << false;
        QTest::newRow("lone lf ends lines") << QByteArray("PATH_PF=a\nPATH_TGO=b\ncheck=1\n")
                                            << QByteArray("a") << QByteArray("b") << true;
    }
    void shouldReadTheFoldersByCharacterPosition() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, pathPf);
        QFETCH(QByteArray, pathTgo);
        QFETCH(bool, checkDone);
        auto settings = parseSettings(text.toStdString());
        QVERIFY(settings.has_value());
        QCOMPARE(QByteArray::fromStdString(settings->Path_pf), pathPf);
        QCOMPARE(QByteArray::fromStdString(settings->Path_tgo), pathTgo);
        QCOMPARE(settings->exportCheckDone, checkDone);
    }

    void shouldRefuseAFileOfFewerThanThreeLines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("two lines") << QByteArray("PATH_PF=a\r\nPATH_TGO=b\r\n");
    }
    void shouldRefuseAFileOfFewerThanThreeLines() {
        QFETCH(QByteArray, text);
        QVERIFY(!parseSettings(text.toStdString()).has_value());
    }

    void shouldWriteTheThreeLinesWithTheCheckDone() {
        Settings settings{" c:\\pf", "c:\\tgo\xe8", false};
        QCOMPARE(settingsTextWithCheckDone(settings),
                 std::string("PATH_PF= c:\\pf\r\nPATH_TGO=c:\\tgo\xe8\r\ncheck=1\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
