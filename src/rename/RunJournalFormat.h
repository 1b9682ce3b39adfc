#pragma once

// The first line of every journal; a file without it is none.
inline constexpr char kRunJournalMagic[] = "quillmere-journal 1\n";
