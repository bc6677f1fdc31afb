// SPDX-License-Identifier: GPL-3.0-or-later
#include "drivequestions.h"

#include <thread>
#include <utility>

namespace filmarin {

std::shared_ptr<DriveQuestions> DriveQuestions::create(std::shared_ptr<DriveSystem> drives) {
    return std::shared_ptr<DriveQuestions>(new DriveQuestions(std::move(drives)));
}

DriveQuestions::DriveQuestions(std::shared_ptr<DriveSystem> drives) : m_drives(std::move(drives)) {}

std::shared_ptr<PendingState> DriveQuestions::enqueue(const QString& drive, Job job) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    // A drive has a lane while a question to it runs.
    const auto running = m_lanes.find(drive);
    if (running != m_lanes.end()) {
        Lane& lane = running->second;
        // The same question, not answered yet, is not asked twice.
        if (lane.current.topic == job.topic && !lane.current.answer->isAnswered())
            return lane.current.answer;
        for (const Job& waiting : lane.waiting) {
            if (waiting.topic == job.topic)
                return waiting.answer;
        }
        lane.waiting.push_back(job);
        return job.answer;
    }
    m_lanes[drive].current = job;
    try {
        std::thread([self = shared_from_this(), drive] { self->serve(drive); }).detach();
    } catch (...) {
        m_lanes.erase(drive);
        return nullptr;
    }
    ++m_threads;
    return job.answer;
}

void DriveQuestions::serve(const QString& drive) {
    std::function<void()> run;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        run = m_lanes[drive].current.run;
    }
    for (;;) {
        run();
        const std::lock_guard<std::mutex> lock(m_mutex);
        Lane& lane = m_lanes[drive];
        if (lane.waiting.empty()) {
            m_lanes.erase(drive);
            --m_threads;
            return;
        }
        lane.current = std::move(lane.waiting.front());
        lane.waiting.pop_front();
        run = lane.current.run;
    }
}

QString DriveQuestions::runningTopic(const QString& drive) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto lane = m_lanes.find(drive);
    return lane == m_lanes.end() ? QString() : lane->second.current.topic;
}

int DriveQuestions::threads() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_threads;
}

} // namespace filmarin
