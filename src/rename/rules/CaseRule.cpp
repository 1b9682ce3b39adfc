#include "rename/rules/CaseRule.h"

namespace {

// A word starts after these; not after an apostrophe, so "don't" stays one
// word.
bool startsWordAfter(char32_t c)
{
    return QChar::isSpace(c) || c == u'_' || c == u'-' || c == u'.' || c == u'(' || c == u'[';
}

// Writes point at out, which has room for two units; returns the end.
char16_t *putPoint(char16_t *out, char32_t point)
{
    if (QChar::requiresSurrogates(point)) {
        *out++ = QChar::highSurrogate(point);
        *out++ = QChar::lowSurrogate(point);
    } else {
        *out++ = char16_t(point);
    }
    return out;
}

} // namespace

QString CaseRule::changed(const QString &text, RenameRule::CaseForm form)
{
    switch (form) {
    case RenameRule::CaseForm::Lower:
        return text.toLower();
    case RenameRule::CaseForm::Upper:
        return text.toUpper();
    case RenameRule::CaseForm::Title:
    case RenameRule::CaseForm::Sentence:
        break;
    }
    // Code point by code point, so that a letter outside the basic plane
    // changes as one; a capital takes the title-case form ("ǅ", not "Ǆ").
    // A changed code point keeps its number of units in UTF-16 but for a
    // few, so the text is written into room for two units each and cut to
    // what was written.
    QString out(text.size() * 2, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *end = begin;
    const bool title = form == RenameRule::CaseForm::Title;
    bool capitalNext = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t point = text.at(i).unicode();
        if (point < 0x80) {
            // ASCII, the usual case, without the Unicode tables.
            const bool letter = (point | 0x20) >= u'a' && (point | 0x20) <= u'z';
            *end++ = char16_t(letter ? (capitalNext ? point & ~0x20u : point | 0x20u) : point);
            if (title)
                capitalNext = startsWordAfter(point);
            else if (letter)
                capitalNext = false;
            continue;
        }
        if (QChar::isHighSurrogate(point) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            point = QChar::surrogateToUcs4(char16_t(point), text.at(++i).unicode());
        const bool letter = QChar::isLetter(point);
        end = putPoint(end, letter && capitalNext ? QChar::toTitleCase(point) : QChar::toLower(point));
        if (title)
            capitalNext = startsWordAfter(point);
        else if (letter)
            capitalNext = false;
    }
    out.truncate(end - begin);
    return out;
}
