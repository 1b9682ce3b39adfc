#include "rename/ChangedSpan.h"

#include <QChar>

ChangedSpan FindChangedSpan(QStringView oldName, QStringView newName)
{
    const qsizetype shorter = qMin(oldName.size(), newName.size());
    qsizetype head = 0;
    while (head < shorter && oldName.at(head) == newName.at(head))
        ++head;
    // A pair that differs only in its low half is a different character.
    if (head > 0 && head < newName.size() && newName.at(head - 1).isHighSurrogate()
        && newName.at(head).isLowSurrogate())
        --head;
    // The ending may not reach into the beginning of either name: "aa" to
    // "aaa" changed one "a", not none.
    qsizetype tail = 0;
    while (tail < shorter - head && oldName.at(oldName.size() - 1 - tail) == newName.at(newName.size() - 1 - tail))
        ++tail;
    const qsizetype end = newName.size() - tail;
    if (tail > 0 && end > 0 && newName.at(end).isLowSurrogate() && newName.at(end - 1).isHighSurrogate())
        --tail;
    return {head, newName.size() - head - tail};
}
