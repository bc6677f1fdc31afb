// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives.h"
#include "ownthread.h"

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

// Questions to drives that may never answer (a network share whose server has gone). Each
// drive has one lane: at most one question to it runs at a time, on a thread of its own,
// whoever asks; a question asked while another runs waits for its turn, and the same
// question asked again before it has been answered is that one question. A thread holds the
// lanes and the drives it asks, so an answer may come after every asker has gone, and the
// program's exit waits for none.
namespace filmarin {

class DriveQuestions : public std::enable_shared_from_this<DriveQuestions> {
public:
    static std::shared_ptr<DriveQuestions> create(std::shared_ptr<DriveSystem> drives);
    DriveQuestions(const DriveQuestions&) = delete;
    DriveQuestions& operator=(const DriveQuestions&) = delete;

    DriveSystem& drives() const { return *m_drives; }

    // Asks `question` about `drive` (an empty drive for the system's list). `topic` names
    // the question: one of the same topic that has not been answered yet is given instead of
    // a new one. Null when no thread can be started.
    template <typename T>
    std::shared_ptr<PendingAnswer<T>> ask(const QString& drive, const QString& topic,
                                          std::function<T(DriveSystem&)> question);

    // The topic of the question to `drive` that runs now; empty when none runs.
    QString runningTopic(const QString& drive) const;
    // Threads that run a question now.
    int threads() const;

private:
    explicit DriveQuestions(std::shared_ptr<DriveSystem> drives);
    struct Job {
        QString topic;
        std::shared_ptr<PendingState> answer;
        std::function<void()> run;
    };
    struct Lane {
        Job current;
        std::deque<Job> waiting;
    };
    std::shared_ptr<PendingState> enqueue(const QString& drive, Job job);
    void serve(const QString& drive);

    std::shared_ptr<DriveSystem> m_drives;
    mutable std::mutex m_mutex;
    std::map<QString, Lane> m_lanes;
    int m_threads = 0;
};

template <typename T>
std::shared_ptr<PendingAnswer<T>> DriveQuestions::ask(const QString& drive, const QString& topic,
                                                      std::function<T(DriveSystem&)> question) {
    auto answer = std::make_shared<PendingAnswer<T>>();
    Job job;
    job.topic = topic;
    job.answer = answer;
    // Holds the drives it asks and its answer, not the asker.
    job.run = [answer, question = std::move(question), drives = m_drives] {
        T value{};
        bool failed = false;
        try {
            value = question(*drives);
        } catch (...) {
            failed = true;
        }
        {
            const std::lock_guard<std::mutex> lock(answer->mutex);
            answer->value = std::move(value);
        }
        answer->answer(failed);
    };
    return std::static_pointer_cast<PendingAnswer<T>>(enqueue(drive, std::move(job)));
}

} // namespace filmarin
