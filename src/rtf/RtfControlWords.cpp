#include "rtf/RtfFieldLink.h"
#include "rtf/RtfParser.h"

#include <algorithm>

namespace Rtf {

void RtfParser::handleWord(std::string_view name, bool hasParameter, int parameter)
{
    if (m_state.destination == Destination::Skip)
        return;
    const Word word = lookUp(name);

    if (word == Word::Unicode) {
        // \uN: a signed 16-bit code unit (or a code point written in full),
        // followed by the fallback the current \uc count says to skip.
        int value = parameter;
        if (value < 0 && value >= -32768)
            value += 65536;
        if (value >= 0 && value <= 0x10ffff)
            deliverChar(char32_t(value));
        m_unicodeFallback = m_state.unicodeSkip;
        return;
    }
    if (const char32_t ch = characterOf(word)) {
        if (m_state.destination == Destination::Body)
            deliverChar(ch);
        return;
    }

    switch (groupOf(word)) {
    case WordGroup::Destination:
        handleDestinationWord(word);
        break;
    case WordGroup::Head:
        handleHeadWord(word, parameter);
        break;
    case WordGroup::Character:
        handleCharacterWord(word, hasParameter, parameter);
        break;
    case WordGroup::Paragraph:
        handleParagraphWord(word, hasParameter, parameter);
        break;
    case WordGroup::Table:
        handleTableWord(word, parameter);
        break;
    case WordGroup::Special: // read as characters above
    case WordGroup::Unknown:
        break;
    }
}

// Groups that hold something other than the visible text: the head tables,
// fields, bookmark names and whatever is skipped.
void RtfParser::handleDestinationWord(Word word)
{
    if (m_state.destination != Destination::Body)
        return;
    flushText();
    switch (word) {
    case Word::FontTable:
        m_state.destination = Destination::FontTable;
        beginFont(-1);
        break;
    case Word::ColourTable:
        m_state.destination = Destination::ColourTable;
        m_red = m_green = m_blue = -1;
        break;
    case Word::Field:
        if (int(m_fieldInstructions.size()) < kMaxFields) {
            m_fieldInstructions.emplace_back(kMaxCollectedText);
            m_state.field = int(m_fieldInstructions.size()) - 1;
        } else {
            m_state.field = -1;
        }
        break;
    case Word::FieldInstruction:
        m_state.destination = m_state.field >= 0 ? Destination::FieldInstruction : Destination::Skip;
        break;
    case Word::FieldResult:
        if (m_state.field >= 0) {
            const QString link = linkFromInstruction(m_fieldInstructions[size_t(m_state.field)].take(m_codePages));
            if (!link.isEmpty())
                m_state.link = link;
        }
        break;
    case Word::BookmarkStart:
        m_state.destination = Destination::BookmarkName;
        m_bookmarkName.take(m_codePages);
        break;
    case Word::SkippedDestination:
        m_state.destination = Destination::Skip;
        break;
    default:
        break;
    }
}

// The document's character set and defaults, and the entries of the font
// and colour tables.
void RtfParser::handleHeadWord(Word word, int parameter)
{
    const Destination destination = m_state.destination;
    switch (word) {
    case Word::UnicodeSkip:
        m_state.unicodeSkip = std::clamp(parameter, 0, kMaxUnicodeSkip);
        return;
    case Word::FontCharset:
        if (destination == Destination::FontTable)
            m_fontCodePage = codePageOfCharset(parameter);
        return;
    case Word::FontCodePage:
        if (destination == Destination::FontTable && parameter > 0)
            m_fontCodePage = parameter;
        return;
    case Word::FontRoman:
    case Word::FontSwiss:
    case Word::FontModern:
    case Word::FontScript:
    case Word::FontDecorative:
        if (destination == Destination::FontTable) {
            m_fontHint = word == Word::FontRoman ? QFont::Serif
                : word == Word::FontSwiss        ? QFont::SansSerif
                : word == Word::FontModern       ? QFont::TypeWriter
                : word == Word::FontScript       ? QFont::Cursive
                                                 : QFont::Decorative;
        }
        return;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (destination == Destination::ColourTable) {
            int &component = word == Word::Red ? m_red : word == Word::Green ? m_green : m_blue;
            component = std::clamp(parameter, 0, 255);
        }
        return;
    default:
        break;
    }
    if (destination != Destination::Body)
        return;

    flushText();
    switch (word) {
    case Word::Ansi:
        m_ansiCodePage = kAnsiCodePage;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        if (parameter > 0)
            m_ansiCodePage = parameter;
        break;
    case Word::DefaultFont:
        m_defaultFont = parameter;
        break;
    case Word::DefaultTab:
        if (parameter > 0)
            m_defaultTab = std::min(parameter, kMaxTwips);
        break;
    default:
        break;
    }
}

void RtfParser::handleCharacterWord(Word word, bool hasParameter, int parameter)
{
    if (word == Word::Font && m_state.destination == Destination::FontTable) {
        // In the font table \f starts the next entry.
        commitFont();
        beginFont(parameter);
        return;
    }
    if (m_state.destination != Destination::Body)
        return;

    flushText();
    const bool on = !hasParameter || parameter != 0;
    CharacterState &c = m_state.character;
    const auto underline = [&](QTextCharFormat::UnderlineStyle style) {
        c.underline = on ? style : QTextCharFormat::NoUnderline;
    };
    switch (word) {
    case Word::Plain:
        c = CharacterState();
        break;
    case Word::Bold:
        c.bold = on;
        break;
    case Word::Italic:
        c.italic = on;
        break;
    case Word::Underline:
        underline(QTextCharFormat::SingleUnderline);
        break;
    case Word::UnderlineDotted:
        underline(QTextCharFormat::DotLine);
        break;
    case Word::UnderlineDashed:
        underline(QTextCharFormat::DashUnderline);
        break;
    case Word::UnderlineWave:
        underline(QTextCharFormat::WaveUnderline);
        break;
    case Word::UnderlineNone:
        c.underline = QTextCharFormat::NoUnderline;
        break;
    case Word::Strike:
        c.strike = on;
        break;
    case Word::Caps:
        c.capitalization = on ? QFont::AllUppercase : QFont::MixedCase;
        break;
    case Word::SmallCaps:
        c.capitalization = on ? QFont::SmallCaps : QFont::MixedCase;
        break;
    case Word::Hidden:
        c.hidden = on;
        break;
    case Word::Super:
        c.vertical = QTextCharFormat::AlignSuperScript;
        break;
    case Word::Sub:
        c.vertical = QTextCharFormat::AlignSubScript;
        break;
    case Word::NoSuperSub:
        c.vertical = QTextCharFormat::AlignNormal;
        break;
    case Word::Font:
        c.font = parameter;
        break;
    case Word::FontSize:
        // Half points; 0 and nonsense fall back to the default size.
        c.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, 3276) : kDefaultHalfPoints;
        break;
    case Word::Foreground:
        c.foreground = parameter;
        break;
    case Word::Background:
        c.background = parameter;
        break;
    default:
        break;
    }
}

void RtfParser::handleParagraphWord(Word word, bool hasParameter, int parameter)
{
    if (m_state.destination != Destination::Body)
        return;

    flushText();
    ParagraphState &p = m_state.paragraph;
    const auto twips = [&](int low) { return std::clamp(parameter, low, kMaxTwips); };
    switch (word) {
    case Word::ParagraphDefault:
        p = ParagraphState();
        break;
    case Word::Paragraph:
        endParagraph();
        break;
    case Word::AlignLeft:
        p.alignment = Qt::AlignLeft;
        break;
    case Word::AlignRight:
        p.alignment = Qt::AlignRight;
        break;
    case Word::AlignCentre:
        p.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignJustify:
        p.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        p.leftIndent = twips(-kMaxTwips);
        break;
    case Word::RightIndent:
        p.rightIndent = twips(-kMaxTwips);
        break;
    case Word::FirstIndent:
        p.firstIndent = twips(-kMaxTwips);
        break;
    case Word::SpaceBefore:
        p.spaceBefore = twips(0);
        break;
    case Word::SpaceAfter:
        p.spaceAfter = twips(0);
        break;
    case Word::LineSpacing:
        p.lineSpacing = twips(-kMaxTwips);
        break;
    case Word::LineMultiple:
        p.lineMultiple = !hasParameter || parameter != 0;
        break;
    case Word::TabStop:
        if (p.tabStops.size() < kMaxTabStops && parameter > 0)
            p.tabStops.append(std::min(parameter, kMaxTwips));
        break;
    case Word::LeftToRight:
        p.rightToLeft = false;
        break;
    case Word::RightToLeft:
        p.rightToLeft = true;
        break;
    case Word::Shading:
        p.shading = parameter;
        break;
    default:
        break;
    }
}

void RtfParser::handleTableWord(Word word, int parameter)
{
    if (m_state.destination != Destination::Body)
        return;

    flushText();
    switch (word) {
    case Word::InTable:
        m_state.paragraph.inTable = true;
        break;
    case Word::Cell:
        endCell();
        break;
    case Word::Row:
        if (m_table) {
            m_rowEnded = true;
            m_cellEnded = false;
        } else {
            endParagraph();
        }
        break;
    case Word::RowDefaults:
        m_cellEdges.clear();
        m_cellShadings.clear();
        m_pendingCellShading = 0;
        break;
    case Word::CellShading:
        m_pendingCellShading = parameter;
        break;
    case Word::CellEdge:
        // A cell's properties come before the edge that ends its definition.
        if (m_cellEdges.size() < kMaxTableColumns) {
            m_cellEdges.append(std::clamp(parameter, 0, kMaxTwips));
            m_cellShadings.append(m_pendingCellShading);
        }
        m_pendingCellShading = 0;
        break;
    case Word::NestedCell:
        deliverChar(U'\t');
        break;
    case Word::NestedRow:
        endParagraph();
        break;
    default:
        break;
    }
}

} // namespace Rtf
