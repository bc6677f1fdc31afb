// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/textops.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

using namespace filmarin;

namespace {

struct RealCase {
    const char* text;
    bool ok;
    double value;
};

void PrintTo(const RealCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(ParseRealTest, FollowsTheNumberGrammar) {
    const RealCase c = GetParam();
    double value = -12345.0;
    const bool ok = parseReal(QString::fromUtf8(c.text), value);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok)
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    else
        EXPECT_EQ(value, -12345.0) << "a rejected text must leave the value alone: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseRealTest,
    ::testing::Values(
        RealCase{"1.5", true, 1.5}, RealCase{"1,5", true, 1.5}, RealCase{"1,5,5", false, 0},
        RealCase{"1.5,5", false, 0}, RealCase{"1,5.5", false, 0}, RealCase{" 7", true, 7},
        RealCase{"   -7", true, -7}, RealCase{"7 ", false, 0}, RealCase{"7s", false, 0},
        RealCase{"\t7", false, 0}, RealCase{"1e1", true, 10}, RealCase{"1E+2", true, 100},
        RealCase{"25e-1", true, 2.5}, RealCase{"1e", false, 0}, RealCase{"1e+", false, 0},
        RealCase{"e5", false, 0}, RealCase{".5", true, 0.5}, RealCase{"5.", true, 5},
        RealCase{".", true, 0}, RealCase{"-.", true, 0}, RealCase{",", true, 0},
        RealCase{"+", false, 0}, RealCase{"-", false, 0}, RealCase{"", false, 0},
        RealCase{" ", false, 0}, RealCase{"+3", true, 3}, RealCase{"--3", false, 0},
        RealCase{"1.2.3", false, 0}, RealCase{"1e400", false, 0}, RealCase{"-1e400", false, 0},
        RealCase{"1e-400", true, 0}, RealCase{"0.000e99999999", true, 0}, RealCase{"nan", false, 0},
        RealCase{"inf", false, 0}, RealCase{"INF", false, 0}, RealCase{"0x10", false, 0},
        RealCase{"１", false, 0}, RealCase{"1\u00a0", false, 0},
        RealCase{"1.7976931348623157e308", true, 1.7976931348623157e308},
        RealCase{"179769313486231580793728971405303415079934132710037826936173778980444"
                 "968292764750946649017977587207096330286416692887910946555547851940"
                 "402630657488671505820681908902000708383676273854845817711531764475"
                 "730270069855571366959622842914819860834936475292719074168444365510"
                 "704342711559699508093042880177904174497792",
                 false, 0}));

struct WholeCase {
    const char* text;
    bool ok;
    int value;
    bool notIntegral;
};

void PrintTo(const WholeCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseWholeTest : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ParseWholeTest, RoundsHalfToEven) {
    const WholeCase c = GetParam();
    const WholeParse r = parseWhole(QString::fromUtf8(c.text));
    EXPECT_EQ(r.ok, c.ok) << c.text;
    EXPECT_EQ(r.value, c.value) << c.text;
    EXPECT_EQ(r.notIntegral, c.notIntegral) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParseWholeTest,
    ::testing::Values(WholeCase{"3", true, 3, false}, WholeCase{"3.0", true, 3, false},
                      WholeCase{"+3", true, 3, false}, WholeCase{"1.5", true, 2, true},
                      WholeCase{"2.5", true, 2, true}, WholeCase{"0,5", true, 0, true},
                      WholeCase{"-2.5", true, -2, true}, WholeCase{"abc", false, 0, false},
                      WholeCase{"2147483647", true, 2147483647, false},
                      WholeCase{"2147483648", false, 0, false},
                      WholeCase{"-2147483648", true, -2147483647 - 1, false},
                      WholeCase{"-2147483649", false, 0, false},
                      WholeCase{"1e10", false, 0, false}));

struct FormatCase {
    double value;
    int width;
    int decimals;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.value << ", " << c.width << ", " << c.decimals;
}

class FormatRealTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRealTest, WritesFixedPointWithComma) {
    const FormatCase c = GetParam();
    EXPECT_EQ(formatReal(c.value, c.width, c.decimals), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatRealTest,
    ::testing::Values(FormatCase{12, 1, 0, "12"}, FormatCase{-30, 1, 0, "-30"},
                      FormatCase{0, 1, 0, "0"}, FormatCase{-0.0, 1, 0, "0"},
                      FormatCase{-0.4, 1, 0, "0"}, FormatCase{2.5, 1, 0, "2"},
                      FormatCase{3.5, 1, 0, "4"}, FormatCase{1.25, 1, 1, "1,2"},
                      FormatCase{1.5, 6, 2, "  1,50"}, FormatCase{7, 3, 0, "  7"},
                      FormatCase{1e20, 1, 0, "100000000000000000000"},
                      FormatCase{std::numeric_limits<double>::quiet_NaN(), 1, 0, "NAN"},
                      FormatCase{std::numeric_limits<double>::infinity(), 1, 0, "INF"},
                      FormatCase{-std::numeric_limits<double>::infinity(), 5, 0, " -INF"}));

TEST(FormatReal, LargestDoubleIsWrittenInFull) {
    const QString text = formatReal(std::numeric_limits<double>::max(), 1, 0);
    EXPECT_EQ(text.size(), 309);
    double back = 0;
    ASSERT_TRUE(parseReal(text, back));
    EXPECT_EQ(back, std::numeric_limits<double>::max());
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0},
                                               {1.5, 2},
                                               {2.5, 2},
                                               {59.5, 60},
                                               {-0.5, -0},
                                               {-1.5, -2},
                                               {-2.5, -2},
                                               {0.49, 0},
                                               {0.51, 1},
                                               {-0.51, -1},
                                               {4503599627370497.0, 4503599627370497.0}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(roundHalfEven(in), out) << in;
}

TEST(CommaAndPoint, OnlyTheFirstIsReplaced) {
    QString a = QStringLiteral("1,2,3");
    commaToPoint(a);
    EXPECT_EQ(a, QStringLiteral("1.2,3"));
    QString b = QStringLiteral("1.2.3");
    pointToComma(b);
    EXPECT_EQ(b, QStringLiteral("1,2.3"));
}

TEST(TextOps, TextFromCountsFromOne) {
    EXPECT_EQ(textFrom(QStringLiteral("abc"), 1), QStringLiteral("abc"));
    EXPECT_EQ(textFrom(QStringLiteral("abc"), 3), QStringLiteral("c"));
    EXPECT_EQ(textFrom(QStringLiteral("abc"), 4), QString());
}

TEST(TextOps, TrimBlanksRemovesControlCharactersAtBothEnds) {
    QString t = QStringLiteral("\t \r Finale \n\x01");
    trimBlanks(t);
    EXPECT_EQ(t, QStringLiteral("Finale"));
    QString inner = QStringLiteral(" a  b ");
    trimBlanks(inner);
    EXPECT_EQ(inner, QStringLiteral("a  b"));
    QString blanks = QStringLiteral("   ");
    trimBlanks(blanks);
    EXPECT_TRUE(blanks.isEmpty());
    QString nbsp = QStringLiteral("\u00a0x");
    trimBlanks(nbsp);
    EXPECT_EQ(nbsp, QStringLiteral("\u00a0x"));
}

TEST(TextOps, ReplaceBlanksReplacesEveryBlank) {
    EXPECT_EQ(replaceBlanks(QStringLiteral("a b  c"), QStringLiteral("%20")),
              QStringLiteral("a%20b%20%20c"));
}

TEST(TextOps, EqualsIgnoreCaseFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(equalsIgnoreCase(QStringLiteral("de"), QStringLiteral("DE")));
    EXPECT_TRUE(equalsIgnoreCase(QStringLiteral("DVD/CD "), QStringLiteral("dvd/cd ")));
    EXPECT_FALSE(equalsIgnoreCase(QStringLiteral("ä"), QStringLiteral("Ä")));
    EXPECT_FALSE(equalsIgnoreCase(QStringLiteral("DVD/CD"), QStringLiteral("DVD/CD ")));
    EXPECT_FALSE(equalsIgnoreCase(QStringLiteral("@"), QStringLiteral("`")));
}

TEST(TextOps, SplitAt) {
    QString text = QStringLiteral("abc");
    QString head = QStringLiteral("x");
    splitAt(text, 0, head);
    EXPECT_EQ(head, QString());
    EXPECT_EQ(text, QStringLiteral("abc"));
    splitAt(text, 2, head);
    EXPECT_EQ(head, QStringLiteral("a"));
    EXPECT_EQ(text, QStringLiteral("c"));
    text = QStringLiteral("ab");
    splitAt(text, 2, head);
    EXPECT_EQ(head, QStringLiteral("ab"));
    EXPECT_EQ(text, QString());
}

struct SplitCase {
    const char* text;
    const char* first;
    const char* second;
    const char* third;
    int count;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class SplitBySeparatorTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitBySeparatorTest, SplitsAtMostTwice) {
    const SplitCase c = GetParam();
    const SplitParts p = splitBySeparator(QString::fromUtf8(c.text), QLatin1Char('.'));
    EXPECT_EQ(p.first, QString::fromUtf8(c.first)) << c.text;
    EXPECT_EQ(p.second, QString::fromUtf8(c.second)) << c.text;
    EXPECT_EQ(p.third, QString::fromUtf8(c.third)) << c.text;
    EXPECT_EQ(p.count, c.count) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SplitBySeparatorTest,
    ::testing::Values(SplitCase{"1.7.0.0", "1", "7", "0.0", 2}, SplitCase{" 2 ", "2", "", "", 0},
                      SplitCase{"1.", "1.", "", "", 1}, SplitCase{"2 .0", "2 ", "0", "", 1},
                      SplitCase{"1. 7 .x", "1", "7 ", "x", 2}, SplitCase{"", "", "", "", 0},
                      SplitCase{".", ".", "", "", 1}));

} // namespace
