#include "rename/NameComposition.h"

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
            return QStringLiteral("You must enter a file name.");
        return std::nullopt;
    };
    const auto needExtension = [&]() -> std::optional<QString> {
        if (request.newExtension == kExtensionPlaceholder)
            return QStringLiteral("You must enter a file extension.");
        return std::nullopt;
    };
    const auto needNumber = [&]() -> std::optional<QString> {
        if (request.numberText.isEmpty())
            return QStringLiteral("You must choose a starting number to increment filenames.");
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
            return QStringLiteral("You must enter prefix.");
        return std::nullopt;
    case AddSuffix:
        if (isMissingText(request.newText))
            return QStringLiteral("You must enter suffix.");
        return std::nullopt;
    case NoTypeChosen:
    case NameOnly:
    default:
        if (auto message = needName())
            return message;
        return needNumber();
    }
}

SplitName SplitExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

int ZeroFillWidth(int entryCount)
{
    if (entryCount < 100)
        return 3;
    if (entryCount < 1000)
        return 4;
    if (entryCount < 10000)
        return 5;
    if (entryCount < 100000)
        return 6;
    return 0;
}

QString PadNumber(const QString &numberText, int entryCount)
{
    const qsizetype width = ZeroFillWidth(entryCount);
    if (numberText.size() >= width)
        return numberText;
    return QString(width - numberText.size(), QLatin1Char('0')) + numberText;
}

QString ComposeNewName(const QString &fileName, const RenameRequest &request, const QString &numberText)
{
    const QString number = request.pad ? PadNumber(numberText, request.entryCount) : numberText;
    const QLatin1Char dot('.');

    switch (request.type) {
    case BothNameAndExtension:
        return request.newText + number + dot + request.newExtension;
    case ExtensionOnly:
        return SplitExtension(fileName).base + dot + request.newExtension;
    case AddPrefix:
        return request.newText + fileName;
    case AddSuffix: {
        const SplitName parts = SplitExtension(fileName);
        return parts.base + request.newText + parts.extension;
    }
    case NoTypeChosen:
    case NameOnly:
    default:
        return request.newText + number + SplitExtension(fileName).extension;
    }
}
