// SPDX-License-Identifier: GPL-3.0-or-later
#include "memorytable.h"
#include "table/blocktransfer.h"
#include "table/tablecheck.h"

#include <gtest/gtest.h>
#include <limits>
#include <ostream>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// The table as start-up leaves it: all times "0", excerpt 1 stopping at 10 hours, all
// "Abspielen" ticks set, standard headings.
struct TableFixture : ::testing::Test {
    void SetUp() override {
        table.init();
        labelGrids(t.view);
        t.fillAsAtStartUp();
    }
    void setTimes(int row, const char* sh, const char* sm, const char* ss, const char* eh,
                  const char* em, const char* es) {
        t.start.setCell(0, row, QString::fromUtf8(sh));
        t.start.setCell(1, row, QString::fromUtf8(sm));
        t.start.setCell(2, row, QString::fromUtf8(ss));
        t.stop.setCell(0, row, QString::fromUtf8(eh));
        t.stop.setCell(1, row, QString::fromUtf8(em));
        t.stop.setCell(2, row, QString::fromUtf8(es));
    }

    MemoryTable t;
    ExcerptTable table;
    ExcerptSpans spans{};
};

TEST_F(TableFixture, StartUpTableTotalsTenHoursOnYellow) {
    refreshTotals(table, spans, t.view);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(t.total.text, QStringLiteral("10h 0min 0sec"));
    EXPECT_TRUE(t.total.highlighted);
    EXPECT_TRUE(spans[0].selected);
    EXPECT_EQ(spans[0].stopSecond, 36000);
    for (int i = 1; i < 20; ++i)
        EXPECT_FALSE(spans[static_cast<std::size_t>(i)].selected) << "0 to 0 is no span";
    EXPECT_EQ(t.titles.cell(0, 7), QStringLiteral("1")) << "empty title cells read as 1";
    EXPECT_TRUE(isLabelMarked(spans, 0, 1));
    EXPECT_FALSE(isLabelMarked(spans, 0, 2));
    EXPECT_FALSE(isLabelMarked(spans, 1, 1));
    EXPECT_FALSE(isLabelMarked(spans, 0, 0));
}

struct RejectCase {
    const char* name;
    int grid; // 0 start, 1 stop, 2 titles
    int column;
    int row;
    const char* text;
    bool titleMessage;
};

void PrintTo(const RejectCase& c, std::ostream* os) {
    *os << c.name;
}

class RejectedCellTest : public TableFixture, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedCellTest, SelectsTheCellAndShowsItsMessage) {
    const RejectCase c = GetParam();
    MemoryGrid* grids[] = {&t.start, &t.stop, &t.titles};
    grids[c.grid]->setCell(c.column, c.row, QString::fromUtf8(c.text));
    refreshTotals(table, spans, t.view);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(t.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(t.messages.shown[0].text, c.titleMessage ? titleCellMessage() : timeCellMessage());
    EXPECT_EQ(grids[c.grid]->selected, std::make_pair(c.column, c.row));
    EXPECT_EQ(t.total.text, QStringLiteral("0h 0min 0sec")) << "a failed check shows no total";
    EXPECT_EQ(grids[c.grid]->cell(c.column, c.row), QString::fromUtf8(c.text))
        << "nothing is written back after a rejected cell";
}

INSTANTIATE_TEST_SUITE_P(
    Cells, RejectedCellTest,
    ::testing::Values(RejectCase{"LetterInMinutes", 0, 1, 4, "x", false},
                      RejectCase{"OnlyBlanks", 0, 2, 1, " ", false},
                      RejectCase{"TrailingBlank", 1, 0, 3, "7 ", false},
                      RejectCase{"Unit", 1, 2, 20, "7s", false},
                      RejectCase{"TwoCommas", 0, 0, 9, "1,5,5", false},
                      RejectCase{"TitleZero", 2, 0, 5, "0", true},
                      RejectCase{"TitleHalf", 2, 0, 6, "2.5", true},
                      RejectCase{"TitleNegative", 2, 0, 6, "-3", true},
                      RejectCase{"TitleText", 2, 0, 20, "zwei", true},
                      RejectCase{"TitleTooLarge", 2, 0, 2, "2147483648", true},
                      RejectCase{"SecondsBeyond32Bit", 0, 0, 11, "596524", false},
                      RejectCase{"NotANumberFromAFile", 1, 1, 2, "NAN", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct OutOfRangeCase {
    const char* hours;
    const char* minutes;
    const char* seconds;
    int selectedColumn;
};

TEST_F(TableFixture, TimeOutOfRangeSelectsTheCellThatHoldsTheOffendingValue) {
    const OutOfRangeCase cases[] = {
        {"0", "0", "1e12", 2},              // the seconds alone
        {"1", "40000000", "0", 1},          // the minutes alone
        {"-596524", "0", "0", 0},           // the hours alone, below the range
        {"0", "-1e300", "1e300", 1},        // the first of two that are each out of range
        {"596523", "14", "8", 0},           // none alone; the hours carry the sum out
        {"1", "35791394", "3000", 1},       // none alone; the minutes carry the sum out
        {"0", "10000000", "2000000000", 2}, // none alone; the seconds carry the sum out
    };
    for (const OutOfRangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.hours) + ":" + c.minutes + ":" + c.seconds);
        t.messages.shown.clear();
        setTimes(1, "0", "0", "0", "10", "0", "0");
        setTimes(8, "0", "0", "0", c.hours, c.minutes, c.seconds);
        EXPECT_FALSE(checkTable(table, t.view));
        EXPECT_EQ(t.stop.selected, std::make_pair(c.selectedColumn, 8));
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text, timeCellMessage());
    }
}

TEST_F(TableFixture, ColumnsAreVisitedBeforeRows) {
    for (int row = 1; row <= 9; ++row)
        t.start.setCell(0, row, QString::number(row));
    t.start.setCell(0, 10, QStringLiteral("x"));
    t.start.setCell(1, 2, QStringLiteral("y"));
    t.start.setCell(0, 11, QStringLiteral("5"));
    table.startTimes[cellIndex(0, 11)] = 99;
    EXPECT_FALSE(checkTable(table, t.view));
    EXPECT_EQ(t.start.selected, std::make_pair(0, 10));
    for (int row = 1; row <= 9; ++row)
        EXPECT_EQ(table.startTimes[cellIndex(0, row)], row) << "stored before the rejected cell";
    EXPECT_EQ(table.startTimes[cellIndex(0, 11)], 99) << "cells after it are not visited";
}

TEST_F(TableFixture, InvalidStopCellAfterValidStartsKeepsAllStartTimes) {
    for (int row = 1; row <= 20; ++row)
        t.start.setCell(2, row, QString::number(row * 10));
    t.stop.setCell(1, 4, QStringLiteral("abc"));
    t.titles.setCell(0, 1, QStringLiteral("7"));
    EXPECT_FALSE(checkTable(table, t.view));
    for (int row = 1; row <= 20; ++row)
        EXPECT_EQ(table.startTimes[cellIndex(2, row)], row * 10);
    EXPECT_EQ(t.stop.selected, std::make_pair(1, 4));
    EXPECT_EQ(table.titleNumbers[cellIndex(0, 1)], 1) << "the title grid is not read";
}

TEST_F(TableFixture, InvalidTitleLeavesHeadingsUnread) {
    t.titles.setCell(0, 3, QStringLiteral("0"));
    t.headings.setCell(1, 1, QStringLiteral("Neu"));
    EXPECT_FALSE(checkTable(table, t.view));
    EXPECT_EQ(table.headings[cellIndex(1, 1)], QStringLiteral(" "));
}

TEST_F(TableFixture, RefreshNormalisesAndWritesBack) {
    setTimes(2, "", "", "90", "0", "1,5", "59.5");
    setTimes(3, "0", "0", "-5", "0", "0", "10");
    setTimes(4, "0", "1", "0", "0", "0", "59");
    t.titles.setCell(0, 2, QStringLiteral("+3"));
    t.titles.setCell(0, 3, QStringLiteral("3.0"));
    t.titles.setCell(0, 4, QString());
    t.headings.setCell(1, 5, QString(300, QLatin1Char('x')));
    refreshTotals(table, spans, t.view);
    ASSERT_TRUE(t.messages.shown.empty());
    const auto row = [&](MemoryGrid& g, int r) {
        return g.cell(0, r) + QLatin1Char(':') + g.cell(1, r) + QLatin1Char(':') + g.cell(2, r);
    };
    EXPECT_EQ(row(t.start, 2), QStringLiteral("0:1:30"));
    EXPECT_EQ(row(t.stop, 2), QStringLiteral("0:2:30")) << "90 s + 59.5 rounded to 60";
    EXPECT_EQ(row(t.start, 3), QStringLiteral("0:0:-5"));
    EXPECT_EQ(row(t.start, 4), QStringLiteral("0:1:0"));
    EXPECT_EQ(t.titles.cell(0, 2), QStringLiteral("3"));
    EXPECT_EQ(t.titles.cell(0, 3), QStringLiteral("3"));
    EXPECT_EQ(t.titles.cell(0, 4), QStringLiteral("1"));
    EXPECT_EQ(t.headings.cell(1, 5).size(), 255);
    EXPECT_TRUE(spans[1].selected);
    EXPECT_EQ(spans[1].startSecond, 90);
    EXPECT_EQ(spans[1].stopSecond, 150);
    EXPECT_FALSE(spans[2].selected) << "a negative start is no span";
    EXPECT_EQ(spans[2].stopSecond, 0);
    EXPECT_FALSE(spans[3].selected) << "start after stop is no span";
    EXPECT_EQ(t.total.text, QStringLiteral("10h 1min 0sec"));
}

TEST_F(TableFixture, UntickedValidSpanKeepsItsSecondsButIsNotCounted) {
    t.play.setChecked(0, false);
    refreshTotals(table, spans, t.view);
    EXPECT_FALSE(spans[0].selected);
    EXPECT_EQ(spans[0].stopSecond, 36000);
    EXPECT_EQ(t.total.text, QStringLiteral("0h 0min 0sec"));
    EXPECT_FALSE(t.total.highlighted);
    EXPECT_FALSE(isLabelMarked(spans, 0, 1));
}

TEST_F(TableFixture, TotalOfTwoExcerpts) {
    setTimes(1, "0", "0", "0", "0", "0", "90");
    setTimes(2, "1", "0", "0", "2", "0", "0");
    refreshTotals(table, spans, t.view);
    EXPECT_EQ(t.total.text, QStringLiteral("1h 1min 30sec"));
    EXPECT_TRUE(t.total.highlighted);
}

TEST_F(TableFixture, TotalBeyond32BitsIsShownInFull) {
    for (int row = 1; row <= 20; ++row)
        setTimes(row, "0", "0", "0", "596523", "0", "0");
    refreshTotals(table, spans, t.view);
    EXPECT_EQ(t.total.text, QStringLiteral("11930460h 0min 0sec"));
}

TEST_F(TableFixture, ComputeSpansNormalisesEveryRowAndReadsTheTicksOnly) {
    table.startTimes[cellIndex(2, 7)] = 3725;
    table.stopTimes[cellIndex(1, 7)] = 60;
    table.stopTimes[cellIndex(0, 1)] = 1;
    table.playFlags.fill(0);
    EXPECT_TRUE(computeSpans(table, spans, t.play));
    EXPECT_EQ(table.startTimes[cellIndex(0, 7)], 1);
    EXPECT_EQ(table.startTimes[cellIndex(1, 7)], 2);
    EXPECT_EQ(table.startTimes[cellIndex(2, 7)], 5);
    EXPECT_EQ(table.stopTimes[cellIndex(0, 7)], 1);
    EXPECT_EQ(table.stopTimes[cellIndex(1, 7)], 0);
    EXPECT_FALSE(spans[6].selected) << "starts after it stops";
    EXPECT_EQ(spans[6].startSecond, 0);
    for (auto& s : spans)
        s.selected = false;
    MemoryCheckList none(20);
    EXPECT_FALSE(computeSpans(table, spans, none));
}

TEST_F(TableFixture, LabelGridsWritesHeadersAndLabels) {
    MemoryTable fresh;
    labelGrids(fresh.view);
    EXPECT_EQ(fresh.headings.cell(0, 0), QString());
    EXPECT_EQ(fresh.headings.cell(1, 0), QStringLiteral("Text"));
    EXPECT_EQ(fresh.headings.cell(0, 20), QStringLiteral("Ausschnitt 20"));
    EXPECT_EQ(fresh.start.cell(2, 0), QStringLiteral("Sekunden"));
    EXPECT_EQ(fresh.stop.cell(0, 0), QStringLiteral("Stunden"));
    EXPECT_EQ(fresh.stop.cell(1, 0), QStringLiteral("Minuten"));
    EXPECT_EQ(fresh.titles.cell(0, 0), QStringLiteral("Nummer"));
}

TEST(BlockTransfer, HeadingsKeepTheirFirst255Characters) {
    MemoryGrid grid(2, 21);
    std::array<QString, 63> values;
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two UTF-16 units
    grid.setCell(1, 1, QString(254, QLatin1Char('a')) + clef + QStringLiteral("b"));
    grid.setCell(1, 2, QString(300, QChar(0x00e4)));
    readTextBlock(grid, 1, 1, values, 1, 20);
    EXPECT_EQ(values[cellIndex(1, 1)], QString(254, QLatin1Char('a')) + clef);
    EXPECT_EQ(values[cellIndex(1, 2)], QString(255, QChar(0x00e4)));
    EXPECT_EQ(values[cellIndex(1, 3)], QString());
}

TEST(BlockTransfer, WriteWholeBlockWritesPlainDigits) {
    MemoryGrid grid(1, 21);
    std::array<std::int32_t, 42> values{};
    values[cellIndex(0, 1)] = -7;
    values[cellIndex(0, 2)] = 2147483647;
    writeWholeBlock(grid, 0, 0, values, 1, 20);
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("-7"));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("2147483647"));
    EXPECT_EQ(grid.cell(0, 0), QString()) << "row 0 is not written";
}

TEST(BlockTransfer, NonFiniteTimesGetATextAndAreRejectedWhenReadBack) {
    MemoryTable t;
    ExcerptTable table;
    table.init();
    table.startTimes[cellIndex(0, 1)] = std::numeric_limits<double>::quiet_NaN();
    table.stopTimes[cellIndex(2, 1)] = -std::numeric_limits<double>::infinity();
    writeTableToGrids(table, t.view);
    EXPECT_EQ(t.start.cell(0, 1), QStringLiteral("NAN"));
    EXPECT_EQ(t.stop.cell(2, 1), QStringLiteral("-INF"));
    EXPECT_FALSE(checkTable(table, t.view));
    EXPECT_EQ(t.start.selected, std::make_pair(0, 1));
}

} // namespace
