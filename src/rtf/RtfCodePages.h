#pragma once

#include <QByteArray>
#include <QString>

#include "rtf/RtfLimits.h"

#include <map>
#include <memory>

class QStringDecoder;

namespace Rtf {

// The code page a font's character set names, or 0 when the set names none
// (ANSI, default): the text is then in the document's code page.
int codePageOfCharset(int charset);

// Decodes 8-bit text of a Windows code page, with one converter per code
// page kept for the whole document.
class CodePages
{
public:
    CodePages();
    ~CodePages();

    QString decode(const QByteArray &bytes, int codePage);

private:
    QStringDecoder *decoderFor(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

// Text gathered byte by byte and character by character. Bytes wait until
// something else arrives so that multi-byte code pages decode whole
// characters.
class TextRun
{
public:
    explicit TextRun(qsizetype limit = -1) : m_limit(limit) { }

    void addByte(char byte, int codePage, CodePages &codePages);
    void addChar(char32_t ch, CodePages &codePages);
    bool isEmpty() const { return m_bytes.isEmpty() && m_text.isEmpty(); }
    QString take(CodePages &codePages);

private:
    bool full() const { return m_limit >= 0 && m_text.size() + m_bytes.size() >= m_limit; }
    void settle(CodePages &codePages);

    QByteArray m_bytes;
    int m_codePage = kAnsiCodePage;
    QString m_text;
    qsizetype m_limit;
};

// Removes what a text document must not receive as plain text: control
// characters, lone surrogates and the characters QTextDocument uses for its
// own structure. Paragraph breaks come only from paragraph control words.
QString sanitized(const QString &text);

} // namespace Rtf
