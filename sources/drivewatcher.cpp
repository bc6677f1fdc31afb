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

namespace {

using Clock = std::chrono::steady_clock;

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
    if (m_pendingList && !m_pendingList->isAnswered()) {
        survey.ok = false;
        return survey;
    }
    const std::shared_ptr<PendingList> list = askOnOwnThread<std::vector<DriveEntry>>(
        [drives = m_drives] { return drives->listDrives(); });
    if (!list) {
        survey.ok = false;
        return survey;
    }
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
    const std::vector<DriveEntry>& entries = list->value;

    // Every drive is asked at once, and all have the same deadline.
    const Clock::time_point until = Clock::now() + m_deadline;
    std::vector<std::shared_ptr<PendingDrive>> asked(entries.size());
    std::vector<bool> hanging(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DriveEntry& entry = entries[i];
        const auto pending = m_pendingDrives.find(entry.key);
        if (pending != m_pendingDrives.end()) {
            if (!pending->second->isAnswered()) {
                hanging[i] = true;
                continue;
            }
            m_pendingDrives.erase(pending);
        }
        asked[i] = askOnOwnThread<SurveyedDrive>(
            [drives = m_drives, entry] { return surveyDrive(*drives, entry); });
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DriveEntry& entry = entries[i];
        const bool answered = asked[i] && answeredBy(*asked[i], until, stopping);
        if (asked[i] && !answered)
            m_pendingDrives[entry.key] = asked[i];
        if (!survey.ok)
            continue; // only the hanging questions are still noted
        if ((answered && asked[i]->failed) || (!asked[i] && !hanging[i])) {
            // As when the drives are asked in turn: the survey ends at this drive (or at
            // one for which no thread could be started).
            survey.ok = false;
        } else if (answered) {
            survey.drives.push_back(asked[i]->value);
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
        if (it->second->isAnswered())
            it = m_pendingDrives.erase(it);
        else
            ++it;
    }
    return survey;
}

} // namespace filmarin
