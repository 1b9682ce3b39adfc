#include "cli/NameQuoting.h"

#include <QList>
#include <QStringView>

namespace {

// Characters a terminal would act on instead of showing: C0 and C1 controls,
// DEL, the Unicode line and paragraph separators, and unassigned code points
// (a terminal's tables may take them for anything).
bool mustEscape(char32_t c)
{
    if (c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029)
        return true;
    if (c >= 0xd800 && c < 0xe000)
        return true; // an unpaired surrogate
    return QChar::category(c) == QChar::Other_NotAssigned;
}

// Special to a shell anywhere in a word.
bool isShellSpecial(char32_t c)
{
    switch (c) {
    case ' ': case '!': case '"': case '$': case '&': case '\'': case '(': case ')': case '*': case ';':
    case '<': case '=': case '>': case '?': case '[': case '\\': case '^': case '`': case '|':
        return true;
    default:
        return false;
    }
}

// Special inside double quotes, so that a name holding one of them and a
// single quote cannot be given in double quotes.
bool isSpecialInDoubleQuotes(char32_t c)
{
    return c == '"' || c == '$' || c == '`' || c == '\\' || c == '!';
}

void appendEscaped(QByteArray &out, char32_t c)
{
    switch (c) {
    case '\a': out += "\\a"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    case '\v': out += "\\v"; return;
    default:
        break;
    }
    const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
    for (const char byte : bytes) {
        const unsigned value = static_cast<unsigned char>(byte);
        out += '\\';
        out += char('0' + ((value >> 6) & 7));
        out += char('0' + ((value >> 3) & 7));
        out += char('0' + (value & 7));
    }
}

} // namespace

QByteArray QuoteNameForTerminal(const QString &name)
{
    const QList<uint> codePoints = name.toUcs4();
    bool escapes = false;
    bool special = name.isEmpty() || name == QLatin1String("{") || name == QLatin1String("}");
    bool singleQuote = false;
    bool doubleQuoteSpecial = false;
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t c = codePoints.at(i);
        escapes = escapes || mustEscape(c);
        special = special || isShellSpecial(c) || (i == 0 && (c == '#' || c == '~'));
        singleQuote = singleQuote || c == '\'';
        doubleQuoteSpecial = doubleQuoteSpecial || isSpecialInDoubleQuotes(c);
    }
    if (!escapes && !special)
        return name.toUtf8();
    if (!escapes && singleQuote && !doubleQuoteSpecial)
        return '"' + name.toUtf8() + '"';

    QByteArray out;
    out.reserve(name.size() * 2 + 2);
    out += '\'';
    bool inQuotes = true;  // inside a plain '...' part
    bool inEscapes = false; // inside a $'...' part
    for (const uint codePoint : codePoints) {
        const char32_t c = codePoint;
        if (mustEscape(c)) {
            if (!inEscapes) {
                out += inQuotes ? "'$'" : "$'";
                inQuotes = false;
                inEscapes = true;
            }
            appendEscaped(out, c);
            continue;
        }
        if (inEscapes) {
            out += "''";
            inEscapes = false;
            inQuotes = true;
        }
        if (c == '\'')
            out += "'\\''";
        else
            out += QString::fromUcs4(&c, 1).toUtf8();
    }
    if (inQuotes || inEscapes)
        out += '\'';
    return out;
}

QByteArray EscapeControlsForTerminal(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const uint codePoint : text.toUcs4()) {
        const char32_t c = codePoint;
        if (mustEscape(c))
            appendEscaped(out, c);
        else
            out += QString::fromUcs4(&c, 1).toUtf8();
    }
    return out;
}
