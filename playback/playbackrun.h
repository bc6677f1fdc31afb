// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/process.h"
#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "table/tableview.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The playback run: the excerpts ticked under "Abspielen" are played in number order, one
// segment per start of the player, and between segments the pause dialog asks where to go
// on. The run reaches the windows only through the small interfaces below.
namespace filmarin {

// The pause dialog "Pause": offers the excerpts of the run and says where to go on.
class PauseChoice {
public:
    virtual ~PauseChoice() = default;
    // Lists the selected excerpts of this run; the list stays for the whole run.
    virtual void FillExcerptChoice(const ExcerptSpans& spans) = 0;
    virtual void PreselectExcerpt(std::int32_t excerpt) = 0;
    // Shows the dialog without waiting for it. Its answer comes back through
    // PlaybackRun::continueWith or PlaybackRun::endAtPause.
    virtual void showChoice() = 0;
};

// The main window's menus and panels, locked while a run is active.
class ControlLock {
public:
    virtual ~ControlLock() = default;
    virtual void LockControls() = 0;
    virtual void UnlockControls() = 0;
};

enum class PlayerOutcome {
    Played,     // the player ran and has exited
    NotStarted, // the player could not be started at all
    Failed,     // something went wrong while starting or waiting
    Closing,    // the program is ending: the player was ended with it
};

// Told at every pass of the wait for the player, with what the system says of it.
using PlayerWatch = std::function<void(const platform::ProcessInformation&)>;

// Starts the player and returns when it has exited.
class PlayerStarter {
public:
    virtual ~PlayerStarter() = default;
    virtual PlayerOutcome RunPlayer(platform::Priority priority, const QString& programFile,
                                    const QString& parameters, const PlayerWatch& watch) = 0;
    // Has the next segment started from the window's event loop, once the pause dialog has
    // gone (the main window's Timer1), asking segmentMayStart first.
    virtual void scheduleSegment() = 0;
};

// What the class sees around the player during a run: black from the first OK until the run
// ends, on the screen the film plays on.
class Showing {
public:
    virtual ~Showing() = default;
    // OK in the pause dialog: the film's screen is covered before the player starts.
    virtual void segmentChosen() = 0;
    // The cover has been drawn, or none is wanted: the player may start.
    virtual bool readyForPlayer() = 0;
    // The run is over, however it ended.
    virtual void runEnded() = 0;
    // The player's number of the screen the film plays on; none with a single screen.
    virtual std::optional<int> playerScreen() = 0;
    // The player is about to start, asked for full screen or not (an audio CD).
    virtual void playerStarts(bool fullScreen) = 0;
    // The player runs: its windows may be looked at and put on the film's screen.
    virtual void playerRuns(const platform::ProcessInformation& player) = 0;
    // The player has exited. Says where the film went when it could not be put on its screen.
    virtual std::optional<QString> playerEnded() = 0;
};

// The program-wide values a run reads, and the player's path it sets.
struct RunValues {
    ExcerptTable& table;
    ExcerptSpans& spans;
    TableView& view;
    const MediaSource& source;
    const QString& programFolder;
    const QString& imageFolder; // where the title cards were written
    QString& playerPath;
};

class PlaybackRun {
public:
    PlaybackRun(RunValues values, PauseChoice& pause, ControlLock& controls, PlayerStarter& player,
                MessageSink& messages);

    // Locks the window, checks the source, the table and the player, and offers the first
    // excerpt in the pause dialog; a failed check shows its message and unlocks the window.
    // The audio language must already be taken from the menu.
    void start();
    // True while excerpts remain and no player start failed; otherwise unlocks the window.
    bool continues();
    // Shows the pause dialog with the next excerpt preselected, if the run continues.
    void offerNextSegment();
    // Plays from the next excerpt up to the next ticked pause, then offers the next segment.
    void playNextSegment();
    // OK in the pause dialog: the next segment starts with `excerpt`, once scheduled.
    void continueWith(std::int32_t excerpt);
    // Asked at each tick of the schedule: false while the class's screen is not yet black.
    // A screen that does not show the black within kMostCoverWaits ticks does not hold the
    // showing up.
    bool segmentMayStart();
    static constexpr int kMostCoverWaits = 30;
    // The pause dialog was closed without OK: the run is over.
    void endAtPause();

    // What the class sees around the player; without it, only the player shows.
    void setShowing(Showing* showing) { m_showing = showing; }

    std::int32_t nextExcerpt() const { return m_nextExcerpt; }
    bool failed() const { return m_failed; }

private:
    void endShowing();

    RunValues m_values;
    PauseChoice& m_pause;
    ControlLock& m_controls;
    PlayerStarter& m_player;
    MessageSink& m_messages;
    Showing* m_showing = nullptr;
    std::int32_t m_nextExcerpt = 1;
    int m_coverWaits = 0;
    bool m_failed = false;
};

QString nothingSelectedMessage();
// The checks a showing starts with, shared by whatever takes the ticked excerpts as the
// player would play them: the source, the table, at least one ticked excerpt; then the
// table is written back and the total shown. `failed` runs where a check fails, before its
// message.
bool takeTickedExcerpts(const MediaSource& source, ExcerptTable& table, ExcerptSpans& spans,
                        TableView& view, MessageSink& messages,
                        const std::function<void()>& failed);
// Told when the player cannot be started, for instance because the program's stick was
// pulled after the player check.
QString playerNotStartedMessage(const QString& playerPath);

} // namespace filmarin
