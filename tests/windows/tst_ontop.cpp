#include "windows/OnTop.h"

#include <QTest>
#include <QWidget>

class TestOnTop : public QObject
{
    Q_OBJECT

private slots:
    void keepsPlaceAndVisibility_data();
    void keepsPlaceAndVisibility();
    void childWidgetMovesItsWindow();
};

void TestOnTop::keepsPlaceAndVisibility_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("onTopBefore");
    QTest::addColumn<bool>("onTop");

    QTest::newRow("shown, into the band") << true << false << true;
    QTest::newRow("shown, out of the band") << true << true << false;
    QTest::newRow("shown, already above") << true << true << true;
    QTest::newRow("shown, not above, out again") << true << false << false;
    QTest::newRow("hidden, into the band") << false << false << true;
    QTest::newRow("hidden, out of the band") << false << true << false;
}

void TestOnTop::keepsPlaceAndVisibility()
{
    QFETCH(bool, shown);
    QFETCH(bool, onTopBefore);
    QFETCH(bool, onTop);

    QWidget window;
    window.setWindowFlag(Qt::WindowStaysOnTopHint, onTopBefore);
    window.setGeometry(140, 120, 320, 200);
    if (shown) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    const QRect geometry = window.geometry();

    SetAlwaysOnTop(&window, onTop);

    QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    QCOMPARE(window.isVisible(), shown);
    QCOMPARE(window.geometry(), geometry);
    if (shown)
        QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void TestOnTop::childWidgetMovesItsWindow()
{
    QWidget window;
    auto *child = new QWidget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    SetAlwaysOnTop(child, true);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!child->isWindow());
    QVERIFY(child->isVisible());
}

QTEST_MAIN(TestOnTop)
#include "tst_ontop.moc"
