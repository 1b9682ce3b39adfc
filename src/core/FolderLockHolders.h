#pragma once

#include <sys/types.h>

// Whether whoever holds a flock() on the folder (device, inode, as fstat()
// gives them; mode and owner for the permission check) may write in it, as
// the system lists the holders in /proc/locks. A holder that may only read
// the folder is not a rename run: it must not keep runs out. True when a
// holder may write, or when that cannot be found out (its process is not visible
// here): then the lock is taken for a run's.
bool FolderLockHeldByWriter(dev_t device, ino_t inode, mode_t mode, uid_t owner, gid_t group);
