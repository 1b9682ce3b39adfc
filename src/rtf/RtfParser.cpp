#include "rtf/RtfParser.h"

#include <QTextDocument>

#include <algorithm>

namespace Rtf {

namespace {

bool isAsciiLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfParser::RtfParser(QByteArrayView data, QTextDocument &document, const std::atomic<bool> *stop)
    : m_data(data), m_stop(stop), m_document(document), m_cursor(&document)
{ }

void RtfParser::parse(qsizetype start)
{
    m_pos = start;
    const qsizetype size = m_data.size();
    while (m_pos < size && !m_done) {
        // A reader in the background is told to stop when its result is no
        // longer wanted; looking once in a while costs nothing.
        if ((m_pos & 0xffff) == 0 && m_stop && m_stop->load(std::memory_order_relaxed))
            break;
        const auto c = static_cast<uchar>(m_data[m_pos++]);
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
            break;
        default:
            deliverByte(c, false);
            break;
        }
    }
    finish();
}

void RtfParser::readControl()
{
    const qsizetype size = m_data.size();
    if (m_pos >= size)
        return;
    const auto first = static_cast<uchar>(m_data[m_pos]);

    if (!isAsciiLetter(first)) {
        ++m_pos;
        if (m_overflowDepth > 0)
            return;
        if (first == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < size && hexValue(static_cast<uchar>(m_data[m_pos])) >= 0) {
                value = value * 16 + hexValue(static_cast<uchar>(m_data[m_pos]));
                ++m_pos;
                ++digits;
            }
            if (digits == 2)
                deliverByte(uchar(value), true);
            return;
        }
        if (first == '*') {
            m_starPending = true;
            return;
        }
        if (m_unicodeFallback > 0) {
            --m_unicodeFallback;
            return;
        }
        switch (first) {
        case '\\':
        case '{':
        case '}':
            deliverByte(first, true);
            break;
        case '~':
            deliverChar(0x00a0);
            break;
        case '_':
            deliverChar(0x2011);
            break;
        case '-':
            deliverChar(0x00ad);
            break;
        case '\t':
            deliverChar(U'\t');
            break;
        case '\r':
        case '\n':
            handleWord("par", false, 0);
            break;
        default:
            break; // \|, \: and unknown symbols carry nothing to show
        }
        return;
    }

    // A control word: letters, an optional signed number, an optional space.
    const qsizetype nameStart = m_pos;
    while (m_pos < size && isAsciiLetter(static_cast<uchar>(m_data[m_pos])))
        ++m_pos;
    const std::string_view name(m_data.data() + nameStart, size_t(m_pos - nameStart));

    bool negative = false;
    bool hasParameter = false;
    qint64 magnitude = 0;
    if (m_pos < size && m_data[m_pos] == '-' && m_pos + 1 < size
        && isAsciiDigit(static_cast<uchar>(m_data[m_pos + 1]))) {
        negative = true;
        ++m_pos;
    }
    while (m_pos < size && isAsciiDigit(static_cast<uchar>(m_data[m_pos]))) {
        hasParameter = true;
        // Saturate: a number of any length reads as the largest value.
        magnitude = std::min<qint64>(magnitude * 10 + (m_data[m_pos] - '0'), qint64(1) << 31);
        ++m_pos;
    }
    if (m_pos < size && m_data[m_pos] == ' ')
        ++m_pos;
    const qint64 signedValue = negative ? -magnitude : std::min<qint64>(magnitude, 0x7fffffff);
    const int parameter = int(signedValue);

    if (name == "bin") {
        // Binary data is skipped whatever the group, or its bytes would be
        // read as braces and control words.
        const qint64 length = hasParameter && !negative ? signedValue : 0;
        m_pos += qsizetype(std::min<qint64>(length, size - m_pos));
        return;
    }
    if (m_overflowDepth > 0)
        return;
    if (m_starPending) {
        m_starPending = false;
        const Word word = lookUp(name);
        if (word != Word::FieldInstruction && word != Word::BookmarkStart) {
            flushText();
            m_state.destination = Destination::Skip;
            return;
        }
    }
    if (m_unicodeFallback > 0) {
        --m_unicodeFallback;
        return;
    }
    handleWord(name, hasParameter, parameter);
}

void RtfParser::openGroup()
{
    m_starPending = false;
    m_unicodeFallback = 0;
    if (m_overflowDepth > 0 || int(m_stack.size()) >= kMaxGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    flushText();
    m_stack.push_back(m_state);
}

void RtfParser::closeGroup()
{
    m_starPending = false;
    m_unicodeFallback = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    flushText();
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    const GroupState &outer = m_stack.back();
    if (m_state.destination == Destination::FontTable)
        commitFont();
    if (m_state.destination == Destination::BookmarkName && outer.destination != Destination::BookmarkName) {
        const QString name = m_bookmarkName.take(m_codePages).trimmed();
        if (!name.isEmpty() && m_pendingAnchors.size() < 16)
            m_pendingAnchors.append(name);
    }
    if (m_stack.size() == 1) {
        // The document's own group closes: its last paragraph takes the
        // properties in force now, before the group's state is dropped.
        finishLastParagraph();
        m_done = true;
    }
    m_state = outer;
    m_stack.pop_back();
}

void RtfParser::deliverByte(uchar byte, bool literal)
{
    if (m_overflowDepth > 0)
        return;
    m_starPending = false;
    if (m_unicodeFallback > 0) {
        --m_unicodeFallback;
        return;
    }
    const char ch = char(byte);
    switch (m_state.destination) {
    case Destination::Body:
        if (m_state.character.hidden)
            return;
        if (byte == '\t')
            m_text.addChar(U'\t', m_codePages);
        else if (byte >= 0x20)
            m_text.addByte(ch, bodyCodePage(), m_codePages);
        return;
    case Destination::FontTable:
        if (byte == ';' && !literal)
            commitFont();
        else if (m_fontNumber >= 0)
            m_fontName.addByte(ch, m_fontCodePage > 0 ? m_fontCodePage : m_ansiCodePage, m_codePages);
        return;
    case Destination::ColourTable:
        if (byte == ';')
            commitColour();
        return;
    case Destination::FieldInstruction:
        if (m_state.field >= 0)
            m_fieldInstructions[size_t(m_state.field)].addByte(ch, m_ansiCodePage, m_codePages);
        return;
    case Destination::BookmarkName:
        m_bookmarkName.addByte(ch, m_ansiCodePage, m_codePages);
        return;
    case Destination::Skip:
        return;
    }
}

void RtfParser::deliverChar(char32_t ch)
{
    switch (m_state.destination) {
    case Destination::Body:
        if (!m_state.character.hidden)
            m_text.addChar(ch, m_codePages);
        return;
    case Destination::FontTable:
        if (m_fontNumber >= 0)
            m_fontName.addChar(ch, m_codePages);
        return;
    case Destination::FieldInstruction:
        if (m_state.field >= 0)
            m_fieldInstructions[size_t(m_state.field)].addChar(ch, m_codePages);
        return;
    case Destination::BookmarkName:
        m_bookmarkName.addChar(ch, m_codePages);
        return;
    case Destination::ColourTable:
    case Destination::Skip:
        return;
    }
}

void RtfParser::beginFont(int number)
{
    m_fontNumber = number;
    m_fontCodePage = 0;
    m_fontHint = QFont::AnyStyle;
}

void RtfParser::commitFont()
{
    const QString name = m_fontName.take(m_codePages).trimmed();
    if (m_fontNumber < 0)
        return;
    if (m_fonts.size() < kMaxFonts || m_fonts.contains(m_fontNumber))
        m_fonts.insert(m_fontNumber, FontEntry{name, m_fontCodePage, m_fontHint});
    beginFont(-1);
}

void RtfParser::commitColour()
{
    if (m_colours.size() < kMaxColours) {
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colours.append(QColor()); // "automatic"
        else
            m_colours.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    }
    m_red = m_green = m_blue = -1;
}

QColor RtfParser::colour(int index) const
{
    // Index 0 is the automatic colour whatever the table says there.
    if (index <= 0 || index >= m_colours.size())
        return {};
    return m_colours.at(index);
}

int RtfParser::bodyCodePage() const
{
    const int number = m_state.character.font >= 0 ? m_state.character.font : m_defaultFont;
    const auto found = m_fonts.constFind(number);
    if (found != m_fonts.constEnd() && found->codePage > 0)
        return found->codePage;
    return m_ansiCodePage;
}

void RtfParser::finishLastParagraph()
{
    if (m_lastParagraphFinished)
        return;
    m_lastParagraphFinished = true;
    flushText();
    if (!m_lastWasParagraph)
        applyParagraphFormat();
}

void RtfParser::finish()
{
    finishLastParagraph();
    if (m_table)
        dropSpareRows();
    trimTrailingEmptyParagraph();
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(twipsToPixels(m_defaultTab));
    m_document.setDefaultTextOption(option);
}

} // namespace Rtf
