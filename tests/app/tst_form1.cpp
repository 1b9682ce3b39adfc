#include "windows/ControlEvents.h"
#include "app/Form1.h"
#include "core/FolderHandle.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/MountedDrives.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"

#include "PickItem.h"
#include "TempFolder.h"

#include "skin/Skin.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "TestIsolation.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QMenu>
#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

// A main window whose messages, help window and program end are recorded
// instead of shown or carried out.
struct Window
{
    std::unique_ptr<Form1> form;
    QStringList messages;
    QStringList titles;
    int ends = 0;
    int helpOpened = 0;
};

std::unique_ptr<Window> makeWindow()
{
    auto w = std::make_unique<Window>();
    w->form = std::make_unique<Form1>(LoadProductInfo());
    Window *raw = w.get();
    w->form->setMessagePresenter([raw](const QString &title, const QString &text) {
        raw->titles << title;
        raw->messages << text;
    });
    w->form->setProgramEnd([raw] { ++raw->ends; });
    w->form->setHelpWindowOpener([raw] { ++raw->helpOpened; });
    return w;
}

// A loaded main window on folder, set to number every file "N1", "N2", ...
// without zero fill, every file selected.
std::unique_ptr<Window> numberingWindow(const QString &folder)
{
    auto w = makeWindow();
    Form1 *f = w->form.get();
    f->Form_Load();
    f->Dir1->setPath(folder);
    f->Combo3->setCurrentIndex(int(NameOnly));
    f->Text1->setText(QStringLiteral("N"));
    f->Check2->click(); // no zero fill
    f->Command4->click();
    return w;
}

enum class Show { No, Yes };

void showAndWait(QWidget *widget);

// A main window after its load step, shown on screen when a test clicks,
// types or looks at focus.
std::unique_ptr<Window> openWindow(Show show = Show::No)
{
    auto w = makeWindow();
    w->form->Form_Load();
    if (show == Show::Yes)
        showAndWait(w->form.get());
    return w;
}

// A main window that shows its own message boxes, loaded and on screen.
std::unique_ptr<Form1> openOwnWindow(const WindowSkin &skin = {})
{
    auto form = std::make_unique<Form1>(LoadProductInfo(), skin);
    form->setHelpWindowOpener([] {});
    form->setProgramEnd([] {});
    form->Form_Load();
    showAndWait(form.get());
    return form;
}

// A label's caption as it reads, without the mnemonic marker.
QString shownCaption(const QLabel *label)
{
    return QString(label->text()).remove(QLatin1Char('&'));
}

QStringList storedKeys()
{
    QSettings settings(SettingsFilePath(LoadProductInfo().productName), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Settings"));
    return settings.childKeys();
}

QString stored(const QString &key)
{
    return ReadOption(key, QStringLiteral("<none>"));
}

void typeInto(QComboBox *combo, const QString &text)
{
    QLineEdit *edit = combo->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QStringList sortedIgnoringCase(QStringList names)
{
    names.sort(Qt::CaseInsensitive);
    return names;
}

void showAndWait(QWidget *widget)
{
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstStartStoresOnlyCheck4();
    void optionsComeBackAfterRestart();
    void unusableCheckValueIsSkipped_data();
    void unusableCheckValueIsSkipped();
    void storedTypeSetsFields_data();
    void storedTypeSetsFields();
    void unusablePlaceIsSkippedSilently_data();
    void unusablePlaceIsSkippedSilently();
    void folderOnANotReadyDriveIsNotOpened();
    void helpAtStart_data();
    void helpAtStart();
    void leavingStoresTypedFilterOnlyOnClose_data();
    void leavingStoresTypedFilterOnlyOnClose();
    void pickingTypeSetsFields_data();
    void pickingTypeSetsFields();
    void startingNumberCheck_data();
    void startingNumberCheck();
    void refusedRequestTouchesNothing_data();
    void refusedRequestTouchesNothing();
    void renameEachType_data();
    void renameEachType();
    void filterRuleAfterRun_data();
    void filterRuleAfterRun();
    void filesLeftInPlaceAreNamed_data();
    void filesLeftInPlaceAreNamed();
    void filesAlreadyNamedSoAreNoFailure_data();
    void filesAlreadyNamedSoAreNoFailure();
    void tabOrderFollowsTheRows();
    void busyFolderIsRefused();
    void runWithoutJournalIsRefused();
    void undoLastRename_data();
    void undoLastRename();
    void halfRenamedFolderIsToldAtStart();
    void screenReadersNameEveryControl_data();
    void screenReadersNameEveryControl();
    void screenReadersTellTheBoxesApart();
    void skinTwinsAreNotRead();
    void keysReachTheControls_data();
    void keysReachTheControls();
    void menusShowTheirKeys();
    void refusalBoxBelongsToTheWindow_data();
    void refusalBoxBelongsToTheWindow();
    void vanishedFilesAreToldApart_data();
    void vanishedFilesAreToldApart();
    void listKeepsItsPlaceAfterRun_data();
    void listKeepsItsPlaceAfterRun();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void TestForm1::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
    QVERIFY(RemoveIsolatedFolder(RunJournalFolder()));
}

void TestForm1::cleanup()
{
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

void TestForm1::firstStartStoresOnlyCheck4()
{
    auto w = openWindow();
    Form1 *f = w->form.get();

    QCOMPARE(storedKeys(), QStringList{QStringLiteral("Check4")});
    QCOMPARE(stored(QStringLiteral("Check4")), QStringLiteral("1"));

    QCOMPARE(f->windowTitle(), QStringLiteral("Quillmere by ") + LoadProductInfo().companyName);
    QCOMPARE(f->Text1->text(), QString());
    QCOMPARE(f->Text2->text(), QStringLiteral("1"));
    QCOMPARE(ControlEvents::checkValue(f->Check1), 0);
    QCOMPARE(ControlEvents::checkValue(f->Check2), 1);
    QCOMPARE(ControlEvents::checkValue(f->Check3), 0);
    QCOMPARE(ControlEvents::checkValue(f->Check4), 1);
    QCOMPARE(f->Combo1->currentText(), QStringLiteral("Choose or Type the File Extension"));
    QCOMPARE(f->Combo2->currentText(), QStringLiteral("Choose or Type"));
    QCOMPARE(f->Combo3->currentText(), QStringLiteral("Change only the file name"));
    QCOMPARE(f->Combo3->currentIndex(), -1);
    // No type picked yet: every field stays usable.
    for (QWidget *field : {static_cast<QWidget *>(f->Text1), static_cast<QWidget *>(f->Text2),
                           static_cast<QWidget *>(f->Combo1), static_cast<QWidget *>(f->Check2),
                           static_cast<QWidget *>(f->Check3)})
        QVERIFY2(field->isEnabled(), qPrintable(field->objectName()));
    QCOMPARE(w->helpOpened, 1);
    QVERIFY(!f->windowIcon().isNull());
}

void TestForm1::optionsComeBackAfterRestart()
{
    TempFolder folder;
    QVERIFY(folder.makeFolder(QStringLiteral("photos")));
    const QString photos = folder.filePath(QStringLiteral("photos"));
    {
        auto w = openWindow(Show::Yes);
        Form1 *f = w->form.get();
        f->Dir1->setPath(photos);
        typeInto(f->Text1, QStringLiteral("Holiday "));
        typeInto(f->Text2, QStringLiteral("12"));
        f->Check1->click();
        f->Check2->click();
        f->Check3->click();
        f->Check4->click();
        PickItem(f->Combo1, 1);
        PickItem(f->Combo2, 3);
        PickItem(f->Combo3, 3);
        f->close();
        QCOMPARE(w->ends, 1);
    }

    auto w = openWindow();
    Form1 *f = w->form.get();
    QCOMPARE(f->Dir1->path(), photos);
    QCOMPARE(f->File1->path(), photos);
    QCOMPARE(f->Text1->text(), QStringLiteral("Holiday "));
    QCOMPARE(f->Text2->text(), QStringLiteral("12"));
    QCOMPARE(ControlEvents::checkValue(f->Check1), 1);
    QCOMPARE(ControlEvents::checkValue(f->Check2), 0);
    QCOMPARE(ControlEvents::checkValue(f->Check3), 1);
    QCOMPARE(ControlEvents::checkValue(f->Check4), 0);
    QCOMPARE(f->Combo1->currentText(), QStringLiteral("gif"));
    QCOMPARE(f->Combo2->currentText(), QStringLiteral("txt"));
    QCOMPARE(f->File1->pattern(), QStringLiteral("*.txt"));
    QCOMPARE(f->Combo3->currentIndex(), 3);
    QCOMPARE(shownCaption(f->Label1), QStringLiteral("New Prefix:"));
}

void TestForm1::unusableCheckValueIsSkipped_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("letters") << "abc";
    QTest::newRow("out of range") << "3";
    QTest::newRow("negative") << "-1";
    QTest::newRow("past 16 bits") << "65537";
    QTest::newRow("empty") << "";
}

void TestForm1::unusableCheckValueIsSkipped()
{
    QFETCH(QString, value);
    WriteOption(QStringLiteral("Check2"), value);
    WriteOption(QStringLiteral("Check3"), QStringLiteral("1"));
    WriteOption(QStringLiteral("Check4"), QStringLiteral("0"));
    WriteOption(QStringLiteral("Combo1"), QStringLiteral("png"));
    WriteOption(QStringLiteral("Combo3"), QStringLiteral("2"));

    auto w = openWindow();
    Form1 *f = w->form.get();
    QCOMPARE(ControlEvents::checkValue(f->Check2), 1);
    QCOMPARE(stored(QStringLiteral("Check2")), value); // not written back
    QCOMPARE(ControlEvents::checkValue(f->Check3), 1);
    QCOMPARE(ControlEvents::checkValue(f->Check4), 0);
    QCOMPARE(f->Combo1->currentText(), QStringLiteral("png"));
    QCOMPARE(f->Combo3->currentIndex(), 2);
}

void TestForm1::storedTypeSetsFields_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("numberEnabled");

    QTest::newRow("0") << "0" << 0 << "New Name:" << true;
    QTest::newRow("3") << "3" << 3 << "New Prefix:" << false;
    QTest::newRow("4") << "4" << 4 << "New Suffix:" << false;
    QTest::newRow("past the list") << "5" << -1 << "New Name:" << true;
    QTest::newRow("none chosen") << "-1" << -1 << "New Name:" << true;
    QTest::newRow("letters") << "x" << -1 << "New Name:" << true;
}

void TestForm1::storedTypeSetsFields()
{
    QFETCH(QString, value);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(bool, numberEnabled);

    WriteOption(QStringLiteral("Combo3"), value);
    auto w = openWindow();
    Form1 *f = w->form.get();
    QCOMPARE(f->Combo3->currentIndex(), index);
    QCOMPARE(shownCaption(f->Label1), caption);
    QCOMPARE(f->Text2->isEnabled(), numberEnabled);
    if (index < 0)
        QCOMPARE(f->Combo3->currentText(), QStringLiteral("Change only the file name"));
}

void TestForm1::unusablePlaceIsSkippedSilently_data()
{
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("dir");
    QTest::newRow("folder gone") << "" << "/no/such/folder/here";
    QTest::newRow("drive unknown") << "/no/such/drive" << "";
    QTest::newRow("both unknown") << "/no/such/drive" << "/no/such/folder/here";
}

void TestForm1::unusablePlaceIsSkippedSilently()
{
    QFETCH(QString, drive);
    QFETCH(QString, dir);
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("keep.txt")}));
    if (!drive.isEmpty())
        WriteOption(QStringLiteral("Drive"), drive);
    if (!dir.isEmpty())
        WriteOption(QStringLiteral("Dir"), dir);
    WriteOption(QStringLiteral("Text1"), QStringLiteral("after"));

    const QString start = QDir::currentPath();
    QDir::setCurrent(folder.path());
    auto w = openWindow();
    QDir::setCurrent(start);

    QVERIFY2(w->messages.isEmpty(), qPrintable(w->messages.join(QLatin1Char('\n'))));
    QCOMPARE(w->form->Dir1->path(), QFileInfo(folder.path()).canonicalFilePath());
    QCOMPARE(w->form->File1->fileModel()->fileNames(), QStringList{QStringLiteral("keep.txt")});
    QCOMPARE(w->form->Text1->text(), QStringLiteral("after"));
    if (!dir.isEmpty())
        QCOMPARE(stored(QStringLiteral("Dir")), dir);
}

void TestForm1::folderOnANotReadyDriveIsNotOpened()
{
    // The stored folder lies on a share whose server does not answer:
    // reading it would hold the window until it did.
    TempFolder share(TempFolder::OnUserVolume);
    QVERIFY(share.writeNamed({QStringLiteral("photos/a.jpg")}));
    TempFolder start;
    QVERIFY(start.writeNamed({QStringLiteral("keep.txt")}));
    const QString stuck = QFileInfo(share.path()).canonicalFilePath();
    WriteOption(QStringLiteral("Dir"), stuck + QStringLiteral("/photos"));

    const QString before = QDir::currentPath();
    QDir::setCurrent(start.path());
    auto w = makeWindow();
    w->form->Drive1->setVolumeSource([stuck] {
        return QList<MountedVolume>{{QStringLiteral("/"), QStringLiteral("ext4"), true},
                                    {stuck, QStringLiteral("nfs"), false}};
    });
    w->form->Form_Load();
    QDir::setCurrent(before);

    QCOMPARE(w->form->Dir1->path(), QFileInfo(start.path()).canonicalFilePath());
    QCOMPARE(w->form->File1->fileModel()->fileNames(), QStringList{QStringLiteral("keep.txt")});
    // Kept for a start when the share answers again.
    QCOMPARE(stored(QStringLiteral("Dir")), stuck + QStringLiteral("/photos"));
}

void TestForm1::helpAtStart_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("opened");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("2") << "2" << 0;
    QTest::newRow("1 with a blank") << "1 " << 0;
}

void TestForm1::helpAtStart()
{
    QFETCH(QString, value);
    QFETCH(int, opened);
    WriteOption(QStringLiteral("showHelp"), value);
    auto w = openWindow();
    QCOMPARE(w->helpOpened, opened);
    w->form->mnuHelpItem->trigger();
    QCOMPARE(w->helpOpened, opened + 1);
}

void TestForm1::leavingStoresTypedFilterOnlyOnClose_data()
{
    QTest::addColumn<bool>("viaExit");
    QTest::newRow("close box") << false;
    QTest::newRow("Exit") << true;
}

void TestForm1::leavingStoresTypedFilterOnlyOnClose()
{
    QFETCH(bool, viaExit);
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    typeInto(f->Combo2, QStringLiteral("tif"));
    QCOMPARE(stored(QStringLiteral("Combo2")), QStringLiteral("<none>"));

    if (viaExit)
        f->mnuFileItem.at(1)->trigger();
    else
        QVERIFY(f->close());

    QCOMPARE(w->ends, 1);
    QCOMPARE(stored(QStringLiteral("Combo2")), viaExit ? QStringLiteral("<none>") : QStringLiteral("tif"));
}

void TestForm1::pickingTypeSetsFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("text1");
    QTest::addColumn<bool>("text2");
    QTest::addColumn<bool>("combo1");
    QTest::addColumn<bool>("checks");

    QTest::newRow("both") << 0 << "New Name:" << true << true << true << true;
    QTest::newRow("name") << 1 << "New Name:" << true << true << false << true;
    QTest::newRow("extension") << 2 << "New Name:" << false << false << true << false;
    QTest::newRow("prefix") << 3 << "New Prefix:" << true << false << false << false;
    QTest::newRow("suffix") << 4 << "New Suffix:" << true << false << false << false;
}

void TestForm1::pickingTypeSetsFields()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(bool, text1);
    QFETCH(bool, text2);
    QFETCH(bool, combo1);
    QFETCH(bool, checks);

    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    f->Text1->setText(QStringLiteral("kept"));
    PickItem(f->Combo3, index);

    auto verifyFields = [&] {
        QCOMPARE(shownCaption(f->Label1), caption);
        QCOMPARE(f->Text1->isEnabled(), text1);
        QCOMPARE(f->Text2->isEnabled(), text2);
        QCOMPARE(f->Combo1->isEnabled(), combo1);
        QCOMPARE(f->Check2->isEnabled(), checks);
        QCOMPARE(f->Check3->isEnabled(), checks);
        QVERIFY(f->Check1->isEnabled());
        QVERIFY(f->Check4->isEnabled());
        QCOMPARE(f->Text1->text(), QStringLiteral("kept"));
    };
    verifyFields();
    QCOMPARE(stored(QStringLiteral("Combo3")), QString::number(index));

    // Typing into the type box chooses no type and changes no field.
    typeInto(f->Combo3, QStringLiteral("Something"));
    QCOMPARE(f->Combo3->currentIndex(), -1);
    QCOMPARE(f->readRenameRequest().type, NoTypeChosen);
    verifyFields();
    QCOMPARE(stored(QStringLiteral("Combo3")), QString::number(index));
}

void TestForm1::startingNumberCheck_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("storeBlocked");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("storedAfter");

    const QString unchanged = QStringLiteral("9");
    const QString unreadable = QStringLiteral("<none>");
    QTest::newRow("12a") << "12" << int(Qt::Key_A) << false << "1" << unchanged;
    QTest::newRow("-5") << "-" << int(Qt::Key_5) << false << "-5" << "-5";
    QTest::newRow("7 with blanks") << " 7" << int(Qt::Key_Space) << false << " 7 " << " 7 ";
    QTest::newRow("2147483648") << "214748364" << int(Qt::Key_8) << false << "1" << unchanged;
    QTest::newRow("cleared") << "5" << int(Qt::Key_Backspace) << false << "" << unchanged;
    QTest::newRow("one blank") << "" << int(Qt::Key_Space) << false << " " << unchanged;
    QTest::newRow("two blanks") << " " << int(Qt::Key_Space) << false << "1" << unchanged;
    // A number the store cannot take stays in the box for the run.
    QTest::newRow("25, store blocked") << "2" << int(Qt::Key_5) << true << "25" << unreadable;
    QTest::newRow("12a, store blocked") << "12" << int(Qt::Key_A) << true << "1" << unreadable;
}

void TestForm1::startingNumberCheck()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(bool, storeBlocked);
    QFETCH(QString, shown);
    QFETCH(QString, storedAfter);

    auto w = openWindow();
    Form1 *f = w->form.get();
    WriteOption(QStringLiteral("Text2"), QStringLiteral("9"));
    if (storeBlocked) {
        // A file stands where the store's folder should be.
        const QString folder = QFileInfo(SettingsFilePath(LoadProductInfo().productName)).absolutePath();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    f->Text2->setText(before);
    f->Text2->setFocus();
    f->Text2->end(false);
    QTest::keyClick(f->Text2, static_cast<Qt::Key>(key));
    QCOMPARE(f->Text2->text(), shown);
    QCOMPARE(stored(QStringLiteral("Text2")), storedAfter);
    QCOMPARE(f->readRenameRequest().numberText, shown);
}

void TestForm1::refusedRequestTouchesNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("viaMenu");

    QTest::newRow("no name") << 1 << "" << "You must enter a file name." << false;
    QTest::newRow("no name, from the menu") << 1 << " " << "You must enter a file name." << true;
    QTest::newRow("no extension") << 2 << "x" << "You must enter a file extension." << false;
    QTest::newRow("no prefix") << 3 << "" << "You must enter prefix." << true;
}

void TestForm1::refusedRequestTouchesNothing()
{
    QFETCH(int, type);
    QFETCH(QString, newText);
    QFETCH(QString, message);
    QFETCH(bool, viaMenu);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    auto w = openWindow();
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    f->Combo3->setCurrentIndex(type);
    f->Text1->setText(newText);
    f->Command4->click();
    f->ProgressBar1->setValue(37);

    if (viaMenu)
        f->mnuFileItem.at(0)->trigger();
    else
        QTest::mouseClick(f->Command1, Qt::LeftButton);
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(w->messages, QStringList{message});
    QCOMPARE(w->titles, QStringList{QStringLiteral("Quillmere Full")});
    QCOMPARE(folder.files(), QStringList({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QCOMPARE(f->ProgressBar1->value(), 37);
    QCOMPARE(f->Text2->text(), QStringLiteral("1"));
}

void TestForm1::renameEachType_data()
{
    QTest::addColumn<int>("type"); // -1: picked, then typed over
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("numberAfter");

    // In list order: without regard to case.
    QTest::newRow("both") << 0 << false << QStringList{"c.doc", "N1.png", "N2.png"} << "1";
    QTest::newRow("name") << 1 << true << QStringList{"c.doc", "N1.jpg", "N2.txt"} << "3";
    QTest::newRow("none chosen") << -1 << false << QStringList{"c.doc", "N1.jpg", "N2.txt"} << "1";
    QTest::newRow("extension") << 2 << true << QStringList{"a.png", "b.png", "c.doc"} << "3";
    QTest::newRow("prefix") << 3 << true << QStringList{"c.doc", "Na.jpg", "Nb.txt"} << "1";
    QTest::newRow("suffix") << 4 << false << QStringList{"aN.jpg", "bN.txt", "c.doc"} << "1";
}

void TestForm1::renameEachType()
{
    QFETCH(int, type);
    QFETCH(bool, remember);
    QFETCH(QStringList, after);
    QFETCH(QString, numberAfter);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.txt"), QStringLiteral("c.doc")}));
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    QCOMPARE(f->File1->count(), 3);

    // The boxes first: a type may disable them, keeping their values.
    f->Check2->click(); // no zero fill
    if (remember)
        f->Check3->click();
    typeInto(f->Text1, QStringLiteral("N"));
    typeInto(f->Combo1, QStringLiteral("png"));
    PickItem(f->Combo3, type < 0 ? 1 : type);
    if (type < 0)
        typeInto(f->Combo3, QStringLiteral("my own words"));
    // The first two entries: a.jpg, then b.txt with Ctrl.
    // Greyed, and why.
    QCOMPARE(f->mnuUndoItem->toolTip(), QStringLiteral("No rename in this folder is left to undo."));
    QCOMPARE(f->mnuUndoItem->statusTip(), f->mnuUndoItem->toolTip());
    QAbstractItemView *list = f->File1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(f->File1->fileModel()->selectedCount(), 2);

    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QTRY_VERIFY(!f->isRunning());

    QVERIFY2(w->messages.isEmpty(), qPrintable(w->messages.join(QLatin1Char('\n'))));
    QCOMPARE(sortedIgnoringCase(folder.files()), after);
    QCOMPARE(f->File1->fileModel()->fileNames(), after);
    QCOMPARE(f->ProgressBar1->value(), 100);
    QCOMPARE(f->Text2->text(), numberAfter);
    // No content was lost or doubled on the way.
    QList<QByteArray> contents = folder.contents().values();
    std::sort(contents.begin(), contents.end());
    QCOMPARE(contents, QList<QByteArray>({"a.jpg", "b.txt", "c.doc"}));
}

void TestForm1::filterRuleAfterRun_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("filterAfter");
    QTest::addColumn<QStringList>("listed");

    // The folder holds a.jpg, b.jpg and c.txt; the filter shows the jpg files.
    QTest::newRow("none chosen") << -1 << "png" << QStringList{};
    QTest::newRow("both") << 0 << "png" << QStringList{"N1.png", "N2.png"};
    QTest::newRow("name") << 1 << "jpg" << QStringList{"N1.jpg", "N2.jpg"};
    QTest::newRow("extension") << 2 << "png" << QStringList{"a.png", "b.png"};
}

void TestForm1::filterRuleAfterRun()
{
    QFETCH(int, type);
    QFETCH(QString, filterAfter);
    QFETCH(QStringList, listed);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.txt")}));
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    f->Check1->click();
    PickItem(f->Combo2, 0); // jpg
    QCOMPARE(f->File1->fileModel()->fileNames(), QStringList({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    if (type >= 0)
        PickItem(f->Combo3, type);
    typeInto(f->Text1, QStringLiteral("N"));
    typeInto(f->Combo1, QStringLiteral("png"));
    f->Check2->click(); // no zero fill
    QTest::mouseClick(f->Command4, Qt::LeftButton);

    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QTRY_VERIFY(!f->isRunning());

    QVERIFY2(w->messages.isEmpty(), qPrintable(w->messages.join(QLatin1Char('\n'))));
    QCOMPARE(f->Combo2->currentText(), filterAfter);
    QCOMPARE(f->File1->fileModel()->fileNames(), listed);
    QVERIFY(folder.exists(QStringLiteral("c.txt")));
    QCOMPARE(folder.files().size(), 3);
}

void TestForm1::filesLeftInPlaceAreNamed_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("said");    // all of these are in the message
    QTest::addColumn<QString>("renamedLine"); // the closing line, empty when none

    // The folder holds a.jpg, b.jpg and a folder "N2.jpg" that no file may replace.
    QTest::newRow("every file left") << int(AddPrefix) << "../" << QStringList{"a.jpg", "b.jpg"}
                                     << QStringList{"2 files were not renamed", "a.jpg", "b.jpg",
                                                    "the new name leaves the folder:\n    a.jpg\n    b.jpg"}
                                     << "";
    QTest::newRow("one left, one renamed") << int(NameOnly) << "N" << QStringList{"N1.jpg", "b.jpg"}
                                           << QStringList{"1 file was not renamed", "b.jpg"}
                                           << "1 other file was renamed.";
}

void TestForm1::filesLeftInPlaceAreNamed()
{
    QFETCH(int, type);
    QFETCH(QString, newText);
    QFETCH(QStringList, after);
    QFETCH(QStringList, said);
    QFETCH(QString, renamedLine);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QVERIFY(folder.makeFolder(QStringLiteral("N2.jpg")));
    auto w = openWindow();
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    f->Combo3->setCurrentIndex(type);
    f->Text1->setText(newText);
    f->Check2->click(); // no zero fill
    f->Check4->click(); // replace existing files
    f->Command4->click();

    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(folder.files(), after);
    QCOMPARE(w->messages.size(), 1);
    QCOMPARE(w->titles, QStringList{QStringLiteral("Quillmere Full")});
    const QString message = w->messages.first();
    for (const QString &part : said)
        QVERIFY2(message.contains(part), qPrintable(message));
    // Files left for the same reason are listed under it, the reason said once.
    QVERIFY2(message.count(QStringLiteral("the new name")) == 1, qPrintable(message));
    if (renamedLine.isEmpty())
        QVERIFY2(!message.contains(QStringLiteral("renamed.")), qPrintable(message));
    else
        QVERIFY2(message.endsWith(renamedLine), qPrintable(message));
    QCOMPARE(f->ProgressBar1->value(), 100);
}

void TestForm1::filesAlreadyNamedSoAreNoFailure_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("after");

    // Renamed with "N", no zero fill: the same run done a second time.
    QTest::newRow("all already named") << QStringList{"N1.jpg", "N2.jpg"} << QStringList{"N1.jpg", "N2.jpg"};
    QTest::newRow("one already named") << QStringList{"N1.jpg", "x.jpg"} << QStringList{"N1.jpg", "N2.jpg"};
}

void TestForm1::filesAlreadyNamedSoAreNoFailure()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, after);

    TempFolder folder;
    QVERIFY(folder.writeNamed(files));
    auto w = numberingWindow(folder.path());
    Form1 *f = w->form.get();

    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(folder.files(), after);
    QVERIFY2(w->messages.isEmpty(), qPrintable(w->messages.join(QLatin1Char('\n'))));
    QCOMPARE(f->ProgressBar1->value(), 100);
}

void TestForm1::tabOrderFollowsTheRows()
{
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));

    const QStringList rows{"Command1", "Combo3", "Text1",  "Combo1", "Text2", "Check1", "Combo2",
                           "Check2",   "Check3", "Check4", "Drive1", "Dir1",  "File1",  "Command4"};
    // The named control a focused widget belongs to (a combo box's line edit
    // is part of its box).
    const auto controlOf = [&rows](QWidget *widget) {
        for (; widget; widget = widget->parentWidget()) {
            if (rows.contains(widget->objectName()))
                return widget->objectName();
        }
        return QString();
    };
    f->Command1->setFocus(Qt::TabFocusReason);
    QStringList visited{controlOf(QApplication::focusWidget())};
    for (int i = 1; i < rows.size() + 1; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << controlOf(QApplication::focusWidget());
    }
    QCOMPARE(visited, rows + QStringList{"Command1"});
}

void TestForm1::busyFolderIsRefused()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    auto w = numberingWindow(folder.path());
    Form1 *f = w->form.get();
    const QString numberBefore = f->Text2->text();

    // Another run, here or in another process, holds the folder.
    FolderHandle other(folder.path());
    QCOMPARE(other.tryLock(), FolderHandle::LockResult::Locked);
    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(folder.files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QCOMPARE(w->messages.size(), 1);
    QVERIFY2(w->messages.first().contains(QStringLiteral("Another rename is running")), qPrintable(w->messages.first()));
    QCOMPARE(f->Text2->text(), numberBefore);

    other.unlock();
    f->Command4->click();
    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("N1.jpg"), QStringLiteral("N2.jpg")}));
}

// A run that could not be undone does not start: the window says why.
void TestForm1::runWithoutJournalIsRefused()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    const QString journals = RunJournalFolder();
    QVERIFY(RemoveIsolatedFolder(journals));
    QVERIFY(QDir().mkpath(QFileInfo(journals).path()));
    QFile blocker(journals);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    auto w = numberingWindow(folder.path());
    Form1 *f = w->form.get();

    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(folder.files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QCOMPARE(w->messages.size(), 1);
    QVERIFY2(w->messages.first().contains(QStringLiteral("Nothing was renamed"))
                 && w->messages.first().contains(QStringLiteral("journal")),
             qPrintable(w->messages.first()));

    QVERIFY(blocker.remove());
    f->Command4->click();
    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("N1.jpg"), QStringLiteral("N2.jpg")}));
}

void TestForm1::undoLastRename_data()
{
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QStringList>("afterRun");
    QTest::addColumn<int>("undone"); // files put back
    // N1.jpg is not selected: kept with "_", or replaced and trashed.
    QTest::newRow("keep existing") << true << QStringList{"N1.jpg", "N1_.jpg", "N2.txt"} << 2;
    QTest::newRow("overwrite") << false << QStringList{"N1.jpg", "N2.txt"} << 3;
}

void TestForm1::undoLastRename()
{
    QFETCH(bool, keepExisting);
    QFETCH(QStringList, afterRun);
    QFETCH(int, undone);

    TempFolder folder;
    const QStringList files{"a.jpg", "b.txt", "N1.jpg"};
    QVERIFY(folder.writeNamed(files));
    const QMap<QString, QByteArray> before = folder.contents();
    auto w = makeWindow();
    Form1 *f = w->form.get();
    f->Form_Load();
    showAndWait(f);
    f->Dir1->setPath(folder.path());
    QVERIFY(!f->mnuUndoItem->isEnabled());
    QVERIFY(f->mnuFile->actions().indexOf(f->mnuUndoItem) < f->mnuFile->actions().indexOf(f->mnuFileItem.at(1)));

    f->Check2->click(); // no zero fill
    if (!keepExisting)
        f->Check4->click();
    typeInto(f->Text1, QStringLiteral("N"));
    PickItem(f->Combo3, 1);
    // a.jpg, then b.txt with Ctrl.
    // Greyed, and why.
    QCOMPARE(f->mnuUndoItem->toolTip(), QStringLiteral("No rename in this folder is left to undo."));
    QCOMPARE(f->mnuUndoItem->statusTip(), f->mnuUndoItem->toolTip());
    QAbstractItemView *list = f->File1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(1, 0)).center());
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QTRY_VERIFY(!f->isRunning());
    QCOMPARE(folder.files(), afterRun);
    QVERIFY(f->mnuUndoItem->isEnabled());

    QCOMPARE(f->mnuUndoItem->toolTip(), QStringLiteral("Takes back the last rename in this folder."));
    QVERIFY(f->statusBar()->currentMessage().isEmpty());

    f->mnuUndoItem->trigger();
    QCOMPARE(folder.contents(), before);
    QCOMPARE(w->messages, QStringList());
    // Said without a box to close: every file went back. The file the
    // overwrite replaced counts too.
    QCOMPARE(f->statusBar()->currentMessage(),
             QStringLiteral("Undone: %1 files have their names from before the rename again.").arg(undone));
    QCOMPARE(f->File1->count(), 3);
    QVERIFY(!f->mnuUndoItem->isEnabled());
    QCOMPARE(f->mnuUndoItem->toolTip(), QStringLiteral("No rename in this folder is left to undo."));
}

void TestForm1::halfRenamedFolderIsToldAtStart()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.jpg", "b.jpg"}));
    const QMap<QString, QByteArray> before = folder.contents();
    RenameRequest request;
    request.type = AddPrefix;
    request.newText = QStringLiteral("x_");
    RenameRunTarget target;
    const RenameReport report =
        RunRename(FolderHandle(folder.path()), {{QStringLiteral("a.jpg"), true}, {QStringLiteral("b.jpg"), true}},
                  request, target);
    QVERIFY(!report.journalPath.isEmpty());
    // Cut off like a run killed before it ended: the mark of its end gone.
    QFile journal(report.journalPath);
    QVERIFY(journal.open(QIODevice::ReadWrite));
    QVERIFY(journal.resize(journal.size() - qint64(qstrlen("complete\n"))));
    journal.close();

    auto w = makeWindow();
    Form1 *f = w->form.get();
    f->Form_Load();
    QCOMPARE(w->messages.size(), 1);
    QVERIFY(w->messages.constFirst().contains(QDir::toNativeSeparators(QFileInfo(folder.path()).absoluteFilePath())));
    QVERIFY(w->messages.constFirst().contains(QStringLiteral("\"Undo Last Rename\"")));

    f->Dir1->setPath(folder.path());
    QVERIFY(f->mnuUndoItem->isEnabled());
    f->mnuUndoItem->trigger();
    QCOMPARE(folder.contents(), before);
    QCOMPARE(w->messages.size(), 1);

    // Taken back: the next start says nothing.
    auto again = makeWindow();
    again->form->Form_Load();
    QCOMPARE(again->messages, QStringList());
}

// Every accessible object below `iface`, depth first.
void collect(QAccessibleInterface *iface, QList<QAccessibleInterface *> &all)
{
    if (!iface)
        return;
    all.append(iface);
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), all);
}

void TestForm1::screenReadersNameEveryControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");

    const auto row = [](const char *control, QAccessible::Role role, const char *name) {
        QTest::newRow(control) << QString::fromLatin1(control) << int(role) << QString::fromUtf8(name);
    };
    row("Command1", QAccessible::Button, "Rename Now");
    row("Frame1", QAccessible::Grouping, "Renaming Options");
    row("Combo3", QAccessible::ComboBox, "Renaming Type:");
    row("Text1", QAccessible::EditableText, "New Name:");
    row("Text2", QAccessible::EditableText, "Starting Number:");
    row("Check1", QAccessible::CheckBox, "File Filter:");
    row("Check2", QAccessible::CheckBox, "Pad numbers in file name with zeros (File001.jpg, File002.jpg, etc...)");
    row("Check3", QAccessible::CheckBox, "Remember the last starting number used");
    row("Check4", QAccessible::CheckBox, "Don't overwrite existing files if the new filename is already in use");
    row("Frame2", QAccessible::Grouping, "File Selection");
    row("Drive1", QAccessible::ComboBox, "Drive");
    row("Dir1", QAccessible::List, "Choose a directory:");
    row("File1", QAccessible::List, "Select the files you want to rename:");
    row("Command4", QAccessible::Button, "Select All");
    row("ProgressBar1", QAccessible::ProgressBar, "Progress");
    row("Combo1", QAccessible::ComboBox, "New Extension");
    row("Combo2", QAccessible::ComboBox, "File Filter Extension");
}

void TestForm1::screenReadersNameEveryControl()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);

    // Skinned, as the program runs: the twins must change nothing here.
    Skin skin;
    const std::unique_ptr<Form1> owned = openOwnWindow(WindowSkin{true, &skin});
    Form1 &form = *owned;
    auto *widget = form.findChild<QWidget *>(control);
    QVERIFY(widget);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
    // Its own name, whatever it shows: a combo box is not called by its text.
    QCOMPARE(iface->text(QAccessible::Name), name);
}

void TestForm1::screenReadersTellTheBoxesApart()
{
    Skin skin;
    const std::unique_ptr<Form1> owned = openOwnWindow(WindowSkin{true, &skin});
    Form1 &form = *owned;
    // Both boxes show "jpg", the one picked from its list, the other typed.
    PickItem(form.Combo1, 0);
    form.Check1->click();
    typeInto(form.Combo2, QStringLiteral("jpg"));
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("jpg"));
    QCOMPARE(form.Combo2->currentText(), QStringLiteral("jpg"));

    QStringList names;
    for (QComboBox *box : {form.Combo1, form.Combo2, form.Combo3, static_cast<QComboBox *>(form.Drive1)}) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
        QVERIFY(iface);
        names << iface->text(QAccessible::Name);
        // What the box shows is its value, and its list and text field are
        // reached through it.
        QCOMPARE(iface->text(QAccessible::Value), box->currentText());
        QCOMPARE(iface->childCount(), box->isEditable() ? 2 : 1);
        QCOMPARE(iface->child(0)->object(), box->view());
        QCOMPARE(iface->indexOfChild(iface->child(0)), 0);
    }
    QCOMPARE(names, (QStringList{"New Extension", "File Filter Extension", "Renaming Type:", "Drive"}));

    // The dot between name and extension only decorates: no reader sees it.
    QList<QAccessibleInterface *> all;
    collect(QAccessible::queryAccessibleInterface(&form), all);
    for (QAccessibleInterface *iface : std::as_const(all))
        QVERIFY2(iface->object() != form.Label2, qPrintable(iface->text(QAccessible::Name)));
    QVERIFY(!form.Label2->text().isEmpty());
}

void TestForm1::skinTwinsAreNotRead()
{
    Skin skin;
    const std::unique_ptr<Form1> owned = openOwnWindow(WindowSkin{true, &skin});
    Form1 &form = *owned;
    QVERIFY(form.SkinLabel1->count() > 1); // twins were made

    QList<QAccessibleInterface *> all;
    collect(QAccessible::queryAccessibleInterface(&form), all);
    QStringList names;
    for (QAccessibleInterface *iface : std::as_const(all)) {
        names << iface->text(QAccessible::Name);
        QVERIFY2(!qobject_cast<SkinLabel *>(iface->object()), qPrintable(iface->text(QAccessible::Name)));
    }
    QVERIFY(!names.contains(QStringLiteral("Windowed Label")));
    // Each frame caption and each label once: the frame, the label, and no twin.
    for (const char *caption : {"Renaming Options", "File Selection", "Starting Number:", "Choose a directory:"}) {
        const qsizetype times = names.count(QString::fromLatin1(caption));
        QVERIFY2(times <= 2, caption); // a label and the control it names
        QVERIFY2(times >= 1, caption);
    }
    QCOMPARE(names.count(QStringLiteral("Renaming Options")), 1);
    QCOMPARE(names.count(QStringLiteral("File Selection")), 1);
}

void TestForm1::keysReachTheControls_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focused"); // the control that gets the focus, if any
    QTest::addColumn<int>("messages");    // Rename Now ran: a refusal for the empty name
    QTest::addColumn<int>("helpOpened");

    const int alt = int(Qt::AltModifier);
    QTest::newRow("Alt+T type") << int(Qt::Key_T) << alt << "Combo3" << 0 << 0;
    QTest::newRow("Alt+N new name") << int(Qt::Key_N) << alt << "Text1" << 0 << 0;
    QTest::newRow("Alt+S starting number") << int(Qt::Key_S) << alt << "Text2" << 0 << 0;
    QTest::newRow("Alt+D drive and folders") << int(Qt::Key_D) << alt << "Drive1" << 0 << 0;
    QTest::newRow("Alt+E files") << int(Qt::Key_E) << alt << "File1" << 0 << 0;
    QTest::newRow("Alt+L filter") << int(Qt::Key_L) << alt << "Check1" << 0 << 0;
    QTest::newRow("Alt+R Rename Now button") << int(Qt::Key_R) << alt << "" << 1 << 0;
    QTest::newRow("Ctrl+R Rename Now") << int(Qt::Key_R) << int(Qt::ControlModifier) << "" << 1 << 0;
    QTest::newRow("F1 help") << int(Qt::Key_F1) << 0 << "" << 0 << 1;
}

void TestForm1::keysReachTheControls()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focused);
    QFETCH(int, messages);
    QFETCH(int, helpOpened);

    WriteOption(QStringLiteral("showHelp"), QStringLiteral("0"));
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    f->Command4->setFocus();
    QTest::keyClick(f, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    if (!focused.isEmpty()) {
        QWidget *expected = f->findChild<QWidget *>(focused);
        QWidget *now = QApplication::focusWidget();
        while (now && now != expected)
            now = now->parentWidget(); // a combo box's line edit is part of the box
        QVERIFY2(now == expected, qPrintable(QApplication::focusWidget()->objectName()));
    }
    // A button's mnemonic clicks it a moment later, as a press would.
    QTRY_COMPARE(w->messages.size(), messages);
    QCOMPARE(w->helpOpened, helpOpened);
}

void TestForm1::refusalBoxBelongsToTheWindow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("prefix") << int(AddPrefix) << "You must enter prefix.";
    QTest::newRow("suffix") << int(AddSuffix) << "You must enter suffix.";
}

void TestForm1::menusShowTheirKeys()
{
    auto w = openWindow();
    Form1 *f = w->form.get();
    QCOMPARE(f->mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(f->mnuHelp->title(), QStringLiteral("&Help"));
    QCOMPARE(f->mnuFileItem.at(Form1::RenameNowItem)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    QCOMPARE(f->mnuHelpItem->shortcut(), QKeySequence(Qt::Key_F1));
}

void TestForm1::refusalBoxBelongsToTheWindow()
{
    QFETCH(int, type);
    QFETCH(QString, message);

    // The window's own message box, not a recorder.
    const std::unique_ptr<Form1> owned = openOwnWindow();
    Form1 &form = *owned;
    form.Combo3->setCurrentIndex(type);
    form.Text1->clear();

    QPointer<QMessageBox> seen;
    QString text;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!seen)
            return;
        text = seen->text();
        QCOMPARE(seen->parentWidget(), owned.get());
        QCOMPARE(seen->windowHandle()->transientParent(), form.windowHandle());
        QVERIFY(seen->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(seen->windowTitle(), QStringLiteral("Quillmere Full"));
        seen->button(QMessageBox::Ok)->click();
    });
    form.Command1->click();
    QTRY_VERIFY(!form.isRunning());
    QCOMPARE(text, message);
}

void TestForm1::vanishedFilesAreToldApart_data()
{
    QTest::addColumn<QString>("removed"); // deleted behind the window's back before the run
    QTest::addColumn<QString>("listAfter"); // where the folder list stands after the run
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QStringList>("notSaid");

    // The window shows top/photos; it holds a.jpg and b.jpg.
    QTest::newRow("one file") << "top/photos/b.jpg" << "top/photos"
                              << QStringList{"1 file was not renamed and is no longer in the folder:", "b.jpg",
                                             "1 other file was renamed."}
                              << QStringList{"still in the folder", "no file of this name"};
    QTest::newRow("the folder") << "top/photos" << "top"
                                << QStringList{"The folder no longer exists; 2 files were not renamed:", "a.jpg",
                                               "b.jpg"}
                                << QStringList{"still in the folder", "cannot be read"};
    QTest::newRow("the folder and its parent") << "top" << ""
                                               << QStringList{"The folder no longer exists; 2 files were not renamed:"}
                                               << QStringList{"still in the folder"};
}

void TestForm1::vanishedFilesAreToldApart()
{
    QFETCH(QString, removed);
    QFETCH(QString, listAfter);
    QFETCH(QStringList, said);
    QFETCH(QStringList, notSaid);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("top/photos/a.jpg"), QStringLiteral("top/photos/b.jpg")}));
    auto w = openWindow();
    Form1 *f = w->form.get();
    QVERIFY(f->Dir1->setPath(folder.filePath(QStringLiteral("top/photos"))));
    f->Combo3->setCurrentIndex(NameOnly);
    f->Text1->setText(QStringLiteral("N"));
    f->Command4->click();

    const QString target = folder.filePath(removed);
    if (QFileInfo(target).isDir())
        QVERIFY(QDir(target).removeRecursively());
    else
        QVERIFY(QFile::remove(target));
    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QCOMPARE(w->messages.size(), 1);
    const QString message = w->messages.first();
    for (const QString &part : said)
        QVERIFY2(message.contains(part), qPrintable(message));
    for (const QString &part : notSaid)
        QVERIFY2(!message.contains(part), qPrintable(message));
    const QString expected = QFileInfo(folder.filePath(listAfter)).canonicalFilePath();
    QCOMPARE(f->Dir1->path(), expected);
    QCOMPARE(f->File1->path(), expected);
}

void TestForm1::listKeepsItsPlaceAfterRun_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("top"); // the row at the top of the list before the run

    QTest::newRow("small folder") << 300 << 150;
    // More than one batch of the list's layout.
    QTest::newRow("large folder, far down") << 6000 << 5200;
}

void TestForm1::listKeepsItsPlaceAfterRun()
{
    QFETCH(int, files);
    QFETCH(int, top);

    TempFolder folder;
    QStringList names;
    for (int i = 0; i < files; ++i)
        names << QStringLiteral("f%1.txt").arg(i, 5, 10, QLatin1Char('0'));
    QVERIFY(folder.writeNamed(names));
    auto w = openWindow(Show::Yes);
    Form1 *f = w->form.get();
    QVERIFY(f->Dir1->setPath(folder.path()));
    QTRY_COMPARE(f->File1->count(), files);
    // Scrolled there once the list has laid out that far, as a user would.
    const QModelIndex place = f->File1->model()->index(top, 0);
    QTRY_VERIFY(f->File1->visualRect(place).isValid());
    f->File1->scrollTo(place, QAbstractItemView::PositionAtTop);
    QCOMPARE(f->File1->topRow(), top);

    // Renamed in place of themselves: the list order stays, so the same
    // rows hold the renamed files.
    f->Combo3->setCurrentIndex(AddSuffix);
    f->Text1->setText(QStringLiteral("x"));
    f->Command4->click();
    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());

    QVERIFY2(w->messages.isEmpty(), qPrintable(w->messages.join(QLatin1Char('\n'))));
    QCOMPARE(f->File1->model()->index(top, 0).data().toString(), names.at(top).chopped(4) + QStringLiteral("x.txt"));
    QTRY_COMPARE(f->File1->topRow(), top);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
