// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Requests from the system to end the program, other than closing its window: on Linux the
// signals a logout, a shutdown or the terminal send (SIGTERM, SIGHUP, SIGINT).
namespace filmarin::platform {

// From now on, such a request no longer ends the program on the spot: it makes the returned
// descriptor readable, and the program ends itself in good order. -1 where the system sends
// its requests to the windows instead (Windows ends a session with window messages).
int watchEndRequests();

// Takes the requests that have come from the descriptor, so that it waits for the next one.
void takeEndRequests(int descriptor);

} // namespace filmarin::platform
