// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Questions to drives that may never answer: each runs on a thread of its own, and the
// asker waits for it only so long. The answer may come after the asker has gone; it then
// touches nothing but itself.
namespace filmarin {

template <typename T> struct PendingAnswer {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool failed = false; // the question threw
    T value{};

    bool isAnswered() {
        const std::lock_guard<std::mutex> lock(mutex);
        return done;
    }
};

// Asks `question` (returning T) on a thread of its own; null when no thread can be started.
template <typename T, typename Question>
std::shared_ptr<PendingAnswer<T>> askOnOwnThread(Question question) {
    auto pending = std::make_shared<PendingAnswer<T>>();
    try {
        std::thread([pending, question = std::move(question)]() mutable {
            T value{};
            bool failed = false;
            try {
                value = question();
            } catch (...) {
                failed = true;
            }
            const std::lock_guard<std::mutex> lock(pending->mutex);
            pending->value = std::move(value);
            pending->failed = failed;
            pending->done = true;
            pending->answered.notify_all();
        }).detach();
    } catch (...) {
        return nullptr;
    }
    return pending;
}

// Waits for the answer until `until`; every 20 ms meanwhile calls `between`, which gives up
// the wait by returning true. True when the answer has come.
template <typename T>
bool answeredBy(PendingAnswer<T>& pending, std::chrono::steady_clock::time_point until,
                const std::function<bool()>& between) {
    std::unique_lock<std::mutex> lock(pending.mutex);
    while (!pending.done) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until)
            return false;
        lock.unlock();
        if (between && between())
            return false;
        lock.lock();
        pending.answered.wait_until(lock, std::min(until, now + std::chrono::milliseconds(20)),
                                    [&] { return pending.done; });
    }
    return true;
}

} // namespace filmarin
