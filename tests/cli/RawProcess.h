#pragma once

#include <QByteArray>
#include <QList>

// Runs a program with arguments given as bytes (QProcess would encode them,
// and so could not pass a byte that is not valid text) and with its output
// led where a test needs it.
struct RawRun
{
    enum class Output {
        Pipes,         // standard output and error each read through a pipe
        Terminal,      // both go to one pseudo-terminal, read back as the user would see it
        FullDisk,      // standard output is /dev/full; error through a pipe
        ClosedPipe,    // standard output is a pipe nobody reads any more; error through a pipe
    };

    int exitCode = -1;   // -1 when it did not exit normally
    int signal = 0;      // the signal that ended it, if one did
    QByteArray out;      // with Terminal: everything the terminal received
    QByteArray err;
};

RawRun RunRaw(const QByteArray &program, const QList<QByteArray> &arguments, RawRun::Output output,
              const QByteArray &workingFolder = {});
