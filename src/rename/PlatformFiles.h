#pragma once

// The rules about names that the rename engine needs: which names count as
// the same, which are hidden, and which a folder can hold. The file system
// itself is reached through FolderHandle and FolderReader.

#include <QString>
#include <QStringView>

namespace PlatformFiles {

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

// Why a file of this name cannot exist in a folder whose names hold at most
// maxLength bytes, or an empty text when it can; *leavesFolder marks a name
// that would point outside the folder.
QString nameProblem(const QString &name, int maxLength, bool *leavesFolder);

} // namespace PlatformFiles
