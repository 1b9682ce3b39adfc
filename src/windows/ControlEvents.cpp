#include "windows/ControlEvents.h"

#include "core/CheckBoxValue.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace ControlEvents {

namespace {

// Lives as a child of one combo box and turns its signals into the change
// and click events.
class ComboAdapter : public QObject
{
public:
    explicit ComboAdapter(QComboBox *combo)
        : QObject(combo)
        , m_combo(combo)
        , m_lastIndex(combo->currentIndex())
    {
        setObjectName(QStringLiteral("ControlEvents.ComboAdapter"));
        if (combo->isEditable()) {
            // Inline completion would turn "j" into "jpg", and Enter would add
            // items; typed text stays exactly what was typed.
            combo->setCompleter(nullptr);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // Leaving the box with text equal to an item would otherwise pick
            // that item, which is not what typing does here.
            if (QLineEdit *edit = combo->lineEdit())
                QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
        }
        connect(combo, &QComboBox::editTextChanged, this, &ComboAdapter::textChanged);
        connect(combo, &QComboBox::currentIndexChanged, this, &ComboAdapter::indexChanged);
    }

    static ComboAdapter *of(QComboBox *combo)
    {
        if (auto *adapter = combo->findChild<ComboAdapter *>(QStringLiteral("ControlEvents.ComboAdapter"),
                                                             Qt::FindDirectChildrenOnly))
            return adapter;
        return new ComboAdapter(combo);
    }

    std::vector<Handler> changeHandlers;
    std::vector<Handler> clickHandlers;

private:
    void textChanged(const QString &text)
    {
        if (m_resetting)
            return;
        // During a selection the box already reports the new index while it
        // updates the text; that text change belongs to the click.
        if (m_combo->currentIndex() != m_lastIndex)
            return;
        if (m_combo->currentIndex() >= 0 && text != m_combo->itemText(m_combo->currentIndex()))
            clearSelectionKeepingText(text);
        for (const Handler &handler : changeHandlers)
            handler();
    }

    void indexChanged(int index)
    {
        m_lastIndex = index;
        if (m_resetting || index < 0)
            return;
        for (const Handler &handler : clickHandlers)
            handler();
    }

    void clearSelectionKeepingText(const QString &text)
    {
        QLineEdit *edit = m_combo->lineEdit();
        m_resetting = true;
        const int cursor = edit ? edit->cursorPosition() : 0;
        m_combo->setCurrentIndex(-1);
        if (edit) {
            edit->setText(text);
            edit->setCursorPosition(cursor);
        }
        m_resetting = false;
        m_lastIndex = m_combo->currentIndex();
    }

    QComboBox *m_combo;
    int m_lastIndex;
    bool m_resetting = false;
};

class KeyUpFilter : public QObject
{
public:
    KeyUpFilter(QWidget *widget, KeyHandler handler)
        : QObject(widget)
        , m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyRelease) {
            auto *keyEvent = static_cast<QKeyEvent *>(event);
            if (!keyEvent->isAutoRepeat())
                m_handler(keyEvent->key(), keyEvent->modifiers());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    KeyHandler m_handler;
};

} // namespace

void onClick(QCheckBox *box, Handler handler)
{
    QObject::connect(box, &QCheckBox::stateChanged, box, [handler = std::move(handler)](int) { handler(); });
}

void onPress(QAbstractButton *button, Handler handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [handler = std::move(handler)] { handler(); });
}

void onTrigger(QAction *action, Handler handler)
{
    QObject::connect(action, &QAction::triggered, action, [handler = std::move(handler)] { handler(); });
}

void onChange(QLineEdit *edit, Handler handler)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [handler = std::move(handler)] { handler(); });
}

void onChange(QComboBox *combo, Handler handler)
{
    ComboAdapter::of(combo)->changeHandlers.push_back(std::move(handler));
}

void onItemClick(QComboBox *combo, Handler handler)
{
    ComboAdapter::of(combo)->clickHandlers.push_back(std::move(handler));
}

void onKeyUp(QWidget *widget, KeyHandler handler)
{
    widget->installEventFilter(new KeyUpFilter(widget, std::move(handler)));
}

void makeClassicCombo(QComboBox *combo)
{
    ComboAdapter::of(combo);
}

int checkValue(const QCheckBox *box)
{
    return CheckValue(box->checkState());
}

bool setCheckValue(QCheckBox *box, int value)
{
    const std::optional<Qt::CheckState> state = CheckStateFromValue(value);
    if (!state)
        return false;
    box->setCheckState(*state);
    if (*state == Qt::PartiallyChecked) {
        // Greyed is a value only code sets: a click on a greyed box ticks it,
        // and from then on the user only ticks or clears.
        QObject::connect(
            box, &QCheckBox::stateChanged, box,
            [box](int changed) {
                if (changed != Qt::PartiallyChecked)
                    box->setTristate(false);
            },
            Qt::SingleShotConnection);
    }
    return true;
}

} // namespace ControlEvents
