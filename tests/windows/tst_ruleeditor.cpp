// The rule list and its editor as a user meets them: rules added from the
// menu and set up by typing, switched off, removed, moved and dragged;
// expressions that do not compile marked where they are typed; presets
// shown field by field.

#include "rename/rules/PresetFile.h"
#include "rename/rules/RuleWords.h"
#include "windows/RuleListEditor.h"
#include "windows/rules/ReplacePage.h"
#include "windows/rules/RuleListModel.h"
#include "windows/rules/RulePage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QAbstractSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

Q_DECLARE_METATYPE(RenameRule)

namespace {

using R = RenameRule;

// A field of the page shown, or of the editor around it, by its name.
QWidget *fieldOf(RuleListEditor &editor, const QString &name)
{
    if (auto *field = editor.pages->currentWidget()->findChild<QWidget *>(name))
        return field;
    return editor.findChild<QWidget *>(name);
}

// Types value into field as a user does: a text or a number replaces what
// the field holds, a choice is made with the arrow keys, a box is ticked
// with the space bar.
void typeInto(QWidget *field, const QString &value)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field)) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
    } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(field)) {
        QTest::keyClick(spin, Qt::Key_End);
        for (qsizetype i = spin->text().size(); i > 0; --i)
            QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, value);
    } else if (auto *box = qobject_cast<QComboBox *>(field)) {
        const int index = box->findData(value.toInt());
        QVERIFY2(index >= 0, qPrintable(value));
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(box, Qt::Key_Down);
    } else if (auto *check = qobject_cast<QCheckBox *>(field)) {
        if (check->isChecked() != (value == QLatin1String("on")))
            QTest::keyClick(check, Qt::Key_Space);
    } else {
        QFAIL("no such field");
    }
}

RenameRule ruleOf(R::Kind kind)
{
    RenameRule rule;
    rule.kind = kind;
    return rule;
}

RuleList listOf(std::initializer_list<RenameRule> rules)
{
    RuleList list;
    for (const RenameRule &rule : rules)
        list.append(rule);
    return list;
}

// Three rules told apart by their text.
RuleList threeRules()
{
    RenameRule a = ruleOf(R::Kind::Insert);
    a.text = QStringLiteral("a");
    RenameRule b = a;
    b.text = QStringLiteral("b");
    RenameRule c = a;
    c.text = QStringLiteral("c");
    return listOf({a, b, c});
}

QString textsOf(const RuleList &rules)
{
    QString texts;
    for (const RenameRule &rule : rules.rules())
        texts += rule.text;
    return texts;
}

} // namespace

class RuleEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void addAndType_data();
    void addAndType();
    void newRuleIsSelectedAndFocused();
    void onOffBox();
    void remove();
    void move_data();
    void move();
    void dragReorder_data();
    void dragReorder();
    void badRuleIsMarked_data();
    void badRuleIsMarked();
    void everyKeystrokeIsReported();
    void presetShownAsItWas();
    void formsDisableWhatTheyDoNotUse_data();
    void formsDisableWhatTheyDoNotUse();
};

void RuleEditorTest::addAndType_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("steps"); // "field=value", in order
    QTest::addColumn<RenameRule>("expected");

    const auto row = [](const char *name, R::Kind kind, const QStringList &steps, auto change) {
        RenameRule rule = ruleOf(kind);
        change(rule);
        QTest::newRow(name) << int(kind) << steps << rule;
    };
    row("replace", R::Kind::Replace, {"find=IMG_(\\d+)", "replacement=Trip_$1"}, [](R &r) {
        r.find = QStringLiteral("IMG_(\\d+)");
        r.replacement = QStringLiteral("Trip_$1");
    });
    row("replace literal, 2nd match", R::Kind::Replace,
        {"scope=1", "find=a.b", "literal=on", "ignoreCase=on", "occurrence=3", "nth=2", "replacement=x"}, [](R &r) {
            r.scope = R::Scope::Extension;
            r.find = QStringLiteral("a.b");
            r.literal = r.ignoreCase = true;
            r.occurrence = R::Occurrence::Nth;
            r.nth = 2;
            r.replacement = QStringLiteral("x");
        });
    row("replace last match", R::Kind::Replace, {"find=\\d", "occurrence=2"}, [](R &r) {
        r.find = QStringLiteral("\\d");
        r.occurrence = R::Occurrence::Last;
    });
    row("remove first", R::Kind::Replace, {"replaceForm=1", "count=3"}, [](R &r) {
        r.replaceForm = R::ReplaceForm::RemoveFirst;
        r.count = 3;
    });
    row("remove last, whole name", R::Kind::Replace, {"scope=2", "replaceForm=2", "count=12"}, [](R &r) {
        r.scope = R::Scope::Name;
        r.replaceForm = R::ReplaceForm::RemoveLast;
        r.count = 12;
    });
    row("remove between", R::Kind::Replace, {"replaceForm=3", "find=[", "endMarker=]", "ignoreCase=on"}, [](R &r) {
        r.replaceForm = R::ReplaceForm::RemoveBetween;
        r.find = QStringLiteral("[");
        r.endMarker = QStringLiteral("]");
        r.ignoreCase = true;
    });
    row("case title", R::Kind::Case, {"caseForm=2"}, [](R &r) { r.caseForm = R::CaseForm::Title; });
    row("case sentence, extension", R::Kind::Case, {"scope=1", "caseForm=3"}, [](R &r) {
        r.scope = R::Scope::Extension;
        r.caseForm = R::CaseForm::Sentence;
    });
    row("number counting down", R::Kind::Number,
        {"start=10", "step=-2", "widthMode=1", "width=4", "order=3", "reverse=on"}, [](R &r) {
            r.start = 10;
            r.step = -2;
            r.widthMode = R::Width::Fixed;
            r.width = 4;
            r.order = R::Order::Modified;
            r.reverse = true;
        });
    row("number from a date", R::Kind::Number, {"start=20240101001", "step=1000"}, [](R &r) {
        r.start = 20240101001;
        r.step = 1000;
    });
    row("number at a position", R::Kind::Number, {"place=3", "position=3", "order=1"}, [](R &r) {
        r.place = R::Place::Position;
        r.position = 3;
        r.order = R::Order::Natural;
    });
    row("number at the token", R::Kind::Number, {"place=4", "widthMode=2", "order=5", "start=0"}, [](R &r) {
        r.place = R::Place::Token;
        r.widthMode = R::Width::None;
        r.order = R::Order::Taken;
        r.start = 0;
    });
    row("number at the start by size", R::Kind::Number, {"place=0", "order=4", "order=2"}, [](R &r) {
        r.place = R::Place::Start;
        r.order = R::Order::Name;
    });
    row("template", R::Kind::Insert, {"text={parent}_{n}_{mtime:yyyyMMdd}", "place=5"}, [](R &r) {
        r.text = QStringLiteral("{parent}_{n}_{mtime:yyyyMMdd}");
        r.place = R::Place::Whole;
    });
    row("insert before the extension", R::Kind::Insert, {"scope=2", "text= (copy)", "place=2"}, [](R &r) {
        r.scope = R::Scope::Name;
        r.text = QStringLiteral(" (copy)");
        r.place = R::Place::BeforeExtension;
    });
    row("insert at a position", R::Kind::Insert, {"text=-", "place=3", "position=4"}, [](R &r) {
        r.text = QStringLiteral("-");
        r.place = R::Place::Position;
        r.position = 4;
    });
    row("clean ascii", R::Kind::CleanUp, {"cleanUpForm=0"}, [](R &r) { r.cleanUp = R::CleanUp::Ascii; });
    row("clean spaces", R::Kind::CleanUp, {"cleanUpForm=2"}, [](R &r) { r.cleanUp = R::CleanUp::CollapseSpaces; });
    row("clean underscores", R::Kind::CleanUp, {"cleanUpForm=3"},
        [](R &r) { r.cleanUp = R::CleanUp::SpacesToUnderscores; });
    row("clean no underscores", R::Kind::CleanUp, {"cleanUpForm=4"},
        [](R &r) { r.cleanUp = R::CleanUp::UnderscoresToSpaces; });
    row("clean nfc", R::Kind::CleanUp, {"cleanUpForm=5"}, [](R &r) { r.cleanUp = R::CleanUp::Nfc; });
}

void RuleEditorTest::addAndType()
{
    QFETCH(int, kind);
    QFETCH(QStringList, steps);
    QFETCH(RenameRule, expected);

    RuleListEditor editor;
    editor.addActions.at(kind)->trigger();
    QCOMPARE(editor.rules().size(), 1);
    QCOMPARE(editor.pages->currentWidget(), editor.pageOf(R::Kind(kind)));
    for (const QString &step : std::as_const(steps)) {
        const QString name = step.section(u'=', 0, 0);
        QWidget *field = fieldOf(editor, name);
        QVERIFY2(field, qPrintable(name));
        QVERIFY2(field->isEnabled(), qPrintable(name));
        typeInto(field, step.section(u'=', 1));
    }
    QCOMPARE(editor.rules(), listOf({expected}));
    QCOMPARE(editor.ruleShown(), expected);
}

void RuleEditorTest::newRuleIsSelectedAndFocused()
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

void RuleEditorTest::onOffBox()
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

void RuleEditorTest::remove()
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

void RuleEditorTest::move_data()
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

void RuleEditorTest::move()
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

void RuleEditorTest::dragReorder_data()
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

void RuleEditorTest::dragReorder()
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

void RuleEditorTest::badRuleIsMarked_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("field"); // the field marked
    QTest::addColumn<QStringList>("reason"); // what the mark says, in parts
    QTest::addColumn<QString>("fix");

    const int replace = int(R::Kind::Replace);
    QTest::newRow("group not closed") << replace << QStringList{"find=IMG_(\\d+"} << "find"
                                      << QStringList{"does not compile", "at character 8"} << "find=IMG_(\\d+)";
    QTest::newRow("quantifier of nothing") << replace << QStringList{"find=*a"} << "find"
                                           << QStringList{"does not compile", "at character 0"} << "find=a*";
    QTest::newRow("no such numbered group")
        << replace << QStringList{"find=(a)", "replacement=x$2"} << "replacement" << QStringList{"\"2\""}
        << "replacement=x$1";
    QTest::newRow("no such named group")
        << replace << QStringList{"find=(?<year>\\d+)", "replacement=${month}"} << "replacement"
        << QStringList{"\"month\""} << "replacement=${year}";
    QTest::newRow("nothing to find") << replace << QStringList{"replacement=x"} << "find"
                                     << QStringList{"empty"} << "find=y";
    QTest::newRow("no end marker") << replace << QStringList{"replaceForm=3", "find=["} << "endMarker"
                                   << QStringList{"both markers"} << "endMarker=]";
    QTest::newRow("no start marker") << replace << QStringList{"replaceForm=3", "endMarker=]"} << "find"
                                     << QStringList{"both markers"} << "find=[";
    QTest::newRow("unknown token") << int(R::Kind::Insert) << QStringList{"text={date}"} << "text"
                                   << QStringList{"unknown token {date}"} << "text={taken:yyyy}";
    QTest::newRow("token with a format it cannot take")
        << int(R::Kind::Insert) << QStringList{"text={name:upper}"} << "text" << QStringList{"takes no format"}
        << "text={name}";
}

void RuleEditorTest::badRuleIsMarked()
{
    QFETCH(int, kind);
    QFETCH(QStringList, steps);
    QFETCH(QString, field);
    QFETCH(QStringList, reason);
    QFETCH(QString, fix);

    RuleListEditor editor;
    editor.setRules(threeRules()); // a good rule before the bad one
    editor.selectRule(0);
    editor.addActions.at(kind)->trigger();
    for (const QString &step : std::as_const(steps))
        typeInto(fieldOf(editor, step.section(u'=', 0, 0)), step.section(u'=', 1));

    const QList<QLabel *> problems = editor.pages->currentWidget()->findChildren<QLabel *>(QStringLiteral("problem"));
    const auto marked = [&] {
        QStringList shown;
        for (QLabel *label : problems)
            if (label->isVisibleTo(&editor))
                shown << label->text();
        return shown;
    };
    const QStringList shown = marked();
    QCOMPARE(shown.size(), 1);
    for (const QString &part : std::as_const(reason)) {
        QVERIFY2(shown.first().contains(part), qPrintable(shown.first()));
        QVERIFY2(editor.problem().contains(part), qPrintable(editor.problem()));
    }
    // The field at fault tells a screen reader, and the row says why.
    QWidget *faulty = fieldOf(editor, field);
    QVERIFY(faulty->accessibleDescription().contains(reason.first()));
    QVERIFY2(editor.problem().startsWith(QStringLiteral("rule 2 (")), qPrintable(editor.problem()));
    const QModelIndex row = editor.model->index(1);
    QVERIFY(row.data(Qt::ToolTipRole).toString().contains(reason.first()));
    QVERIFY(!row.data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!editor.model->index(0).data(Qt::ToolTipRole).isValid());

    // Switched off, the rule no longer stops the list, and still says why it
    // cannot be used.
    QTest::keyClick(editor.list, Qt::Key_Space);
    QCOMPARE(editor.problem(), QString());
    QVERIFY(row.data(Qt::ToolTipRole).toString().contains(reason.first()));
    QTest::keyClick(editor.list, Qt::Key_Space);
    QVERIFY(!editor.problem().isEmpty());

    typeInto(fieldOf(editor, fix.section(u'=', 0, 0)), fix.section(u'=', 1));
    QCOMPARE(marked(), QStringList());
    QCOMPARE(editor.problem(), QString());
    QVERIFY(faulty->accessibleDescription().isEmpty());
    QVERIFY(!row.data(Qt::ToolTipRole).isValid());
}

void RuleEditorTest::everyKeystrokeIsReported()
{
    RuleListEditor editor;
    editor.addActions.at(int(R::Kind::Replace))->trigger();
    QSignalSpy changed(&editor, &RuleListEditor::rulesChanged);
    QTest::keyClicks(editor.replacePage->find, QStringLiteral("abc"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(editor.rules().rules().at(0).find, QStringLiteral("abc"));
    QTest::keyClick(editor.replacePage->find, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 4);
    QCOMPARE(editor.rules().rules().at(0).find, QStringLiteral("ab"));
    editor.selectRule(-1);
    editor.addActions.at(int(R::Kind::Number))->trigger();
    changed.clear();
    typeInto(fieldOf(editor, QStringLiteral("step")), QStringLiteral("-12"));
    // Emptied, then "-" (no number yet), "-1" and "-12".
    QCOMPARE(editor.rules().rules().at(1).step, -12);
    QVERIFY2(changed.count() >= 2, qPrintable(QString::number(changed.count())));
    // Showing another rule changes nothing.
    changed.clear();
    editor.selectRule(0);
    editor.selectRule(1);
    QCOMPARE(changed.count(), 0);
    // setRules() reports the list it shows.
    editor.setRules(threeRules());
    QCOMPARE(changed.count(), 1);
}

void RuleEditorTest::presetShownAsItWas()
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

void RuleEditorTest::formsDisableWhatTheyDoNotUse_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("enabled"); // of the fields that depend on the form

    QTest::newRow("find and replace")
        << QStringList{"replaceForm=0"}
        << QStringList{"find", "replacement", "literal", "ignoreCase", "occurrence"};
    QTest::newRow("one match by number")
        << QStringList{"replaceForm=0", "occurrence=3"}
        << QStringList{"find", "replacement", "literal", "ignoreCase", "occurrence", "nth"};
    QTest::newRow("remove first") << QStringList{"replaceForm=1"} << QStringList{"count"};
    QTest::newRow("remove last") << QStringList{"replaceForm=2"} << QStringList{"count"};
    QTest::newRow("remove between") << QStringList{"replaceForm=3"}
                                    << QStringList{"find", "endMarker", "ignoreCase"};
    QTest::newRow("number at the end") << QStringList{"new number"} << QStringList{};
    QTest::newRow("number at a position, fixed width")
        << QStringList{"new number", "place=3", "widthMode=1"} << QStringList{"position", "width"};
    QTest::newRow("insert at the start") << QStringList{"new insert", "place=0"} << QStringList{};
    QTest::newRow("insert at a position") << QStringList{"new insert", "place=3"} << QStringList{"position"};
}

void RuleEditorTest::formsDisableWhatTheyDoNotUse()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, enabled);

    RuleListEditor editor;
    editor.addActions.at(int(R::Kind::Replace))->trigger();
    for (const QString &step : std::as_const(steps)) {
        if (step == QLatin1String("new number"))
            editor.addActions.at(int(R::Kind::Number))->trigger();
        else if (step == QLatin1String("new insert"))
            editor.addActions.at(int(R::Kind::Insert))->trigger();
        else
            typeInto(fieldOf(editor, step.section(u'=', 0, 0)), step.section(u'=', 1));
    }
    const QStringList dependent{"find", "replacement", "endMarker", "literal", "ignoreCase",
                                "occurrence", "nth", "count", "position", "width"};
    for (const QString &name : dependent) {
        QWidget *field = fieldOf(editor, name);
        if (!field || !editor.pages->currentWidget()->isAncestorOf(field))
            continue;
        QVERIFY2(field->isEnabled() == enabled.contains(name), qPrintable(name));
    }
}

QTEST_MAIN(RuleEditorTest)
#include "tst_ruleeditor.moc"
