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
