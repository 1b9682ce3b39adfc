#include "app/frmSplash.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowTick_data();
    void mainWindowTick();
    void timerShowsMainWindowOnce();
    void pictureFillsTheWindow();
};

void TestSplash::mainWindowTick_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("mainWindowsShown");
    QTest::addColumn<int>("count");

    QTest::newRow("one tick") << 1 << 0 << 2;
    QTest::newRow("74 ticks") << 74 << 0 << 148;
    QTest::newRow("75 ticks") << 75 << 1 << 150;
    QTest::newRow("76 ticks") << 76 << 1 << 152;
}

void TestSplash::mainWindowTick()
{
    QFETCH(int, ticks);
    QFETCH(int, mainWindowsShown);
    QFETCH(int, count);

    frmSplash splash;
    int loads = 0;
    splash.setMainWindowLoader([&] { ++loads; });
    QSignalSpy mainWindowShown(&splash, &frmSplash::mainWindowShown);
    splash.show();
    for (int i = 0; i < ticks; ++i)
        splash.Timer2_Timer();

    QCOMPARE(loads, mainWindowsShown);
    QCOMPARE(mainWindowShown.size(), mainWindowsShown);
    QCOMPARE(int(splash.intTemp), count);
    QCOMPARE(splash.isVisible(), mainWindowsShown == 0);
}

void TestSplash::timerShowsMainWindowOnce()
{
    frmSplash splash;
    int loads = 0;
    bool timerStoppedBeforeLoad = false;
    splash.setMainWindowLoader([&] {
        ++loads;
        timerStoppedBeforeLoad = !splash.Timer2->isActive();
    });
    int ticks = 0;
    connect(splash.Timer2, &QTimer::timeout, this, [&] { ++ticks; });
    QSignalSpy mainWindowShown(&splash, &frmSplash::mainWindowShown);

    QVERIFY(!splash.Timer2->isActive());
    splash.Form_Load();
    splash.show();
    QVERIFY(splash.Timer2->isActive());
    QVERIFY(mainWindowShown.wait(10000));

    QCOMPARE(ticks, 75);
    QCOMPARE(loads, 1);
    QVERIFY(timerStoppedBeforeLoad);
    QVERIFY(!splash.Timer2->isActive());
    QVERIFY(splash.isHidden());
    // About one second on screen.
    QVERIFY(75 * splash.Timer2->interval() >= 900 && 75 * splash.Timer2->interval() <= 1100);
}

void TestSplash::pictureFillsTheWindow()
{
    frmSplash splash;
    QCOMPARE(splash.size(), QSize(478, 318));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.Image1->geometry(), QRect(0, 0, 478, 318));
    const QPixmap picture = splash.Image1->pixmap();
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(478, 318));
    // Drawn, not blank: the corners carry the blue background.
    const QImage image = picture.toImage();
    const QColor corner = image.pixelColor(5, 5);
    QVERIFY2(corner.blue() > corner.red() + 60, qPrintable(corner.name()));
    QCOMPARE(corner.alpha(), 255);
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
