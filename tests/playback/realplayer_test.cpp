// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a short generated video through the launcher and the system's vlc, with a real
// title card in front, and checks that the player ends by itself after both.
// Run by realplayer_test.sh, which provides the video, a display and a user vlc accepts.
#include "../table/memorytable.h"
#include "platform/process.h"
#include "playback/commandline.h"
#include "playback/playlist.h"
#include "playback/titlecards.h"
#include "sources/mediasource.h"

#include <QFile>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace filmarin;
using filmarin::testing::MemoryCheckList;
using filmarin::testing::MemoryGrid;

namespace {

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// Runs the player with the parameters and gives the seconds until it ended by itself; a
// player still running after a minute is stopped and fails the test.
double runPlayer(const QString& player, const QString& parameters) {
    int polls = 0;
    const auto start = std::chrono::steady_clock::now();
    platform::runProgram(
        platform::Priority::High, QFile::encodeName(player).toStdString(),
        parameters.toLocal8Bit().toStdString(), std::string(), true,
        [&](const platform::ProcessInformation&, bool& terminate) { terminate = ++polls > 1200; },
        nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("The player ended after %.2f s\n", seconds);
    EXPECT_LE(polls, 1200) << "the player did not end by itself";
    return seconds;
}

// Writes the title cards (heading 1 as given) into `work` and gives the parameters of a
// segment that plays excerpt 1 of `source` from `start` to `stop`.
QString segmentOfExcerptOne(const MediaSource& source, const QString& work, const QString& heading,
                            std::int32_t start, std::int32_t stop) {
    MemoryGrid headings(2, 21);
    headings.setCell(1, 1, heading);
    QString imageFolder;
    EXPECT_TRUE(writeTitleCards(headings, work, work + QLatin1Char('/'), imageFolder).ok);
    ExcerptTable table;
    table.init();
    ExcerptSpans spans{};
    spans[0] = {start, stop, 1};
    MemoryCheckList pauses(19);
    std::int32_t next = 1;
    return buildSegmentCommandLine({source, table, spans, pauses, imageFolder}, next);
}

TEST(RealPlayer, PlaysTheTitleCardAndTheExcerptAndEndsByItself) {
    const QString player = env("FILMARIN_PLAYER");
    const QString video = env("FILMARIN_VIDEO");
    const QString work = env("FILMARIN_WORK");
    ASSERT_FALSE(player.isEmpty() || video.isEmpty() || work.isEmpty());
    ASSERT_TRUE(QFile::exists(video));

    MediaSource source;
    source.kind = SourceKind::VideoFile;
    source.videoFilePath = video;
    constexpr int excerptSeconds = 2;
    const QString parameters =
        segmentOfExcerptOne(source, work, QStringLiteral("Ein Ausschnitt"), 1, 1 + excerptSeconds);

    const double seconds = runPlayer(player, parameters);
    EXPECT_GE(seconds, kTitleCardSeconds + excerptSeconds - 0.5);
    EXPECT_LE(seconds, kTitleCardSeconds + excerptSeconds + 8.0);
}

// Title 1 of a video DVD in a folder named like a mount point with a blank, "#" and "%",
// found as a video DVD and played from second 2 to 4. The script checks vlc's log for the
// opened title.
TEST(RealPlayer, PlaysATitleOfAVideoDvd) {
    const QString player = env("FILMARIN_PLAYER");
    const QString dvd = env("FILMARIN_DVD");
    const QString work = env("FILMARIN_WORK");
    ASSERT_FALSE(player.isEmpty() || dvd.isEmpty() || work.isEmpty());
    ASSERT_EQ(detectDiscContent(dvd), SourceKind::DvdVideo);

    MediaSource source;
    source.kind = SourceKind::DvdVideo;
    source.driveRoot = dvd;
    const QString parameters = segmentOfExcerptOne(source, work, QString(), 2, 4);
    const double seconds = runPlayer(player, parameters);
    EXPECT_GE(seconds, kTitleCardSeconds + 2 - 0.5);
    EXPECT_LE(seconds, kTitleCardSeconds + 2 + 10.0);
}

} // namespace
// A lesson saved as a playlist plays in vlc by itself: each excerpt after its card, from
// its start to its stop, and vlc ends after them. The playlist's and the cards' folder's
// names hold blanks, "#", "%" and an umlaut.
TEST(RealPlayer, ASavedLessonPlaysInThePlayerAlone) {
    const QString player = env("FILMARIN_PLAYER");
    const QString video = env("FILMARIN_VIDEO");
    const QString work = env("FILMARIN_WORK");
    ASSERT_FALSE(player.isEmpty() || video.isEmpty() || work.isEmpty());
    MediaSource source;
    source.kind = SourceKind::VideoFile;
    source.videoFilePath = video;
    ExcerptTable table;
    table.init();
    ExcerptSpans spans{};
    spans[0] = {1, 3, true};
    spans[3] = {4, 6, true};
    MemoryGrid headings(2, 21);
    headings.setCell(1, 1, QStringLiteral("Erster Teil"));
    const QString path = work + QStringLiteral("/Lektion #1 100% Übung.xspf");
    const CardResult saved = savePlaylist(path, {source, table, spans, headings});
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    const double seconds =
        runPlayer(player, QStringLiteral("--play-and-exit \"") + path + QStringLiteral("\""));
    const double expected = 2 * kTitleCardSeconds + 2 + 2;
    EXPECT_GE(seconds, expected - 0.5);
    EXPECT_LE(seconds, expected + 3.0);
}
