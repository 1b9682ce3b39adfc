#include "rename/rules/CaseRule.h"

namespace {

// A word starts after these; not after an apostrophe, so "don't" stays one
// word.
bool startsWordAfter(char32_t c)
{
    return QChar::isSpace(c) || c == u'_' || c == u'-' || c == u'.' || c == u'(' || c == u'[';
}

void appendPoint(QString &out, char32_t point)
{
    if (QChar::requiresSurrogates(point)) {
        out += QChar(QChar::highSurrogate(point));
        out += QChar(QChar::lowSurrogate(point));
    } else {
        out += QChar(char16_t(point));
    }
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
    QString out;
    out.reserve(text.size());
    const bool title = form == RenameRule::CaseForm::Title;
    bool capitalNext = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t point = text.at(i).unicode();
        if (QChar::isHighSurrogate(point) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            point = QChar::surrogateToUcs4(char16_t(point), text.at(++i).unicode());
        const bool letter = QChar::isLetter(point);
        appendPoint(out, letter && capitalNext ? QChar::toTitleCase(point) : QChar::toLower(point));
        if (title)
            capitalNext = startsWordAfter(point);
        else if (letter)
            capitalNext = false;
    }
    return out;
}
