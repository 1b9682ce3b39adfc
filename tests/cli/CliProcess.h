#pragma once

// Runs the built quillmere-rename (QUILLMERE_RENAME_EXE, set by the test's
// target) and keeps what it answered, line by line.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct CliOutcome
{
    int exitCode = -1; // -1: it did not end normally within the time given
    QStringList out;
    QStringList err;
};

inline QStringList CliLines(const QByteArray &bytes)
{
    QStringList result = QString::fromUtf8(bytes).split(u'\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

inline CliOutcome RunCli(const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMERE_RENAME_EXE), arguments);
    CliOutcome outcome;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = CliLines(process.readAllStandardOutput());
    outcome.err = CliLines(process.readAllStandardError());
    return outcome;
}
