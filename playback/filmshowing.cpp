// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmshowing.h"

namespace filmarin {

int FilmShowing::filmScreenIndex() {
    return filmScreen(m_screens.screens(), m_screens.mainWindowScreen(), m_screens.chosenScreen());
}

void FilmShowing::cover() {
    const int index = filmScreenIndex();
    if (index < 0 || index >= static_cast<int>(m_screens.screens().size()))
        return;
    m_screens.cover(index);
    if (m_afterCover)
        m_afterCover();
}

void FilmShowing::segmentChosen() {
    m_running = true;
    if (m_screens.blackWanted())
        cover();
}

bool FilmShowing::readyForPlayer() {
    return !m_screens.covering() || m_screens.painted();
}

void FilmShowing::runEnded() {
    m_running = false;
    m_screens.lift();
}

std::optional<int> FilmShowing::playerScreen() {
    return playerScreenNumber(m_screens.screens(), filmScreenIndex());
}

void FilmShowing::toggleBlack() {
    if (!m_running || !m_screens.blackWanted())
        return;
    if (m_screens.covering())
        m_screens.lift();
    else
        cover();
}

} // namespace filmarin
