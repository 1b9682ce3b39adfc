#include "skin/SkinLabelArray.h"

#include "core/ControlKinds.h"
#include "skin/SkinAccessibility.h"
#include "skin/SkinLabel.h"

#include <QWidget>

namespace {

void tagElement(SkinLabel *label, const QString &name, qint16 index)
{
    label->setObjectName(name);
    label->setProperty(ControlKinds::IndexProperty, int(index));
}

} // namespace

SkinLabelArray::SkinLabelArray(const QString &name, QWidget *container, QObject *owner)
    : QObject(owner)
{
    setObjectName(name);
    KeepSkinTwinsOutOfAccessibility();
    auto *templateLabel = new SkinLabel(QString::fromLatin1(TemplateCaption), container);
    tagElement(templateLabel, name, 0);
    templateLabel->setGeometry(0, 0, 1, 1);
    templateLabel->hide();
    m_elements.insert(0, templateLabel);
    if (container)
        ForgetAccessibleDescription(container);
}

SkinLabel *SkinLabelArray::element(qint16 index) const
{
    return m_elements.value(index).data();
}

QWidget *SkinLabelArray::container() const
{
    const SkinLabel *templateLabel = element(0);
    return templateLabel ? templateLabel->parentWidget() : nullptr;
}

qint16 SkinLabelArray::lowerBound() const
{
    const QList<qint16> live = indexes();
    return live.isEmpty() ? 0 : live.first();
}

qint16 SkinLabelArray::upperBound() const
{
    const QList<qint16> live = indexes();
    return live.isEmpty() ? -1 : live.last();
}

int SkinLabelArray::count() const
{
    return int(indexes().size());
}

QList<qint16> SkinLabelArray::indexes() const
{
    QList<qint16> result;
    for (auto it = m_elements.cbegin(); it != m_elements.cend(); ++it) {
        if (it.value())
            result.append(it.key());
    }
    return result;
}

SkinLabel *SkinLabelArray::load(qint16 index)
{
    if (index < 0 || element(index))
        return nullptr;
    const SkinLabel *templateLabel = element(0);
    QWidget *where = container();
    if (!templateLabel || !where)
        return nullptr;

    auto *label = new SkinLabel(templateLabel->text(), where);
    tagElement(label, objectName(), index);
    label->setGeometry(templateLabel->geometry());
    label->setFont(templateLabel->font());
    label->setAlignment(templateLabel->alignment());
    label->setWordWrap(templateLabel->wordWrap());
    label->setEnabled(templateLabel->isEnabled());
    label->hide();
    m_elements.insert(index, label);
    return label;
}
