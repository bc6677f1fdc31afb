// SPDX-License-Identifier: GPL-3.0-or-later
// One program for the window tests, linked once: its first argument names the test class to
// run, "all" runs every class in turn (under Wine, where each start of a program costs), and
// the arguments after it go to QtTest.
#include "windowtests.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace filmarin::testing {

namespace {
std::map<std::string, WindowTestFactory>& registry() {
    static std::map<std::string, WindowTestFactory> tests;
    return tests;
}
} // namespace

bool registerWindowTest(const char* name, WindowTestFactory factory) {
    return registry().emplace(name, factory).second;
}

} // namespace filmarin::testing

int main(int argc, char* argv[]) {
    using filmarin::testing::registry;
    if (argc < 2 || (std::strcmp(argv[1], "all") != 0 && !registry().contains(argv[1]))) {
        std::fprintf(stderr, "usage: %s all|TEST [QtTest arguments]\ntests:", argv[0]);
        for (const auto& [name, factory] : registry())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string chosen = argv[1];
    // QtTest sees the program's name and the arguments after the test's name.
    std::vector<char*> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);

    QApplication app(count, arguments.data());
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failed = 0;
    for (const auto& [name, factory] : registry()) {
        if (chosen != "all" && chosen != name)
            continue;
        const std::unique_ptr<QObject> test = factory();
        failed += QTest::qExec(test.get(), count, arguments.data());
    }
    return failed == 0 ? 0 : 1;
}
