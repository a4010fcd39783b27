#include "core/numbers.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace ferolan;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void shouldReadTheNumericValueOfAText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << QByteArray("4512345.1234") << 4512345.1234;
        QTest::newRow("blanks around and inside") << QByteArray("  12 3.5 ") << 123.5;
        QTest::newRow("tabs and line feeds skipped") << QByteArray("\t1\n2") << 12.0;
        QTest::newRow("minus") << QByteArray("-0.5") << -0.5;
        QTest::newRow("plus") << QByteArray("+7") << 7.0;
        QTest::newRow("sign after blanks") << QByteArray("  - 3") << -3.0;
        QTest::newRow("leading point") << QByteArray(".25") << 0.25;
        QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
        QTest::newRow("second point ends it") << QByteArray("1.2.3") << 1.2;
        QTest::newRow("exponent E") << QByteArray("1.5E3") << 1500.0;
        QTest::newRow("exponent D") << QByteArray("2D-2") << 0.02;
        QTest::newRow("exponent with sign") << QByteArray("2e+2") << 200.0;
        QTest::newRow("exponent without digits") << QByteArray("7E") << 7.0;
        QTest::newRow("exponent sign only") << QByteArray("7E-") << 7.0;
        QTest::newRow("letters end it") << QByteArray("12abc") << 12.0;
        QTest::newRow("comma ends it") << QByteArray("12,5") << 12.0;
        QTest::newRow("text") << QByteArray("abc") << 0.0;
        QTest::newRow("empty") << QByteArray("") << 0.0;
        QTest::newRow("sign alone") << QByteArray("-") << 0.0;
        QTest::newRow("point alone") << QByteArray(".") << 0.0;
        QTest::newRow("carriage return ends it") << QByteArray("1\r2") << 1.0;
        QTest::newRow("beyond a double") << QByteArray("1E400") << 0.0;
        QTest::newRow("beyond a double, negative") << QByteArray("-1E400") << 0.0;
    }
    void shouldReadTheNumericValueOfAText() {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        QCOMPARE(numericValue(text.toStdString()), expected);
    }

    void shouldRoundDownTowardsMinusInfinity_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("positive fraction") << 123.9 << "123";
        QTest::newRow("negative half") << -0.5 << "-1";
        QTest::newRow("negative") << -2.5 << "-3";
        QTest::newRow("whole") << 20.0 << "20";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("large") << 1e15 + 0.5 << "1000000000000000";
    }
    void shouldRoundDownTowardsMinusInfinity() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(wholeNumberText(roundDown(value))), expected);
    }

    void shouldWriteThreeDecimals_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half up as read") << 2.0005 << "2,001";
        QTest::newRow("negative half away from zero") << -0.0625 << "-0,063";
        QTest::newRow("below half") << 12.3449 << "12,345";
        QTest::newRow("negative") << -6.7891 << "-6,789";
        QTest::newRow("padded") << 0.12 << "0,120";
        QTest::newRow("carry into whole part") << 9.9995 << "10,000";
        QTest::newRow("carry into a new digit") << 999.9999 << "1000,000";
        QTest::newRow("negative rounding to zero") << -0.0004 << "0,000";
        QTest::newRow("negative zero") << -0.0 << "0,000";
        QTest::newRow("zero") << 0.0 << "0,000";
        QTest::newRow("large, no grouping") << 4512345.1234 << "4512345,123";
        QTest::newRow("huge") << 1e20 << "100000000000000000000,000";
        QTest::newRow("tiny") << 1e-10 << "0,000";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "0,000";
    }
    void shouldWriteThreeDecimals() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(threeDecimalText(value, ',')), expected);
    }

    void shouldUseTheSeparatorPassedIn() {
        QCOMPARE(threeDecimalText(-1.25, '.'), std::string("-1.250"));
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
