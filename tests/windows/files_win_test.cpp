// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "wintest.h"

#include <gtest/gtest.h>

using namespace filmarin::platform;

namespace {

TEST(FilesWin, FoldersEntriesAndCreation) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "filmarin-disc-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(createFolder(root));
    EXPECT_FALSE(createFolder(root));
    EXPECT_TRUE(createFolder(root + "\\VIDEO_TS"));
    EXPECT_TRUE(folderExists(root + "\\Video_TS"));
    EXPECT_FALSE(folderExists(root + "\\VCD"));
    HANDLE f = CreateFileA((root + "\\Track01.cda").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    const FoundEntry track = findFirstEntry(root + "\\*.cda");
    EXPECT_TRUE(track.found);
    EXPECT_FALSE(track.isFolder);
    EXPECT_TRUE(findFirstEntry(root + "\\video_ts").isFolder);
    EXPECT_FALSE(findFirstEntry(root + "\\*.mp3").found);
    EXPECT_EQ(pathSeparator(), '\\');
    EXPECT_FALSE(createFolder(root + "\\a\\b"));
    EXPECT_FALSE(lastErrorText().empty());
    DeleteFileA((root + "\\Track01.cda").c_str());
    RemoveDirectoryA((root + "\\VIDEO_TS").c_str());
    RemoveDirectoryA(root.c_str());
}

} // namespace
