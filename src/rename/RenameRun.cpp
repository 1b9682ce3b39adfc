#include "rename/RenameRun.h"

#include "rename/NameComposition.h"
#include "rename/NumberText.h"
#include "rename/PlatformFiles.h"

#include <QCoreApplication>
#include <QHash>
#include <QMultiHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

using Outcome = RenameFileOperations::Outcome;
using Mode = RenameFileOperations::Mode;

class SystemOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const QString &fromPath, const QString &toPath, Mode mode, QString *error) override
    {
        return PlatformFiles::renameInFolder(fromPath, toPath, mode, error);
    }
};

class SimulatedOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const QString &, const QString &, Mode, QString *) override { return Outcome::Done; }
};

// The entries of the folder, read once and kept current as the run renames,
// so that collision questions never go back to the disk.
class FolderIndex
{
public:
    bool load(const QString &folder)
    {
        return PlatformFiles::forEachEntry(folder, [this](const QString &name, bool ordinary) {
            add(name, ordinary);
            return true;
        });
    }

    // Whether anything at all has exactly this name.
    bool isOccupied(const QString &name) const { return m_entries.contains(name); }
    bool isOrdinaryFile(const QString &name) const { return m_entries.value(name, false); }

    // Visible ordinary files whose name equals folded without regard to case:
    // what the existence probe would find.
    int visibleMatches(const QString &folded) const { return m_visible.value(folded); }

    void add(const QString &name, bool ordinary = true)
    {
        if (m_entries.contains(name))
            return;
        m_entries.insert(name, ordinary);
        if (ordinary && !PlatformFiles::isHiddenName(name))
            ++m_visible[PlatformFiles::foldedName(name)];
    }

    void remove(const QString &name)
    {
        const auto entry = m_entries.constFind(name);
        if (entry == m_entries.cend())
            return;
        const bool counted = entry.value() && !PlatformFiles::isHiddenName(name);
        m_entries.erase(entry);
        if (!counted)
            return;
        const auto it = m_visible.find(PlatformFiles::foldedName(name));
        if (it != m_visible.end() && --it.value() <= 0)
            m_visible.erase(it);
    }

private:
    QHash<QString, bool> m_entries; // name -> ordinary file
    QHash<QString, int> m_visible;
};

QString underscored(const QString &name)
{
    const SplitName parts = SplitExtension(name);
    if (parts.extension.isEmpty())
        return name + QLatin1Char('_');
    QString result = name;
    return result.replace(parts.extension, QLatin1Char('_') + parts.extension, Qt::CaseInsensitive);
}

// The renaming of the selected files themselves; the window side (number,
// progress, filter, refresh) stays in RunRename.
class FileRenamer
{
public:
    FileRenamer(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                RenameFileOperations &operations, RenameReport &report)
        : m_entries(entries)
        , m_request(request)
        , m_operations(operations)
        , m_report(report)
        , m_states(entries.size())
    {
        m_prefix = folder;
        if (!m_prefix.isEmpty() && !PlatformFiles::isSeparator(m_prefix.back()))
            m_prefix += QLatin1Char('/');
        m_folderRead = m_index.load(folder);
        m_maxNameLength = PlatformFiles::maxNameLength(folder);

        // Selected files that are really there, each name once: these are
        // the files the run must never destroy.
        QSet<QString> seen;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString &name = entries.at(i).name;
            if (!entries.at(i).selected || !m_index.isOrdinaryFile(name))
                continue;
            if (seen.contains(name)) {
                m_states[i].listedTwice = true;
                continue;
            }
            seen.insert(name);
            m_states[i].present = true;
            m_states[i].location = name;
            m_holders.insert(PlatformFiles::foldedName(name), int(i));
        }
    }

    void rename(int i, const QString &newName)
    {
        EntryState &state = m_states[i];
        state.done = true;
        if (!state.present) {
            skip(i, newName, LeftInPlaceReason::NotInFolder,
                 !m_folderRead     ? QStringLiteral("the folder cannot be read")
                 : state.listedTwice ? QStringLiteral("the file is listed more than once")
                                     : QStringLiteral("no file of this name is in the folder"));
            return;
        }
        bool leavesFolder = false;
        const QString problem = PlatformFiles::nameProblem(newName, m_maxNameLength, &leavesFolder);
        if (!problem.isEmpty()) {
            skip(i, newName, leavesFolder ? LeftInPlaceReason::LeavesFolder : LeftInPlaceReason::InvalidName,
                 problem);
            return;
        }
        if (newName == state.location) {
            skip(i, newName, LeftInPlaceReason::SameName, QStringLiteral("the new name is the file's current name"));
            return;
        }
        if (m_request.keepExisting)
            moveToFreeName(i, newName);
        else
            moveReplacing(i, newName);
    }

    void skip(int i, const QString &newName, LeftInPlaceReason reason, const QString &message)
    {
        m_states[i].done = true;
        const QString &name = m_entries.at(i).name;
        m_report.leftInPlace.append({name, newName, reason, message, name});
        m_states[i].reportIndex = m_report.leftInPlace.size() - 1;
    }

    // Files still under a temporary name, because their own turn failed or
    // never came, go back under their own name, or a free variant of it.
    void restoreSetAside()
    {
        for (qsizetype i = 0; i < m_states.size(); ++i) {
            EntryState &state = m_states[i];
            if (!state.aside)
                continue;
            const QString &name = m_entries.at(i).name;
            QString candidate = name;
            QString error;
            for (;;) {
                bool leaves = false;
                if (!PlatformFiles::nameProblem(candidate, m_maxNameLength, &leaves).isEmpty())
                    break;
                if (m_index.isOccupied(candidate)) {
                    candidate = underscored(candidate);
                    continue;
                }
                const Outcome outcome = move(int(i), candidate, Mode::NoReplace, &error);
                if (outcome == Outcome::TargetExists) {
                    candidate = underscored(candidate);
                    continue;
                }
                break;
            }
            if (state.reportIndex < 0)
                continue;
            LeftInPlaceFile &left = m_report.leftInPlace[state.reportIndex];
            left.currentName = state.location;
            if (state.aside) {
                left.message += QStringLiteral("; it could not be put back under its own name and is now \"%1\"%2")
                                    .arg(state.location, error.isEmpty() ? QString() : QStringLiteral(" (") + error + u')');
            } else if (state.location != name) {
                left.message += QStringLiteral("; a file renamed in this run took its name, so it is now \"%1\"")
                                    .arg(state.location);
            }
        }
    }

private:
    struct EntryState
    {
        QString location; // the file's current name in the folder
        bool present = false;
        bool listedTwice = false;
        bool aside = false;
        bool done = false;
        qsizetype reportIndex = -1;
    };

    QString pathOf(const QString &name) const { return m_prefix + name; }

    void renamed(int i, const QString &newName)
    {
        if (newName == m_entries.at(i).name) {
            skip(i, newName, LeftInPlaceReason::SameName,
                 QStringLiteral("the free variant of the new name is the file's current name"));
            return;
        }
        m_report.renamed.append({m_entries.at(i).name, newName});
    }

    // Whether a file other than entry i answers to candidate, as the
    // existence probe would see it, or has exactly that name.
    bool isTakenByOther(int i, const QString &candidate) const
    {
        const QString &location = m_states.at(i).location;
        const QString folded = PlatformFiles::foldedName(candidate);
        int matches = m_index.visibleMatches(folded);
        if (!PlatformFiles::isHiddenName(location) && PlatformFiles::foldedName(location) == folded)
            --matches;
        return matches > 0 || (candidate != location && m_index.isOccupied(candidate));
    }

    // Never replaces anything: while the name is taken, "_" goes before its
    // extension (or after a name without one). Every step makes the name
    // longer, so the search ends at the file system's length limit.
    void moveToFreeName(int i, const QString &newName)
    {
        QString candidate = newName;
        for (;;) {
            if (candidate != newName) {
                bool leaves = false;
                if (!PlatformFiles::nameProblem(candidate, m_maxNameLength, &leaves).isEmpty()) {
                    skip(i, newName, LeftInPlaceReason::NoFreeName,
                         QStringLiteral("a file with the new name already exists, and no free variant of the "
                                        "name fits the file system"));
                    return;
                }
            }
            if (isTakenByOther(i, candidate)) {
                candidate = underscored(candidate);
                continue;
            }
            QString error;
            switch (move(i, candidate, Mode::NoReplace, &error)) {
            case Outcome::Done:
                renamed(i, candidate);
                return;
            case Outcome::TargetExists:
                // Appeared since the folder was read, or is no ordinary file.
                candidate = underscored(candidate);
                continue;
            case Outcome::Failed:
                skip(i, candidate, LeftInPlaceReason::SystemError, QStringLiteral("the rename failed: ") + error);
                return;
            }
        }
    }

    // Replaces what is under the new name, except the run's own files: one
    // still waiting for its turn is moved out of the way first, one already
    // handled keeps its name and this file takes a free variant instead.
    void moveReplacing(int i, const QString &newName)
    {
        const QString folded = PlatformFiles::foldedName(newName);
        bool heldByHandled = m_asideNames.contains(folded);
        QList<int> waiting;
        for (auto it = m_holders.constFind(folded); it != m_holders.cend() && it.key() == folded; ++it) {
            if (it.value() == i)
                continue;
            if (m_states.at(it.value()).done)
                heldByHandled = true;
            else
                waiting.append(it.value());
        }
        for (int j : waiting) {
            QString error;
            if (!setAside(j, &error)) {
                skip(i, newName, LeftInPlaceReason::MoveAsideFailed,
                     QStringLiteral("the selected file \"%1\" has the new name and could not be moved out of the "
                                    "way: %2")
                         .arg(m_entries.at(j).name, error));
                return;
            }
        }
        if (heldByHandled) {
            moveToFreeName(i, newName);
            return;
        }
        if (m_index.isOccupied(newName) && !m_index.isOrdinaryFile(newName)) {
            skip(i, newName, LeftInPlaceReason::HeldByNonFile,
                 QStringLiteral("a folder or other entry that is not a file has the new name"));
            return;
        }
        QString error;
        if (move(i, newName, Mode::Replace, &error) == Outcome::Done)
            renamed(i, newName);
        else
            skip(i, newName, LeftInPlaceReason::SystemError, QStringLiteral("the rename failed: ") + error);
    }

    bool setAside(int i, QString *error)
    {
        const QString tag = QStringLiteral(".quillmere-%1-").arg(QCoreApplication::applicationPid());
        for (int attempt = 0; attempt < 1000; ++attempt) {
            const QString temporary = tag + QString::number(m_asideCounter++);
            if (m_index.isOccupied(temporary))
                continue;
            const Outcome outcome = m_operations.renameFile(pathOf(m_states.at(i).location), pathOf(temporary),
                                                            Mode::NoReplace, error);
            if (outcome == Outcome::Done) {
                relocate(i, temporary, true);
                m_asideNames.insert(PlatformFiles::foldedName(temporary));
                return true;
            }
            if (outcome == Outcome::Failed)
                return false;
        }
        *error = QStringLiteral("no free temporary name");
        return false;
    }

    void relocate(int i, const QString &to, bool aside)
    {
        EntryState &state = m_states[i];
        m_index.remove(state.location);
        if (!state.aside)
            m_holders.remove(PlatformFiles::foldedName(state.location), i);
        m_index.add(to);
        if (!aside)
            m_holders.insert(PlatformFiles::foldedName(to), i);
        state.location = to;
        state.aside = aside;
    }

    Outcome move(int i, const QString &to, Mode mode, QString *error)
    {
        const QString from = m_states.at(i).location;
        if (to == from)
            return Outcome::Done;
        // Where letter case does not count, the file system sees one name in
        // both; a detour over a temporary name changes the case everywhere.
        if (to.compare(from, Qt::CaseInsensitive) == 0 && !setAside(i, error))
            return Outcome::Failed;
        const Outcome outcome = m_operations.renameFile(pathOf(m_states.at(i).location), pathOf(to), mode, error);
        if (outcome == Outcome::Done)
            relocate(i, to, false);
        return outcome;
    }

    const QList<RenameEntry> &m_entries;
    const RenameRequest &m_request;
    RenameFileOperations &m_operations;
    RenameReport &m_report;
    QString m_prefix;
    FolderIndex m_index;
    bool m_folderRead = false;
    int m_maxNameLength = 255;
    QList<EntryState> m_states;
    QMultiHash<QString, int> m_holders; // folded name -> selected entry under that name
    QSet<QString> m_asideNames;         // folded temporary names, never to be replaced
    int m_asideCounter = 0;
};

bool putsNumberInName(RenamingType type)
{
    return type != ExtensionOnly && type != AddPrefix && type != AddSuffix;
}

bool advancesNumber(RenamingType type)
{
    return type != AddPrefix && type != AddSuffix;
}

bool filterFollowsExtension(RenamingType type)
{
    return type == NoTypeChosen || type == BothNameAndExtension || type == ExtensionOnly;
}

} // namespace

RenameFileOperations &SystemFileOperations()
{
    static SystemOperations operations;
    return operations;
}

RenameFileOperations &SimulatedFileOperations()
{
    static SimulatedOperations operations;
    return operations;
}

RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target)
{
    return RunRename(folder, entries, request, target, SystemFileOperations());
}

RenameReport RunRename(const QString &folder, const QList<RenameEntry> &entries, const RenameRequest &request,
                       RenameRunTarget &target, RenameFileOperations &fileOperations)
{
    RenameReport report;
    const QString savedNumber = target.numberText();
    QString number = savedNumber;

    std::optional<FileRenamer> renamer;
    if (std::any_of(entries.cbegin(), entries.cend(), [](const RenameEntry &e) { return e.selected; }))
        renamer.emplace(folder, entries, request, fileOperations, report);

    // Once the number cannot advance, a further file would repeat it.
    std::optional<std::pair<LeftInPlaceReason, QString>> numberStuck;

    const qsizetype count = entries.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (entries.at(i).selected) {
            if (numberStuck) {
                renamer->skip(int(i), QString(), numberStuck->first, numberStuck->second);
            } else {
                renamer->rename(int(i), ComposeNewName(entries.at(i).name, request, number));
                if (advancesNumber(request.type)) {
                    const std::optional<qint32> value = ParseWholeNumber(number);
                    if (value && *value < std::numeric_limits<qint32>::max()) {
                        number = QString::number(*value + 1);
                        target.setNumberText(number);
                    } else if (putsNumberInName(request.type)) {
                        numberStuck.emplace(
                            value ? LeftInPlaceReason::NumberExhausted : LeftInPlaceReason::NumberUnreadable,
                            value ? QStringLiteral("the running number cannot go past 2147483647")
                                  : QStringLiteral("the running number \"%1\" is no whole number and cannot advance")
                                        .arg(number));
                    }
                }
            }
        }
        target.setProgressValue(float(double(i + 1) / double(count) * 100.0));
    }
    if (renamer)
        renamer->restoreSetAside();

    if (filterFollowsExtension(request.type) && request.filterOn && request.newExtension != target.filterText())
        target.setFilterText(request.newExtension);
    if (!request.rememberNumber)
        target.setNumberText(savedNumber);
    target.refreshLists();
    return report;
}
