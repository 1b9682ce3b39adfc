#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One output stream of quillmere-rename (standard output or error), written
// with plain system calls so that every failed write is seen: a full disk or
// a closed pipe must not pass for a finished report.
class CliOutput
{
public:
    // Writes to the file descriptor fd; names are quoted when it is a
    // terminal.
    explicit CliOutput(int fd);
    // Collects everything in *sink instead, as if written to a terminal or
    // not; for tests.
    CliOutput(QByteArray *sink, bool terminal);
    ~CliOutput();

    CliOutput(const CliOutput &) = delete;
    CliOutput &operator=(const CliOutput &) = delete;

    bool isTerminal() const { return m_terminal; }

    void write(QByteArrayView bytes);
    // A text for the user: on a terminal its control characters escaped.
    void writeText(const QString &text);
    // A file name: its bytes as they are, or quoted for a terminal.
    void writeName(const QString &name);
    // writeName(first), between, writeName(second), end.
    void writeNamePair(const QString &first, QByteArrayView between, const QString &second, QByteArrayView end);

    // Hands the buffered bytes to the system. False once any write failed.
    bool flush();
    // Flushes a terminal at once, anything else when its bytes have waited
    // long enough: a reader of a pipe or file sees the lines within a
    // moment, without a system call per line.
    void flushSoon();
    bool failed() const { return m_failed; }
    // The system's reason for the first failed write.
    QString errorText() const { return m_error; }

private:
    int m_fd = -1;
    QByteArray *m_sink = nullptr;
    bool m_terminal = false;
    bool m_failed = false;
    QString m_error;
    QByteArray m_buffer;
    qint64 m_lastFlushMs = -1; // none yet
    qint64 m_lastClockMs = 0;
    int m_callsSinceClock = 0;
    int m_callsPerClock = 1;
};
