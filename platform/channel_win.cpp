// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

namespace filmarin::platform {

namespace {

bool startWinsock() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

class TcpChannel : public Channel {
public:
    explicit TcpChannel(const std::string& address) {
        const std::size_t colon = address.rfind(':');
        if (!startWinsock() || colon == std::string::npos)
            return;
        const int port = std::atoi(address.c_str() + colon + 1);
        if (port <= 0 || port > 65535)
            return;
        m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (m_socket == INVALID_SOCKET)
            return;
        u_long nonBlocking = 1;
        ::ioctlsocket(m_socket, FIONBIO, &nonBlocking);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(static_cast<u_short>(port));
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
            m_state = State::Open;
        else if (::WSAGetLastError() == WSAEWOULDBLOCK)
            m_state = State::Connecting; // Windows takes its time to refuse: never waited for
        else
            close();
    }
    ~TcpChannel() override { close(); }

    State state() override {
        if (m_state != State::Connecting)
            return m_state;
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        timeval now{0, 0};
        if (::select(0, nullptr, &writable, &failed, &now) == SOCKET_ERROR) {
            close();
        } else if (FD_ISSET(m_socket, &failed)) {
            close();
        } else if (FD_ISSET(m_socket, &writable)) {
            m_state = State::Open;
        }
        return m_state;
    }

    bool send(const std::string& bytes) override {
        if (state() != State::Open)
            return false;
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const int n =
                ::send(m_socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0) {
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
            const int n = ::recv(m_socket, buffer, sizeof buffer, 0);
            if (n > 0) {
                into.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK)
                return true;
            close();
            return false;
        }
    }

    std::intptr_t descriptor() override {
        return m_state == State::Open ? static_cast<std::intptr_t>(m_socket) : -1;
    }

private:
    void close() {
        if (m_socket != INVALID_SOCKET)
            ::closesocket(m_socket);
        m_socket = INVALID_SOCKET;
        m_state = State::Closed;
    }

    SOCKET m_socket = INVALID_SOCKET;
    State m_state = State::Closed;
};

// A port on 127.0.0.1 that nobody listens on now: the system's choice for a socket bound
// to port 0, given back at once for the player to take.
int freeLoopbackPort() {
    if (!startWinsock())
        return 0;
    const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe == INVALID_SOCKET)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::closesocket(probe);
    return port;
}

} // namespace

std::unique_ptr<Channel> connectChannel(const std::string& address) {
    return std::make_unique<TcpChannel>(address);
}

ChannelPlace::ChannelPlace() {
    const int port = freeLoopbackPort();
    if (port == 0)
        return;
    m_address = "127.0.0.1:" + std::to_string(port);
    // The Windows player shows no console window for the interface with --rc-quiet.
    m_playerOptions = "--extraintf=oldrc --rc-quiet --rc-host=" + m_address;
}

ChannelPlace::~ChannelPlace() = default;

} // namespace filmarin::platform
