// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process.h"
#include "wintest.h"

#include <gtest/gtest.h>

using namespace filmarin::platform;
using filmarin::testing::readText;
using filmarin::testing::testFolder;

namespace {

std::string echoFile() {
    return testFolder() + "echo.txt";
}

// The two lines echoargs wrote: the command line and the current folder.
std::pair<std::string, std::string> echoed() {
    const std::string text = readText(echoFile());
    const std::size_t first = text.find('\n');
    const std::size_t second = text.find('\n', first + 1);
    return {text.substr(0, first), text.substr(first + 1, second - first - 1)};
}

std::string folderWithoutSeparator() {
    std::string folder = testFolder();
    folder.pop_back();
    return folder;
}

TEST(RunProgramWin, CommandLineAsTheCallerBuiltIt) {
    const std::string program = testFolder() + "echoargs.exe";
    struct Case {
        std::string parameters;
        std::string expected;
    };
    const Case cases[] = {
        {"  --mouse-hide-timeout=0 a  b   ", "\"" + program + "\"   --mouse-hide-timeout=0 a  b"},
        {"", "\"" + program + "\" "},
        {" \t\r\n", "\"" + program + "\" "}};
    for (const Case& c : cases) {
        DeleteFileA(echoFile().c_str());
        runProgram(Priority::High, program, c.parameters, "", true, nullptr, nullptr);
        const auto [commandLine, folder] = echoed();
        EXPECT_EQ(commandLine, c.expected);
        EXPECT_EQ(folder, folderWithoutSeparator()) << "the program's own folder";
    }
}

TEST(RunProgramWin, GivenWorkingFolderIsUsed) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = temp; // ends with a backslash
    DeleteFileA(echoFile().c_str());
    runProgram(Priority::Normal, testFolder() + "echoargs.exe", "x", folder, true, nullptr,
               nullptr);
    folder.pop_back();
    EXPECT_EQ(echoed().second, folder);
}

TEST(RunProgramWin, TerminateFlagEndsAWaitingProgram) {
    int callbacks = 0;
    int pumps = 0;
    DWORD pid = 0;
    HANDLE processHandle = nullptr;
    HANDLE threadHandle = nullptr;
    const DWORD start = GetTickCount();
    runProgram(
        Priority::High, testFolder() + "echoargs.exe", "--wait", "", true,
        [&](const ProcessInformation& info, bool& terminate) {
            pid = info.processId;
            processHandle = info.process;
            threadHandle = info.thread;
            EXPECT_NE(info.process, nullptr);
            if (++callbacks == 3)
                terminate = true;
        },
        [&] { ++pumps; });
    EXPECT_GE(callbacks, 3);
    EXPECT_GE(pumps, 3);
    EXPECT_LT(GetTickCount() - start, 10000u);
    // Both handles of the program have been closed.
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeProcess(processHandle, &code));
    EXPECT_FALSE(GetExitCodeThread(threadHandle, &code));
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeProcess(process, &code));
        EXPECT_EQ(code, 0xFFFFFFFFu) << "ended by TerminateProcess";
        CloseHandle(process);
    }
}

// The portable player's launcher starts the player as its child: ending the launcher ends
// the child too.
TEST(RunProgramWin, EndingTheProgramEndsWhatItStarted) {
    const std::string pidFile = testFolder() + "child.pid";
    DeleteFileA(pidFile.c_str());
    DWORD child = 0;
    const DWORD start = GetTickCount();
    EXPECT_TRUE(runProgram(
        Priority::Normal, testFolder() + "echoargs.exe", "--tree", "", true,
        [&](const ProcessInformation&, bool& terminate) {
            if (!child) {
                const std::string text = readText(pidFile);
                // Whole once its line has ended.
                if (text.size() > 1 && text.back() == '\n')
                    child = static_cast<DWORD>(std::stoul(text));
            }
            if (child)
                terminate = true;
        },
        nullptr));
    ASSERT_NE(child, 0u) << "the launcher started its child";
    EXPECT_LT(GetTickCount() - start, 20000u);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, child);
    if (process) {
        EXPECT_EQ(WaitForSingleObject(process, 2000), WAIT_OBJECT_0) << "the child still runs";
        CloseHandle(process);
    }
}

// The preview's player is started without a wait loop. A launcher that hands over to the
// player and ends first still takes the player with it when the preview ends, and the
// started program is gone with the object that stands for it.
TEST(StartProgramWin, EndingOrDroppingItEndsWhatItStarted) {
    for (const bool byTerminate : {true, false}) {
        const std::string pidFile = testFolder() + "child.pid";
        DeleteFileA(pidFile.c_str());
        std::unique_ptr<StartedProgram> program = startProgram(
            Priority::Normal, testFolder() + "echoargs.exe", "--handover", "", Output::Discarded);
        ASSERT_TRUE(program);
        EXPECT_TRUE(program->waitForEnd(20000)) << "the launcher hands over and ends";
        DWORD child = 0;
        for (int i = 0; i < 200 && !child; ++i) {
            const std::string text = readText(pidFile);
            if (text.size() > 1 && text.back() == '\n')
                child = static_cast<DWORD>(std::stoul(text));
            else
                Sleep(50);
        }
        ASSERT_NE(child, 0u) << "the launcher started its child";
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, child);
        ASSERT_TRUE(process);
        EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "the player runs on";
        if (byTerminate)
            program->terminate();
        program.reset();
        EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0)
            << "the child still runs; terminated: " << byTerminate;
        CloseHandle(process);
    }
}

TEST(RunProgramWin, AProgramThatEndsAtOnceIsNotAskedAbout) {
    int callbacks = 0;
    EXPECT_TRUE(runProgram(
        Priority::Normal, testFolder() + "noversion.exe", "", "", true,
        [&](const ProcessInformation&, bool&) { ++callbacks; }, nullptr));
    // It may take Wine longer than one wait to start it; it is never ended.
    EXPECT_LE(callbacks, 40);
}

TEST(RunProgramWin, AProgramThatCannotBeStartedIsReportedAndNotWaitedFor) {
    int callbacks = 0;
    EXPECT_FALSE(runProgram(
        Priority::Normal, testFolder() + "missing.exe", "--a", "", true,
        [&](const ProcessInformation&, bool&) { ++callbacks; }, nullptr));
    EXPECT_EQ(callbacks, 0);
}

} // namespace
