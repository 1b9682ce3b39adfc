#include "cli/NameQuoting.h"

#include "core/FolderHandle.h"

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

// The code points of text, an unpaired surrogate kept as it is (it stands
// for a byte of a name that is not text), where QString::toUcs4() would put
// U+FFFD.
QList<char32_t> codePointsOf(QStringView text)
{
    QList<char32_t> points;
    points.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            points.append(QChar::surrogateToUcs4(unit, text.at(++i).unicode()));
        else
            points.append(unit);
    }
    return points;
}

QByteArray utf8Of(char32_t c)
{
    if (c >= 0x10000)
        return QString::fromUcs4(&c, 1).toUtf8();
    const char16_t unit = char16_t(c);
    return FolderHandle::encodeName(QStringView(&unit, 1));
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
    // A lone surrogate in a name is one of its bytes that is not text: that
    // byte is what is escaped, as `ls` shows it.
    const QByteArray bytes = utf8Of(c);
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
    const QList<char32_t> codePoints = codePointsOf(name);
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
        return FolderHandle::encodeName(name);
    if (!escapes && singleQuote && !doubleQuoteSpecial)
        return '"' + FolderHandle::encodeName(name) + '"';

    QByteArray out;
    out.reserve(name.size() * 2 + 2);
    out += '\'';
    bool inQuotes = true;  // inside a plain '...' part
    bool inEscapes = false; // inside a $'...' part
    for (const char32_t c : codePoints) {
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
            out += utf8Of(c);
    }
    if (inQuotes || inEscapes)
        out += '\'';
    return out;
}

QByteArray EscapeControlsForTerminal(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : codePointsOf(text)) {
        if (mustEscape(c))
            appendEscaped(out, c);
        else
            out += utf8Of(c);
    }
    return out;
}
