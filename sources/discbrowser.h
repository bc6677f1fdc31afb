// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives.h"
#include "drivewatcher.h"
#include "views/views.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// The rules of the disc browser: keeping its rows in line with the drives, choosing a disc
// drive, and checking the chosen drive.
namespace filmarin {

// The browser's list: one row per drive, matched by a hidden key.
class DriveListView {
public:
    virtual ~DriveListView() = default;
    virtual int rowCount() const = 0;
    virtual QString key(int row) const = 0;
    virtual QString caption(int row) const = 0;
    virtual void setCaption(int row, const QString& caption) = 0;
    // What the row's drive is and whether it was ready, beside the texts that show it.
    virtual DriveKind kind(int row) const = 0;
    virtual bool ready(int row) const = 0;
    virtual void setFacts(int row, DriveKind kind, bool ready) = 0;
    // Sub-items: 0 type, 1 label, 2 status.
    virtual QString cell(int row, int subItem) const = 0;
    virtual void setCell(int row, int subItem, const QString& text) = 0;
    // A row for the drive, with its key, caption, facts and texts.
    virtual void appendRow(const SurveyedDrive& drive) = 0;
    virtual void removeRow(int row) = 0;
    // Marks the row as the selected one.
    virtual void selectRow(int row) = 0;
};

// The browser's results and the row OK works on.
struct DiscBrowserState {
    // The row whose selection changed last; -1 once that row's drive has gone.
    int currentRow = 0;
    QString chosenDrive;
    QString chosenKey; // the chosen drive's key, whose lane every question to it takes
    SourceKind chosenKind = SourceKind::None;
};

// Brings the rows in line with a survey of the drives; false when the survey ended early,
// and then no row is removed. `state.currentRow` follows its drive when rows above it are
// removed.
bool applyDriveSurvey(DriveListView& view, const DriveSurvey& survey, DiscBrowserState& state);

// The first ready disc-drive row, else the last disc-drive row.
std::optional<int> findDiscRow(const DriveListView& view);
void autoSelectDisc(DriveListView& view, DiscBrowserState& state);

bool rowIsReady(const DriveListView& view, int row);
// The caption of the current row; empty when it names no row.
QString selectedDriveText(const DriveListView& view, const DiscBrowserState& state);

// The names the list shows for drives with these captions, in their order. A path is
// shown by its last part ("/media/lehrer/MEIN FILM" as "MEIN FILM"), with as many parts
// before it as it takes to tell it from the other rows; "/" and a device ("/dev/sr0") stand
// whole, and so do captions without a "/", such as Windows drives ("D:").
QStringList shownDriveNames(const QStringList& captions);

QString notReadyMessage(const QString& drive);
QString noContentMessage(const QString& drive);
QString noDriveChosenMessage();

// True when the current row is ready; otherwise the user is told.
bool checkDriveReady(const DriveListView& view, const DiscBrowserState& state,
                     MessageSink& messages);
// OK's look into the chosen drive, asked on the drive's lane and waited for without
// blocking the window.
struct ContentCheck {
    QString drive; // the row's caption when OK was clicked
    QString key;   // and its key
    std::shared_ptr<PendingAnswer<SourceKind>> answer;
    std::chrono::steady_clock::time_point until;
};

// Starts looking into the current row's drive; empty when no row is current or no thread
// can be had. The drive has `deadline` to answer.
std::optional<ContentCheck> startContentCheck(DriveQuestions& questions, const DriveListView& view,
                                              const DiscBrowserState& state,
                                              std::chrono::milliseconds deadline);
// Empty while the drive may still answer; then the kind of disc, or None after telling the
// user with a posted message (a drive that has not answered by the deadline is not ready).
std::optional<SourceKind>
finishContentCheck(const ContentCheck& check, MessageSink& messages,
                   std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

} // namespace filmarin
