#pragma once

#include "rename/rules/RenameRule.h"

#include <QString>
#include <QStringView>

// The words that stand for the rules' settings, in presets and on the
// command line alike, and never translated: a preset written under one
// language must read under another.
namespace RuleWords {

QString word(RenameRule::Kind value);
QString word(RenameRule::Scope value);
QString word(RenameRule::ReplaceForm value);
QString word(RenameRule::Occurrence value);
QString word(RenameRule::CaseForm value);
QString word(RenameRule::Place value);
QString word(RenameRule::Width value);
QString word(RenameRule::Order value);
QString word(RenameRule::CleanUp value);

// False, leaving *value alone, for a word that is not one of the kind.
bool read(QStringView text, RenameRule::Kind *value);
bool read(QStringView text, RenameRule::Scope *value);
bool read(QStringView text, RenameRule::ReplaceForm *value);
bool read(QStringView text, RenameRule::Occurrence *value);
bool read(QStringView text, RenameRule::CaseForm *value);
bool read(QStringView text, RenameRule::Place *value);
bool read(QStringView text, RenameRule::Width *value);
bool read(QStringView text, RenameRule::Order *value);
bool read(QStringView text, RenameRule::CleanUp *value);

// The words of value's kind, "a, b or c", for the message that refuses
// another.
QString choices(RenameRule::Kind value);
QString choices(RenameRule::Scope value);
QString choices(RenameRule::ReplaceForm value);
QString choices(RenameRule::Occurrence value);
QString choices(RenameRule::CaseForm value);
QString choices(RenameRule::Place value);
QString choices(RenameRule::Width value);
QString choices(RenameRule::Order value);
QString choices(RenameRule::CleanUp value);

} // namespace RuleWords
