// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/excerpttable.h"

#include <gtest/gtest.h>
#include <limits>

using namespace filmarin;

namespace {

TEST(SecondsOf, RoundsTheSumHalfToEven) {
    struct Case {
        double h, m, s;
        std::int32_t seconds;
    };
    const Case cases[] = {{0, 0, 59.5, 60},
                          {0, 0, 0.5, 0},
                          {0, 0, 1.5, 2},
                          {0, 0, 2.5, 2},
                          {0, 90, 0, 5400},
                          {1, 1, 1, 3661},
                          {0, 0, -90, -90},
                          {0.5, 0, 0, 1800},
                          {-1, 30, 0, -1800},
                          {0, 0, -0.5, 0},
                          {596523, 14, 7, 2147483647}};
    for (const Case& c : cases) {
        const auto seconds = secondsOf(c.h, c.m, c.s);
        ASSERT_TRUE(seconds.has_value()) << c.h << ' ' << c.m << ' ' << c.s;
        EXPECT_EQ(*seconds, c.seconds) << c.h << ' ' << c.m << ' ' << c.s;
    }
}

TEST(SecondsOf, RejectsWhatNoSigned32BitValueHolds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(secondsOf(596523, 14, 8).has_value());
    EXPECT_TRUE(secondsOf(-596523, -14, -8).has_value());
    EXPECT_FALSE(secondsOf(-596523, -14, -9).has_value());
    EXPECT_FALSE(secondsOf(nan, 0, 0).has_value());
    EXPECT_FALSE(secondsOf(0, inf, 0).has_value());
    EXPECT_FALSE(secondsOf(inf, -inf, 0).has_value());
    EXPECT_FALSE(secondsOf(1e300, 0, 0).has_value());
}

TEST(SplitSeconds, TruncatesTowardsZero) {
    struct Case {
        std::int64_t total, h, m, s;
    };
    const Case cases[] = {{5400, 1, 30, 0},
                          {-90, 0, -1, -30},
                          {3661, 1, 1, 1},
                          {0, 0, 0, 0},
                          {-3601, -1, 0, -1},
                          {59, 0, 0, 59},
                          {2147483647, 596523, 14, 7}};
    for (const Case& c : cases) {
        const HoursMinutesSeconds hms = splitSeconds(c.total);
        EXPECT_EQ(hms.hours, c.h) << c.total;
        EXPECT_EQ(hms.minutes, c.m) << c.total;
        EXPECT_EQ(hms.seconds, c.s) << c.total;
    }
}

TEST(ExcerptTable, InitSetsTheInitialValuesEverywhere) {
    ExcerptTable t;
    t.startTimes.fill(5);
    t.titleNumbers.fill(9);
    t.playFlags.fill(1);
    t.init();
    for (double v : t.startTimes)
        EXPECT_EQ(v, 0.0);
    for (double v : t.stopTimes)
        EXPECT_EQ(v, 0.0);
    for (std::int32_t v : t.titleNumbers)
        EXPECT_EQ(v, 1);
    for (const QString& h : t.headings)
        EXPECT_EQ(h, QStringLiteral(" "));
    EXPECT_EQ(t.playFlags[3], 1) << "the flags are not part of the table's initial values";
    EXPECT_EQ(t.audioLanguageCode, QStringLiteral("de"));
    EXPECT_EQ(cellIndex(2, 20), 62);
}

} // namespace
