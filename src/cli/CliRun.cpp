#include "cli/CliRun.h"

#include "cli/CliOptions.h"
#include "rename/NameComposition.h"
#include "core/NumberText.h"
#include "rename/RenameRun.h"
#include "selection/FileListing.h"

#include <QTextStream>

#include <limits>

int RunCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const CliParseResult parsed = ParseCliArguments(arguments);
    switch (parsed.action) {
    case CliParseResult::Action::ShowHelp:
    case CliParseResult::Action::ShowVersion:
        out << parsed.text << Qt::endl;
        return CliAllRenamed;
    case CliParseResult::Action::BadArguments:
        err << parsed.text << Qt::endl;
        return CliRefused;
    case CliParseResult::Action::Run:
        break;
    }

    CliCommand command = parsed.command;
    if (const std::optional<QString> refusal = ValidateRenameRequest(command.request)) {
        err << *refusal << Qt::endl;
        return CliRefused;
    }

    // The window's number box puts "1" back for anything but a whole number;
    // here a typo would rename the first file and leave all the others.
    const RenamingType type = command.request.type;
    const bool numbered = PutsNumberInName(type);
    if (numbered && !ParseWholeNumber(command.request.numberText)) {
        err << QStringLiteral("The starting number \"%1\" is no whole number.").arg(command.request.numberText)
            << Qt::endl;
        return CliRefused;
    }

    bool readable = false;
    const QStringList listed = ListFolderFiles(command.folder, command.pattern, &readable);
    if (!readable) {
        err << QStringLiteral("Cannot read the folder \"%1\".").arg(command.folder) << Qt::endl;
        return CliRefused;
    }
    // The zero-fill width follows the whole list, as the window shows it.
    command.request.entryCount = int(qMin<qsizetype>(listed.size(), std::numeric_limits<int>::max()));

    QStringList missing;
    const QList<RenameEntry> entries = SelectCliEntries(listed, command.names, command.selectAll, &missing);
    if (!missing.isEmpty()) {
        for (const QString &name : std::as_const(missing))
            err << QStringLiteral("%1: not in the file list of \"%2\" under the pattern \"%3\"")
                       .arg(name, command.folder, command.pattern)
                << Qt::endl;
        return CliRefused;
    }

    DetachedRunTarget target;
    target.number = command.request.numberText;
    target.filter = command.request.filterExtension;
    RenameFileOperations &operations = command.dryRun ? SimulatedFileOperations() : SystemFileOperations();
    const RenameReport report = RunRename(command.folder, entries, command.request, target, operations);

    for (const RenamedFile &file : report.renamed)
        out << file.oldName << QStringLiteral(" -> ") << file.newName << '\n';
    out.flush();
    for (const LeftInPlaceFile &file : report.leftInPlace)
        err << file.name << QStringLiteral(": ") << file.message << '\n';
    err.flush();
    return report.leftInPlace.isEmpty() ? CliAllRenamed : CliSomeLeft;
}
