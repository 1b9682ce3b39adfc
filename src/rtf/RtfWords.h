#pragma once

#include <string_view>

namespace Rtf {

// The control words the reader understands, in the groups of the format:
// each group is handled by a function of its own.
enum class Word {
    Unknown,
    // destinations
    FontTable, ColourTable, Field, FieldInstruction, FieldResult, BookmarkStart, SkippedDestination,
    // document head
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, DefaultTab, UnicodeSkip, Unicode, Binary,
    FontCharset, FontCodePage, FontRoman, FontSwiss, FontModern, FontScript, FontDecorative,
    Red, Green, Blue,
    // characters
    Plain, Bold, Italic, Underline, UnderlineNone, UnderlineDotted, UnderlineDashed, UnderlineWave,
    Strike, Caps, SmallCaps, Hidden, Super, Sub, NoSuperSub, Font, FontSize,
    Foreground, Background,
    // paragraphs
    ParagraphDefault, Paragraph, Line, Tab, AlignLeft, AlignRight, AlignCentre, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    TabStop, LeftToRight, RightToLeft, Shading,
    // tables
    InTable, Cell, Row, RowDefaults, CellEdge, CellShading, NestedCell, NestedRow,
    // special characters
    EmDash, EnDash, EmSpace, EnSpace, QuarterEmSpace, Bullet, LeftQuote, RightQuote,
    LeftDoubleQuote, RightDoubleQuote, ZeroWidthJoiner, ZeroWidthNonJoiner, LeftToRightMark,
    RightToLeftMark,
};

enum class WordGroup { Unknown, Destination, Head, Character, Paragraph, Table, Special };

Word lookUp(std::string_view name);
WordGroup groupOf(Word word);

// The character a word stands for, or 0 when it is not a character word.
char32_t characterOf(Word word);

} // namespace Rtf
