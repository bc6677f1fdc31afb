// Stands in for the player in the tests: records the arguments and the folder it was
// started in, then exits, after the delay (milliseconds) written in delay.txt beside it.
// With the single argument --version it prints the version in version.txt (default 3.0.21).
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    const fs::path self = fs::canonical("/proc/self/exe");
    const fs::path folder = self.parent_path();
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::ifstream versionFile(folder / "version.txt");
        std::string version = "3.0.21";
        if (versionFile)
            std::getline(versionFile, version);
        std::cout << "VLC media player " << version << " Vetinari\n";
        return 0;
    }
    {
        std::ofstream calls(folder / "calls.txt", std::ios::app);
        calls << "cwd " << fs::current_path().string() << '\n';
        calls << "pid " << ::getpid() << '\n';
        for (int i = 1; i < argc; ++i)
            calls << "arg " << argv[i] << '\n';
        calls << "end\n";
    }
    std::ifstream delayFile(folder / "delay.txt");
    long delay = 0;
    if (delayFile >> delay && delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    return 0;
}
