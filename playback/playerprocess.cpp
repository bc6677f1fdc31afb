// SPDX-License-Identifier: GPL-3.0-or-later
#include "playerprocess.h"

#include "platform/process.h"
#include "platformtext/platformtext.h"

#include <QCoreApplication>

namespace filmarin {

PlayerOutcome runPlayerProcess(platform::Priority priority, const QString& programFile,
                               const QString& parameters, const std::function<bool()>& closing,
                               const PlayerWatch& watch) {
    bool started = false;
    try {
        started = platform::runProgram(
            priority, toPlatform(programFile), toPlatform(parameters), std::string(), true,
            [&closing, &watch](const platform::ProcessInformation& player, bool& terminate) {
                terminate = closing && closing();
                if (watch && !terminate)
                    watch(player);
            },
            [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    } catch (...) {
        return PlayerOutcome::Failed;
    }
    if (!started)
        return PlayerOutcome::NotStarted;
    if (closing && closing())
        return PlayerOutcome::Closing;
    return PlayerOutcome::Played;
}

} // namespace filmarin
