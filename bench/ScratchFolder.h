#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// Where the benchmarks build their folders: $QUILLMERE_BENCH_DIR when set,
// else tmpfs (/dev/shm) where there is one, else the temporary folder.
inline QString scratchRoot()
{
    const QString chosen = qEnvironmentVariable("QUILLMERE_BENCH_DIR");
    if (!chosen.isEmpty())
        return chosen;
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isDir() && shm.isWritable())
        return shm.absoluteFilePath();
    return QDir::tempPath();
}
