// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playback/filmshowing.h"
#include "playback/playbackrun.h"
#include "programvalues.h"
#include "unit1.h"

#include <QObject>
#include <functional>
#include <memory>

namespace filmarin {

class DriveQuestions;
class DriveSystem;
class TDialogWeiter_Form;
class TDVD_CD_oeffnen;

// The program's one set of values and its three windows, created in their order (the main
// window, the pause dialog, the disc browser) and connected to the playback run. Each object
// has one owner: the main window is the Program's and the dialogs are the main window's
// (their Qt parent); the showing and the run are the Program's and go before the windows
// they use.
class Program {
public:
    // `drives` defaults to the system's drives. The questions to them may outlive the
    // program's windows, and share the drives with them. `mainWindowMade`, when given, runs
    // once the main window is made, before the dialogs: the program shows it there, so that
    // the window manager maps it while the dialogs are being made.
    explicit Program(WindowEnvironment environment = {},
                     std::shared_ptr<DriveSystem> drives = nullptr,
                     const std::function<void(TForm1&)>& mainWindowMade = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    ProgramValues& values() { return m_values; }
    TForm1& mainWindow() { return *m_form1; }
    TDialogWeiter_Form& pauseDialog() { return *m_pauseDialog; }
    TDVD_CD_oeffnen& discBrowser() { return *m_discBrowser; }
    PlaybackRun& run() { return *m_run; }
    FilmShowing& showing() { return *m_showing; }

private:
    ProgramValues m_values;
    std::shared_ptr<DriveQuestions> m_questions;
    std::unique_ptr<TForm1> m_form1;
    TDialogWeiter_Form* m_pauseDialog = nullptr; // the main window's child
    TDVD_CD_oeffnen* m_discBrowser = nullptr;    // the main window's child
    std::unique_ptr<FilmShowing> m_showing;
    std::unique_ptr<PlaybackRun> m_run;
    // The context of the connections into the run: it goes first, so that no window calls
    // into the run while the objects go.
    QObject m_runConnections;
};

// The program entry: makes the application and the program's windows, shows the main
// window and runs the event loop until it is closed, or until the system asks the program
// to end (a logout or shutdown, SIGTERM, SIGHUP or SIGINT on Linux), which ends it the same
// way. The command line is not interpreted: Qt gets only the program's name. No settings
// are read or written. `started`, when given, runs once the main window is shown; `drives`
// defaults to the system's, asked in a helper process where the system needs one.
int runFilmarin(int argc, char* argv[], const std::function<void(TForm1&)>& started = {},
                std::shared_ptr<DriveSystem> drives = nullptr);

} // namespace filmarin
