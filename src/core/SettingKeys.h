#pragma once

#include <QLatin1StringView>

#include <array>

// Every option the program remembers, with the value a reader gets when
// nothing is stored. Keys are spelled exactly as they are stored.
namespace SettingKeys {

inline constexpr QLatin1StringView Section{"Settings"};

inline constexpr QLatin1StringView Drive{"Drive"};
inline constexpr QLatin1StringView Dir{"Dir"};
inline constexpr QLatin1StringView Text1{"Text1"};
inline constexpr QLatin1StringView Text2{"Text2"};
inline constexpr QLatin1StringView Check1{"Check1"};
inline constexpr QLatin1StringView Check2{"Check2"};
inline constexpr QLatin1StringView Check3{"Check3"};
inline constexpr QLatin1StringView Check4{"Check4"};
inline constexpr QLatin1StringView Combo1{"Combo1"};
inline constexpr QLatin1StringView Combo2{"Combo2"};
inline constexpr QLatin1StringView Combo3{"Combo3"};
inline constexpr QLatin1StringView ShowHelp{"showHelp"};

struct Entry
{
    QLatin1StringView key;
    QLatin1StringView defaultValue;
};

inline constexpr std::array<Entry, 12> All{{
    {Drive, QLatin1StringView{""}},
    {Dir, QLatin1StringView{""}},
    {Text1, QLatin1StringView{""}},
    {Text2, QLatin1StringView{"1"}},
    {Check1, QLatin1StringView{"0"}},
    {Check2, QLatin1StringView{"1"}},
    {Check3, QLatin1StringView{"0"}},
    {Check4, QLatin1StringView{"1"}},
    {Combo1, QLatin1StringView{""}},
    {Combo2, QLatin1StringView{""}},
    {Combo3, QLatin1StringView{""}},
    {ShowHelp, QLatin1StringView{"1"}},
}};

} // namespace SettingKeys
