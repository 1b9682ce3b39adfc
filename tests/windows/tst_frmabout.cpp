#include "core/ProductInfo.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "windows/WindowArtwork.h"
#include "windows/WindowOpeners.h"
#include "windows/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {

VersionRecord record(const QString &product, const QString &company, const QString &comments, int major,
                     int minor)
{
    VersionRecord r;
    r.productName = product;
    r.companyName = company;
    r.comments = comments;
    r.major = major;
    r.minor = minor;
    return r;
}

} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void captionFromStartUpLabelsFromLoadTime();
    void secondChoiceBringsTheSameWindowForward();
    void closingUnloadsAndNextChoiceLoadsAnew();
    void labelTwinsWithALoadedSkin();
    void noTwinsWithoutASkin();
    void artworkIsBuiltIn();

private:
    ProductInfo m_product;
    WindowSkin m_skin;
};

void TestFrmAbout::init()
{
    m_product = ProductInfo{};
    m_skin.enabled = false;
    m_skin.skin = nullptr;
}

void TestFrmAbout::cleanup()
{
    if (frmAbout *window = CurrentAboutWindow())
        window->close();
    QTRY_VERIFY(!CurrentAboutWindow());
    SetVersionRecordForTesting(std::nullopt);
    m_skin.enabled = false;
    m_skin.skin = nullptr;
}

void TestFrmAbout::texts_data()
{
    QTest::addColumn<VersionRecord>("version");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("versionText");

    QTest::newRow("this product") << record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1)
                                  << "About Quillmere" << "2.1";
    QTest::newRow("two-digit minor") << record("Quillmere", "Quillmere Works", "quillmere.example", 2, 10)
                                     << "About Quillmere" << "2.10";
    QTest::newRow("minor zero") << record("Quillmere", "Quillmere Works", "quillmere.example", 2, 0)
                                << "About Quillmere" << "2.0";
    QTest::newRow("large numbers") << record("Q", "C", "w", 65535, 65535) << "About Q" << "65535.65535";
    QTest::newRow("empty record") << record("", "", "", 0, 0) << "About " << "0.0";
    QTest::newRow("other maker") << record("Renamer Pro", "Ünïcode & Co <b>", "example.org", 3, 7)
                                 << "About Renamer Pro" << "3.7";
}

void TestFrmAbout::texts()
{
    QFETCH(VersionRecord, version);
    SetVersionRecordForTesting(version);
    m_product = LoadProductInfo();
    m_skin.enabled = false;

    frmAbout *window = OpenAboutWindow(m_product, m_skin);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTEST(window->windowTitle(), "caption");
    QCOMPARE(window->Label1->text(), version.productName);
    QTEST(window->lblVersion->text(), "versionText");
    QCOMPARE(window->lblCompany->text(), version.companyName);
    QCOMPARE(window->lblWebsite->text(), version.comments);
    // Names are shown as written, never as markup.
    QCOMPARE(window->lblCompany->textFormat(), Qt::PlainText);
    QCOMPARE(window->Label2->text(), QStringLiteral("Version:"));
    QCOMPARE(window->Label3->text(), QStringLiteral("Owned By:"));
    QCOMPARE(window->Label4->text(), QStringLiteral("Website:"));
}

void TestFrmAbout::captionFromStartUpLabelsFromLoadTime()
{
    // The caption follows the record read at start-up; the labels read the
    // version record when the window loads.
    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1));
    m_product = LoadProductInfo();
    m_skin.enabled = false;
    SetVersionRecordForTesting(record("Later", "Later Works", "later.example", 5, 3));

    frmAbout *window = OpenAboutWindow(m_product, m_skin);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("About Quillmere"));
    QCOMPARE(window->Label1->text(), QStringLiteral("Later"));
    QCOMPARE(window->lblCompany->text(), QStringLiteral("Later Works"));
    QCOMPARE(window->lblWebsite->text(), QStringLiteral("later.example"));
    QCOMPARE(window->lblVersion->text(), QStringLiteral("5.3"));
}

void TestFrmAbout::secondChoiceBringsTheSameWindowForward()
{
    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1));
    frmAbout *first = OpenAboutWindow(m_product, m_skin);
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->showMinimized();

    SetVersionRecordForTesting(record("Changed", "", "", 9, 9));
    QCOMPARE(OpenAboutWindow(m_product, m_skin), first);
    QVERIFY(!first->isMinimized());
    QVERIFY(first->isVisible());
    QCOMPARE(first->Label1->text(), QStringLiteral("Quillmere")); // not loaded again

    int shown = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        shown += qobject_cast<frmAbout *>(widget) && widget->isVisible() ? 1 : 0;
    QCOMPARE(shown, 1);
}

void TestFrmAbout::closingUnloadsAndNextChoiceLoadsAnew()
{
    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1));
    QPointer<frmAbout> first = OpenAboutWindow(m_product, m_skin);
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QVERIFY(first->close());
    QTRY_VERIFY(!first);
    QCOMPARE(CurrentAboutWindow(), nullptr);

    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 10));
    frmAbout *second = OpenAboutWindow(m_product, m_skin);
    QVERIFY(second);
    QCOMPARE(second->lblVersion->text(), QStringLiteral("2.10"));
}

void TestFrmAbout::labelTwinsWithALoadedSkin()
{
    Skin skin;
    QVERIFY2(skin.isLoaded(), qPrintable(skin.loadError()));
    m_skin.skin = &skin;
    m_skin.enabled = true;
    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1));

    frmAbout *window = OpenAboutWindow(m_product, m_skin);
    QVERIFY(window);
    // The four plain labels, in order, each with a twin lying over it.
    QCOMPARE(window->SkinLabel1->indexes(), (QList<qint16>{0, 1, 2, 3, 4}));
    const QList<QLabel *> labels{window->Label2, window->Label3, window->Label4, window->Label5};
    for (qint16 index = 1; index <= 4; ++index) {
        SkinLabel *twin = window->SkinLabel1->element(index);
        QLabel *label = labels.at(index - 1);
        QVERIFY(twin);
        QCOMPARE(twin->parentWidget(), window);
        QCOMPARE(twin->text(), label->text());
        QCOMPARE(twin->geometry(), label->geometry());
        QCOMPARE(twin->font(), label->font());
        QCOMPARE(twin->followedLabel(), label);
    }
    // The template stays hidden; the skinned labels are no twins' labels.
    QVERIFY(!window->SkinLabel1->element(0)->isVisible());
    window->close();
    QTRY_VERIFY(!CurrentAboutWindow());
}

void TestFrmAbout::noTwinsWithoutASkin()
{
    // The switch on but no skin to draw with: the window is as designed.
    m_skin.enabled = true;
    SetVersionRecordForTesting(record("Quillmere", "Quillmere Works", "quillmere.example", 2, 1));
    frmAbout *window = OpenAboutWindow(m_product, m_skin);
    QVERIFY(window);
    QCOMPARE(window->SkinLabel1->count(), 1);
    QCOMPARE(window->Label1->text(), QStringLiteral("Quillmere"));
}

void TestFrmAbout::artworkIsBuiltIn()
{
    frmAbout window(ProductInfo{}, WindowSkin{});
    QVERIFY(window.Picture1->hasPicture());
    for (const QIcon &icon : {HelpWindowIcon(), AboutWindowIcon()}) {
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(24, 24)));
    }
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
