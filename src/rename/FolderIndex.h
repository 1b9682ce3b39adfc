#pragma once

#include "rename/PlatformFiles.h"

class FolderHandle;

#include <QString>
#include <QStringView>

#include <cstring>
#include <vector>

// The entries of one folder, read once and kept current as a rename run
// renames, so that collision questions never go back to the disk. Entries
// are found by the hash of their folded name, so one lookup answers both "is
// this exact name taken" and "would the existence probe find a file under
// it". The names live one after another in one text buffer and the table is
// flat: reading a large folder costs no allocation per name.
class FolderIndex
{
public:
    struct Entry
    {
        QStringView name;
        bool ordinary = false; // a regular file, or a link to one
        int holder = -1;       // the selected list entry this file belongs to
        bool link = false;     // a symbolic link
    };

    // Reads folder; expectedSize is the number of names the index will hold
    // (its entries and the new names to come). False when it cannot be read.
    // Names that no text can give (see FolderReader) are left out: no new
    // name can equal them.
    bool load(const FolderHandle &folder, qsizetype expectedSize);

    // The lookups take the name's hash, so that a name looked up, removed
    // and added again is hashed only once.
    size_t hashOf(QStringView name) const { return PlatformFiles::foldedNameHash(name, m_seed); }

    // Calls visit for every entry whose name is name but for letter case,
    // until it answers false.
    template<typename Visit>
    void forEachAlike(QStringView name, size_t hash, Visit visit) const
    {
        for (size_t i = home(hash); m_slots[i].state != Slot::Empty; i = next(i)) {
            const Slot &slot = m_slots[i];
            if (slot.state == Slot::Used && slot.tag == tagOf(hash) && PlatformFiles::sameFoldedName(nameOf(slot), name)
                && !visit(Entry{nameOf(slot), slot.ordinary, slot.holder, slot.link}))
                return;
        }
    }

    // Where an entry's name lies in the index's text: it stays there, also
    // after the entry is removed, until the index is loaded again.
    struct NameRef
    {
        quint32 offset = 0;
        quint16 length = 0;
    };
    NameRef nameRef(qsizetype slot) const { return {m_slots[slot].offset, m_slots[slot].length}; }
    QStringView nameAt(NameRef ref) const { return QStringView(m_text.data() + ref.offset, ref.length); }

    // The slot of exactly this name, or -1; valid until the index next changes.
    qsizetype find(QStringView name, size_t hash) const;

    bool isOrdinaryFile(qsizetype slot) const { return m_slots[slot].ordinary; }
    // The inode number the folder listed for the entry; 0 for names added
    // since.
    quint64 inode(qsizetype slot) const
    {
        quint64 value;
        std::memcpy(&value, m_text.data() + m_slots[slot].offset - kInodeUnits, sizeof value);
        return value;
    }
    bool isLink(qsizetype slot) const { return m_slots[slot].link; }
    int holder(qsizetype slot) const { return m_slots[slot].holder; }
    void setHolder(qsizetype slot, int holder) { m_slots[slot].holder = holder; }

    // Starts fetching the memory a lookup of this hash reads first, so that
    // a run of lookups need not wait for each one in turn.
    void prefetch(size_t hash) const
    {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&m_slots[home(hash)]);
#else
        Q_UNUSED(hash);
#endif
    }

    // Slots stay where they are until the table grows; the generation tells
    // whether a slot noted earlier still holds its entry.
    quint32 generation() const { return m_generation; }

    // Adds the entry, or updates the one of the same name (a replaced file),
    // and answers its slot.
    qsizetype add(QStringView name, size_t hash, bool ordinary, int holder, bool link = false, quint64 inode = 0);
    void remove(QStringView name, size_t hash);
    // Removes the entry of a slot noted in this generation.
    void removeAt(qsizetype slot) { m_slots[slot].state = Slot::Vacated; } // later probes go on past it

private:
    // Sixteen bytes: the table of a large folder stays small.
    struct Slot
    {
        enum State : quint8 { Empty, Used, Vacated };
        quint32 tag = 0;    // high half of the hash, to skip most mismatches
        quint32 offset = 0; // of the name in m_text
        qint32 holder = -1;
        quint16 length = 0;
        State state = Empty;
        bool ordinary : 1 = false;
        bool link : 1 = false;
    };
    static_assert(sizeof(Slot) == 16);

    // Each name in m_text follows its inode number, in as many units.
    static constexpr size_t kInodeUnits = sizeof(quint64) / sizeof(char16_t);

    static quint32 tagOf(size_t hash) { return quint32(quint64(hash) >> 32); }
    // The first slot to look at: the low half of the hash scaled to the
    // table, whatever its size.
    size_t home(size_t hash) const { return size_t((quint64(quint32(hash)) * m_slots.size()) >> 32); }
    size_t next(size_t i) const { return ++i == m_slots.size() ? 0 : i; }
    QStringView nameOf(const Slot &slot) const { return QStringView(m_text.data() + slot.offset, slot.length); }
    void rehash(qsizetype entries);

    std::vector<Slot> m_slots = std::vector<Slot>(16);
    size_t m_occupied = 0; // used and vacated slots
    quint32 m_generation = 0;
    std::vector<char16_t> m_text;
    size_t m_seed = 0;
};
