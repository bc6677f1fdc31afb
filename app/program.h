#pragma once

#include <functional>

namespace filmarin {

class TForm1;

// Runs the program: creates the three windows in their order, shows the main window and
// runs the event loop until it is closed. The command line is not interpreted: Qt gets only
// the program's name. No settings are read or written. `started`, when given, runs once the
// main window is shown.
int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& started = {});

} // namespace filmarin
