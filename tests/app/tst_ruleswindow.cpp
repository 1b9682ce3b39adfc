// The Rules window as a user meets it: opened from the main window with the
// keyboard, its preview held against the command line's dry run, Rename
// through the main window's run, and Undo Last Rename after it.

#include "RulesWindowFixture.h"

#include "app/RenameRunner.h"
#include "core/SettingsStore.h"
#include "selection/FileListBox.h"
#include "windows/ChangedNameDelegate.h"
#include "windows/RuleListEditor.h"

#include "RulesDryRun.h"
#include "TempFolder.h"
#include "TestIsolation.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

// A regular-expression replace with a capture group, then a number.
const QString kPhotoRules = u"quillmere-rules 1\n"
                            "[rule]\nkind = replace\nfind = IMG_(\\d+)\nreplace = Photo-$1\n"
                            "[rule]\nkind = number\nplace = end\nstart = 5\n"_s;
// Every b and c becomes a: the new names collide with a and with each other.
const QString kCollidingRules = u"quillmere-rules 1\n[rule]\nkind = replace\nfind = [bc]\nreplace = a\n"_s;
// b becomes a, which is taken; c takes a name that would leave the folder.
const QString kProblemRules = u"quillmere-rules 1\n"
                              "[rule]\nkind = replace\nfind = ^c$\nreplace = x/c\n"
                              "[rule]\nkind = replace\nfind = ^b$\nreplace = a\n"_s;

} // namespace

class TestRulesWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensFromTheFileMenu();
    void previewAgreesWithTheDryRun_data();
    void previewAgreesWithTheDryRun();
    void renameAndUndoKeepEveryFile();
    void renameWaitsForUsableRules_data();
    void renameWaitsForUsableRules();
    void refusedPlanRenamesNothing();
    void overwriteChoiceIsFollowedLive();
    void problemsFilterAndCounts();
    void visibleRowsComeFirst_data();
    void visibleRowsComeFirst();
    void notedNameStandsOut();
    void controlsHaveKeyboardPaths_data();
    void controlsHaveKeyboardPaths();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void TestRulesWindow::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
    QVERIFY(RemoveIsolatedFolder(RulesWindow::rulesInUsePath()));
}

void TestRulesWindow::cleanup()
{
    delete RulesWindow::current();
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

void TestRulesWindow::opensFromTheFileMenu()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a.txt"_s}));
    auto w = makeMainWindow();
    QStringList items;
    for (const QAction *action : w->form->mnuFile->actions())
        items.append(action->text().remove(u'&'));
    QCOMPARE(items, (QStringList{u"Rename Now"_s, u"Preview"_s, u"Rules..."_s, u"Undo Last Rename"_s, u"Exit"_s}));

    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    QVERIFY(QTest::qWaitForWindowExposed(rules));
    // Once more: the open window comes forward, no second one.
    QTest::keyClick(w->form.get(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(RulesWindow::current(), rules);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](const QWidget *widget) { return qobject_cast<const RulesWindow *>(widget); }),
             1);

    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(rules);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), u"Rules"_s);
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(rules->preview->table);
    QCOMPARE(table->role(), QAccessible::Table);
    QVERIFY(!table->text(QAccessible::Name).isEmpty());
    const auto *ruleList = rules->editor->findChild<QListView *>();
    QVERIFY(ruleList);
    QCOMPARE(QAccessible::queryAccessibleInterface(const_cast<QListView *>(ruleList))->role(), QAccessible::List);
}

void TestRulesWindow::previewAgreesWithTheDryRun_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<int>("renamed"); // rows the preview says are simply renamed

    const QStringList photos{u"IMG_0001.jpg"_s, u"IMG_0002.jpg"_s, u"IMG_0010.png"_s, u"notes.txt"_s};
    QTest::newRow("capture group and number") << photos << kPhotoRules << true << 4;
    const QStringList abc{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("names taken get _") << abc << kCollidingRules << true << 0;
    QTest::newRow("a file left in place") << abc << kProblemRules << true << 0;
    QTest::newRow("overwriting") << photos << kPhotoRules << false << 4;
    // "a" stays and "b" becomes "a": no file may end under one name.
    QTest::newRow("overwriting, two files to one name") << abc << kProblemRules << false << 0;
}

void TestRulesWindow::previewAgreesWithTheDryRun()
{
    QFETCH(QStringList, files);
    QFETCH(QString, preset);
    QFETCH(bool, keepExisting);
    QFETCH(int, renamed);

    TempFolder folder;
    QVERIFY(folder.writeNamed(files));
    TempFolder presets;
    QVERIFY(presets.write(u"p.rules"_s, preset.toUtf8()));
    auto w = makeMainWindow();
    if (w->form->Check4->isChecked() != keepExisting)
        w->form->Check4->click();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    rules->editor->setRules(rulesOf(preset));
    QTRY_VERIFY(previewUpToDate(rules));

    const Outcomes shown = shownOutcomes(rules);
    QCOMPARE(shown.size(), rules->preview->isRefused() ? 1 : files.size());
    QCOMPARE(shown, dryRunOutcomes(folder.path(), presets.filePath(u"p.rules"_s), keepExisting));
    QCOMPARE(rules->preview->model()->preview().count(PreviewOutcome::Renamed), renamed);
}

void TestRulesWindow::renameAndUndoKeepEveryFile()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({u"IMG_0001.jpg"_s, u"IMG_0002.jpg"_s, u"notes.txt"_s}));
    const QMap<QString, QByteArray> before = FolderChecksums(folder.path());
    auto w = makeMainWindow();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    rules->editor->setRules(rulesOf(kPhotoRules));
    QTRY_VERIFY(rules->renameButton->isEnabled());

    QMap<QString, QByteArray> expected;
    QStringList newNames;
    for (const PreviewRow &row : rules->preview->model()->preview().rows) {
        expected.insert(row.newName, before.value(row.currentName));
        newNames.append(row.newName);
    }
    QCOMPARE(expected.firstKey(), u"Photo-0001005.jpg"_s);

    QSignalSpy finished(w->form->renameRunner(), &RenameRunner::finished);
    QTest::mouseClick(rules->renameButton, Qt::LeftButton);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(FolderChecksums(folder.path()), expected);
    QCOMPARE(w->messages, QStringList());
    QVERIFY(!w->form->renameRunner()->lastReport().journalPath.isEmpty());

    // Still open, and showing the files under their new names.
    QCOMPARE(RulesWindow::current(), rules);
    const auto shownNames = [rules] {
        QStringList names;
        for (const PreviewRow &row : rules->preview->model()->preview().rows)
            names.append(row.currentName);
        names.sort();
        return names;
    };
    newNames.sort();
    QTRY_VERIFY(previewUpToDate(rules) && shownNames() == newNames);
    QVERIFY(rules->renameButton->isEnabled());

    QVERIFY(w->form->mnuUndoItem->isEnabled());
    w->form->mnuUndoItem->trigger();
    QCOMPARE(FolderChecksums(folder.path()), before);
}

void TestRulesWindow::renameWaitsForUsableRules_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<bool>("refused"); // the preview shows a refusal

    QTest::newRow("bad expression") << u"quillmere-rules 1\n[rule]\nkind = replace\nfind = (\nreplace = x\n"_s
                                    << true << true;
    QTest::newRow("group it does not have") << u"quillmere-rules 1\n[rule]\nfind = (a)\nreplace = $2\n"_s << true
                                            << true;
    QTest::newRow("two files to one name, overwriting") << kCollidingRules << false << true;
}

void TestRulesWindow::renameWaitsForUsableRules()
{
    QFETCH(QString, preset);
    QFETCH(bool, keepExisting);
    QFETCH(bool, refused);

    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a"_s, u"b"_s, u"c"_s}));
    auto w = makeMainWindow();
    if (w->form->Check4->isChecked() != keepExisting)
        w->form->Check4->click();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    rules->editor->setRules(rulesOf(u"quillmere-rules 1\n[rule]\nfind = a\nreplace = z\n"_s));
    QTRY_VERIFY(rules->renameButton->isEnabled());

    rules->editor->setRules(rulesOf(preset));
    QVERIFY(!rules->renameButton->isEnabled());
    QTRY_VERIFY(previewUpToDate(rules));
    QVERIFY(!rules->renameButton->isEnabled());
    QVERIFY(rules->renameReason->isVisibleTo(rules));
    QVERIFY(!rules->renameReason->text().isEmpty());
    if (!rules->editor->problem().isEmpty())
        QCOMPARE(rules->renameReason->text(), rules->editor->problem());
    QCOMPARE(rules->preview->pages->currentWidget() == rules->preview->refusal, refused);
    QVERIFY(!rules->preview->refusal->text().isEmpty());
}

// The run plans again on its worker: a folder that changed after the
// preview can still refuse it, and then nothing moves.
void TestRulesWindow::refusedPlanRenamesNothing()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a"_s, u"b"_s, u"c"_s}));
    const QMap<QString, QByteArray> before = FolderChecksums(folder.path());
    QList<RenameEntry> entries;
    for (const QString &name : folder.files())
        entries.append({name, true});
    RenameRequest request;
    request.keepExisting = false;
    request.entryCount = int(entries.size());

    RenameRunner runner;
    QSignalSpy finished(&runner, &RenameRunner::finished);
    QVERIFY(runner.start(folder.path(), entries, request, rulesOf(kCollidingRules)));
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(runner.lastReport().refusal, RenameReport::Refusal::Plan);
    QVERIFY(!runner.lastReport().refusalMessage.isEmpty());
    QCOMPARE(FolderChecksums(folder.path()), before);

    // Through the window: the main window says why.
    auto w = makeMainWindow();
    w->form->Check4->setChecked(false);
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    rules->editor->setRules(rulesOf(kCollidingRules));
    QTRY_VERIFY(previewUpToDate(rules));
    QCOMPARE(rules->preview->refusal->text(), runner.lastReport().refusalMessage);
}

void TestRulesWindow::overwriteChoiceIsFollowedLive()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a"_s, u"b"_s}));
    auto w = makeMainWindow();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    rules->editor->setRules(rulesOf(u"quillmere-rules 1\n[rule]\nfind = b\nreplace = a\n"_s));
    const auto outcomeOfB = [rules] {
        for (const PreviewRow &row : rules->preview->model()->preview().rows)
            if (row.currentName == u"b"_s)
                return row.outcome;
        return PreviewOutcome::Renamed;
    };
    for (const bool keep : {false, true, false, true}) {
        if (w->form->Check4->isChecked() != keep)
            QTest::mouseClick(w->form->Check4, Qt::LeftButton, {}, QPoint(4, w->form->Check4->height() / 2));
        QCOMPARE(w->form->Check4->isChecked(), keep);
        QTRY_VERIFY(previewUpToDate(rules));
        // Overwriting, "a" and "b" would both end as "a".
        QCOMPARE(rules->preview->isRefused(), !keep);
        if (keep)
            QCOMPARE(outcomeOfB(), PreviewOutcome::FreeVariant);
        QCOMPARE(rules->renameButton->isEnabled(), keep);
        QCOMPARE(rules->keepExistingNote->text().contains(u"kept"_s), keep);
    }
}

void TestRulesWindow::problemsFilterAndCounts()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    auto w = makeMainWindow();
    w->form->Check4->setChecked(true);
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    // b gets "_", c is left in place, d is renamed, a is unchanged.
    rules->editor->setRules(rulesOf(kProblemRules + u"[rule]\nfind = ^d$\nreplace = e\n"_s));
    QTRY_VERIFY(previewUpToDate(rules));
    QCOMPARE(rules->preview->summary->text(),
             u"Renamed: 1 · Gets \"_\": 1 · Replaces an existing file: 0 · Unchanged: 1 · Left in place: 1"_s);

    const QAbstractItemModel *shown = rules->preview->table->model();
    QCOMPARE(shown->rowCount(), 4);
    QVERIFY(QTest::qWaitForWindowActive(rules));
    QTest::keyClick(rules, Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(rules->preview->problemsOnly->isChecked());
    QStringList problems;
    for (int row = 0; row < shown->rowCount(); ++row)
        problems.append(shown->index(row, PreviewModel::CurrentName).data().toString());
    QCOMPARE(problems, (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    // Each stands out without reading it.
    for (int row = 0; row < shown->rowCount(); ++row) {
        QVERIFY(shown->index(row, PreviewModel::CurrentName).data(Qt::ForegroundRole).isValid());
        QVERIFY(!shown->index(row, PreviewModel::Outcome).data(Qt::DecorationRole).value<QIcon>().isNull());
    }
    QTest::keyClick(rules, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(shown->rowCount(), 4);
}

void TestRulesWindow::visibleRowsComeFirst_data()
{
    QTest::addColumn<quint64>("generation"); // of the rows that come
    QTest::addColumn<QStringList>("shownNames");

    // The window shows generation 2 of rows x, y.
    QTest::newRow("newer rows fill in their rows")
        << quint64(3) << QStringList{u"x"_s, u"y2"_s, u"z2"_s};
    QTest::newRow("rows of the preview shown are no news") << quint64(2) << QStringList{u"x"_s, u"y"_s};
    QTest::newRow("older rows are dropped") << quint64(1) << QStringList{u"x"_s, u"y"_s};
}

void TestRulesWindow::visibleRowsComeFirst()
{
    QFETCH(quint64, generation);
    QFETCH(QStringList, shownNames);

    RulesWindow rules(LoadProductInfo(), WindowSkin());
    RenamePreview preview;
    const auto row = [](const QString &name, const QString &newName) {
        PreviewRow made;
        made.currentName = name;
        made.newName = newName;
        return made;
    };
    preview.rows = {row(u"x"_s, u"x1"_s), row(u"y"_s, u"y1"_s)};
    emit rules.computer()->previewReady(preview, 2);
    emit rules.computer()->visibleRowsReady(1, {row(u"y2"_s, u"n"_s), row(u"z2"_s, u"n"_s)}, generation);

    QStringList names;
    const QAbstractItemModel *shown = rules.preview->table->model();
    for (int row = 0; row < shown->rowCount(); ++row)
        names.append(shown->index(row, PreviewModel::CurrentName).data().toString());
    QCOMPARE(names, shownNames);
    // The whole preview of that generation replaces everything.
    emit rules.computer()->previewReady(preview, generation + 1);
    QCOMPARE(shown->rowCount(), 2);
    QCOMPARE(shown->index(1, PreviewModel::NewName).data().toString(), u"y1"_s);
}

// A date taken that was not there, so the modified time stood in: the new
// name has a sign, and its tooltip says so.
void TestRulesWindow::notedNameStandsOut()
{
    RulesWindow rules(LoadProductInfo(), WindowSkin());
    RenamePreview preview;
    preview.rows.resize(2);
    preview.rows[0].currentName = u"a.jpg"_s;
    preview.rows[0].newName = u"2024-01-01.jpg"_s;
    preview.rows[0].note = u"no date taken; the modified time stands in"_s;
    preview.rows[1].currentName = u"b.jpg"_s;
    preview.rows[1].newName = u"2024-01-02.jpg"_s;
    emit rules.computer()->previewReady(preview, 1);

    const QAbstractItemModel *shown = rules.preview->table->model();
    const QModelIndex noted = shown->index(0, PreviewModel::NewName);
    QVERIFY(!noted.data(Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(noted.data(Qt::ToolTipRole).toString(), u"2024-01-01.jpg\nno date taken; the modified time stands in"_s);
    // The change in each new name is marked as it is painted.
    QVERIFY(qobject_cast<ChangedNameDelegate *>(rules.preview->table->itemDelegateForColumn(PreviewModel::NewName)));
    rules.resize(800, 400);
    QVERIFY(!rules.preview->table->grab().isNull());
    const QModelIndex plain = shown->index(1, PreviewModel::NewName);
    QVERIFY(!plain.data(Qt::DecorationRole).isValid());
    QCOMPARE(plain.data(Qt::ToolTipRole).toString(), u"2024-01-02.jpg"_s);
}

void TestRulesWindow::controlsHaveKeyboardPaths_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("control"); // object name of what the letter reaches

    QTest::newRow("preset") << u"P"_s << u"presets"_s;
    QTest::newRow("preview table") << u"V"_s << u"previewTable"_s;
    QTest::newRow("problems only") << u"B"_s << u"problemsOnly"_s;
    QTest::newRow("close") << u"C"_s << u"closeButton"_s;
}

void TestRulesWindow::controlsHaveKeyboardPaths()
{
    QFETCH(QString, letter);
    QFETCH(QString, control);

    TempFolder folder;
    QVERIFY(folder.writeNamed({u"a"_s}));
    auto w = makeMainWindow();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    QVERIFY(QTest::qWaitForWindowActive(rules));
    auto *target = rules->findChild<QWidget *>(control);
    QVERIFY(target);
    QVERIFY(!target->accessibleName().isEmpty());
    QTest::keyClick(rules, letter.at(0).toLatin1(), Qt::AltModifier);
    if (control == u"closeButton"_s)
        QTRY_VERIFY(!RulesWindow::current());
    else
        QCOMPARE(QApplication::focusWidget(), target);
}

QTEST_MAIN(TestRulesWindow)
#include "tst_ruleswindow.moc"
