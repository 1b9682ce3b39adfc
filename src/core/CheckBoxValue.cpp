#include "core/CheckBoxValue.h"

#include "core/NumberText.h"

std::optional<Qt::CheckState> CheckStateFromText(const QString &text)
{
    const std::optional<qint32> value = ParseWholeNumber(text);
    if (!value)
        return std::nullopt;
    switch (*value) {
    case 0: return Qt::Unchecked;
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return std::nullopt;
    }
}

QString CheckStateText(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked: return QStringLiteral("0");
    case Qt::PartiallyChecked: return QStringLiteral("2");
    case Qt::Checked: break;
    }
    return QStringLiteral("1");
}
