// SPDX-License-Identifier: GPL-3.0-or-later
#include "filmshowing.h"

namespace filmarin {

QString filmElsewhereMessage(int shownOn, int chosen) {
    return QStringLiteral("Der Film lief auf Bildschirm %1, nicht auf Bildschirm %2, wo er laufen "
                          "sollte: Der Player ließ sich nicht dorthin bringen. Wählen Sie unter "
                          "\"Vorführung\" den Bildschirm für den Film, oder schieben Sie das "
                          "Fenster des Players vor dem nächsten Ausschnitt auf den Bildschirm.")
        .arg(shownOn + 1)
        .arg(chosen + 1);
}

int FilmShowing::filmScreenIndex() {
    return filmScreen(m_screens.screens(), m_screens.mainWindowScreen(), m_screens.chosenScreen());
}

void FilmShowing::cover() {
    const int index = filmScreenIndex();
    if (index < 0 || index >= static_cast<int>(m_screens.screens().size()))
        return;
    m_black = true;
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
    const bool wasRunning = m_running;
    m_running = false;
    m_black = false;
    m_placement.reset();
    m_screens.lift();
    if (wasRunning)
        m_screens.focusMainWindow();
}

std::optional<int> FilmShowing::playerScreen() {
    return playerScreenNumber(m_screens.screens(), filmScreenIndex());
}

void FilmShowing::playerStarts(bool fullScreen) {
    const std::vector<ScreenFacts> screens = m_screens.screens();
    m_placement.reset();
    // With one screen and no black, the player is left alone, as without a showing.
    if (screens.size() < 2 && !m_screens.covering())
        return;
    std::vector<platform::Area> monitors;
    for (const ScreenFacts& screen : screens)
        monitors.push_back(deviceArea(screen));
    m_placement.emplace(std::move(monitors), filmScreenIndex(), fullScreen);
    m_screens.setAbovePlayer(true);
    m_playerClock.start();
}

void FilmShowing::playerRuns(const platform::ProcessInformation& player) {
    if (!m_placement)
        return;
    const PlacementStep step =
        m_placement->look(m_screens.playerWindows(player), m_playerClock.elapsed());
    if (step.move) {
        const std::vector<ScreenFacts> screens = m_screens.screens();
        const int film = filmScreenIndex();
        if (film >= 0 && film < static_cast<int>(screens.size()))
            m_screens.putFullScreen(*step.move,
                                    deviceArea(screens[static_cast<std::size_t>(film)]));
    }
    if (step.letPlayerAbove)
        m_screens.setAbovePlayer(false);
}

std::optional<QString> FilmShowing::playerEnded() {
    if (!m_placement)
        return std::nullopt;
    const std::optional<int> elsewhere = m_placement->landedElsewhere();
    m_placement.reset();
    // Black above everything again before the pause dialog comes.
    m_screens.setAbovePlayer(true);
    if (!elsewhere || *elsewhere < 0)
        return std::nullopt;
    return filmElsewhereMessage(*elsewhere, filmScreenIndex());
}

void FilmShowing::toggleBlack() {
    if (!m_running || !m_screens.blackWanted())
        return;
    if (m_screens.covering()) {
        m_black = false;
        m_screens.lift();
    } else {
        cover();
    }
}

void FilmShowing::screensChanged() {
    if (m_running && m_black && m_screens.blackWanted())
        cover();
}

} // namespace filmarin
