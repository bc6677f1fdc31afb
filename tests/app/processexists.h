#pragma once

#include <QtGlobal>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace filmarin::testing {

// True while a process with this number exists (and, on Windows, has not ended).
inline bool processExists(qint64 pid) {
#ifdef _WIN32
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0;
#endif
}

} // namespace filmarin::testing
