#include "core/FolderHandle.h"

#include <algorithm>

// The one pair that turns file names into text and back (see decodeName()
// in the header). A name's bytes that are not valid UTF-8 become the
// unpaired surrogates U+DC80..U+DCFF, which no valid UTF-8 decodes to.

namespace {

constexpr char16_t kRawByteBase = 0xDC00; // byte b (0x80..0xFF) is kRawByteBase + b

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence at bytes[0..left), 0 when there is
// none: overlong forms, surrogates and code points past U+10FFFF are no text.
int sequenceLength(const unsigned char *bytes, qsizetype left)
{
    const unsigned char lead = bytes[0];
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && isContinuation(bytes[1]) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return left >= 3 && isContinuation(bytes[1], low, high) && isContinuation(bytes[2]) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return left >= 4 && isContinuation(bytes[1], low, high) && isContinuation(bytes[2])
                && isContinuation(bytes[3])
            ? 4
            : 0;
    }
    return 0;
}

bool isRawByteUnit(char16_t unit)
{
    return unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF;
}

} // namespace

void FolderHandle::decodeName(QByteArrayView raw, QVarLengthArray<char16_t, 256> &out)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(raw.data());
    const qsizetype size = raw.size();
    out.resize(size); // never more units than bytes
    char16_t *units = out.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            units[n++] = lead;
            ++i;
            continue;
        }
        const int length = sequenceLength(bytes + i, size - i);
        if (length == 0) {
            units[n++] = char16_t(kRawByteBase + lead);
            ++i;
            continue;
        }
        char32_t c = lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (bytes[i + k] & 0x3F);
        if (c >= 0x10000) {
            units[n++] = QChar::highSurrogate(c);
            units[n++] = QChar::lowSurrogate(c);
        } else {
            units[n++] = char16_t(c);
        }
        i += length;
    }
    out.resize(n);
}

QString FolderHandle::decodeName(QByteArrayView raw)
{
    QVarLengthArray<char16_t, 256> units;
    decodeName(raw, units);
    return QString(reinterpret_cast<const QChar *>(units.constData()), units.size());
}

const char *FolderHandle::encodeName(QStringView name, QByteArray &buffer)
{
    buffer.resize(name.size() * 3 + 1);
    auto *out = reinterpret_cast<unsigned char *>(buffer.data());
    const char16_t *units = name.utf16();
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            *out++ = u;
        } else if (u < 0x800) {
            *out++ = 0xC0 | (u >> 6);
            *out++ = 0x80 | (u & 0x3F);
        } else if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            const char32_t c = QChar::surrogateToUcs4(u, units[++i]);
            *out++ = 0xF0 | (c >> 18);
            *out++ = 0x80 | ((c >> 12) & 0x3F);
            *out++ = 0x80 | ((c >> 6) & 0x3F);
            *out++ = 0x80 | (c & 0x3F);
        } else if (isRawByteUnit(u)) {
            *out++ = u - kRawByteBase;
        } else {
            // Any other unpaired surrogate is no character: U+FFFD, as a
            // UTF-8 encoder writes it.
            const char16_t c = QChar::isSurrogate(u) ? char16_t(QChar::ReplacementCharacter) : u;
            *out++ = 0xE0 | (c >> 12);
            *out++ = 0x80 | ((c >> 6) & 0x3F);
            *out++ = 0x80 | (c & 0x3F);
        }
    }
    *out = 0;
    buffer.truncate(reinterpret_cast<char *>(out) - buffer.constData());
    return buffer.constData();
}

QByteArray FolderHandle::encodeName(QStringView name)
{
    QByteArray buffer;
    encodeName(name, buffer);
    return buffer;
}

bool FolderHandle::holdsRawBytes(QStringView name)
{
    return std::any_of(name.utf16(), name.utf16() + name.size(), isRawByteUnit);
}

QString FolderHandle::displayName(const QString &name)
{
    if (!holdsRawBytes(name))
        return name;
    QString shown;
    shown.reserve(name.size() + 8);
    for (const QChar c : name) {
        if (!isRawByteUnit(c.unicode())) {
            shown += c;
            continue;
        }
        const unsigned byte = c.unicode() - kRawByteBase;
        shown += u'\\';
        shown += QChar(u'0' + ((byte >> 6) & 7));
        shown += QChar(u'0' + ((byte >> 3) & 7));
        shown += QChar(u'0' + (byte & 7));
    }
    return shown;
}
