#include "selection/FileListing.h"

#include <QFile>

#include <algorithm>
#include <vector>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace {

bool isOnlyStars(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'*'; });
}

// Length in code units of the character starting at `i`, so that "?" and
// "*" step over a surrogate pair as one character.
qsizetype charLength(QStringView s, qsizetype i)
{
    if (i + 1 < s.size() && s[i].isHighSurrogate() && s[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

// Wildcard match of a whole, already case-folded name against an already
// case-folded pattern. Backtracks only to the most recent "*", which keeps it
// linear in practice and never exponential.
bool globMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == u'?') {
            ++p;
            n += charLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            starN += charLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

FilePattern::FilePattern(const QString &pattern)
    : m_pattern(pattern)
{
    const QStringView view(pattern);
    if (isOnlyStars(view) || (view.endsWith(u".*") && isOnlyStars(view.chopped(2)))) {
        m_kind = Kind::Everything;
        return;
    }
    if (view.endsWith(u'.') && isOnlyStars(view.chopped(1))) {
        m_kind = Kind::NoExtension;
        return;
    }
    if (view.startsWith(u'*')) {
        qsizetype first = 0;
        while (first < view.size() && view[first] == u'*')
            ++first;
        const QStringView rest = view.mid(first);
        const bool plain = !rest.contains(u'*') && !rest.contains(u'?');
        if (plain && !rest.endsWith(u'.')) {
            m_kind = Kind::Suffix;
            m_literal = rest.toString();
            return;
        }
    }
    m_kind = Kind::General;
    QString core = pattern;
    if (view.endsWith(u".*")) {
        m_trailingDotStar = true;
    } else if (view.endsWith(u'.')) {
        m_trailingDot = true;
        core.chop(1);
    }
    m_folded = core.toCaseFolded();
}

bool FilePattern::matches(const QString &name) const
{
    switch (m_kind) {
    case Kind::Everything:
        return true;
    case Kind::Suffix:
        return name.endsWith(m_literal, Qt::CaseInsensitive);
    case Kind::NoExtension: {
        const qsizetype dot = name.lastIndexOf(u'.');
        return dot < 0 || dot == name.size() - 1;
    }
    case Kind::General:
        break;
    }
    return matchesGeneral(name);
}

bool FilePattern::matchesGeneral(const QString &name) const
{
    const QString folded = name.toCaseFolded();
    if (m_trailingDot) {
        const qsizetype dot = folded.lastIndexOf(u'.');
        if (dot >= 0 && dot != folded.size() - 1)
            return false;
        const QStringView base = dot < 0 ? QStringView(folded) : QStringView(folded).chopped(1);
        return globMatch(m_folded, base);
    }
    if (globMatch(m_folded, folded))
        return true;
    // "name.*" also matches "name" itself.
    return m_trailingDotStar && globMatch(QStringView(m_folded).chopped(2), folded);
}

bool MatchesFilePattern(const QString &name, const QString &pattern)
{
    return FilePattern(pattern).matches(name);
}

QString ListPatternForFilter(bool filterOn, const QString &extension)
{
    if (!filterOn)
        return QStringLiteral("*.*");
    return QStringLiteral("*.") + extension;
}

void SortFileNames(QStringList &names)
{
    // Fold every name once instead of on each of the n log n comparisons.
    struct Keyed
    {
        QString key;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        keyed.push_back({names.at(i).toCaseFolded(), i});

    std::sort(keyed.begin(), keyed.end(), [&names](const Keyed &a, const Keyed &b) {
        const int byKey = QStringView(a.key).compare(QStringView(b.key), Qt::CaseSensitive);
        if (byKey != 0)
            return byKey < 0;
        return QStringView(names.at(a.index)).compare(QStringView(names.at(b.index)), Qt::CaseSensitive) < 0;
    });

    QStringList sorted;
    sorted.reserve(names.size());
    for (const Keyed &k : keyed)
        sorted.append(std::move(names[k.index]));
    names = std::move(sorted);
}

#if defined(Q_OS_UNIX)

QStringList ListFolderFiles(const QString &folder, const QString &pattern, bool *ok)
{
    if (ok)
        *ok = false;
    const QByteArray encodedFolder = QFile::encodeName(folder);
    DIR *dir = encodedFolder.isEmpty() ? nullptr : ::opendir(encodedFolder.constData());
    if (!dir)
        return {};

    const FilePattern filePattern(pattern);
    const bool testNames = !filePattern.matchesEverything();
    const int dirFd = ::dirfd(dir);
    QStringList names;
    bool readFailed = false;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            readFailed = errno != 0;
            break;
        }
        const char *raw = entry->d_name;
        if (raw[0] == '.')
            continue;

        // The entry type usually comes with the entry; only links and file
        // systems that do not report a type cost a stat. stat follows a link,
        // so a link counts as a file exactly when it leads to one.
        bool regular = false;
        switch (entry->d_type) {
        case DT_REG:
            regular = true;
            break;
        case DT_LNK:
        case DT_UNKNOWN: {
            struct stat st;
            regular = ::fstatat(dirFd, raw, &st, 0) == 0 && S_ISREG(st.st_mode);
            break;
        }
        default:
            break;
        }
        if (!regular)
            continue;

        QString name = QFile::decodeName(raw);
        if (name.contains(QChar::ReplacementCharacter) && QFile::encodeName(name) != raw)
            continue;
        if (testNames && !filePattern.matches(name))
            continue;
        names.append(std::move(name));
    }
    ::closedir(dir);

    if (readFailed)
        return {};
    SortFileNames(names);
    if (ok)
        *ok = true;
    return names;
}

#else

QStringList ListFolderFiles(const QString &folder, const QString &pattern, bool *ok)
{
    if (ok)
        *ok = false;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable())
        return {};

    const FilePattern filePattern(pattern);
    const bool testNames = !filePattern.matchesEverything();
    QStringList names;
    // Without QDir::Hidden and QDir::System the iterator leaves out hidden
    // and system files, devices, and links that lead nowhere.
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        QString name = it.fileName();
        if (name.startsWith(u'.'))
            continue;
        if (testNames && !filePattern.matches(name))
            continue;
        names.append(std::move(name));
    }
    SortFileNames(names);
    if (ok)
        *ok = true;
    return names;
}

#endif
