// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileversion.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace filmarin::platform {

namespace {

constexpr std::size_t kMaxImageSize = 256u * 1024u * 1024u;
constexpr std::size_t kMaxOutput = 64u * 1024u;
constexpr int kVersionTimeoutMs = 5000;

bool readWholeFile(const std::string& path, std::vector<unsigned char>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxImageSize)
        return false;
    in.seekg(0, std::ios::beg);
    data.resize(static_cast<std::size_t>(size));
    return static_cast<bool>(in.read(reinterpret_cast<char*>(data.data()), size));
}

// Runs `path --version` without a shell and returns what it printed on both channels,
// waiting at most five seconds.
std::string versionOutput(const std::string& path) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {};
    }
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(fds[1], STDERR_FILENO);
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (devnull >= 0)
            ::dup2(devnull, STDIN_FILENO);
        char* const argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("--version"),
                              nullptr};
        ::execv(path.c_str(), argv);
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string output;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kVersionTimeoutMs);
    char buffer[4096];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            break;
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (output.size() < kMaxOutput)
            output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    // Whatever it still does, it is ended and reaped.
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return output;
}

// The first run of digits with at least one point inside, such as 3.0.21.
std::string firstDottedNumber(const std::string& text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!digit(text[i]) || (i > 0 && (digit(text[i - 1]) || text[i - 1] == '.')))
            continue;
        std::size_t j = i;
        bool dotted = false;
        while (j < text.size()) {
            if (digit(text[j])) {
                ++j;
            } else if (text[j] == '.' && j + 1 < text.size() && digit(text[j + 1])) {
                dotted = true;
                ++j;
            } else {
                break;
            }
        }
        if (dotted)
            return text.substr(i, j - i);
        i = j;
    }
    return {};
}

} // namespace

std::string fileVersionString(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::vector<unsigned char> data;
    if (readWholeFile(path, data) && data.size() >= 2 && data[0] == 'M' && data[1] == 'Z')
        return peFileVersion(data.data(), data.size());
    if (::access(path.c_str(), X_OK) != 0)
        return {};
    return firstDottedNumber(versionOutput(path));
}

} // namespace filmarin::platform
