#include "cli/CliRuleOptions.h"

#include "cli/CliReport.h"
#include "rename/rules/PresetFile.h"
#include "rename/rules/RuleWords.h"

namespace {

constexpr CliRuleOption kRuleOptions[] = {
    {"find", true},      {"replace", true}, {"literal", false},     {"ignore-case", false},
    {"nth", true},       {"scope", true},   {"case", true},         {"number", true},
    {"start", true},     {"step", true},    {"width", true},        {"sort", true},
    {"reverse", false},  {"insert", true},  {"at", true},           {"template", true},
    {"clean", true},     {"preset", true},  {"save-preset", true},  {"list-presets", false},
    {"remove-first", true}, {"remove-last", true}, {"remove-between", true, true},
};

bool readWhole(const QString &text, qint64 *value)
{
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok;
}

// Builds the rule list option by option.
class RuleBuilder
{
public:
    explicit RuleBuilder(RuleList &rules)
        : m_rules(rules)
    {
    }

    QString take(const CliRuleArgument &argument);

private:
    RenameRule &added(RenameRule::Kind kind)
    {
        RenameRule rule;
        rule.kind = kind;
        rule.scope = m_scope;
        m_rules.append(rule);
        m_replaceGiven = false;
        return m_rules.rules().last();
    }
    // The rule the option completes, or null with *problem set.
    RenameRule *last(RenameRule::Kind kind, const QString &name, const char *starter, QString *problem)
    {
        if (!m_rules.isEmpty() && m_rules.rules().last().kind == kind)
            return &m_rules.rules().last();
        *problem = CliText::tr("option '--%1' must follow '--%2'").arg(name, QLatin1String(starter));
        return nullptr;
    }
    // The same for a replace rule of one of the forms: "--replace" after
    // "--remove-first" would be dropped without a word, so it is refused.
    RenameRule *lastReplace(std::initializer_list<RenameRule::ReplaceForm> forms, const QString &name,
                            QString *problem)
    {
        RenameRule *rule = last(RenameRule::Kind::Replace, name, "find", problem);
        if (rule && std::find(forms.begin(), forms.end(), rule->replaceForm) != forms.end())
            return rule;
        *problem = forms.size() > 1
            ? CliText::tr("option '--%1' must follow '--find' or '--remove-between'").arg(name)
            : CliText::tr("option '--%1' must follow '--%2'").arg(name, QStringLiteral("find"));
        return nullptr;
    }
    QString place(RenameRule &rule, const QString &value, bool number);
    QString removing(const CliRuleArgument &argument);

    RuleList &m_rules;
    RenameRule::Scope m_scope = RenameRule::Scope::Stem;
    bool m_replaceGiven = false;
};

QString RuleBuilder::place(RenameRule &rule, const QString &value, bool number)
{
    qint64 position = 0;
    if (readWhole(value, &position) && position >= 0 && position <= std::numeric_limits<int>::max()) {
        rule.place = RenameRule::Place::Position;
        rule.position = int(position);
        return {};
    }
    RenameRule::Place place;
    if (!RuleWords::read(value, &place) || place == RenameRule::Place::Position || place == RenameRule::Place::Whole
        || (!number && place == RenameRule::Place::Token))
        return CliText::tr("'%1' is no place: use start, end, before-ext%2 or a number of characters")
            .arg(value, number ? QStringLiteral(", token") : QString());
    rule.place = place;
    return {};
}

// The replace rules of the simple forms. The markers of "--remove-between"
// go with what lies between them, as the rule list's own form does it.
QString RuleBuilder::removing(const CliRuleArgument &argument)
{
    RenameRule &rule = added(RenameRule::Kind::Replace);
    if (argument.name == u"remove-between") {
        rule.replaceForm = RenameRule::ReplaceForm::RemoveBetween;
        rule.find = argument.value;
        rule.endMarker = argument.second;
        if (rule.find.isEmpty() || rule.endMarker.isEmpty())
            return CliText::tr("option '--remove-between' needs two markers that are not empty");
        return {};
    }
    rule.replaceForm = argument.name == u"remove-first" ? RenameRule::ReplaceForm::RemoveFirst
                                                         : RenameRule::ReplaceForm::RemoveLast;
    qint64 count = 0;
    if (!readWhole(argument.value, &count) || count < 0 || count > std::numeric_limits<int>::max())
        return CliText::tr("'%1' is no count of characters: use a number from 0").arg(argument.value);
    rule.count = int(count);
    return {};
}

QString RuleBuilder::take(const CliRuleArgument &argument)
{
    using Form = RenameRule::ReplaceForm;
    const QString &name = argument.name;
    const QString &value = argument.value;
    QString problem;
    if (name == u"find") {
        added(RenameRule::Kind::Replace).find = value;
    } else if (name == u"remove-first" || name == u"remove-last" || name == u"remove-between") {
        problem = removing(argument);
    } else if (name == u"replace") {
        RenameRule *rule = lastReplace({Form::Pattern}, name, &problem);
        if (rule && m_replaceGiven)
            return CliText::tr("option '--replace' is given twice for one '--find'");
        if (rule) {
            rule->replacement = value;
            m_replaceGiven = true;
        }
    } else if (name == u"literal") {
        if (RenameRule *rule = lastReplace({Form::Pattern}, name, &problem))
            rule->literal = true;
    } else if (name == u"ignore-case") {
        if (RenameRule *rule = lastReplace({Form::Pattern, Form::RemoveBetween}, name, &problem))
            rule->ignoreCase = true;
    } else if (name == u"nth") {
        if (RenameRule *rule = lastReplace({Form::Pattern}, name, &problem)) {
            qint64 nth = 0;
            if (value == u"first" || value == u"last")
                rule->occurrence = value == u"first" ? RenameRule::Occurrence::First : RenameRule::Occurrence::Last;
            else if (readWhole(value, &nth) && nth >= 1 && nth <= std::numeric_limits<int>::max())
                rule->occurrence = RenameRule::Occurrence::Nth, rule->nth = int(nth);
            else
                problem = CliText::tr("'%1' is no match: use first, last or a number from 1").arg(value);
        }
    } else if (name == u"scope") {
        if (!RuleWords::read(value, &m_scope))
            problem = CliText::tr("unknown scope '%1': use %2").arg(value, RuleWords::choices(m_scope));
    } else if (name == u"case") {
        RenameRule &rule = added(RenameRule::Kind::Case);
        if (!RuleWords::read(value, &rule.caseForm))
            problem = CliText::tr("unknown case '%1': use %2").arg(value, RuleWords::choices(rule.caseForm));
    } else if (name == u"number") {
        problem = place(added(RenameRule::Kind::Number), value, true);
    } else if (name == u"start" || name == u"step") {
        if (RenameRule *rule = last(RenameRule::Kind::Number, name, "number", &problem)) {
            if (!readWhole(value, name == u"start" ? &rule->start : &rule->step))
                problem = CliText::tr("'%1' is no whole number").arg(value);
        }
    } else if (name == u"width") {
        if (RenameRule *rule = last(RenameRule::Kind::Number, name, "number", &problem)) {
            qint64 width = 0;
            if (value == u"auto" || value == u"none")
                rule->widthMode = value == u"auto" ? RenameRule::Width::Auto : RenameRule::Width::None;
            else if (readWhole(value, &width) && width >= 0 && width <= 255)
                rule->widthMode = RenameRule::Width::Fixed, rule->width = int(width);
            else
                problem = CliText::tr("'%1' is no width: use auto, none or a number up to 255").arg(value);
        }
    } else if (name == u"sort") {
        if (RenameRule *rule = last(RenameRule::Kind::Number, name, "number", &problem)) {
            if (!RuleWords::read(value, &rule->order))
                problem = CliText::tr("unknown order '%1': use %2").arg(value, RuleWords::choices(rule->order));
        }
    } else if (name == u"reverse") {
        if (RenameRule *rule = last(RenameRule::Kind::Number, name, "number", &problem))
            rule->reverse = true;
    } else if (name == u"insert") {
        added(RenameRule::Kind::Insert).text = value;
    } else if (name == u"at") {
        RenameRule *rule = last(RenameRule::Kind::Insert, name, "insert", &problem);
        if (rule && rule->place == RenameRule::Place::Whole)
            problem = CliText::tr("option '--at' must follow '--insert'");
        else if (rule)
            problem = place(*rule, value, false);
    } else if (name == u"template") {
        RenameRule &rule = added(RenameRule::Kind::Insert);
        rule.text = value;
        rule.place = RenameRule::Place::Whole;
    } else if (name == u"clean") {
        RenameRule &rule = added(RenameRule::Kind::CleanUp);
        if (!RuleWords::read(value, &rule.cleanUp))
            problem = CliText::tr("unknown clean-up '%1': use %2").arg(value, RuleWords::choices(rule.cleanUp));
    } else if (name == u"preset") {
        RuleList preset;
        if (!PresetFile::read(PresetFile::pathOf(value), &preset, &problem))
            return problem;
        m_rules.append(preset);
        m_replaceGiven = false;
    }
    return problem;
}

} // namespace

const CliRuleOption *FindCliRuleOption(QStringView name)
{
    for (const CliRuleOption &option : kRuleOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

bool CliArgumentsMakeRules(const QList<CliRuleArgument> &arguments)
{
    return std::any_of(arguments.cbegin(), arguments.cend(), [](const CliRuleArgument &argument) {
        return argument.name != u"start" && argument.name != u"save-preset" && argument.name != u"list-presets";
    });
}

bool BuildCliRules(const QList<CliRuleArgument> &arguments, RuleList *rules, QString *error)
{
    RuleList built;
    RuleBuilder builder(built);
    for (const CliRuleArgument &argument : arguments) {
        if (argument.name == u"save-preset" || argument.name == u"list-presets")
            continue;
        const QString problem = builder.take(argument);
        if (!problem.isEmpty()) {
            *error = problem;
            return false;
        }
    }
    *rules = built;
    return true;
}

QString CliRuleHelpText()
{
    //: Part of quillmere-rename --help. The option names and the words
    //: they take (stem, ext, name, lower, upper, title, sentence, start,
    //: end, before-ext, token, auto, none, list, natural, mtime, size,
    //: taken, ascii, windows, spaces, underscores, no-underscores, nfc) and
    //: the tokens in braces are what the program reads in every language.
    return CliText::tr(
        "Renaming rules (instead of --type; applied in the order given):\n"
        "  -f, --find=PATTERN    replace what the expression PATTERN matches\n"
        "  -r, --replace=TEXT    ... by TEXT: $1 or ${1} a group, ${NAME} a named\n"
        "                          group, $$ a dollar, \\U \\L \\E case; without it the\n"
        "                          match is deleted\n"
        "      --literal         ... PATTERN is plain text, TEXT too\n"
        "  -i, --ignore-case     ... letter case does not count\n"
        "      --nth=N           ... only the Nth match, or first or last\n"
        "      --remove-first=N  remove the first N characters\n"
        "      --remove-last=N   remove the last N characters\n"
        "      --remove-between OPEN CLOSE\n"
        "                        remove the first OPEN, the first CLOSE after it and\n"
        "                          what lies between them; -i after it: letter case\n"
        "                          does not count\n"
        "      --scope=SCOPE     the rules after it see the stem (default), ext or\n"
        "                          name (the whole name)\n"
        "      --case=CASE       lower, upper, title or sentence\n"
        "      --number=PLACE    a running number at start, end, before-ext, token\n"
        "                          (where {n} stands) or after N characters\n"
        "      --step=STEP       ... added for each file (default 1, may be negative);\n"
        "                          --start after --number is its first number\n"
        "      --width=WIDTH     ... zero-filled to auto (as --pad), N digits, or none\n"
        "      --sort=ORDER      ... counted in list, natural, name, mtime, size or\n"
        "                          taken (the photo's date) order\n"
        "      --reverse         ... in the reverse of that order\n"
        "      --insert=TEXT     insert TEXT ...\n"
        "      --at=PLACE        ... at start, end (default), before-ext or after N\n"
        "                          characters\n"
        "      --template=TEXT   TEXT in place of what the rule sees; TEXT and --insert\n"
        "                          may hold {name} {ext} {n} {parent} {mtime:FORMAT}\n"
        "                          {taken:FORMAT} (FORMAT as yyyy-MM-dd)\n"
        "      --clean=WHAT      ascii, windows (names FAT and Windows can hold),\n"
        "                          spaces (runs of white space made one), underscores\n"
        "                          (spaces to \"_\"), no-underscores (back), nfc\n"
        "      --preset=PRESET   the rules of a saved preset, by name or file\n"
        "      --save-preset=NAME  save the rules given as a preset (with no FOLDER,\n"
        "                          only that)\n"
        "      --list-presets    list the saved presets and exit\n");
}
