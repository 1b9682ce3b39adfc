#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

// What reading a mounted volume's root found.
enum class VolumeState {
    Folder,    // a folder that answered: the volume is ready
    NotFolder, // a single file mounted over a file (containers bind /etc/hosts)
    Unreadable // there, but it refused to be read
};

// Reads one volume's root; may block for as long as the volume does not
// answer (a stopped FUSE process, an NFS or sshfs server gone).
using VolumeReader = std::function<VolumeState(const QString &mountPoint)>;

// The system's reader: stat and statvfs of the mount point.
VolumeState ReadVolume(const QString &mountPoint);

// Reads volumes off the calling thread, with a time limit: each volume is
// read on a small thread of its own, all at once, and what has not answered
// when the limit is up is taken as not ready. Such a thread is abandoned,
// never joined (it may be stuck in the kernel until the server answers),
// and while it is still out that volume is not read again: it is not ready
// at once, without a wait.
class VolumeProbe
{
public:
    static constexpr std::chrono::milliseconds kDefaultLimit{400};

    explicit VolumeProbe(VolumeReader reader = ReadVolume, std::chrono::milliseconds limit = kDefaultLimit);
    ~VolumeProbe();

    VolumeProbe(const VolumeProbe &) = delete;
    VolumeProbe &operator=(const VolumeProbe &) = delete;

    // The state of each mount point, in order; Unreadable for one that did
    // not answer in time.
    QList<VolumeState> read(const QStringList &mountPoints);

    // Reads still out (their threads have not returned).
    int outstanding() const;

private:
    struct Shared;
    VolumeReader m_reader;
    std::chrono::milliseconds m_limit;
    std::shared_ptr<Shared> m_shared;
};
