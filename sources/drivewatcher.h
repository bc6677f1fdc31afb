// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drivequestions.h"
#include "drives.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Asks the drives away from the window's thread: a network share that stops answering
// must never freeze the window.
namespace filmarin {

// One drive as the disc browser shows it: plain values, asked once.
struct SurveyedDrive {
    QString key;
    QString caption;
    DriveKind kind = DriveKind::Other;
    bool ready = false;
    QString typeText;
    QString label;
    QString status; // "bereit" or "nicht bereit"
    // Another question to the drive was running (OK looking into it): its row stays as it
    // is; a drive without a row is listed with the other texts.
    bool kept = false;
};

// The drives in the system's order. `ok` is false when asking them ended early: the
// drives asked until then are listed, and rows of drives that seem gone stay.
struct DriveSurvey {
    bool ok = true;
    std::vector<SurveyedDrive> drives;
};

// Asks one drive, on the calling thread; may throw.
SurveyedDrive surveyDrive(DriveSystem& drives, const DriveEntry& entry);
// Asks every drive, on the calling thread.
DriveSurvey surveyDrives(DriveSystem& drives);
// What the browser shows of a drive that has not answered in time: its type from the
// drive list, no label, not ready.
SurveyedDrive unansweredDrive(DriveSystem& drives, const DriveEntry& entry);

// The topics of the questions to a drive.
QString surveyTopic();
QString contentTopic();

// One worker thread that surveys the drives when asked and hands each survey over. Each
// drive has `deadline` to answer; one that has not answered by then is listed as not ready,
// and is not asked again until its question has returned. A drive that another asker's
// question keeps busy keeps its row. A survey therefore takes little more than the
// deadline, however many drives hang. A survey that fails on the way is not handed over:
// the rows keep the last good one.
class DriveWatcher {
public:
    using Delivery = std::function<void(const DriveSurvey&)>;

    // `deliver` is called on the worker thread after each survey.
    DriveWatcher(std::shared_ptr<DriveQuestions> questions, Delivery deliver,
                 std::chrono::milliseconds deadline = std::chrono::seconds(1));
    ~DriveWatcher();
    DriveWatcher(const DriveWatcher&) = delete;
    DriveWatcher& operator=(const DriveWatcher&) = delete;

    // Asks for a survey; returns at once. Asking again while one runs asks for one more.
    void request();

private:
    void work();
    DriveSurvey surveyRound();

    std::shared_ptr<DriveQuestions> m_questions;
    Delivery m_deliver;
    std::chrono::milliseconds m_deadline;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    bool m_stopping = false;

    std::thread m_worker;
};

} // namespace filmarin
