// SPDX-License-Identifier: GPL-3.0-or-later
#include "../platform/tempdir.h"
#include "../table/memorytable.h"
#include "sources/mediasource.h"

#include <gtest/gtest.h>

using namespace filmarin;
using filmarin::testing::MemoryMessages;
using filmarin::testing::TempDir;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

struct DiscCase {
    const char* name;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::int32_t kind;
};

class DetectDiscContentTest : public ::testing::TestWithParam<DiscCase> {};

TEST_P(DetectDiscContentTest, FirstMatchingTestDecides) {
    const DiscCase c = GetParam();
    TempDir root;
    for (const auto& f : c.folders)
        root.mkdir(f);
    for (const auto& f : c.files)
        root.write(f, "x");
    EXPECT_EQ(sourceKindCode(detectDiscContent(q(root.str()))), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Discs, DetectDiscContentTest,
    ::testing::Values(DiscCase{"VideoDvd", {"Video_TS"}, {}, 1},
                      DiscCase{"VideoDvdInCapitals", {"VIDEO_TS", "AUDIO_TS"}, {}, 1},
                      DiscCase{"VideoDvdInSmallLetters", {"video_ts"}, {}, 1},
                      DiscCase{"DvdBeforeVcd", {"Video_TS", "VCD"}, {}, 1},
                      DiscCase{"Vcd", {"VCD", "MPEGAV"}, {}, 2},
                      DiscCase{"VcdBeforeCda", {"VCD"}, {"Track01.cda"}, 2},
                      DiscCase{"Svcd", {"SVCD"}, {}, 3},
                      DiscCase{"AudioCd", {}, {"Track01.cda", "Track02.cda"}, 4},
                      DiscCase{"HiddenCdaEntry", {}, {".hidden.CDA"}, 4},
                      DiscCase{"FolderNamedCda", {"Album.cda"}, {}, 4},
                      DiscCase{"FileNamedVideoTs", {}, {"Video_TS"}, 0},
                      DiscCase{"HardDisk", {"Programme", "Dokumente"}, {"boot.ini"}, 0},
                      DiscCase{"Empty", {}, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MediaSource, MissingDriveHasNoContent) {
    EXPECT_EQ(detectDiscContent(QStringLiteral("/no/such/drive")), SourceKind::None);
}

TEST(MediaSource, SourceAvailableRunsOnlyTheTestOfTheStoredKind) {
    TempDir dvd;
    dvd.mkdir("VIDEO_TS");
    TempDir cd;
    cd.write("Track01.cda", "");
    TempDir files;
    files.write("Urlaub am Meer.avi", "x");
    files.mkdir("Ordner");

    MediaSource source;
    EXPECT_FALSE(sourceAvailable(source)) << "no source";
    source.driveRoot = q(dvd.str());
    source.kind = SourceKind::DvdVideo;
    EXPECT_TRUE(sourceAvailable(source));
    source.kind = SourceKind::AudioCd;
    EXPECT_FALSE(sourceAvailable(source)) << "the content is not detected again";
    source.driveRoot = q(cd.str());
    EXPECT_TRUE(sourceAvailable(source));
    source.kind = SourceKind::Vcd;
    EXPECT_FALSE(sourceAvailable(source));
    source.kind = SourceKind::Svcd;
    EXPECT_FALSE(sourceAvailable(source));
    source.kind = SourceKind::VideoFile;
    source.videoFilePath = q(files / "Urlaub am Meer.avi");
    EXPECT_TRUE(sourceAvailable(source));
    source.videoFilePath = q(files / "Ordner");
    EXPECT_FALSE(sourceAvailable(source)) << "a folder is no video file";
    source.videoFilePath = q(files / "fehlt.avi");
    EXPECT_FALSE(sourceAvailable(source));
    source.videoFilePath.clear();
    EXPECT_FALSE(sourceAvailable(source));
    // A number outside 0-5, from the drive helper, names no source.
    for (std::int64_t code : {-1, 6, 1000}) {
        source.kind = sourceKindFromCode(code);
        EXPECT_EQ(source.kind, SourceKind::None) << code;
        EXPECT_FALSE(sourceAvailable(source)) << code;
    }
}

TEST(MediaSource, TakeVideoFileStoresThePathEvenWhenItIsMissing) {
    TempDir files;
    files.write("film.mkv", "x");
    MemoryMessages messages;
    MediaSource source;
    source.kind = SourceKind::DvdVideo;
    source.driveRoot = QStringLiteral("/media/cdrom");

    EXPECT_TRUE(takeVideoFile(source, q(files / "film.mkv"), messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(source.kind, SourceKind::VideoFile);
    EXPECT_EQ(source.driveRoot, QStringLiteral("/media/cdrom")) << "the drive is kept";

    EXPECT_FALSE(takeVideoFile(source, q(files / "weg.mkv"), messages));
    EXPECT_EQ(source.kind, SourceKind::VideoFile);
    EXPECT_EQ(source.videoFilePath, q(files / "weg.mkv"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Bitte wählen Sie eine Video-Datei aus."));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
}

} // namespace
