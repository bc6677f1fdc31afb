// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the player in the tests: records the arguments and the folder it was
// started in (on Windows also the command line exactly as it came), then exits, after the
// delay (milliseconds) written in delay.txt beside it. With the single argument --version
// it prints the version in version.txt (default 3.0.21); on Windows its version resource
// says 3.0.21. With child.txt beside it, it starts a second stand-in as its child and waits
// for it, as the portable player's launcher does; the child writes its process number to
// child.pid and waits the same delay.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ownFile() {
#ifdef _WIN32
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return fs::path(buffer);
#else
    return fs::canonical("/proc/self/exe");
#endif
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
    std::string line = "\"" + self.string() + "\" --standin-child";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
        calls << "cwd " << fs::current_path().string() << '\n';
        calls << "pid " << ownProcessId() << '\n';
#ifdef _WIN32
        calls << "line " << GetCommandLineA() << '\n';
#endif
        for (int i = 1; i < argc; ++i)
            calls << "arg " << argv[i] << '\n';
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
