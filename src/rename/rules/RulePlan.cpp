#include "rename/rules/RulePlan.h"

#include "core/FolderHandle.h"
#include "rename/PlatformFiles.h"
#include "rename/rules/CaseRule.h"
#include "rename/rules/CleanUpRule.h"
#include "rename/rules/InsertRule.h"
#include "rename/rules/NumberRule.h"
#include "rename/rules/ReplaceRule.h"
#include "rename/rules/RulePlanCache.h"
#include "rename/rules/RuleText.h"

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

std::unique_ptr<RuleStep> makeStep(const QList<RenameRule> &rules, qsizetype index, RulePlanCache &cache,
                                   int entryCount, QString *error)
{
    const RenameRule &rule = rules.at(index);
    switch (rule.kind) {
    case RenameRule::Kind::Replace:
        return ReplaceRule::make(rule, error);
    case RenameRule::Kind::Case:
        return std::make_unique<CaseRule>(rule);
    case RenameRule::Kind::Number:
        return std::make_unique<NumberRule>(rule, cache.sorted(rule.order), cache.entries().size(), entryCount);
    case RenameRule::Kind::Insert:
        return InsertRule::make(rule, cache.entries(), cache.facts(), cache.parentName(), entryCount,
                                numberAtTokenLater(rules, index), error);
    case RenameRule::Kind::CleanUp:
        return CleanUpRule::make(rule, error);
    }
    *error = RuleText::tr("unknown kind of rule");
    return nullptr;
}

// A number rule counting in an order read from the files themselves.
bool sortsByFacts(const RenameRule &rule)
{
    using Order = RenameRule::Order;
    return rule.kind == RenameRule::Kind::Number
        && (rule.order == Order::Modified || rule.order == Order::Size || rule.order == Order::Taken);
}

// Whether working out a rule asks anything of a file besides its name.
bool asksFileFacts(const RenameRule &rule)
{
    if (rule.kind == RenameRule::Kind::Insert)
        return InsertRule::usesToken(rule.text, QLatin1String("mtime"))
            || InsertRule::usesToken(rule.text, QLatin1String("taken"));
    return sortsByFacts(rule);
}

// The enabled rules of a list made ready for one list of entries.
class Steps
{
public:
    // deferSorts: number rules that count in an order read from the files
    // are made only by completeSorts(), so that the reading can go on while
    // the rules before them are applied.
    Steps(const RuleList &rules, RulePlanCache &cache, int entryCount, bool deferSorts = false)
        : m_rules(rules)
        , m_cache(cache)
        , m_entryCount(entryCount)
    {
        for (qsizetype k = 0; k < rules.size(); ++k) {
            const RenameRule &rule = rules.rules().at(k);
            if (!rule.enabled)
                continue;
            m_ruleOfStep.push_back(k);
            m_steps.push_back(nullptr);
            if (!(deferSorts && sortsByFacts(rule)) && !makeAt(m_steps.size() - 1))
                return;
        }
    }

    // Why the rules cannot be used; empty when they can.
    const QString &refusal() const { return m_refusal; }
    size_t size() const { return m_steps.size(); }

    // The steps at the front that ask nothing of the files.
    size_t nameOnlySteps() const
    {
        size_t s = 0;
        while (s < m_steps.size() && m_steps[s] && !asksFileFacts(m_rules.rules().at(m_ruleOfStep[s])))
            ++s;
        return s;
    }

    void completeSorts()
    {
        for (size_t s = 0; s < m_steps.size() && m_refusal.isEmpty(); ++s) {
            if (!m_steps[s])
                makeAt(s);
        }
    }

    // The new name of selected entry i; false, with the refusal set, when
    // a step cannot tell.
    bool apply(qsizetype i, QString *name)
    {
        *name = m_cache.entries().at(i).name;
        return applySteps(i, *name, 0, m_steps.size());
    }

    // Steps [from, to) applied to the name of entry i so far. A name the
    // rules left as it was shares the list's text.
    bool applySteps(qsizetype i, QString &name, size_t from, size_t to)
    {
        const QString &current = m_cache.entries().at(i).name;
        for (size_t s = from; s < to; ++s) {
            if (!m_steps[s]->apply(name, i)) {
                m_refusal = m_rules.describe(m_ruleOfStep[s])
                    + RuleText::tr(": the expression ran past its match limit on \"%1\"; simplify it").arg(current);
                return false;
            }
        }
        if (to == m_steps.size() && name == current)
            name = current;
        return true;
    }

    // What to tell of entry i's new name, once applied; empty for nothing.
    QString noteOf(qsizetype i) const
    {
        return m_cache.facts().takenFellBack(i) ? RuleText::tr("no date taken in the file; its modified time was used")
                                                : QString();
    }

private:
    bool makeAt(size_t s)
    {
        const qsizetype k = m_ruleOfStep[s];
        QString error;
        m_steps[s] = makeStep(m_rules.rules(), k, m_cache, m_entryCount, &error);
        if (!m_steps[s])
            m_refusal = m_rules.describe(k) + QStringLiteral(": ") + error;
        return bool(m_steps[s]);
    }

    const RuleList &m_rules;
    RulePlanCache &m_cache;
    int m_entryCount = 0;
    std::vector<std::unique_ptr<RuleStep>> m_steps;
    std::vector<qsizetype> m_ruleOfStep;
    QString m_refusal;
};

// See RulePlan::runOrder(). Each new name is some file's current name at
// most once, so every file waits for one other at most: the waits form
// chains (and cycles), each taken from its free end.
// The selected files by their folded current name, in an open table of
// eight bytes a slot: a file's tag (the high half of its hash) and number.
// No allocation per name; a look-up mostly touches one slot and one name.
class CurrentNames
{
public:
    explicit CurrentNames(const QList<RenameEntry> &entries)
        : m_entries(entries)
    {
        size_t size = 16;
        while (size < 2 * size_t(entries.size()))
            size *= 2;
        m_slots.assign(size, Slot{0, kEmpty});
        m_mask = size - 1;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (!entries.at(i).selected)
                continue;
            const quint64 hash = PlatformFiles::foldedNameHash(entries.at(i).name, 0);
            size_t at = size_t(hash) & m_mask;
            while (m_slots[at].entry != kEmpty)
                at = (at + 1) & m_mask;
            m_slots[at] = Slot{tagOf(hash), quint32(i)};
        }
    }

    // The selected file other than `self` whose current name is `name` as
    // a file system that ignores case sees it; -1 when there is none.
    qsizetype find(QStringView name, qsizetype self) const
    {
        const quint64 hash = PlatformFiles::foldedNameHash(name, 0);
        const quint32 tag = tagOf(hash);
        for (size_t at = size_t(hash) & m_mask; m_slots[at].entry != kEmpty; at = (at + 1) & m_mask) {
            const Slot &slot = m_slots[at];
            if (slot.tag == tag && qsizetype(slot.entry) != self
                && PlatformFiles::sameFoldedName(m_entries.at(slot.entry).name, name))
                return slot.entry;
        }
        return -1;
    }

private:
    struct Slot
    {
        quint32 tag;
        quint32 entry;
    };
    static constexpr quint32 kEmpty = 0xFFFFFFFF;
    static quint32 tagOf(quint64 hash) { return quint32(hash >> 32); }

    const QList<RenameEntry> &m_entries;
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

std::vector<qsizetype> runOrderOf(const QList<RenameEntry> &entries, const QStringList &names)
{
    const CurrentNames current(entries);
    constexpr qsizetype kNone = -1;
    std::vector<qsizetype> waitsFor(size_t(entries.size()), kNone);
    bool anyWait = false;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &name = names.at(i);
        if (!entries.at(i).selected || PlatformFiles::sameFoldedName(name, entries.at(i).name))
            continue;
        waitsFor[size_t(i)] = current.find(name, i);
        anyWait = anyWait || waitsFor[size_t(i)] != kNone;
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

bool RulePlan::readsEveryStatus(const RuleList &rules)
{
    return std::any_of(rules.rules().cbegin(), rules.rules().cend(), [](const RenameRule &rule) {
        return rule.enabled && rule.kind == RenameRule::Kind::Number
            && (rule.order == RenameRule::Order::Modified || rule.order == RenameRule::Order::Size);
    });
}

QString RulePlan::problemOf(const RuleList &rules)
{
    return make(FolderHandle(), {}, rules, true, 0).refusal();
}

QString RulePlan::problemOfRule(const RenameRule &rule)
{
    const QList<RenameRule> alone{rule};
    const FolderHandle noFolder;
    const QList<RenameEntry> noEntries;
    RulePlanCache cache(noFolder, noEntries);
    QString error;
    return makeStep(alone, 0, cache, 0, &error) ? QString() : error;
}

RulePlan RulePlan::make(const FolderHandle &folder, const QList<RenameEntry> &entries, const RuleList &rules,
                        bool keepExisting, int entryCount)
{
    RulePlanCache cache(folder, entries);
    return make(cache, rules, keepExisting, entryCount);
}

RulePlan::Sample RulePlan::sample(RulePlanCache &cache, const RuleList &rules, int entryCount,
                                  const std::vector<qsizetype> &entries)
{
    Sample sample;
    Steps steps(rules, cache, entryCount);
    for (const qsizetype i : entries) {
        if (!steps.refusal().isEmpty())
            break;
        QString name;
        if (steps.apply(i, &name)) {
            sample.names.append(name);
            sample.notes.append(steps.noteOf(i));
        }
    }
    sample.refusal = steps.refusal();
    if (sample.refusal.isEmpty())
        return sample;
    sample.names.clear();
    sample.notes.clear();
    return sample;
}

RulePlan RulePlan::make(RulePlanCache &cache, const RuleList &rules, bool keepExisting, int entryCount,
                        const std::function<bool()> &stopped)
{
    RulePlan plan;
    const QList<RenameEntry> &entries = cache.entries();
    // What an order needs of the files is read on a helper thread while the
    // rules before the first that asks anything of them are applied.
    for (const RenameRule &rule : rules.rules()) {
        if (rule.enabled && sortsByFacts(rule))
            cache.startSorting(rule.order);
    }
    Steps steps(rules, cache, entryCount, true);
    if (!steps.refusal().isEmpty()) {
        plan.m_refusal = steps.refusal();
        return plan;
    }
    // Looked at between stretches of files: often enough to let go within
    // a few milliseconds, seldom enough to cost nothing.
    constexpr qsizetype kStretch = 2048;
    auto names = std::make_shared<QStringList>();
    names->resize(entries.size());
    const auto applyToAll = [&](size_t from, size_t to) {
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (stopped && i % kStretch == 0 && stopped()) {
                plan.m_stopped = true;
                return false;
            }
            if (!entries.at(i).selected)
                continue;
            QString &name = (*names)[i];
            if (from == 0)
                name = entries.at(i).name;
            if (!steps.applySteps(i, name, from, to)) {
                plan.m_refusal = steps.refusal();
                return false;
            }
        }
        return true;
    };
    size_t applied = steps.nameOnlySteps();
    if (applied > 0 && applied < steps.size() && !applyToAll(0, applied))
        return plan;
    if (applied == steps.size())
        applied = 0;
    steps.completeSorts();
    if (!steps.refusal().isEmpty()) {
        plan.m_refusal = steps.refusal();
        return plan;
    }
    if (!applyToAll(applied, steps.size()))
        return plan;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).selected) {
            if (QString note = steps.noteOf(i); !note.isEmpty())
                plan.m_notes.append({i, std::move(note)});
        }
    }

    // Replacing, the second of two files under one name would replace the
    // first: refused before anything moves. Keeping, the later one gets a
    // free variant, as in every run.
    if (!keepExisting) {
        const FolderHandle &folder = cache.folder();
        const bool caseBlind = ignoresCase(folder, entries);
        QHash<QString, qsizetype> taken;
        const int maxLength = cache.maxNameLength();
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
