#pragma once

#include <sys/types.h>

// The system calls a run makes besides its moves: those that put a file it
// replaces into a trash, and those that write its journal. A test passes a
// run its own, through RenameFileOperations::systemCalls(), to make any one
// of them fail as a full disk, a lost device or a file limit would.
class RunSystemCalls
{
public:
    virtual ~RunSystemCalls() = default;

    // Each answers as the system call does: -1 with errno set on failure.
    virtual int makeFolder(const char *path, mode_t mode);
    virtual int openAt(int folder, const char *path, int flags, mode_t mode = 0);
    virtual ssize_t write(int fd, const void *data, size_t size);
    // fsync, or with dataOnly the cheaper fdatasync where there is one.
    virtual int sync(int fd, bool dataOnly);
    // renameat, or with noReplace one that never replaces (EEXIST instead).
    virtual int renameAt(int fromFolder, const char *from, int toFolder, const char *to, bool noReplace);

    static RunSystemCalls &system();
};
