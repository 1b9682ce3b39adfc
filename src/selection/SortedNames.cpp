#include "selection/SortedNames.h"

#include "selection/NameSortKeys.h"

#include "core/AsciiFolding.h"
#include "core/MemoryPages.h"
#include "core/Prefetch.h"
#include "core/PlainBuffer.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <utility>

using namespace NameSortKeys;

// Gathers names with their order keys and returns them sorted. The texts
// of all names sit one after another in one buffer, so gathering a large
// folder costs no allocation per name; each name becomes a string of its own
// only at the end, in list order, which also puts the strings of the list
// next to each other in memory. Plain ASCII names, most of them, are kept
// one byte a character and fold as they are compared; any other name is
// kept as UTF-16 followed by its case-folded text.
class SortedNames::Gatherer
{
public:
    // Room for an ASCII name of `length` characters after the names gathered
    // so far; a name written there is taken by commitAscii() without a copy.
    char *asciiRoom(size_t length) { return m_text.room(length + factsBytes()); }

    void keepFileFacts(bool withOrder)
    {
        m_keepFacts = true;
        m_keepOrder = withOrder;
    }

    // Takes the `length` ASCII characters just written to asciiRoom() as the
    // next name.
    void commitAscii(size_t length, const FolderContent::ListedFile &facts)
    {
        const size_t offset = m_text.size();
        if (m_oversized) {
            m_plain.append(QString::fromLatin1(m_text.data() + offset, qsizetype(length)));
            return;
        }
        putFacts(m_text.data() + offset + length, facts);
        m_text.commit(length + factsBytes());
        if (qsizetype(length) > SortKey::kMaxSize || m_text.size() > SortKey::kMaxOffset) {
            becomeOversized(QString::fromLatin1(m_text.data() + offset, qsizetype(length)));
            return;
        }

        SortKey key{};
        key.offset = quint32(offset);
        key.size = quint16(length);
        key.foldedSize = quint16(length);
        packAscii(key, m_text.data() + offset, length);
        appendKey(key);
    }

    void add(QStringView name, const FolderContent::ListedFile &facts)
    {
        if (isAscii(name)) {
            char *out = asciiRoom(size_t(name.size()));
            for (qsizetype i = 0; i < name.size(); ++i)
                out[i] = char(name.utf16()[i]);
            commitAscii(size_t(name.size()), facts);
            return;
        }
        if (m_oversized) {
            m_plain.append(name.toString());
            return;
        }
        // Qt's folding, kept right after the name.
        const QString folded = name.toString().toCaseFolded();
        if (name.size() > SortKey::kMaxSize || folded.size() > SortKey::kMaxSize) {
            becomeOversized(name.toString());
            return;
        }
        if (m_text.size() % 2 != 0)
            m_text.append(0); // UTF-16 text starts on an even offset
        const size_t offset = m_text.size();
        const size_t bytes = size_t(name.size() + folded.size()) * sizeof(char16_t);
        char *out = m_text.room(bytes + factsBytes());
        std::memcpy(out, name.utf16(), size_t(name.size()) * sizeof(char16_t));
        std::memcpy(out + name.size() * sizeof(char16_t), folded.utf16(), size_t(folded.size()) * sizeof(char16_t));
        putFacts(out + bytes, facts);
        m_text.commit(bytes + factsBytes());
        if (m_text.size() > SortKey::kMaxOffset) {
            becomeOversized(name.toString());
            return;
        }

        SortKey key{};
        key.offset = quint32(offset);
        key.size = quint16(name.size() | SortKey::kWide);
        key.foldedSize = quint16(folded.size());
        int byte = 0;
        const auto put = [&](unsigned value) {
            if (byte < SortKey::kBytes) {
                key.words[byte >> 3] |= quint64(value) << (56 - 8 * (byte & 7));
                ++byte;
            }
        };
        for (qsizetype i = 0; i < folded.size() && byte < SortKey::kBytes; ++i) {
            const char16_t c = folded.utf16()[i];
            if (c < 0x80) {
                put(c);
            } else {
                put(0x80u + (c >> 14));
                put((c >> 7) & 0x7Fu);
                put(c & 0x7Fu);
            }
        }
        appendKey(key);
    }

    QStringList take()
    {
        if (m_oversized) {
            QStringList sorted = std::move(m_plain);
            std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
                const int folded = a.toCaseFolded().compare(b.toCaseFolded());
                return folded != 0 ? folded < 0 : a.compare(b) < 0;
            });
            return sorted;
        }

        const size_t count = m_keys.size();
        const SortKey *keys = sortKeys();
        QStringList sorted(static_cast<qsizetype>(count));
        QString *out = sorted.data();
        for (size_t i = 0; i < count; ++i) {
            prefetchAhead(m_text.data(), keys, i, count);
            out[i] = stringOf(keys[i]);
        }
        return sorted;
    }

    QStringList takeSharing(QString *text, std::vector<FolderContent::ListedFile> *facts)
    {
        text->clear();
        if (facts)
            facts->clear();
        if (m_oversized)
            return take();
        const bool giveFacts = facts && m_keepFacts;
        if (giveFacts)
            ResizePrepared(*facts, m_keys.size());
        const size_t count = m_keys.size();
        const SortKey *keys = sortKeys();
        qsizetype total = 0;
        for (size_t i = 0; i < count; ++i)
            total += keys[i].nameSize();
        ResizePrepared(*text, size_t(total));
        char16_t *units = reinterpret_cast<char16_t *>(text->data());
        QStringList sorted;
        ResizePrepared(sorted, count);
        QString *out = sorted.data();
        qsizetype at = 0;
        for (size_t i = 0; i < count; ++i) {
            prefetchAhead(m_text.data(), keys, i, count);
            const qsizetype size = keys[i].nameSize();
            const char *name = m_text.data() + keys[i].offset;
            if (keys[i].isWide())
                std::memcpy(units + at, name, size_t(size) * sizeof(char16_t));
            else
                std::copy_n(reinterpret_cast<const uchar *>(name), size, units + at);
            out[i] = QString::fromRawData(reinterpret_cast<const QChar *>(units + at), size);
            if (giveFacts)
                (*facts)[i] = factsOf(keys[i]);
            at += size;
        }
        return sorted;
    }

private:
    // The keys in the order of their names.
    const SortKey *sortKeys()
    {
        const size_t count = m_keys.size();
        SortKey *keys = m_keys.data();
        if (count > 1) {
            const auto less = [this](const SortKey &a, const SortKey &b) {
                for (int w = 0; w < SortKey::kWords; ++w) {
                    if (a.words[w] != b.words[w])
                        return a.words[w] < b.words[w];
                }
                return lessAfterKeys(a, b);
            };
            PlainBuffer<SortKey> buffer;
            radixSortKeys(keys, buffer.room(count), count, 0, m_differences, false, less);
        }
        return keys;
    }

    // The texts are read in sorted order, all over the buffer: fetch a few
    // ahead so that the copies do not wait on memory one by one.
    static void prefetchAhead(const char *text, const SortKey *keys, size_t i, size_t count)
    {
        constexpr size_t kAhead = 8;
        if (i + kAhead < count)
            PrefetchForRead(text + keys[i + kAhead].offset);
    }

    // A name's facts lie right after its text (and folded text), where the
    // copy in list order reads anyway.
    // The order read only where asked for: four bytes a name.
    static constexpr size_t kFactsBytes = sizeof(quint64) + 1;
    size_t factsBytes() const { return m_keepFacts ? kFactsBytes + (m_keepOrder ? sizeof(quint32) : 0) : 0; }
    void putFacts(char *at, const FolderContent::ListedFile &facts) const
    {
        if (!m_keepFacts)
            return;
        std::memcpy(at, &facts.inode, sizeof facts.inode);
        at[sizeof facts.inode] = facts.link ? 1 : 0;
        if (m_keepOrder)
            std::memcpy(at + kFactsBytes, &facts.order, sizeof facts.order);
    }
    FolderContent::ListedFile factsOf(const SortKey &key) const
    {
        const char *at = m_text.data() + key.offset
            + (key.isWide() ? size_t(key.nameSize() + key.foldedSize) * sizeof(char16_t) : size_t(key.nameSize()));
        FolderContent::ListedFile facts;
        std::memcpy(&facts.inode, at, sizeof facts.inode);
        facts.link = at[sizeof facts.inode] != 0;
        if (m_keepOrder)
            std::memcpy(&facts.order, at + kFactsBytes, sizeof facts.order);
        return facts;
    }

    void appendKey(const SortKey &key)
    {
        m_differences.add(m_keys.size() == 0 ? key : m_keys.data()[0], key);
        m_keys.append(key);
    }

    QString stringOf(const SortKey &key) const
    {
        const char *text = m_text.data() + key.offset;
        if (key.isWide())
            return QString(reinterpret_cast<const QChar *>(text), key.nameSize());
        QString name(key.nameSize(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(name.data());
        for (qsizetype i = 0; i < key.nameSize(); ++i)
            out[i] = uchar(text[i]);
        return name;
    }

    // Code unit i of a name, as it is and case-folded.
    char16_t unit(const SortKey &key, qsizetype i) const
    {
        const char *text = m_text.data() + key.offset;
        return key.isWide() ? reinterpret_cast<const char16_t *>(text)[i] : char16_t(uchar(text[i]));
    }
    char16_t foldedUnit(const SortKey &key, qsizetype i) const
    {
        const char *text = m_text.data() + key.offset;
        return key.isWide() ? reinterpret_cast<const char16_t *>(text)[key.nameSize() + i]
                            : AsciiFolding::toLower(char16_t(uchar(text[i])));
    }

    // Names whose packed bytes are the same: by their whole folded text,
    // then, equal but for letter case, by their exact text for a fixed order.
    bool lessAfterKeys(const SortKey &a, const SortKey &b) const
    {
        if (a.foldedSize != b.foldedSize || a.foldedSize > SortKey::kBytes / 3) {
            const qsizetype common = qMin(a.foldedSize, b.foldedSize);
            // Two ASCII names with the same packed bytes agree in as many
            // characters as the key holds.
            qsizetype i = !a.isWide() && !b.isWide() ? qMin<qsizetype>(common, SortKey::kBytes) : 0;
            for (; i < common; ++i) {
                const char16_t x = foldedUnit(a, i);
                const char16_t y = foldedUnit(b, i);
                if (x != y)
                    return x < y;
            }
            if (a.foldedSize != b.foldedSize)
                return a.foldedSize < b.foldedSize;
        }
        const qsizetype common = qMin(a.nameSize(), b.nameSize());
        for (qsizetype i = 0; i < common; ++i) {
            const char16_t x = unit(a, i);
            const char16_t y = unit(b, i);
            if (x != y)
                return x < y;
        }
        return a.nameSize() < b.nameSize();
    }

    // Names too long for the keys, which no real folder holds, turn the
    // gathering into a plain list sorted the plain way.
    void becomeOversized(QString &&name)
    {
        m_oversized = true;
        m_plain.reserve(qsizetype(m_keys.size()) + 1);
        for (size_t i = 0; i < m_keys.size(); ++i)
            m_plain.append(stringOf(m_keys.data()[i]));
        m_plain.append(std::move(name));
    }

    PlainBuffer<char> m_text;
    PlainBuffer<SortKey> m_keys;
    KeyDifferences m_differences; // over all keys
    bool m_oversized = false;
    bool m_keepFacts = false;
    bool m_keepOrder = false;
    QStringList m_plain; // the names, once m_oversized
};


SortedNames::SortedNames()
    : d(std::make_unique<Gatherer>())
{
}

SortedNames::~SortedNames() = default;

char *SortedNames::asciiRoom(size_t length)
{
    return d->asciiRoom(length);
}

void SortedNames::keepFileFacts(bool withReadOrder)
{
    d->keepFileFacts(withReadOrder);
}

void SortedNames::commitAscii(size_t length, const FolderContent::ListedFile &facts)
{
    d->commitAscii(length, facts);
}

void SortedNames::add(QStringView name, const FolderContent::ListedFile &facts)
{
    d->add(name, facts);
}

QStringList SortedNames::take()
{
    return d->take();
}

QStringList SortedNames::takeSharing(QString *text, std::vector<FolderContent::ListedFile> *facts)
{
    return d->takeSharing(text, facts);
}
