#include "rename/FolderIndex.h"

#include "core/FolderReader.h"

#include <QHashSeed>

#include <algorithm>

bool FolderIndex::load(const FolderHandle &folder, qsizetype expectedSize)
{
    m_seed = QHashSeed::globalSeed();
    m_text.reserve(size_t(expectedSize) * (16 + kInodeUnits));
    rehash(expectedSize);
    FolderReader reader(folder);
    if (!reader.isOpen())
        return false;
    while (reader.next()) {
        const QStringView name = reader.name();
        if (!reader.roundTrips())
            continue;
        add(name, hashOf(name), reader.kind() == FolderHandle::Kind::File, -1, reader.isLink(), reader.inode());
    }
    return !reader.failed();
}

qsizetype FolderIndex::find(QStringView name, size_t hash) const
{
    for (size_t i = home(hash); m_slots[i].state != Slot::Empty; i = next(i)) {
        const Slot &slot = m_slots[i];
        if (slot.state == Slot::Used && slot.tag == tagOf(hash) && nameOf(slot) == name)
            return qsizetype(i);
    }
    return -1;
}

qsizetype FolderIndex::add(QStringView name, size_t hash, bool ordinary, int holder, bool link, quint64 inode)
{
    if ((m_occupied + 1) * 10 > m_slots.size() * 7)
        rehash(qsizetype(m_occupied + 1) * 2);
    size_t free = m_slots.size();
    size_t i = home(hash);
    for (; m_slots[i].state != Slot::Empty; i = next(i)) {
        Slot &slot = m_slots[i];
        if (slot.state == Slot::Vacated) {
            if (free == m_slots.size())
                free = i;
        } else if (slot.tag == tagOf(hash) && nameOf(slot) == name) {
            slot.ordinary = ordinary;
            slot.link = link;
            slot.holder = holder;
            return qsizetype(i);
        }
    }
    if (free == m_slots.size()) {
        free = i;
        ++m_occupied;
    }
    // File names are far shorter than 64K units: the longest a file system
    // holds is 255 bytes or 255 UTF-16 units.
    Q_ASSERT(name.size() <= 0xFFFF);
    Slot &slot = m_slots[free];
    char16_t inodeUnits[kInodeUnits];
    std::memcpy(inodeUnits, &inode, sizeof inode);
    m_text.insert(m_text.end(), inodeUnits, inodeUnits + kInodeUnits);
    slot = Slot{tagOf(hash), quint32(m_text.size()), holder, quint16(name.size()), Slot::Used};
    slot.ordinary = ordinary;
    slot.link = link;
    m_text.insert(m_text.end(), name.utf16(), name.utf16() + name.size());
    return qsizetype(free);
}

void FolderIndex::remove(QStringView name, size_t hash)
{
    const qsizetype slot = find(name, hash);
    if (slot >= 0)
        removeAt(slot);
}

// Room for entries at seven tenths load at most, which keeps the probes
// short and the table of a large folder small; vacated slots are dropped.
void FolderIndex::rehash(qsizetype entries)
{
    const size_t capacity = std::max<size_t>(16, size_t(entries) * 10 / 7 + 1);
    std::vector<Slot> old(capacity);
    old.swap(m_slots);
    ++m_generation;
    m_occupied = 0;
    for (const Slot &slot : old) {
        if (slot.state != Slot::Used)
            continue;
        size_t i = home(hashOf(nameOf(slot)));
        while (m_slots[i].state != Slot::Empty)
            i = next(i);
        m_slots[i] = slot;
        ++m_occupied;
    }
}
