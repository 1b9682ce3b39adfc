// The editor of the selected rule as a user meets it: each kind and form
// set up by typing, every keystroke reported, what a form does not use
// switched off, and expressions that do not compile marked where they are
// typed.

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

class RuleEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void addAndType_data();
    void addAndType();
    void badRuleIsMarked_data();
    void badRuleIsMarked();
    void everyKeystrokeIsReported();
    void formsDisableWhatTheyDoNotUse_data();
    void formsDisableWhatTheyDoNotUse();
};

void RuleEditorTest::addAndType_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("steps"); // "field=value", in order
    QTest::addColumn<RenameRule>("expected");

    // The rule expected, in the words of a preset.
    const auto row = [](const char *name, R::Kind kind, const QStringList &steps, const char *settings) {
        QTest::newRow(name) << int(kind) << steps
                            << presetRule(RuleWords::word(kind), QString::fromUtf8(settings));
    };
    row("replace", R::Kind::Replace, {"find=IMG_(\\d+)", "replacement=Trip_$1"},
        "find = IMG_(\\d+)\nreplace = Trip_$1");
    row("replace literal, 2nd match", R::Kind::Replace,
        {"scope=1", "find=a.b", "literal=on", "ignoreCase=on", "occurrence=3", "nth=2", "replacement=x"},
        "scope = ext\nfind = a.b\nliteral = yes\nignore-case = yes\noccurrence = nth\nnth = 2\nreplace = x");
    row("replace last match", R::Kind::Replace, {"find=\\d", "occurrence=2"}, "find = \\d\noccurrence = last");
    row("remove first", R::Kind::Replace, {"replaceForm=1", "count=3"}, "form = remove-first\ncount = 3");
    row("remove last, whole name", R::Kind::Replace, {"scope=2", "replaceForm=2", "count=12"},
        "scope = name\nform = remove-last\ncount = 12");
    row("remove between", R::Kind::Replace, {"replaceForm=3", "find=[", "endMarker=]", "ignoreCase=on"},
        "form = remove-between\nfind = [\nend-marker = ]\nignore-case = yes");
    row("case title", R::Kind::Case, {"caseForm=2"}, "case = title");
    row("case sentence, extension", R::Kind::Case, {"scope=1", "caseForm=3"}, "scope = ext\ncase = sentence");
    row("number counting down", R::Kind::Number,
        {"start=10", "step=-2", "widthMode=1", "width=4", "order=3", "reverse=on"},
        "start = 10\nstep = -2\nwidth-mode = fixed\nwidth = 4\norder = mtime\nreverse = yes");
    row("number from a date", R::Kind::Number, {"start=20240101001", "step=1000"},
        "start = 20240101001\nstep = 1000");
    row("number at a position", R::Kind::Number, {"place=3", "position=3", "order=1"},
        "place = position\nposition = 3\norder = natural");
    row("number at the token", R::Kind::Number, {"place=4", "widthMode=2", "order=5", "start=0"},
        "place = token\nwidth-mode = none\norder = taken\nstart = 0");
    row("number at the start by name", R::Kind::Number, {"place=0", "order=4", "order=2"},
        "place = start\norder = name");
    row("template", R::Kind::Insert, {"text={parent}_{n}_{mtime:yyyyMMdd}", "place=5"},
        "text = {parent}_{n}_{mtime:yyyyMMdd}\nplace = whole");
    row("insert before the extension", R::Kind::Insert, {"scope=2", "text= (copy)", "place=2"},
        "scope = name\ntext =  (copy)\nplace = before-ext");
    row("insert at a position", R::Kind::Insert, {"text=-", "place=3", "position=4"},
        "text = -\nplace = position\nposition = 4");
    row("clean ascii", R::Kind::CleanUp, {"cleanUpForm=0"}, "clean = ascii");
    row("clean spaces", R::Kind::CleanUp, {"cleanUpForm=2"}, "clean = spaces");
    row("clean underscores", R::Kind::CleanUp, {"cleanUpForm=3"}, "clean = underscores");
    row("clean no underscores", R::Kind::CleanUp, {"cleanUpForm=4"}, "clean = no-underscores");
    row("clean nfc", R::Kind::CleanUp, {"cleanUpForm=5"}, "clean = nfc");
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
    // The list's check and the row's are the same.
    QCOMPARE(editor.problem(), editor.rules().describe(1) + QStringLiteral(": ") + editor.model->problemAt(1));
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
