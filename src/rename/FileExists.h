#pragma once

#include <QString>

#include <optional>

// Whether an ordinary, visible file exists at the full path, the last
// component matched without regard to letter case. Folders, sockets, pipes,
// devices and hidden files (names starting with ".") never count; "*" and "?"
// in the last component never match. Every error answers false.
bool FileExists(const QString &path);

// The file FileExists finds: `path` with its last component spelled as it is
// on disk, so that it can be opened where names are case-sensitive.
std::optional<QString> FindFile(const QString &path);

// The last component of a path: the text after its last separator.
QString FileNamePart(const QString &path);
