// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drives.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

using namespace filmarin::platform;

namespace {

TEST(DrivesWin, ListsTheDrivesByLetter) {
    const std::vector<DriveInfo> drives = listDrives();
    ASSERT_FALSE(drives.empty());
    std::string letters;
    for (const DriveInfo& d : drives) {
        letters += d.key;
        EXPECT_EQ(d.root, d.key + ":\\");
        EXPECT_EQ(d.type, driveType(d.key));
    }
    EXPECT_NE(letters.find('C'), std::string::npos) << letters;
    EXPECT_NE(letters.find('Z'), std::string::npos) << letters;
    EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
}

TEST(DrivesWin, TypesCaptionsAndReadiness) {
    EXPECT_EQ(driveType("C"), kDriveFixed);
    EXPECT_EQ(driveCaption("C"), "C:");
    EXPECT_TRUE(driveReady("C"));
    EXPECT_TRUE(driveReady("Z"));
    std::string label = "stale";
    volumeLabel("C", label); // Wine may or may not give its drives a label
    EXPECT_EQ(driveType("Q"), 1) << "no root directory";
    EXPECT_FALSE(driveReady("Q"));
    EXPECT_FALSE(volumeLabel("Q", label));
    EXPECT_EQ(label, "");
    EXPECT_FALSE(isAudioDisc("C:"));
    EXPECT_EQ(audioDiscDevice("D:"), "D:");
}

TEST(DrivesWin, ErrorModeIsTheSameBeforeAndAfterEveryReadinessCheck) {
    for (UINT mode : {0u, static_cast<UINT>(SEM_NOGPFAULTERRORBOX)}) {
        SetErrorMode(mode);
        for (const char* key : {"A", "C", "Q", "Z"}) {
            driveReady(key);
            EXPECT_EQ(GetErrorMode(), mode) << key;
        }
    }
}

} // namespace
