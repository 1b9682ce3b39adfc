#include "rename/rules/RulePlan.h"

#include "core/FolderHandle.h"
#include "rename/PlatformFiles.h"
#include "rename/rules/CaseRule.h"
#include "rename/rules/CleanUpRule.h"
#include "rename/rules/FileFacts.h"
#include "rename/rules/InsertRule.h"
#include "rename/rules/NumberRule.h"
#include "rename/rules/ReplaceRule.h"
#include "rename/rules/RuleText.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <vector>

namespace {

// File systems that find a name in any letter case.
constexpr unsigned long kCaseBlindTypes[] = {
    0x4d44,     // FAT (msdos, vfat)
    0x2011BAB0, // exFAT
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2
    0x517B,     // SMB
};

bool numberAtTokenLater(const QList<RenameRule> &rules, qsizetype after)
{
    for (qsizetype k = after + 1; k < rules.size(); ++k) {
        const RenameRule &rule = rules.at(k);
        if (rule.enabled && rule.kind == RenameRule::Kind::Number && rule.place == RenameRule::Place::Token)
            return true;
    }
    return false;
}

std::unique_ptr<RuleStep> makeStep(const QList<RenameRule> &rules, qsizetype index,
                                   const QList<RenameEntry> &entries, FileFacts &facts, const QString &parent,
                                   int entryCount, QString *error)
{
    const RenameRule &rule = rules.at(index);
    switch (rule.kind) {
    case RenameRule::Kind::Replace:
        return ReplaceRule::make(rule, error);
    case RenameRule::Kind::Case:
        return std::make_unique<CaseRule>(rule);
    case RenameRule::Kind::Number:
        return std::make_unique<NumberRule>(rule, entries, facts, entryCount);
    case RenameRule::Kind::Insert:
        return InsertRule::make(rule, entries, facts, parent, entryCount, numberAtTokenLater(rules, index), error);
    case RenameRule::Kind::CleanUp:
        return CleanUpRule::make(rule, error);
    }
    *error = RuleText::tr("unknown kind of rule");
    return nullptr;
}

// See RulePlan::runOrder(). Each new name is some file's current name at
// most once, so every file waits for one other at most: the waits form
// chains (and cycles), each taken from its free end.
std::vector<qsizetype> runOrderOf(const QList<RenameEntry> &entries, const QStringList &names)
{
    // The selected files by the hash of their folded name, sorted: sixteen
    // bytes a file, no allocation per name.
    const size_t seed = 0;
    std::vector<std::pair<size_t, qsizetype>> byName;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).selected)
            byName.emplace_back(PlatformFiles::foldedNameHash(entries.at(i).name, seed), i);
    }
    std::sort(byName.begin(), byName.end());
    constexpr qsizetype kNone = -1;
    std::vector<qsizetype> waitsFor(size_t(entries.size()), kNone);
    bool anyWait = false;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &name = names.at(i);
        if (!entries.at(i).selected || PlatformFiles::sameFoldedName(name, entries.at(i).name))
            continue;
        const size_t hash = PlatformFiles::foldedNameHash(name, seed);
        auto it = std::lower_bound(byName.begin(), byName.end(), std::make_pair(hash, qsizetype(-1)));
        for (; it != byName.end() && it->first == hash; ++it) {
            if (it->second != i && PlatformFiles::sameFoldedName(entries.at(it->second).name, name)) {
                waitsFor[size_t(i)] = it->second;
                anyWait = true;
                break;
            }
        }
    }
    if (!anyWait)
        return {};
    // Each file after the one it waits for; a file met again on its own
    // chain closes a cycle, which the run breaks.
    enum : quint8 { Unseen, OnChain, Placed };
    std::vector<quint8> state(size_t(entries.size()), Unseen);
    std::vector<qsizetype> order;
    order.reserve(size_t(entries.size()));
    std::vector<qsizetype> chain;
    for (qsizetype start = 0; start < entries.size(); ++start) {
        for (qsizetype at = start; at != kNone && state[size_t(at)] == Unseen; at = waitsFor[size_t(at)]) {
            state[size_t(at)] = OnChain;
            chain.push_back(at);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            state[size_t(*it)] = Placed;
            order.push_back(*it);
        }
        chain.clear();
    }
    return order;
}

} // namespace

bool RulePlan::ignoresCase(const FolderHandle &folder, const QList<RenameEntry> &entries)
{
    struct statfs info = {};
    if (::fstatfs(folder.descriptor(), &info) == 0) {
        for (unsigned long type : kCaseBlindTypes) {
            if ((unsigned long)(info.f_type) == type)
                return true;
        }
    }
    // Through FUSE the type tells nothing: a listed name spelt in other
    // letters, which the list does not hold, leads to a file on a file
    // system that ignores case.
    QSet<QStringView> listed;
    for (const RenameEntry &entry : entries)
        listed.insert(entry.name);
    QByteArray buffer;
    for (const RenameEntry &entry : entries) {
        const QString other = entry.name.toUpper() != entry.name ? entry.name.toUpper() : entry.name.toLower();
        if (other == entry.name || listed.contains(other))
            continue;
        struct stat status = {};
        return ::fstatat(folder.descriptor(), FolderHandle::encodeName(other, buffer), &status, AT_SYMLINK_NOFOLLOW)
            == 0;
    }
    return false;
}

QString RulePlan::problemOf(const RuleList &rules)
{
    return make(FolderHandle(), {}, rules, true, 0).refusal();
}

RulePlan RulePlan::make(const FolderHandle &folder, const QList<RenameEntry> &entries, const RuleList &rules,
                        bool keepExisting, int entryCount)
{
    RulePlan plan;
    FileFacts facts(folder, entries);
    const QString parent = QFileInfo(QDir::cleanPath(QFileInfo(folder.path()).absoluteFilePath())).fileName();
    std::vector<std::unique_ptr<RuleStep>> steps;
    std::vector<qsizetype> ruleOfStep;
    for (qsizetype k = 0; k < rules.size(); ++k) {
        if (!rules.rules().at(k).enabled)
            continue;
        QString error;
        std::unique_ptr<RuleStep> step = makeStep(rules.rules(), k, entries, facts, parent, entryCount, &error);
        if (!step) {
            plan.m_refusal = rules.describe(k) + QStringLiteral(": ") + error;
            return plan;
        }
        steps.push_back(std::move(step));
        ruleOfStep.push_back(k);
    }

    auto names = std::make_shared<QStringList>();
    names->resize(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).selected)
            continue;
        QString name = entries.at(i).name;
        for (size_t s = 0; s < steps.size(); ++s) {
            if (!steps[s]->apply(name, i)) {
                plan.m_refusal = rules.describe(ruleOfStep[s])
                    + RuleText::tr(": the expression ran past its match limit on \"%1\"; simplify it")
                          .arg(entries.at(i).name);
                return plan;
            }
        }
        // A name the rules left as it was shares the list's text.
        (*names)[i] = name == entries.at(i).name ? entries.at(i).name : std::move(name);
        if (facts.takenFellBack(i))
            plan.m_notes.append({i, RuleText::tr("no date taken in the file; its modified time was used")});
    }

    // Replacing, the second of two files under one name would replace the
    // first: refused before anything moves. Keeping, the later one gets a
    // free variant, as in every run.
    if (!keepExisting) {
        const bool caseBlind = ignoresCase(folder, entries);
        QHash<QString, qsizetype> taken;
        const int maxLength = folder.maxNameLength();
        bool leaves = false;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString &name = names->at(i);
            if (!entries.at(i).selected || !PlatformFiles::nameProblem(name, maxLength, &leaves).isEmpty())
                continue;
            const QString key = caseBlind ? PlatformFiles::foldedName(name) : name;
            const auto found = taken.constFind(key);
            if (found != taken.cend()) {
                plan.m_refusal =
                    RuleText::tr("\"%1\" and \"%2\" would both be renamed to \"%3\"; nothing was renamed")
                        .arg(entries.at(*found).name, entries.at(i).name, name);
                return plan;
            }
            taken.insert(key, i);
        }
    }
    plan.m_order = runOrderOf(entries, *names);
    plan.m_names = std::move(names);
    return plan;
}
