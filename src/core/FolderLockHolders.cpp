#include "core/FolderLockHolders.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The process's effective user and its groups, from /proc/PID/status.
bool userOf(const QByteArray &pid, uid_t *user, QList<gid_t> *groups)
{
    QFile status(QByteArrayLiteral("/proc/") + pid + QByteArrayLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    bool sawUser = false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 3 && fields.at(0) == "Uid:") {
            *user = uid_t(fields.at(2).toUInt());
            sawUser = true;
        } else if (fields.size() >= 3 && fields.at(0) == "Gid:") {
            groups->append(gid_t(fields.at(2).toUInt()));
        } else if (fields.at(0) == "Groups:") {
            for (qsizetype i = 1; i < fields.size(); ++i)
                groups->append(gid_t(fields.at(i).toUInt()));
        }
    }
    return sawUser;
}

bool mayWrite(uid_t user, const QList<gid_t> &groups, mode_t mode, uid_t owner, gid_t group)
{
    if (user == 0)
        return true;
    if (user == owner)
        return (mode & S_IWUSR) != 0;
    if (groups.contains(group))
        return (mode & S_IWGRP) != 0;
    return (mode & S_IWOTH) != 0;
}

} // namespace

bool FolderLockHeldByWriter(dev_t device, ino_t inode, mode_t mode, uid_t owner, gid_t group)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return true;
    // "1: FLOCK  ADVISORY  WRITE 4242 fd:01:1234 0 EOF"; a waiting lock's
    // line starts "1: -> FLOCK".
    const QByteArray file = QByteArray::number(major(device), 16).rightJustified(2, '0') + ':'
        + QByteArray::number(minor(device), 16).rightJustified(2, '0') + ':' + QByteArray::number(quint64(inode));
    bool anyHolder = false;
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields.at(1) != "FLOCK" || fields.at(5) != file)
            continue;
        anyHolder = true;
        uid_t user = 0;
        QList<gid_t> groups;
        if (!userOf(fields.at(4), &user, &groups) || mayWrite(user, groups, mode, owner, group))
            return true;
    }
    // No holder listed: the lock was let go meanwhile, or is not visible.
    return !anyHolder;
}
