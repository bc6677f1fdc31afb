// SPDX-License-Identifier: GPL-3.0-or-later
#include "drivewatcher.h"

#include <algorithm>
#include <utility>

namespace filmarin {

SurveyedDrive surveyDrive(DriveSystem& drives, const DriveEntry& entry) {
    SurveyedDrive drive;
    drive.key = entry.key;
    drive.kind = driveKindCode(entry.type, entry.key);
    drive.typeText = driveTypeText(drives, entry.key, drive.label);
    drive.caption = drives.caption(entry.key);
    drive.status = driveReadiness(drives, entry.key);
    return drive;
}

DriveSurvey surveyDrives(DriveSystem& drives) {
    DriveSurvey survey;
    try {
        for (const DriveEntry& entry : drives.listDrives())
            survey.drives.push_back(surveyDrive(drives, entry));
    } catch (...) {
        survey.ok = false;
    }
    return survey;
}

SurveyedDrive unansweredDrive(DriveSystem& drives, const DriveEntry& entry) {
    SurveyedDrive drive;
    drive.key = entry.key;
    drive.kind = driveKindCode(entry.type, entry.key);
    drive.typeText = driveTypeTextOf(entry.type, entry.key);
    drive.caption = drives.caption(entry.key);
    drive.status = notReadyText();
    return drive;
}

// A question to the drives running on a thread of its own; it may outlive the watcher.
struct DriveWatcher::Pending {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool failed = false;
    std::vector<DriveEntry> list;
    SurveyedDrive drive;
};

namespace {

using Clock = std::chrono::steady_clock;

template <typename Question, typename Pending> std::shared_ptr<Pending> ask(Question question) {
    auto pending = std::make_shared<Pending>();
    const auto finish = [](Pending& p, bool failed) {
        const std::lock_guard<std::mutex> lock(p.mutex);
        p.failed = failed;
        p.done = true;
        p.answered.notify_all();
    };
    try {
        std::thread([pending, question = std::move(question), finish]() mutable {
            bool failed = false;
            try {
                question(*pending);
            } catch (...) {
                failed = true;
            }
            finish(*pending, failed);
        }).detach();
    } catch (...) {
        finish(*pending, true); // no thread could be started
    }
    return pending;
}

// Waits for the answer until `until`, looking every 20 ms whether to give up sooner.
template <typename Pending>
bool answeredBy(Pending& pending, Clock::time_point until, const std::function<bool()>& stop) {
    std::unique_lock<std::mutex> lock(pending.mutex);
    while (!pending.done) {
        const Clock::time_point now = Clock::now();
        if (now >= until)
            return false;
        lock.unlock();
        if (stop())
            return false;
        lock.lock();
        pending.answered.wait_until(lock, std::min(until, now + std::chrono::milliseconds(20)),
                                    [&] { return pending.done; });
    }
    return true;
}

template <typename Pending> bool isAnswered(Pending& pending) {
    const std::lock_guard<std::mutex> lock(pending.mutex);
    return pending.done;
}

} // namespace

DriveWatcher::DriveWatcher(std::shared_ptr<DriveSystem> drives, Delivery deliver,
                           std::chrono::milliseconds deadline)
    : m_drives(std::move(drives)), m_deliver(std::move(deliver)), m_deadline(deadline),
      m_worker([this] { work(); }) {}

DriveWatcher::~DriveWatcher() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void DriveWatcher::request() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_requested = true;
    }
    m_wake.notify_all();
}

void DriveWatcher::work() {
    while (true) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_requested || m_stopping; });
            if (m_stopping)
                return;
            m_requested = false;
        }
        const DriveSurvey survey = surveyRound();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping)
                return;
        }
        if (m_deliver)
            m_deliver(survey);
    }
}

DriveSurvey DriveWatcher::surveyRound() {
    const auto stopping = [this] {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_stopping;
    };
    DriveSurvey survey;
    // The list itself: a system whose list does not come is asked again only once the
    // question before has returned.
    if (m_pendingList && !isAnswered(*m_pendingList)) {
        survey.ok = false;
        return survey;
    }
    std::shared_ptr<Pending> list = ask<std::function<void(Pending&)>, Pending>(
        [drives = m_drives](Pending& p) { p.list = drives->listDrives(); });
    if (!answeredBy(*list, Clock::now() + m_deadline, stopping)) {
        m_pendingList = list;
        survey.ok = false;
        return survey;
    }
    m_pendingList.reset();
    if (list->failed) {
        survey.ok = false;
        return survey;
    }

    // Every drive is asked at once, and all have the same deadline.
    const Clock::time_point until = Clock::now() + m_deadline;
    std::vector<std::shared_ptr<Pending>> asked(list->list.size());
    for (std::size_t i = 0; i < list->list.size(); ++i) {
        const DriveEntry& entry = list->list[i];
        const auto hanging = m_pendingDrives.find(entry.key);
        if (hanging != m_pendingDrives.end()) {
            if (!isAnswered(*hanging->second))
                continue;
            m_pendingDrives.erase(hanging);
        }
        asked[i] = ask<std::function<void(Pending&)>, Pending>(
            [drives = m_drives, entry](Pending& p) { p.drive = surveyDrive(*drives, entry); });
    }
    for (std::size_t i = 0; i < list->list.size(); ++i) {
        const DriveEntry& entry = list->list[i];
        const bool answered = asked[i] && answeredBy(*asked[i], until, stopping);
        if (asked[i] && !answered)
            m_pendingDrives[entry.key] = asked[i];
        if (!survey.ok)
            continue; // only the hanging questions are still noted
        if (answered && asked[i]->failed) {
            // As when the drives are asked in turn: the survey ends at this drive.
            survey.ok = false;
        } else if (answered) {
            survey.drives.push_back(asked[i]->drive);
        } else {
            try {
                survey.drives.push_back(unansweredDrive(*m_drives, entry));
            } catch (...) {
                survey.ok = false;
            }
        }
    }
    // Drives that have gone are forgotten once their questions have returned.
    for (auto it = m_pendingDrives.begin(); it != m_pendingDrives.end();) {
        if (isAnswered(*it->second))
            it = m_pendingDrives.erase(it);
        else
            ++it;
    }
    return survey;
}

} // namespace filmarin
