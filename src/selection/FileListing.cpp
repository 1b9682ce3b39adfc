#include "selection/FileListing.h"

#include <QFile>

#include <algorithm>
#include <utility>
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

namespace {

// The order key of one name: its first case-folded code units packed into
// integers, the first unit in the highest bits, so that most comparisons are
// a few integer compares on data that sits together in memory. Names equal
// in those units fall back to their whole folded text.
struct SortKey
{
    static constexpr int kUnitsPerWord = 4;
    static constexpr int kWords = 3;
    static constexpr int kUnits = kUnitsPerWord * kWords;

    quint64 words[kWords];
    quint32 index;
    quint32 size;
};

// Case-folded names, computed only for the names that need them.
class FoldedNames
{
public:
    explicit FoldedNames(const QStringList &names)
        : m_names(names)
    {
    }

    const QString &at(quint32 i)
    {
        // Most folders never get here: the storage grows on first use.
        if (m_folded.size() <= i) {
            m_folded.resize(size_t(m_names.size()));
            m_ready.resize(size_t(m_names.size()), false);
        }
        if (!m_ready[i]) {
            m_folded[i] = m_names.at(i).toCaseFolded();
            m_ready[i] = true;
        }
        return m_folded[i];
    }

private:
    const QStringList &m_names;
    std::vector<QString> m_folded;
    std::vector<bool> m_ready;
};

SortKey makeSortKey(const QStringList &names, quint32 index, FoldedNames &folded)
{
    const QString &name = names.at(index);
    qsizetype units = qMin<qsizetype>(name.size(), SortKey::kUnits);
    const char16_t *source = reinterpret_cast<const char16_t *>(name.constData());
    // Plain ASCII folds to lower case; anything else goes through Qt's folding.
    for (qsizetype i = 0; i < units; ++i) {
        if (source[i] >= 0x80) {
            const QString &foldedName = folded.at(index);
            source = reinterpret_cast<const char16_t *>(foldedName.constData());
            units = qMin<qsizetype>(foldedName.size(), SortKey::kUnits);
            break;
        }
    }
    SortKey key{};
    key.index = index;
    key.size = quint32(name.size());
    for (qsizetype i = 0; i < units; ++i) {
        char16_t c = source[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + (u'a' - u'A'));
        const int word = int(i / SortKey::kUnitsPerWord);
        const int shift = 16 * (SortKey::kUnitsPerWord - 1 - int(i % SortKey::kUnitsPerWord));
        key.words[word] |= quint64(c) << shift;
    }
    return key;
}

// Byte `digit` of the packed units, 0 being the most significant.
inline unsigned keyByte(const SortKey &key, int digit)
{
    return unsigned(key.words[digit >> 3] >> (56 - 8 * (digit & 7))) & 0xFFu;
}

// Most-significant-digit radix sort on the packed units: a counting pass on
// the first byte that tells the names of a group apart (bytes they all share,
// such as a common "IMG_2023", are skipped), and a comparison sort for small
// groups and for names equal in all packed units. Sorting this way avoids the
// mispredicted branches of a comparison sort on 100,000 keys.
template <typename Less>
void radixSortKeys(SortKey *first, SortKey *last, int digit, SortKey *buffer, const Less &less)
{
    constexpr int kDigits = SortKey::kWords * 8;
    constexpr size_t kSmallGroup = 48;
    for (;;) {
        const size_t n = size_t(last - first);
        if (n < kSmallGroup || digit >= kDigits) {
            std::sort(first, last, less);
            return;
        }
        // Skip the bytes every key of the group shares in one pass, instead
        // of one counting pass per shared byte.
        quint64 differs[SortKey::kWords] = {};
        for (const SortKey *p = first + 1; p != last; ++p) {
            for (int w = 0; w < SortKey::kWords; ++w)
                differs[w] |= p->words[w] ^ first->words[w];
        }
        while (digit < kDigits && ((differs[digit >> 3] >> (56 - 8 * (digit & 7))) & 0xFFu) == 0)
            ++digit;
        if (digit >= kDigits)
            continue;

        size_t counts[256] = {};
        for (const SortKey *p = first; p != last; ++p)
            ++counts[keyByte(*p, digit)];
        size_t offsets[256];
        size_t sum = 0;
        for (int b = 0; b < 256; ++b) {
            offsets[b] = sum;
            sum += counts[b];
        }
        for (const SortKey *p = first; p != last; ++p)
            buffer[offsets[keyByte(*p, digit)]++] = *p;
        std::copy(buffer, buffer + n, first);
        SortKey *start = first;
        for (int b = 0; b < 256; ++b) {
            if (counts[b] > 1)
                radixSortKeys(start, start + counts[b], digit + 1, buffer, less);
            start += counts[b];
        }
        return;
    }
}

// Gathers names with their order keys and hands them back sorted. The key
// is made as a name comes in, while its text is still in the cache.
class SortedNames
{
public:
    SortedNames()
        : m_folded(m_names)
    {
    }

    void add(QString &&name)
    {
        m_names.append(std::move(name));
        m_keys.push_back(makeSortKey(m_names, quint32(m_names.size() - 1), m_folded));
    }

    QStringList take()
    {
        if (m_names.size() < 2)
            return std::exchange(m_names, {});

        const auto less = [this](const SortKey &a, const SortKey &b) {
            for (int w = 0; w < SortKey::kWords; ++w) {
                if (a.words[w] != b.words[w])
                    return a.words[w] < b.words[w];
            }
            if (a.size > quint32(SortKey::kUnits) || b.size > quint32(SortKey::kUnits)) {
                const int byFolded = QStringView(m_folded.at(a.index)).compare(QStringView(m_folded.at(b.index)));
                if (byFolded != 0)
                    return byFolded < 0;
            }
            // Equal but for letter case: a fixed order by the exact text.
            return QStringView(m_names.at(a.index)).compare(QStringView(m_names.at(b.index))) < 0;
        };
        {
            std::vector<SortKey> buffer(m_keys.size());
            radixSortKeys(m_keys.data(), m_keys.data() + m_keys.size(), 0, buffer.data(), less);
        }

        // The names are read in sorted order, all over the list: fetch a few
        // ahead so the moves do not wait on memory one by one.
        constexpr size_t kAhead = 8;
        QString *source = m_names.data();
        QStringList sorted;
        sorted.reserve(m_names.size());
        for (size_t i = 0; i < m_keys.size(); ++i) {
#if defined(__GNUC__) || defined(__clang__)
            if (i + kAhead < m_keys.size())
                __builtin_prefetch(source + m_keys[i + kAhead].index);
#endif
            sorted.append(std::move(source[m_keys[i].index]));
        }
        m_names.clear();
        m_keys.clear();
        return sorted;
    }

private:
    QStringList m_names;
    FoldedNames m_folded;
    std::vector<SortKey> m_keys;
};

} // namespace

void SortFileNames(QStringList &names)
{
    SortedNames sorted;
    for (QString &name : names)
        sorted.add(std::move(name));
    names = sorted.take();
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
    SortedNames names;
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
        names.add(std::move(name));
    }
    ::closedir(dir);

    if (readFailed)
        return {};
    if (ok)
        *ok = true;
    return names.take();
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
    SortedNames names;
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
        names.add(std::move(name));
    }
    if (ok)
        *ok = true;
    return names.take();
}

#endif
