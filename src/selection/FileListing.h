#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class FolderContent;
class FolderHandle;

// The content of a file list: which files of a folder a pattern selects and
// in what order they are shown. QtCore only, so the window, the command-line
// front end and the tests all list a folder the same way.
//
// Pattern language (letters compared without regard to case):
//   *      any run of characters, dots included
//   ?      exactly one character
//   A pattern ending in ".*" also matches names without a dot, when the part
//   before ".*" matches the whole name: "*.*" matches every file, and
//   "photo.*" matches "photo" as well as "photo.jpg".
//   A pattern ending in "." (but not ".*") matches names whose extension is
//   empty (no dot at all, or a dot as the last character) when the name,
//   without that last dot, matches the part before the pattern's dot:
//   "*." lists "README" and "notes.", never "a.txt".
//   Everything else is matched as a whole: "*.gz" matches "archive.tar.gz",
//   "*.tar" does not, "*.tar.gz" does.
//   Semicolons and other characters have no special meaning.

// A pattern prepared once and matched against many names.
class FilePattern
{
public:
    explicit FilePattern(const QString &pattern = QStringLiteral("*.*"));

    bool matches(QStringView name) const;
    // True when every name matches, so a listing can skip the test.
    bool matchesEverything() const { return m_kind == Kind::Everything; }
    QString pattern() const { return m_pattern; }

private:
    enum class Kind {
        Everything,     // "*", "*.*", "**.*" ...
        Suffix,         // "*" followed by literal text, e.g. "*.jpg"
        NoExtension,    // "*."
        General,
    };

    bool matchesGeneral(QStringView name) const;

    QString m_pattern;
    Kind m_kind = Kind::Everything;
    QString m_literal;      // Suffix: the text after the leading "*"
    QString m_folded;       // General: the pattern, case-folded, without the special ending
    bool m_trailingDotStar = false; // General: pattern ended in ".*"
    bool m_trailingDot = false;     // General: pattern ended in "."
};

bool MatchesFilePattern(const QString &name, const QString &pattern);

// The list pattern that the extension filter gives: "*.*" when the filter is
// off, otherwise "*." followed by the extension text exactly as typed.
QString ListPatternForFilter(bool filterOn, const QString &extension);

// The names (without folder) of the files in `folder` that match `pattern`,
// sorted by name without regard to case; names equal but for case keep a
// fixed order (by their exact text). Left out: names starting with "." (the
// platform's hidden files), folders, sockets, pipes, devices and links that do
// not lead to a regular file. A name that is not valid UTF-8 is listed too,
// its stray bytes carried as FolderHandle::decodeName() does. A link to a regular file counts as a file. There is no limit on the count.
//
// A folder that cannot be read (missing, not a folder, no permission) gives
// an empty list; `ok`, when given, tells that case apart from an empty folder.
// The folder is one already open, so that a run can rename in the very
// folder it listed.
//
// With sharedText, the names' text is put in *sharedText, which the names
// refer to instead of holding a copy each (see SortedNames::takeSharing):
// for a caller that lists a great many files once and keeps *sharedText as
// long. With content, what the read showed besides goes into *content (see
// FolderContent), for a run in the folder that needs no second read.
// content->listed stays empty without sharedText, and where the names could
// not carry their facts through the sort (names longer than any file system
// allows). eachListed, when given, is handed each listed file's name as the
// folder holds it, in the order read (the order ListedFile::order counts),
// while the listing goes on.
QStringList ListFolderFiles(const FolderHandle &folder, const QString &pattern, bool *ok = nullptr,
                            QString *sharedText = nullptr, FolderContent *content = nullptr,
                            const std::function<void(const char *, size_t)> &eachListed = {});

// Sorts names the way ListFolderFiles returns them.
void SortFileNames(QStringList &names);
