// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filmscreen.h"
#include "playbackrun.h"

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
};

} // namespace filmarin
