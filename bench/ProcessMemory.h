#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// This process's resident memory now (VmRSS) and at its peak (VmHWM), in
// KiB; -1 where /proc does not tell.
struct ProcessMemory
{
    long currentKiB = -1;
    long peakKiB = -1;

    static ProcessMemory read()
    {
        ProcessMemory memory;
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return memory;
        const QList<QByteArray> lines = status.readAll().split('\n');
        const auto valueOf = [](const QByteArray &line) { return line.mid(6).trimmed().split(' ').value(0).toLong(); };
        for (const QByteArray &line : lines) {
            if (line.startsWith("VmRSS:"))
                memory.currentKiB = valueOf(line);
            else if (line.startsWith("VmHWM:"))
                memory.peakKiB = valueOf(line);
        }
        return memory;
    }
    double currentMiB() const { return double(currentKiB) / 1024.0; }
    double peakMiB() const { return double(peakKiB) / 1024.0; }
};
