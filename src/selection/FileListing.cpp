#include "selection/FileListing.h"

#include "core/FolderContent.h"
#include "core/FolderReader.h"
#include "selection/SortedNames.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

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

bool FilePattern::matches(QStringView name) const
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

bool FilePattern::matchesGeneral(QStringView name) const
{
    const QString folded = name.toString().toCaseFolded();
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
    SortedNames sorter;
    for (const QString &name : std::as_const(names))
        sorter.add(name);
    names = sorter.take();
}

QStringList ListFolderFiles(const FolderHandle &folder, const QString &pattern, bool *ok, QString *sharedText,
                            FolderContent *content, const std::function<void(const char *, size_t)> &eachListed)
{
    if (ok)
        *ok = false;
    if (content) {
        *content = FolderContent();
        content->folder = &folder;
    }
    FolderReader reader(folder);
    if (!reader.isOpen())
        return {};

    const FilePattern filePattern(pattern);
    const bool testNames = !filePattern.matchesEverything();
    SortedNames names;
    if (content)
        names.keepFileFacts(bool(eachListed));
    // An entry the list leaves out is still one a new name may meet.
    const auto leaveOut = [&] {
        if (content)
            content->addOther(reader.name(), reader.kind() == FolderHandle::Kind::File, reader.isLink());
    };
    QVarLengthArray<char16_t, 256> widened; // an ASCII name, for the pattern
    quint32 listedCount = 0;
    while (reader.next()) {
        if (reader.isHidden() || reader.kind() != FolderHandle::Kind::File) {
            leaveOut();
            continue;
        }
        const FolderContent::ListedFile facts = content
            ? FolderContent::ListedFile{reader.listedInode(), reader.isLink(), listedCount}
            : FolderContent::ListedFile{};

        // Plain ASCII, which most names are, is copied straight into the
        // sorter; anything else goes through the reader's decoding.
        const char *raw = reader.rawName();
        const size_t length = std::strlen(raw);
        char *out = names.asciiRoom(length);
        unsigned char any = 0;
        for (size_t i = 0; i < length; ++i) {
            out[i] = raw[i];
            any |= static_cast<unsigned char>(raw[i]);
        }
        if (any < 0x80) {
            if (testNames) {
                widened.resize(qsizetype(length));
                std::copy_n(reinterpret_cast<const unsigned char *>(raw), length, widened.data());
                if (!filePattern.matches(QStringView(widened.data(), widened.size()))) {
                    leaveOut();
                    continue;
                }
            }
            if (eachListed)
                eachListed(raw, length);
            ++listedCount;
            names.commitAscii(length, facts);
            continue;
        }
        const QStringView name = reader.name();
        if (testNames && !filePattern.matches(name)) {
            leaveOut();
            continue;
        }
        if (eachListed)
            eachListed(raw, length);
        ++listedCount;
        names.add(name, facts);
    }
    if (reader.failed()) {
        if (content)
            *content = FolderContent();
        return {};
    }
    if (ok)
        *ok = true;
    if (sharedText)
        return names.takeSharing(sharedText, content ? &content->listed : nullptr);
    return names.take();
}
