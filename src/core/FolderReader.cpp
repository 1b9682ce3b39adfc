#include "core/FolderReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FolderReader::FolderReader(const FolderHandle &folder)
    : m_folder(folder)
{
    if (!folder.isOpen()) {
        m_error = folder.openError() != 0 ? folder.openError() : EBADF;
        return;
    }
    // A description of its own: reading moves no position the handle or
    // another reader shares.
    const int fd = ::openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        m_error = errno;
        ::close(fd);
    }
}

FolderReader::~FolderReader()
{
    if (m_dir)
        ::closedir(m_dir);
}

bool FolderReader::next()
{
    if (!m_dir)
        return false;
    for (;;) {
        errno = 0;
        m_entry = ::readdir(m_dir);
        if (!m_entry) {
            m_failed = errno != 0;
            if (m_failed)
                m_error = errno;
            return false;
        }
        const char *raw = m_entry->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        m_kindKnown = false;
        m_decoded = false;
        return true;
    }
}

FolderHandle::Kind FolderReader::kind()
{
    if (m_kindKnown)
        return m_kind;
    m_kindKnown = true;
    m_link = m_entry->d_type == DT_LNK;
    switch (m_entry->d_type) {
    case DT_REG:
        return m_kind = FolderHandle::Kind::File;
    case DT_DIR:
        return m_kind = FolderHandle::Kind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return m_kind = FolderHandle::Kind::Other;
    }
    struct stat st;
    if (m_entry->d_type == DT_UNKNOWN && ::fstatat(m_folder.descriptor(), m_entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        m_link = S_ISLNK(st.st_mode);
    if (::fstatat(m_folder.descriptor(), m_entry->d_name, &st, 0) != 0)
        return m_kind = FolderHandle::Kind::Missing;
    m_kind = S_ISREG(st.st_mode)   ? FolderHandle::Kind::File
           : S_ISDIR(st.st_mode) ? FolderHandle::Kind::Folder
                                 : FolderHandle::Kind::Other;
    return m_kind;
}

quint64 FolderReader::statInode() const
{
    const quint64 inode = askInode(m_folder.descriptor(), m_entry->d_name);
    return inode != 0 ? inode : kUnknownInode;
}

quint64 FolderReader::inodeOf(const FolderHandle &folder, QStringView name)
{
    thread_local QByteArray buffer;
    return folder.isOpen() ? askInode(folder.descriptor(), FolderHandle::encodeName(name, buffer)) : 0;
}

quint64 FolderReader::askInode(int dirFd, const char *rawName)
{
    struct stat st;
    return ::fstatat(dirFd, rawName, &st, AT_SYMLINK_NOFOLLOW) == 0 ? quint64(st.st_ino) : 0;
}

bool FolderReader::isLink()
{
    kind();
    return m_link;
}

QStringView FolderReader::name()
{
    if (!m_decoded)
        decode();
    return QStringView(m_name.data(), m_name.size());
}

void FolderReader::decode()
{
    m_decoded = true;
    const char *raw = m_entry->d_name;
    const qsizetype length = qsizetype(std::strlen(raw));
    m_name.resize(length);
    qsizetype ascii = 0;
    while (ascii < length && static_cast<unsigned char>(raw[ascii]) < 0x80) {
        m_name[ascii] = char16_t(raw[ascii]);
        ++ascii;
    }
    if (ascii < length)
        FolderHandle::decodeName(QByteArrayView(raw, length), m_name);
}
