#include "rtf/RtfParser.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace Rtf {

namespace {
const QColor kLinkColour(0x0b, 0x5c, 0xad);
} // namespace

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
    QString text = sanitized(m_text.take(m_codePages));
    if (text.isEmpty())
        return;
    syncTable();
    if (m_done)
        return;
    const int cap = m_table ? kMaxCellParagraphCharacters : kMaxParagraphCharacters;
    const qsizetype room = cap - (m_cursor.block().length() - 1);
    if (text.size() > room) {
        qsizetype keep = std::max<qsizetype>(room, 0);
        if (keep > 0 && text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
        if (text.isEmpty())
            return;
    }
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
    if (m_done)
        return;
    applyParagraphFormat();
    m_cursor.insertBlock();
    m_lastWasParagraph = true;
    countBlocks(1);
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
        startRow();
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
    countBlocks(columns);
    m_row = 0;
    m_column = 0;
    m_cellEnded = false;
    m_rowEnded = false;
    shadeRow(0);
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
}

void RtfParser::startRow()
{
    if (m_row + 1 >= kMaxTableRows || (m_row + 2) * m_table->columns() > kMaxTableCells) {
        m_done = true;
        return;
    }
    // Rows are added in batches that double the table: every row added on
    // its own would make the table index all its cells again.
    const int rows = m_table->rows();
    if (m_row + 1 >= rows)
        m_table->appendRows(std::clamp(rows, 1, kMaxTableRows - rows));
    ++m_row;
    m_column = 0;
    m_rowEnded = false;
    m_cellEnded = false;
    shadeRow(m_row);
    placeInCell();
    countBlocks(m_table->columns());
}

void RtfParser::dropSpareRows()
{
    const int spare = m_table->rows() - (m_row + 1);
    if (spare > 0)
        m_table->removeRows(m_row + 1, spare);
}

void RtfParser::countBlocks(int count)
{
    m_blocks += count;
    if (m_blocks >= kMaxBlocks)
        m_done = true;
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
        // A column is added to every row, the spare ones too.
        const int added = (wanted - columns) * m_table->rows();
        if (wanted > columns && m_blocks + added < kMaxBlocks && wanted * m_table->rows() <= kMaxTableCells) {
            m_table->appendColumns(wanted - columns);
            m_blocks += added;
        }
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
    if (!m_table || m_done)
        return;
    applyParagraphFormat();
    ++m_column;
    m_cellEnded = true;
}

void RtfParser::leaveTable()
{
    dropSpareRows();
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

} // namespace Rtf
