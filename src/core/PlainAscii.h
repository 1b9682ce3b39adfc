#pragma once

#include <QStringView>

// Copies text into out, one byte a unit, while every unit is plain ASCII
// that keep() accepts; answers whether all of it was. out has room for
// text.size() bytes and holds nothing useful when the answer is false.
// The fast path of every place that turns the names of a large run into
// bytes: most names are plain ASCII, which is its own UTF-8.
template <typename Keep>
inline bool CopyPlainAscii(QStringView text, char *out, Keep keep)
{
    const char16_t *units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = units[i];
        if (c >= 0x80 || !keep(c))
            return false;
        out[i] = char(c);
    }
    return true;
}

inline bool CopyPlainAscii(QStringView text, char *out)
{
    return CopyPlainAscii(text, out, [](char16_t) { return true; });
}
