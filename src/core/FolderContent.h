#pragma once

#include <QStringView>
#include <QtGlobal>

#include <vector>

class FolderHandle;

// What one read of a folder showed besides the names a file list keeps: the
// inode and link flag of every listed file, in list order, and every entry
// the list leaves out (hidden names, other patterns, folders and the like).
// A run that lists a folder and renames in it at once gets from here what it
// would otherwise read the folder a second time for.
class FolderContent
{
public:
    struct ListedFile
    {
        quint64 inode = 0; // 0 where the listing gives none: ask folder for it
        bool link = false; // a symbolic link to a regular file
        quint32 order = 0; // its place among the listed files, in the order the folder gave them
    };

    struct OtherEntry
    {
        quint32 offset = 0; // in the text
        quint16 length = 0;
        bool ordinary = false; // a regular file, or a link to one
        bool link = false;
    };

    std::vector<ListedFile> listed;
    // The folder that was read, open for as long as the content is used.
    const FolderHandle *folder = nullptr;

    const std::vector<OtherEntry> &others() const { return m_others; }
    QStringView nameOf(const OtherEntry &entry) const
    {
        return QStringView(m_otherText.data() + entry.offset, entry.length);
    }

    // Names too long for a file system (more than 65,535 units) are no
    // entries of any folder and are left out.
    void addOther(QStringView name, bool ordinary, bool link)
    {
        if (name.isEmpty() || name.size() > 0xFFFF)
            return;
        m_others.push_back({quint32(m_otherText.size()), quint16(name.size()), ordinary, link});
        m_otherText.insert(m_otherText.end(), name.utf16(), name.utf16() + name.size());
    }

    void clear()
    {
        std::vector<ListedFile>().swap(listed);
        folder = nullptr;
        std::vector<OtherEntry>().swap(m_others);
        std::vector<char16_t>().swap(m_otherText);
    }

private:
    std::vector<OtherEntry> m_others;
    std::vector<char16_t> m_otherText;
};
