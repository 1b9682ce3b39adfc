#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinSupport.h"

#include "TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <memory>

namespace {

// The skin and the switch the windows under test are given.
QPointer<Skin> skinObject;
bool skinEnabled = false;

WindowSkin givenSkin()
{
    return {skinEnabled, skinObject};
}

template <typename W>
W *control(QWidget *parent, const char *name, const char *kind)
{
    auto *w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setProperty("controlKind", QLatin1String(kind));
    return w;
}

// A window with one control of every kind the engine may meet.
std::unique_ptr<QWidget> windowWithEveryKind()
{
    auto window = std::make_unique<QWidget>();
    window->resize(400, 300);
    auto *frame = control<QGroupBox>(window.get(), "Frame1", "Frame");
    frame->setGeometry(0, 0, 400, 300);
    control<QPushButton>(frame, "Command1", "CommandButton");
    control<QLineEdit>(frame, "Text1", "TextBox");
    control<QComboBox>(frame, "Combo1", "ComboBox")->setEditable(true);
    control<QListWidget>(frame, "File1", "FileListBox");
    control<QListWidget>(frame, "Dir1", "DirListBox");
    control<QComboBox>(frame, "Drive1", "DriveListBox");
    control<QListWidget>(frame, "List1", "ListBox");
    control<QTreeWidget>(frame, "ListView1", "ListView");
    control<QLabel>(window.get(), "Picture1", "PictureBox");
    control<QLabel>(frame, "Label1", "Label")->setText(QStringLiteral("Label"));
    control<QCheckBox>(frame, "Check1", "CheckBox");
    control<QLabel>(frame, "Image1", "Image");
    control<QProgressBar>(window.get(), "ProgressBar1", "ProgressBar");
    control<QTextEdit>(window.get(), "rtf1", "RichTextBox");
    control<SkinLabel>(window.get(), "lblVersion", "SkinLabel");
    return window;
}

// What a control looks like to the program: its colour properties and the
// palette roles that draw it.
QString colourState(const QWidget *w)
{
    QStringList parts;
    for (const char *name : {"BackColor", "ForeColor"})
        parts << QString::fromLatin1(name) + QLatin1Char('=') + w->property(name).value<QColor>().name(QColor::HexArgb);
    const QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Text, QPalette::Button, QPalette::ButtonText})
        parts << p.color(role).name(QColor::HexArgb);
    parts << QString::number(w->autoFillBackground()) << w->styleSheet();
    return parts.join(QLatin1Char(' '));
}

QMap<QString, QString> colourStates(const QWidget *window)
{
    QMap<QString, QString> states;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty())
            states.insert(w->objectName(), colourState(w));
    }
    states.insert(QStringLiteral("<window>"), colourState(window) + window->palette().color(QPalette::Window).name());
    return states;
}

constexpr QRgb Back = 0xff102030;
constexpr QRgb Text = 0xff405060;
constexpr QRgb PictureBack = 0xff708090;

} // namespace

class TestSkinEngine : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // A style sheet the engine generates must always parse.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)style ?sheet")));
        skinEnabled = true;
        SetNt6OrLaterForTesting(std::nullopt);
    }

    void cleanup()
    {
        delete skinObject.data();
        skinObject = nullptr;
        SetNt6OrLaterForTesting(std::nullopt);
        SkinSupport::instance().Finish();
    }

    void controlsGetTheirColourByKind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("fore");
        QTest::addColumn<int>("backRole");

        const QColor back = QColor::fromRgb(Back);
        const QColor text = QColor::fromRgb(Text);
        const QColor picture = QColor::fromRgb(PictureBack);
        QTest::newRow("button") << "Command1" << back << QColor() << int(QPalette::Button);
        QTest::newRow("text box") << "Text1" << back << text << int(QPalette::Base);
        QTest::newRow("combo box") << "Combo1" << back << text << int(QPalette::Base);
        QTest::newRow("file list") << "File1" << back << text << int(QPalette::Base);
        QTest::newRow("folder list") << "Dir1" << back << text << int(QPalette::Base);
        QTest::newRow("drive list") << "Drive1" << back << text << int(QPalette::Button);
        QTest::newRow("list box") << "List1" << back << text << int(QPalette::Base);
        QTest::newRow("list view") << "ListView1" << back << text << int(QPalette::Base);
        QTest::newRow("picture box") << "Picture1" << picture << QColor() << int(QPalette::Window);
        QTest::newRow("label") << "Label1" << QColor() << QColor() << -1;
        QTest::newRow("check box") << "Check1" << QColor() << QColor() << -1;
        QTest::newRow("frame") << "Frame1" << QColor() << QColor() << -1;
        QTest::newRow("image") << "Image1" << QColor() << QColor() << -1;
        QTest::newRow("progress bar") << "ProgressBar1" << QColor() << QColor() << -1;
        QTest::newRow("rich-text box") << "rtf1" << QColor() << QColor() << -1;
        QTest::newRow("skinned label") << "lblVersion" << QColor() << QColor() << -1;
    }

    void controlsGetTheirColourByKind()
    {
        QFETCH(QString, name);
        QFETCH(QColor, back);
        QFETCH(QColor, fore);
        QFETCH(int, backRole);

        auto window = windowWithEveryKind();
        QWidget *w = window->findChild<QWidget *>(name);
        QVERIFY(w);
        const QString before = colourState(w);

        ColorControls(window.get(), Back, Text, PictureBack, 0xffabcdef);

        if (!back.isValid() && !fore.isValid()) {
            QCOMPARE(colourState(w), before);
            return;
        }
        QCOMPARE(w->property("BackColor").value<QColor>(), back);
        QCOMPARE(w->property("ForeColor").value<QColor>(), fore);
        QCOMPARE(w->palette().color(QPalette::ColorRole(backRole)), back);
        if (fore.isValid())
            QCOMPARE(w->palette().color(QPalette::Text), fore);
    }

    void fourthColourChangesNothing()
    {
        auto first = windowWithEveryKind();
        auto second = windowWithEveryKind();
        ColorControls(first.get(), Back, Text, PictureBack, 0xff000000);
        ColorControls(second.get(), Back, Text, PictureBack, 0xffffffff);
        QCOMPARE(colourStates(first.get()), colourStates(second.get()));
    }

    void colourTopByteIsIgnored()
    {
        auto window = windowWithEveryKind();
        ColorControls(window.get(), 0x00102030, 0x7f405060, 0x00708090, 0);
        QCOMPARE(window->findChild<QWidget *>("Text1")->property("BackColor").value<QColor>(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(window->findChild<QWidget *>("Text1")->property("ForeColor").value<QColor>(), QColor(0x40, 0x50, 0x60));
        QCOMPARE(window->findChild<QWidget *>("Picture1")->property("BackColor").value<QColor>(), QColor(0x70, 0x80, 0x90));
    }

    void windowWithoutColouredKindsIsUnchanged()
    {
        QWidget window;
        control<QLabel>(&window, "Label1", "Label");
        control<QCheckBox>(&window, "Check1", "CheckBox");
        control<QProgressBar>(&window, "ProgressBar1", "ProgressBar");
        // An untagged button is not one of the window's controls.
        new QPushButton(&window);
        const auto before = colourStates(&window);
        ColorControls(&window, Back, Text, PictureBack, 0);
        QCOMPARE(colourStates(&window), before);
    }

    void controlsOfOtherWindowsAreLeftAlone()
    {
        QWidget window;
        auto *dialog = new QWidget(&window, Qt::Dialog);
        auto *inner = control<QLineEdit>(dialog, "Text9", "TextBox");
        ColorControls(&window, Back, Text, PictureBack, 0);
        QVERIFY(!inner->property("BackColor").isValid());
    }

    void applyPaintsWithTheSkin()
    {
        skinObject = new Skin;
        QVERIFY(skinObject->isLoaded());
        auto window = windowWithEveryKind();
        ApplySkinToWindow(window.get(), givenSkin());

        const SkinDescription &d = skinObject->description();
        QCOMPARE(window->findChild<QWidget *>("Text1")->property("BackColor").value<QColor>(), d.backColor);
        QCOMPARE(window->findChild<QWidget *>("Text1")->property("ForeColor").value<QColor>(), d.foreColor);
        QCOMPARE(window->findChild<QWidget *>("Picture1")->property("BackColor").value<QColor>(), d.panelColor);
        QVERIFY(window->styleSheet().startsWith(skinObject->styleSheet()));
        QCOMPARE(window->palette().color(QPalette::WindowText), skinObject->palette().color(QPalette::WindowText));

        // The look really comes through: a ticked check box shows the skin's
        // own indicator image, and a button face is not the plain grey.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *check = window->findChild<QCheckBox *>("Check1");
        check->setChecked(true);
        check->setText(QStringLiteral("x"));
        check->setGeometry(10, 10, 60, 20);
        const QImage checkImage = check->grab().toImage();
        const QImage indicator(QStringLiteral(":/skin/studio-blue/checkbox-selected.png"));
        QVERIFY(!indicator.isNull());
        bool found = false;
        for (int y = 0; y + indicator.height() <= checkImage.height() && !found; ++y) {
            for (int x = 0; x + indicator.width() <= checkImage.width() && !found; ++x) {
                const QColor c = checkImage.pixelColor(x + 6, y + 2);
                found = qAbs(c.red() - indicator.pixelColor(6, 2).red()) < 8
                        && qAbs(c.green() - indicator.pixelColor(6, 2).green()) < 8
                        && qAbs(c.blue() - indicator.pixelColor(6, 2).blue()) < 8;
            }
        }
        QVERIFY2(found, "the check box does not show the skin's indicator");
    }

    void ownerStyleSheetSurvives()
    {
        skinObject = new Skin;
        QWidget window;
        window.setStyleSheet(QStringLiteral("font-weight: bold;"));
        auto *button = control<QPushButton>(&window, "Command1", "CommandButton");
        button->setStyleSheet(QStringLiteral("QPushButton { font-size: 14px; }"));
        ApplySkinToWindow(&window, givenSkin());
        ApplySkinToWindow(&window, givenSkin());
        QVERIFY(window.styleSheet().contains(QLatin1String("* { font-weight: bold; }")));
        QCOMPARE(window.styleSheet().count(skinObject->styleSheet()), 1);
        QVERIFY(button->styleSheet().contains(QLatin1String("QPushButton { font-size: 14px; }")));
    }

    void controlColouredApartFromTheSkinKeepsItsColour()
    {
        skinObject = new Skin;
        QWidget window;
        auto *text = control<QLineEdit>(&window, "Text1", "TextBox");
        auto *same = control<QLineEdit>(&window, "Text2", "TextBox");
        ColorControls(&window, 0xffff0000, skinObject->foreColor().value(), 0, 0);
        same->setProperty("BackColor", QColor::fromRgb(skinObject->backColor().value()));
        skinObject->applySkin(&window);
        QVERIFY(text->styleSheet().contains(QLatin1String("#ff0000")));
        QVERIFY(same->styleSheet().isEmpty());
    }

    void brokenSkinLeavesWindowsPlain()
    {
        TempFolder folder;
        QVERIFY(folder.write("skin.json", "{ \"description\": \"Studio Blue\" "));
        skinObject = new Skin(folder.filePath("skin.json"), nullptr);
        QVERIFY(!skinObject->isLoaded());

        auto window = windowWithEveryKind();
        const auto before = colourStates(window.get());
        const QPalette palette = window->palette();
        ApplySkinToWindow(window.get(), givenSkin());
        QCOMPARE(colourStates(window.get()), before);
        QCOMPARE(window->palette(), palette);
        QVERIFY(window->styleSheet().isEmpty());
        QVERIFY(!window->property("skinApplied").isValid());
    }

    void noSkinObjectLeavesWindowsPlain()
    {
        auto window = windowWithEveryKind();
        const auto before = colourStates(window.get());
        ApplySkinToWindow(window.get(), givenSkin());
        QCOMPARE(colourStates(window.get()), before);
    }

    void regionStepFollowsPlatform_data()
    {
        QTest::addColumn<bool>("nt6");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("maskCleared");
        QTest::newRow("NT 6 and later") << true << true << true;
        QTest::newRow("older system") << false << true << false;
        QTest::newRow("NT 6, skin switched off") << true << false << false;
    }

    void regionStepFollowsPlatform()
    {
        QFETCH(bool, nt6);
        QFETCH(bool, enabled);
        QFETCH(bool, maskCleared);
        SetNt6OrLaterForTesting(nt6);
        skinEnabled = enabled;
        skinObject = new Skin;

        QWidget window;
        window.resize(100, 80);
        const QRegion shape(QRect(0, 0, 100, 80), QRegion::Ellipse);
        window.setMask(shape);
        ApplySkinToWindow(&window, givenSkin());
        QCOMPARE(window.mask().isEmpty(), maskCleared);
        if (!maskCleared)
            QCOMPARE(window.mask(), shape);
    }

    void finishStepFollowsPlatform_data()
    {
        QTest::addColumn<bool>("nt6");
        QTest::addColumn<int>("finishesAtLoad");
        QTest::newRow("NT 6 and later") << true << 1;
        QTest::newRow("older system") << false << 0;
    }

    void finishStepFollowsPlatform()
    {
        QFETCH(bool, nt6);
        QFETCH(int, finishesAtLoad);
        SetNt6OrLaterForTesting(nt6);
        skinObject = new Skin;
        SkinSupport &support = SkinSupport::instance();
        support.SetSkin(skinObject->object());
        support.Begin();
        support.resetFinishCountForTesting();

        FinishSkinSupportOnNt6(); // the main window's load
        QCOMPARE(support.finishCount(), finishesAtLoad);
        QCOMPARE(support.isActive(), finishesAtLoad == 0);

        support.Finish(); // the main window's unload
        QCOMPARE(support.finishCount(), finishesAtLoad + 1);
        QVERIFY(!support.isActive());
    }

    void platformAnswerWithoutInjection()
    {
#ifdef Q_OS_WIN
        QVERIFY(IsNt6OrLater());
#else
        QVERIFY(!IsNt6OrLater());
#endif
    }

    void dialogsWearTheSkinBetweenBeginAndFinish()
    {
        skinObject = new Skin;
        SkinSupport &support = SkinSupport::instance();
        support.SetSkin(skinObject->object());
        support.Begin();

        QMessageBox during(QMessageBox::NoIcon, QStringLiteral("Quillmere Full"), QStringLiteral("text"), QMessageBox::Ok);
        during.show();
        QVERIFY(QTest::qWaitForWindowExposed(&during));
        QVERIFY(during.styleSheet().startsWith(skinObject->styleSheet()));
        during.close();

        support.Finish();
        QMessageBox after(QMessageBox::NoIcon, QStringLiteral("Quillmere Full"), QStringLiteral("text"), QMessageBox::Ok);
        after.show();
        QVERIFY(QTest::qWaitForWindowExposed(&after));
        QVERIFY(after.styleSheet().isEmpty());
    }

    void beginWithoutLoadedSkinSkinsNothing()
    {
        TempFolder folder;
        skinObject = new Skin(folder.filePath("missing.json"), nullptr);
        SkinSupport &support = SkinSupport::instance();
        support.SetSkin(skinObject->object());
        support.Begin();
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quillmere Full"), QStringLiteral("text"), QMessageBox::Ok);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(box.styleSheet().isEmpty());
    }
};

QTEST_MAIN(TestSkinEngine)
#include "tst_skinengine.moc"
