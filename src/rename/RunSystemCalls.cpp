#include "rename/RunSystemCalls.h"

#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

int RunSystemCalls::makeFolder(const char *path, mode_t mode)
{
    return ::mkdir(path, mode);
}

int RunSystemCalls::openAt(int folder, const char *path, int flags, mode_t mode)
{
    return ::openat(folder, path, flags, mode);
}

ssize_t RunSystemCalls::write(int fd, const void *data, size_t size)
{
    return ::write(fd, data, size);
}

int RunSystemCalls::sync(int fd, bool dataOnly)
{
#if defined(Q_OS_LINUX)
    if (dataOnly)
        return ::fdatasync(fd);
#else
    Q_UNUSED(dataOnly);
#endif
    return ::fsync(fd);
}

int RunSystemCalls::renameAt(int fromFolder, const char *from, int toFolder, const char *to, bool noReplace)
{
#if defined(Q_OS_LINUX)
    if (noReplace)
        return ::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE);
#else
    if (noReplace) {
        errno = ENOSYS;
        return -1;
    }
#endif
    return ::renameat(fromFolder, from, toFolder, to);
}

RunSystemCalls &RunSystemCalls::system()
{
    static RunSystemCalls calls;
    return calls;
}
