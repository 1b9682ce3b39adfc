#pragma once

#include "rename/rules/RuleStep.h"

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class Transliterator;
U_NAMESPACE_END

// Names made plain: letters spelt in ASCII, names Windows and FAT file
// systems can hold, white space tidied, Unicode composed (NFC).
class CleanUpRule final : public RuleStep
{
public:
    // Nothing, with *error saying why, where ICU cannot give what the rule
    // needs.
    static std::unique_ptr<CleanUpRule> make(const RenameRule &rule, QString *error);
    ~CleanUpRule() override;

    // The name as a FAT or NTFS drive can hold it: none of <>:"/\|?* or
    // control characters (each becomes "_"), no trailing dot or space, "_"
    // after a reserved device name (CON, NUL, COM1...), at most maxBytes
    // bytes of UTF-8 with the extension kept.
    static QString windowsSafe(const QString &name, int maxBytes = 255);

    bool apply(QString &name, qsizetype entry) override;

protected:
    bool transform(QString &part, qsizetype entry) override;

private:
    explicit CleanUpRule(const RenameRule &rule);

    RenameRule::CleanUp m_form;
    std::unique_ptr<icu::Transliterator> m_toAscii;
};
