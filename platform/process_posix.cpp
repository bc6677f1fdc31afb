// SPDX-License-Identifier: GPL-3.0-or-later
#include "process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace filmarin::platform {

namespace {

int niceFor(Priority priority) {
    return priority == Priority::High ? -10 : 0;
}

// A started child that leads a process group of its own: ended with its group and reaped on
// every way out, so that no zombie is left behind, unless it was left to run. The leader is
// reaped only then: until that its number stays taken, and the group's number with it.
class Child : public StartedProgram {
public:
    explicit Child(pid_t pid) : m_pid(pid) {
#ifdef SYS_pidfd_open
        m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#endif
    }
    ~Child() override {
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        if (m_reaped)
            return;
        int status = 0;
        if (!m_leave) {
            terminate();
            // Killed, it ends at once, unless it hangs in the system (a drive that does not
            // answer): then it is reaped away from the window's thread.
            for (int i = 0; i < 20; ++i) {
                if (::waitpid(m_pid, &status, WNOHANG) != 0)
                    return;
                ::usleep(5000);
            }
        } else if (::waitpid(m_pid, &status, WNOHANG) != 0) {
            return;
        }
        // It goes on, and is reaped when it ends.
        const pid_t pid = m_pid;
        std::thread([pid] {
            int s = 0;
            while (::waitpid(pid, &s, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    ProcessInformation information() const override {
        ProcessInformation information;
        information.processId = static_cast<std::uint32_t>(m_pid);
        information.threadId = static_cast<std::uint32_t>(m_pid);
        return information;
    }

    bool waitForEnd(int milliseconds) override {
        if (m_reaped || m_ended)
            return true;
        if (m_pidfd >= 0) {
            pollfd p{m_pidfd, POLLIN, 0};
            int r = 0;
            do {
                r = ::poll(&p, 1, milliseconds);
            } while (r < 0 && errno == EINTR);
            return hasEnded();
        }
        for (int waited = 0; waited < milliseconds; waited += 5) {
            if (hasEnded())
                return true;
            ::usleep(5000);
        }
        return hasEnded();
    }

    // For a child that is known to be ending.
    void reap() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
    }

    // The portable player's launcher starts the real player as its child: the group goes,
    // also when the launcher has ended before it.
    void terminate() override {
        if (m_reaped)
            return;
        if (::kill(-m_pid, SIGKILL) != 0 && !m_ended)
            ::kill(m_pid, SIGKILL);
    }

    void leaveRunning() override {
        m_leave = true;
    }

private:
    // Whether the leader has ended, leaving it to be reaped.
    bool hasEnded() {
        siginfo_t info{};
        int r = 0;
        do {
            r = ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT);
        } while (r < 0 && errno == EINTR);
        if (r == 0 && info.si_pid == m_pid)
            m_ended = true;
        // Reaped already (SIGCHLD ignored): its number may be another's now.
        if (r < 0 && errno == ECHILD)
            m_ended = m_reaped = true;
        return m_ended;
    }

    pid_t m_pid;
    int m_pidfd = -1;
    bool m_ended = false;
    bool m_reaped = false;
    bool m_leave = false;
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

std::unique_ptr<StartedProgram> startProgram(Priority priority, const std::string& programFile,
                                             const std::string& parameters,
                                             std::string workingFolder, Output output) {
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
    const bool discard = output == Output::Discarded;

    // The child reports a failed start through this pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return nullptr;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return nullptr;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        (void)::setpriority(PRIO_PROCESS, 0, nice);
        const int devnull = ::open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
            if (discard)
                ::dup2(devnull, STDOUT_FILENO);
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
    auto child = std::make_unique<Child>(pid);
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        // Not started: the child is ending by itself.
        child->reap();
        return nullptr;
    }
    return child;
}

void endQuietlyOnFailure() {
    const rlimit none{0, 0};
    (void)::setrlimit(RLIMIT_CORE, &none);
    std::signal(SIGABRT, [](int) { std::_Exit(3); });
}

} // namespace filmarin::platform
