#pragma once

// The outcome of every selected file as the Rules window's preview shows
// it, and as quillmere-rename's dry run prints it, in words both give.

#include "windows/RulesPreviewPane.h"
#include "windows/RulesWindow.h"

#include "../cli/CliProcess.h"

#include <QLabel>
#include <QMap>

namespace {

using namespace Qt::StringLiterals;

// What happens to a file, in words both sides give: "-> new name",
// "unchanged", "left: why".
using Outcomes = QMap<QString, QString>;

Outcomes shownOutcomes(const RulesWindow *rules)
{
    Outcomes outcomes;
    if (rules->preview->isRefused())
        outcomes.insert(u"refused"_s, rules->preview->refusal->text());
    for (const PreviewRow &row : rules->preview->model()->preview().rows) {
        switch (row.outcome) {
        case PreviewOutcome::Unchanged: outcomes.insert(row.currentName, u"unchanged"_s); break;
        case PreviewOutcome::LeftInPlace: outcomes.insert(row.currentName, u"left: "_s + row.reason); break;
        default: outcomes.insert(row.currentName, u"-> "_s + row.newName); break;
        }
    }
    return outcomes;
}

Outcomes dryRunOutcomes(const QString &folder, const QString &preset, bool keepExisting)
{
    QStringList arguments{u"--dry-run"_s, u"--preset"_s, preset, folder, u"--all"_s};
    if (!keepExisting)
        arguments.append(u"--overwrite"_s);
    const CliOutcome run = RunCli(arguments);
    Outcomes outcomes;
    const QString program = u"quillmere-rename: "_s;
    if (run.exitCode == 2) {
        outcomes.insert(u"refused"_s, run.err.value(0).mid(program.size()));
        return outcomes;
    }
    for (const QString &line : run.out) {
        if (const qsizetype arrow = line.indexOf(u" -> "_s); arrow > 0)
            outcomes.insert(line.left(arrow), u"-> "_s + line.mid(arrow + 4));
        else if (line.endsWith(u": unchanged"_s))
            outcomes.insert(line.chopped(11), u"unchanged"_s);
    }
    for (const QString &line : run.err) {
        if (!line.startsWith(program))
            continue;
        const QString rest = line.mid(program.size());
        const qsizetype colon = rest.indexOf(u": "_s);
        outcomes.insert(rest.left(colon), u"left: "_s + rest.mid(colon + 2));
    }
    return outcomes;
}

} // namespace
