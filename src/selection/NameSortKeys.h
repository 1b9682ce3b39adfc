#pragma once

// The packed order keys of SortedNames and their radix sort: internal to
// the listing's sort, apart so that the gatherer reads on its own.

#include "core/AsciiFolding.h"

#include <QtEndian>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace NameSortKeys {

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

} // namespace NameSortKeys
