#include "selection/SortedNames.h"

#include "core/AsciiFolding.h"
#include "core/MemoryPages.h"
#include "core/Prefetch.h"
#include "core/PlainBuffer.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

inline bool isAscii(QStringView text)
{
    return std::all_of(text.utf16(), text.utf16() + text.size(), [](char16_t c) { return c < 0x80; });
}

// The order key of one name: the first bytes of its case-folded text packed
// into integers, the first byte in the highest bits, so that most
// comparisons are two integer compares on data that sits together in
// memory. An ASCII unit takes one byte; any other unit three (0x80 plus its
// top two bits, then seven bits, then seven bits), which keeps the order of
// the code units. Names equal in those bytes fall back to their whole
// folded text.
struct SortKey
{
    static constexpr int kWords = 2;
    static constexpr int kBytes = 8 * kWords;
    static constexpr qsizetype kMaxSize = 0x7FFF;
    static constexpr size_t kMaxOffset = 0xFFFFFFFF;
    static constexpr quint16 kWide = 0x8000;

    quint64 words[kWords];
    quint32 offset;     // of the name's text in the name buffer, in bytes
    quint16 size;       // of the name, in code units; kWide when the text is
                        // UTF-16 and followed by its folded text, otherwise
                        // it is ASCII, one byte a unit
    quint16 foldedSize; // of the case-folded name

    qsizetype nameSize() const { return size & kMaxSize; }
    bool isWide() const { return (size & kWide) != 0; }
};
static_assert(sizeof(SortKey) == 24);

// Byte `digit` of the packed text, 0 being the first.
inline unsigned keyByte(const SortKey &key, int digit)
{
    return unsigned(key.words[digit >> 3] >> (56 - 8 * (digit & 7))) & 0xFFu;
}

// Which packed bytes differ between the first key of a group and any other.
struct KeyDifferences
{
    quint64 words[SortKey::kWords] = {};

    void add(const SortKey &first, const SortKey &key)
    {
        for (int w = 0; w < SortKey::kWords; ++w)
            words[w] |= first.words[w] ^ key.words[w];
    }
    // The first byte from `digit` on in which some keys differ.
    int firstFrom(int digit) const
    {
        while (digit < SortKey::kBytes && ((words[digit >> 3] >> (56 - 8 * (digit & 7))) & 0xFFu) == 0)
            ++digit;
        return digit;
    }
};

// Most-significant-digit radix sort on the packed bytes. Each pass counts the
// keys of a group by the first byte that tells them apart (bytes they all
// share, such as a common "img_2023", are skipped) and deals them into the
// other array, noting on the way which bytes differ within each part; the
// next pass deals them back, so no pass copies or reads for nothing. Small
// groups, and keys equal in all packed bytes, go to a comparison sort.
// Sorting this way avoids the mispredicted branches of a comparison sort on
// 100,000 keys. The keys are in `from`; they end sorted in `to` when
// endInTo, otherwise in `from`.
template <typename Less>
void radixSortKeys(SortKey *from, SortKey *to, size_t n, int digit, const KeyDifferences &differences,
                   bool endInTo, const Less &less)
{
    constexpr size_t kSmallGroup = 48;
    digit = differences.firstFrom(digit);
    if (n < kSmallGroup || digit >= SortKey::kBytes) {
        std::sort(from, from + n, less);
        if (endInTo)
            std::copy_n(from, n, to);
        return;
    }

    quint32 counts[256] = {};
    for (size_t i = 0; i < n; ++i)
        ++counts[keyByte(from[i], digit)];
    // Only the parts that get keys are set up: a group often falls into a
    // handful of them.
    quint32 starts[256];
    quint32 offsets[256];
    quint64 partDifferences[256][SortKey::kWords];
    quint32 sum = 0;
    for (int b = 0; b < 256; ++b) {
        starts[b] = offsets[b] = sum;
        if (counts[b] != 0) {
            sum += counts[b];
            for (int w = 0; w < SortKey::kWords; ++w)
                partDifferences[b][w] = 0;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const unsigned b = keyByte(from[i], digit);
        to[offsets[b]++] = from[i];
        for (int w = 0; w < SortKey::kWords; ++w)
            partDifferences[b][w] |= to[starts[b]].words[w] ^ from[i].words[w];
    }
    // The keys are in `to` now: for the parts the roles of the arrays swap.
    for (int b = 0; b < 256; ++b) {
        if (counts[b] > 1) {
            KeyDifferences part;
            std::copy_n(partDifferences[b], SortKey::kWords, part.words);
            radixSortKeys(to + starts[b], from + starts[b], counts[b], digit + 1, part, !endInTo, less);
        } else if (counts[b] == 1 && !endInTo) {
            from[starts[b]] = to[starts[b]];
        }
    }
}

// Packs the first bytes of an ASCII name, in lower case, into the key:
// eight at a time, letters folded all at once.
inline void packAscii(SortKey &key, const char *name, size_t length)
{
    unsigned char bytes[SortKey::kBytes] = {};
    std::memcpy(bytes, name, std::min<size_t>(length, SortKey::kBytes));
    for (int w = 0; w < SortKey::kWords; ++w) {
        quint64 word;
        std::memcpy(&word, bytes + 8 * w, 8);
        key.words[w] = AsciiFolding::lanesToLower<8>(qFromBigEndian(word));
    }
}

} // namespace

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
