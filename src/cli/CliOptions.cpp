#include "cli/CliOptions.h"
#include "cli/CliReport.h"
#include "cli/CliRuleOptions.h"

#include "core/FolderHandle.h"
#include "core/MemoryPages.h"
#include "core/ProductInfo.h"
#include "rename/rules/PresetFile.h"
#include "selection/FileListing.h"

#include <QHash>
#include <QSet>

#include <optional>

namespace {

struct TypeName
{
    const char *name;
    RenamingType type;
};

constexpr TypeName kTypeNames[] = {
    {"both", BothNameAndExtension},
    {"name", NameOnly},
    {"ext", ExtensionOnly},
    {"prefix", AddPrefix},
    {"suffix", AddSuffix},
};

std::optional<RenamingType> typeFromName(const QString &name)
{
    for (const TypeName &entry : kTypeNames) {
        if (name == QLatin1String(entry.name))
            return entry.type;
    }
    return std::nullopt;
}

CliParseResult badArguments(const QString &text, bool usage = true)
{
    CliParseResult result;
    result.action = CliParseResult::Action::BadArguments;
    result.text = text;
    result.usage = usage;
    return result;
}

enum class OptionId {
    Type, Text, Ext, Start, Filter, Pad, NoPad, Keep, Overwrite, All, DryRun, Null, Undo, NoUndo, Help, Version
};

struct KnownOption
{
    const char *name; // without the leading "--"
    OptionId id;
    bool takesValue;
};

constexpr KnownOption kOptions[] = {
    {"type", OptionId::Type, true},
    {"text", OptionId::Text, true},
    {"ext", OptionId::Ext, true},
    {"start", OptionId::Start, true},
    {"filter", OptionId::Filter, true},
    {"pad", OptionId::Pad, false},
    {"no-pad", OptionId::NoPad, false},
    {"keep-existing", OptionId::Keep, false},
    {"overwrite", OptionId::Overwrite, false},
    {"all", OptionId::All, false},
    {"dry-run", OptionId::DryRun, false},
    {"null", OptionId::Null, false},
    {"undo", OptionId::Undo, false},
    {"no-undo", OptionId::NoUndo, false},
    {"help", OptionId::Help, false},
    {"version", OptionId::Version, false},
};

const KnownOption *findOption(QStringView name)
{
    for (const KnownOption &option : kOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// What the arguments said, before any meaning is given to it.
struct ReadArguments
{
    QHash<OptionId, QStringList> values; // every value given, in order
    QSet<OptionId> flags;
    QStringList positional;
    QList<CliRuleArgument> rules; // the rule options, in the order given
};

// The short options besides "-h", each another name of a long one.
const char *longNameOf(QChar letter)
{
    switch (letter.unicode()) {
    case u'f':
        return "find";
    case u'r':
        return "replace";
    case u'i':
        return "ignore-case";
    case u'n':
        return "dry-run";
    default:
        return nullptr;
    }
}

QString undecodableText(const QString &role)
{
    return CliText::tr("the %1 argument is not valid text in the encoding of the locale; "
                       "it would name a different file")
        .arg(role);
}

// The rules the options describe, into command; a refusal when they are
// wrong or mixed with the renaming types' options.
std::optional<CliParseResult> readRules(const ReadArguments &read, bool ruled, CliCommand &command)
{
    for (const CliRuleArgument &argument : read.rules) {
        if (argument.name == u"save-preset") {
            if (!command.savePreset.isEmpty())
                return badArguments(CliText::tr("option '--save-preset' is given more than once"));
            if (argument.value.isEmpty() || argument.value.contains(u'/'))
                return badArguments(CliText::tr("a preset's name cannot be empty or hold \"/\""));
            command.savePreset = argument.value;
        }
    }
    if (!ruled) {
        if (!command.savePreset.isEmpty())
            return badArguments(CliText::tr("option '--save-preset' needs rules to save"));
        return std::nullopt;
    }
    for (const OptionId id : {OptionId::Type, OptionId::Text, OptionId::Ext, OptionId::Pad, OptionId::NoPad}) {
        if (read.flags.contains(id) || read.values.contains(id)) {
            const KnownOption *option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                                     [id](const KnownOption &known) { return known.id == id; });
            return badArguments(CliText::tr("renaming rules and option '--%1' exclude each other")
                                    .arg(QLatin1String(option->name)));
        }
    }
    QString problem;
    if (!BuildCliRules(read.rules, &command.rules, &problem))
        return badArguments(problem, false);
    command.saveOnly = !command.savePreset.isEmpty() && read.positional.isEmpty();
    return std::nullopt;
}

} // namespace

CliParseResult ParseCliArguments(const QStringList &arguments, const QList<qsizetype> &undecodable)
{
    // Options follow the GNU conventions: "--name value" or "--name=value",
    // options and operands in any order, "--" ends the options, "-h" is the
    // one short option. Nothing else that starts with "-" is taken: a
    // mistyped "-all" must not turn into a file name, nor into other options.
    ReadArguments read;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith(u'-')) {
            read.positional.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("-h")) {
            read.flags.insert(OptionId::Help);
            continue;
        }
        if (argument.size() == 2 && longNameOf(argument.at(1)))
            argument = QStringLiteral("--") + QLatin1String(longNameOf(argument.at(1)));
        if (!argument.startsWith(QLatin1String("--"))) {
            if (argument.size() > 2)
                return badArguments(CliText::tr("unrecognized option '%1' (long options start with \"--\")")
                                        .arg(argument));
            return badArguments(CliText::tr("invalid option -- '%1'").arg(argument.mid(1)));
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QStringView name = QStringView(argument).mid(2, equals < 0 ? -1 : equals - 2);
        const KnownOption *option = findOption(name);
        const CliRuleOption *ruleOption = FindCliRuleOption(name);
        if (!option && !ruleOption)
            return badArguments(CliText::tr("unrecognized option '--%1'").arg(name));
        if (option ? !option->takesValue : !ruleOption->takesValue) {
            if (equals >= 0)
                return badArguments(CliText::tr("option '--%1' doesn't allow an argument").arg(name));
            if (option)
                read.flags.insert(option->id);
            else
                read.rules.append({name.toString(), QString(), QString()});
            continue;
        }
        qsizetype valueIndex = i;
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else {
            if (i + 1 >= arguments.size())
                return badArguments(ruleOption && ruleOption->takesSecond
                                        ? CliText::tr("option '--%1' requires two arguments").arg(name)
                                        : CliText::tr("option '--%1' requires an argument").arg(name));
            valueIndex = ++i;
            value = arguments.at(i);
        }
        if (undecodable.contains(valueIndex))
            return badArguments(undecodableText(QStringLiteral("--") + name.toString()), false);
        QString second;
        if (ruleOption && ruleOption->takesSecond) {
            if (i + 1 >= arguments.size())
                return badArguments(CliText::tr("option '--%1' requires two arguments").arg(name));
            if (undecodable.contains(++i))
                return badArguments(undecodableText(QStringLiteral("--") + name.toString()), false);
            second = arguments.at(i);
        }
        // "--start" numbers the renaming types, or the "--number" before it.
        if (ruleOption)
            read.rules.append({name.toString(), value, second});
        if (option)
            read.values[option->id].append(value);
    }
    // An undecodable option name was refused above as unknown; anything else
    // undecodable never gets this far.

    if (read.flags.contains(OptionId::Help)) {
        CliParseResult result;
        result.action = CliParseResult::Action::ShowHelp;
        result.text = CliHelpText();
        return result;
    }
    if (read.flags.contains(OptionId::Version)) {
        CliParseResult result;
        result.action = CliParseResult::Action::ShowVersion;
        const VersionRecord record = ReadVersionRecord();
        result.text = QStringLiteral("quillmere-rename (%1) %2\n").arg(record.productName, VersionText(record));
        return result;
    }

    if (std::any_of(read.rules.cbegin(), read.rules.cend(),
                    [](const CliRuleArgument &argument) { return argument.name == u"list-presets"; })) {
        CliParseResult result;
        result.action = CliParseResult::Action::ShowList;
        for (const QString &name : PresetFile::names())
            result.text += name + u'\n';
        return result;
    }
    const bool ruled = CliArgumentsMakeRules(read.rules);
    if (ruled)
        read.values.remove(OptionId::Start); // each "--number" has its own
    // Options that take one value must not be given twice: which one wins
    // would be a guess, and a wrong guess renames files.
    for (const KnownOption &option : kOptions) {
        if (option.takesValue && read.values.value(option.id).size() > 1)
            return badArguments(
                CliText::tr("option '--%1' is given more than once").arg(QLatin1String(option.name)));
    }
    const auto isSet = [&](OptionId id) { return read.flags.contains(id) || read.values.contains(id); };
    const auto value = [&](OptionId id, const QString &fallback = QString()) {
        const QStringList given = read.values.value(id);
        return given.isEmpty() ? fallback : given.constFirst();
    };
    if (isSet(OptionId::Pad) && isSet(OptionId::NoPad))
        return badArguments(CliText::tr("options '--pad' and '--no-pad' exclude each other"));
    if (isSet(OptionId::Keep) && isSet(OptionId::Overwrite))
        return badArguments(CliText::tr("options '--keep-existing' and '--overwrite' exclude each other"));

    const QString typeName = value(OptionId::Type, QStringLiteral("name"));
    const std::optional<RenamingType> type = typeFromName(typeName);
    if (!type)
        return badArguments(
            CliText::tr("unknown renaming type '%1': use both, name, ext, prefix or suffix").arg(typeName));

    CliParseResult result;
    result.action = CliParseResult::Action::Run;
    CliCommand &command = result.command;
    if (std::optional<CliParseResult> refused = readRules(read, ruled, command))
        return *refused;

    QStringList positional = read.positional;
    if (positional.isEmpty() && command.saveOnly)
        return result;
    if (positional.isEmpty())
        return badArguments(CliText::tr("missing FOLDER"));

    command.folder = positional.takeFirst();
    command.names = positional;
    command.selectAll = isSet(OptionId::All);
    command.dryRun = isSet(OptionId::DryRun);
    command.nullSeparated = isSet(OptionId::Null);
    command.undo = isSet(OptionId::Undo);
    if (command.undo) {
        if (!command.rules.isEmpty() || !command.savePreset.isEmpty())
            return badArguments(
                CliText::tr("renaming rules and option '--%1' exclude each other").arg(QStringLiteral("undo")));
        if (command.selectAll || !command.names.isEmpty())
            return badArguments(CliText::tr("--undo takes the folder alone, without file names or --all"));
        if (isSet(OptionId::NoUndo))
            return badArguments(CliText::tr("options '--undo' and '--no-undo' exclude each other"));
        return result;
    }
    if (command.selectAll && !command.names.isEmpty())
        return badArguments(CliText::tr("give either --all or file names, not both"));
    if (!command.selectAll && command.names.isEmpty())
        return badArguments(CliText::tr("no file chosen: give the names of the files to rename, or --all"));

    RenameRequest &request = command.request;
    request.type = *type;
    request.newText = value(OptionId::Text);
    // Without --ext the extension box still shows its placeholder, which the
    // validation refuses for the types that need an extension.
    request.newExtension = isSet(OptionId::Ext) ? value(OptionId::Ext) : QString(kExtensionPlaceholder);
    request.numberText = value(OptionId::Start, QStringLiteral("1"));
    request.pad = !isSet(OptionId::NoPad);
    request.keepExisting = !isSet(OptionId::Overwrite);
    request.rememberNumber = false;
    request.allowNoUndo = isSet(OptionId::NoUndo);
    request.filterOn = isSet(OptionId::Filter);
    request.filterExtension = value(OptionId::Filter);
    command.pattern = ListPatternForFilter(request.filterOn, request.filterExtension);
    return result;
}

CliParseResult ParseRawCliArguments(const QList<QByteArray> &arguments)
{
    QStringList decoded;
    QList<qsizetype> undecodable;
    decoded.reserve(arguments.size());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        // Decoded as the folder's names are, so that a name that is not
        // valid UTF-8 still names its file; only where text is wanted (the
        // options' values) are such bytes refused.
        decoded.append(FolderHandle::decodeName(arguments.at(i)));
        if (FolderHandle::holdsRawBytes(decoded.constLast()))
            undecodable.append(i);
    }
    return ParseCliArguments(decoded, undecodable);
}

QString CliHelpText()
{
    //: The option names, the TYPE words and the report forms "OLD -> NEW" and
    //: "NAME: unchanged" are what the program reads and prints in every
    //: language; only the words around them are translated.
    return CliText::tr(
        "Usage: quillmere-rename [OPTION]... FOLDER NAME...\n"
        "  or:  quillmere-rename [OPTION]... --all FOLDER\n"
        "  or:  quillmere-rename RULE... --save-preset=NAME\n"
        "  or:  quillmere-rename --undo [--dry-run] FOLDER\n"
        "Rename the chosen files of FOLDER in list order (names sorted without regard\n"
        "to case), each within FOLDER, numbered from the starting number.\n"
        "\n"
        "Renaming:\n"
        "      --type=TYPE       what the new name is made of (default name):\n"
        "                          both    TEXT, number, \".\", EXT\n"
        "                          name    TEXT, number, the old extension\n"
        "                          ext     the old name with the extension EXT\n"
        "                          prefix  TEXT before the old name\n"
        "                          suffix  TEXT between the old name and its extension\n"
        "      --text=TEXT       the new name, prefix or suffix\n"
        "      --ext=EXT         the new extension, without its dot\n"
        "      --start=NUMBER    the starting number (default 1)\n"
        "      --pad             fill numbers with zeros to a width that follows the\n"
        "                          number of listed files (default)\n"
        "      --no-pad          do not fill numbers with zeros\n"
        "      --keep-existing   never replace an existing file: put \"_\" before the\n"
        "                          extension of the new name until it is free (default)\n"
        "      --overwrite       replace a file that already has the new name; the\n"
        "                          replaced file goes to the trash first, and where\n"
        "                          no trash can take it, the chosen file is left in\n"
        "                          place\n"
        "\n")
        + CliRuleHelpText()
        + CliText::tr(
        "\n"
        "Choosing files:\n"
        "      --filter=EXT      list only the files with the extension EXT\n"
        "      --all             rename every listed file\n"
        "\n"
        "Undo:\n"
        "      --undo            take back the last rename in FOLDER: each file gets\n"
        "                          its old name again, printed as \"NOW -> BEFORE\"\n"
        "      --no-undo         rename even when the journal that undo needs cannot\n"
        "                          be written (without it the rename is refused)\n"
        "\n"
        "Output:\n"
        "  -n, --dry-run         print what would be done; touch nothing\n"
        "      --null            print each OLD and NEW name followed by a NUL byte\n"
        "                          instead of \"OLD -> NEW\" lines\n"
        "  -h, --help            display this help and exit\n"
        "      --version         output version information and exit\n"
        "\n"
        "Each renamed file is printed as \"OLD -> NEW\"; with --dry-run a file that\n"
        "already has its new name is printed as \"NAME: unchanged\". Every file left in\n"
        "place is named on standard error with the reason. On a terminal, names with\n"
        "control or shell characters are quoted as ls quotes them.\n"
        "\n"
        "Exit status:\n"
        " 0  every chosen file was renamed or already had its new name\n"
        " 1  some chosen files were left in place\n"
        " 2  bad arguments, an unreadable folder, a rename refused before any file was\n"
        "    moved (another rename runs in FOLDER, no journal can be written, a rule\n"
        "    cannot be used, or with --overwrite two files would get one name), or\n"
        "    output that could not be written\n"
        " 129, 130, 143  stopped by SIGHUP, SIGINT or SIGTERM before the next file\n"
        "    (128 + the signal's number); the files not yet renamed are left in place\n");
}

QList<RenameEntry> SelectCliEntries(const QStringList &listed, const QStringList &names, bool selectAll,
                                    QStringList *missing)
{
    const QSet<QString> wanted(names.cbegin(), names.cend());
    QSet<QString> found;
    QList<RenameEntry> entries;
    entries.reserve(listed.size());
    PrepareRoomForWriting(entries, size_t(listed.size()));
    for (const QString &name : listed) {
        const bool selected = selectAll || wanted.contains(name);
        if (selected && !selectAll)
            found.insert(name);
        entries.append({name, selected});
    }
    if (missing) {
        QSet<QString> reported;
        for (const QString &name : names) {
            if (!found.contains(name) && !reported.contains(name)) {
                missing->append(name);
                reported.insert(name);
            }
        }
    }
    return entries;
}
