#pragma once

#include "core/PlainBuffer.h"
#include "core/Prefetch.h"
#include "rename/PlatformFiles.h"
#include "rename/RunTypes.h"

class FolderContent;
class FolderHandle;

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// The entries of one folder, read once and kept current as a rename run
// renames, so that collision questions never go back to the disk. Entries
// are found by the hash of their folded name, so one lookup answers both "is
// this exact name taken" and "would the existence probe find a file under
// it".
//
// The table is flat and small: sixteen bytes an entry, no allocation per
// name. The names of the run's own files are not copied: the index refers
// to the run's list for them, which must outlive it. Every other name lives
// in one text buffer, one after another.
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

    // What the folder holds under the name of a selected entry.
    struct SelectedFile
    {
        quint64 inode = 0;
        bool present = false;     // an ordinary file, now held by the entry
        bool link = false;        // a symbolic link
        bool listedTwice = false; // an earlier entry has the same name
    };

    // Reads folder, with the selected entries among the list's entries;
    // selected[i] says what became of entry i. False when the folder cannot
    // be read. Names that no text can give (see FolderReader) are left out:
    // no new name can equal them.
    bool load(const FolderHandle &folder, const QList<RenameEntry> &entries, std::vector<SelectedFile> &selected);
    // The same from the read that listed entries just now, one entry for
    // each name it listed, in its order: the folder is not read again.
    // content is emptied.
    void load(FolderContent &content, const QList<RenameEntry> &entries, std::vector<SelectedFile> &selected);

    // The lookups take the name's hash, so that a name looked up, removed
    // and added again is hashed only once.
    size_t hashOf(QStringView name) const { return PlatformFiles::foldedNameHash(name, m_seed); }

    // Calls visit for every entry whose name is name but for letter case,
    // until it answers false.
    template<typename Visit>
    void forEachAlike(QStringView name, size_t hash, Visit visit) const
    {
        const quint32 tag = tagOf(hash);
        for (size_t i = home(tag); m_slots[i].length != 0; i = next(i)) {
            const Slot &slot = m_slots[i];
            if (slot.tag == tag && PlatformFiles::sameFoldedName(nameOf(slot), name)
                && !visit(Entry{nameOf(slot), slot.ordinary, slot.holder, slot.link}))
                return;
        }
    }

    // Fetches the memory a look-up of this hash starts at, ahead of it.
    void prefetch(size_t hash) const { PrefetchForRead(&m_slots[home(tagOf(hash))]); }

    // The slot of exactly this name, or -1; valid until the index next changes.
    qsizetype find(QStringView name, size_t hash) const;
    int holder(qsizetype slot) const { return m_slots[slot].holder; }

    // Where an entry's name lies: it stays there, also after the entry is
    // removed, as long as the index lives.
    struct NameRef
    {
        quint32 offset = 0; // in the text buffer, or the list entry
        quint16 length = 0;
        bool listed = false; // the name of a list entry
    };
    NameRef nameRef(qsizetype slot) const
    {
        const Slot &slot_ = m_slots[slot];
        return {slot_.offset, slot_.length, slot_.listed};
    }
    QStringView nameAt(NameRef ref) const
    {
        return ref.listed ? QStringView(m_entries->at(ref.offset).name)
                          : QStringView(m_text.data() + ref.offset, ref.length);
    }

    // Adds the entry, or updates the one of the same name (a replaced file),
    // and answers its slot.
    qsizetype add(QStringView name, size_t hash, bool ordinary, int holder, bool link = false);
    void remove(QStringView name, size_t hash);
    // Removes the entry the selected list entry holder holds under a name of
    // this hash. The holder tells it apart, so no name is read: the names of
    // list entries lie all over memory.
    void removeHeld(size_t hash, int holder);
    // Gives the list entry holder its own name again, as the load found it
    // (an ordinary file): for a move the run planned but did not make.
    void restoreListed(int holder, size_t hash, bool link);

private:
    struct Slot
    {
        quint32 tag = 0;    // high half of the hash: the home slot, and skips most mismatches
        quint32 offset = 0; // of the name in m_text, or the list entry
        qint32 holder = -1;
        quint16 length = 0; // none: an empty slot
        bool ordinary : 1 = false;
        bool link : 1 = false;
        bool listed : 1 = false;  // the name is a list entry's
        bool pending : 1 = false; // a selected name the folder has not shown yet
    };
    static_assert(sizeof(Slot) == 16);

    static quint32 tagOf(size_t hash) { return quint32(quint64(hash) >> 32); }
    // The first slot to look at, from the tag scaled to the table: a slot's
    // home is known without hashing its name again.
    size_t home(quint32 tag) const { return size_t((quint64(tag) * m_slots.size()) >> 32); }
    size_t next(size_t i) const { return ++i == m_slots.size() ? 0 : i; }
    QStringView nameOf(const Slot &slot) const
    {
        return slot.listed ? QStringView(m_entries->at(slot.offset).name)
                           : QStringView(m_text.data() + slot.offset, slot.length);
    }
    // A slot for the name of list entry, held by holder.
    Slot listedSlot(qsizetype entry, size_t hash, int holder) const;
    qsizetype addText(QStringView name, size_t hash, bool ordinary, int holder, bool link);
    // A slot for name, its text put after the text held so far.
    Slot textSlot(QStringView name, quint32 tag, bool ordinary, int holder, bool link);
    qsizetype insert(const Slot &slot);
    void makeRoomForOne();
    // Adds slot, for name, unless an entry has that name already.
    bool insertUnlessPresent(const Slot &slot, QStringView name);
    void eraseAt(size_t i);
    void rehash(qsizetype entries);

    std::vector<Slot> m_slots = std::vector<Slot>(16);
    size_t m_used = 0;
    PlainBuffer<char16_t> m_text; // grows without copying what it holds
    const QList<RenameEntry> *m_entries = nullptr;
    size_t m_seed = 0;
};
