#pragma once

#include <QtGlobal>

// Letter case of plain ASCII, without Unicode tables: most file names are
// ASCII, and the listing, the sort and the collision checks fold every one.
namespace AsciiFolding {

constexpr char16_t toUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

constexpr char16_t toLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// The same for every lane of a word at once, lanes of LaneBits bits each
// (8: bytes, 16: UTF-16 units). Every lane must be below 0x80, so no sum
// below carries into the next lane: the top bit of a lane's two sums shows
// "at least the first letter" and "beyond the last", and the letters in
// between gain or lose 0x20.
template <int LaneBits>
constexpr quint64 laneOnes()
{
    static_assert(LaneBits == 8 || LaneBits == 16);
    return LaneBits == 8 ? 0x0101010101010101ULL : 0x0001000100010001ULL;
}

template <int LaneBits>
constexpr quint64 letterLanes(quint64 word, char first, char last)
{
    constexpr quint64 ones = laneOnes<LaneBits>();
    const quint64 atLeastFirst = word + ones * quint64(0x80 - first);
    const quint64 beyondLast = word + ones * quint64(0x7F - last);
    return ((atLeastFirst ^ beyondLast) & (ones * 0x80)) >> 2;
}

template <int LaneBits>
constexpr quint64 lanesToUpper(quint64 word)
{
    return word - letterLanes<LaneBits>(word, 'a', 'z');
}

template <int LaneBits>
constexpr quint64 lanesToLower(quint64 word)
{
    return word + letterLanes<LaneBits>(word, 'A', 'Z');
}

// Whether any lane of word is beyond ASCII.
template <int LaneBits>
constexpr bool anyBeyondAscii(quint64 word)
{
    return (word & (laneOnes<LaneBits>() * (LaneBits == 8 ? 0x80 : 0xFF80))) != 0;
}

} // namespace AsciiFolding
