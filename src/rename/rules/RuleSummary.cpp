#include "rename/rules/RuleSummary.h"

#include <QStringList>

namespace {

// Counts are worded here, not through a plural translation: the texts as
// written are the English ones, and no English translation is loaded.

// A text the user typed, set off from the words around it.
QString quoted(const QString &text)
{
    //: Quotation marks around a text the user typed.
    return RuleSummary::tr("\"%1\"").arg(text);
}

} // namespace

QString RuleSummary::scopeText(RenameRule::Scope scope)
{
    switch (scope) {
    case RenameRule::Scope::Stem:
        return tr("name without extension");
    case RenameRule::Scope::Extension:
        return tr("extension");
    case RenameRule::Scope::Name:
        return tr("whole name");
    }
    return {};
}

QString RuleSummary::placeText(RenameRule::Place place, int position)
{
    switch (place) {
    case RenameRule::Place::Start:
        return tr("at the start");
    case RenameRule::Place::End:
        return tr("at the end");
    case RenameRule::Place::BeforeExtension:
        return tr("before the extension");
    case RenameRule::Place::Position:
        return position == 1 ? tr("after 1 character") : tr("after %1 characters").arg(position);
    case RenameRule::Place::Token:
        return tr("in place of {n}");
    case RenameRule::Place::Whole:
        return tr("in place of the whole part");
    }
    return {};
}

QString RuleSummary::orderText(RenameRule::Order order)
{
    switch (order) {
    case RenameRule::Order::List:
        return tr("in list order");
    case RenameRule::Order::Natural:
        return tr("in natural order");
    case RenameRule::Order::Name:
        return tr("by name");
    case RenameRule::Order::Modified:
        return tr("by modified time");
    case RenameRule::Order::Size:
        return tr("by size");
    case RenameRule::Order::Taken:
        return tr("by date taken");
    }
    return {};
}

QString RuleSummary::caseText(RenameRule::CaseForm form)
{
    switch (form) {
    case RenameRule::CaseForm::Lower:
        return tr("Lower case");
    case RenameRule::CaseForm::Upper:
        return tr("Upper case");
    case RenameRule::CaseForm::Title:
        return tr("Title case");
    case RenameRule::CaseForm::Sentence:
        return tr("Sentence case");
    }
    return {};
}

QString RuleSummary::cleanUpText(RenameRule::CleanUp form)
{
    switch (form) {
    case RenameRule::CleanUp::Ascii:
        return tr("Spell letters in ASCII");
    case RenameRule::CleanUp::Windows:
        return tr("Make names Windows can hold");
    case RenameRule::CleanUp::CollapseSpaces:
        return tr("Tidy up spaces");
    case RenameRule::CleanUp::SpacesToUnderscores:
        return tr("Spaces to underscores");
    case RenameRule::CleanUp::UnderscoresToSpaces:
        return tr("Underscores to spaces");
    case RenameRule::CleanUp::Nfc:
        return tr("Compose Unicode characters (NFC)");
    }
    return {};
}

QString RuleSummary::replaceText(const RenameRule &rule)
{
    switch (rule.replaceForm) {
    case RenameRule::ReplaceForm::RemoveFirst:
        return rule.count == 1 ? tr("Remove the first character")
                               : tr("Remove the first %1 characters").arg(rule.count);
    case RenameRule::ReplaceForm::RemoveLast:
        return rule.count == 1 ? tr("Remove the last character")
                               : tr("Remove the last %1 characters").arg(rule.count);
    case RenameRule::ReplaceForm::RemoveBetween: {
        QString text = tr("Remove from %1 to %2").arg(quoted(rule.find), quoted(rule.endMarker));
        if (rule.ignoreCase)
            text += QStringLiteral(", ") + tr("ignoring case");
        return text;
    }
    case RenameRule::ReplaceForm::Pattern:
        break;
    }
    QStringList parts;
    parts << (rule.replacement.isEmpty() ? tr("Remove %1").arg(quoted(rule.find))
                                         : tr("Replace %1 with %2").arg(quoted(rule.find), quoted(rule.replacement)));
    switch (rule.occurrence) {
    case RenameRule::Occurrence::All:
        break;
    case RenameRule::Occurrence::First:
        parts << tr("first match only");
        break;
    case RenameRule::Occurrence::Last:
        parts << tr("last match only");
        break;
    case RenameRule::Occurrence::Nth:
        parts << tr("match %1 only").arg(rule.nth);
        break;
    }
    if (rule.literal)
        parts << tr("as plain text");
    if (rule.ignoreCase)
        parts << tr("ignoring case");
    return parts.join(QStringLiteral(", "));
}

QString RuleSummary::numberText(const RenameRule &rule)
{
    QStringList parts;
    parts << tr("Number %1 from %2").arg(placeText(rule.place, rule.position)).arg(rule.start);
    parts << tr("step %1").arg(rule.step);
    switch (rule.widthMode) {
    case RenameRule::Width::Auto:
        break;
    case RenameRule::Width::Fixed:
        parts << (rule.width == 1 ? tr("1 digit") : tr("%1 digits").arg(rule.width));
        break;
    case RenameRule::Width::None:
        parts << tr("no leading zeros");
        break;
    }
    parts << orderText(rule.order);
    if (rule.reverse)
        parts << tr("reversed");
    return parts.join(QStringLiteral(", "));
}

QString RuleSummary::of(const RenameRule &rule)
{
    QString text;
    switch (rule.kind) {
    case RenameRule::Kind::Replace:
        text = replaceText(rule);
        break;
    case RenameRule::Kind::Case:
        text = caseText(rule.caseForm);
        break;
    case RenameRule::Kind::Number:
        text = numberText(rule);
        break;
    case RenameRule::Kind::Insert:
        text = rule.place == RenameRule::Place::Whole
            ? tr("Template %1").arg(quoted(rule.text))
            : tr("Insert %1 %2").arg(quoted(rule.text), placeText(rule.place, rule.position));
        break;
    case RenameRule::Kind::CleanUp:
        text = cleanUpText(rule.cleanUp);
        break;
    }
    //: %1 is what the rule does, %2 the part of the name it works on.
    return tr("%1, %2").arg(text, scopeText(rule.scope));
}
