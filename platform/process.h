// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace filmarin::platform {

// The priority class of a started program; the player runs at High.
enum class Priority { Normal, High };

// What the system tells about a started program.
struct ProcessInformation {
    void* process = nullptr;
    void* thread = nullptr;
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
    void* job = nullptr; // Windows: the job that holds the program and what it starts
};

// Asked while waiting; sets `terminate` to have the program ended.
using WaitCallback = std::function<void(const ProcessInformation&, bool& terminate)>;
// Handles the window messages that are waiting, then returns.
using MessagePump = std::function<void()>;

// Where a started program's standard output goes.
enum class Output { Inherited, Discarded };

// A started program that nobody waits for in a loop. Ending it ends whatever it started too
// (a job on Windows, a process group on Linux), so that the portable player's launcher
// goes with the player it started. Destroying it ends it, unless it was left to run;
// runProgram leaves it to run once it has waited for it.
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    virtual ProcessInformation information() const = 0;
    // Waits up to `milliseconds` (0: not at all); true once the program has ended.
    virtual bool waitForEnd(int milliseconds) = 0;
    // Ends the program with everything it started.
    virtual void terminate() = 0;
    // Lets the program run on by itself once this object is gone.
    virtual void leaveRunning() = 0;
};

// Starts `programFile` as runProgram does, without waiting for it; null when it could not
// be started.
std::unique_ptr<StartedProgram> startProgram(Priority priority, const std::string& programFile,
                                             const std::string& parameters,
                                             std::string workingFolder,
                                             Output output = Output::Inherited);

// Starts `programFile` with `parameters` (trailing blanks and control characters removed)
// in `workingFolder` (empty: the program file's folder). With `wait`, polls every 50 ms
// until the program has ended, asking `callback` whether to end it and pumping messages
// between polls. Ending it ends whatever it started too (a job on Windows, a process group
// on Linux). False when the program could not be started; true once it was started,
// however it ended.
bool runProgram(Priority priority, const std::string& programFile, const std::string& parameters,
                std::string workingFolder, bool wait, const WaitCallback& callback,
                const MessagePump& pump);

// The command line runProgram gives the system: the quoted program file, a blank and the
// trimmed parameters.
std::string buildCommandLine(const std::string& programFile, const std::string& parameters);

// The folder runProgram starts a program in when none is given.
std::string defaultWorkingFolder(const std::string& programFile);

// The wait loop of runProgram: until `ended` (which waits up to 50 ms) reports the end, asks
// `callback` whether to end the program, calls `terminate` while it says so, and pumps.
void waitForProgram(const ProcessInformation& information, const std::function<bool()>& ended,
                    const std::function<void()>& terminate, const WaitCallback& callback,
                    const MessagePump& pump);

// For a program that reads what may be damaged (the disc reader): should it fail badly, it
// ends at once, and the system asks no one anything, neither to report the failure nor to
// insert a medium (Windows' error boxes), and writes no core file (Linux).
void endQuietlyOnFailure();

// Splits a command line into arguments by the rules of the Windows C runtime, so that a
// program receives the same arguments on every system.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

} // namespace filmarin::platform
