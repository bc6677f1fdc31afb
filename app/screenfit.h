// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>
#include <optional>

class QApplication;
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

// The factor on top of the system's scale (as QT_SCALE_FACTOR takes it) at which a main
// window of `size` pixels at 96 dpi, without its frame, fits the primary screen; 1 when it
// fits at the system's scale. Needs the application. The toolkit fixes the windows' scale
// when the application is made, so a factor other than 1 takes a new application.
double fittingFactor(QSize size);

// Makes the application at the scale `factor` on top of the system's (and of any the user set
// for Qt programs). Once it is made, the user's own setting is back, so that the player does
// not inherit the factor. `argc` and `argv` must outlive the application.
std::unique_ptr<QApplication> makeApplication(double factor, int& argc, char** argv);

// The frame of a main window on `screen` as the system tells it before any window is shown
// (Windows does); none where only a window manager framing a shown window tells it (X11).
std::optional<QMargins> systemFrame(QScreen& screen);

// The frame a main window on `screen` is given room for before it is shown, in the screen's
// pixels at 96 dpi: the system's (systemFrame), else room for a title bar of up to 38 pixels
// and borders of 4.
QMargins expectedFrame(QScreen& screen);

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
