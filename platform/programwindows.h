// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "process.h"

#include <cstdint>
#include <vector>

// The windows a started program shows, and putting one of them in full screen on a given
// monitor: the player decides by itself where its full-screen window goes (its saved window
// place, the window manager's choice), so the program looks and, where needed, moves it.
namespace filmarin::platform {

// A rectangle on the desktop, in the system's own pixels.
struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Area&) const = default;
    bool contains(const Area& other) const {
        return other.x >= x && other.y >= y && other.x + other.width <= x + width &&
               other.y + other.height <= y + height;
    }
};

struct ProgramWindow {
    std::uint64_t id = 0; // the system's handle of the window
    Area area;            // where it is, without the window manager's frame
    bool fullScreen = false;
};

// The visible top-level windows of `program` and of the programs it started (its process
// group on Linux, its job on Windows). Empty where the system cannot tell (no display).
std::vector<ProgramWindow> programWindows(const ProcessInformation& program);

// The monitors as the system has them, in its own pixels. Empty where the system cannot tell.
std::vector<Area> monitors();

// Asks that `window` be shown in full screen on `monitor`. Returns at once: whether it got
// there shows in programWindows afterwards.
void putFullScreen(std::uint64_t window, const Area& monitor);

} // namespace filmarin::platform
