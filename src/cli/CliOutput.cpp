#include "cli/CliOutput.h"

#include "cli/NameQuoting.h"
#include "core/CoarseClock.h"

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
        write(QByteArrayView(text.toUtf8()));
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
    char *out = m_buffer.data() + start;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            m_buffer.truncate(start);
            write(QByteArrayView(name.toUtf8()));
            return;
        }
        *out++ = char(c.unicode());
    }
    if (m_buffer.size() >= kBufferLimit)
        flush();
}

void CliOutput::flushSoon()
{
    if (m_terminal || m_sink || m_lastFlushMs < 0 || CoarseMonotonicMs() - m_lastFlushMs >= kFlushDelayMs)
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
