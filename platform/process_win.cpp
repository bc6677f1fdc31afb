// SPDX-License-Identifier: GPL-3.0-or-later
#include "process.h"
#include "wintext.h"

#include <vector>
#include <windows.h>

namespace filmarin::platform {

namespace {

DWORD priorityClass(Priority priority) {
    return priority == Priority::High ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS;
}

// Closes both handles of a started program, and its job, on every way out.
struct Handles {
    PROCESS_INFORMATION& info;
    HANDLE job = nullptr;
    ~Handles() {
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        if (job)
            CloseHandle(job);
    }
};

// A job for the started program: whatever it starts belongs to the job too, so that ending
// the job ends the portable player's launcher together with the player it started. Null
// when the system gives none (the program is then ended alone).
HANDLE jobFor(HANDLE process) {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return nullptr;
    if (!AssignProcessToJobObject(job, process)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

} // namespace

bool runProgram(Priority priority, const std::string& programFile, const std::string& parameters,
                std::string workingFolder, bool wait, const WaitCallback& callback,
                const MessagePump& pump) {
    if (workingFolder.empty())
        workingFolder = defaultWorkingFolder(programFile);
    if (!workingFolder.empty() && workingFolder.back() == '\\')
        workingFolder.pop_back();

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    // Started suspended, so that it is in its job before it can start anything.
    const DWORD flags =
        priorityClass(priority) | CREATE_NEW_CONSOLE | CREATE_DEFAULT_ERROR_MODE | CREATE_SUSPENDED;

    // The command line and the folder go to the system as UTF-16, so that every name a
    // Windows folder can hold reaches the program unchanged.
    const std::wstring commandLine = widen(buildCommandLine(programFile, parameters));
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    const std::wstring folder = widen(workingFolder);

    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    Handles handles{info, jobFor(info.hProcess)};
    ResumeThread(info.hThread);
    if (!wait)
        return true;
    ProcessInformation information;
    information.process = info.hProcess;
    information.thread = info.hThread;
    information.processId = info.dwProcessId;
    information.threadId = info.dwThreadId;
    waitForProgram(
        information, [&] { return WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0; },
        [&] {
            if (handles.job)
                TerminateJobObject(handles.job, 0xFFFFFFFF);
            TerminateProcess(info.hProcess, 0xFFFFFFFF);
        },
        callback, pump);
    return true;
}

} // namespace filmarin::platform
