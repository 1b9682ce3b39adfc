#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "app/frmSplash.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "skin/SkinSupport.h"
#include "windows/Form8.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

std::unique_ptr<Form1> makeMainWindow(const WindowSkin &skin)
{
    auto form = std::make_unique<Form1>(LoadProductInfo(), skin);
    form->setMessagePresenter([](const QString &, const QString &) {});
    form->setProgramEnd([] {});
    form->setHelpWindowOpener([] {});
    form->setAboutWindowOpener([] {});
    return form;
}

QStringList twinnedLabels(const SkinLabelArray *array)
{
    QStringList names;
    for (qint16 index : array->indexes()) {
        if (index == 0)
            continue;
        const QLabel *label = array->element(index)->followedLabel();
        names << (label ? label->objectName() : QStringLiteral("<none>"));
    }
    return names;
}

} // namespace

// The skin as the program's windows wear it: the steps of the splash and main
// windows' load and unload, and the twins of the main window's labels.
class TestSkinWindows : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_settings.isValid());
        SetSettingsFolderForTesting(m_settings.path());
        skinObject = new Skin;
        QVERIFY(skinObject->isLoaded());
        SetNt6OrLaterForTesting(std::nullopt);
    }

    void cleanup()
    {
        SkinSupport::instance().Finish();
        delete skinObject.data();
        skinObject = nullptr;
        SetNt6OrLaterForTesting(std::nullopt);
        SetSettingsFolderForTesting(QString());
    }

    void splashLoadSharesItsSkin_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("switch on") << true;
        QTest::newRow("switch off") << false;
    }

    void splashLoadSharesItsSkin()
    {
        QFETCH(bool, enabled);
        frmSplash splash(LoadProductInfo(), WindowSkin{enabled, skinObject});
        splash.setMainWindowLoader([] {});
        splash.Form_Load();
        splash.Timer2->stop();

        // The splash window carries the skin it was given, and with the
        // switch on wears it and lends it to the program's dialogs.
        QCOMPARE(splash.skn, skinObject.data());
        QCOMPARE(splash.styleSheet().startsWith(skinObject->styleSheet()), enabled);
        QCOMPARE(SkinSupport::instance().isActive(), enabled);
        if (enabled)
            QCOMPARE(SkinSupport::instance().skin(), skinObject.data());
    }

    void switchOffLeavesMainWindowPlain()
    {
        auto f = makeMainWindow(WindowSkin{false, skinObject});
        f->Form_Load();
        QCOMPARE(f->SkinLabel1->indexes(), QList<qint16>{0});
        QVERIFY(f->styleSheet().isEmpty());
        QVERIFY(!f->Text1->property("BackColor").isValid());
    }

    void mainWindowTwins()
    {
        auto f = makeMainWindow(skin());
        f->Form_Load();

        QCOMPARE(f->SkinLabel1->container(), f->Frame1);
        QCOMPARE(f->SkinLabel2->container(), f->Frame2);
        QCOMPARE(f->SkinLabel1->element(0)->text(), QStringLiteral("Windowed Label"));
        QVERIFY(f->SkinLabel1->element(0)->isHidden());

        QCOMPARE(f->SkinLabel1->indexes(), (QList<qint16>{0, 1, 2, 3, 4}));
        QCOMPARE(f->SkinLabel2->indexes(), (QList<qint16>{0, 1, 2}));
        const QSet<QString> frame1 = {"Label1", "Label2", "Label3", "Label4"};
        const QSet<QString> frame2 = {"Label5", "Label6"};
        const QStringList inFrame1 = twinnedLabels(f->SkinLabel1);
        const QStringList inFrame2 = twinnedLabels(f->SkinLabel2);
        QCOMPARE(QSet<QString>(inFrame1.begin(), inFrame1.end()), frame1);
        QCOMPARE(QSet<QString>(inFrame2.begin(), inFrame2.end()), frame2);

        for (SkinLabelArray *array : {f->SkinLabel1, f->SkinLabel2}) {
            for (qint16 index : array->indexes()) {
                if (index == 0)
                    continue;
                SkinLabel *twin = array->element(index);
                const QLabel *label = twin->followedLabel();
                QCOMPARE(twin->parentWidget(), label->parentWidget());
                QCOMPARE(twin->geometry(), label->geometry());
                QCOMPARE(twin->font(), label->font());
                QCOMPARE(twin->text(), label->text());
                QCOMPARE(twin->isHidden(), label->isHidden());
            }
        }

        // The window wears the skin, its standard controls its colours.
        const SkinDescription &d = skinObject->description();
        QVERIFY(f->styleSheet().startsWith(skinObject->styleSheet()));
        QCOMPARE(f->Text1->property("BackColor").value<QColor>(), d.backColor);
        QCOMPARE(f->Combo3->property("ForeColor").value<QColor>(), d.foreColor);
        QCOMPARE(f->Command1->property("BackColor").value<QColor>(), d.backColor);
        QVERIFY(!f->ProgressBar1->property("BackColor").isValid());
        QVERIFY(!f->Frame1->property("BackColor").isValid());
    }

    void label1TwinFollowsTheType()
    {
        QVERIFY(WriteOption(QStringLiteral("Combo3"), QStringLiteral("3")));
        auto f = makeMainWindow(skin());
        f->Form_Load();

        SkinLabel *twin = nullptr;
        for (qint16 index : f->SkinLabel1->indexes()) {
            if (f->SkinLabel1->element(index)->followedLabel() == f->Label1)
                twin = f->SkinLabel1->element(index);
        }
        QVERIFY(twin);
        // Made after the options came back: the stored type's caption.
        QCOMPARE(f->Label1->text(), QStringLiteral("&New Prefix:"));
        QCOMPARE(twin->text(), f->Label1->text());

        for (int type : {4, 2, 0, 1}) {
            f->Combo3->setCurrentIndex(type);
            QCOMPARE(twin->text(), f->Label1->text());
        }
        QCOMPARE(twin->text(), QStringLiteral("&New Name:"));
    }

    void finishSteps_data()
    {
        QTest::addColumn<bool>("nt6");
        QTest::addColumn<bool>("viaExit");
        QTest::addColumn<int>("finishesAtLoad");
        QTest::addColumn<int>("finishesAtEnd");

        QTest::newRow("NT 6, close box") << true << false << 1 << 2;
        QTest::newRow("NT 6, Exit") << true << true << 1 << 1;
        QTest::newRow("older, close box") << false << false << 0 << 1;
        QTest::newRow("older, Exit") << false << true << 0 << 0;
    }

    void finishSteps()
    {
        QFETCH(bool, nt6);
        QFETCH(bool, viaExit);
        QFETCH(int, finishesAtLoad);
        QFETCH(int, finishesAtEnd);
        SetNt6OrLaterForTesting(nt6);

        SkinSupport &support = SkinSupport::instance();
        support.SetSkin(skinObject->object());
        support.Begin();
        support.resetFinishCountForTesting();

        auto f = makeMainWindow(skin());
        f->setMask(QRegion(0, 0, 50, 50, QRegion::Ellipse));
        f->Form_Load();
        QCOMPARE(support.finishCount(), finishesAtLoad);
        // The region step only runs on NT 6 and later.
        QCOMPARE(f->mask().isEmpty(), nt6);

        if (viaExit)
            f->mnuFileItem_Click(1);
        else
            f->close();
        QCOMPARE(support.finishCount(), finishesAtEnd);
    }

    void helpWindowIsSkinnedFirst()
    {
        // Skinned before anything else of its load step, whether or not the
        // help document is there to show.
        Form8 help(skin());
        help.Form_Load();
        QVERIFY(help.styleSheet().startsWith(skinObject->styleSheet()));
        QCOMPARE(help.palette().color(QPalette::WindowText), skinObject->palette().color(QPalette::WindowText));
    }

    void brokenSkinLeavesMainWindowPlain()
    {
        delete skinObject.data();
        skinObject = new Skin(QStringLiteral(":/skin/none.json"), nullptr);
        auto f = makeMainWindow(skin());
        f->Form_Load();
        QCOMPARE(f->SkinLabel1->indexes(), QList<qint16>{0});
        QCOMPARE(f->SkinLabel2->indexes(), QList<qint16>{0});
        QVERIFY(f->styleSheet().isEmpty());
        QVERIFY(!f->Text1->property("BackColor").isValid());
    }

private:
    WindowSkin skin() const { return {true, skinObject}; }

    QTemporaryDir m_settings;
    QPointer<Skin> skinObject;
};

QTEST_MAIN(TestSkinWindows)
#include "tst_skinwindows.moc"
