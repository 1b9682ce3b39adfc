#include "app/WindowIcon.h"

#include <QTest>
#include <QWidget>

class TestWindowIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconGroup_data();
    void iconGroup();
    void applyToWindowAndOwner_data();
    void applyToWindowAndOwner();
};

void TestWindowIcon::iconGroup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loads");

    QTest::newRow("the program's icon") << "AAA" << true;
    QTest::newRow("unknown") << "BBB" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a path out of the icon folder") << "../app/splash" << false;
    QTest::newRow("an absolute path") << ":/quillmere/icons/AAA" << false;
}

void TestWindowIcon::iconGroup()
{
    QFETCH(QString, name);
    QFETCH(bool, loads);

    const QIcon icon = LoadIconGroup(name);
    QCOMPARE(icon.isNull(), !loads);
    if (!loads)
        return;
    QList<QSize> expected;
    for (const int size : {16, 32, 48, 64, 128})
        expected << QSize(size, size);
    QList<QSize> offered = icon.availableSizes();
    std::sort(offered.begin(), offered.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(offered, expected);
    // Every size is drawn, not empty.
    for (const QSize &size : expected) {
        const QImage image = icon.pixmap(size).toImage();
        QCOMPARE(image.size(), size);
        QVERIFY(image.pixelColor(size.width() / 2, size.height() / 2).alpha() > 0);
    }
}

void TestWindowIcon::applyToWindowAndOwner_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withOwner");
    QTest::addColumn<bool>("windowHasIcon");
    QTest::addColumn<bool>("ownerHasIcon");

    QTest::newRow("with owner") << "AAA" << true << true << true;
    QTest::newRow("window only") << "AAA" << false << true << false;
    QTest::newRow("unknown icon clears it") << "BBB" << true << false << false;
}

void TestWindowIcon::applyToWindowAndOwner()
{
    QFETCH(QString, name);
    QFETCH(bool, withOwner);
    QFETCH(bool, windowHasIcon);
    QFETCH(bool, ownerHasIcon);

    QWidget top;
    auto *middle = new QWidget(&top, Qt::Window);
    auto *window = new QWidget(middle, Qt::Window);
    if (name != QLatin1String("AAA")) {
        QPixmap earlier(8, 8);
        earlier.fill(Qt::red);
        window->setWindowIcon(QIcon(earlier));
        top.setWindowIcon(QIcon(earlier));
    }

    ApplyWindowIcon(window, name, withOwner);

    QCOMPARE(!window->windowIcon().isNull(), windowHasIcon);
    QCOMPARE(!top.windowIcon().isNull(), ownerHasIcon);
    // Only the window and its top-level owner are given the icon.
    QCOMPARE(middle->testAttribute(Qt::WA_SetWindowIcon), false);
}

QTEST_MAIN(TestWindowIcon)
#include "tst_windowicon.moc"
