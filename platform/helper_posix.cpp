// SPDX-License-Identifier: GPL-3.0-or-later
#include "helper.h"

#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace filmarin::platform {

namespace {

// A message on the socket: its number, the length of its text, the text.
struct Header {
    std::uint32_t id = 0;
    std::uint32_t length = 0;
};

bool sendAll(int socket, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool receiveAll(int socket, char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(socket, data, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool sendMessage(int socket, std::uint32_t id, const std::string& text) {
    Header header{id, static_cast<std::uint32_t>(text.size())};
    std::string message(sizeof header, '\0');
    std::memcpy(message.data(), &header, sizeof header);
    message += text;
    return sendAll(socket, message.data(), message.size());
}

bool receiveMessage(int socket, std::uint32_t& id, std::string& text) {
    Header header;
    if (!receiveAll(socket, reinterpret_cast<char*>(&header), sizeof header))
        return false;
    // A question or an answer is a few hundred bytes; anything larger is not ours.
    if (header.length > (1u << 24))
        return false;
    text.assign(header.length, '\0');
    id = header.id;
    return header.length == 0 || receiveAll(socket, text.data(), header.length);
}

// The helper's side: answers every question on a thread of its own, and ends when the
// program has gone (its end of the socket closes). It never returns.
[[noreturn]] void serve(int socket, const std::function<std::string(const std::string&)>& answer) {
    auto writing = std::make_shared<std::mutex>();
    std::uint32_t id = 0;
    std::string question;
    while (receiveMessage(socket, id, question)) {
        try {
            std::thread([socket, writing, id, question, &answer] {
                std::string text;
                try {
                    text = answer(question);
                } catch (...) {
                    text.clear();
                }
                const std::lock_guard<std::mutex> lock(*writing);
                sendMessage(socket, id, text);
            }).detach();
        } catch (...) {
            const std::lock_guard<std::mutex> lock(*writing);
            sendMessage(socket, id, std::string());
        }
    }
    // Whatever still waits for a drive is left to the system.
    ::_exit(0);
}

class SocketHelper : public Helper {
public:
    explicit SocketHelper(int socket) : m_state(std::make_shared<State>()) {
        m_state->socket = socket;
        // The answers are read on a thread of their own, which holds what it reads into.
        std::thread([state = m_state] { state->readAnswers(); }).detach();
    }
    ~SocketHelper() override {
        // The helper sees its end of the socket close and ends.
        ::shutdown(m_state->socket, SHUT_RDWR);
    }

    std::optional<std::string> ask(const std::string& question) override {
        State& state = *m_state;
        std::unique_lock<std::mutex> lock(state.mutex);
        if (state.gone)
            return std::nullopt;
        const std::uint32_t id = ++state.lastId;
        auto& waiting = state.waiting[id];
        bool sent;
        {
            const std::lock_guard<std::mutex> writing(state.writing);
            sent = sendMessage(state.socket, id, question);
        }
        if (!sent) {
            state.waiting.erase(id);
            return std::nullopt;
        }
        state.answered.wait(lock, [&] { return state.gone || waiting.has_value(); });
        std::optional<std::string> answer = std::move(waiting);
        state.waiting.erase(id);
        return answer;
    }

private:
    struct State {
        int socket = -1;
        std::mutex writing;
        std::mutex mutex;
        std::condition_variable answered;
        std::map<std::uint32_t, std::optional<std::string>> waiting;
        std::uint32_t lastId = 0;
        bool gone = false;

        void readAnswers() {
            std::uint32_t id = 0;
            std::string text;
            while (receiveMessage(socket, id, text)) {
                const std::lock_guard<std::mutex> lock(mutex);
                const auto it = waiting.find(id);
                if (it != waiting.end())
                    it->second = text;
                answered.notify_all();
            }
            const std::lock_guard<std::mutex> lock(mutex);
            gone = true;
            answered.notify_all();
        }
    };
    std::shared_ptr<State> m_state;
};

} // namespace

std::shared_ptr<Helper> startHelper(std::function<std::string(const std::string&)> answer) {
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return nullptr;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(sockets[0]);
        ::close(sockets[1]);
        return nullptr;
    }
    if (child == 0) {
        ::close(sockets[0]);
        // The helper is the child of a child that ends at once: the system, not the
        // program, takes it back when it ends, whenever that is.
        if (::fork() != 0)
            ::_exit(0);
        serve(sockets[1], answer);
    }
    ::close(sockets[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return std::make_shared<SocketHelper>(sockets[0]);
}

} // namespace filmarin::platform
