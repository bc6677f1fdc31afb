// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/channel.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Talking to a running player: where it is, moving it, ending it. No call waits: answers
// come from the window's event loop as they arrive, each within a deadline.
namespace filmarin {

class PlayerControl {
public:
    using Answer = std::function<void(std::optional<std::int64_t>)>;

    virtual ~PlayerControl() = default;
    // The position in whole seconds. `answer` is called once, unless the control is destroyed
    // first: with the seconds, or empty when the player has not answered within the deadline
    // or has gone.
    virtual void askTime(Answer answer) = 0;
    // The number of the title that plays (a video DVD's title).
    virtual void askTitle(Answer answer) = 0;
    virtual void seek(std::int64_t second) = 0;
    // Asks the player to end.
    virtual void quit() = 0;
    // The channel is open: the player listens.
    virtual bool listening() const = 0;
    // `gone` runs once the player has closed the channel, or has never opened it.
    virtual void whenGone(std::function<void()> gone) = 0;
};

// The remote-control interface of VLC 3 ("oldrc"): a line per command, answers in lines
// that end in CR LF, no prompt; lines nobody asked for ("status change: ...") come between
// the answers, and one answer can arrive in two pieces. Questions are answered in the order
// they were asked.
class RcPlayerControl : public QObject, public PlayerControl {
    Q_OBJECT
public:
    using Connect = std::function<std::unique_ptr<platform::Channel>()>;

    // `connect` makes a new connection attempt; the player may take a few seconds to start
    // listening, so attempts are repeated every 20 ms until `connectMs` have passed. Once
    // the channel is open, what arrives is read when the channel's socket says so.
    explicit RcPlayerControl(Connect connect, int deadlineMs = 1000, int connectMs = 20000);
    ~RcPlayerControl() override;

    void askTime(Answer answer) override;
    void askTitle(Answer answer) override;
    void seek(std::int64_t second) override;
    void quit() override;
    bool listening() const override { return m_listening; }
    void whenGone(std::function<void()> gone) override { m_whenGone = std::move(gone); }
    // Stops talking: no answer and no callback comes any more, and the channel is closed.
    // For an owner that lets the control go while it may be calling back.
    void dismiss();

private:
    void ask(const char* command, Answer answer);
    void send(const std::string& command);
    void attempt();
    void readAnswers();
    void dropLate();
    void armDeadline();
    void takeLines();
    void close();
    // The channel has failed while sending: nothing more is read from it, and the control
    // closes from the event loop.
    void lose();

    struct Question {
        Answer answer;
        qint64 deadline;
    };

    Connect m_connect;
    std::function<void()> m_whenGone;
    std::unique_ptr<platform::Channel> m_channel;
    std::string m_received;
    std::deque<Question> m_questions;
    QTimer m_attempts;                          // connection attempts
    QTimer m_deadline;                          // the first waiting question's deadline
    std::unique_ptr<QSocketNotifier> m_arrived; // what the player says, while listening
    qint64 m_connectUntil;
    int m_deadlineMs;
    int m_owed = 0; // answers to questions given up, still to come and to be dropped
    bool m_listening = false;
    bool m_gone = false;
};

} // namespace filmarin
