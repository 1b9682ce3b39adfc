#include "rename/EntryIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

std::optional<EntryIdentity> IdentifyEntry(int dirFd, const char *name)
{
    struct statx st;
    const int flags = AT_SYMLINK_NOFOLLOW | (name[0] == 0 ? AT_EMPTY_PATH : 0);
    if (::statx(dirFd, name, flags, STATX_INO | STATX_TYPE | STATX_BTIME | STATX_MTIME | STATX_SIZE, &st) != 0)
        return std::nullopt;
    EntryIdentity identity;
    identity.device = quint64(makedev(st.stx_dev_major, st.stx_dev_minor)); // as stat() gives it
    identity.inode = st.stx_ino;
    const bool born = (st.stx_mask & STATX_BTIME) != 0 && (st.stx_btime.tv_sec != 0 || st.stx_btime.tv_nsec != 0);
    const struct statx_timestamp &time = born ? st.stx_btime : st.stx_mtime;
    identity.bornMs = qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
    if (born)
        identity.stamp = 'b' + QByteArray::number(qint64(time.tv_sec)) + '.' + QByteArray::number(time.tv_nsec);
    else if (!S_ISDIR(st.stx_mode))
        identity.stamp = 'm' + QByteArray::number(qint64(time.tv_sec)) + '.' + QByteArray::number(time.tv_nsec) + '.'
            + QByteArray::number(quint64(st.stx_size));
    return identity;
}
