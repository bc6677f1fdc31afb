// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// The answer to a question that runs on another thread, and a bounded wait for it.
namespace filmarin {

struct PendingState {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool failed = false; // the question threw

    bool isAnswered() {
        const std::lock_guard<std::mutex> lock(mutex);
        return done;
    }

    // `call` runs once when the answer is there: on the answering thread, under the lock, or
    // at once on the caller's when it is there already. It should only post a call to where
    // the answer is taken. An empty `call` takes back the one before, so that nothing is
    // called after the asker has gone.
    void whenAnswered(std::function<void()> call) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!done) {
            onAnswered = std::move(call);
            return;
        }
        lock.unlock();
        if (call)
            call();
    }

    // The answering thread, with the value in place.
    void answer(bool threw) {
        const std::lock_guard<std::mutex> lock(mutex);
        failed = threw;
        done = true;
        answered.notify_all();
        if (onAnswered) {
            onAnswered();
            onAnswered = nullptr;
        }
    }

private:
    std::function<void()> onAnswered;
};

template <typename T> struct PendingAnswer : PendingState { T value{}; };

// Waits for the answer until `until`; every 20 ms meanwhile calls `between`, which gives up
// the wait by returning true. True when the answer has come.
inline bool answeredBy(PendingState& pending, std::chrono::steady_clock::time_point until,
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
