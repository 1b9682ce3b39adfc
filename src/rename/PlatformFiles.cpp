#include "rename/PlatformFiles.h"

#include "core/AsciiFolding.h"
#include "core/FolderHandle.h"
#include "rename/RunText.h"

#include <algorithm>
#include <cstring>

namespace PlatformFiles {

QString foldedName(QStringView name)
{
    // Most names are plain ASCII: upper-casing those needs no Unicode tables.
    const char16_t *text = name.utf16();
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] >= 0x80)
            return name.toString().toUpper();
    }
    QString folded(size, Qt::Uninitialized);
    std::transform(text, text + size, reinterpret_cast<char16_t *>(folded.data()), AsciiFolding::toUpper);
    return folded;
}

bool sameFoldedName(QStringView a, QStringView b)
{
    const char16_t *x = a.utf16();
    const char16_t *y = b.utf16();
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (x[i] >= 0x80 || y[i] >= 0x80)
            return foldedName(a) == foldedName(b);
        // Up to here both are ASCII, which folds one character to one, so
        // a difference here is a difference in the folded names too.
        if (AsciiFolding::toUpper(x[i]) != AsciiFolding::toUpper(y[i]))
            return false;
    }
    if (a.size() == b.size())
        return true;
    // What is left of the longer one may still be non-ASCII that folds to
    // nothing shorter; only the full comparison can tell.
    const QStringView longer = a.size() > b.size() ? a : b;
    for (qsizetype i = common; i < longer.size(); ++i) {
        if (longer.at(i).unicode() >= 0x80)
            return foldedName(a) == foldedName(b);
    }
    return false;
}

namespace {

// Both halves of the full product: each bit of either factor reaches the
// whole result.
#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Product;
#endif

inline quint64 mixBits(quint64 a, quint64 b)
{
#if defined(__SIZEOF_INT128__)
    const Product product = static_cast<Product>(a) * b;
    return quint64(product) ^ quint64(product >> 64);
#else
    const quint64 product = a * b;
    return product ^ (product >> 32) ^ (a >> 29);
#endif
}

constexpr quint64 kStep = 0xA0761D6478BD642FULL;
constexpr quint64 kLast = 0xE7037ED1A0B428DBULL;

quint64 hashFinish(quint64 state, quint64 tail, qsizetype size)
{
    return mixBits(mixBits(state ^ tail, kStep) ^ quint64(size), kLast);
}

// The last units of a text, fewer than four, one in each sixteen bits; the
// rest zero.
quint64 tailOf(const char16_t *text, qsizetype count)
{
    quint64 tail = 0;
    for (qsizetype i = 0; i < count; ++i)
        tail |= quint64(text[i]) << (16 * i);
    return tail;
}

// The hash of text already in its folded form.
quint64 hashFolded(const char16_t *text, qsizetype size, quint64 seed)
{
    quint64 state = seed ^ kLast;
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, text + i, sizeof chunk);
        state = mixBits(state ^ chunk, kStep);
    }
    return hashFinish(state, tailOf(text + i, size - i), size);
}

} // namespace

size_t foldedNameHash(QStringView name, size_t seed)
{
    // The folded form of a plain ASCII name is the name with its letters in
    // upper case: hashed four units at a time, folding on the way.
    const auto foldAscii = AsciiFolding::lanesToUpper<16>;
    const char16_t *text = name.utf16();
    const qsizetype size = name.size();
    quint64 state = quint64(seed) ^ kLast;
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        quint64 chunk;
        std::memcpy(&chunk, text + i, sizeof chunk);
        if (AsciiFolding::anyBeyondAscii<16>(chunk))
            break;
        state = mixBits(state ^ foldAscii(chunk), kStep);
    }
    if (i + 4 > size) {
        const quint64 tail = tailOf(text + i, size - i);
        if (!AsciiFolding::anyBeyondAscii<16>(tail))
            return size_t(hashFinish(state, foldAscii(tail), size));
    }
    const QString folded = foldedName(name);
    return size_t(hashFolded(reinterpret_cast<const char16_t *>(folded.constData()), folded.size(), seed));
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/');
}

QString nameProblem(const QString &name, int maxLength, bool *leavesFolder)
{
    *leavesFolder = false;
    if (name.isEmpty())
        return RunText::tr("the new name is empty");
    // One look at every unit; a run checks the name of every file.
    const char16_t *units = reinterpret_cast<const char16_t *>(name.utf16());
    bool slash = false;
    bool nul = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        slash |= units[i] == u'/';
        nul |= units[i] == 0;
    }
    if (slash || (name.size() <= 2 && (name == QLatin1String(".") || name == QLatin1String("..")))) {
        *leavesFolder = true;
        return RunText::tr("the new name leaves the folder");
    }
    if (nul)
        return RunText::tr("the new name holds a NUL character, which file names cannot hold");
    // A UTF-16 unit never takes more than three bytes, so short names need
    // no encoding to be measured.
    if (name.size() * 3 > maxLength && FolderHandle::encodeName(name).size() > maxLength)
        return RunText::tr("the new name is longer than the file system allows");
    return {};
}

} // namespace PlatformFiles
