// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/programwindows.h"

#include <cstdint>
#include <optional>
#include <vector>

// Where the player's full-screen window lands is the player's and the window manager's choice:
// its saved window place, the screen of the window that had the focus. While the player runs,
// the program looks at its windows at every pass of the wait for it, moves a full-screen
// window that landed on another screen onto the film's screen, and keeps the black above the
// player until the film is there, so that the class never sees the player's own window.
namespace filmarin {

// What to do after one look at the player's windows.
struct PlacementStep {
    std::optional<std::uint64_t> move; // put this window in full screen on the film's screen
    bool letPlayerAbove = false;       // the black may go below the player's windows now
};

class FilmPlacement {
public:
    // `monitors`: every screen, in the system's pixels; `film`: the index of the film's
    // screen; `fullScreen`: the player was asked for full screen (not for an audio CD).
    FilmPlacement(std::vector<platform::Area> monitors, int film, bool fullScreen);

    // One look, `ms` after the player's start.
    PlacementStep look(const std::vector<platform::ProgramWindow>& windows, std::int64_t ms);

    // The screen the film was last seen on when that was not the film's screen and it could
    // not be moved there; none when it was there, or was never seen in full screen.
    std::optional<int> landedElsewhere() const;

    // Moves tried on one segment, and the pause between two.
    static constexpr int kMostMoves = 4;
    static constexpr std::int64_t kMoveInterval = 400;
    // A player that shows no full-screen window by then (an error box, a player that plays
    // no video) is let above the black.
    static constexpr std::int64_t kMostWait = 6000;

private:
    int monitorOf(const platform::Area& area) const;

    std::vector<platform::Area> m_monitors;
    int m_film;
    bool m_fullScreen;
    bool m_above = false;
    int m_moves = 0;
    std::optional<std::int64_t> m_lastMove;
    std::optional<int> m_elsewhere;
};

} // namespace filmarin
