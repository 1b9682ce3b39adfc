#pragma once

#include "rtf/RtfCodePages.h"
#include "rtf/RtfLimits.h"
#include "rtf/RtfWords.h"

#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTextCursor>
#include <QTextFormat>

#include <atomic>
#include <string_view>
#include <vector>

class QTextDocument;
class QTextTable;

namespace Rtf {

// Limits on what the document receives. They keep the cost of a hostile
// file within seconds, on the reading thread and in the window that lays it
// out, and its memory within a small multiple of its size; no real help
// document comes near them. Reading ends at the block and table caps; text
// beyond a paragraph's cap is left out of it. A table is laid out as a whole,
// so its cells are capped lower than paragraphs, and so is the text of a
// paragraph in a cell, which wraps in a narrow column.
constexpr int kMaxBlocks = 100000;              // paragraphs and table cells
constexpr int kMaxTableRows = 5000;
constexpr int kMaxTableCells = 10000;
constexpr int kMaxParagraphCharacters = 262144;
constexpr int kMaxCellParagraphCharacters = 8192;

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

// Reads RTF into a text document through a cursor. One parser reads one
// document; the control words of each group of the format have a handler of
// their own (RtfControlWords.cpp), the text and structure that reach the
// document are written in RtfDocumentOutput.cpp.
class RtfParser
{
public:
    RtfParser(QByteArrayView data, QTextDocument &document, const std::atomic<bool> *stop);

    void parse(qsizetype start);

private:
    // Reading
    void readControl();
    void openGroup();
    void closeGroup();
    void deliverByte(uchar byte, bool literal);
    void deliverChar(char32_t ch);
    void finishLastParagraph();
    void finish();

    // Control words, by group
    void handleWord(std::string_view name, bool hasParameter, int parameter);
    void handleDestinationWord(Word word);
    void handleHeadWord(Word word, int parameter);
    void handleCharacterWord(Word word, bool hasParameter, int parameter);
    void handleParagraphWord(Word word, bool hasParameter, int parameter);
    void handleTableWord(Word word, int parameter);

    // Tables of the document head
    void beginFont(int number);
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
    void startRow();
    void leaveTable();
    void dropSpareRows();
    void placeInCell();
    void shadeRow(int row);
    void endCell();
    void trimTrailingEmptyParagraph();
    void countBlocks(int count);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_done = false;
    const std::atomic<bool> *m_stop = nullptr;

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
    int m_blocks = 0;

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

} // namespace Rtf
