#pragma once

// The few file-system services the rename engine needs, kept together so
// that the platform-specific code lives in one place.

#include "rename/RenameRun.h"

#include <QString>
#include <functional>

namespace PlatformFiles {

// "/" everywhere; Windows also takes "\".
bool isSeparator(QChar c);

// Names starting with "." are hidden and never count as files.
inline bool isHiddenName(QStringView name)
{
    return name.startsWith(QLatin1Char('.'));
}

// The form in which two names are compared without regard to letter case:
// the name in upper case.
QString foldedName(QStringView name);

// foldedName(a) == foldedName(b), and a hash that agrees with it, without
// building the folded texts for plain ASCII names.
bool sameFoldedName(QStringView a, QStringView b);
size_t foldedNameHash(QStringView name, size_t seed);

// Calls visit for every entry of folder but "." and "..", hidden ones
// included, until visit answers false; ordinary tells a regular file or a
// link that leads to one. Answers false when the folder cannot be read.
// The name passed to visit is valid only during the call.
bool forEachEntry(const QString &folder, const std::function<bool(QStringView name, bool ordinary)> &visit);

// Whether path leads to a regular file (links followed).
bool isOrdinaryFile(const QString &path);

// Longest file name, in the file system's own units, that folder can hold.
int maxNameLength(const QString &folder);

// Why a file of this name cannot exist in a folder, or an empty text when it
// can; *leavesFolder tells a name that would point outside the folder.
QString nameProblem(const QString &name, int maxLength, bool *leavesFolder);

// Renames fromName to toName inside folder.
RenameFileOperations::Outcome renameInFolder(const QString &folder, const QString &fromName, const QString &toName,
                                             RenameFileOperations::Mode mode, QString *error);

} // namespace PlatformFiles
