// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of starting a program that are the same on every system.
#include "process.h"

namespace filmarin::platform {

std::string buildCommandLine(const std::string& programFile, const std::string& parameters) {
    std::string trimmed = parameters;
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= 32)
        trimmed.pop_back();
    return "\"" + programFile + "\" " + trimmed;
}

bool runProgram(Priority priority, const std::string& programFile, const std::string& parameters,
                std::string workingFolder, bool wait, const WaitCallback& callback,
                const MessagePump& pump) {
    const std::unique_ptr<StartedProgram> program =
        startProgram(priority, programFile, parameters, std::move(workingFolder));
    if (!program)
        return false;
    // Not waited for, or once waited for however the wait ends, the handles are let go and
    // nothing more is ended: a launcher that has handed over keeps its player.
    struct LeaveRunning {
        StartedProgram& program;
        ~LeaveRunning() { program.leaveRunning(); }
    } leave{*program};
    if (!wait)
        return true;
    constexpr int kPollMilliseconds = 50;
    waitForProgram(
        program->information(), [&] { return program->waitForEnd(kPollMilliseconds); },
        [&] { program->terminate(); }, callback, pump);
    return true;
}

std::string defaultWorkingFolder(const std::string& programFile) {
    const std::size_t cut = programFile.find_last_of("\\/:");
    std::string folder = cut == std::string::npos ? std::string() : programFile.substr(0, cut + 1);
    return folder;
}

void waitForProgram(const ProcessInformation& information, const std::function<bool()>& ended,
                    const std::function<void()>& terminate, const WaitCallback& callback,
                    const MessagePump& pump) {
    bool terminateRequested = false;
    while (!ended()) {
        if (callback) {
            callback(information, terminateRequested);
            if (terminateRequested)
                terminate();
        }
        if (pump)
            pump();
    }
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };

    // The program name: quotes switch quoting on and off, backslashes are plain characters.
    std::string name;
    bool quoted = false;
    while (i < n && (quoted || !blank(commandLine[i]))) {
        if (commandLine[i] == '"')
            quoted = !quoted;
        else
            name += commandLine[i];
        ++i;
    }
    arguments.push_back(name);

    while (true) {
        while (i < n && blank(commandLine[i]))
            ++i;
        if (i >= n)
            break;
        std::string argument;
        quoted = false;
        while (i < n && (quoted || !blank(commandLine[i]))) {
            if (commandLine[i] == '\\') {
                std::size_t slashes = 0;
                while (i < n && commandLine[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && commandLine[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
            } else if (commandLine[i] == '"') {
                if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
                    // Two quotes inside quotes stand for one.
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += commandLine[i];
                ++i;
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

} // namespace filmarin::platform
