#include "core/cp1252.h"

#include <QtTest>

using namespace ferolan;

class TestCp1252 : public QObject {
    Q_OBJECT
private slots:
    void shouldConvertEveryByteToUnicodeAndBack() {
        std::string all;
        for (int byte = 1; byte < 256; ++byte)
            all += static_cast<char>(byte);
        auto back = cp1252FromUtf8(utf8FromCp1252(all));
        QVERIFY(back.has_value());
        QCOMPARE(*back, all);
    }

    void shouldConvertTheSpecialCharacters_data() {
        QTest::addColumn<QByteArray>("cp1252");
        QTest::addColumn<QString>("unicode");
        QTest::newRow("euro") << QByteArray("\x80") << QString(QChar(0x20AC));
        QTest::newRow("e grave") << QByteArray("\xe8") << QStringLiteral("è");
        QTest::newRow("oe") << QByteArray("\x9c") << QStringLiteral("œ");
        QTest::newRow("y diaeresis capital") << QByteArray("\x9f") << QStringLiteral("Ÿ");
    }
    void shouldConvertTheSpecialCharacters() {
        QFETCH(QByteArray, cp1252);
        QFETCH(QString, unicode);
        QCOMPARE(QString::fromStdString(utf8FromCp1252(cp1252.toStdString())), unicode);
        QCOMPARE(QByteArray::fromStdString(*cp1252FromUtf8(unicode.toStdString())), cp1252);
    }

    void shouldRefuseWhatWindows1252CannotHold_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("greek") << QStringLiteral("α").toUtf8();
        QTest::newRow("emoji") << QStringLiteral("😀").toUtf8();
        QTest::newRow("malformed") << QByteArray("\xc3");
        QTest::newRow("overlong") << QByteArray("\xc0\xaf");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80");
    }
    void shouldRefuseWhatWindows1252CannotHold() {
        QFETCH(QByteArray, utf8);
        QVERIFY(!cp1252FromUtf8(utf8.toStdString()).has_value());
    }

    void shouldBuildPathsFromWindows1252Names() {
        auto path = pathFromCp1252("CANT\xd9");
        QCOMPARE(QString::fromStdString(utf8FromPath(path)), QStringLiteral("CANTÙ"));
    }
};

QTEST_APPLESS_MAIN(TestCp1252)
#include "test_cp1252.moc"
