// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playbackrun.h"

#include <QString>
#include <functional>

namespace filmarin {

// Starts the player with the process runner and waits for it, handling the window events
// every 50 ms. While `closing` answers true the player is ended; the outcome is then
// Closing. `watch`, when set, is told at every pass what the system says of the player.
PlayerOutcome runPlayerProcess(platform::Priority priority, const QString& programFile,
                               const QString& parameters, const std::function<bool()>& closing,
                               const PlayerWatch& watch = {});

} // namespace filmarin
