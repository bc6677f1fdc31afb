// SPDX-License-Identifier: GPL-3.0-or-later
// A disc's titles and chapters from its navigation tables, whatever the tables hold; their
// texts; what a choice among them writes into the table; and their way through the helper.
#include "dvdtables_builder.h"
#include "platform/process.h"
#include "sources/disctitles.h"
#include "sources/dvdreader.h"
#include "sources/dvdtables.h"
#include "sources/helperdrives.h"

#include <gtest/gtest.h>
#include <string>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

ptt_info_t chapter(int chain, int program) {
    ptt_info_t entry{};
    entry.pgcn = static_cast<std::uint16_t>(chain);
    entry.pgn = static_cast<std::uint16_t>(program);
    return entry;
}

CellSpec cell(int seconds, int frames = 0) {
    return {dvdTime(0, 0, seconds, frames)};
}

// One title set with one title of one chain: cells of `seconds`, one program per cell.
TitleSetSpec simpleSet(const std::vector<int>& seconds) {
    TitleSetSpec set;
    ChainSpec chain;
    std::vector<ptt_info_t> chapters;
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        chain.programMap.push_back(static_cast<std::uint8_t>(i + 1));
        chain.cells.push_back(cell(seconds[i]));
        chapters.push_back(chapter(1, static_cast<int>(i) + 1));
    }
    set.chains.push_back(chain);
    set.titles.push_back(chapters);
    return set;
}

DiscTitle title(std::int32_t number, std::int64_t lengthMs,
                const std::vector<std::pair<std::int64_t, std::int64_t>>& chapters,
                const QStringList& audio = {}, const QStringList& subtitles = {}) {
    DiscTitle made;
    made.number = number;
    made.lengthMs = lengthMs;
    for (const auto& [start, length] : chapters)
        made.chapters.push_back({start, length});
    made.audioLanguages = audio;
    made.subtitleLanguages = subtitles;
    return made;
}

// The bytes of a literal, zero bytes inside included.
template <std::size_t N> std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

} // namespace

TEST(DvdTables, TimesAreReadFromTheirBcdDigitsAndFrameRate) {
    const struct {
        dvd_time_t time;
        std::int64_t ms;
    } rows[] = {
        {dvdTime(1, 52, 3), 6723000},
        {dvdTime(0, 0, 12, 12), 12480},         // 25 frames a second
        {dvdTime(0, 0, 1, 15, 3), 1500},        // 30000 frames in 1001 seconds
        {dvdTime(0, 0, 1, 15, 0), 1000},        // no frame rate
        {dvdTime(0, 0, 1, 15, 2), 1000},        // no known frame rate
        {dvd_time_t{0xff, 0, 0, 0}, 594000000}, // digits beyond 9 still give a number
    };
    for (const auto& row : rows)
        EXPECT_EQ(dvdTimeMs(row.time), row.ms);
}

TEST(DvdTables, TitlesOfTwoTitleSetsWithTheirChaptersAndLanguages) {
    DiscSpec disc;
    disc.titleSets = 2;
    disc.titles = {titleEntry(1, 1), titleEntry(2, 1)};
    disc.sets[1] = simpleSet({5, 7});
    disc.sets[1].audio = {language("de")};
    disc.sets[2] = simpleSet({2, 2, 3});
    disc.sets[2].audio = {language("de"), language("en")};
    disc.sets[2].subtitles = {language("fr")};
    const std::vector<DiscTitle> expected = {
        title(1, 12000, {{0, 5000}, {5000, 7000}}, {QStringLiteral("de")}),
        title(2, 7000, {{0, 2000}, {2000, 2000}, {4000, 3000}},
              {QStringLiteral("de"), QStringLiteral("en")}, {QStringLiteral("fr")}),
    };
    EXPECT_EQ(BuiltTables(disc).titles(), expected);
}

TEST(DvdTables, AnAngleBlockCountsOnceAndAChapterSpansItsProgramsCells) {
    DiscSpec disc;
    disc.titleSets = 1;
    disc.titles = {titleEntry(1, 1)};
    TitleSetSpec set;
    ChainSpec chain;
    chain.programMap = {1, 2, 5};
    chain.cells = {cell(2),
                   {dvdTime(0, 0, 3), BLOCK_MODE_FIRST_CELL, BLOCK_TYPE_ANGLE_BLOCK},
                   {dvdTime(0, 0, 3), BLOCK_MODE_IN_BLOCK, BLOCK_TYPE_ANGLE_BLOCK},
                   {dvdTime(0, 0, 3), BLOCK_MODE_LAST_CELL, BLOCK_TYPE_ANGLE_BLOCK},
                   cell(4, 5)};
    set.chains = {chain};
    set.titles = {{chapter(1, 1), chapter(1, 2), chapter(1, 3)}};
    disc.sets[1] = set;
    EXPECT_EQ(BuiltTables(disc).titles(),
              std::vector<DiscTitle>{title(1, 9200, {{0, 2000}, {2000, 3000}, {5000, 4200}})});
}

TEST(DvdTables, ATitleOfTwoChainsPlaysThemInTheOrderItsChaptersNameThem) {
    DiscSpec disc;
    disc.titleSets = 1;
    disc.titles = {titleEntry(1, 1)};
    TitleSetSpec set;
    ChainSpec first;
    first.programMap = {1};
    first.cells = {cell(5)};
    ChainSpec second;
    second.programMap = {1, 2};
    second.cells = {cell(3), cell(4)};
    set.chains = {first, second};
    set.titles = {{chapter(2, 1), chapter(2, 2), chapter(1, 1)}};
    disc.sets[1] = set;
    EXPECT_EQ(BuiltTables(disc).titles(),
              std::vector<DiscTitle>{title(1, 12000, {{0, 3000}, {3000, 4000}, {7000, 5000}})});
}

// A good disc of three titles, each changed in one way; what is left of it.
TEST(DvdTables, WhatTheTablesDoNotBearOutIsLeftOut) {
    const auto good = [] {
        DiscSpec disc;
        disc.titleSets = 2;
        disc.titles = {titleEntry(1, 1), titleEntry(1, 2), titleEntry(2, 1)};
        disc.sets[1] = simpleSet({5, 7});
        disc.sets[1].titles.push_back({chapter(1, 2)});
        disc.sets[1].audio = {language("de")};
        disc.sets[2] = simpleSet({3});
        return disc;
    };
    const DiscTitle one = title(1, 12000, {{0, 5000}, {5000, 7000}}, {QStringLiteral("de")});
    const DiscTitle two = title(2, 12000, {{5000, 7000}}, {QStringLiteral("de")});
    const DiscTitle three = title(3, 3000, {{0, 3000}});
    struct Row {
        const char* what;
        void (*change)(DiscSpec&);
        std::vector<DiscTitle> left;
    };
    const DiscTitle oneWithoutFirst = title(1, 12000, {{5000, 7000}}, {QStringLiteral("de")});
    const Row rows[] = {
        {"nothing changed", [](DiscSpec&) {}, {one, two, three}},
        {"title set 0", [](DiscSpec& d) { d.titles[2].title_set_nr = 0; }, {one, two}},
        {"title set beyond the count", [](DiscSpec& d) { d.titleSets = 1; }, {one, two}},
        {"title set that cannot be read", [](DiscSpec& d) { d.sets.erase(2); }, {one, two}},
        {"no title 0 in a set", [](DiscSpec& d) { d.titles[0].vts_ttn = 0; }, {two, three}},
        {"title beyond its set's", [](DiscSpec& d) { d.titles[0].vts_ttn = 3; }, {two, three}},
        {"chain 0",
         [](DiscSpec& d) { d.sets[1].titles[0][0].pgcn = 0; },
         {oneWithoutFirst, two, three}},
        {"chain beyond the table",
         [](DiscSpec& d) { d.sets[1].titles[0][0].pgcn = 9; },
         {oneWithoutFirst, two, three}},
        {"chain not there", [](DiscSpec& d) { d.sets[2].chains[0].missing = true; }, {one, two}},
        {"program 0",
         [](DiscSpec& d) { d.sets[1].titles[0][0].pgn = 0; },
         {oneWithoutFirst, two, three}},
        {"program beyond the chain's",
         [](DiscSpec& d) { d.sets[1].titles[1][0].pgn = 3; },
         {one, three}},
        {"program at cell 0",
         [](DiscSpec& d) { d.sets[2].chains[0].programMap[0] = 0; },
         {one, two}},
        {"program beyond the cells",
         [](DiscSpec& d) { d.sets[2].chains[0].programMap[0] = 2; },
         {one, two}},
        {"programs out of order",
         [](DiscSpec& d) {
             d.sets[1].chains[0].programMap = {2, 1};
         },
         {title(1, 12000, {{5000, 7000}, {0, 12000}}, {QStringLiteral("de")}),
          title(2, 12000, {{0, 12000}}, {QStringLiteral("de")}), three}},
        {"chain without cells", [](DiscSpec& d) { d.sets[2].chains[0].cells.clear(); }, {one, two}},
        {"set without a chapter table",
         [](DiscSpec& d) { d.sets[1].withoutChapterTable = true; },
         {three}},
        {"set without a chain table",
         [](DiscSpec& d) { d.sets[2].withoutChainTable = true; },
         {one, two}},
        {"set without attributes",
         [](DiscSpec& d) { d.sets[1].withoutAttributes = true; },
         {title(1, 12000, {{0, 5000}, {5000, 7000}}), title(2, 12000, {{5000, 7000}}), three}},
        {"manager without attributes",
         [](DiscSpec& d) { d.withoutManagerAttributes = true; },
         {one, two, three}},
    };
    for (const Row& row : rows) {
        DiscSpec disc = good();
        row.change(disc);
        EXPECT_EQ(BuiltTables(disc).titles(), row.left) << row.what;
    }
}

TEST(DvdTables, NoMoreThan99TitlesAnd999ChaptersAreListed) {
    DiscSpec disc;
    disc.titleSets = 1;
    disc.titles.assign(120, titleEntry(1, 1));
    TitleSetSpec set;
    ChainSpec chain;
    chain.programMap = {1};
    chain.cells = {cell(1)};
    set.chains = {chain};
    set.titles = {std::vector<ptt_info_t>(1200, chapter(1, 1))};
    disc.sets[1] = set;
    const std::vector<DiscTitle> titles = BuiltTables(disc).titles();
    ASSERT_EQ(titles.size(), 99u);
    EXPECT_EQ(titles.back().number, 99);
    EXPECT_EQ(titles.back().chapters.size(), 999u);
}

TEST(DvdTables, LanguagesAreTwoLettersEachOnceOrUnnamed) {
    const struct {
        std::vector<LanguageSpec> audio;
        QStringList expected;
    } rows[] = {
        {{language("DE"), language("en")}, {QStringLiteral("de"), QStringLiteral("en")}},
        {{language("de"), language("de"), language("fr")},
         {QStringLiteral("de"), QStringLiteral("fr")}},
        {{{0, 0x6465}}, {QString()}},              // the code names no language
        {{{1, 0x3132}, {1, 0x0000}}, {QString()}}, // no letters
        {std::vector<LanguageSpec>(9, language("it")), {QStringLiteral("it")}},
    };
    for (const auto& row : rows) {
        DiscSpec disc;
        disc.titleSets = 1;
        disc.titles = {titleEntry(1, 1)};
        disc.sets[1] = simpleSet({1});
        disc.sets[1].audio = row.audio;
        disc.sets[1].subtitles = row.audio;
        const std::vector<DiscTitle> titles = BuiltTables(disc).titles();
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_EQ(titles[0].audioLanguages, row.expected);
        EXPECT_EQ(titles[0].subtitleLanguages, row.expected);
    }
}

TEST(DiscTitles, Texts) {
    EXPECT_EQ(durationText(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(durationText(6723000), QStringLiteral("1:52:03"));
    EXPECT_EQ(durationText(4499), QStringLiteral("0:00:04"));
    EXPECT_EQ(durationText(4500), QStringLiteral("0:00:05"));
    EXPECT_EQ(durationText(36000000), QStringLiteral("10:00:00"));
    DiscTitle film = title(3, 6723000, std::vector<std::pair<std::int64_t, std::int64_t>>(24),
                           {QStringLiteral("de"), QStringLiteral("en")},
                           {QStringLiteral("de"), QStringLiteral("en"), QStringLiteral("fr")});
    EXPECT_EQ(
        titleText(film, false),
        QStringLiteral("Titel 3 – 1:52:03 – 24 Kapitel – Ton: de, en – Untertitel: de, en, fr"));
    EXPECT_EQ(titleText(film, true),
              QStringLiteral("Titel 3 – 1:52:03 – 24 Kapitel – Ton: de, en – "
                             "Untertitel: de, en, fr – Hauptfilm"));
    EXPECT_EQ(titleText(title(12, 61000, {{0, 61000}}, {QString(), QStringLiteral("en")}), false),
              QStringLiteral("Titel 12 – 0:01:01 – 1 Kapitel – Ton: ?, en"));
    EXPECT_EQ(chapterText(2, {5000, 7000}),
              QStringLiteral("Kapitel 2 – ab 0:00:05 – Länge 0:00:07"));
}

TEST(DiscTitles, TheMainFilmIsTheFirstLongestTitle) {
    EXPECT_EQ(mainFilmIndex({}), -1);
    EXPECT_EQ(mainFilmIndex({title(1, 5, {}), title(2, 9, {}), title(3, 9, {}), title(4, 2, {})}),
              1);
    EXPECT_EQ(mainFilmIndex({title(1, 0, {})}), 0);
}

TEST(DiscTitles, AChoiceIsATitleOrARunOfItsChapters) {
    const struct {
        std::vector<ListedItem> chosen;
        std::optional<TitleChoice> choice;
    } rows[] = {
        {{}, std::nullopt},
        {{{2, 0}}, TitleChoice{2, 0, 0}},
        {{{1, 3}}, TitleChoice{1, 3, 3}},
        {{{1, 4}, {1, 2}}, TitleChoice{1, 2, 4}},
        {{{1, 2}, {1, 0}, {1, 5}}, TitleChoice{1, 0, 0}},
        {{{1, 2}, {2, 3}}, std::nullopt},
        {{{0, 0}, {1, 0}}, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(choiceOf(row.chosen), row.choice);
}

TEST(DiscTitles, StartsAreRoundedDownAndStopsUp) {
    const DiscTitle film = title(4, 12040, {{0, 4800}, {4800, 3000}, {7800, 4240}});
    const struct {
        int first;
        int last;
        TitleExcerpt excerpt;
    } rows[] = {
        {0, 0, {3, 4, 0, 13}}, // the whole title
        {1, 1, {3, 4, 0, 5}},  // 0 to 4.8 s
        {2, 2, {3, 4, 4, 8}},  // 4.8 to 7.8 s
        {2, 3, {3, 4, 4, 13}}, // 4.8 to 12.04 s
        {3, 2, {3, 4, 7, 13}}, // a run backwards is its first chapter
        {4, 4, {3, 4, 0, 13}}, // no such chapter: the whole title
    };
    for (const auto& row : rows)
        EXPECT_EQ(titleExcerpt(film, row.first, row.last, 3), row.excerpt)
            << row.first << "-" << row.last;
}

TEST(DiscTitles, EachChapterGoesIntoARowOfItsOwnUpToTheLast) {
    const DiscTitle film = title(2, 7000, {{0, 2000}, {2000, 2000}, {4000, 3000}});
    EXPECT_EQ(chapterExcerpts(film, 0, 0, 1),
              (std::vector<TitleExcerpt>{{1, 2, 0, 2}, {2, 2, 2, 4}, {3, 2, 4, 7}}));
    EXPECT_EQ(chapterExcerpts(film, 2, 3, 19),
              (std::vector<TitleExcerpt>{{19, 2, 2, 4}, {20, 2, 4, 7}}));
    EXPECT_EQ(chapterExcerpts(film, 1, 3, 20), (std::vector<TitleExcerpt>{{20, 2, 0, 2}}));
    EXPECT_EQ(chaptersWrittenMessage(3, 3, 1),
              QStringLiteral("3 Kapitel wurden als Ausschnitte 1 bis 3 eingetragen."));
    EXPECT_EQ(chaptersWrittenMessage(1, 3, 20),
              QStringLiteral("1 Kapitel wurde als Ausschnitt 20 eingetragen. 2 weitere Kapitel "
                             "passten nicht mehr in die Tabelle, die mit Ausschnitt 20 endet."));
    EXPECT_EQ(chaptersWrittenMessage(2, 3, 19),
              QStringLiteral("2 Kapitel wurden als Ausschnitte 19 bis 20 eingetragen. 1 weiteres "
                             "Kapitel passte nicht mehr in die Tabelle, die mit Ausschnitt 20 "
                             "endet."));
}

TEST(DiscTitles, TitlesComeThroughTheHelperAsTheyWereRead) {
    const std::vector<DiscTitle> titles = {
        title(1, 12000, {{0, 5000}, {5000, 7000}}, {QStringLiteral("de")}),
        title(7, 0, {}, {QString(), QStringLiteral("en")}, {QStringLiteral("fr")}),
    };
    EXPECT_EQ(decodeDiscTitles(encodeDiscTitles(titles)), titles);
    EXPECT_EQ(decodeDiscTitles(encodeDiscTitles({})), std::vector<DiscTitle>{});
}

TEST(DiscTitles, ABrokenAnswerIsNoList) {
    const std::string good =
        encodeDiscTitles({title(1, 12000, {{0, 5000}}, {QStringLiteral("de")})});
    const std::string rows[] = {
        std::string(),
        good.substr(0, good.size() - 4),   // cut short
        good + "1" + std::string(1, '\0'), // a field too many
        bytes("100\0"),                    // more titles than a disc has
        bytes("1\0-1\0"),                  // a negative number
        bytes("1\0x1\0"),                  // not a number
        bytes("1\0"
              "1\0"
              "0\0"
              "0\0"
              "1\0"
              "DE\0"
              "0\0"), // a code in capitals
        bytes("1\0"
              "1\0"
              "0\0"
              "0\0"
              "9\0"), // too many audio streams
    };
    for (const std::string& answer : rows)
        EXPECT_ANY_THROW(decodeDiscTitles(answer)) << answer.size();
}

TEST(DiscReader, AnArgumentComesBackWholeWhateverItHolds) {
    for (const std::string text : {"/media/lehrer/MEIN FILM", "D:\\", "D:", "C:\\Users\\Zoë\\",
                                   "say \"hi\"", "a\\\"b", "\\\\server\\share\\", "", " "}) {
        const std::vector<std::string> arguments = platform::splitCommandLine(
            "reader " + quotedArgument(text) + " " + quotedArgument("x"));
        EXPECT_EQ(arguments, (std::vector<std::string>{"reader", text, "x"})) << text;
    }
}
