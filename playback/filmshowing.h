// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filmplacement.h"
#include "filmscreen.h"
#include "platform/programwindows.h"
#include "playbackrun.h"

#include <QElapsedTimer>
#include <functional>
#include <optional>
#include <vector>

namespace filmarin {

// The window side of a showing: the screens as the toolkit lists them, the screen the user
// chose for the film, and the black window over one of them.
class ShowingScreens {
public:
    virtual ~ShowingScreens() = default;
    virtual std::vector<ScreenFacts> screens() = 0;
    // The screen that holds the main window; -1 while none does.
    virtual int mainWindowScreen() = 0;
    // The screen chosen in the menu; none for "automatisch".
    virtual std::optional<int> chosenScreen() = 0;
    // Black is wanted during a showing (the menu entry is ticked).
    virtual bool blackWanted() = 0;
    virtual void cover(int screen) = 0;
    virtual void lift() = 0;
    virtual bool covering() = 0;
    // Shown and painted since it last began to cover a screen.
    virtual bool painted() = 0;
    // The black above the player's windows, while the player gets its film on the screen;
    // or below them, so that the class sees the film.
    virtual void setAbovePlayer(bool above) = 0;
    // The player's visible windows, and putting one in full screen on a monitor.
    virtual std::vector<platform::ProgramWindow>
    playerWindows(const platform::ProcessInformation& player) = 0;
    virtual void putFullScreen(std::uint64_t window, const platform::Area& monitor) = 0;
    // The run is over: the main window takes the keyboard again.
    virtual void focusMainWindow() = 0;
};

// What the class sees during a run: black on the film's screen from the first OK to the
// run's end, and the film on a second screen where there is one.
class FilmShowing : public Showing {
public:
    explicit FilmShowing(ShowingScreens& screens) : m_screens(screens) {}

    void segmentChosen() override;
    bool readyForPlayer() override;
    void runEnded() override;
    std::optional<int> playerScreen() override;
    void playerStarts(bool fullScreen) override;
    void playerRuns(const platform::ProcessInformation& player) override;
    std::optional<QString> playerEnded() override;
    // The screens have changed (a projector switched off or on): the black follows the
    // film's screen.
    void screensChanged();

    // B or "." in the pause dialog: lifts the black, or brings it back, while a run is on.
    void toggleBlack();
    // Runs after the black has come up, so that the pause dialog stays above it.
    void setAfterCover(std::function<void()> afterCover) { m_afterCover = std::move(afterCover); }
    // The screen the film plays on now, as the toolkit lists it; -1 without a screen.
    int filmScreenIndex();

private:
    void cover();

    ShowingScreens& m_screens;
    std::function<void()> m_afterCover;
    bool m_running = false; // from the first OK of a run until its end
    bool m_black = false;   // black is wanted now: not lifted by B
    std::optional<FilmPlacement> m_placement;
    QElapsedTimer m_playerClock;
};

// Told after a segment whose film could not be put on the screen chosen for it.
QString filmElsewhereMessage(int shownOn, int chosen);

} // namespace filmarin
