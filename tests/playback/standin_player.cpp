// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the player in the tests: records the arguments and the folder it was
// started in (on Windows also the command line exactly as it came), then exits, after the
// delay (milliseconds) written in delay.txt beside it. With the single argument --version
// it prints the version in version.txt (default 3.0.21); on Windows its version resource
// says 3.0.21. On Windows the command line and the arguments are recorded from the wide
// command line, as UTF-8. With child.txt beside it, it starts a second stand-in as its child and
// waits for it, as the portable player's launcher does; the child writes its process number to
// child.pid and waits the same delay.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <process.h>
#include <shellapi.h> // after windows.h, which it needs
// clang-format on
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ownFile() {
#ifdef _WIN32
    wchar_t buffer[32768] = {};
    GetModuleFileNameW(nullptr, buffer, 32768);
    return fs::path(buffer);
#else
    return fs::canonical("/proc/self/exe");
#endif
}

#ifdef _WIN32
std::string utf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}
#endif

// A path as UTF-8, whatever the system's code page.
std::string pathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

long ownProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

long delayMs(const fs::path& folder) {
    std::ifstream delayFile(folder / "delay.txt");
    long delay = 0;
    if (delayFile >> delay && delay > 0)
        return delay;
    return 0;
}

// Starts this program again as the child and waits for it to end.
void runChild(const fs::path& self) {
#ifdef _WIN32
    std::wstring line = L"\"" + self.wstring() + L"\" --standin-child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
#else
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(self.c_str(), self.c_str(), "--standin-child", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid > 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    const fs::path folder = ownFile().parent_path();
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::ifstream versionFile(folder / "version.txt");
        std::string version = "3.0.21";
        if (versionFile)
            std::getline(versionFile, version);
        std::cout << "VLC media player " << version << " Vetinari\n";
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--standin-child") {
        std::ofstream(folder / "child.pid") << ownProcessId() << '\n';
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(folder)));
        return 0;
    }
    {
        std::ofstream calls(folder / "calls.txt", std::ios::app | std::ios::binary);
        calls << "cwd " << pathText(fs::current_path()) << '\n';
        calls << "pid " << ownProcessId() << '\n';
#ifdef _WIN32
        // The command line as the system holds it, and its arguments, as UTF-8.
        calls << "line " << utf8(GetCommandLineW()) << '\n';
        int count = 0;
        wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
        for (int i = 1; arguments && i < count; ++i)
            calls << "arg " << utf8(arguments[i]) << '\n';
        LocalFree(arguments);
        (void)argv;
#else
        for (int i = 1; i < argc; ++i)
            calls << "arg " << argv[i] << '\n';
#endif
        calls << "end\n";
    }
    if (fs::exists(folder / "child.txt")) {
        runChild(ownFile());
        return 0;
    }
    const long delay = delayMs(folder);
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    return 0;
}
