// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#ifdef _WIN32
#include <windows.h>
#else
#include <QFile>
#include <csignal>
#endif

namespace filmarin::testing {

// True while a process with this number runs: on Windows one that has not ended, on Linux
// one that is no zombie (an ended process whose parent has gone may wait a while to be
// reaped).
inline bool processExists(qint64 pid) {
#ifdef _WIN32
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end < 0 || line.mid(end + 2, 1) != "Z";
#endif
}

} // namespace filmarin::testing
