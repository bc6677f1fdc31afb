// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QScreen;
class QWidget;

namespace filmarin {

// What a screen offers a window, in the screen's own pixels.
struct ScreenRoom {
    QRect workArea;           // the screen without taskbar and panels
    double systemScale = 1.0; // the scale the system asks for (1 at 96 dpi)
    QMargins frame;           // a window's frame and title bar
};

// The scale a window opens at: the system's when the window, `size` pixels at 96 dpi without
// its frame, fits the work area at it; otherwise the largest that fits, in steps of 5 %, but
// never less than the window's own 96-dpi size.
double fittingScale(QSize size, const ScreenRoom& room);

// Where a window's frame of `frameSize` goes: centred in the work area when it fits, else at
// the work area's top left, so that its title bar can always be reached.
QPoint framePlace(QSize frameSize, const QRect& workArea);

// Sets the scale of the program's windows for the screen the main window opens on, from the
// main window's size at 96 dpi (`size`, without frame). The toolkit fixes a window's scale
// when the window is made, so this must run before the first window is shown.
void fitScaleToScreen(QSize size);

// The frame of a main window on `screen` as the system tells it before any window is shown
// (Windows does); none where only a window manager framing a shown window tells it (X11).
std::optional<QMargins> systemFrame(QScreen& screen);

// A window's frame as it stands: empty before a window manager has framed it, and while it
// cannot be read.
QMargins frameOf(const QWidget& window);

// The frame a dialog will get: its owner's, which the same window manager framed, else the
// system's.
std::optional<QMargins> ownerFrame(QWidget& dialog);

// Moves a window, before it is shown, so that its frame is at framePlace in `area`: by its
// inside where the frame is known (its own, else `expected`), else by its frame.
void placeFrame(QWidget& window, const QRect& area, std::optional<QMargins> expected);

// Moves a dialog, before it is shown, to the middle of the window it belongs to.
void centreOnOwner(QWidget& dialog);

} // namespace filmarin
