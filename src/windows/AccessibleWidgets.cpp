#include "windows/AccessibleWidgets.h"

#include "skin/SkinAccessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

#include <algorithm>

namespace {

class NamedComboBox : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("activated(int)"));
    }

    QString text(QAccessible::Text t) const override
    {
        // Without a name of its own, the box is called by its text, as Qt does.
        if (t == QAccessible::Name)
            return box()->accessibleName().isEmpty() ? box()->currentText() : box()->accessibleName();
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    // As Qt's own: the drop-down list, then the text field of an editable box.
    int childCount() const override { return box()->isEditable() ? 2 : 1; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        if (box()->isEditable() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.editable = box()->isEditable();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != showMenuAction() && name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(object()); }
};

class PlainWindow : public QAccessibleWidget
{
public:
    explicit PlainWindow(QWidget *window)
        : QAccessibleWidget(window, window->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->windowTitle();
        return QAccessibleWidget::text(t);
    }
};

// The text of a read-only browser, read through its document.
class ReadableDocument : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ReadableDocument(QTextBrowser *browser)
        : QAccessibleWidget(browser, QAccessible::Document)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        return state;
    }

    QString text(int startOffset, int endOffset) const override
    {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(clamped(startOffset));
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        // Paragraph and line separators read as line ends.
        return cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    }

    int characterCount() const override { return browser()->document()->characterCount() - 1; }

    int cursorPosition() const override { return browser()->textCursor().position(); }

    void setCursorPosition(int position) override
    {
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(clamped(position));
        browser()->setTextCursor(cursor);
    }

    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = browser()->textCursor();
        if (selectionIndex == 0 && cursor.hasSelection()) {
            *startOffset = cursor.selectionStart();
            *endOffset = cursor.selectionEnd();
        }
    }

    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = browser()->textCursor();
        cursor.clearSelection();
        browser()->setTextCursor(cursor);
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(clamped(startOffset));
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        browser()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(clamped(offset));
        const QRect rect = browser()->cursorRect(cursor);
        return QRect(browser()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = browser()->viewport()->mapFromGlobal(point);
        if (!browser()->viewport()->rect().contains(local))
            return -1;
        return browser()->cursorForPosition(local).position();
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(clamped(endIndex));
        browser()->setTextCursor(cursor);
        browser()->ensureCursorVisible();
        cursor.setPosition(clamped(startIndex));
        browser()->setTextCursor(cursor);
        browser()->ensureCursorVisible();
    }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // No text attributes are reported; the whole text is one run.
        Q_UNUSED(offset)
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QTextBrowser *browser() const { return static_cast<QTextBrowser *>(object()); }
    int clamped(int offset) const { return qBound(0, offset, characterCount()); }
};

bool holdsHiddenChildren(const QWidget *widget)
{
    const QObjectList &children = widget->children();
    return std::any_of(children.begin(), children.end(), [](const QObject *child) { return IsKeptOutOfAccessibility(child); });
}

QAccessibleInterface *describe(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    // Every box: its description is made, and kept, as soon as the box first
    // changes, which may well be before it is given its name.
    if (auto *box = qobject_cast<QComboBox *>(widget))
        return new NamedComboBox(box);
    if (auto *browser = qobject_cast<QTextBrowser *>(widget); browser && browser->isReadOnly())
        return new ReadableDocument(browser);
    // Asked about the widget's own class first: a window class of the
    // program's, made from a plain widget.
    const bool plainWindow = widget->isWindow()
        && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog)
        && !qobject_cast<QMainWindow *>(widget) && !qobject_cast<QDialog *>(widget)
        // One whose children are partly kept out is described by the skin.
        && !holdsHiddenChildren(widget)
        && className == QLatin1String(widget->metaObject()->className());
    return plainWindow ? new PlainWindow(widget) : nullptr;
}

} // namespace

void DescribeWidgetsForAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    Q_UNUSED(installed)
}
