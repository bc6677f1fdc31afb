// SPDX-License-Identifier: GPL-3.0-or-later
#include "process.h"
#include "wintext.h"

#include <csignal>
#include <cstdlib>
#include <vector>
#include <windows.h>

namespace filmarin::platform {

namespace {

DWORD priorityClass(Priority priority) {
    return priority == Priority::High ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS;
}

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

// A started program in its job: ended with its job on every way out unless it was left to
// run, and both handles and the job closed.
class Started : public StartedProgram {
public:
    Started(const PROCESS_INFORMATION& info, HANDLE job) : m_info(info), m_job(job) {}
    ~Started() override {
        if (!m_leave)
            terminate();
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
        if (m_job)
            CloseHandle(m_job);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    ProcessInformation information() const override {
        ProcessInformation information;
        information.process = m_info.hProcess;
        information.thread = m_info.hThread;
        information.processId = m_info.dwProcessId;
        information.threadId = m_info.dwThreadId;
        information.job = m_job;
        return information;
    }
    bool waitForEnd(int milliseconds) override {
        return WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(milliseconds)) ==
               WAIT_OBJECT_0;
    }
    // Also when the launcher has ended before the player it started.
    void terminate() override {
        if (m_job)
            TerminateJobObject(m_job, 0xFFFFFFFF);
        if (!waitForEnd(0))
            TerminateProcess(m_info.hProcess, 0xFFFFFFFF);
    }
    void leaveRunning() override { m_leave = true; }

private:
    PROCESS_INFORMATION m_info;
    HANDLE m_job;
    bool m_leave = false;
};

} // namespace

std::unique_ptr<StartedProgram> startProgram(Priority priority, const std::string& programFile,
                                             const std::string& parameters,
                                             std::string workingFolder, Output) {
    if (workingFolder.empty())
        workingFolder = defaultWorkingFolder(programFile);
    if (!workingFolder.empty() && workingFolder.back() == '\\')
        workingFolder.pop_back();

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    // Started suspended, so that it is in its job before it can start anything. A program
    // with its own console writes nowhere the user reads: its output needs no discarding.
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
        return nullptr;
    auto started = std::make_unique<Started>(info, jobFor(info.hProcess));
    ResumeThread(info.hThread);
    return started;
}

void endQuietlyOnFailure() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Nor does a debugger the system is set up to start (Wine's starts one) keep it.
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG {
        TerminateProcess(GetCurrentProcess(), 3);
        return EXCEPTION_EXECUTE_HANDLER;
    });
    // The C runtime's abort (a heap it finds broken) would show a box of its own.
    std::signal(SIGABRT, [](int) { std::_Exit(3); });
}

} // namespace filmarin::platform
