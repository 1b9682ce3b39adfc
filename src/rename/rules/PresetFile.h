#pragma once

#include "rename/rules/RuleList.h"

#include <QString>
#include <QStringList>

// A rule list kept in a file a person can read and edit:
//
//     # comments start with "#"
//     quillmere-rules 1
//     [rule]
//     kind = replace
//     find = (\d+)
//     replace = no $1
//
// The first line that is no comment gives the format's version; each
// "[rule]" starts a rule, and "key = value" lines set it (the value is the
// rest of the line, as it stands). A file of a newer version, or one that
// does not read, is refused with its line, and none of its rules is used.
class PresetFile
{
public:
    static constexpr int kVersion = 1;

    // Where presets are saved by name: "presets" in the configuration
    // folder.
    static QString folder();
    // The file of a preset named nameOrPath: a name without "/" is looked
    // for in folder(), anything else is a path.
    static QString pathOf(const QString &nameOrPath);
    // The names of the saved presets, sorted.
    static QStringList names();

    static bool read(const QString &path, RuleList *rules, QString *error);
    // source names the text in messages.
    static bool parse(const QString &text, const QString &source, RuleList *rules, QString *error);
    static QString format(const RuleList &rules);
    // False with *error when a value holds a line break (a line cannot
    // hold it) or the file cannot be written.
    static bool write(const QString &path, const RuleList &rules, QString *error);
};
