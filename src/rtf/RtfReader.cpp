#include "rtf/RtfReader.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

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

const QColor kLinkColour(0x0b, 0x5c, 0xad);

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

double twipsToPixels(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips) / kTwipsPerPixel;
}

// ---------------------------------------------------------------------------
// Code pages

// Windows-1252 for 0x80..0x9f; the rest of the page matches Latin-1. Kept
// here so the most common code page never depends on what Qt was built with.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
    0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
    0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
};

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0; // ANSI or default: the document's code page
    }
}

QStringList decoderNames(int codePage)
{
    const QString n = QString::number(codePage);
    switch (codePage) {
    case 932: return {QStringLiteral("windows-31j"), QStringLiteral("Shift_JIS")};
    case 936: return {QStringLiteral("GBK"), QStringLiteral("cp936")};
    case 949: return {QStringLiteral("windows-949"), QStringLiteral("cp949"), QStringLiteral("EUC-KR")};
    case 950: return {QStringLiteral("Big5"), QStringLiteral("cp950")};
    case 1361: return {QStringLiteral("johab"), QStringLiteral("cp1361")};
    case 10000: return {QStringLiteral("macintosh")};
    case 10007: return {QStringLiteral("x-mac-cyrillic")};
    case 20866: return {QStringLiteral("KOI8-R")};
    case 21866: return {QStringLiteral("KOI8-U")};
    case 65001: return {QStringLiteral("UTF-8")};
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28605)
        return {QStringLiteral("ISO-8859-") + QString::number(codePage - 28590)};
    if (codePage < 1000)
        return {QStringLiteral("IBM") + n, QStringLiteral("cp") + n};
    return {QStringLiteral("windows-") + n, QStringLiteral("cp") + n};
}

class CodePages
{
public:
    QString decode(const QByteArray &bytes, int codePage)
    {
        if (codePage == kSymbolCodePage)
            return decodeSymbol(bytes);
        if (codePage != kAnsiCodePage) {
            if (QStringDecoder *decoder = decoderFor(codePage)) {
                decoder->resetState();
                return decoder->decode(bytes);
            }
        }
        return decode1252(bytes);
    }

private:
    static QString decode1252(const QByteArray &bytes)
    {
        QString text;
        text.reserve(bytes.size());
        for (const char c : bytes) {
            const auto b = static_cast<uchar>(c);
            text.append(b >= 0x80 && b < 0xa0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
        }
        return text;
    }

    // Symbol fonts place their glyphs in the private use area on Windows;
    // the one glyph that matters in documents, the bullet, is mapped to its
    // Unicode character so it shows in any font.
    static QString decodeSymbol(const QByteArray &bytes)
    {
        QString text;
        text.reserve(bytes.size());
        for (const char c : bytes) {
            const auto b = static_cast<uchar>(c);
            if (b < 0x80)
                text.append(QChar(b));
            else if (b == 0xb7)
                text.append(QChar(0x2022));
            else
                text.append(QChar(0xf000 + b));
        }
        return text;
    }

    QStringDecoder *decoderFor(int codePage)
    {
        const auto found = m_decoders.find(codePage);
        if (found != m_decoders.end())
            return found->second.get();
        // A document naming many code pages must not cost a converter each.
        if (codePage <= 0 || codePage > 65535 || int(m_decoders.size()) >= kMaxDecoders)
            return nullptr;
        std::unique_ptr<QStringDecoder> decoder;
        for (const QString &name : decoderNames(codePage)) {
            auto candidate = std::make_unique<QStringDecoder>(name.toLatin1().constData());
            if (candidate->isValid()) {
                decoder = std::move(candidate);
                break;
            }
        }
        QStringDecoder *raw = decoder.get();
        m_decoders.emplace(codePage, std::move(decoder));
        return raw;
    }

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

// Text gathered byte by byte and character by character. Bytes wait until
// something else arrives so that multi-byte code pages decode whole
// characters.
class TextRun
{
public:
    explicit TextRun(qsizetype limit = -1) : m_limit(limit) { }

    void addByte(char byte, int codePage, CodePages &codePages)
    {
        if (full())
            return;
        if (!m_bytes.isEmpty() && codePage != m_codePage)
            settle(codePages);
        m_codePage = codePage;
        m_bytes.append(byte);
    }

    void addChar(char32_t ch, CodePages &codePages)
    {
        if (full())
            return;
        settle(codePages);
        if (QChar::requiresSurrogates(ch)) {
            m_text.append(QChar(QChar::highSurrogate(ch)));
            m_text.append(QChar(QChar::lowSurrogate(ch)));
        } else {
            m_text.append(QChar(char16_t(ch)));
        }
    }

    bool isEmpty() const { return m_bytes.isEmpty() && m_text.isEmpty(); }

    QString take(CodePages &codePages)
    {
        settle(codePages);
        return std::exchange(m_text, QString());
    }

private:
    bool full() const { return m_limit >= 0 && m_text.size() + m_bytes.size() >= m_limit; }

    void settle(CodePages &codePages)
    {
        if (!m_bytes.isEmpty()) {
            m_text += codePages.decode(m_bytes, m_codePage);
            m_bytes.clear();
        }
    }

    QByteArray m_bytes;
    int m_codePage = kAnsiCodePage;
    QString m_text;
    qsizetype m_limit;
};

// Removes what a text document must not receive as plain text: control
// characters, lone surrogates and the characters QTextDocument uses for its
// own structure. Paragraph breaks come only from paragraph control words.
QString sanitized(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            } else {
                out.append(QChar::ReplacementCharacter);
            }
            continue;
        }
        if (c.isLowSurrogate()) {
            out.append(QChar::ReplacementCharacter);
            continue;
        }
        if (u == '\t' || u == QChar::LineSeparator) {
            out.append(c);
            continue;
        }
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == QChar::ParagraphSeparator)
            continue;
        if ((u >= 0xfdd0 && u <= 0xfdef) || u == 0xfffe || u == 0xffff
            || u == QChar::ObjectReplacementCharacter)
            continue;
        out.append(c);
    }
    return out;
}

// The target of a HYPERLINK field instruction: HYPERLINK "url" \l "place".
QString linkFromInstruction(const QString &instruction)
{
    struct Token { QString text; bool quoted; };
    std::vector<Token> tokens;
    const qsizetype n = instruction.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && instruction.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        if (instruction.at(i) == u'"') {
            const qsizetype start = ++i;
            while (i < n && instruction.at(i) != u'"')
                ++i;
            tokens.push_back({instruction.mid(start, i - start), true});
            ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !instruction.at(i).isSpace() && instruction.at(i) != u'"')
                ++i;
            tokens.push_back({instruction.mid(start, i - start), false});
        }
    }
    if (tokens.empty() || tokens.front().text.compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
        return {};

    QString target;
    QString place;
    for (size_t t = 1; t < tokens.size(); ++t) {
        const Token &token = tokens[t];
        if (!token.quoted && token.text.startsWith(u'\\')) {
            const QString option = token.text.mid(1).toLower();
            const bool takesArgument = option == u"l" || option == u"o" || option == u"t";
            if (takesArgument && t + 1 < tokens.size()) {
                ++t;
                if (option == u"l")
                    place = tokens[t].text;
            }
            continue;
        }
        if (target.isEmpty())
            target = token.text;
    }
    target = target.trimmed();
    place = place.trimmed();
    if (place.isEmpty())
        return target;
    return target + u'#' + place;
}

// ---------------------------------------------------------------------------
// Control words

enum class Word {
    Unknown,
    // destinations
    FontTable, ColourTable, Field, FieldInstruction, FieldResult, BookmarkStart, SkippedDestination,
    // document
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

Word lookUp(std::string_view name)
{
    const auto &table = wordTable();
    const auto found = table.find(name);
    return found == table.end() ? Word::Unknown : found->second;
}

// The character a word stands for, or 0 when it is not a character word.
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

// ---------------------------------------------------------------------------
// The reader

enum class Destination { Body, Skip, FontTable, ColourTable, FieldInstruction, BookmarkName };

struct CharacterState
{
    int font = -1; // -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    QFont::Capitalization capitalization = QFont::MixedCase;
    int foreground = 0; // colour table index; 0 is "automatic"
    int background = 0;
};

struct ParagraphState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<int> tabStops;
    bool inTable = false;
    bool rightToLeft = false;
    int shading = 0;
};

struct GroupState
{
    Destination destination = Destination::Body;
    CharacterState character;
    ParagraphState paragraph;
    int unicodeSkip = 1;
    int field = -1;
    QString link;
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's code page
    // The family's kind, for a stand-in when the named font is missing.
    QFont::StyleHint hint = QFont::AnyStyle;
};

class RtfParser
{
public:
    RtfParser(QByteArrayView data, QTextDocument &document)
        : m_data(data), m_document(document), m_cursor(&document)
    { }

    void parse(qsizetype start);

private:
    // Reading
    void readControl();
    void handleWord(std::string_view name, bool hasParameter, int parameter);
    void handleDocumentWord(Word word, bool hasParameter, int parameter);
    void openGroup();
    void closeGroup();
    void deliverByte(uchar byte, bool literal);
    void deliverChar(char32_t ch);
    void finishLastParagraph();
    void finish();

    // Tables of the document head
    void commitFont();
    void commitColour();
    QColor colour(int index) const;
    int bodyCodePage() const;

    // Output
    void flushText();
    void endParagraph();
    void applyParagraphFormat();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    void syncTable();
    void startTable();
    void leaveTable();
    void placeInCell();
    void shadeRow(int row);
    void endCell();
    void trimTrailingEmptyParagraph();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_done = false;

    QTextDocument &m_document;
    QTextCursor m_cursor;
    CodePages m_codePages;

    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0;
    bool m_starPending = false;
    int m_unicodeFallback = 0;

    int m_ansiCodePage = kAnsiCodePage;
    int m_defaultFont = 0;
    int m_defaultTab = kDefaultTabTwips;

    QHash<int, FontEntry> m_fonts;
    int m_fontNumber = -1; // the font table entry being read
    int m_fontCodePage = 0;
    QFont::StyleHint m_fontHint = QFont::AnyStyle;
    TextRun m_fontName{kMaxCollectedText};

    QList<QColor> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;

    std::vector<TextRun> m_fieldInstructions;
    TextRun m_bookmarkName{kMaxCollectedText};
    QStringList m_pendingAnchors;

    TextRun m_text;
    bool m_lastWasParagraph = false;
    bool m_lastParagraphFinished = false;

    // Tables
    QList<int> m_cellEdges; // twips, from the latest row definition
    QList<int> m_cellShadings; // colour table indexes, one per defined cell
    int m_pendingCellShading = 0;
    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    bool m_cellEnded = false;
    bool m_rowEnded = false;
};

void RtfParser::parse(qsizetype start)
{
    m_pos = start;
    const qsizetype size = m_data.size();
    while (m_pos < size && !m_done) {
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

    handleDocumentWord(word, hasParameter, parameter);
}

void RtfParser::handleDocumentWord(Word word, bool hasParameter, int parameter)
{
    const Destination destination = m_state.destination;
    const auto toggle = [&] { return !hasParameter || parameter != 0; };

    // Words that mean something inside the head tables.
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
        if (destination == Destination::ColourTable)
            m_red = std::clamp(parameter, 0, 255);
        return;
    case Word::Green:
        if (destination == Destination::ColourTable)
            m_green = std::clamp(parameter, 0, 255);
        return;
    case Word::Blue:
        if (destination == Destination::ColourTable)
            m_blue = std::clamp(parameter, 0, 255);
        return;
    case Word::Font:
        if (destination == Destination::FontTable) {
            commitFont();
            m_fontNumber = parameter;
            m_fontCodePage = 0;
            m_fontHint = QFont::AnyStyle;
            return;
        }
        break;
    default:
        break;
    }
    if (destination != Destination::Body)
        return;

    flushText();
    CharacterState &c = m_state.character;
    ParagraphState &p = m_state.paragraph;
    switch (word) {
    case Word::FontTable:
        m_state.destination = Destination::FontTable;
        m_fontNumber = -1;
        m_fontCodePage = 0;
        m_fontHint = QFont::AnyStyle;
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
            const QString link = linkFromInstruction(
                m_fieldInstructions[size_t(m_state.field)].take(m_codePages));
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

    case Word::Plain:
        c = CharacterState();
        break;
    case Word::Bold:
        c.bold = toggle();
        break;
    case Word::Italic:
        c.italic = toggle();
        break;
    case Word::Underline:
        c.underline = toggle() ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineDotted:
        c.underline = toggle() ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineDashed:
        c.underline = toggle() ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineWave:
        c.underline = toggle() ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineNone:
        c.underline = QTextCharFormat::NoUnderline;
        break;
    case Word::Strike:
        c.strike = toggle();
        break;
    case Word::Caps:
        c.capitalization = toggle() ? QFont::AllUppercase : QFont::MixedCase;
        break;
    case Word::SmallCaps:
        c.capitalization = toggle() ? QFont::SmallCaps : QFont::MixedCase;
        break;
    case Word::Hidden:
        c.hidden = toggle();
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
        p.leftIndent = std::clamp(parameter, -kMaxTwips, kMaxTwips);
        break;
    case Word::RightIndent:
        p.rightIndent = std::clamp(parameter, -kMaxTwips, kMaxTwips);
        break;
    case Word::FirstIndent:
        p.firstIndent = std::clamp(parameter, -kMaxTwips, kMaxTwips);
        break;
    case Word::SpaceBefore:
        p.spaceBefore = std::clamp(parameter, 0, kMaxTwips);
        break;
    case Word::SpaceAfter:
        p.spaceAfter = std::clamp(parameter, 0, kMaxTwips);
        break;
    case Word::LineSpacing:
        p.lineSpacing = std::clamp(parameter, -kMaxTwips, kMaxTwips);
        break;
    case Word::LineMultiple:
        p.lineMultiple = toggle();
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

    case Word::InTable:
        p.inTable = true;
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

void RtfParser::commitFont()
{
    const QString name = m_fontName.take(m_codePages).trimmed();
    if (m_fontNumber < 0)
        return;
    if (m_fonts.size() < kMaxFonts || m_fonts.contains(m_fontNumber))
        m_fonts.insert(m_fontNumber, FontEntry{name, m_fontCodePage, m_fontHint});
    m_fontNumber = -1;
    m_fontCodePage = 0;
    m_fontHint = QFont::AnyStyle;
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

QTextCharFormat RtfParser::charFormat() const
{
    const CharacterState &c = m_state.character;
    QTextCharFormat format;
    const int number = c.font >= 0 ? c.font : m_defaultFont;
    const auto font = m_fonts.constFind(number);
    if (font != m_fonts.constEnd()) {
        if (!font->name.isEmpty())
            format.setFontFamilies({font->name});
        if (font->hint != QFont::AnyStyle)
            format.setFontStyleHint(font->hint);
    }
    format.setFontPointSize(c.halfPoints / 2.0);
    format.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(c.italic);
    format.setUnderlineStyle(c.underline);
    format.setFontStrikeOut(c.strike);
    if (c.capitalization != QFont::MixedCase)
        format.setFontCapitalization(c.capitalization);
    if (c.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(c.vertical);
    const QColor foreground = colour(c.foreground);
    if (foreground.isValid())
        format.setForeground(foreground);
    const QColor background = colour(c.background);
    if (background.isValid())
        format.setBackground(background);
    if (!m_state.link.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(m_state.link);
        if (!foreground.isValid())
            format.setForeground(kLinkColour);
        if (c.underline == QTextCharFormat::NoUnderline)
            format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    }
    if (!m_pendingAnchors.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorNames(m_pendingAnchors);
    }
    return format;
}

QTextBlockFormat RtfParser::blockFormat() const
{
    const ParagraphState &p = m_state.paragraph;
    QTextBlockFormat format;
    format.setAlignment(p.alignment);
    const int left = std::max(p.leftIndent, 0);
    format.setLeftMargin(twipsToPixels(left));
    format.setRightMargin(twipsToPixels(std::max(p.rightIndent, 0)));
    // A hanging first line may reach back to the margin but not beyond it.
    format.setTextIndent(twipsToPixels(std::max(p.firstIndent, -left)));
    format.setTopMargin(twipsToPixels(p.spaceBefore));
    format.setBottomMargin(twipsToPixels(p.spaceAfter));
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0)
            format.setLineHeight(std::clamp(p.lineSpacing * 100.0 / 240.0, 50.0, 500.0),
                                 QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            format.setLineHeight(twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(twipsToPixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    QList<int> stops = p.tabStops;
    // A hanging indent has an implied tab stop where the other lines start.
    if (p.firstIndent < 0 && left > 0 && !stops.contains(left))
        stops.append(left);
    std::sort(stops.begin(), stops.end());
    // RTF measures tab stops from the paragraph's left edge, Qt from where
    // the line starts; tabs are met on the first line, so measure from there.
    const int firstLineStart = left + std::max(p.firstIndent, -left);
    QList<QTextOption::Tab> tabs;
    for (const int stop : std::as_const(stops)) {
        if (stop > firstLineStart)
            tabs.append(QTextOption::Tab(twipsToPixels(stop - firstLineStart), QTextOption::LeftTab));
    }
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    if (p.rightToLeft)
        format.setLayoutDirection(Qt::RightToLeft);
    const QColor shading = colour(p.shading);
    if (shading.isValid())
        format.setBackground(shading);
    return format;
}

void RtfParser::flushText()
{
    if (m_text.isEmpty())
        return;
    const QString text = sanitized(m_text.take(m_codePages));
    if (text.isEmpty())
        return;
    syncTable();
    m_cursor.insertText(text, charFormat());
    m_pendingAnchors.clear();
    m_lastWasParagraph = false;
}

void RtfParser::applyParagraphFormat()
{
    m_cursor.setBlockFormat(blockFormat());
    // The first paragraph of a table cell carries the cell's own format in
    // its mark; it keeps it.
    if (m_table) {
        const QTextTableCell cell = m_table->cellAt(m_cursor);
        if (cell.isValid() && m_cursor.block().position() == cell.firstPosition())
            return;
    }
    QTextCharFormat mark = charFormat();
    mark.setAnchor(false);
    mark.clearProperty(QTextFormat::AnchorHref);
    mark.clearProperty(QTextFormat::AnchorName);
    m_cursor.setBlockCharFormat(mark);
}

void RtfParser::endParagraph()
{
    flushText();
    syncTable();
    applyParagraphFormat();
    m_cursor.insertBlock();
    m_lastWasParagraph = true;
}

void RtfParser::syncTable()
{
    if (!m_state.paragraph.inTable) {
        if (m_table)
            leaveTable();
        return;
    }
    if (!m_table) {
        startTable();
        return;
    }
    if (m_rowEnded) {
        m_table->appendRows(1);
        m_row = m_table->rows() - 1;
        m_column = 0;
        m_rowEnded = false;
        m_cellEnded = false;
        shadeRow(m_row);
        placeInCell();
    } else if (m_cellEnded) {
        m_cellEnded = false;
        placeInCell();
    }
}

void RtfParser::startTable()
{
    const int columns = std::max<int>(1, std::min<int>(int(m_cellEdges.size()), kMaxTableColumns));
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(0xa0, 0xa8, 0xb8));
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    if (!m_cellEdges.isEmpty()) {
        QList<QTextLength> widths;
        int previous = 0;
        for (const int edge : std::as_const(m_cellEdges)) {
            widths.append(QTextLength(QTextLength::FixedLength, std::max(edge - previous, 15) / kTwipsPerPixel));
            previous = std::max(edge, previous);
        }
        format.setColumnWidthConstraints(widths);
    }
    // A table after a finished paragraph goes right after it: the empty
    // paragraph the paragraph end opened would show as a blank line above it.
    const QTextBlock block = m_cursor.block();
    if (block.length() == 1 && block.previous().isValid() && !QTextCursor(block.previous()).currentTable()
        && QTextCursor(block.previous()).currentFrame() == m_cursor.currentFrame()) {
        const QTextBlockFormat format = block.previous().blockFormat();
        m_cursor.deletePreviousChar();
        m_cursor.setBlockFormat(format);
    }
    m_table = m_cursor.insertTable(1, columns, format);
    m_row = 0;
    m_column = 0;
    m_cellEnded = false;
    m_rowEnded = false;
    shadeRow(0);
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
}

void RtfParser::shadeRow(int row)
{
    const int columns = std::min<int>(m_table->columns(), int(m_cellShadings.size()));
    for (int column = 0; column < columns; ++column) {
        const QColor shading = colour(m_cellShadings.at(column));
        if (!shading.isValid())
            continue;
        QTextTableCell cell = m_table->cellAt(row, column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        format.setBackground(shading);
        cell.setFormat(format);
    }
}

void RtfParser::placeInCell()
{
    const int columns = m_table->columns();
    if (m_column >= columns) {
        const int wanted = std::min(m_column + 1, kMaxTableColumns);
        if (wanted > columns)
            m_table->appendColumns(wanted - columns);
        m_column = std::min(m_column, m_table->columns() - 1);
    }
    m_cursor = m_table->cellAt(m_row, m_column).lastCursorPosition();
}

void RtfParser::endCell()
{
    if (!m_state.paragraph.inTable && !m_table) {
        deliverChar(U'\t'); // a cell end outside any table separates like a tab
        return;
    }
    flushText();
    syncTable();
    if (!m_table)
        return;
    applyParagraphFormat();
    ++m_column;
    m_cellEnded = true;
}

void RtfParser::leaveTable()
{
    m_cursor.setPosition(std::min(m_table->lastPosition() + 1, m_document.characterCount() - 1));
    m_table = nullptr;
    m_cellEnded = false;
    m_rowEnded = false;
}

void RtfParser::trimTrailingEmptyParagraph()
{
    // "...\par}" ends the last paragraph; it does not start an empty one.
    const QTextBlock last = m_document.lastBlock();
    const QTextBlock previous = last.previous();
    if (!m_lastWasParagraph || last.length() > 1 || !previous.isValid())
        return;
    QTextCursor atEnd(last);
    QTextCursor before(previous);
    if (atEnd.currentTable() || before.currentTable() || atEnd.currentFrame() != before.currentFrame())
        return;
    const QTextBlockFormat format = previous.blockFormat();
    const QTextCharFormat mark = previous.charFormat();
    atEnd.deletePreviousChar();
    atEnd.setBlockFormat(format);
    atEnd.setBlockCharFormat(mark);
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
    trimTrailingEmptyParagraph();
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(twipsToPixels(m_defaultTab));
    m_document.setDefaultTextOption(option);
}

qsizetype rtfStart(QByteArrayView data)
{
    qsizetype start = 0;
    while (start < data.size() && (data[start] == ' ' || data[start] == '\t' || data[start] == '\r'
                                   || data[start] == '\n'))
        ++start;
    return data.sliced(start).startsWith("{\\rtf") ? start : -1;
}

} // namespace

bool ReadRtfDocument(QByteArrayView rtf, QTextDocument &document)
{
    const bool undoRedo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const qsizetype start = rtfStart(rtf);
    if (start >= 0) {
        RtfParser parser(rtf, document);
        parser.parse(start);
    }
    document.setUndoRedoEnabled(undoRedo);
    return start >= 0;
}
