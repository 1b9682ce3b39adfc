#pragma once

// How the rule editor's tests type into it, and the rules they start from.
// Only for tests that link the widgets.

#include "rename/rules/PresetFile.h"
#include "windows/RuleListEditor.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>

Q_DECLARE_METATYPE(RenameRule)

namespace RuleEditorInput {

using R = RenameRule;

// A field of the page shown, or of the editor around it, by its name.
inline QWidget *fieldOf(RuleListEditor &editor, const QString &name)
{
    if (auto *field = editor.pages->currentWidget()->findChild<QWidget *>(name))
        return field;
    return editor.findChild<QWidget *>(name);
}

// Types value into field as a user does: a text or a number replaces what
// the field holds, a choice is made with the arrow keys, a box is ticked
// with the space bar.
inline void typeInto(QWidget *field, const QString &value)
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

// One rule read from a preset: its kind and "key = value" lines.
inline RenameRule presetRule(const QString &kind, const QString &settings)
{
    RuleList read;
    QString error;
    if (!PresetFile::parse(QStringLiteral("quillmere-rules 1\n[rule]\nkind = ") + kind + u'\n' + settings,
                           QStringLiteral("row"), &read, &error)
        || read.size() != 1)
        qFatal("%s", qPrintable(error));
    return read.rules().first();
}

inline RenameRule ruleOf(R::Kind kind)
{
    RenameRule rule;
    rule.kind = kind;
    return rule;
}

inline RuleList listOf(std::initializer_list<RenameRule> rules)
{
    RuleList list;
    for (const RenameRule &rule : rules)
        list.append(rule);
    return list;
}

// Three rules told apart by their text.
inline RuleList threeRules()
{
    RenameRule a = ruleOf(R::Kind::Insert);
    a.text = QStringLiteral("a");
    RenameRule b = a;
    b.text = QStringLiteral("b");
    RenameRule c = a;
    c.text = QStringLiteral("c");
    return listOf({a, b, c});
}

inline QString textsOf(const RuleList &rules)
{
    QString texts;
    for (const RenameRule &rule : rules.rules())
        texts += rule.text;
    return texts;
}

} // namespace RuleEditorInput
