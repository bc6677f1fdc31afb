// SPDX-License-Identifier: GPL-3.0-or-later
#include "endrequest.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <sys/socket.h>
#include <unistd.h>

namespace filmarin::platform {

namespace {

int requests[2] = {-1, -1};

extern "C" void requestEnd(int) {
    const int saved = errno;
    const char byte = 1;
    // Only what a signal handler may do: one write that never waits.
    [[maybe_unused]] const ssize_t written = ::send(requests[1], &byte, 1, MSG_DONTWAIT);
    errno = saved;
}

} // namespace

int watchEndRequests() {
    if (requests[0] >= 0)
        return requests[0];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, requests) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = requestEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    return requests[0];
}

void takeEndRequests(int descriptor) {
    char bytes[64];
    while (::recv(descriptor, bytes, sizeof bytes, MSG_DONTWAIT) > 0) {
    }
}

} // namespace filmarin::platform
