#include "RawProcess.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace {

// Reads every descriptor until it ends; a pseudo-terminal's master reports
// EIO once the last holder of the slave has gone.
void drain(const std::vector<std::pair<int, QByteArray *>> &sources)
{
    std::vector<pollfd> fds;
    for (const auto &source : sources)
        fds.push_back({source.first, POLLIN, 0});
    qsizetype open = qsizetype(fds.size());
    char buffer[65536];
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), 60000) <= 0)
            return;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sources[i].second->append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

} // namespace

RawRun RunRaw(const QByteArray &program, const QList<QByteArray> &arguments, RawRun::Output output,
              const QByteArray &workingFolder)
{
    RawRun result;
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    int master = -1;
    int slave = -1;
    if (output == RawRun::Output::Terminal) {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
            return result;
        // Raw, so that the bytes read back are the bytes written, without
        // the terminal's own line-end translation.
        termios settings {};
        ::tcgetattr(slave, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(slave, TCSANOW, &settings);
    } else {
        if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
            return result;
        if (output == RawRun::Output::ClosedPipe) {
            // Gone before the program could write a byte.
            ::close(outPipe[0]);
            outPipe[0] = -1;
        }
    }

    std::vector<QByteArray> storage;
    storage.push_back(program);
    for (const QByteArray &argument : arguments)
        storage.push_back(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0)
        return result;
    if (child == 0) {
        if (!workingFolder.isEmpty() && ::chdir(workingFolder.constData()) != 0)
            ::_exit(127);
        switch (output) {
        case RawRun::Output::Terminal:
            ::dup2(slave, 1);
            ::dup2(slave, 2);
            break;
        case RawRun::Output::FullDisk: {
            const int full = ::open("/dev/full", O_WRONLY);
            ::dup2(full, 1);
            ::dup2(errPipe[1], 2);
            break;
        }
        case RawRun::Output::ClosedPipe:
            ::dup2(outPipe[1], 1);
            ::dup2(errPipe[1], 2);
            break;
        case RawRun::Output::Pipes:
            ::dup2(outPipe[1], 1);
            ::dup2(errPipe[1], 2);
            break;
        }
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }

    if (output == RawRun::Output::Terminal) {
        ::close(slave);
        drain({{master, &result.out}});
        ::close(master);
    } else {
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        if (output == RawRun::Output::ClosedPipe) {
            drain({{errPipe[0], &result.err}});
        } else {
            drain({{outPipe[0], &result.out}, {errPipe[0], &result.err}});
            ::close(outPipe[0]);
        }
        ::close(errPipe[0]);
    }

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}
