// SPDX-License-Identifier: GPL-3.0-or-later
// Runs GoogleTest tests that draw pictures: with a Qt GUI application, off screen.
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
