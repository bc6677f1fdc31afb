// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/filmscreen.h"
#include "playback/filmshowing.h"

#include <gtest/gtest.h>

using namespace filmarin;

namespace {

ScreenFacts screen(int x, int y, int width, int height, double scale = 1.0) {
    return {QRect(x, y, int(width / scale), int(height / scale)), QSize(width, height)};
}

const ScreenFacts laptop = screen(0, 0, 1366, 768);
const ScreenFacts projectorRight = screen(1366, 0, 1920, 1080);
const ScreenFacts smallRight = screen(1366, 0, 1024, 768);

TEST(FilmScreen, TheLargestScreenWithoutTheMainWindowUnlessOneIsChosen) {
    const struct {
        const char* name;
        std::vector<ScreenFacts> screens;
        int mainWindow;
        std::optional<int> chosen;
        int expected;
    } cases[] = {
        {"no screen", {}, 0, std::nullopt, -1},
        {"one screen", {laptop}, 0, std::nullopt, 0},
        {"projector right", {laptop, projectorRight}, 0, std::nullopt, 1},
        {"main window on the projector", {laptop, projectorRight}, 1, std::nullopt, 0},
        {"a smaller projector still", {projectorRight, smallRight}, 0, std::nullopt, 1},
        {"the largest of three",
         {laptop, smallRight, screen(-1920, 0, 1920, 1200)},
         0,
         std::nullopt,
         2},
        {"equal screens: the first",
         {laptop, smallRight, screen(0, 768, 1024, 768)},
         0,
         std::nullopt,
         1},
        {"chosen", {laptop, projectorRight}, 0, 0, 0},
        {"chosen and gone", {laptop, projectorRight}, 0, 2, 1},
        {"main window on no screen", {laptop, projectorRight}, -1, std::nullopt, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filmScreen(c.screens, c.mainWindow, c.chosen), c.expected) << c.name;
}

TEST(FilmScreen, ThePlayerIsToldAScreenOnlyWhereThereAreTwo) {
    EXPECT_EQ(playerScreenNumber({laptop}, 0), std::nullopt);
    EXPECT_EQ(playerScreenNumber({}, 0), std::nullopt);
    EXPECT_EQ(playerScreenNumber({laptop, projectorRight}, 1), 1);
    EXPECT_EQ(playerScreenNumber({laptop, projectorRight}, 0), 0);
    EXPECT_EQ(playerScreenNumber({laptop, projectorRight}, 2), std::nullopt);
}

TEST(FilmScreen, LabelsNameTheResolutionAndThePlace) {
    const struct {
        std::vector<ScreenFacts> screens;
        int index;
        int mainWindow;
        const char* expected;
    } cases[] = {
        {{laptop}, 0, 0, "Bildschirm 1: 1366×768"},
        {{laptop, projectorRight}, 1, 0, "Bildschirm 2: 1920×1080, rechts"},
        {{laptop, projectorRight}, 0, 0, "Bildschirm 1: 1366×768, links (Hauptfenster)"},
        // A scaled screen gives its own pixels, not the toolkit's.
        {{screen(0, 0, 2560, 1440, 2.0), screen(1280, 0, 1920, 1080)},
         0,
         1,
         "Bildschirm 1: 2560×1440, links"},
        {{laptop, screen(0, -1080, 1920, 1080)}, 1, 0, "Bildschirm 2: 1920×1080, oben"},
        {{laptop, screen(0, 768, 1920, 1080)}, 1, 0, "Bildschirm 2: 1920×1080, unten"},
        {{screen(-1024, 0, 1024, 768), laptop, projectorRight},
         1,
         1,
         "Bildschirm 2: 1366×768 (Hauptfenster)"},
        {{laptop}, 3, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(screenLabel(c.screens, c.index, c.mainWindow), QString::fromUtf8(c.expected))
            << c.expected;
}

} // namespace

namespace {

// The window side of a showing, as a record of what the showing asked of it.
struct FakeScreens : ShowingScreens {
    std::vector<ScreenFacts> facts{laptop, projectorRight};
    int mainScreen = 0;
    std::optional<int> chosen;
    bool black = true;
    std::optional<int> covered; // the screen under black
    bool paintedYet = false;
    std::vector<std::string> calls;

    std::vector<ScreenFacts> screens() override { return facts; }
    int mainWindowScreen() override { return mainScreen; }
    std::optional<int> chosenScreen() override { return chosen; }
    bool blackWanted() override { return black; }
    void cover(int screen) override {
        calls.push_back("cover " + std::to_string(screen));
        covered = screen;
        paintedYet = false;
    }
    void lift() override {
        calls.push_back("lift");
        covered.reset();
    }
    bool covering() override { return covered.has_value(); }
    bool painted() override { return covered && paintedYet; }
    void setAbovePlayer(bool above) override { calls.push_back(above ? "above" : "below"); }
    std::vector<platform::ProgramWindow>
    playerWindows(const platform::ProcessInformation&) override {
        return windows;
    }
    void putFullScreen(std::uint64_t window, const platform::Area& monitor) override {
        calls.push_back("move " + std::to_string(window) + " to " + std::to_string(monitor.x));
    }
    void focusMainWindow() override { ++focused; }
    std::vector<platform::ProgramWindow> windows;
    int focused = 0;
};

} // namespace

TEST(FilmShowing, BlackFromTheFirstOkUntilTheRunEnds) {
    FakeScreens screens;
    FilmShowing showing(screens);
    int afterCover = 0;
    showing.setAfterCover([&] {
        ++afterCover;
        EXPECT_TRUE(screens.covering()) << "the pause dialog is raised above the black";
    });
    EXPECT_TRUE(showing.readyForPlayer()) << "nothing to wait for without black";
    showing.toggleBlack();
    EXPECT_TRUE(screens.calls.empty()) << "B before the first OK brings no black";

    showing.segmentChosen();
    EXPECT_EQ(screens.covered, 1) << "the projector, not the teacher's screen";
    EXPECT_EQ(afterCover, 1);
    EXPECT_FALSE(showing.readyForPlayer()) << "the player waits until the black is painted";
    screens.paintedYet = true;
    EXPECT_TRUE(showing.readyForPlayer());
    EXPECT_EQ(showing.playerScreen(), 1);

    showing.toggleBlack();
    EXPECT_FALSE(screens.covering());
    EXPECT_TRUE(showing.readyForPlayer()) << "lifted black is not waited for";
    showing.toggleBlack();
    EXPECT_EQ(screens.covered, 1);
    EXPECT_EQ(afterCover, 2);

    showing.runEnded();
    EXPECT_FALSE(screens.covering());
    showing.toggleBlack();
    EXPECT_FALSE(screens.covering()) << "after the run B brings no black";
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"cover 1", "lift", "cover 1", "lift"}));
}

TEST(FilmShowing, TheMenuDecidesWhetherAndWhere) {
    const struct {
        const char* name;
        std::vector<ScreenFacts> facts;
        std::optional<int> chosen;
        bool black;
        std::optional<int> covered;
        std::optional<int> playerScreen;
    } cases[] = {
        {"black turned off", {laptop, projectorRight}, std::nullopt, false, std::nullopt, 1},
        {"the teacher's screen chosen", {laptop, projectorRight}, 0, true, 0, 0},
        {"one screen", {laptop}, std::nullopt, true, 0, std::nullopt},
        {"no screen at all", {}, std::nullopt, true, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        FakeScreens screens;
        screens.facts = c.facts;
        screens.chosen = c.chosen;
        screens.black = c.black;
        FilmShowing showing(screens);
        int afterCover = 0;
        showing.setAfterCover([&] { ++afterCover; });
        showing.segmentChosen();
        EXPECT_EQ(screens.covered, c.covered) << c.name;
        EXPECT_EQ(afterCover, c.covered ? 1 : 0) << c.name;
        EXPECT_EQ(showing.playerScreen(), c.playerScreen) << c.name;
        showing.toggleBlack();
        EXPECT_EQ(screens.covering(), false) << c.name << ": B lifts, or there is none";
    }
}

// The menu names the monitor's own resolution; scaling the toolkit's size back can be a pixel
// off (1280.67 pixels at 150 % were 1921).
TEST(FilmScreen, ThePixelsAreTheMonitorsOwn) {
    const std::vector<platform::Area> monitors{{0, 0, 1366, 768}, {1366, 0, 1920, 1080}};
    const struct {
        const char* name;
        QRect geometry;
        double ratio;
        std::vector<platform::Area> monitors;
        QSize expected;
    } cases[] = {
        {"the monitor at its corner", QRect(1366, 0, 1281, 720), 1.5, monitors, {1920, 1080}},
        {"the laptop at 125 %", QRect(0, 0, 1093, 614), 1.25, monitors, {1366, 768}},
        {"no monitor there: scaled back", QRect(0, 0, 1281, 720), 1.5, {}, {1922, 1080}},
        {"no monitors known, 100 %", QRect(0, 0, 1024, 600), 1.0, {}, {1024, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(screenPixels(c.geometry, c.ratio, c.monitors), c.expected) << c.name;
}

namespace {

platform::ProgramWindow window(std::uint64_t id, platform::Area area, bool fullScreen) {
    return {id, area, fullScreen};
}

const platform::Area left{0, 0, 1920, 1080};
const platform::Area right{1920, 0, 1920, 1080};

} // namespace

// What one look at the player's windows decides, pass by pass: the black stays above the
// player until its full-screen window is on the film's screen; one that landed elsewhere is
// moved there, a few times at most; a player that never shows one is let above in the end.
TEST(FilmPlacement, TheFilmGoesOnItsScreenBeforeTheClassSeesIt) {
    using Look = std::pair<std::int64_t, std::vector<platform::ProgramWindow>>;
    struct Expected {
        std::optional<std::uint64_t> move;
        bool above;
    };
    const struct {
        const char* name;
        bool fullScreen;
        std::vector<Look> looks;
        std::vector<Expected> expected;
        std::optional<int> elsewhere;
    } cases[] = {
        {"the player's window, then full screen where it belongs",
         true,
         {{50, {}},
          {100, {window(7, {400, 200, 600, 420}, false)}},
          {150, {window(7, right, true)}},
          {200, {window(7, right, true)}}},
         {{std::nullopt, false},
          {std::nullopt, false},
          {std::nullopt, true},
          {std::nullopt, false}},
         std::nullopt},
        {"full screen on the teacher's screen: moved, then there",
         true,
         {{100, {window(7, left, true)}},
          {150, {window(7, left, true)}},
          {500, {window(7, right, true)}}},
         {{7, false}, {std::nullopt, false}, {std::nullopt, true}},
         std::nullopt},
        {"a window as large as the screen counts as full screen",
         true,
         {{100, {window(9, right, false)}}},
         {{std::nullopt, true}},
         std::nullopt},
        {"it will not move: four tries, then it is shown where it is",
         true,
         {{0, {window(7, left, true)}},
          {400, {window(7, left, true)}},
          {800, {window(7, left, true)}},
          {1200, {window(7, left, true)}},
          {1300, {window(7, left, true)}},
          {1600, {window(7, left, true)}},
          {2000, {window(7, left, true)}}},
         {{7, false},
          {7, false},
          {7, false},
          {7, false},
          {std::nullopt, false},
          {std::nullopt, true},
          {std::nullopt, false}},
         0},
        {"no full-screen window ever",
         true,
         {{100, {window(7, {10, 10, 600, 420}, false)}},
          {FilmPlacement::kMostWait, {window(7, {10, 10, 600, 420}, false)}}},
         {{std::nullopt, false}, {std::nullopt, true}},
         std::nullopt},
        {"an audio CD: its own window is what the class sees",
         false,
         {{50, {}}, {100, {window(7, {10, 10, 600, 420}, false)}}},
         {{std::nullopt, false}, {std::nullopt, true}},
         std::nullopt},
    };
    for (const auto& c : cases) {
        FilmPlacement placement({left, right}, 1, c.fullScreen);
        ASSERT_EQ(c.looks.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < c.looks.size(); ++i) {
            const PlacementStep step = placement.look(c.looks[i].second, c.looks[i].first);
            EXPECT_EQ(step.move, c.expected[i].move) << c.name << ", look " << i;
            EXPECT_EQ(step.letPlayerAbove, c.expected[i].above) << c.name << ", look " << i;
        }
        EXPECT_EQ(placement.landedElsewhere(), c.elsewhere) << c.name;
    }
}

// The showing drives the placement with the window side: black above the player while it
// starts, the film moved to the projector, black below it once it is there, above again at
// the pause; a film left on the wrong screen is named, and one screen without black is left
// alone.
TEST(FilmShowing, ThePlayerIsWatchedUntilItsFilmIsInPlace) {
    FakeScreens screens;
    screens.facts = {screen(0, 0, 1920, 1080), screen(1920, 0, 1920, 1080)};
    FilmShowing showing(screens);
    showing.segmentChosen();
    screens.paintedYet = true;
    screens.calls.clear();
    showing.playerStarts(true);
    screens.windows = {window(5, left, true)};
    showing.playerRuns({});
    screens.windows = {window(5, right, true)};
    showing.playerRuns({});
    EXPECT_EQ(showing.playerEnded(), std::nullopt);
    EXPECT_EQ(screens.calls,
              (std::vector<std::string>{"above", "move 5 to 1920", "below", "above"}));

    screens.calls.clear();
    showing.playerStarts(true);
    screens.windows = {window(5, left, true)};
    showing.playerRuns({});
    const std::optional<QString> message = showing.playerEnded();
    EXPECT_EQ(message, filmElsewhereMessage(0, 1));
    EXPECT_TRUE(message && message->startsWith(QStringLiteral("Der Film lief auf Bildschirm 1, "
                                                              "nicht auf Bildschirm 2")));
    showing.runEnded();
    EXPECT_EQ(screens.focused, 1) << "the main window has the keyboard after the run";

    FakeScreens one;
    one.facts = {laptop};
    one.black = false;
    FilmShowing alone(one);
    alone.segmentChosen();
    alone.playerStarts(true);
    one.windows = {window(5, left, true)};
    alone.playerRuns({});
    EXPECT_EQ(alone.playerEnded(), std::nullopt);
    EXPECT_TRUE(one.calls.empty()) << "one screen without black: the player is left alone";
}

// A projector switched off during a pause takes the black with it onto the laptop; switched
// on again, the black goes back onto it. Lifted by B, or after the run, nothing comes back.
TEST(FilmShowing, TheBlackFollowsTheScreensDuringAPause) {
    FakeScreens screens;
    FilmShowing showing(screens);
    showing.segmentChosen();
    screens.facts = {laptop};
    showing.screensChanged();
    EXPECT_EQ(screens.covered, 0);
    screens.facts = {laptop, projectorRight};
    showing.screensChanged();
    EXPECT_EQ(screens.covered, 1);
    showing.toggleBlack();
    showing.screensChanged();
    EXPECT_FALSE(screens.covering()) << "B lifted it: the screens bring no black";
    showing.toggleBlack();
    showing.runEnded();
    showing.screensChanged();
    EXPECT_FALSE(screens.covering());
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"cover 1", "cover 0", "cover 1", "lift",
                                                       "cover 1", "lift"}));
}
