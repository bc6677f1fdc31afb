// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace filmarin::platform {

namespace {

class UnixChannel : public Channel {
public:
    explicit UnixChannel(const std::string& path) {
        sockaddr_un address{};
        if (path.empty() || path.size() >= sizeof(address.sun_path))
            return;
        m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_socket < 0)
            return;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            m_state = State::Open;
        } else if (errno == EINPROGRESS || errno == EAGAIN) {
            m_state = State::Connecting;
        } else {
            close();
        }
    }
    ~UnixChannel() override { close(); }

    State state() override {
        if (m_state == State::Connecting) {
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
                close();
            else
                m_state = State::Open; // a Unix socket's connection completes at once
        }
        return m_state;
    }

    bool send(const std::string& bytes) override {
        if (state() != State::Open)
            return false;
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n =
                ::send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // A command is a few bytes: a full buffer means the player has stopped reading.
                close();
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool receive(std::string& into) override {
        if (state() != State::Open)
            return false;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(m_socket, buffer, sizeof buffer, 0);
            if (n > 0) {
                into.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return true;
            close();
            return false;
        }
    }

    std::intptr_t descriptor() override { return m_state == State::Open ? m_socket : -1; }

private:
    void close() {
        if (m_socket >= 0)
            ::close(m_socket);
        m_socket = -1;
        m_state = State::Closed;
    }

    int m_socket = -1;
    State m_state = State::Closed;
};

} // namespace

std::unique_ptr<Channel> connectChannel(const std::string& address) {
    return std::make_unique<UnixChannel>(address);
}

ChannelPlace::ChannelPlace() {
    // The runtime folder is the user's own; /tmp serves where there is none. A socket's path
    // must be short, so a long folder name gives way to /tmp too.
    std::string base;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        base = runtime;
    if (base.empty() || base.size() > 60)
        base = "/tmp";
    std::string pattern = base + "/filmarin-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return;
    // mkdtemp makes it for the user alone (0700); said again, whatever the umask.
    ::chmod(pattern.c_str(), 0700);
    m_folder = pattern;
    m_address = m_folder + "/player";
    m_playerOptions = "--extraintf=oldrc --rc-fake-tty --rc-unix=" + m_address;
}

ChannelPlace::~ChannelPlace() {
    if (m_folder.empty())
        return;
    ::unlink(m_address.c_str());
    ::rmdir(m_folder.c_str());
}

} // namespace filmarin::platform
