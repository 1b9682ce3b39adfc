#pragma once

#include "rename/rules/RuleList.h"

#include <QList>
#include <QString>
#include <QStringView>

// The options of quillmere-rename that describe renaming rules. Rules come
// in the order their options are given, as in perl rename's repeated -e:
// "--find" starts a replace rule that a following "--replace", "--literal",
// "--ignore-case" and "--nth" complete; "--number" a number rule that
// "--start", "--step", "--width", "--sort" and "--reverse" complete;
// "--insert" an insert rule that "--at" places; "--remove-between" a rule
// that "--ignore-case" completes. "--scope" sets the part of the name the
// rules after it see.

struct CliRuleOption
{
    const char *name; // without the leading "--"
    bool takesValue;
    bool takesSecond = false; // a second value, always the next argument
};

// The rule option of that name, or nothing.
const CliRuleOption *FindCliRuleOption(QStringView name);

// One option given, in the order given.
struct CliRuleArgument
{
    QString name;
    QString value;
    QString second; // of an option that takes two values
};

// Whether the arguments describe rules at all ("--start" alone belongs to
// the renaming types).
bool CliArgumentsMakeRules(const QList<CliRuleArgument> &arguments);

// The rule list the arguments describe, presets read in where named; false
// with *error when they do not make one.
bool BuildCliRules(const QList<CliRuleArgument> &arguments, RuleList *rules, QString *error);

// The part of --help that tells of the rule options.
QString CliRuleHelpText();
