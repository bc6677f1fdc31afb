// SPDX-License-Identifier: GPL-3.0-or-later
#include "process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace filmarin::platform {

namespace {

constexpr int kPollMilliseconds = 50;

int niceFor(Priority priority) {
    return priority == Priority::High ? -10 : 0;
}

// Owns a started child: reaps it on every way out, so no zombie is left behind.
class Child {
public:
    explicit Child(pid_t pid) : m_pid(pid) {
#ifdef SYS_pidfd_open
        m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#endif
    }
    ~Child() {
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        if (m_reaped)
            return;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
            return;
        // Left early while the program still runs: it goes on, and is reaped when it ends.
        const pid_t pid = m_pid;
        std::thread([pid] {
            int s = 0;
            while (::waitpid(pid, &s, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Waits up to 50 ms; true when the program has ended (and is reaped).
    bool waitForEnd() {
        if (m_pidfd >= 0) {
            pollfd p{m_pidfd, POLLIN, 0};
            int r = 0;
            do {
                r = ::poll(&p, 1, kPollMilliseconds);
            } while (r < 0 && errno == EINTR);
            return tryReap();
        }
        for (int waited = 0; waited < kPollMilliseconds; waited += 5) {
            if (tryReap())
                return true;
            ::usleep(5000);
        }
        return tryReap();
    }

    // For a child that is known to be ending.
    void reap() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
    }

    // Ends the program with everything it started: it leads a process group of its own,
    // as the portable player's launcher starts the real player as its child.
    void terminate() const {
        if (::kill(-m_pid, SIGKILL) != 0)
            ::kill(m_pid, SIGKILL);
    }
    pid_t pid() const {
        return m_pid;
    }

private:
    bool tryReap() {
        int status = 0;
        pid_t r = 0;
        do {
            r = ::waitpid(m_pid, &status, WNOHANG);
        } while (r < 0 && errno == EINTR);
        if (r == m_pid || (r < 0 && errno == ECHILD))
            m_reaped = true;
        return m_reaped;
    }

    pid_t m_pid;
    int m_pidfd = -1;
    bool m_reaped = false;
};

// Closes every descriptor from `first` on except `keep`, without allocating (this runs
// between fork and exec).
void closeFrom(int first, int keep) {
#ifdef SYS_close_range
    if (keep > first)
        ::syscall(SYS_close_range, first, keep - 1, 0);
    if (::syscall(SYS_close_range, keep + 1, ~0U, 0) == 0)
        return;
#endif
    for (int fd = first; fd < 65536; ++fd) {
        if (fd != keep)
            ::close(fd);
    }
}

} // namespace

bool runProgram(Priority priority, const std::string& programFile, const std::string& parameters,
                std::string workingFolder, bool wait, const WaitCallback& callback,
                const MessagePump& pump) {
    if (workingFolder.empty())
        workingFolder = defaultWorkingFolder(programFile);
    if (workingFolder.size() > 1 && workingFolder.back() == '/')
        workingFolder.pop_back();

    const std::vector<std::string> arguments =
        splitCommandLine(buildCommandLine(programFile, parameters));
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int nice = niceFor(priority);

    // The child reports a failed start through this pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        (void)::setpriority(PRIO_PROCESS, 0, nice);
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
        }
        // Nothing of the program's own files reaches the started program.
        closeFrom(3, report[1]);
        int error = 0;
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0)
            error = errno;
        if (error == 0) {
            ::execv(programFile.c_str(), argv.data());
            error = errno;
        }
        (void)!::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    // The group is set from both sides, so that it exists before either goes on.
    (void)::setpgid(pid, pid);
    ::close(report[1]);
    Child child(pid);
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        // Not started: the child is ending by itself.
        child.reap();
        return false;
    }

    if (!wait)
        return true;
    ProcessInformation information;
    information.processId = static_cast<std::uint32_t>(pid);
    information.threadId = static_cast<std::uint32_t>(pid);
    waitForProgram(
        information, [&] { return child.waitForEnd(); }, [&] { child.terminate(); }, callback,
        pump);
    return true;
}

} // namespace filmarin::platform
