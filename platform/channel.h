// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A byte stream to a program on this machine that listens for control commands: a Unix
// socket in a folder only the user can enter (Linux), or TCP on 127.0.0.1 (Windows, where
// the player has no other kind). Nothing here ever waits: every call returns at once.
namespace filmarin::platform {

class Channel {
public:
    enum class State { Connecting, Open, Closed };

    virtual ~Channel() = default;
    // Where the connection stands now; a refused or failed connection is Closed.
    virtual State state() = 0;
    // Queues `bytes` to be sent; false once the other side has gone.
    virtual bool send(const std::string& bytes) = 0;
    // Appends what has arrived to `into`; false once the other side has closed.
    virtual bool receive(std::string& into) = 0;
    // The socket to watch for what arrives, while the connection is open; -1 otherwise.
    virtual std::intptr_t descriptor() = 0;
};

// Starts a connection to `address`: a socket's path (Linux) or "127.0.0.1:PORT" (Windows).
// Never null; a connection that cannot start is Closed at once.
std::unique_ptr<Channel> connectChannel(const std::string& address);

// A place where a player can listen for this program alone, and only while it is kept:
// a socket path in a new folder only the user can enter (Linux), or a free TCP port on
// 127.0.0.1 (Windows). Empty when none can be made.
class ChannelPlace {
public:
    ChannelPlace();
    ~ChannelPlace(); // removes the folder (Linux)
    ChannelPlace(const ChannelPlace&) = delete;
    ChannelPlace& operator=(const ChannelPlace&) = delete;

    // What to connect to; empty when no place could be made.
    const std::string& address() const { return m_address; }
    // How the player is told to listen there, as options for its command line.
    const std::string& playerOptions() const { return m_playerOptions; }

private:
    std::string m_address;
    std::string m_playerOptions;
    std::string m_folder;
};

} // namespace filmarin::platform
