// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/filmscreen.h"

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
