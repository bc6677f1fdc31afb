// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmplacement.h"

namespace filmarin {

FilmPlacement::FilmPlacement(std::vector<platform::Area> monitors, int film, bool fullScreen)
    : m_monitors(std::move(monitors)), m_film(film), m_fullScreen(fullScreen) {}

int FilmPlacement::monitorOf(const platform::Area& area) const {
    const platform::Area centre{area.x + area.width / 2, area.y + area.height / 2, 1, 1};
    for (int i = 0; i < static_cast<int>(m_monitors.size()); ++i) {
        if (m_monitors[static_cast<std::size_t>(i)].contains(centre))
            return i;
    }
    return -1;
}

PlacementStep FilmPlacement::look(const std::vector<platform::ProgramWindow>& windows,
                                  std::int64_t ms) {
    PlacementStep step;
    const bool known = m_film >= 0 && m_film < static_cast<int>(m_monitors.size());
    if (!m_fullScreen || !known) {
        // The player's own window is what the class is to see (an audio CD), or there is no
        // screen to put it on: nothing to wait for.
        step.letPlayerAbove = !m_above && (!windows.empty() || ms >= kMostWait || !known);
        m_above = m_above || step.letPlayerAbove;
        return step;
    }
    const platform::Area& film = m_monitors[static_cast<std::size_t>(m_film)];
    const platform::ProgramWindow* away = nullptr;
    bool there = false;
    for (const platform::ProgramWindow& window : windows) {
        // A window as large as a screen is full screen, whatever the window manager says.
        const int monitor = monitorOf(window.area);
        const bool fills =
            window.fullScreen ||
            (monitor >= 0 && window.area == m_monitors[static_cast<std::size_t>(monitor)]);
        if (!fills)
            continue;
        if (window.area.contains(film) || (monitor == m_film && window.area.width > 0)) {
            there = true;
            break;
        }
        away = &window;
    }
    if (there) {
        m_elsewhere.reset();
        step.letPlayerAbove = !m_above;
        m_above = true;
        return step;
    }
    if (away) {
        m_elsewhere = monitorOf(away->area);
        const bool waited = !m_lastMove || ms - *m_lastMove >= kMoveInterval;
        if (m_moves < kMostMoves && waited) {
            step.move = away->id;
            ++m_moves;
            m_lastMove = ms;
        } else if (m_moves >= kMostMoves && waited && !m_above) {
            // It stays where it is: the class sees it there rather than nowhere.
            step.letPlayerAbove = true;
            m_above = true;
        }
        return step;
    }
    if (!m_above && ms >= kMostWait) {
        step.letPlayerAbove = true;
        m_above = true;
    }
    return step;
}

std::optional<int> FilmPlacement::landedElsewhere() const {
    return m_elsewhere;
}

} // namespace filmarin
