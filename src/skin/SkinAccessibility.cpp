#include "skin/SkinAccessibility.h"

#include "core/ControlKinds.h"
#include "skin/SkinLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QMenu>

namespace {

constexpr char kKeptOutProperty[] = "quillmereKeptOutOfAccessibility";

QList<QWidget *> visibleToAccessibility(const QWidget *container)
{
    QList<QWidget *> children;
    for (QObject *object : container->children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (widget && !widget->isWindow() && !qobject_cast<QMenu *>(widget) && !IsKeptOutOfAccessibility(widget))
            children.append(widget);
    }
    return children;
}

bool holdsTwins(const QWidget *widget)
{
    for (const QObject *child : widget->children()) {
        if (IsKeptOutOfAccessibility(child))
            return true;
    }
    return false;
}

QString withoutMnemonic(QString text)
{
    // "&&" is a literal ampersand; a single "&" marks the mnemonic.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&'))
            text.remove(i, 1);
    }
    return text;
}

// A container as screen readers see it, less the twins among its children.
class TwinHidingContainer : public QAccessibleWidget
{
public:
    explicit TwinHidingContainer(QWidget *widget)
        : QAccessibleWidget(widget, roleOf(widget))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto *frame = qobject_cast<const QGroupBox *>(widget()))
                return withoutMnemonic(frame->title());
            if (widget()->isWindow())
                return widget()->windowTitle();
        }
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return int(visibleToAccessibility(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = visibleToAccessibility(widget());
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(visibleToAccessibility(widget()).indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    static QAccessible::Role roleOf(const QWidget *widget)
    {
        if (qobject_cast<const QGroupBox *>(widget))
            return QAccessible::Grouping;
        return widget->isWindow() ? QAccessible::Window : QAccessible::Client;
    }
};

QAccessibleInterface *twinHidingFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !holdsTwins(widget))
        return nullptr;
    return new TwinHidingContainer(widget);
}

} // namespace

bool IsSkinTwin(const QObject *object)
{
    return qobject_cast<const SkinLabel *>(object) && object->property(ControlKinds::IndexProperty).isValid();
}

bool IsKeptOutOfAccessibility(const QObject *object)
{
    return IsSkinTwin(object) || (object && object->property(kKeptOutProperty).toBool());
}

void KeepOutOfAccessibility(QWidget *widget)
{
    widget->setProperty(kKeptOutProperty, true);
    KeepSkinTwinsOutOfAccessibility();
    if (QWidget *container = widget->parentWidget())
        ForgetAccessibleDescription(container);
}

void KeepSkinTwinsOutOfAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(twinHidingFactory);
        return true;
    }();
    Q_UNUSED(installed)
}

void ForgetAccessibleDescription(QWidget *container)
{
    // The description is made when first asked for and then kept; a
    // container asked about before it held twins would go on listing them.
    if (QAccessibleInterface *known = QAccessible::queryAccessibleInterface(container))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}
