#include "TsCheck.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace {

// %1 to %99 as QString::arg() fills them, and %n of plural forms. Each is
// counted once: a translation may repeat or reorder them.
QSet<QString> placeholdersOf(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%(?:[1-9][0-9]?|n)"));
    QSet<QString> found;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// The trailing line break or blank a message is joined to others by.
QString endOf(const QString &text)
{
    qsizetype start = text.size();
    while (start > 0 && text.at(start - 1).isSpace())
        --start;
    return text.mid(start);
}

struct Message
{
    QString source;
    QStringList translations; // one, or one per plural form
    QString type;
};

Message readMessage(QXmlStreamReader &xml)
{
    Message message;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            QString text;
            bool plural = false;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isCharacters()) {
                    text += xml.text();
                } else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
                    plural = true;
                    message.translations.append(xml.readElementText());
                } else if (xml.isEndElement()) {
                    break;
                }
            }
            if (!plural)
                message.translations.append(text);
        } else {
            xml.skipCurrentElement();
        }
    }
    return message;
}

} // namespace

QString TsProblem::describe() const
{
    static const char *const kWhat[] = {"not a readable translation file", "not translated",
                                        "no longer in the sources", "placeholders differ",
                                        "ends differently"};
    return QStringLiteral("%1: \"%2\": %3").arg(context, source, QLatin1String(kWhat[kind]));
}

QList<TsProblem> CheckTranslationFile(QIODevice &device)
{
    QList<TsProblem> problems;
    QXmlStreamReader xml(&device);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("TS"))
        return {{TsProblem::Unreadable, {}, {}}};
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("context")) {
            xml.skipCurrentElement();
            continue;
        }
        QString context;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
                continue;
            }
            if (xml.name() != QLatin1String("message")) {
                xml.skipCurrentElement();
                continue;
            }
            const Message message = readMessage(xml);
            const auto report = [&](TsProblem::Kind kind) { problems.append({kind, context, message.source}); };
            if (message.type == QLatin1String("vanished") || message.type == QLatin1String("obsolete")) {
                report(TsProblem::Leftover);
                continue;
            }
            const bool empty = std::all_of(message.translations.cbegin(), message.translations.cend(),
                                           [](const QString &text) { return text.isEmpty(); });
            if (message.type == QLatin1String("unfinished") || message.translations.isEmpty() || empty) {
                report(TsProblem::Unfinished);
                continue;
            }
            const QSet<QString> wanted = placeholdersOf(message.source);
            const QString end = endOf(message.source);
            bool placeholdersDiffer = false;
            bool endsDiffer = false;
            for (const QString &translation : message.translations) {
                placeholdersDiffer = placeholdersDiffer || placeholdersOf(translation) != wanted;
                endsDiffer = endsDiffer || endOf(translation) != end;
            }
            if (placeholdersDiffer)
                report(TsProblem::Placeholders);
            if (endsDiffer)
                report(TsProblem::LineEnd);
        }
    }
    if (xml.hasError())
        problems.append({TsProblem::Unreadable, {}, xml.errorString()});
    return problems;
}
