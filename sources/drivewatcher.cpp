// SPDX-License-Identifier: GPL-3.0-or-later
#include "drivewatcher.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace filmarin {

SurveyedDrive surveyDrive(DriveSystem& drives, const DriveEntry& entry) {
    SurveyedDrive drive;
    drive.key = entry.key;
    drive.kind = driveKindOf(entry.type, entry.key);
    drive.typeText = driveTypeText(drives, entry.key, drive.label);
    drive.caption = drives.caption(entry.key);
    drive.ready = driveIsReady(drives, entry.key);
    drive.status = readinessText(drive.ready);
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
    drive.kind = driveKindOf(entry.type, entry.key);
    drive.typeText = driveTypeTextOf(entry.type, entry.key);
    drive.caption = drives.caption(entry.key);
    drive.ready = false;
    drive.status = readinessText(drive.ready);
    return drive;
}

QString surveyTopic() {
    return QStringLiteral("survey");
}

QString contentTopic() {
    return QStringLiteral("content");
}

namespace {

using Clock = std::chrono::steady_clock;

// The system's list of drives is asked on a lane of its own.
const QString kListLane;

} // namespace

DriveWatcher::DriveWatcher(std::shared_ptr<DriveQuestions> questions, Delivery deliver,
                           std::chrono::milliseconds deadline)
    : m_questions(std::move(questions)), m_deliver(std::move(deliver)), m_deadline(deadline),
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
        std::optional<DriveSurvey> survey;
        try {
            survey = surveyRound();
        } catch (...) {
            // Nothing is handed over: the rows keep the last good survey.
        }
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping)
                return;
        }
        if (survey && m_deliver) {
            try {
                m_deliver(*survey);
            } catch (...) {
            }
        }
    }
}

DriveSurvey DriveWatcher::surveyRound() {
    const auto stopping = [this] {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_stopping;
    };
    DriveSystem& drives = m_questions->drives();
    DriveSurvey survey;
    // The list itself: a system whose list does not come is asked again only once the
    // question before has returned.
    if (!m_questions->runningTopic(kListLane).isEmpty()) {
        survey.ok = false;
        return survey;
    }
    const auto list = m_questions->ask<std::vector<DriveEntry>>(
        kListLane, QStringLiteral("list"), [](DriveSystem& d) { return d.listDrives(); });
    if (!list || !answeredBy(*list, Clock::now() + m_deadline, stopping) || list->failed) {
        survey.ok = false;
        return survey;
    }
    const std::vector<DriveEntry>& entries = list->value;

    // Every drive is asked at once, and all have the same deadline. A drive that is still
    // busy with an earlier question is not asked again.
    const Clock::time_point until = Clock::now() + m_deadline;
    std::vector<std::shared_ptr<PendingAnswer<SurveyedDrive>>> asked(entries.size());
    std::vector<QString> busyWith(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DriveEntry& entry = entries[i];
        busyWith[i] = m_questions->runningTopic(entry.key);
        if (!busyWith[i].isEmpty())
            continue;
        asked[i] = m_questions->ask<SurveyedDrive>(
            entry.key, surveyTopic(), [entry](DriveSystem& d) { return surveyDrive(d, entry); });
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DriveEntry& entry = entries[i];
        const bool answered = asked[i] && answeredBy(*asked[i], until, stopping);
        if (!survey.ok)
            continue;
        if ((answered && asked[i]->failed) || (!asked[i] && busyWith[i].isEmpty())) {
            // As when the drives are asked in turn: the survey ends at this drive (or at
            // one for which no thread could be started).
            survey.ok = false;
        } else if (answered) {
            survey.drives.push_back(asked[i]->value);
        } else {
            try {
                SurveyedDrive drive = unansweredDrive(drives, entry);
                drive.kept = !busyWith[i].isEmpty() && busyWith[i] != surveyTopic();
                survey.drives.push_back(drive);
            } catch (...) {
                survey.ok = false;
            }
        }
    }
    return survey;
}

} // namespace filmarin
