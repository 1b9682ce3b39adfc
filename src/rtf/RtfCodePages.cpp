#include "rtf/RtfCodePages.h"

#include <QStringDecoder>
#include <QStringList>

#include <array>

namespace Rtf {

namespace {

// Windows-1252 for 0x80..0x9f; the rest of the page matches Latin-1. Kept
// here so the most common code page never depends on what Qt was built with.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
    0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
    0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
};

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

QString decode1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<uchar>(c);
        text.append(b >= 0x80 && b < 0xa0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

// Symbol fonts place their glyphs in the private use area on Windows; the
// one glyph that matters in documents, the bullet, is mapped to its Unicode
// character so it shows in any font.
QString decodeSymbol(const QByteArray &bytes)
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

} // namespace

int codePageOfCharset(int charset)
{
    switch (charset) {
    // Word processors read a font marked ANSI as Windows-1252 whatever code
    // page the document declares.
    case 0: return kAnsiCodePage;
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
    default: return 0; // the default set (1) and unknown ones
    }
}

CodePages::CodePages() = default;
CodePages::~CodePages() = default;

QString CodePages::decode(const QByteArray &bytes, int codePage)
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

QStringDecoder *CodePages::decoderFor(int codePage)
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

void TextRun::addByte(char byte, int codePage, CodePages &codePages)
{
    if (full())
        return;
    if (!m_bytes.isEmpty() && codePage != m_codePage)
        settle(codePages);
    m_codePage = codePage;
    m_bytes.append(byte);
}

void TextRun::addChar(char32_t ch, CodePages &codePages)
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

QString TextRun::take(CodePages &codePages)
{
    settle(codePages);
    return std::exchange(m_text, QString());
}

void TextRun::settle(CodePages &codePages)
{
    if (!m_bytes.isEmpty()) {
        m_text += codePages.decode(m_bytes, m_codePage);
        m_bytes.clear();
    }
}

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
} // namespace Rtf
