#include "rename/rules/RuleWords.h"

#include <QStringList>

namespace {

template<typename Enum>
struct Word
{
    const char *text;
    Enum value;
};

using R = RenameRule;

constexpr Word<R::Kind> kKinds[] = {{"replace", R::Kind::Replace}, {"case", R::Kind::Case},
                                    {"number", R::Kind::Number},   {"insert", R::Kind::Insert},
                                    {"clean", R::Kind::CleanUp}};
constexpr Word<R::Scope> kScopes[] = {{"stem", R::Scope::Stem}, {"ext", R::Scope::Extension},
                                      {"name", R::Scope::Name}};
constexpr Word<R::ReplaceForm> kForms[] = {{"pattern", R::ReplaceForm::Pattern},
                                           {"remove-first", R::ReplaceForm::RemoveFirst},
                                           {"remove-last", R::ReplaceForm::RemoveLast},
                                           {"remove-between", R::ReplaceForm::RemoveBetween}};
constexpr Word<R::Occurrence> kOccurrences[] = {{"all", R::Occurrence::All}, {"first", R::Occurrence::First},
                                                {"last", R::Occurrence::Last}, {"nth", R::Occurrence::Nth}};
constexpr Word<R::CaseForm> kCases[] = {{"lower", R::CaseForm::Lower}, {"upper", R::CaseForm::Upper},
                                        {"title", R::CaseForm::Title}, {"sentence", R::CaseForm::Sentence}};
constexpr Word<R::Place> kPlaces[] = {{"start", R::Place::Start},       {"end", R::Place::End},
                                      {"before-ext", R::Place::BeforeExtension},
                                      {"position", R::Place::Position}, {"token", R::Place::Token},
                                      {"whole", R::Place::Whole}};
constexpr Word<R::Width> kWidths[] = {{"auto", R::Width::Auto}, {"fixed", R::Width::Fixed}, {"none", R::Width::None}};
constexpr Word<R::Order> kOrders[] = {{"list", R::Order::List},     {"natural", R::Order::Natural},
                                      {"name", R::Order::Name},     {"mtime", R::Order::Modified},
                                      {"size", R::Order::Size},     {"taken", R::Order::Taken}};
constexpr Word<R::CleanUp> kCleanUps[] = {{"ascii", R::CleanUp::Ascii},
                                          {"windows", R::CleanUp::Windows},
                                          {"spaces", R::CleanUp::CollapseSpaces},
                                          {"underscores", R::CleanUp::SpacesToUnderscores},
                                          {"no-underscores", R::CleanUp::UnderscoresToSpaces},
                                          {"nfc", R::CleanUp::Nfc}};

template<typename Enum, size_t N>
QString wordIn(const Word<Enum> (&table)[N], Enum value)
{
    for (const Word<Enum> &word : table) {
        if (word.value == value)
            return QLatin1String(word.text);
    }
    return {};
}

template<typename Enum, size_t N>
bool readIn(const Word<Enum> (&table)[N], QStringView text, Enum *value)
{
    for (const Word<Enum> &word : table) {
        if (text == QLatin1String(word.text)) {
            *value = word.value;
            return true;
        }
    }
    return false;
}

template<typename Enum, size_t N>
QString choicesIn(const Word<Enum> (&table)[N])
{
    QStringList words;
    for (const Word<Enum> &word : table)
        words.append(QLatin1String(word.text));
    const QString last = words.takeLast();
    return words.join(QLatin1String(", ")) + QLatin1String(" or ") + last;
}

} // namespace

namespace RuleWords {

#define QUILLMERE_RULE_WORDS(Enum, table)                                                                            \
    QString word(R::Enum value) { return wordIn(table, value); }                                                   \
    bool read(QStringView text, R::Enum *value) { return readIn(table, text, value); }                             \
    QString choices(R::Enum) { return choicesIn(table); }

QUILLMERE_RULE_WORDS(Kind, kKinds)
QUILLMERE_RULE_WORDS(Scope, kScopes)
QUILLMERE_RULE_WORDS(ReplaceForm, kForms)
QUILLMERE_RULE_WORDS(Occurrence, kOccurrences)
QUILLMERE_RULE_WORDS(CaseForm, kCases)
QUILLMERE_RULE_WORDS(Place, kPlaces)
QUILLMERE_RULE_WORDS(Width, kWidths)
QUILLMERE_RULE_WORDS(Order, kOrders)
QUILLMERE_RULE_WORDS(CleanUp, kCleanUps)

#undef QUILLMERE_RULE_WORDS

} // namespace RuleWords
