#pragma once

#include <QtGlobal>

#include <algorithm>

namespace Rtf {

// Limits that keep hostile input cheap. Real documents stay far below them.
constexpr int kMaxGroupDepth = 200;          // deeper groups are read as skipped
constexpr int kMaxTableColumns = 63;
constexpr qsizetype kMaxCollectedText = 4096; // field instructions, font and bookmark names
constexpr int kMaxFonts = 4096;
constexpr int kMaxColours = 4096;
constexpr int kMaxFields = 4096;
constexpr int kMaxTabStops = 64;
constexpr int kMaxUnicodeSkip = 64;
constexpr int kMaxDecoders = 32;
constexpr int kMaxTwips = 31680;             // 22 inches, larger than any page
constexpr double kTwipsPerPixel = 15.0;      // at 96 dots per inch

constexpr int kDefaultHalfPoints = 24;       // 12 pt, the format's default size
constexpr int kDefaultTabTwips = 720;
constexpr int kSymbolCodePage = 42;          // fonts with the symbol charset
constexpr int kAnsiCodePage = 1252;

inline double twipsToPixels(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips) / kTwipsPerPixel;
}

} // namespace Rtf
