// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the player in the tests: records the arguments and the folder it was
// started in (on Windows also the command line exactly as it came), then exits, after the
// delay (milliseconds) written in delay.txt beside it. With the single argument --version
// it prints the version in version.txt (default 3.0.21); on Windows its version resource
// says 3.0.21. On Windows the command line and the arguments are recorded from the wide
// command line, as UTF-8. With child.txt beside it, it starts a second stand-in as its child and
// waits for it, as the portable player's launcher does; the child writes its process number to
// child.pid and waits the same delay. With handover.txt beside it, it starts a second stand-in
// with its own arguments, which plays on after it, writes that one's process number to
// child.pid and ends at once, as a launcher that hands over does; with deaf.txt beside it,
// "quit" is recorded and not obeyed, as by a player that hangs.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#ifdef _WIN32
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <process.h>
#include <shellapi.h> // after windows.h, which it needs
// clang-format on
#else
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/un.h>
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

#ifdef _WIN32
// Starts the command line as a process of its own, with nothing special.
bool startProcess(std::wstring line, PROCESS_INFORMATION& info) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    info = PROCESS_INFORMATION{};
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info) != 0;
}
#endif

// Starts this program again with the same arguments, as the player a launcher hands over
// to, and returns at once; the child knows itself by the environment.
void handOver(const fs::path& self, int argc, char* argv[]) {
    const fs::path pidFile = self.parent_path() / "child.pid";
#ifdef _WIN32
    (void)argc;
    (void)argv;
    SetEnvironmentVariableW(L"FILMARIN_STANDIN_HANDED_OVER", L"1");
    PROCESS_INFORMATION info;
    if (!startProcess(GetCommandLineW(), info))
        return;
    std::ofstream(pidFile) << info.dwProcessId << '\n';
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
#else
    ::setenv("FILMARIN_STANDIN_HANDED_OVER", "1", 1);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(self.c_str(), argv);
        ::_exit(127);
    }
    (void)argc;
    if (pid > 0)
        std::ofstream(pidFile) << pid << '\n';
#endif
}

// Starts this program again as the child and waits for it to end.
void runChild(const fs::path& self) {
#ifdef _WIN32
    PROCESS_INFORMATION info;
    if (!startProcess(L"\"" + self.wstring() + L"\" --standin-child", info))
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

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void closeSocket(Socket s) {
    ::closesocket(s);
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void closeSocket(Socket s) {
    ::close(s);
}
#endif

// Listens where the player's control interface would: a Unix socket's path (--rc-unix) or
// 127.0.0.1:PORT (--rc-host).
Socket listenAt(const std::string& option) {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const std::string prefix = "--rc-host=127.0.0.1:";
    if (option.rfind(prefix, 0) != 0)
        return kNoSocket;
    const Socket s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::stoi(option.substr(prefix.size()))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
#else
    const std::string prefix = "--rc-unix=";
    if (option.rfind(prefix, 0) != 0)
        return kNoSocket;
    const std::string path = option.substr(prefix.size());
    const Socket s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
#endif
    if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, 1) != 0) {
        closeSocket(s);
        return kNoSocket;
    }
    return s;
}

bool readable(Socket s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    return ::select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

void sendText(Socket s, const std::string& text) {
    ::send(s, text.data(), static_cast<int>(text.size()), 0);
}

long numberIn(const fs::path& file, long fallback) {
    std::ifstream in(file);
    long value = fallback;
    in >> value;
    return value;
}

// Speaks the player's remote-control protocol as VLC 3 does, CR LF after each line, until
// "quit" or `lifetimeMs`. The position is time.txt's number until "seek" sets it, the title
// title.txt's; with silent.txt beside it, no question is answered. Every answer comes in two
// pieces after an unasked status line, as the real player's can.
void serveControl(const fs::path& folder, const std::string& option, long lifetimeMs) {
    const Socket server = listenAt(option);
    if (server == kNoSocket)
        return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetimeMs);
    auto left = [&] {
        return static_cast<int>(
            std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                       end - std::chrono::steady_clock::now())
                                       .count()));
    };
    Socket client = kNoSocket;
    long position = numberIn(folder / "time.txt", 0);
    std::string received;
    while (left() > 0) {
        if (client == kNoSocket) {
            if (readable(server, std::min(left(), 100)))
                client = ::accept(server, nullptr, nullptr);
            continue;
        }
        if (!readable(client, std::min(left(), 100)))
            continue;
        char buffer[512];
        const int n = static_cast<int>(::recv(client, buffer, sizeof buffer, 0));
        if (n <= 0) {
            closeSocket(client);
            client = kNoSocket;
            continue;
        }
        received.append(buffer, static_cast<std::size_t>(n));
        std::size_t newline;
        while ((newline = received.find('\n')) != std::string::npos) {
            const std::string line = received.substr(0, newline);
            received.erase(0, newline + 1);
            std::ofstream(folder / "commands.txt", std::ios::app) << line << '\n';
            if (line == "quit" && !fs::exists(folder / "deaf.txt")) {
                closeSocket(client);
                closeSocket(server);
                return;
            }
            if (line.rfind("seek ", 0) == 0)
                position = std::stol(line.substr(5));
            if (fs::exists(folder / "silent.txt"))
                continue;
            std::string answer;
            if (line == "get_time")
                answer = std::to_string(position);
            else if (line == "get_title")
                answer = std::to_string(numberIn(folder / "title.txt", 1));
            if (answer.empty())
                continue;
            sendText(client, "status change: ( time: " + std::to_string(position) + "s )\r\n" +
                                 answer.substr(0, 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            sendText(client, answer.substr(1) + "\r\n");
        }
    }
    if (client != kNoSocket)
        closeSocket(client);
    closeSocket(server);
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
    if (fs::exists(folder / "handover.txt") && !std::getenv("FILMARIN_STANDIN_HANDED_OVER")) {
        handOver(ownFile(), argc, argv);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--rc-unix=", 0) == 0 || argument.rfind("--rc-host=", 0) == 0) {
            const long delay = delayMs(folder);
            serveControl(folder, argument, delay > 0 ? delay : 60000);
            return 0;
        }
    }
    const long delay = delayMs(folder);
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    return 0;
}
