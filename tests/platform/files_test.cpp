// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "tempdir.h"

#include <gtest/gtest.h>

using namespace filmarin::platform;
using filmarin::testing::TempDir;

namespace {

TEST(Files, FolderExistsIgnoresTheCaseOfLetters) {
    TempDir disc;
    disc.mkdir("VIDEO_TS");
    disc.write("VCD", "a file, not a folder");
    disc.mkdir("Sub/Deeper");
    EXPECT_TRUE(folderExists(disc / "Video_TS"));
    EXPECT_TRUE(folderExists(disc / "video_ts"));
    EXPECT_TRUE(folderExists(disc / "VIDEO_TS"));
    EXPECT_TRUE(folderExists(disc / "sUB/dEEPER"));
    EXPECT_FALSE(folderExists(disc / "VCD")) << "a file is no folder";
    EXPECT_FALSE(folderExists(disc / "SVCD"));
    EXPECT_FALSE(folderExists(disc / "Video_TSX"));
    EXPECT_FALSE(folderExists(""));
    EXPECT_FALSE(folderExists("/no/such/drive/Video_TS"));
}

TEST(Files, FindFirstEntryMatchesWildcardsAndEveryKindOfEntry) {
    TempDir cd;
    cd.write("Track01.CDA", "");
    EXPECT_TRUE(findFirstEntry(cd / "*.cda").found);
    EXPECT_FALSE(findFirstEntry(cd / "*.mp3").found);

    TempDir hidden;
    hidden.write(".track.cda", "");
    EXPECT_TRUE(findFirstEntry(hidden / "*.cda").found);

    TempDir folderOnly;
    folderOnly.mkdir("album.cda");
    const FoundEntry folder = findFirstEntry(folderOnly / "*.cda");
    EXPECT_TRUE(folder.found);
    EXPECT_TRUE(folder.isFolder);

    TempDir files;
    files.write("Film.avi", "x");
    files.mkdir("Ordner");
    const FoundEntry file = findFirstEntry(files / "film.AVI");
    EXPECT_TRUE(file.found);
    EXPECT_FALSE(file.isFolder);
    EXPECT_EQ(file.name, "Film.avi");
    EXPECT_TRUE(findFirstEntry(files / "Ordner").isFolder);
    EXPECT_TRUE(findFirstEntry(files / "F?lm.*").found);
    EXPECT_FALSE(findFirstEntry(files / "F?m.avi").found);
    EXPECT_FALSE(findFirstEntry(files / "").found);
    EXPECT_FALSE(findFirstEntry("/no/such/folder/*").found);
}

TEST(Files, FindFirstEntryInAFolderWrittenInOtherCase) {
    TempDir disc;
    disc.mkdir("AUDIO");
    disc.write("AUDIO/track02.cda", "");
    EXPECT_TRUE(findFirstEntry(disc / "audio/*.cda").found);
}

TEST(Files, CreateFolderMakesOneLevel) {
    TempDir root;
    EXPECT_TRUE(createFolder(root / "Bilder_VLC"));
    EXPECT_TRUE(folderExists(root / "Bilder_VLC"));
    EXPECT_FALSE(createFolder(root / "Bilder_VLC")) << "exists already";
    EXPECT_FALSE(createFolder(root / "a/b")) << "the parent must exist";
    EXPECT_FALSE(lastErrorText().empty());
    EXPECT_EQ(pathSeparator(), '/');
}

} // namespace
