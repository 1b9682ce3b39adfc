// The rule editor's texts in English and in German: each page's keyboard
// letters are its own and none is one the Rules window gives its own
// controls; every control can be reached by Tab and is named for screen
// readers; no caption is cut off.

#include "core/Translations.h"
#include "windows/AccessibleWidgets.h"
#include "rename/rules/RuleSummary.h"
#include "windows/RuleListEditor.h"
#include "windows/rules/InsertPage.h"
#include "windows/rules/ReplacePage.h"
#include "windows/rules/RuleListModel.h"
#include "windows/rules/RulePage.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <memory>

namespace {

using R = RenameRule;

// The letters the Rules window's own controls take, by language.
const QHash<QString, QString> kWindowLetters{{QStringLiteral("en"), QStringLiteral("psadixvbrc")},
                                             {QStringLiteral("de"), QStringLiteral("vsulixhpnc")}};

// The letter Alt reaches a caption by, lower-cased; null when it has none.
QChar keyboardLetter(const QString &caption)
{
    const QKeySequence sequence = QKeySequence::mnemonic(caption);
    return sequence.isEmpty() ? QChar() : QChar(sequence[0].key()).toLower();
}

// Whether widget is part of what the editor shows with its page: the list's
// side, the scope, and the page in front, not the pages behind it.
bool onShownPage(const RuleListEditor &editor, const QWidget *widget)
{
    for (int i = 0; i < editor.pages->count(); ++i) {
        QWidget *page = editor.pages->widget(i);
        if (page != editor.pages->currentWidget() && (page == widget || page->isAncestorOf(widget)))
            return false;
    }
    return true;
}

// The controls a user works with, on the shown page and beside it.
QList<QWidget *> controlsOf(const RuleListEditor &editor)
{
    QList<QWidget *> controls;
    for (QWidget *widget : editor.findChildren<QWidget *>()) {
        if (!onShownPage(editor, widget) || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        // The text field inside a spin box or a combo box is theirs.
        if (qobject_cast<QAbstractSpinBox *>(widget->parentWidget())
            || qobject_cast<QComboBox *>(widget->parentWidget()))
            continue;
        controls.append(widget);
    }
    return controls;
}

// Each caption with a keyboard letter on the page, by the control it leads to.
QHash<QWidget *, QString> captionsOf(const RuleListEditor &editor)
{
    QHash<QWidget *, QString> captions;
    for (QLabel *label : editor.findChildren<QLabel *>())
        if (label->buddy() && onShownPage(editor, label))
            captions.insert(label->buddy(), label->text());
    for (QAbstractButton *button : editor.findChildren<QAbstractButton *>())
        if (onShownPage(editor, button) && !button->text().isEmpty())
            captions.insert(button, button->text());
    return captions;
}

// The editor showing one rule of kind, its form picked.
std::unique_ptr<RuleListEditor> editorShowing(int kind, int form)
{
    auto editor = std::make_unique<RuleListEditor>();
    if (kind < 0)
        return editor;
    editor->addActions.at(kind)->trigger();
    if (kind == int(R::Kind::Replace)) {
        editor->replacePage->form->setCurrentIndex(editor->replacePage->form->findData(form));
        // Every field that depends on the form is on: a letter counts all the same.
        editor->replacePage->occurrence->setCurrentIndex(3);
    }
    return editor;
}

} // namespace

class RuleEditorTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pages_data();
    void keyboardLetters_data() { pages_data(); }
    void keyboardLetters();
    void everyControlIsNamed_data() { pages_data(); }
    void everyControlIsNamed();
    void nothingIsClipped_data() { pages_data(); }
    void nothingIsClipped();
    void listIsReadAsRules_data();
    void listIsReadAsRules();
    void tabOrder();

private:
    // Puts the language of the row in place; false when it cannot.
    bool useLanguage(const QString &language);

    std::unique_ptr<QTranslator> m_translator;
};

void RuleEditorTextsTest::initTestCase()
{
    // As the program runs: its own descriptions in place, and a reader
    // listening, so that each widget is described as it is made.
    DescribeWidgetsForAccessibility();
    QWidget probe;
    QVERIFY(QAccessible::queryAccessibleInterface(&probe));
}

void RuleEditorTextsTest::cleanup()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
}

bool RuleEditorTextsTest::useLanguage(const QString &language)
{
    if (language == QLatin1String("en"))
        return true;
    m_translator = LoadTranslation(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("quillmere"),
                                   ProgramTranslationFolders(QCoreApplication::applicationDirPath()));
    return m_translator && QCoreApplication::installTranslator(m_translator.get());
}

void RuleEditorTextsTest::pages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("kind"); // -1: no rule
    QTest::addColumn<int>("form"); // of a replace rule

    for (const char *language : {"en", "de"}) {
        const auto row = [language](const char *page, int kind, int form = 0) {
            QTest::addRow("%s %s", language, page) << QString::fromLatin1(language) << kind << form;
        };
        row("no rule", -1);
        row("replace", int(R::Kind::Replace), int(R::ReplaceForm::Pattern));
        row("remove first", int(R::Kind::Replace), int(R::ReplaceForm::RemoveFirst));
        row("remove last", int(R::Kind::Replace), int(R::ReplaceForm::RemoveLast));
        row("remove between", int(R::Kind::Replace), int(R::ReplaceForm::RemoveBetween));
        row("case", int(R::Kind::Case));
        row("number", int(R::Kind::Number));
        row("insert", int(R::Kind::Insert));
        row("clean up", int(R::Kind::CleanUp));
    }
}

void RuleEditorTextsTest::keyboardLetters()
{
    QFETCH(QString, language);
    QFETCH(int, kind);
    QFETCH(int, form);

    QVERIFY(useLanguage(language));
    const auto editor = editorShowing(kind, form);
    // The language asked for is the one shown.
    QCOMPARE(editor->removeButton->text() == QLatin1String("Re&move"), language == QLatin1String("en"));

    const QString windowLetters = kWindowLetters.value(language);
    QHash<QChar, QString> taken;
    const QHash<QWidget *, QString> captions = captionsOf(*editor);
    for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
        const QChar letter = keyboardLetter(it.value());
        if (letter.isNull())
            continue;
        QVERIFY2(!windowLetters.contains(letter), qPrintable(it.value() + QStringLiteral(": the window's letter")));
        QVERIFY2(!taken.contains(letter), qPrintable(taken.value(letter) + QStringLiteral(" and ") + it.value()));
        taken.insert(letter, it.value());
    }
    // Every control but the arrows, which Ctrl+Up and Ctrl+Down stand for,
    // has a letter.
    for (QWidget *control : controlsOf(*editor)) {
        if (qobject_cast<QToolButton *>(control))
            continue;
        QVERIFY2(!keyboardLetter(captions.value(control)).isNull(), qPrintable(control->objectName()));
    }
    // The kinds' menu is a space of its own.
    QSet<QChar> menuLetters;
    for (QAction *action : std::as_const(editor->addActions)) {
        const QChar letter = keyboardLetter(action->text());
        QVERIFY2(!letter.isNull() && !menuLetters.contains(letter), qPrintable(action->text()));
        menuLetters.insert(letter);
    }
}

void RuleEditorTextsTest::everyControlIsNamed()
{
    QFETCH(QString, language);
    QFETCH(int, kind);
    QFETCH(int, form);

    QVERIFY(useLanguage(language));
    const auto editor = editorShowing(kind, form);
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    // Nothing inside is described as a window, labels included.
    for (QWidget *widget : editor->findChildren<QWidget *>()) {
        if (widget->isWindow())
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(!iface || iface->role() != QAccessible::Window, widget->metaObject()->className());
    }
    const QList<QWidget *> controls = controlsOf(*editor);
    QVERIFY(controls.size() >= 5);
    for (QWidget *control : controls) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QVERIFY(iface);
        // Described as what it is, not as the window it was before it was
        // placed.
        QVERIFY2(iface->role() != QAccessible::Window, qPrintable(control->objectName()));
        const QString name = iface->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && !name.contains(u'&'), qPrintable(control->objectName() + u' ' + name));
        if (auto *tool = qobject_cast<QToolButton *>(control)) {
            QVERIFY(tool->text().isEmpty());
            QVERIFY(!tool->toolTip().isEmpty());
        }
    }
}

void RuleEditorTextsTest::nothingIsClipped()
{
    QFETCH(QString, language);
    QFETCH(int, kind);
    QFETCH(int, form);

    QVERIFY(useLanguage(language));
    const auto editor = editorShowing(kind, form);
    // The longest reasons a field is marked with.
    if (kind == int(R::Kind::Replace) && form == int(R::ReplaceForm::Pattern))
        editor->replacePage->find->setText(QStringLiteral("(?<name>IMG_[[:alpha:]]+_(\\d{1,4}))+)"));
    if (kind == int(R::Kind::Insert))
        editor->insertPage->text->setText(QStringLiteral("{date}"));
    editor->resize(editor->minimumSizeHint());
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    if (kind == int(R::Kind::Replace) && form == int(R::ReplaceForm::Pattern))
        QVERIFY(editor->replacePage->findProblem->isVisibleTo(editor.get()));
    QStringList clipped;
    for (QWidget *widget : editor->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(editor.get()))
            continue;
        QString text;
        QSize needed = widget->sizeHint();
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            text = label->text();
            if (label->wordWrap())
                needed = {qMin(needed.width(), label->width()), label->heightForWidth(label->width())};
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            text = button->text();
            if (qobject_cast<QPushButton *>(button))
                needed.setHeight(qMin(needed.height(), button->height()));
        } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
            text = box->currentText();
            needed.setHeight(qMin(needed.height(), box->height()));
        } else {
            continue;
        }
        if (!text.isEmpty() && (needed.width() > widget->width() || needed.height() > widget->height()))
            clipped << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                           .arg(widget->objectName(), text)
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(widget->width())
                           .arg(widget->height());
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
}

void RuleEditorTextsTest::listIsReadAsRules_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("row");

    QTest::newRow("en") << "en" << "Rules" << "Title case, name without extension";
    QTest::newRow("de") << "de" << "Regeln" << "Wortanfänge groß, Name ohne Erweiterung";
}

void RuleEditorTextsTest::listIsReadAsRules()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(QString, row);

    QVERIFY(useLanguage(language));
    RuleListEditor editor;
    RenameRule rule;
    rule.kind = R::Kind::Case;
    rule.caseForm = R::CaseForm::Title;
    RuleList rules;
    rules.append(rule);
    editor.setRules(rules);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(editor.list);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), name);
    QCOMPARE(editor.model->index(0).data().toString(), row);
    QCOMPARE(RuleSummary::of(rule), row);
}

void RuleEditorTextsTest::tabOrder()
{
    RuleListEditor editor;
    RuleList rules;
    rules.append(RenameRule());
    rules.append(RenameRule());
    editor.setRules(rules);
    editor.selectRule(1);
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.list->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor.list);
    QStringList reached;
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        if (focus == editor.list)
            break;
        reached << (focus->objectName().isEmpty() ? QString::fromLatin1(focus->metaObject()->className())
                                                  : focus->objectName());
    }
    // The second of two rules: it can go up, not down; the fields its form
    // does not use are left out.
    QCOMPARE(reached, (QStringList{"addRule", "removeRule", "moveUp", "scope", "replaceForm", "find", "replacement",
                                   "literal", "ignoreCase", "occurrence"}));
}

QTEST_MAIN(RuleEditorTextsTest)
#include "tst_ruleeditortexts.moc"
