// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/programwindows.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// Which screen the film plays on when the computer has more than one: a projector beside
// the teacher's own screen. Screens are given in the order the toolkit lists them, which is
// the order the player numbers them: the primary screen first, then the others as the
// system lists them (on X11 as XRandR does, on Windows as the system enumerates monitors;
// the player's interface is built on the same toolkit and lists them alike).
namespace filmarin {

struct ScreenFacts {
    QRect geometry; // on the desktop, in the toolkit's coordinates
    QSize pixels;   // the screen's own resolution
};

// A screen's own resolution: that of the system's monitor at the screen's corner (the toolkit
// keeps a screen's corner where the system has it), else its size in the toolkit's pixels
// scaled back by `ratio`, which may be a pixel off.
QSize screenPixels(const QRect& geometry, double ratio,
                   const std::vector<platform::Area>& monitors);

// The screen's place on the desktop in its own pixels, as the system tells windows' places.
platform::Area deviceArea(const ScreenFacts& screen);

// The screen the film goes on: the one chosen, while it exists; otherwise, with two or
// more screens, the largest that does not hold the main window (the first of equal ones);
// with one screen, that one. -1 without any screen.
int filmScreen(const std::vector<ScreenFacts>& screens, int mainWindowScreen,
               std::optional<int> chosen);

// The number the player is told for screen `index`; none with a single screen, where the
// player's command line names no screen.
std::optional<int> playerScreenNumber(const std::vector<ScreenFacts>& screens, int index);

// How the screens menu names screen `index`, for example "Bildschirm 2: 1920×1080, rechts";
// the screen of the main window is marked "(Hauptfenster)".
QString screenLabel(const std::vector<ScreenFacts>& screens, int index, int mainWindowScreen);

} // namespace filmarin
