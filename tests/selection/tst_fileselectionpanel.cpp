#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/DriveListModel.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "selection/FileSelectionPanel.h"
#include "selection/FileSelectionWidgets.h"
#include "selection/FolderListModel.h"

#include "TempFolder.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// The file-selection half of the main window: the three lists, the filter
// box and its extension, "Select All".
struct PanelWindow
{
    std::unique_ptr<QWidget> window;
    Form1 *form = nullptr;
    DriveListBox *drive1 = nullptr;
    DirListBox *dir1 = nullptr;
    FileListBox *file1 = nullptr;
    QCheckBox *check1 = nullptr;
    QComboBox *combo2 = nullptr;
    QPushButton *command4 = nullptr;
    FileSelectionPanel *panel = nullptr;
};

// The main window itself; only its file-selection half is looked at.
PanelWindow makeWindow()
{
    PanelWindow w;
    auto *form = new Form1(LoadProductInfo());
    w.window.reset(form);
    w.form = form;
    w.drive1 = form->Drive1;
    w.dir1 = form->Dir1;
    w.file1 = form->File1;
    w.check1 = form->Check1;
    w.combo2 = form->Combo2;
    w.command4 = form->Command4;
    w.panel = form->selectionPanel();
    // Every drive, folder and filter change the tests make is also a check
    // of the three models against Qt's model contract; a breach ends the test.
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(w.drive1->driveModel()),
                                      static_cast<QAbstractItemModel *>(w.dir1->folderModel()),
                                      static_cast<QAbstractItemModel *>(w.file1->fileModel())})
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal, model);
    return w;
}

QStringList listed(const FileListBox *list)
{
    return list->fileModel()->fileNames();
}

QStringList folderRows(const DirListBox *list)
{
    QStringList rows;
    const QAbstractItemModel *model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        rows.append(QStringLiteral("%1:%2").arg(index.data(FolderListModel::LevelRole).toInt())
                        .arg(index.data().toString()));
    }
    return rows;
}

int rowOfLabel(const QAbstractItemView *view, const QString &label)
{
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == label)
            return row;
    }
    return -1;
}

// Picks an item the way a keyboard user does: open the list, move to the
// item, press Enter.
void pickItem(QComboBox *combo, const QString &text)
{
    const int target = combo->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    int at = view->currentIndex().isValid() ? view->currentIndex().row() : -1;
    if (at < 0) {
        QTest::keyClick(view, Qt::Key_Home);
        at = view->currentIndex().row();
    }
    for (; at < target; ++at)
        QTest::keyClick(view, Qt::Key_Down);
    for (; at > target; --at)
        QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->currentIndex().row(), target);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

void openFolder(DirListBox *dir1, const QString &label, bool byKeyboard)
{
    const int row = rowOfLabel(dir1, label);
    QVERIFY2(row >= 0, qPrintable(label));
    const QModelIndex index = dir1->model()->index(row, 0);
    dir1->scrollTo(index);
    const QPoint at = dir1->visualRect(index).center();
    if (byKeyboard) {
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dir1->currentIndex().row(), row);
        QTest::keyClick(dir1, Qt::Key_Return);
    } else {
        QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
    }
}

} // namespace

class TestFileSelectionPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void driveChangeStoresDirThenDrive();
    void driveReturnsToItsLastFolder();
    void unreadableDrive_data();
    void unreadableDrive();
    void folderListShowsAncestorsThenSubfolders();
    void openingAFolder_data();
    void openingAFolder();
    void deletedFolderKeepsTheLastReadable();
    void filter_data();
    void filter();
    void selectAll_data();
    void selectAll();
    void extendedSelectionReachesTheRun();
    void renameNowRenamesExactlyTheSelection();

private:
    void listen(PanelWindow &w);

    std::unique_ptr<TempFolder> m_tree;
    std::unique_ptr<TempFolder> m_settings;
    PanelWindow m_w;
    QStringList m_writes;
    QStringList m_messages;
};

void TestFileSelectionPanel::init()
{
    m_tree = std::make_unique<TempFolder>(TempFolder::OnUserVolume);
    m_settings = std::make_unique<TempFolder>();
    QVERIFY(m_tree->isValid() && m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
    m_writes.clear();
    m_messages.clear();

    // main/: files and folders of every kind the lists care about.
    QVERIFY(m_tree->writeNamed({"main/a.txt", "main/b.TXT", "main/c.jpg", "main/README", "main/LICENSE",
                                "main/.hidden-file", "main/d.doc"}));
    QVERIFY(m_tree->makeFolder("main/alpha"));
    QVERIFY(m_tree->makeFolder("main/Beta"));
    QVERIFY(m_tree->makeFolder("main/.cache"));
    QVERIFY(m_tree->writeNamed({"main/alpha/in-alpha.txt"}));
    QVERIFY(m_tree->writeNamed({"usb/u1.txt", "usb/u2.jpg", "usb/photos/p1.jpg"}));
    QVERIFY(m_tree->makeFolder("cd"));

    m_w = makeWindow();
    const QString root = m_tree->path();
    m_w.drive1->setVolumeSource([root] {
        return QList<MountedVolume>{{"/", "ext4", true},
                                    {root + "/usb", "vfat", true},
                                    {root + "/cd", "iso9660", false},
                                    {root + "/gone", "vfat", true},
                                    {"/proc", "proc", true}};
    });
    m_w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.window.get()));
    QVERIFY(m_w.dir1->setPath(m_tree->filePath("main")));
    listen(m_w);
}

void TestFileSelectionPanel::cleanup()
{
    m_w = PanelWindow();
    SetSettingsFolderForTesting(QString());
    m_tree.reset();
    m_settings.reset();
}

// From here on every store write and every message is recorded; writes also
// reach the (temporary) store.
void TestFileSelectionPanel::listen(PanelWindow &w)
{
    w.panel->setOptionWriter([this](const QString &key, const QString &value) {
        m_writes.append(key + u'=' + value);
        return WriteOption(key, value);
    });
    w.panel->setMessagePresenter([this](const QString &message) { m_messages.append(message); });
    m_writes.clear();
}

void TestFileSelectionPanel::driveChangeStoresDirThenDrive()
{
    const QString usb = m_tree->filePath("usb");
    pickItem(m_w.drive1, usb);

    QCOMPARE(m_w.drive1->drive(), usb);
    QCOMPARE(m_w.dir1->path(), usb);
    QCOMPARE(m_w.file1->path(), usb);
    QCOMPARE(listed(m_w.file1), (QStringList{"u1.txt", "u2.jpg"}));
    QCOMPARE(m_writes, (QStringList{"Dir=" + usb, "Drive=" + usb}));
    QCOMPARE(ReadOption("Drive", ""), usb);
    QCOMPARE(ReadOption("Dir", ""), usb);
    QVERIFY(m_messages.isEmpty());
}

void TestFileSelectionPanel::driveReturnsToItsLastFolder()
{
    const QString usb = m_tree->filePath("usb");
    pickItem(m_w.drive1, usb);
    openFolder(m_w.dir1, "photos", false);
    QCOMPARE(m_w.dir1->path(), usb + "/photos");

    // Back on the root drive: the last folder visited there, not the root.
    pickItem(m_w.drive1, "/");
    QCOMPARE(m_w.dir1->path(), m_tree->filePath("main"));
    QCOMPARE(listed(m_w.file1), (QStringList{"a.txt", "b.TXT", "c.jpg", "d.doc", "LICENSE", "README"}));

    pickItem(m_w.drive1, usb);
    QCOMPARE(m_w.dir1->path(), usb + "/photos");
    QCOMPARE(listed(m_w.file1), QStringList{"p1.jpg"});

    // Going up out of the drive moves the drive list with the folder list,
    // without storing a drive the user did not pick.
    m_writes.clear();
    openFolder(m_w.dir1, QFileInfo(m_tree->path()).fileName(), false);
    QCOMPARE(m_w.drive1->drive(), QStringLiteral("/"));
    QCOMPARE(m_writes, QStringList{"Dir=" + m_tree->path()});
}

void TestFileSelectionPanel::unreadableDrive_data()
{
    QTest::addColumn<QString>("drive");
    QTest::newRow("not ready") << "cd";
    QTest::newRow("mount point gone") << "gone";
}

void TestFileSelectionPanel::unreadableDrive()
{
    QFETCH(QString, drive);
    const QString main = m_tree->filePath("main");
    const QStringList before = listed(m_w.file1);

    pickItem(m_w.drive1, m_tree->filePath(drive));

    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(drive), qPrintable(m_messages.first()));
    QCOMPARE(m_w.drive1->drive(), QStringLiteral("/"));
    QCOMPARE(m_w.drive1->currentText(), QStringLiteral("/"));
    QCOMPARE(m_w.dir1->path(), main);
    QCOMPARE(m_w.file1->path(), main);
    QCOMPARE(listed(m_w.file1), before);
    QCOMPARE(m_writes, QStringList());
    QCOMPARE(ReadOption("Drive", "unset"), QStringLiteral("unset"));
    QCOMPARE(ReadOption("Dir", ""), main);
}

void TestFileSelectionPanel::folderListShowsAncestorsThenSubfolders()
{
    QStringList expected{QStringLiteral("0:/")};
    const QStringList steps = m_tree->filePath("main").split(u'/', Qt::SkipEmptyParts);
    for (int i = 0; i < steps.size(); ++i)
        expected.append(QStringLiteral("%1:%2").arg(i + 1).arg(steps.at(i)));
    // Hidden ".cache" left out; subfolders ordered without regard to case.
    expected.append(QStringLiteral("%1:alpha").arg(steps.size() + 1));
    expected.append(QStringLiteral("%1:Beta").arg(steps.size() + 1));
    QCOMPARE(folderRows(m_w.dir1), expected);
    QCOMPARE(m_w.dir1->currentIndex().row(), int(steps.size()));
}

void TestFileSelectionPanel::openingAFolder_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expectedFolder");
    QTest::addColumn<QStringList>("expectedFiles");

    QTest::newRow("double-click subfolder") << false << "alpha" << "main/alpha" << QStringList{"in-alpha.txt"};
    QTest::newRow("Enter on subfolder") << true << "Beta" << "main/Beta" << QStringList{};
    QTest::newRow("double-click parent") << false << "" << "" << QStringList{};
}

void TestFileSelectionPanel::openingAFolder()
{
    QFETCH(bool, byKeyboard);
    QFETCH(QString, label);
    QFETCH(QString, expectedFolder);
    QFETCH(QStringList, expectedFiles);
    // An empty label names the tree's top folder, the parent of main/.
    if (label.isEmpty())
        label = QFileInfo(m_tree->path()).fileName();
    const QString folder = expectedFolder.isEmpty() ? m_tree->path() : m_tree->filePath(expectedFolder);

    openFolder(m_w.dir1, label, byKeyboard);

    QCOMPARE(m_w.dir1->path(), folder);
    QCOMPARE(m_w.file1->path(), folder);
    QCOMPARE(listed(m_w.file1), expectedFiles);
    QCOMPARE(m_writes, QStringList{"Dir=" + folder});
    QCOMPARE(ReadOption("Dir", ""), folder);
    QVERIFY(m_messages.isEmpty());
}

void TestFileSelectionPanel::deletedFolderKeepsTheLastReadable()
{
    const QString main = m_tree->filePath("main");
    QVERIFY(rowOfLabel(m_w.dir1, "Beta") >= 0);
    QVERIFY(QDir(m_tree->filePath("main/Beta")).removeRecursively());
    const QStringList before = listed(m_w.file1);

    openFolder(m_w.dir1, "Beta", false);

    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains("Beta"), qPrintable(m_messages.first()));
    QCOMPARE(m_w.dir1->path(), main);
    QCOMPARE(m_w.file1->path(), main);
    QCOMPARE(listed(m_w.file1), before);
    QCOMPARE(m_writes, QStringList());
    QCOMPARE(ReadOption("Dir", ""), main);
    // The entry that led nowhere is gone from the list.
    QCOMPARE(rowOfLabel(m_w.dir1, "Beta"), -1);
    QVERIFY(rowOfLabel(m_w.dir1, "alpha") >= 0);
}

void TestFileSelectionPanel::filter_data()
{
    QTest::addColumn<bool>("filterOn");     // Check1 before the action
    QTest::addColumn<QString>("startText"); // Combo2's text before the action
    QTest::addColumn<QString>("action");    // "tick", "untick", "type:<text>", "pick:<item>"
    QTest::addColumn<QStringList>("expectedFiles");
    QTest::addColumn<QStringList>("expectedWrites");

    const QStringList all{"a.txt", "b.TXT", "c.jpg", "d.doc", "LICENSE", "README"};
    QTest::newRow("empty extension lists files without one")
        << false << "" << "tick" << QStringList{"LICENSE", "README"} << QStringList{"Check1=1"};
    QTest::newRow("placeholder text lists nothing")
        << false << "Choose or Type" << "tick" << QStringList{} << QStringList{"Check1=1"};
    QTest::newRow("ticking with an extension")
        << false << "TXT" << "tick" << QStringList{"a.txt", "b.TXT"} << QStringList{"Check1=1"};
    QTest::newRow("clearing lists every file")
        << true << "txt" << "untick" << all << QStringList{"Check1=0"};
    QTest::newRow("typing with the filter off") << false << "" << "type:jpg" << all << QStringList{};
    QTest::newRow("typing with the filter on")
        << true << "" << "type:jpg" << QStringList{"c.jpg"} << QStringList{};
    QTest::newRow("picking txt with the filter on")
        << true << "Choose or Type" << "pick:txt" << QStringList{"a.txt", "b.TXT"} << QStringList{"Combo2=txt"};
    QTest::newRow("picking txt with the filter off")
        << false << "Choose or Type" << "pick:txt" << all << QStringList{"Combo2=txt"};
}

void TestFileSelectionPanel::filter()
{
    QFETCH(bool, filterOn);
    QFETCH(QString, startText);
    QFETCH(QString, action);
    QFETCH(QStringList, expectedFiles);
    QFETCH(QStringList, expectedWrites);

    m_w.combo2->setEditText(startText);
    m_w.check1->setChecked(filterOn);
    m_writes.clear();
    const QString storedBefore = ReadOption("Combo2", "unset");

    if (action == "tick" || action == "untick") {
        m_w.check1->setFocus();
        QTest::keyClick(m_w.check1, Qt::Key_Space);
        QCOMPARE(m_w.check1->isChecked(), action == "tick");
    } else if (action.startsWith("type:")) {
        QLineEdit *edit = m_w.combo2->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, action.mid(5));
        QCOMPARE(m_w.combo2->currentText(), action.mid(5));
    } else {
        pickItem(m_w.combo2, action.mid(5));
        QCOMPARE(m_w.combo2->currentText(), action.mid(5));
    }

    QCOMPARE(listed(m_w.file1), expectedFiles);
    QCOMPARE(m_writes, expectedWrites);
    if (!action.startsWith("pick:"))
        QCOMPARE(ReadOption("Combo2", "unset"), storedBefore);
    QVERIFY(m_messages.isEmpty());
}

void TestFileSelectionPanel::selectAll_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("preselected");
    QTest::newRow("empty list") << 0 << -1;
    QTest::newRow("40 files") << 40 << -1;
    QTest::newRow("40 files, one already selected") << 40 << 7;
}

void TestFileSelectionPanel::selectAll()
{
    QFETCH(int, files);
    QFETCH(int, preselected);
    QStringList names;
    for (int i = 0; i < files; ++i)
        names.append(QStringLiteral("many/f%1.dat").arg(i, 2, 10, QLatin1Char('0')));
    QVERIFY(m_tree->makeFolder("many"));
    QVERIFY(m_tree->writeNamed(names));
    openFolder(m_w.dir1, QFileInfo(m_tree->path()).fileName(), false);
    openFolder(m_w.dir1, "many", false);
    QCOMPARE(m_w.file1->count(), files);
    if (preselected >= 0) {
        const QModelIndex index = m_w.file1->model()->index(preselected, 0);
        QTest::mouseClick(m_w.file1->viewport(), Qt::LeftButton, {}, m_w.file1->visualRect(index).center());
        QCOMPARE(m_w.file1->fileModel()->selectedCount(), 1);
    }
    m_writes.clear();

    QTest::mouseClick(m_w.command4, Qt::LeftButton);

    const QList<RenameEntry> entries = m_w.file1->renameEntries();
    QCOMPARE(entries.size(), files);
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).name, QStringLiteral("f%1.dat").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY2(entries.at(i).selected, qPrintable(entries.at(i).name));
    }
    QCOMPARE(m_w.file1->fileModel()->selectedCount(), files);
    QCOMPARE(m_writes, QStringList());
}

void TestFileSelectionPanel::extendedSelectionReachesTheRun()
{
    FileListBox *file1 = m_w.file1;
    const auto at = [file1](int row) { return file1->visualRect(file1->model()->index(row, 0)).center(); };
    // a.txt b.TXT c.jpg d.doc LICENSE README: click the first, shift-click
    // the third, ctrl-click the second off again, ctrl-click the fifth.
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, at(0));
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(2));
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, Qt::ControlModifier, at(1));
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, Qt::ControlModifier, at(4));
    // Shift+Down from the fifth extends the range to the sixth.
    QTest::keyClick(file1, Qt::Key_Down, Qt::ShiftModifier);

    QStringList selected;
    for (const RenameEntry &entry : file1->renameEntries()) {
        if (entry.selected)
            selected.append(entry.name);
    }
    QCOMPARE(selected, (QStringList{"a.txt", "c.jpg", "LICENSE", "README"}));

    // A re-read of the folder starts a new selection.
    file1->refresh();
    QCOMPARE(file1->fileModel()->selectedCount(), 0);
}

void TestFileSelectionPanel::renameNowRenamesExactlyTheSelection()
{
    Form1 *form = m_w.form;
    FileListBox *file1 = m_w.file1;
    QStringList shown;
    form->setMessagePresenter([&shown](const QString &, const QString &text) { shown.append(text); });
    // Only the jpg and txt files are listed; a.txt and c.jpg get selected.
    m_w.combo2->setEditText(QStringLiteral("txt"));
    QTest::keyClick(m_w.check1, Qt::Key_Space);
    QCOMPARE(listed(file1), (QStringList{"a.txt", "b.TXT"}));
    const auto at = [file1](int row) { return file1->visualRect(file1->model()->index(row, 0)).center(); };
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, at(1));

    pickItem(form->Combo3, form->Combo3->itemText(AddPrefix));
    form->Text1->setFocus();
    QTest::keyClicks(form->Text1, QStringLiteral("new-"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTRY_VERIFY(!form->isRunning());

    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
    QCOMPARE(QDir(m_tree->filePath("main")).entryList(QDir::Files, QDir::Name),
             (QStringList{"LICENSE", "README", "a.txt", "c.jpg", "d.doc", "new-b.TXT"}));
    // The run leaves the list showing the folder as it is now.
    QCOMPARE(listed(file1), (QStringList{"a.txt", "new-b.TXT"}));
}

QTEST_MAIN(TestFileSelectionPanel)
#include "tst_fileselectionpanel.moc"
