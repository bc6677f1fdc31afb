// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process.h"
#include "running.h"
#include "tempdir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace filmarin::platform;
using filmarin::testing::running;
using filmarin::testing::TempDir;

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> args;
};

TEST(SplitCommandLine, FollowsTheWindowsRuntimeRules) {
    const SplitCase cases[] = {
        {R"("C:\Tools\VLC player.exe"   --a  b)", {R"(C:\Tools\VLC player.exe)", "--a", "b"}},
        {R"(prog "a b" c)", {"prog", "a b", "c"}},
        {R"(prog a\b c\\d)", {"prog", R"(a\b)", R"(c\\d)"}},
        {R"(prog a\"b)", {"prog", "a\"b"}},
        {R"(prog a\\"b c")", {"prog", R"(a\b c)"}},
        {R"(prog a\\\"b)", {"prog", R"(a\"b)"}},
        {R"(prog "a""b")", {"prog", "a\"b"}},
        {R"(prog "")", {"prog", ""}},
        {"prog\ta\t\tb", {"prog", "a", "b"}},
        {R"("C:\x\"  y)", {R"(C:\x\)", "y"}},
        {R"("/p/player" )", {"/p/player"}},
        {"", {""}}};
    for (const SplitCase& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

TEST(BuildCommandLine, QuotesTheProgramAndTrimsTheParameters) {
    EXPECT_EQ(buildCommandLine("C:\\p.exe", ""), "\"C:\\p.exe\" ");
    EXPECT_EQ(buildCommandLine("C:\\p.exe", "  --a b  \t\r\n"), "\"C:\\p.exe\"   --a b");
    EXPECT_EQ(defaultWorkingFolder("C:\\Tools\\VLCportable\\VLCportable.exe"),
              "C:\\Tools\\VLCportable\\");
    EXPECT_EQ(defaultWorkingFolder("/opt/f/VLCportable/VLCportable.exe"), "/opt/f/VLCportable/");
    EXPECT_EQ(defaultWorkingFolder("D:p.exe"), "D:");
    EXPECT_EQ(defaultWorkingFolder("p.exe"), "");
}

// A shell script as the started program; it writes what it sees into out.txt beside it.
struct Program {
    explicit Program(const std::string& body) {
        path = dir / "prog";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    std::string output() const {
        std::ifstream in(dir / "out.txt");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    TempDir dir;
    std::string path;
};

TEST(RunProgram, PassesTheArgumentsAndStartsInTheProgramsFolder) {
    Program p(R"(pwd > out.txt; for a in "$@"; do echo "[$a]" >> out.txt; done)");
    runProgram(Priority::High, p.path, "  --x=1  \"two words\" file:///a%20b   ", "", true, nullptr,
               nullptr);
    EXPECT_EQ(p.output(), p.dir.str() + "\n[--x=1]\n[two words]\n[file:///a%20b]\n");
}

TEST(RunProgram, GivenWorkingFolderIsUsedWithoutItsTrailingSeparator) {
    Program p("pwd > \"$1\"");
    TempDir other;
    runProgram(Priority::Normal, p.path, p.dir / "out.txt", other.str() + "/", true, nullptr,
               nullptr);
    EXPECT_EQ(p.output(), other.str() + "\n");
}

TEST(RunProgram, AProgramThatEndsAtOnceIsNotAskedAbout) {
    Program p("exit 3");
    int callbacks = 0;
    runProgram(
        Priority::Normal, p.path, "", "", true,
        [&](const ProcessInformation&, bool&) { ++callbacks; }, nullptr);
    EXPECT_EQ(callbacks, 0);
}

TEST(RunProgram, WaitsPumpingMessagesAndEndsTheProgramOnRequest) {
    Program p("exec sleep 30");
    int callbacks = 0;
    int pumps = 0;
    std::uint32_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    runProgram(
        Priority::High, p.path, "", "", true,
        [&](const ProcessInformation& info, bool& terminate) {
            ++callbacks;
            pid = info.processId;
            if (callbacks == 4)
                terminate = true;
            else
                EXPECT_EQ(terminate, callbacks > 4) << "the flag is never reset";
        },
        [&] { ++pumps; });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(callbacks, 4);
    EXPECT_GE(pumps, 4);
    EXPECT_GT(seconds, 0.15);
    EXPECT_LT(seconds, 1.0);
    ASSERT_NE(pid, 0u);
    EXPECT_NE(::kill(static_cast<pid_t>(pid), 0), 0) << "ended and reaped";
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "no child left behind";
}

// The portable player's launcher starts the player as its child: ending the launcher ends
// the child too.
TEST(RunProgram, EndingTheProgramEndsWhatItStarted) {
    Program p("sleep 30 & echo $! > child.pid; wait");
    pid_t child = 0;
    EXPECT_TRUE(runProgram(
        Priority::Normal, p.path, "", "", true,
        [&](const ProcessInformation&, bool& terminate) {
            std::ifstream in(p.dir / "child.pid");
            std::string line;
            if (!child && std::getline(in, line) && !in.eof())
                child = static_cast<pid_t>(std::stol(line));
            if (child)
                terminate = true;
        },
        nullptr));
    ASSERT_NE(child, 0);
    for (int i = 0; i < 100 && running(child); ++i)
        ::usleep(10000);
    EXPECT_FALSE(running(child)) << "the child still runs";
}

// The showing waits for the program it started; a launcher that hands over and ends keeps
// its player, as the process runner only lets the handles go.
TEST(RunProgram, ALauncherThatHandsOverKeepsItsPlayer) {
    Program p("sleep 30 & echo $! > child.pid");
    EXPECT_TRUE(runProgram(Priority::Normal, p.path, "", "", true, nullptr, nullptr));
    std::ifstream in(p.dir / "child.pid");
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    const pid_t child = static_cast<pid_t>(std::stol(line));
    EXPECT_TRUE(running(child)) << "the handed-over player was ended";
    ::kill(child, SIGKILL);
}

TEST(RunProgram, AProgramThatCannotBeStartedIsReportedAndNotWaitedFor) {
    TempDir dir;
    int callbacks = 0;
    EXPECT_FALSE(runProgram(
        Priority::Normal, dir / "missing.exe", "--a", "", true,
        [&](const ProcessInformation&, bool&) { ++callbacks; }, nullptr));
    EXPECT_FALSE(runProgram(Priority::Normal, dir.str(), "", "", true, nullptr, nullptr));
    Program p("exit 0");
    EXPECT_FALSE(
        runProgram(Priority::Normal, p.path, "", p.dir / "no-such-folder", true, nullptr, nullptr));
    EXPECT_TRUE(runProgram(Priority::Normal, p.path, "", "", true, nullptr, nullptr));
    EXPECT_EQ(callbacks, 0);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(RunProgram, NoDescriptorOfTheProgramReachesTheChild) {
    const int leaked = ::open("/dev/null", O_RDONLY); // deliberately without O_CLOEXEC
    ASSERT_GE(leaked, 3);
    Program p("ls /proc/$$/fd > out.txt");
    runProgram(Priority::Normal, p.path, "", "", true, nullptr, nullptr);
    ::close(leaked);
    std::istringstream listed(p.output());
    std::string fd;
    std::vector<std::string> fds;
    while (listed >> fd)
        fds.push_back(fd);
    // 0-2, and the shell's own descriptor for the listing.
    for (const std::string& f : fds)
        EXPECT_NE(f, std::to_string(leaked));
}

TEST(RunProgram, WithoutWaitingItReturnsAtOnce) {
    Program p("sleep 0.3; echo done > out.txt");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(runProgram(Priority::Normal, p.path, "", "", false, nullptr, nullptr));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.2);
    for (int i = 0; i < 100 && p.output().empty(); ++i)
        ::usleep(20000);
    EXPECT_EQ(p.output(), "done\n");
}

// The preview's player is started without a wait loop. A launcher that hands over to the
// player and ends first still takes the player with it when the preview ends, and the
// started program is gone with the object that stands for it.
TEST(StartProgram, EndingOrDroppingItEndsWhatItStarted) {
    for (const bool launcherEndsFirst : {false, true}) {
        for (const bool byTerminate : {true, false}) {
            Program p(launcherEndsFirst ? "sleep 30 & echo $! > child.pid"
                                        : "sleep 30 & echo $! > child.pid; wait");
            std::unique_ptr<StartedProgram> program =
                startProgram(Priority::Normal, p.path, "", "", Output::Discarded);
            ASSERT_TRUE(program);
            pid_t child = 0;
            for (int i = 0; i < 300 && !child; ++i) {
                std::ifstream in(p.dir / "child.pid");
                std::string line;
                if (std::getline(in, line) && !in.eof())
                    child = static_cast<pid_t>(std::stol(line));
                else
                    ::usleep(10000);
            }
            ASSERT_NE(child, 0);
            if (launcherEndsFirst) {
                for (int i = 0; i < 300 && !program->waitForEnd(0); ++i)
                    ::usleep(10000);
                EXPECT_TRUE(running(child)) << "the player runs on after its launcher";
            }
            if (byTerminate) {
                program->terminate();
                EXPECT_TRUE(program->waitForEnd(2000));
            }
            program.reset();
            for (int i = 0; i < 200 && running(child); ++i)
                ::usleep(10000);
            EXPECT_FALSE(running(child))
                << "launcher ends first: " << launcherEndsFirst << ", terminated: " << byTerminate;
        }
    }
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "no child left behind";
}

TEST(StartProgram, DiscardedOutputGoesNowhere) {
    Program p("echo said; where=$(readlink /proc/$$/fd/1); echo \"$where\" > out.txt");
    const std::unique_ptr<StartedProgram> program =
        startProgram(Priority::Normal, p.path, "", "", Output::Discarded);
    ASSERT_TRUE(program);
    EXPECT_TRUE(program->waitForEnd(5000));
    EXPECT_NE(p.output().find("/dev/null"), std::string::npos) << p.output();
    EXPECT_FALSE(startProgram(Priority::Normal, p.dir / "missing.exe", "", ""));
}

} // namespace
