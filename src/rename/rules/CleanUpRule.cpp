#include "rename/rules/CleanUpRule.h"

#include "rename/rules/RuleText.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace {

icu::UnicodeString toIcu(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.utf16()), int32_t(text.size()));
}

QString fromIcu(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

bool isReservedDeviceName(QStringView stem)
{
    if (stem.size() != 3 && stem.size() != 4)
        return false;
    static const char *const names[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char *name : names) {
        if (stem.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    // COM1..COM9 and LPT1..LPT9; Windows reserves them with any extension.
    return stem.size() == 4 && stem.at(3) >= u'1' && stem.at(3) <= u'9'
        && (stem.left(3).compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0
            || stem.left(3).compare(QLatin1String("LPT"), Qt::CaseInsensitive) == 0);
}

// The longest start of text that fits in maxBytes bytes of UTF-8, never
// cutting a character in two.
QString fittingStart(const QString &text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const char16_t unit = text.at(i).unicode();
        const qsizetype size = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

bool refusedByWindows(char16_t u)
{
    switch (u) {
    case u'<': case u'>': case u':': case u'"': case u'/': case u'\\': case u'|': case u'?': case u'*':
    case 0x7f:
        return true;
    default:
        return u < 0x20;
    }
}

// Bytes of text in UTF-8, without making them; a lone surrogate counts
// one, as toUtf8() writes it ("?").
qsizetype utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += unit < 0x80 || QChar::isSurrogate(unit) ? 1 : unit < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

} // namespace

CleanUpRule::CleanUpRule(const RenameRule &rule)
    : RuleStep(rule.scope)
    , m_form(rule.cleanUp)
{
}

CleanUpRule::~CleanUpRule() = default;

std::unique_ptr<CleanUpRule> CleanUpRule::make(const RenameRule &rule, QString *error)
{
    std::unique_ptr<CleanUpRule> step(new CleanUpRule(rule));
    if (rule.cleanUp == RenameRule::CleanUp::Ascii) {
        UErrorCode status = U_ZERO_ERROR;
        step->m_toAscii.reset(icu::Transliterator::createInstance(icu::UnicodeString(u"Any-Latin; Latin-ASCII"),
                                                                  UTRANS_FORWARD, status));
        if (U_FAILURE(status) || !step->m_toAscii) {
            *error = RuleText::tr("the transliteration to ASCII is not available (%1)")
                         .arg(QString::fromLatin1(u_errorName(status)));
            return nullptr;
        }
    }
    return step;
}

QString CleanUpRule::windowsSafe(const QString &name, int maxBytes)
{
    // Most names hold nothing Windows refuses: they are looked at without
    // a copy, and shared as they are.
    QString safe = name;
    const char16_t *units = reinterpret_cast<const char16_t *>(name.constData());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (refusedByWindows(units[i]))
            safe[i] = u'_';
    }
    qsizetype kept = safe.size();
    while (kept > 0 && (safe.at(kept - 1) == u'.' || safe.at(kept - 1) == u' '))
        --kept;
    safe.truncate(kept);
    // A device name is reserved with any extension: "nul.txt" too.
    const qsizetype firstDot = safe.indexOf(u'.');
    if (isReservedDeviceName(QStringView(safe).left(firstDot < 0 ? safe.size() : firstDot)))
        safe.insert(firstDot < 0 ? safe.size() : firstDot, u'_');
    if (utf8Size(safe) > maxBytes) {
        const qsizetype dot = RuleScope::extensionDot(safe);
        const QString extension = dot < 0 ? QString() : safe.mid(dot);
        const qsizetype extensionBytes = extension.toUtf8().size();
        safe = extensionBytes < maxBytes / 2 ? fittingStart(safe.left(dot), maxBytes - extensionBytes) + extension
                                             : fittingStart(safe, maxBytes);
    }
    return safe;
}

bool CleanUpRule::apply(QString &name, qsizetype entry)
{
    // What Windows refuses it refuses in the whole name: a trailing dot,
    // a device name, the length.
    if (m_form == RenameRule::CleanUp::Windows) {
        name = windowsSafe(name);
        return true;
    }
    return RuleStep::apply(name, entry);
}

bool CleanUpRule::transform(QString &part, qsizetype)
{
    switch (m_form) {
    case RenameRule::CleanUp::Ascii: {
        icu::UnicodeString text = toIcu(part);
        m_toAscii->transliterate(text);
        part = fromIcu(text);
        break;
    }
    case RenameRule::CleanUp::Nfc: {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2 *nfc = icu::Normalizer2::getNFCInstance(status);
        if (U_SUCCESS(status))
            part = fromIcu(nfc->normalize(toIcu(part), status));
        break;
    }
    case RenameRule::CleanUp::CollapseSpaces:
        part = part.simplified();
        break;
    case RenameRule::CleanUp::SpacesToUnderscores:
        part.replace(u' ', u'_');
        break;
    case RenameRule::CleanUp::UnderscoresToSpaces:
        part.replace(u'_', u' ');
        break;
    case RenameRule::CleanUp::Windows:
        part = windowsSafe(part);
        break;
    }
    return true;
}
