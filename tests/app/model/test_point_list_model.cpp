#include "app/model/point_list_model.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace ferolan;

class TestPointListModel : public QObject {
    Q_OBJECT
private slots:
    void shouldShowTheFieldsUnderTheFormatHeadings() {
        PointList points;
        PointListModel model(points);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 1);

        QVERIFY(points.load("M1              CHIES\xc8 VECCHIA\r\nP2\r\n"));
        model.reload();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 9);
        QCOMPARE(model.index(0, 0).data().toString(), QString());
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("M1"));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("CHIESÈ VECCHIA"));
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("P2"));
    }
};

QTEST_APPLESS_MAIN(TestPointListModel)
#include "test_point_list_model.moc"
