// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

namespace filmarin::testing {

using WindowTestFactory = std::unique_ptr<QObject> (*)();

// Enters a QtTest class into the window test runner under `name`; the runner's first
// argument chooses it (windowtests_main.cpp).
bool registerWindowTest(const char* name, WindowTestFactory factory);

} // namespace filmarin::testing

// In place of QTEST_MAIN: the class becomes one of the runner's tests.
#define FILMARIN_WINDOW_TEST(TestClass, name)                                                      \
    static const bool filmarinRegistered##TestClass = filmarin::testing::registerWindowTest(       \
        name, []() -> std::unique_ptr<QObject> { return std::make_unique<TestClass>(); });
