#include "rtf/RtfFieldLink.h"

#include <vector>

namespace Rtf {

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
} // namespace Rtf
