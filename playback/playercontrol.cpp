// SPDX-License-Identifier: GPL-3.0-or-later
#include "playercontrol.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <cctype>

namespace filmarin {

namespace {

qint64 now() {
    return QDeadlineTimer::current().deadline();
}

// An answer to get_time or get_title: digits alone, maybe after a sign.
std::optional<std::int64_t> numberLine(const std::string& line) {
    if (line.empty() || line.size() > 18)
        return std::nullopt;
    std::size_t i = line[0] == '-' ? 1 : 0;
    if (i == line.size())
        return std::nullopt;
    for (std::size_t k = i; k < line.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(line[k])))
            return std::nullopt;
    }
    return std::stoll(line);
}

} // namespace

RcPlayerControl::RcPlayerControl(Connect connect, int deadlineMs, int connectMs)
    : m_connect(std::move(connect)), m_connectUntil(now() + connectMs), m_deadlineMs(deadlineMs) {
    m_attempts.setInterval(20);
    QObject::connect(&m_attempts, &QTimer::timeout, this, &RcPlayerControl::attempt);
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_deadline, &QTimer::timeout, this, &RcPlayerControl::dropLate);
    m_attempts.start();
    attempt();
}

RcPlayerControl::~RcPlayerControl() {
    // Gone with the asker: nobody is told any more.
    m_gone = true;
    m_questions.clear();
    m_arrived.reset();
}

void RcPlayerControl::askTime(Answer answer) {
    ask("get_time", std::move(answer));
}

void RcPlayerControl::askTitle(Answer answer) {
    ask("get_title", std::move(answer));
}

void RcPlayerControl::seek(std::int64_t second) {
    send("seek " + std::to_string(second) + "\n");
}

void RcPlayerControl::quit() {
    send("quit\n");
}

void RcPlayerControl::send(const std::string& command) {
    if (m_listening && !m_channel->send(command))
        lose();
}

void RcPlayerControl::ask(const char* command, Answer answer) {
    const bool sent = m_listening && m_channel->send(std::string(command) + "\n");
    if (!sent) {
        if (m_listening)
            lose();
        // Answered from the event loop, as every other answer is.
        QTimer::singleShot(0, this, [answer = std::move(answer)] { answer(std::nullopt); });
        return;
    }
    m_questions.push_back({std::move(answer), now() + m_deadlineMs});
    if (m_questions.size() == 1)
        armDeadline();
}

void RcPlayerControl::lose() {
    m_arrived.reset();
    m_listening = false;
    QTimer::singleShot(0, this, [this] { close(); });
}

void RcPlayerControl::attempt() {
    if (m_gone)
        return;
    if (!m_channel || m_channel->state() == platform::Channel::State::Closed) {
        if (now() > m_connectUntil) {
            close();
            return;
        }
        m_channel = m_connect ? m_connect() : nullptr;
    }
    if (!m_channel || m_channel->state() != platform::Channel::State::Open)
        return;
    const std::intptr_t socket = m_channel->descriptor();
    if (socket < 0) {
        m_channel.reset();
        return;
    }
    m_attempts.stop();
    m_listening = true;
    m_arrived =
        std::make_unique<QSocketNotifier>(static_cast<qintptr>(socket), QSocketNotifier::Read);
    QObject::connect(m_arrived.get(), &QSocketNotifier::activated, this,
                     &RcPlayerControl::readAnswers);
    // What came before the socket was watched.
    readAnswers();
}

void RcPlayerControl::readAnswers() {
    if (m_gone || !m_listening)
        return;
    const bool open = m_channel->receive(m_received);
    takeLines();
    if (m_gone)
        return; // dismissed by the asker
    if (!open)
        close();
}

void RcPlayerControl::armDeadline() {
    if (m_questions.empty()) {
        m_deadline.stop();
        return;
    }
    m_deadline.start(static_cast<int>(std::max<qint64>(0, m_questions.front().deadline - now())));
}

void RcPlayerControl::dropLate() {
    // A question not answered in time gets no answer; a late answer would be taken for the
    // next question's, so the channel stays in step by dropping what is owed.
    while (!m_gone && !m_questions.empty() && now() >= m_questions.front().deadline) {
        Question late = std::move(m_questions.front());
        m_questions.pop_front();
        ++m_owed;
        late.answer(std::nullopt);
    }
    if (!m_gone)
        armDeadline();
}

void RcPlayerControl::takeLines() {
    std::size_t end;
    while ((end = m_received.find('\n')) != std::string::npos) {
        std::string line = m_received.substr(0, end);
        m_received.erase(0, end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const std::optional<std::int64_t> number = numberLine(line);
        if (!number)
            continue; // "status change: ...", a greeting, an empty line
        if (m_owed > 0) {
            --m_owed;
            continue;
        }
        if (m_questions.empty())
            continue;
        Question answered = std::move(m_questions.front());
        m_questions.pop_front();
        answered.answer(number);
        if (m_gone)
            return; // dismissed by the asker
        armDeadline();
    }
}

void RcPlayerControl::dismiss() {
    m_gone = true;
    m_listening = false;
    m_attempts.stop();
    m_deadline.stop();
    m_arrived.reset();
    m_channel.reset();
    m_questions.clear();
    m_whenGone = nullptr;
}

void RcPlayerControl::close() {
    const bool wasGone = m_gone;
    m_gone = true;
    m_listening = false;
    m_attempts.stop();
    m_deadline.stop();
    m_arrived.reset();
    m_channel.reset();
    std::deque<Question> waiting;
    waiting.swap(m_questions);
    for (Question& question : waiting)
        question.answer(std::nullopt);
    if (wasGone)
        return;
    // Called from a copy: the owner may let the control go from inside it.
    if (const std::function<void()> whenGone = m_whenGone)
        whenGone();
}

} // namespace filmarin
