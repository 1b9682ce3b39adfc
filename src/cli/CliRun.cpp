#include "cli/CliRun.h"

#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliReport.h"
#include "core/NumberText.h"
#include "rename/NameComposition.h"
#include "rename/RenameRun.h"
#include "selection/FileListing.h"

#include <limits>

namespace {

// A report that could not be written is no report: the caller must not take
// the run for one that went as printed.
int finish(int status, CliOutput &out, CliOutput &err)
{
    if (!out.flush()) {
        WriteCliMessage(err, QStringLiteral("write error: ") + out.errorText());
        err.flush();
        return CliRefused;
    }
    err.flush();
    return status;
}

int run(const CliParseResult &parsed, CliOutput &out, CliOutput &err)
{
    switch (parsed.action) {
    case CliParseResult::Action::ShowHelp:
    case CliParseResult::Action::ShowVersion:
        out.writeText(parsed.text);
        return CliAllRenamed;
    case CliParseResult::Action::BadArguments:
        WriteCliMessage(err, parsed.text, parsed.usage);
        return CliRefused;
    case CliParseResult::Action::Run:
        break;
    }

    CliCommand command = parsed.command;
    if (const std::optional<QString> refusal = ValidateRenameRequest(command.request)) {
        WriteCliMessage(err, *refusal, true);
        return CliRefused;
    }

    // The window's number box puts "1" back for anything but a whole number;
    // here a typo would rename the first file and leave all the others.
    const bool numbered = PutsNumberInName(command.request.type);
    if (numbered && !ParseWholeNumber(command.request.numberText)) {
        WriteCliMessage(err, QStringLiteral("the starting number \"%1\" is no whole number").arg(command.request.numberText),
                        true);
        return CliRefused;
    }

    bool readable = false;
    const QStringList listed = ListFolderFiles(command.folder, command.pattern, &readable);
    if (!readable) {
        WriteCliFileMessage(err, command.folder, QStringLiteral("the folder cannot be read"));
        return CliRefused;
    }
    // The zero-fill width follows the whole list, as the window shows it.
    command.request.entryCount = int(qMin<qsizetype>(listed.size(), std::numeric_limits<int>::max()));

    QStringList missing;
    const QList<RenameEntry> entries = SelectCliEntries(listed, command.names, command.selectAll, &missing);
    if (!missing.isEmpty()) {
        for (const QString &name : std::as_const(missing))
            WriteCliFileMessage(err, name,
                                QStringLiteral("not in the file list of the folder under the pattern \"%1\"")
                                    .arg(command.pattern));
        return CliRefused;
    }

    DetachedRunTarget target;
    target.number = command.request.numberText;
    target.filter = command.request.filterExtension;
    RenameFileOperations &operations = command.dryRun ? SimulatedFileOperations() : SystemFileOperations();
    const RenameReport report = RunRename(command.folder, entries, command.request, target, operations);

    WriteRenameReport(report, command.dryRun, command.nullSeparated, out, err);
    return report.leftInPlace.isEmpty() ? CliAllRenamed : CliSomeLeft;
}

} // namespace

int RunCli(const QList<QByteArray> &arguments, CliOutput &out, CliOutput &err)
{
    return finish(run(ParseRawCliArguments(arguments), out, err), out, err);
}
