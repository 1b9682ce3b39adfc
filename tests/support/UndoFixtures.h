#pragma once

// What the tests of undo share: files made with known contents, the list as
// the window shows it, a request, and the test's own trash and journals.

#include "rename/RenameRun.h"
#include "rename/RunJournal.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline bool writeFiles(const QString &folder, const QStringList &names)
{
    return std::all_of(names.cbegin(), names.cend(), [&](const QString &name) {
        return writeFile(folder + u'/' + name, "content of " + name.toUtf8());
    });
}

// The list as the window shows it: every file, sorted without regard to
// case, the chosen ones selected.
inline QList<RenameEntry> entriesOf(const QString &folder, const QStringList &selected)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QList<RenameEntry> entries;
    for (const QString &name : names)
        entries.append({name, selected.contains(name)});
    return entries;
}

inline RenameRequest requestOf(RenamingType type, const QString &text, const QString &extension,
                               const QString &number, bool keepExisting)
{
    RenameRequest request;
    request.type = type;
    request.newText = text;
    request.newExtension = extension;
    request.numberText = number;
    request.keepExisting = keepExisting;
    request.entryCount = 5;
    return request;
}

// The test's own trash, under its XDG_DATA_HOME.
inline QString homeTrash()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash");
}

inline QStringList trashEntries()
{
    const QString trash = homeTrash();
    return QDir(trash + QStringLiteral("/files")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        + QDir(trash + QStringLiteral("/info")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
