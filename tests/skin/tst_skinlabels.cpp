#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// The skin and the switch the windows under test are given.
QPointer<Skin> skinObject;
bool skinEnabled = false;

WindowSkin givenSkin()
{
    return {skinEnabled, skinObject};
}

QLabel *plainLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty("controlKind", QStringLiteral("Label"));
    label->setGeometry(geometry);
    return label;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setProperty("controlKind", QStringLiteral("Frame"));
    box->setGeometry(geometry);
    return box;
}

// Built like the main window: Frame2 "File Selection" with Label6 and Label5,
// Frame1 "Renaming Options" with Label4, Label1, Label2, Label3, and one
// template array per frame.
struct MainLikeWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QGroupBox *frame1 = nullptr;
    QGroupBox *frame2 = nullptr;
    SkinLabelArray *skinLabel1 = nullptr;
    SkinLabelArray *skinLabel2 = nullptr;

    MainLikeWindow()
    {
        window->resize(573, 493);
        frame2 = frame(window.get(), "Frame2", QStringLiteral("File Selection"), QRect(4, 216, 565, 253));
        plainLabel(frame2, "Label6", QStringLiteral("Choose a directory:"), QRect(8, 16, 200, 17));
        plainLabel(frame2, "Label5", QStringLiteral("Select the files you want to rename:"), QRect(240, 16, 300, 17));
        frame1 = frame(window.get(), "Frame1", QStringLiteral("Renaming Options"), QRect(4, 64, 565, 149));
        plainLabel(frame1, "Label4", QStringLiteral("Renaming Type:"), QRect(8, 20, 110, 17));
        plainLabel(frame1, "Label1", QStringLiteral("New Name:"), QRect(8, 44, 110, 17));
        plainLabel(frame1, "Label2", QStringLiteral("."), QRect(300, 44, 10, 17));
        plainLabel(frame1, "Label3", QStringLiteral("Starting Number:"), QRect(8, 68, 120, 17));
        skinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), frame1, window.get());
        skinLabel2 = new SkinLabelArray(QStringLiteral("SkinLabel2"), frame2, window.get());
    }

    void makeTwins() { MakeLabelTwins(window.get(), skinObject, {skinLabel1, skinLabel2}); }
};

struct Twin
{
    QString array;
    int index;
    QString label;
};

// The twin lying over `label`: same container, geometry and caption.
SkinLabel *twinOf(const QLabel *label)
{
    for (SkinLabel *s : label->window()->findChildren<SkinLabel *>()) {
        if (s->followedLabel() == label)
            return s;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(QList<Twin>)

class TestSkinLabels : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        skinEnabled = true;
        skinObject = new Skin;
        QVERIFY(skinObject->isLoaded());
    }

    void cleanup()
    {
        delete skinObject.data();
        skinObject = nullptr;
    }

    void templateElement()
    {
        QWidget window;
        auto *container = new QWidget(&window);
        SkinLabelArray array(QStringLiteral("SkinLabel1"), container, nullptr);
        SkinLabel *element0 = array[0];
        QVERIFY(element0);
        QCOMPARE(element0->text(), QStringLiteral("Windowed Label"));
        QVERIFY(element0->isHidden());
        QVERIFY(element0->width() <= 2 && element0->height() <= 2);
        QCOMPARE(element0->parentWidget(), container);
        QCOMPARE(element0->property("controlKind").toString(), QStringLiteral("SkinLabel"));
        QCOMPARE(array.upperBound(), qint16(0));

        QVERIFY(array.load(2));
        QCOMPARE(array.upperBound(), qint16(2));
        QVERIFY(!array.load(2));  // taken
        QVERIFY(!array.load(-1)); // no such index
        QCOMPARE(array.indexes(), (QList<qint16>{0, 2}));
        QCOMPARE(array[2]->parentWidget(), container);
        QVERIFY(array[2]->isHidden());
    }

    void mainWindowTwins()
    {
        MainLikeWindow w;
        w.makeTwins();

        // Collection order: Frame2's labels come first, then Frame1's.
        const QList<Twin> expected = {
            {"SkinLabel2", 1, "Label6"}, {"SkinLabel2", 2, "Label5"}, {"SkinLabel1", 1, "Label4"},
            {"SkinLabel1", 2, "Label1"}, {"SkinLabel1", 3, "Label2"}, {"SkinLabel1", 4, "Label3"},
        };
        QCOMPARE(w.skinLabel1->indexes(), (QList<qint16>{0, 1, 2, 3, 4}));
        QCOMPARE(w.skinLabel2->indexes(), (QList<qint16>{0, 1, 2}));
        for (const Twin &t : expected) {
            SkinLabelArray *array = t.array == QLatin1String("SkinLabel1") ? w.skinLabel1 : w.skinLabel2;
            SkinLabel *twin = array->element(qint16(t.index));
            auto *label = w.window->findChild<QLabel *>(t.label);
            QVERIFY2(twin && label, qPrintable(t.label));
            QCOMPARE(twin->followedLabel(), label);
            QCOMPARE(twin->parentWidget(), array->container());
            QCOMPARE(twin->objectName(), t.array);
            QCOMPARE(twin->property("index").toInt(), t.index);
            QCOMPARE(twin->geometry(), label->geometry());
            QCOMPARE(twin->font(), label->font());
            QCOMPARE(twin->text(), label->text());
            QCOMPARE(twin->isHidden(), label->isHidden());
            // The plain label is left as it was.
            QVERIFY(label->isVisibleTo(label->parentWidget()));
        }
        QCOMPARE(w.window->findChildren<SkinLabel *>().size(), 2 + 6);
    }

    void copiedPropertiesFollowTheLabel_data()
    {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("hidden");

        QTest::newRow("bold caption") << QRect(8, 44, 110, 17) << "DejaVu Sans" << true << "New Prefix:" << false;
        QTest::newRow("hidden label") << QRect(100, 20, 60, 30) << "DejaVu Serif" << false << "Hidden:" << true;
        QTest::newRow("empty caption") << QRect(0, 0, 1, 1) << "DejaVu Sans" << false << "" << false;
    }

    void copiedPropertiesFollowTheLabel()
    {
        QFETCH(QRect, geometry);
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFETCH(QString, caption);
        QFETCH(bool, hidden);

        MainLikeWindow w;
        QLabel *label = w.window->findChild<QLabel *>("Label3");
        label->setGeometry(geometry);
        QFont font(family, 11);
        font.setBold(bold);
        label->setFont(font);
        label->setText(caption);
        label->setVisible(!hidden);
        w.makeTwins();

        SkinLabel *twin = w.skinLabel1->element(4);
        QVERIFY(twin);
        QCOMPARE(twin->followedLabel(), label);
        QCOMPARE(twin->geometry(), geometry);
        QCOMPARE(twin->font().family(), family);
        QCOMPARE(twin->font().bold(), bold);
        QCOMPARE(twin->text(), caption);
        QCOMPARE(twin->isHidden(), hidden);
        QCOMPARE(label->isHidden(), hidden);
    }

    void labelOutsideBothFramesGetsNoTwin()
    {
        MainLikeWindow w;
        QLabel *loose = plainLabel(w.window.get(), "Label7", QStringLiteral("Loose"), QRect(4, 4, 80, 17));
        auto *inner = new QWidget(w.frame1);
        QLabel *nested = plainLabel(inner, "Label8", QStringLiteral("Nested"), QRect(4, 4, 80, 17));
        w.makeTwins();
        QVERIFY(!twinOf(loose));
        QVERIFY(!twinOf(nested));
        QCOMPARE(w.skinLabel1->upperBound(), qint16(4));
        QCOMPARE(w.skinLabel2->upperBound(), qint16(2));
    }

    void aboutWindowTwins()
    {
        QWidget window;
        window.resize(497, 195);
        auto *title = new SkinLabel(QStringLiteral("Quillmere"), &window);
        title->setObjectName(QStringLiteral("Label1"));
        QStringList names;
        for (const char *name : {"Label2", "Label3", "Label4", "Label5"}) {
            plainLabel(&window, name, QLatin1String(name), QRect(12, 112 + 28 * names.size(), 150, 21));
            names << QLatin1String(name);
        }
        auto *skinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), &window, &window);
        MakeLabelTwins(&window, skinObject, {skinLabel1}, TwinArrayChoice::AlwaysFirst);

        QCOMPARE(skinLabel1->indexes(), (QList<qint16>{0, 1, 2, 3, 4}));
        for (int i = 0; i < names.size(); ++i) {
            SkinLabel *twin = skinLabel1->element(qint16(i + 1));
            QCOMPARE(twin->followedLabel(), window.findChild<QLabel *>(names.at(i)));
            QCOMPARE(twin->text(), names.at(i));
        }
        // The skinned label of the design gets no twin.
        QVERIFY(!twinOf(title));
    }

    void aboutWindowTakesLabelsOfAnyContainer()
    {
        QWidget window;
        auto *banner = new QWidget(&window);
        QLabel *inBanner = plainLabel(banner, "Label9", QStringLiteral("x"), QRect(0, 0, 10, 10));
        auto *skinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), &window, &window);
        MakeLabelTwins(&window, skinObject, {skinLabel1}, TwinArrayChoice::AlwaysFirst);
        QVERIFY(twinOf(inBanner));
        QCOMPARE(twinOf(inBanner)->parentWidget(), &window);
    }

    void twinFollowsItsLabel()
    {
        MainLikeWindow w;
        QLabel *label1 = w.window->findChild<QLabel *>("Label1");
        w.makeTwins();
        SkinLabel *twin = twinOf(label1);
        QVERIFY(twin);
        QCOMPARE(twin->text(), QStringLiteral("New Name:"));

        // The renaming type changes the caption after the twins are made.
        label1->setText(QStringLiteral("New Prefix:"));
        LabelCaptionChanged(label1);
        QCOMPARE(twin->text(), QStringLiteral("New Prefix:"));

        label1->setEnabled(false);
        QVERIFY(!twin->isEnabled());
        label1->setEnabled(true);
        QVERIFY(twin->isEnabled());

        label1->hide();
        QVERIFY(twin->isHidden());
        label1->show();
        QVERIFY(!twin->isHidden());

        // Moves reach the label as events once its window is shown.
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        label1->setGeometry(20, 30, 140, 19);
        QCOMPARE(twin->geometry(), QRect(20, 30, 140, 19));
        QFont font = label1->font();
        font.setItalic(true);
        label1->setFont(font);
        QVERIFY(twin->font().italic());

        // A disabled frame disables its labels and, through them, the twins.
        w.frame1->setEnabled(false);
        QVERIFY(!twin->isEnabled());
        w.frame1->setEnabled(true);

        // A label that goes takes its twin out of sight.
        const QPointer<SkinLabel> kept(twin);
        delete label1;
        QVERIFY(kept);
        QVERIFY(kept->isHidden());
        QCOMPARE(kept->followedLabel(), nullptr);
        QCOMPARE(twinOf(w.window->findChild<QLabel *>("Label3"))->text(), QStringLiteral("Starting Number:"));
    }

    void captionOfOtherLabelsIsUntouched()
    {
        MainLikeWindow w;
        w.makeTwins();
        QLabel *label1 = w.window->findChild<QLabel *>("Label1");
        QLabel *label3 = w.window->findChild<QLabel *>("Label3");
        label3->setText(QStringLiteral("changed"));
        LabelCaptionChanged(label1);
        QCOMPARE(twinOf(label3)->text(), QStringLiteral("Starting Number:"));
        LabelCaptionChanged(label3);
        QCOMPARE(twinOf(label3)->text(), QStringLiteral("changed"));
    }

    void noTwinsWithoutLoadedSkin()
    {
        delete skinObject.data();
        skinObject = new Skin(QStringLiteral(":/skin/none.json"), nullptr);
        MainLikeWindow w;
        w.makeTwins();
        QCOMPARE(w.skinLabel1->indexes(), QList<qint16>{0});
        QCOMPARE(w.skinLabel2->indexes(), QList<qint16>{0});
    }

    void twinIsDrawnInsteadOfTheLabel()
    {
        // Under the skin only the twin draws the caption, so it is never
        // drawn twice at slightly different places.
        MainLikeWindow w;
        w.makeTwins();
        ApplySkinToWindow(w.window.get(), givenSkin());
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QLabel *label1 = w.window->findChild<QLabel *>("Label1");
        QCOMPARE(label1->palette().color(QPalette::WindowText).alpha(), 0);
        SkinLabel *twin = twinOf(label1);
        QVERIFY(twin->palette().color(QPalette::WindowText).alpha() > 0);
        QVERIFY(twin->textShadowColor().isValid());
    }
};

QTEST_MAIN(TestSkinLabels)
#include "tst_skinlabels.moc"
