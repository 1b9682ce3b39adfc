#include "rename/rules/PresetFile.h"

#include "rename/rules/RuleText.h"
#include "rename/rules/RuleWords.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString kSuffix = QStringLiteral(".rules");
const QString kMagic = QStringLiteral("quillmere-rules");

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

bool readYesNo(QStringView text, bool *value)
{
    if (text == u"yes" || text == u"no") {
        *value = text == u"yes";
        return true;
    }
    return false;
}

template<typename Number>
bool readNumber(QStringView text, Number *value)
{
    bool ok = false;
    const qlonglong read = text.toLongLong(&ok);
    if (!ok || read < std::numeric_limits<Number>::min() || read > std::numeric_limits<Number>::max())
        return false;
    *value = Number(read);
    return true;
}

// Sets the rule's setting key from its text, or answers why not.
QString setValue(RenameRule &rule, QStringView key, const QString &value)
{
    const auto wordOf = [&](auto *field) {
        return RuleWords::read(value, field) ? QString()
                                             : RuleText::tr("\"%1\" is not one of %2")
                                                   .arg(value, RuleWords::choices(*field));
    };
    const auto flag = [&](bool *field) {
        return readYesNo(value, field) ? QString() : RuleText::tr("\"%1\" is neither yes nor no").arg(value);
    };
    const auto number = [&](auto *field) {
        return readNumber(value, field) ? QString() : RuleText::tr("\"%1\" is no whole number").arg(value);
    };
    if (key == u"kind")
        return wordOf(&rule.kind);
    if (key == u"enabled")
        return flag(&rule.enabled);
    if (key == u"scope")
        return wordOf(&rule.scope);
    if (key == u"form")
        return wordOf(&rule.replaceForm);
    if (key == u"find")
        return rule.find = value, QString();
    if (key == u"replace")
        return rule.replacement = value, QString();
    if (key == u"end-marker")
        return rule.endMarker = value, QString();
    if (key == u"literal")
        return flag(&rule.literal);
    if (key == u"ignore-case")
        return flag(&rule.ignoreCase);
    if (key == u"occurrence")
        return wordOf(&rule.occurrence);
    if (key == u"nth")
        return number(&rule.nth);
    if (key == u"count")
        return number(&rule.count);
    if (key == u"case")
        return wordOf(&rule.caseForm);
    if (key == u"place")
        return wordOf(&rule.place);
    if (key == u"position")
        return number(&rule.position);
    if (key == u"start")
        return number(&rule.start);
    if (key == u"step")
        return number(&rule.step);
    if (key == u"width-mode")
        return wordOf(&rule.widthMode);
    if (key == u"width")
        return number(&rule.width);
    if (key == u"order")
        return wordOf(&rule.order);
    if (key == u"reverse")
        return flag(&rule.reverse);
    if (key == u"text")
        return rule.text = value, QString();
    if (key == u"clean")
        return wordOf(&rule.cleanUp);
    return RuleText::tr("unknown key \"%1\"").arg(key);
}

void writeRule(QString &out, const RenameRule &rule)
{
    const auto line = [&](const char *key, const QString &value) {
        out += QLatin1String(key) + QStringLiteral(" = ") + value + u'\n';
    };
    out += QStringLiteral("\n[rule]\n");
    line("kind", RuleWords::word(rule.kind));
    line("enabled", yesNo(rule.enabled));
    line("scope", RuleWords::word(rule.scope));
    switch (rule.kind) {
    case RenameRule::Kind::Replace:
        line("form", RuleWords::word(rule.replaceForm));
        line("find", rule.find);
        line("replace", rule.replacement);
        line("end-marker", rule.endMarker);
        line("literal", yesNo(rule.literal));
        line("ignore-case", yesNo(rule.ignoreCase));
        line("occurrence", RuleWords::word(rule.occurrence));
        line("nth", QString::number(rule.nth));
        line("count", QString::number(rule.count));
        break;
    case RenameRule::Kind::Case:
        line("case", RuleWords::word(rule.caseForm));
        break;
    case RenameRule::Kind::Number:
        line("place", RuleWords::word(rule.place));
        line("position", QString::number(rule.position));
        line("start", QString::number(rule.start));
        line("step", QString::number(rule.step));
        line("width-mode", RuleWords::word(rule.widthMode));
        line("width", QString::number(rule.width));
        line("order", RuleWords::word(rule.order));
        line("reverse", yesNo(rule.reverse));
        break;
    case RenameRule::Kind::Insert:
        line("place", RuleWords::word(rule.place));
        line("position", QString::number(rule.position));
        line("text", rule.text);
        break;
    case RenameRule::Kind::CleanUp:
        line("clean", RuleWords::word(rule.cleanUp));
        break;
    }
}

} // namespace

QString PresetFile::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/quillmere/presets");
}

QString PresetFile::pathOf(const QString &nameOrPath)
{
    if (nameOrPath.contains(u'/'))
        return nameOrPath;
    return folder() + u'/' + nameOrPath + kSuffix;
}

QStringList PresetFile::names()
{
    QStringList names = QDir(folder()).entryList({u'*' + kSuffix}, QDir::Files, QDir::Name);
    for (QString &name : names)
        name.chop(kSuffix.size());
    return names;
}

bool PresetFile::read(const QString &path, RuleList *rules, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = RuleText::tr("the preset \"%1\" cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    return parse(QString::fromUtf8(file.readAll()), path, rules, error);
}

bool PresetFile::parse(const QString &text, const QString &source, RuleList *rules, QString *error)
{
    RuleList read;
    bool versionSeen = false;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line = lines.at(n);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        QString problem;
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (!versionSeen) {
            int version = 0;
            if (!trimmed.startsWith(kMagic + u' ') || !readNumber(trimmed.mid(kMagic.size() + 1).trimmed(), &version)
                || version < 1)
                problem = RuleText::tr("this is no rule preset: it must start with \"%1 %2\"").arg(kMagic).arg(kVersion);
            else if (version > kVersion)
                problem = RuleText::tr("the preset is of version %1, newer than this program reads (%2)")
                              .arg(version)
                              .arg(kVersion);
            versionSeen = true;
        } else if (trimmed == u"[rule]") {
            read.append(RenameRule());
        } else if (const qsizetype equals = line.indexOf(u'='); equals < 0) {
            problem = RuleText::tr("a line must be \"[rule]\" or \"key = value\"");
        } else if (read.isEmpty()) {
            problem = RuleText::tr("a setting before the first \"[rule]\"");
        } else {
            QStringView value = line.mid(equals + 1);
            if (value.startsWith(u' '))
                value = value.mid(1);
            problem = setValue(read.rules().last(), line.left(equals).trimmed(), value.toString());
        }
        if (!problem.isEmpty()) {
            *error = RuleText::tr("%1, line %2: %3").arg(source).arg(n + 1).arg(problem);
            return false;
        }
    }
    if (!versionSeen) {
        *error = RuleText::tr("%1: the preset is empty").arg(source);
        return false;
    }
    *rules = read;
    return true;
}

QString PresetFile::format(const RuleList &rules)
{
    QString out = QStringLiteral("# Quillmere rename rules, applied top to bottom\n%1 %2\n").arg(kMagic).arg(kVersion);
    for (const RenameRule &rule : rules.rules())
        writeRule(out, rule);
    return out;
}

bool PresetFile::write(const QString &path, const RuleList &rules, QString *error)
{
    for (const RenameRule &rule : rules.rules()) {
        for (const QString *value : {&rule.find, &rule.replacement, &rule.endMarker, &rule.text}) {
            if (value->contains(u'\n') || value->contains(u'\r')) {
                *error = RuleText::tr("a preset cannot keep a text with a line break");
                return false;
            }
        }
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(format(rules).toUtf8()) < 0 || !file.commit()) {
        *error = RuleText::tr("the preset \"%1\" cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
