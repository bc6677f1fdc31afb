// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows a window's process is GetWindowThreadProcessId's; the started program's job holds
// the processes it started. A window is in full screen when it covers its monitor whole.
#include "programwindows.h"

#include <windows.h>

namespace filmarin::platform {

namespace {

struct Search {
    const ProcessInformation* program;
    std::vector<ProgramWindow> found;
};

bool belongsTo(DWORD pid, const ProcessInformation& program) {
    if (pid == program.processId)
        return true;
    if (!program.job)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    BOOL inJob = FALSE;
    const bool asked = IsProcessInJob(process, static_cast<HANDLE>(program.job), &inJob);
    CloseHandle(process);
    return asked && inJob;
}

Area areaOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK look(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window) || IsIconic(window))
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (!belongsTo(pid, *search.program))
        return TRUE;
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return TRUE;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const bool onMonitor =
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    ProgramWindow shown;
    shown.id = reinterpret_cast<std::uintptr_t>(window);
    shown.area = areaOf(rect);
    shown.fullScreen = onMonitor && areaOf(monitor.rcMonitor).contains(shown.area) &&
                       shown.area.contains(areaOf(monitor.rcMonitor));
    search.found.push_back(shown);
    return TRUE;
}

} // namespace

std::vector<ProgramWindow> programWindows(const ProcessInformation& program) {
    Search search{&program, {}};
    if (program.processId != 0)
        EnumWindows(look, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<Area>*>(data)->push_back(areaOf(*rect));
    return TRUE;
}
} // namespace

std::vector<Area> monitors() {
    std::vector<Area> found;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
    return found;
}

void putFullScreen(std::uint64_t window, const Area& monitor) {
    // A full-screen window on Windows is a window as large as its monitor: moved there whole.
    SetWindowPos(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), nullptr, monitor.x,
                 monitor.y, monitor.width, monitor.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

} // namespace filmarin::platform
