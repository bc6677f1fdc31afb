// SPDX-License-Identifier: GPL-3.0-or-later
// The helper process. Helpers are started in main, before GoogleTest or a test starts any
// thread, as the program starts its own.
#include "platform/helper.h"
#include "running.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace filmarin::platform;
using namespace std::chrono_literals;
using filmarin::testing::running;

namespace {

std::shared_ptr<Helper> answering;
std::shared_ptr<Helper> ending;
std::shared_ptr<Helper> killed;

// "pid" gives the helper's process number, "hang" never returns, "throw" throws; anything
// else comes back reversed.
std::string answer(const std::string& question) {
    if (question == "pid")
        return std::to_string(::getpid());
    if (question == "hang") {
        for (;;)
            std::this_thread::sleep_for(1h);
    }
    if (question == "throw")
        throw std::runtime_error("no answer");
    return std::string(question.rbegin(), question.rend());
}

TEST(Helper, AnswersInAProcessOfItsOwn) {
    ASSERT_TRUE(answering);
    const auto pid = answering->ask("pid");
    ASSERT_TRUE(pid);
    EXPECT_NE(std::stol(*pid), ::getpid());
    EXPECT_EQ(answering->ask("Laufwerk D:"), std::optional<std::string>(":D krewfuaL"));
    // Texts of any bytes, and long ones.
    const std::string bytes("a\0b\nc\xff", 6);
    EXPECT_EQ(answering->ask(bytes), std::string(bytes.rbegin(), bytes.rend()));
    const std::string longText(200000, 'x');
    EXPECT_EQ(answering->ask(longText), longText);
    EXPECT_EQ(answering->ask("throw"), std::optional<std::string>(""));
}

TEST(Helper, AQuestionThatHangsHoldsNoOther) {
    std::thread([] { (void)answering->ask("hang"); }).detach();
    std::vector<std::thread> askers;
    std::atomic<int> right{0};
    for (int i = 0; i < 8; ++i) {
        askers.emplace_back([&right, i] {
            const std::string question = "frage " + std::to_string(i);
            if (answering->ask(question) == std::string(question.rbegin(), question.rend()))
                ++right;
        });
    }
    for (std::thread& asker : askers)
        asker.join();
    EXPECT_EQ(right, 8);
}

TEST(Helper, EndsWhenTheProgramLetsItGo) {
    ASSERT_TRUE(ending);
    const auto pid = ending->ask("pid");
    ASSERT_TRUE(pid);
    const pid_t helper = static_cast<pid_t>(std::stol(*pid));
    ending.reset();
    for (int i = 0; i < 100 && running(helper); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(running(helper)) << "the helper ended when the program let it go";
}

TEST(Helper, AHelperThatWasEndedAnswersNoMore) {
    ASSERT_TRUE(killed);
    const auto pid = killed->ask("pid");
    ASSERT_TRUE(pid);
    ASSERT_EQ(::kill(static_cast<pid_t>(std::stol(*pid)), SIGKILL), 0);
    EXPECT_FALSE(killed->ask("Laufwerk"));
    EXPECT_FALSE(killed->ask("Laufwerk")) << "and says so at once every time";
}

} // namespace

int main(int argc, char** argv) {
    answering = startHelper(answer);
    ending = startHelper(answer);
    killed = startHelper(answer);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
