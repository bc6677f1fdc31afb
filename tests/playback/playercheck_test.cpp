// SPDX-License-Identifier: GPL-3.0-or-later
#include "../platform/tempdir.h"
#include "../table/memorytable.h"
#include "platform/files.h"
#include "playback/playercheck.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace filmarin;
using filmarin::testing::MemoryMessages;
using filmarin::testing::TempDir;

namespace {

TEST(PlayerVersion, MajorAndMinorMustMakeMoreThan169999999) {
    const std::pair<const char*, bool> cases[] = {
        {"1.7.0.0", true},     {"1.6.1.0", false},  {"2.0.1.0", true}, {"2.0.3", true},
        {"1.6.9", false},      {"1.10.0.0", false}, {"1.10.0", false}, {"3", true},
        {"1", false},          {"", false},         {"2 .0", false},   {" 2.0 ", true},
        {"1, 7, 0, 0", false}, {"1.7", true},       {"1.70", true},    {"1.6999999", false},
        {"1.699999991", true}, {"3.0.21", true},    {"abc", false},    {"1.", false},
        {"2.", false},         {".9", false},       {"-3", false},     {"1e1.0", false}};
    for (const auto& [version, passes] : cases)
        EXPECT_EQ(versionIsRecentEnough(QString::fromUtf8(version)), passes) << version;
}

TEST(PlayerVersion, PlayerPathIsBesideTheProgram) {
    const QString separator = QChar::fromLatin1(platform::pathSeparator());
    EXPECT_EQ(playerPathIn(QStringLiteral("/opt/filmarin/")),
              QStringLiteral("/opt/filmarin/VLCportable") + separator +
                  QStringLiteral("VLCportable.exe"));
}

TEST(PlayerVersion, MissingOrOldPlayerIsReported) {
    TempDir dir;
    MemoryMessages messages;
    EXPECT_FALSE(checkPlayerVersion(QString::fromStdString(dir / "VLCportable.exe"), messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown[0].text, playerVersionMessage());
    EXPECT_EQ(playerVersionMessage(),
              QStringLiteral("Diese Software funktioniert nur mit Version 1.7 oder einer höheren "
                             "Version des kostenlosen VLCportable-Players."));

    // The stand-in player is version 3.0.21: by its version resource on Windows, by what it
    // prints for --version elsewhere.
    EXPECT_TRUE(checkPlayerVersion(QStringLiteral(FILMARIN_STANDIN_PLAYER), messages));
    EXPECT_EQ(messages.shown.size(), 1u);
}

} // namespace
