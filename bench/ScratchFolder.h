#pragma once

#include <QDir>
#include <QFile>
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

// Points the program's per-user folders (settings, journals, trash) into
// root, for a benchmark that renames and undoes: set before Qt reads them.
inline void UseScratchUserFolders(const QString &root)
{
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QString folder = root + u'/' + QString::fromLatin1(variable).toLower();
        QDir().mkpath(folder);
        qputenv(variable, QFile::encodeName(folder));
    }
    qputenv("HOME", QFile::encodeName(root));
}

// count empty files in folder, named by pattern with the file's number in
// six digits for %1 ("IMG_%1.jpg": IMG_000000.jpg ...).
inline void CreateNumberedFiles(const QString &folder, int count, const QString &pattern)
{
    for (int i = 0; i < count; ++i) {
        QFile file(folder + u'/' + pattern.arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
}
