// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives.h"
#include "ownthread.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
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
    std::int32_t kind = 0; // the row's image index: driveKindCode
    QString typeText;
    QString label;
    QString status; // "bereit" or "nicht bereit"
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

// One worker thread that surveys the drives when asked and hands each survey over. Each
// drive has `deadline` to answer (its questions run on a thread of their own); one that has
// not answered by then is listed as not ready, and is not asked again until its pending
// question has returned. A survey therefore takes little more than the deadline, however
// many drives hang.
class DriveWatcher {
public:
    using Delivery = std::function<void(const DriveSurvey&)>;

    // `deliver` is called on the worker thread after each survey.
    DriveWatcher(std::shared_ptr<DriveSystem> drives, Delivery deliver,
                 std::chrono::milliseconds deadline = std::chrono::seconds(1));
    ~DriveWatcher();
    DriveWatcher(const DriveWatcher&) = delete;
    DriveWatcher& operator=(const DriveWatcher&) = delete;

    // Asks for a survey; returns at once. Asking again while one runs asks for one more.
    void request();

private:
    using PendingList = PendingAnswer<std::vector<DriveEntry>>;
    using PendingDrive = PendingAnswer<SurveyedDrive>;
    void work();
    DriveSurvey surveyRound();

    std::shared_ptr<DriveSystem> m_drives;
    Delivery m_deliver;
    std::chrono::milliseconds m_deadline;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    bool m_stopping = false;

    // Used by the worker thread only.
    std::shared_ptr<PendingList> m_pendingList;
    std::map<QString, std::shared_ptr<PendingDrive>> m_pendingDrives;

    std::thread m_worker;
};

} // namespace filmarin
