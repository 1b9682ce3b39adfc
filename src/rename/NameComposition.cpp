#include "rename/NameComposition.h"

#include <QCoreApplication>

#include <algorithm>
#include <initializer_list>

namespace {

// A name, prefix or suffix must hold something; a lone blank is what an
// accidental space bar leaves, so it counts as nothing. Two blanks are taken
// as meant.
bool isMissingText(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

} // namespace

std::optional<QString> ValidateRenameRequest(const RenameRequest &request)
{
    const auto needName = [&]() -> std::optional<QString> {
        if (isMissingText(request.newText))
            return QCoreApplication::translate("RenameRequest", "You must enter a file name.");
        return std::nullopt;
    };
    const auto needExtension = [&]() -> std::optional<QString> {
        if (request.newExtension == kExtensionPlaceholder)
            return QCoreApplication::translate("RenameRequest", "You must enter a file extension.");
        return std::nullopt;
    };
    const auto needNumber = [&]() -> std::optional<QString> {
        if (request.numberText.isEmpty())
            return QCoreApplication::translate("RenameRequest",
                                               "You must choose a starting number to increment filenames.");
        return std::nullopt;
    };

    switch (request.type) {
    case BothNameAndExtension:
        if (auto message = needName())
            return message;
        if (auto message = needExtension())
            return message;
        return needNumber();
    case ExtensionOnly:
        return needExtension();
    case AddPrefix:
        if (isMissingText(request.newText))
            return QCoreApplication::translate("RenameRequest", "You must enter prefix.");
        return std::nullopt;
    case AddSuffix:
        if (isMissingText(request.newText))
            return QCoreApplication::translate("RenameRequest", "You must enter suffix.");
        return std::nullopt;
    case NoTypeChosen:
    case NameOnly:
    default:
        if (auto message = needName())
            return message;
        return needNumber();
    }
}

namespace {

// The extension of a file name: from its last dot to the end.
QStringView extensionOf(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringView() : fileName.mid(dot);
}

} // namespace

SplitName SplitExtension(const QString &fileName)
{
    const QStringView extension = extensionOf(fileName);
    return {fileName.left(fileName.size() - extension.size()), extension.toString()};
}

int ZeroFillWidth(int entryCount)
{
    // One digit more than the entry count has, so that every number of the
    // list and the ones that follow it line up; never fewer than three.
    int digits = 1;
    for (int rest = entryCount; rest >= 10; rest /= 10)
        ++digits;
    return qMax(3, digits + 1);
}

QString PadNumber(const QString &numberText, int entryCount)
{
    const qsizetype width = ZeroFillWidth(entryCount);
    if (numberText.size() >= width)
        return numberText;
    return QString(width - numberText.size(), QLatin1Char('0')) + numberText;
}

namespace {

// The pieces one after another, built in one allocation: this runs once for
// every file of a run.
QString joined(std::initializer_list<QStringView> pieces)
{
    qsizetype size = 0;
    for (QStringView piece : pieces)
        size += piece.size();
    QString result(size, Qt::Uninitialized);
    QChar *out = result.data();
    for (QStringView piece : pieces) {
        std::copy(piece.begin(), piece.end(), out);
        out += piece.size();
    }
    return result;
}

} // namespace

QString ComposeNewName(const QString &fileName, const RenameRequest &request, const QString &numberText)
{
    static constexpr char16_t zeros[] = u"000000000000"; // the widest fill: 10 digits + 1
    const qsizetype fill = request.pad ? qMax<qsizetype>(0, ZeroFillWidth(request.entryCount) - numberText.size()) : 0;
    const QStringView fillZeros(zeros, fill);
    const QStringView extension = extensionOf(fileName);
    const QStringView base = QStringView(fileName).chopped(extension.size());
    const QStringView dot(u".");

    switch (request.type) {
    case BothNameAndExtension:
        return joined({request.newText, fillZeros, numberText, dot, request.newExtension});
    case ExtensionOnly:
        return joined({base, dot, request.newExtension});
    case AddPrefix:
        return joined({request.newText, fileName});
    case AddSuffix:
        return joined({base, request.newText, extension});
    case NoTypeChosen:
    case NameOnly:
    default:
        return joined({request.newText, fillZeros, numberText, extension});
    }
}
