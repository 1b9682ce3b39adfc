#include "rtf/RtfWords.h"

#include <QChar>

#include <unordered_map>

namespace Rtf {

namespace {

const std::unordered_map<std::string_view, Word> &wordTable()
{
    static const std::unordered_map<std::string_view, Word> table = {
        {"fonttbl", Word::FontTable}, {"colortbl", Word::ColourTable}, {"field", Word::Field},
        {"fldinst", Word::FieldInstruction}, {"fldrslt", Word::FieldResult},
        {"bkmkstart", Word::BookmarkStart},
        // Destinations whose content is not part of the visible text.
        {"stylesheet", Word::SkippedDestination}, {"info", Word::SkippedDestination},
        {"pict", Word::SkippedDestination}, {"object", Word::SkippedDestination},
        {"header", Word::SkippedDestination}, {"headerl", Word::SkippedDestination},
        {"headerr", Word::SkippedDestination}, {"headerf", Word::SkippedDestination},
        {"footer", Word::SkippedDestination}, {"footerl", Word::SkippedDestination},
        {"footerr", Word::SkippedDestination}, {"footerf", Word::SkippedDestination},
        {"footnote", Word::SkippedDestination}, {"annotation", Word::SkippedDestination},
        {"ftnsep", Word::SkippedDestination}, {"ftnsepc", Word::SkippedDestination},
        {"ftncn", Word::SkippedDestination}, {"aftnsep", Word::SkippedDestination},
        {"aftnsepc", Word::SkippedDestination}, {"aftncn", Word::SkippedDestination},
        {"author", Word::SkippedDestination}, {"title", Word::SkippedDestination},
        {"subject", Word::SkippedDestination}, {"keywords", Word::SkippedDestination},
        {"operator", Word::SkippedDestination}, {"comment", Word::SkippedDestination},
        {"doccomm", Word::SkippedDestination}, {"creatim", Word::SkippedDestination},
        {"revtim", Word::SkippedDestination}, {"printim", Word::SkippedDestination},
        {"buptim", Word::SkippedDestination}, {"template", Word::SkippedDestination},
        {"private", Word::SkippedDestination}, {"xe", Word::SkippedDestination},
        {"tc", Word::SkippedDestination}, {"txe", Word::SkippedDestination},
        {"rxe", Word::SkippedDestination}, {"pn", Word::SkippedDestination},
        {"pnseclvl", Word::SkippedDestination}, {"listtable", Word::SkippedDestination},
        {"listoverridetable", Word::SkippedDestination}, {"revtbl", Word::SkippedDestination},
        {"rsidtbl", Word::SkippedDestination}, {"themedata", Word::SkippedDestination},
        {"colorschememapping", Word::SkippedDestination}, {"latentstyles", Word::SkippedDestination},
        {"datastore", Word::SkippedDestination}, {"xmlnstbl", Word::SkippedDestination},
        {"generator", Word::SkippedDestination}, {"shp", Word::SkippedDestination},
        {"shppict", Word::SkippedDestination}, {"nonshppict", Word::SkippedDestination},
        {"fchars", Word::SkippedDestination}, {"lchars", Word::SkippedDestination},
        {"userprops", Word::SkippedDestination}, {"filetbl", Word::SkippedDestination},
        {"pgdsctbl", Word::SkippedDestination}, {"background", Word::SkippedDestination},
        {"panose", Word::SkippedDestination}, {"falt", Word::SkippedDestination},
        {"fontemb", Word::SkippedDestination}, {"fontfile", Word::SkippedDestination},
        {"bkmkend", Word::SkippedDestination}, {"mmathPr", Word::SkippedDestination},

        {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCodePage}, {"deff", Word::DefaultFont}, {"deftab", Word::DefaultTab},
        {"uc", Word::UnicodeSkip}, {"u", Word::Unicode}, {"bin", Word::Binary},
        {"fcharset", Word::FontCharset}, {"cpg", Word::FontCodePage}, {"froman", Word::FontRoman},
        {"fswiss", Word::FontSwiss}, {"fmodern", Word::FontModern}, {"fscript", Word::FontScript},
        {"fdecor", Word::FontDecorative},
        {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},

        {"plain", Word::Plain}, {"b", Word::Bold}, {"i", Word::Italic},
        {"ul", Word::Underline}, {"ulnone", Word::UnderlineNone}, {"uldb", Word::Underline},
        {"ulth", Word::Underline}, {"ulw", Word::Underline}, {"uld", Word::UnderlineDotted},
        {"ulthd", Word::UnderlineDotted}, {"uldash", Word::UnderlineDashed},
        {"uldashd", Word::UnderlineDashed}, {"uldashdd", Word::UnderlineDashed},
        {"ulldash", Word::UnderlineDashed}, {"ulthdash", Word::UnderlineDashed},
        {"ulwave", Word::UnderlineWave}, {"ulhwave", Word::UnderlineWave},
        {"ululdbwave", Word::UnderlineWave},
        {"strike", Word::Strike}, {"striked", Word::Strike}, {"caps", Word::Caps},
        {"scaps", Word::SmallCaps}, {"v", Word::Hidden}, {"super", Word::Super},
        {"sub", Word::Sub}, {"nosupersub", Word::NoSuperSub}, {"f", Word::Font},
        {"fs", Word::FontSize}, {"cf", Word::Foreground}, {"cb", Word::Background},
        {"highlight", Word::Background}, {"chcbpat", Word::Background},

        {"pard", Word::ParagraphDefault}, {"par", Word::Paragraph}, {"sect", Word::Paragraph},
        {"page", Word::Paragraph}, {"column", Word::Paragraph}, {"line", Word::Line},
        {"tab", Word::Tab}, {"ql", Word::AlignLeft}, {"qr", Word::AlignRight},
        {"qc", Word::AlignCentre}, {"qj", Word::AlignJustify}, {"qd", Word::AlignJustify},
        {"li", Word::LeftIndent}, {"lin", Word::LeftIndent}, {"ri", Word::RightIndent},
        {"rin", Word::RightIndent}, {"fi", Word::FirstIndent}, {"sb", Word::SpaceBefore},
        {"sa", Word::SpaceAfter}, {"sl", Word::LineSpacing}, {"slmult", Word::LineMultiple},
        {"tx", Word::TabStop}, {"tb", Word::TabStop}, {"ltrpar", Word::LeftToRight},
        {"rtlpar", Word::RightToLeft}, {"cbpat", Word::Shading},

        {"intbl", Word::InTable}, {"cell", Word::Cell}, {"row", Word::Row},
        {"trowd", Word::RowDefaults}, {"cellx", Word::CellEdge}, {"clcbpat", Word::CellShading},
        {"nestcell", Word::NestedCell},
        {"nestrow", Word::NestedRow},

        {"emdash", Word::EmDash}, {"endash", Word::EnDash}, {"emspace", Word::EmSpace},
        {"enspace", Word::EnSpace}, {"qmspace", Word::QuarterEmSpace}, {"bullet", Word::Bullet},
        {"lquote", Word::LeftQuote}, {"rquote", Word::RightQuote},
        {"ldblquote", Word::LeftDoubleQuote}, {"rdblquote", Word::RightDoubleQuote},
        {"zwj", Word::ZeroWidthJoiner}, {"zwnj", Word::ZeroWidthNonJoiner},
        {"ltrmark", Word::LeftToRightMark}, {"rtlmark", Word::RightToLeftMark},
    };
    return table;
}

bool within(Word word, Word first, Word last)
{
    return int(word) >= int(first) && int(word) <= int(last);
}

} // namespace

Word lookUp(std::string_view name)
{
    const auto &table = wordTable();
    const auto found = table.find(name);
    return found == table.end() ? Word::Unknown : found->second;
}

WordGroup groupOf(Word word)
{
    if (within(word, Word::FontTable, Word::SkippedDestination))
        return WordGroup::Destination;
    if (within(word, Word::Ansi, Word::Blue))
        return WordGroup::Head;
    if (within(word, Word::Plain, Word::Background))
        return WordGroup::Character;
    if (within(word, Word::ParagraphDefault, Word::Shading))
        return WordGroup::Paragraph;
    if (within(word, Word::InTable, Word::NestedRow))
        return WordGroup::Table;
    if (within(word, Word::EmDash, Word::RightToLeftMark))
        return WordGroup::Special;
    return WordGroup::Unknown;
}

char32_t characterOf(Word word)
{
    switch (word) {
    case Word::Tab: return U'\t';
    case Word::Line: return QChar::LineSeparator;
    case Word::EmDash: return 0x2014;
    case Word::EnDash: return 0x2013;
    case Word::EmSpace: return 0x2003;
    case Word::EnSpace: return 0x2002;
    case Word::QuarterEmSpace: return 0x2005;
    case Word::Bullet: return 0x2022;
    case Word::LeftQuote: return 0x2018;
    case Word::RightQuote: return 0x2019;
    case Word::LeftDoubleQuote: return 0x201c;
    case Word::RightDoubleQuote: return 0x201d;
    case Word::ZeroWidthJoiner: return 0x200d;
    case Word::ZeroWidthNonJoiner: return 0x200c;
    case Word::LeftToRightMark: return 0x200e;
    case Word::RightToLeftMark: return 0x200f;
    default: return 0;
    }
}
} // namespace Rtf
