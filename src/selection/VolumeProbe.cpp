#include "selection/VolumeProbe.h"

#include <QFile>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/statvfs.h>

VolumeState ReadVolume(const QString &mountPoint)
{
    const QByteArray path = QFile::encodeName(mountPoint);
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return VolumeState::Unreadable;
    if (!S_ISDIR(status.st_mode))
        return VolumeState::NotFolder;
    struct statvfs volume;
    return ::statvfs(path.constData(), &volume) == 0 ? VolumeState::Folder : VolumeState::Unreadable;
}

// Shared by the probe and its threads: a thread may outlive the probe, and
// even the program's exit, so it holds this and nothing else of the probe.
struct VolumeProbe::Shared
{
    std::mutex mutex;
    std::condition_variable answered;
    std::set<QString> out; // mount points whose read has not returned
};

namespace {

// One call's answers; the threads of the call fill them in.
struct Answers
{
    std::vector<std::optional<VolumeState>> states;
};

} // namespace

VolumeProbe::VolumeProbe(VolumeReader reader, std::chrono::milliseconds limit)
    : m_reader(std::move(reader))
    , m_limit(limit)
    , m_shared(std::make_shared<Shared>())
{
}

VolumeProbe::~VolumeProbe() = default;

QList<VolumeState> VolumeProbe::read(const QStringList &mountPoints)
{
    const auto answers = std::make_shared<Answers>();
    answers->states.resize(size_t(mountPoints.size()));
    std::vector<size_t> waitingFor;
    {
        std::lock_guard lock(m_shared->mutex);
        for (qsizetype k = 0; k < mountPoints.size(); ++k) {
            const QString &point = mountPoints.at(k);
            // Still stuck from an earlier call: asking again would only add
            // a thread stuck behind it.
            if (!m_shared->out.insert(point).second)
                continue;
            try {
                std::thread([shared = m_shared, answers, reader = m_reader, point, slot = size_t(k)] {
                    const VolumeState state = reader(point);
                    std::lock_guard lock(shared->mutex);
                    shared->out.erase(point);
                    answers->states[slot] = state;
                    shared->answered.notify_all();
                }).detach();
                waitingFor.push_back(size_t(k));
            } catch (const std::system_error &) {
                // No thread to be had: the volume is not read, so not ready.
                m_shared->out.erase(point);
            }
        }
    }

    {
        std::unique_lock lock(m_shared->mutex);
        const auto allAnswered = [&] {
            for (size_t k : waitingFor) {
                if (!answers->states[k])
                    return false;
            }
            return true;
        };
        m_shared->answered.wait_for(lock, m_limit, allAnswered);
    }

    QList<VolumeState> states;
    states.reserve(mountPoints.size());
    std::lock_guard lock(m_shared->mutex);
    for (const std::optional<VolumeState> &state : answers->states)
        states.append(state.value_or(VolumeState::Unreadable));
    return states;
}

int VolumeProbe::outstanding() const
{
    std::lock_guard lock(m_shared->mutex);
    return int(m_shared->out.size());
}
