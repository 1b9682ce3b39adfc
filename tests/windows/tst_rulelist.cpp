// The rule list as a user meets it: rules added from the menu, switched
// off, removed, moved by buttons, keys and drops, and presets shown field
// by field.

#include "RuleEditorInput.h"

#include "rename/rules/RuleWords.h"
#include "windows/rules/ReplacePage.h"
#include "windows/rules/RuleListModel.h"
#include "windows/rules/RulePage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace RuleEditorInput;
using R = RenameRule;

class RuleListTest : public QObject
{
    Q_OBJECT

private slots:
    void newRuleIsSelectedAndFocused();
    void onOffBox();
    void remove();
    void move_data();
    void move();
    void dragReorder_data();
    void dragReorder();
    void presetShownAsItWas();
};

void RuleListTest::newRuleIsSelectedAndFocused()
{
    RuleListEditor editor;
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.setRules(threeRules());
    editor.selectRule(0);
    editor.addActions.at(int(R::Kind::Replace))->trigger();
    // Below the rule that was selected, and ready to be typed into.
    QCOMPARE(editor.selectedRule(), 1);
    QCOMPARE(editor.rules().rules().at(1).kind, R::Kind::Replace);
    QTRY_COMPARE(QApplication::focusWidget(), editor.replacePage->find);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    QCOMPARE(editor.rules().rules().at(1).find, QStringLiteral("x"));
    QCOMPARE(textsOf(editor.rules()), QStringLiteral("abc"));

    editor.selectRule(-1);
    editor.addActions.at(int(R::Kind::Number))->trigger();
    QCOMPARE(editor.selectedRule(), 4);
    QTRY_COMPARE(QApplication::focusWidget(), editor.pageOf(R::Kind::Number)->firstField());
}

void RuleListTest::onOffBox()
{
    RuleListEditor editor;
    editor.setRules(threeRules());
    QSignalSpy changed(&editor, &RuleListEditor::rulesChanged);
    editor.selectRule(1);
    QTest::keyClick(editor.list, Qt::Key_Space);
    QCOMPARE(changed.count(), 1);
    QList<bool> on;
    const RuleList rules = editor.rules();
    for (const RenameRule &rule : rules.rules())
        on << rule.enabled;
    QCOMPARE(on, (QList<bool>{true, false, true}));
    QCOMPARE(editor.ruleShown().enabled, false);
    QTest::keyClick(editor.list, Qt::Key_Space);
    QCOMPARE(editor.rules(), threeRules());
}

void RuleListTest::remove()
{
    RuleListEditor editor;
    editor.setRules(threeRules());
    QSignalSpy changed(&editor, &RuleListEditor::rulesChanged);
    editor.selectRule(2);
    QTest::mouseClick(editor.removeButton, Qt::LeftButton);
    QCOMPARE(textsOf(editor.rules()), QStringLiteral("ab"));
    QCOMPARE(changed.count(), 1);
    // The rule now last is shown.
    QCOMPARE(editor.selectedRule(), 1);
    QCOMPARE(editor.ruleShown(), editor.rules().rules().at(1));
    editor.selectRule(0);
    QTest::keyClick(editor.list, Qt::Key_Delete);
    QCOMPARE(textsOf(editor.rules()), QStringLiteral("b"));
    QTest::mouseClick(editor.removeButton, Qt::LeftButton);
    QVERIFY(editor.rules().isEmpty());
    QTest::keyClick(editor.list, Qt::Key_Delete);
    QCOMPARE(editor.selectedRule(), -1);
    QVERIFY(!editor.removeButton->isEnabled());
    QCOMPARE(editor.pages->currentIndex(), 0);
}

void RuleListTest::move_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("up button") << 1 << "up button" << "bac" << 0;
    QTest::newRow("down button") << 1 << "down button" << "acb" << 2;
    QTest::newRow("ctrl+up") << 2 << "ctrl+up" << "acb" << 1;
    QTest::newRow("ctrl+down") << 0 << "ctrl+down" << "bac" << 1;
    QTest::newRow("ctrl+up at the top") << 0 << "ctrl+up" << "abc" << 0;
    QTest::newRow("ctrl+down at the bottom") << 2 << "ctrl+down" << "abc" << 2;
}

void RuleListTest::move()
{
    QFETCH(int, selected);
    QFETCH(QString, how);
    QFETCH(QString, order);
    QFETCH(int, selectedAfter);

    RuleListEditor editor;
    editor.setRules(threeRules());
    editor.selectRule(selected);
    QSignalSpy changed(&editor, &RuleListEditor::rulesChanged);
    if (how == QLatin1String("up button"))
        QTest::mouseClick(editor.upButton, Qt::LeftButton);
    else if (how == QLatin1String("down button"))
        QTest::mouseClick(editor.downButton, Qt::LeftButton);
    else
        QTest::keyClick(editor.list, how.endsWith(QLatin1String("up")) ? Qt::Key_Up : Qt::Key_Down,
                        Qt::ControlModifier);
    QCOMPARE(textsOf(editor.rules()), order);
    QCOMPARE(changed.count(), order == QLatin1String("abc") ? 0 : 1);
    QCOMPARE(editor.selectedRule(), selectedAfter);
    QCOMPARE(editor.upButton->isEnabled(), selectedAfter > 0);
    QCOMPARE(editor.downButton->isEnabled(), selectedAfter < 2);
    // The editor follows the rule it showed.
    QCOMPARE(editor.ruleShown().text, QString(order.at(selectedAfter)));
}

void RuleListTest::dragReorder_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("dropRow"); // the row dropped in front of; -1 below the last
    QTest::addColumn<QString>("order");

    QTest::newRow("first to last") << 0 << -1 << "bca";
    QTest::newRow("last to first") << 2 << 0 << "cab";
    QTest::newRow("first behind second") << 0 << 2 << "bac";
    QTest::newRow("onto itself") << 1 << 1 << "abc";
    QTest::newRow("just behind itself") << 1 << 2 << "abc";
}

void RuleListTest::dragReorder()
{
    QFETCH(int, from);
    QFETCH(int, dropRow);
    QFETCH(QString, order);

    // What a drag of the row carries, dropped where the view would drop it.
    // (The view takes an internal move only from a drag of its own, which
    // the offscreen platform cannot start.)
    RuleListEditor editor;
    editor.setRules(threeRules());
    QSignalSpy changed(&editor, &RuleListEditor::rulesChanged);
    RuleListModel *model = editor.model;
    QVERIFY(editor.list->dragEnabled());
    QCOMPARE(editor.list->dragDropMode(), QAbstractItemView::InternalMove);
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(from)}));
    QVERIFY(model->canDropMimeData(data.get(), Qt::MoveAction, dropRow, 0, QModelIndex()));
    QVERIFY(model->dropMimeData(data.get(), Qt::MoveAction, dropRow, 0, QModelIndex()));
    QCOMPARE(textsOf(editor.rules()), order);
    QCOMPARE(changed.count(), order == QLatin1String("abc") ? 0 : 1);
    // A copy is never dropped: the list would hold a rule twice.
    QVERIFY(!model->dropMimeData(data.get(), Qt::CopyAction, 0, 0, QModelIndex()));
    QCOMPARE(textsOf(editor.rules()), order);

    // The view's own way, moving rows, keeps the rule shown selected.
    editor.setRules(threeRules());
    editor.selectRule(2);
    QVERIFY(model->moveRows(QModelIndex(), 2, 1, QModelIndex(), 0));
    QCOMPARE(textsOf(editor.rules()), QStringLiteral("cab"));
    QCOMPARE(editor.selectedRule(), 0);
    QVERIFY(!model->moveRows(QModelIndex(), 0, 1, QModelIndex(), 4));
    QCOMPARE(textsOf(editor.rules()), QStringLiteral("cab"));
}

void RuleListTest::presetShownAsItWas()
{
    const QString preset = QStringLiteral(R"(quillmere-rules 1
[rule]
kind = replace
enabled = no
scope = name
form = pattern
find = (?i)img_(\d+)
replace = Trip_${1}
literal = no
ignore-case = yes
occurrence = nth
nth = 3
[rule]
kind = replace
form = remove-between
find = (
end-marker = )
[rule]
kind = replace
scope = ext
form = remove-last
count = 7
literal = yes
[rule]
kind = case
case = sentence
scope = ext
[rule]
kind = number
place = position
position = 5
start = -40
step = -3
width-mode = fixed
width = 6
order = taken
reverse = yes
[rule]
kind = number
place = token
start = 9007199254740991
step = -9007199254740991
width-mode = none
order = size
[rule]
kind = insert
scope = name
place = whole
text = {taken:yyyy-MM-dd} {name}.{ext}
[rule]
kind = insert
place = before-ext
text = _final
[rule]
kind = clean
clean = no-underscores
[rule]
kind = clean
clean = ascii
scope = name
)");
    RuleList read;
    QString error;
    QVERIFY2(PresetFile::parse(preset, QStringLiteral("test"), &read, &error), qPrintable(error));
    QCOMPARE(read.size(), 10);

    RuleListEditor editor;
    editor.setRules(read);
    RuleList shown;
    for (int row = 0; row < read.size(); ++row) {
        editor.selectRule(row);
        shown.append(editor.ruleShown());
    }
    for (int row = 0; row < read.size(); ++row)
        QVERIFY2(shown.rules().at(row) == read.rules().at(row), qPrintable(read.describe(row)));
    QCOMPARE(shown, read);
    // Showing a rule never changes it.
    QCOMPARE(editor.rules(), read);
    QCOMPARE(PresetFile::format(editor.rules()), PresetFile::format(read));
}

QTEST_MAIN(RuleListTest)
#include "tst_rulelist.moc"
