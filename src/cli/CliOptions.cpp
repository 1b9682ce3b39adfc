#include "cli/CliOptions.h"

#include "core/ProductInfo.h"
#include "selection/FileListing.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
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

CliParseResult badArguments(const QString &text)
{
    CliParseResult result;
    result.action = CliParseResult::Action::BadArguments;
    result.text = text;
    return result;
}

} // namespace

CliParseResult ParseCliArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Renames the chosen files of FOLDER in list order (names sorted without regard to case).\n"
        "Types: both = TEXT + number + \".\" + EXT; name = TEXT + number, extension kept;\n"
        "ext = extension replaced by EXT; prefix = TEXT before the name; suffix = TEXT before the extension."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption typeOption(QStringLiteral("type"),
                                        QStringLiteral("Renaming type: both, name, ext, prefix or suffix (default name)."),
                                        QStringLiteral("type"), QStringLiteral("name"));
    const QCommandLineOption textOption(QStringLiteral("text"), QStringLiteral("New name, prefix or suffix."),
                                        QStringLiteral("text"));
    const QCommandLineOption extOption(QStringLiteral("ext"), QStringLiteral("New extension, without its dot."),
                                       QStringLiteral("ext"));
    const QCommandLineOption startOption(QStringLiteral("start"), QStringLiteral("Starting number (default 1)."),
                                         QStringLiteral("number"), QStringLiteral("1"));
    const QCommandLineOption padOption(QStringLiteral("pad"),
                                       QStringLiteral("Fill numbers with zeros to a width that follows the list size (default)."));
    const QCommandLineOption noPadOption(QStringLiteral("no-pad"), QStringLiteral("Do not fill numbers with zeros."));
    const QCommandLineOption keepOption(QStringLiteral("keep-existing"),
                                        QStringLiteral("Never replace an existing file: insert \"_\" before the extension (default)."));
    const QCommandLineOption overwriteOption(QStringLiteral("overwrite"),
                                             QStringLiteral("Replace a file that already has the new name."));
    const QCommandLineOption filterOption(QStringLiteral("filter"),
                                          QStringLiteral("List only the files with this extension (pattern \"*.\" + ext)."),
                                          QStringLiteral("ext"));
    const QCommandLineOption allOption(QStringLiteral("all"), QStringLiteral("Rename every listed file."));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("Print what would be renamed; touch nothing."));
    parser.addOptions({typeOption, textOption, extOption, startOption, padOption, noPadOption, keepOption,
                       overwriteOption, filterOption, allOption, dryRunOption});
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder whose files are renamed."));
    parser.addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("Listed files to rename (or use --all)."),
                                 QStringLiteral("[NAME...]"));

    if (!parser.parse(arguments))
        return badArguments(parser.errorText());
    if (parser.isSet(helpOption)) {
        CliParseResult result;
        result.action = CliParseResult::Action::ShowHelp;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(versionOption)) {
        CliParseResult result;
        result.action = CliParseResult::Action::ShowVersion;
        const VersionRecord record = ReadVersionRecord();
        result.text = QStringLiteral("quillmere-rename (%1) %2").arg(record.productName, VersionText(record));
        return result;
    }

    // Options that take one value must not be given twice: which one wins
    // would be a guess, and a wrong guess renames files.
    for (const QCommandLineOption *option : {&typeOption, &textOption, &extOption, &startOption, &filterOption}) {
        if (parser.values(*option).size() > 1)
            return badArguments(QStringLiteral("Option --%1 is given more than once.").arg(option->names().constFirst()));
    }
    if (parser.isSet(padOption) && parser.isSet(noPadOption))
        return badArguments(QStringLiteral("Options --pad and --no-pad exclude each other."));
    if (parser.isSet(keepOption) && parser.isSet(overwriteOption))
        return badArguments(QStringLiteral("Options --keep-existing and --overwrite exclude each other."));

    const std::optional<RenamingType> type = typeFromName(parser.value(typeOption));
    if (!type) {
        return badArguments(QStringLiteral("Unknown renaming type \"%1\": use both, name, ext, prefix or suffix.")
                                .arg(parser.value(typeOption)));
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return badArguments(QStringLiteral("Missing FOLDER."));

    CliParseResult result;
    result.action = CliParseResult::Action::Run;
    CliCommand &command = result.command;
    command.folder = positional.takeFirst();
    command.names = positional;
    command.selectAll = parser.isSet(allOption);
    command.dryRun = parser.isSet(dryRunOption);
    if (command.selectAll && !command.names.isEmpty())
        return badArguments(QStringLiteral("Give either --all or file names, not both."));
    if (!command.selectAll && command.names.isEmpty())
        return badArguments(QStringLiteral("No file chosen: give the names of the files to rename, or --all."));

    RenameRequest &request = command.request;
    request.type = *type;
    request.newText = parser.value(textOption);
    // Without --ext the extension box still shows its placeholder, which the
    // validation refuses for the types that need an extension.
    request.newExtension = parser.isSet(extOption) ? parser.value(extOption) : QString(kExtensionPlaceholder);
    request.numberText = parser.value(startOption);
    request.pad = !parser.isSet(noPadOption);
    request.keepExisting = !parser.isSet(overwriteOption);
    request.rememberNumber = false;
    request.filterOn = parser.isSet(filterOption);
    request.filterExtension = parser.value(filterOption);
    command.pattern = ListPatternForFilter(request.filterOn, request.filterExtension);
    return result;
}

QList<RenameEntry> SelectCliEntries(const QStringList &listed, const QStringList &names, bool selectAll,
                                    QStringList *missing)
{
    const QSet<QString> wanted(names.cbegin(), names.cend());
    QSet<QString> found;
    QList<RenameEntry> entries;
    entries.reserve(listed.size());
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
