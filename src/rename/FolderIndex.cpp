#include "rename/FolderIndex.h"

#include "core/FolderContent.h"
#include "core/FolderReader.h"
#include "core/MemoryPages.h"

#include <QHashSeed>

#include <algorithm>

bool FolderIndex::load(const FolderHandle &folder, const QList<RenameEntry> &entries,
                       std::vector<SelectedFile> &selected)
{
    m_seed = QHashSeed::globalSeed();
    m_entries = &entries;
    selected.assign(size_t(entries.size()), SelectedFile());
    rehash(entries.size() + 16);

    // The selected names first, each held by its entry until the folder
    // shows what it has under that name.
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).selected)
            continue;
        const QString &name = entries.at(i).name;
        if (name.isEmpty() || name.size() > 0xFFFF)
            continue; // no folder holds such a name
        const size_t hash = hashOf(name);
        if (find(name, hash) >= 0) {
            selected[size_t(i)].listedTwice = true;
            continue;
        }
        Slot slot = listedSlot(i, hash, int(i));
        slot.pending = true;
        insert(slot);
    }

    FolderReader reader(folder);
    if (!reader.isOpen())
        return false;
    while (reader.next()) {
        const QStringView name = reader.name();
        const size_t hash = hashOf(name);
        const bool ordinary = reader.kind() == FolderHandle::Kind::File;
        const qsizetype found = find(name, hash);
        if (found < 0) {
            addText(name, hash, ordinary, -1, reader.isLink());
            continue;
        }
        Slot &slot = m_slots[size_t(found)];
        if (!slot.pending)
            continue;
        slot.pending = false;
        slot.ordinary = ordinary;
        slot.link = reader.isLink();
        if (ordinary)
            selected[size_t(slot.holder)] = {reader.inode(), true, slot.link, false};
        else
            slot.holder = -1; // a folder or other entry that is no file: never the run's
    }
    // Selected names the folder does not have go. An entry moved back into
    // the gap is looked at again; one moved from the table's start to its
    // end has been looked at already.
    for (size_t i = 0; i < m_slots.size(); ++i) {
        while (m_slots[i].length != 0 && m_slots[i].pending)
            eraseAt(i);
    }
    // A name listed twice counts as such only where the first of them has
    // the file; otherwise neither has it.
    for (qsizetype i = 0; i < entries.size(); ++i) {
        SelectedFile &file = selected[size_t(i)];
        if (file.listedTwice) {
            const QString &name = entries.at(i).name;
            const qsizetype slot = find(name, hashOf(name));
            file.listedTwice = slot >= 0 && m_slots[size_t(slot)].holder >= 0;
        }
    }
    return !reader.failed();
}

void FolderIndex::load(FolderContent &content, const QList<RenameEntry> &entries,
                       std::vector<SelectedFile> &selected)
{
    Q_ASSERT(content.listed.size() == size_t(entries.size()));
    m_seed = QHashSeed::globalSeed();
    m_entries = &entries;
    selected.clear();
    ResizePrepared(selected, size_t(entries.size()));
    rehash(entries.size() + qsizetype(content.others().size()) + 16);

    // Every listed name is a file of the folder, and each is there once
    // (unless the folder changed while it was read: then the first counts).
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &name = entries.at(i).name;
        if (name.isEmpty() || name.size() > 0xFFFF)
            continue;
        const FolderContent::ListedFile &file = content.listed[size_t(i)];
        Slot slot = listedSlot(i, hashOf(name), entries.at(i).selected ? int(i) : -1);
        slot.ordinary = true;
        slot.link = file.link;
        if (!insertUnlessPresent(slot, name)) {
            selected[size_t(i)].listedTwice = entries.at(i).selected;
            continue;
        }
        if (entries.at(i).selected) {
            const quint64 inode =
                file.inode != 0 || !content.folder ? file.inode : FolderReader::inodeOf(*content.folder, name);
            selected[size_t(i)] = {inode, true, file.link, false};
        }
    }
    for (const FolderContent::OtherEntry &other : content.others()) {
        const QStringView name = content.nameOf(other);
        const size_t hash = hashOf(name);
        if (find(name, hash) < 0)
            addText(name, hash, other.ordinary, -1, other.link);
    }
    content.clear();
}

FolderIndex::Slot FolderIndex::listedSlot(qsizetype entry, size_t hash, int holder) const
{
    Slot slot;
    slot.tag = tagOf(hash);
    slot.offset = quint32(entry);
    slot.length = quint16(m_entries->at(entry).name.size());
    slot.holder = holder;
    slot.listed = true;
    return slot;
}

qsizetype FolderIndex::find(QStringView name, size_t hash) const
{
    const quint32 tag = tagOf(hash);
    for (size_t i = home(tag); m_slots[i].length != 0; i = next(i)) {
        const Slot &slot = m_slots[i];
        if (slot.tag == tag && nameOf(slot) == name)
            return qsizetype(i);
    }
    return -1;
}

qsizetype FolderIndex::add(QStringView name, size_t hash, bool ordinary, int holder, bool link)
{
    // One walk along the probe: the name's own slot, or the free one that
    // ends it, which is where a new entry goes.
    makeRoomForOne();
    const quint32 tag = tagOf(hash);
    size_t i = home(tag);
    for (; m_slots[i].length != 0; i = next(i)) {
        Slot &slot = m_slots[i];
        if (slot.tag == tag && nameOf(slot) == name) {
            slot.ordinary = ordinary;
            slot.link = link;
            slot.holder = holder;
            return qsizetype(i);
        }
    }
    m_slots[i] = textSlot(name, tag, ordinary, holder, link);
    ++m_used;
    return qsizetype(i);
}

qsizetype FolderIndex::addText(QStringView name, size_t hash, bool ordinary, int holder, bool link)
{
    return insert(textSlot(name, tagOf(hash), ordinary, holder, link));
}

FolderIndex::Slot FolderIndex::textSlot(QStringView name, quint32 tag, bool ordinary, int holder, bool link)
{
    // File names are far shorter than 64K units: the longest a file system
    // holds is 255 bytes or 255 UTF-16 units.
    Q_ASSERT(name.size() > 0 && name.size() <= 0xFFFF);
    Slot slot;
    slot.tag = tag;
    slot.offset = quint32(m_text.size());
    slot.length = quint16(name.size());
    slot.holder = holder;
    slot.ordinary = ordinary;
    slot.link = link;
    std::copy_n(name.utf16(), name.size(), m_text.room(size_t(name.size())));
    m_text.commit(size_t(name.size()));
    return slot;
}

// At seven tenths full the table doubles.
void FolderIndex::makeRoomForOne()
{
    if ((m_used + 1) * 10 > m_slots.size() * 7)
        rehash(qsizetype(m_used + 1) * 2);
}

qsizetype FolderIndex::insert(const Slot &slot)
{
    makeRoomForOne();
    size_t i = home(slot.tag);
    while (m_slots[i].length != 0)
        i = next(i);
    m_slots[i] = slot;
    ++m_used;
    return qsizetype(i);
}

bool FolderIndex::insertUnlessPresent(const Slot &slot, QStringView name)
{
    makeRoomForOne();
    size_t i = home(slot.tag);
    for (; m_slots[i].length != 0; i = next(i)) {
        if (m_slots[i].tag == slot.tag && nameOf(m_slots[i]) == name)
            return false;
    }
    m_slots[i] = slot;
    ++m_used;
    return true;
}

void FolderIndex::remove(QStringView name, size_t hash)
{
    const qsizetype slot = find(name, hash);
    if (slot >= 0)
        eraseAt(size_t(slot));
}

void FolderIndex::removeHeld(size_t hash, int holder)
{
    const quint32 tag = tagOf(hash);
    for (size_t i = home(tag); m_slots[i].length != 0; i = next(i)) {
        if (m_slots[i].tag == tag && m_slots[i].holder == holder) {
            eraseAt(i);
            return;
        }
    }
}

void FolderIndex::restoreListed(int holder, size_t hash, bool link)
{
    Slot slot = listedSlot(holder, hash, holder);
    slot.ordinary = true;
    slot.link = link;
    insert(slot);
}

// Linear probing without markers of removed entries: the entries after the
// gap that could live in it move back, so that no probe ever has to walk
// past what is gone, however many files a run renames.
void FolderIndex::eraseAt(size_t gap)
{
    m_slots[gap] = Slot();
    --m_used;
    for (size_t i = next(gap); m_slots[i].length != 0; i = next(i)) {
        const size_t wanted = home(m_slots[i].tag);
        // Whether wanted lies cyclically in (gap, i]: then the entry may stay.
        const bool stays = gap <= i ? (gap < wanted && wanted <= i) : (gap < wanted || wanted <= i);
        if (stays)
            continue;
        m_slots[gap] = m_slots[i];
        m_slots[i] = Slot();
        gap = i;
    }
}

// Room for entries at seven tenths load at most, which keeps the probes
// short and the table of a large folder small.
void FolderIndex::rehash(qsizetype entries)
{
    const size_t capacity = std::max<size_t>(16, size_t(entries) * 10 / 7 + 1);
    std::vector<Slot> old;
    ResizePrepared(old, capacity);
    old.swap(m_slots);
    m_used = 0;
    for (const Slot &slot : old) {
        if (slot.length == 0)
            continue;
        size_t i = home(slot.tag);
        while (m_slots[i].length != 0)
            i = next(i);
        m_slots[i] = slot;
        ++m_used;
    }
}
