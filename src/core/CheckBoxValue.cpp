#include "core/CheckBoxValue.h"

#include "core/NumberText.h"

int CheckValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked: return 0;
    case Qt::PartiallyChecked: return 2;
    case Qt::Checked: break;
    }
    return 1;
}

std::optional<Qt::CheckState> CheckStateFromValue(qint64 value)
{
    switch (value) {
    case 0: return Qt::Unchecked;
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return std::nullopt;
    }
}

std::optional<Qt::CheckState> CheckStateFromText(const QString &text)
{
    const std::optional<qint32> value = ParseWholeNumber(text);
    return value ? CheckStateFromValue(*value) : std::nullopt;
}

QString CheckStateText(Qt::CheckState state)
{
    return QString::number(CheckValue(state));
}
