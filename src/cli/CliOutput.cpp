#include "cli/CliOutput.h"

#include "cli/NameQuoting.h"
#include "core/CoarseClock.h"
#include "core/FolderHandle.h"
#include "core/PlainAscii.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr qsizetype kBufferLimit = 64 * 1024;
constexpr qint64 kFlushDelayMs = 50;
constexpr int kMostCallsPerClock = 32;

bool isTerminalDescriptor(int fd)
{
#ifdef Q_OS_WIN
    return ::_isatty(fd) != 0;
#else
    return ::isatty(fd) == 1;
#endif
}

qint64 writeDescriptor(int fd, const char *data, qsizetype size)
{
#ifdef Q_OS_WIN
    return ::_write(fd, data, unsigned(qMin<qsizetype>(size, 1 << 30)));
#else
    return ::write(fd, data, size_t(size));
#endif
}

} // namespace

CliOutput::CliOutput(int fd)
    : m_fd(fd)
    , m_terminal(isTerminalDescriptor(fd))
{
}

CliOutput::CliOutput(QByteArray *sink, bool terminal)
    : m_sink(sink)
    , m_terminal(terminal)
{
}

CliOutput::~CliOutput()
{
    flush();
}

void CliOutput::write(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBufferLimit)
        flush();
}

void CliOutput::writeText(const QString &text)
{
    if (m_terminal)
        write(QByteArrayView(EscapeControlsForTerminal(text)));
    else
        write(QByteArrayView(FolderHandle::encodeName(text)));
}

void CliOutput::writeName(const QString &name)
{
    if (m_terminal) {
        write(QByteArrayView(QuoteNameForTerminal(name)));
        return;
    }
    // Most names are plain ASCII: their bytes go straight into the buffer.
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + name.size());
    if (!CopyPlainAscii(name, m_buffer.data() + start)) {
        m_buffer.truncate(start);
        // A name's bytes as the folder holds them, text or not, as `ls`
        // writes them to a pipe.
        write(QByteArrayView(FolderHandle::encodeName(name)));
        return;
    }
    if (m_buffer.size() >= kBufferLimit)
        flush();
}

void CliOutput::writeNamePair(const QString &first, QByteArrayView between, const QString &second,
                              QByteArrayView end)
{
    if (!m_terminal) {
        // Two plain ASCII names, one resize of the buffer.
        const qsizetype start = m_buffer.size();
        m_buffer.resize(start + first.size() + between.size() + second.size() + end.size());
        char *out = m_buffer.data() + start;
        if (CopyPlainAscii(first, out) && CopyPlainAscii(second, out + first.size() + between.size())) {
            std::memcpy(out + first.size(), between.data(), size_t(between.size()));
            std::memcpy(out + first.size() + between.size() + second.size(), end.data(), size_t(end.size()));
            if (m_buffer.size() >= kBufferLimit)
                flush();
            return;
        }
        m_buffer.truncate(start);
    }
    writeName(first);
    write(between);
    writeName(second);
    write(end);
}

void CliOutput::flushSoon()
{
    if (m_terminal || m_sink || m_lastFlushMs < 0) {
        flush();
        return;
    }
    // While calls come fast, the clock is read only every so many of them:
    // a run reports a file every few microseconds. As soon as they come
    // slowly, it is read at every call again, so a line never waits long.
    if (++m_callsSinceClock < m_callsPerClock)
        return;
    m_callsSinceClock = 0;
    const qint64 now = CoarseMonotonicMs();
    m_callsPerClock = now - m_lastClockMs <= 1 ? std::min(m_callsPerClock * 2, kMostCallsPerClock) : 1;
    m_lastClockMs = now;
    if (now - m_lastFlushMs >= kFlushDelayMs)
        flush();
}

bool CliOutput::flush()
{
    m_lastFlushMs = CoarseMonotonicMs();
    if (m_sink) {
        m_sink->append(m_buffer);
        m_buffer.clear();
        return true;
    }
    const char *data = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0 && !m_failed) {
        const qint64 written = writeDescriptor(m_fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_failed = true;
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        data += written;
        left -= written;
    }
    m_buffer.resize(0); // keeps its room for what comes next
    return !m_failed;
}
