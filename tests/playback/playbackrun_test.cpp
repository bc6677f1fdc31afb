// SPDX-License-Identifier: GPL-3.0-or-later
#include "../table/memorytable.h"
#include "playback/playbackrun.h"
#include "playback/playercheck.h"
#include "sources/mediasource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace filmarin;
using filmarin::testing::MemoryTable;

namespace {

class FakePause : public PauseChoice {
public:
    void FillExcerptChoice(const ExcerptSpans& spans) override {
        listed.clear();
        for (int n = 1; n <= kExcerptCount; ++n) {
            if (spans[static_cast<std::size_t>(n - 1)].selected)
                listed.push_back(n);
        }
        ++fills;
    }
    void PreselectExcerpt(std::int32_t excerpt) override { preselected = excerpt; }
    void showChoice() override { ++shows; }

    std::vector<int> listed;
    int fills = 0;
    int preselected = 0;
    int shows = 0;
};

class FakeControls : public ControlLock {
public:
    void LockControls() override {
        locked = true;
        ++locks;
    }
    void UnlockControls() override {
        locked = false;
        ++unlocks;
    }
    bool locked = false;
    int locks = 0;
    int unlocks = 0;
};

class FakePlayer : public PlayerStarter {
public:
    PlayerOutcome RunPlayer(platform::Priority priority, const QString& programFile,
                            const QString& parameters, const PlayerWatch& watch) override {
        calls.push_back({priority, programFile, parameters});
        if (watch)
            watch(platform::ProcessInformation{});
        return outcome;
    }
    void scheduleSegment() override { ++scheduled; }
    int scheduled = 0;
    struct Call {
        platform::Priority priority;
        QString programFile;
        QString parameters;
    };
    std::vector<Call> calls;
    PlayerOutcome outcome = PlayerOutcome::Played;
};

// A run over a video file in a program folder with the stand-in player, with excerpts 2, 5
// and 9 given times and everything else at its start-up value.
struct RunFixture {
    RunFixture() {
        QDir(programDir.path()).mkpath(QStringLiteral("VLCportable"));
        QFile::copy(QStringLiteral(FILMARIN_STANDIN_PLAYER), playerFile());
        QFile video(programDir.filePath(QStringLiteral("Der Film.avi")));
        video.open(QIODevice::WriteOnly);
        source.kind = SourceKind::VideoFile;
        source.videoFilePath = QDir::toNativeSeparators(video.fileName());
        table.fillAsAtStartUp();
        table.stop.setCell(0, 1, QStringLiteral("0"));
        setTimes(2, 10, 20);
        setTimes(5, 70, 95);
        setTimes(9, 3600, 3661);
        values.audioLanguageCode = QStringLiteral("en");
    }
    void setTimes(int row, int start, int stop) {
        table.start.setCell(2, row, QString::number(start));
        table.stop.setCell(2, row, QString::number(stop));
    }
    // Starts a run with a pause after excerpt 5 and plays its first segment, with the
    // player answering `outcome`.
    void playFirstSegmentWithAPauseAfterFive(PlayerOutcome outcome) {
        table.pauses.setChecked(4, true);
        run.start();
        player.outcome = outcome;
        run.continueWith(2);
        run.playNextSegment();
    }
    QString playerFile() const {
        return QDir::toNativeSeparators(
            programDir.filePath(QStringLiteral("VLCportable/VLCportable.exe")));
    }
    const std::vector<filmarin::testing::Message>& messages() const { return table.messages.shown; }
    // How many excerpts a segment's command line holds.
    static int excerptsIn(const QString& parameters) {
        return static_cast<int>(parameters.count(QStringLiteral(":audio-language=en")));
    }

    QTemporaryDir programDir;
    QString programFolder = QDir::toNativeSeparators(programDir.path() + QLatin1Char('/'));
    QString imageFolder =
        QDir::toNativeSeparators(programDir.filePath(QStringLiteral("Bilder_VLC")));
    QString playerPath;
    MemoryTable table;
    ExcerptTable values;
    ExcerptSpans spans{};
    MediaSource source;
    FakePause pause;
    FakeControls controls;
    FakePlayer player;
    PlaybackRun run{
        RunValues{values, spans, table.view, source, programFolder, imageFolder, playerPath}, pause,
        controls, player, table.messages};
};

TEST(PlaybackRun, StartOffersTheSelectedExcerptsAndWaitsForOk) {
    RunFixture f;
    f.run.start();
    EXPECT_EQ(f.pause.listed, (std::vector<int>{2, 5, 9}));
    EXPECT_EQ(f.pause.preselected, 1) << "the dialog picks the first listed excerpt at or after 1";
    EXPECT_EQ(f.pause.shows, 1);
    EXPECT_TRUE(f.controls.locked);
    EXPECT_TRUE(f.player.calls.empty()) << "the first segment starts only after OK";
    EXPECT_EQ(f.playerPath, f.playerFile());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_EQ(f.run.nextExcerpt(), 1);
}

TEST(PlaybackRun, WithoutPausesOneSegmentPlaysAllAndTheRunEnds) {
    RunFixture f;
    f.run.start();
    f.run.continueWith(2);
    f.run.playNextSegment();
    ASSERT_EQ(f.player.calls.size(), 1u);
    EXPECT_EQ(f.player.calls[0].priority, platform::Priority::High);
    EXPECT_EQ(f.player.calls[0].programFile, f.playerFile());
    EXPECT_EQ(RunFixture::excerptsIn(f.player.calls[0].parameters), 3);
    EXPECT_EQ(f.run.nextExcerpt(), 21);
    EXPECT_EQ(f.pause.shows, 1) << "no dialog after excerpt 20";
    EXPECT_FALSE(f.controls.locked);
    EXPECT_EQ(f.controls.unlocks, 1);
}

TEST(PlaybackRun, APauseTickSplitsTheRunIntoSegments) {
    RunFixture f;
    f.table.pauses.setChecked(4, true); // "5-6"
    f.run.start();
    f.run.continueWith(2);
    f.run.playNextSegment();
    EXPECT_EQ(RunFixture::excerptsIn(f.player.calls.at(0).parameters), 2);
    EXPECT_EQ(f.run.nextExcerpt(), 6);
    EXPECT_EQ(f.pause.preselected, 6);
    EXPECT_EQ(f.pause.shows, 2);
    EXPECT_TRUE(f.controls.locked);
    EXPECT_EQ(f.pause.fills, 1) << "the list is built once per run";

    f.run.continueWith(9);
    f.run.playNextSegment();
    ASSERT_EQ(f.player.calls.size(), 2u);
    EXPECT_EQ(RunFixture::excerptsIn(f.player.calls[1].parameters), 1);
    EXPECT_TRUE(f.player.calls[1].parameters.contains(QStringLiteral(":start-time=3600.000")));
    EXPECT_FALSE(f.controls.locked);
    EXPECT_EQ(f.controls.unlocks, 1);
}

TEST(PlaybackRun, ChoosingALaterExcerptSkipsTheEarlierOnes) {
    RunFixture f;
    f.run.start();
    f.run.continueWith(5);
    f.run.playNextSegment();
    EXPECT_EQ(RunFixture::excerptsIn(f.player.calls.at(0).parameters), 2);
    EXPECT_FALSE(f.player.calls[0].parameters.contains(QStringLiteral(":start-time=10.000")));
}

TEST(PlaybackRun, EndingAtAPauseUnlocksOnce) {
    RunFixture f;
    f.table.pauses.setChecked(4, true);
    f.run.start();
    f.run.endAtPause();
    EXPECT_FALSE(f.controls.locked);
    EXPECT_EQ(f.controls.unlocks, 1);
    EXPECT_TRUE(f.player.calls.empty());
}

// Each failed check shows its message (or CheckTable's own) and leaves the window unlocked,
// with no dialog and no player.
TEST(PlaybackRun, AFailedCheckEndsTheRunBeforeItStarts) {
    struct Case {
        const char* name;
        std::function<void(RunFixture&)> spoil;
        QString message;
    };
    const Case cases[] = {
        {"no source", [](RunFixture& f) { f.source = MediaSource{}; }, chooseSourceMessage()},
        {"video file gone", [](RunFixture& f) { QFile::remove(f.source.videoFilePath); },
         chooseSourceMessage()},
        {"nothing ticked",
         [](RunFixture& f) {
             for (int i = 0; i < 20; ++i)
                 f.table.play.setChecked(i, false);
         },
         nothingSelectedMessage()},
        {"player missing", [](RunFixture& f) { QFile::remove(f.playerFile()); },
         playerVersionMessage()},
        {"bad time", [](RunFixture& f) { f.table.start.setCell(1, 3, QStringLiteral("x")); },
         QString()},
    };
    for (const Case& c : cases) {
        RunFixture f;
        c.spoil(f);
        f.run.start();
        EXPECT_FALSE(f.controls.locked) << c.name;
        EXPECT_EQ(f.controls.unlocks, 1) << c.name;
        EXPECT_EQ(f.pause.shows, 0) << c.name;
        ASSERT_EQ(f.messages().size(), 1u) << c.name;
        if (!c.message.isEmpty()) {
            EXPECT_EQ(f.messages()[0].text, c.message) << c.name;
        }
    }
}

TEST(PlaybackRun, APlayerThatCannotBeStartedIsReportedAndEndsTheRun) {
    RunFixture f;
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::NotStarted);
    EXPECT_TRUE(f.run.failed());
    EXPECT_FALSE(f.controls.locked);
    EXPECT_EQ(f.controls.unlocks, 1);
    EXPECT_EQ(f.pause.shows, 1) << "the dialog does not come back";
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(f.messages()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(f.messages()[0].text.contains(QLatin1Char('"') + f.playerFile() + QLatin1Char('"')))
        << f.messages()[0].text.toStdString();
}

TEST(PlaybackRun, APlayerStartThatFailsEndsTheRunWithTheMessage) {
    RunFixture f;
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::Failed);
    EXPECT_TRUE(f.run.failed());
    EXPECT_FALSE(f.controls.locked);
    EXPECT_EQ(f.controls.unlocks, 1);
    EXPECT_EQ(f.pause.shows, 1);
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(f.messages()[0].text, playerNotStartedMessage(f.playerPath));
}

TEST(PlaybackRun, ClosingTheProgramWhilePlayingShowsNothingMore) {
    RunFixture f;
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::Closing);
    EXPECT_EQ(f.pause.shows, 1);
    EXPECT_EQ(f.controls.unlocks, 0);
    EXPECT_TRUE(f.messages().empty());
}

TEST(PlaybackRun, ANewRunStartsAfterAFailedOne) {
    RunFixture f;
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::Failed);
    f.player.outcome = PlayerOutcome::Played;
    f.run.start();
    EXPECT_FALSE(f.run.failed());
    EXPECT_EQ(f.run.nextExcerpt(), 1);
    EXPECT_EQ(f.pause.shows, 2);
    EXPECT_TRUE(f.controls.locked);
}

} // namespace

// Records what the class would see: covered from each OK, uncovered at every end of the run.
class FakeShowing : public Showing {
public:
    void segmentChosen() override { events.push_back("covered"); }
    bool readyForPlayer() override { return ready; }
    void runEnded() override { events.push_back("ended"); }
    std::optional<int> playerScreen() override { return screen; }
    void playerStarts(bool fullScreen) override {
        events.push_back(fullScreen ? "player in full screen" : "player in its window");
    }
    void playerRuns(const platform::ProcessInformation&) override { ++looks; }
    std::optional<QString> playerEnded() override {
        events.push_back("player ended");
        return elsewhere;
    }
    std::vector<std::string> events;
    std::optional<QString> elsewhere;
    int looks = 0;
    std::optional<int> screen;
    bool ready = true;
};

// OK has the segment scheduled; the player starts once the black has been drawn, and a
// screen that never draws it holds the showing up for 30 ticks at most.
TEST(PlaybackRun, TheSegmentWaitsForTheBlackAtMostThirtyTicks) {
    RunFixture f;
    f.run.start();
    f.run.continueWith(2);
    EXPECT_EQ(f.player.scheduled, 1);
    EXPECT_TRUE(f.run.segmentMayStart()) << "without a showing nothing is waited for";
    FakeShowing showing;
    f.run.setShowing(&showing);
    f.run.continueWith(2);
    EXPECT_TRUE(f.run.segmentMayStart()) << "the black is there";
    showing.ready = false;
    f.run.continueWith(5);
    EXPECT_EQ(f.player.scheduled, 3);
    int waited = 0;
    while (!f.run.segmentMayStart() && waited < 100)
        ++waited;
    EXPECT_EQ(waited, PlaybackRun::kMostCoverWaits);
    f.run.continueWith(5);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(f.run.segmentMayStart());
    showing.ready = true;
    EXPECT_TRUE(f.run.segmentMayStart());
    EXPECT_EQ(f.player.calls.size(), 0u) << "the window starts the segment, not the schedule";
}

// Every way a run ends after its first OK uncovers the screen once, and every segment is
// covered before its player starts.
TEST(PlaybackRun, TheScreenIsCoveredFromEachOkUntilTheRunEnds) {
    const struct {
        const char* name;
        std::function<void(RunFixture&)> afterFirstSegment;
        PlayerOutcome outcome;
        std::vector<std::string> expected;
        int unlocks = 1;
    } cases[] = {
        {"Beenden at the pause",
         [](RunFixture& f) { f.run.endAtPause(); },
         PlayerOutcome::Played,
         {"covered", "player in full screen", "player ended", "ended"}},
        {"the last segment",
         [](RunFixture& f) {
             f.run.continueWith(9);
             f.run.playNextSegment();
         },
         PlayerOutcome::Played,
         {"covered", "player in full screen", "player ended", "covered", "player in full screen",
          "player ended", "ended"}},
        {"a player that cannot start",
         [](RunFixture&) {},
         PlayerOutcome::NotStarted,
         {"covered", "player in full screen", "player ended", "ended"}},
        {"a failing player",
         [](RunFixture&) {},
         PlayerOutcome::Failed,
         {"covered", "player in full screen", "player ended", "ended"}},
        // The program ends: nothing is unlocked any more.
        {"closing the window",
         [](RunFixture&) {},
         PlayerOutcome::Closing,
         {"covered", "player in full screen", "player ended", "ended"},
         0},
    };
    for (const auto& c : cases) {
        RunFixture f;
        FakeShowing showing;
        f.run.setShowing(&showing);
        f.playFirstSegmentWithAPauseAfterFive(c.outcome);
        c.afterFirstSegment(f);
        EXPECT_EQ(showing.events, c.expected) << c.name;
        EXPECT_EQ(f.controls.unlocks, c.unlocks) << c.name;
    }
}

TEST(PlaybackRun, TheFilmScreenReachesTheCommandLine) {
    RunFixture f;
    FakeShowing showing;
    f.run.setShowing(&showing);
    showing.screen = 1;
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::Played);
    ASSERT_EQ(f.player.calls.size(), 1u);
    EXPECT_TRUE(f.player.calls[0].parameters.contains(
        QStringLiteral(" --file-caching=1000 --qt-fullscreen-screennumber=1  file:///")));
    showing.screen.reset();
    f.run.continueWith(9);
    f.run.playNextSegment();
    ASSERT_EQ(f.player.calls.size(), 2u);
    EXPECT_FALSE(f.player.calls[1].parameters.contains(QStringLiteral("screennumber")));
}

// The showing watches the player while it runs; a film it could not put on its screen is
// named after the segment, and the dialog comes all the same. An audio CD plays in the
// player's own window.
TEST(PlaybackRun, TheShowingWatchesThePlayerAndNamesAMisplacedFilm) {
    RunFixture f;
    FakeShowing showing;
    f.run.setShowing(&showing);
    showing.elsewhere = QStringLiteral("elsewhere");
    f.playFirstSegmentWithAPauseAfterFive(PlayerOutcome::Played);
    EXPECT_EQ(showing.looks, 1);
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_EQ(f.messages()[0].text, QStringLiteral("elsewhere"));
    EXPECT_EQ(f.pause.shows, 2) << "the pause dialog comes all the same";

    RunFixture cd;
    FakeShowing cdShowing;
    cd.run.setShowing(&cdShowing);
    cd.source.kind = SourceKind::AudioCd;
    cd.source.driveRoot = QStringLiteral("D:");
    cd.table.pauses.setChecked(4, true);
    cd.run.continueWith(2);
    cd.run.playNextSegment();
    EXPECT_EQ(cdShowing.events[1], "player in its window");
}
