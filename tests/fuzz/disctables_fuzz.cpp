// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a disc's navigation tables from arbitrary bytes, as libdvdread could hand them over
// from a damaged or hostile disc (every array as long as its count, everything else
// anything), and turns them into titles and chapters; then sends those through the drive
// helper's answer and back, and works out what a choice among them writes into the table.
// The helper's answer is also read straight from the bytes.
#include "../sources/dvdtables_builder.h"
#include "check.h"
#include "sources/disctitles.h"
#include "sources/helperdrives.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <string>

using namespace filmarin;
using namespace filmarin::testing;
using filmarin::fuzz::check;

namespace {

// Mostly small numbers, which name things the tables hold; now and then any.
int number(FuzzedDataProvider& in, int small) {
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
        return in.ConsumeIntegral<std::uint16_t>();
    return in.ConsumeIntegralInRange<int>(0, small);
}

dvd_time_t anyTime(FuzzedDataProvider& in) {
    return dvd_time_t{in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
                      in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>()};
}

std::vector<LanguageSpec> languages(FuzzedDataProvider& in, int most) {
    std::vector<LanguageSpec> codes(static_cast<std::size_t>(in.ConsumeIntegralInRange(0, most)));
    for (LanguageSpec& code : codes) {
        code.type = in.ConsumeIntegralInRange(0, 3);
        code.code = in.ConsumeIntegral<std::uint16_t>();
    }
    return codes;
}

TitleSetSpec titleSet(FuzzedDataProvider& in) {
    TitleSetSpec set;
    set.titles.resize(static_cast<std::size_t>(number(in, 4)) % 200);
    for (auto& chapters : set.titles) {
        chapters.resize(static_cast<std::size_t>(number(in, 12)) % 1100);
        for (ptt_info_t& chapter : chapters) {
            chapter.pgcn = static_cast<std::uint16_t>(number(in, 6));
            chapter.pgn = static_cast<std::uint16_t>(number(in, 6));
        }
    }
    set.chains.resize(static_cast<std::size_t>(in.ConsumeIntegralInRange(0, 6)));
    for (ChainSpec& chain : set.chains) {
        chain.missing = in.ConsumeIntegralInRange(0, 9) == 0;
        chain.programMap.resize(static_cast<std::size_t>(in.ConsumeIntegralInRange(0, 8)));
        for (std::uint8_t& first : chain.programMap)
            first = static_cast<std::uint8_t>(number(in, 9));
        chain.cells.resize(static_cast<std::size_t>(in.ConsumeIntegralInRange(0, 10)));
        for (CellSpec& cell : chain.cells) {
            cell.time = anyTime(in);
            cell.blockMode = in.ConsumeIntegralInRange(0, 3);
            cell.blockType = in.ConsumeIntegralInRange(0, 3);
        }
    }
    set.audio = languages(in, 10);
    set.subtitles = languages(in, 34);
    set.withoutChapterTable = in.ConsumeIntegralInRange(0, 15) == 0;
    set.withoutChainTable = in.ConsumeIntegralInRange(0, 15) == 0;
    set.withoutAttributes = in.ConsumeIntegralInRange(0, 15) == 0;
    return set;
}

bool isLanguage(const QString& code) {
    return code.isEmpty() ||
           (code.size() == 2 && code[0] >= QLatin1Char('a') && code[0] <= QLatin1Char('z') &&
            code[1] >= QLatin1Char('a') && code[1] <= QLatin1Char('z'));
}

void checkTitles(const std::vector<DiscTitle>& titles) {
    check(titles.size() <= kMostDiscTitles, "at most 99 titles");
    std::int32_t before = 0;
    for (const DiscTitle& title : titles) {
        check(title.number > before && title.number <= kMostDiscTitles,
              "titles keep the disc's numbers, in order");
        before = title.number;
        check(!title.chapters.empty() && title.chapters.size() <= kMostTitleChapters,
              "a listed title has 1 to 999 chapters");
        for (const DiscChapter& chapter : title.chapters) {
            check(chapter.startMs >= 0 && chapter.lengthMs >= 0 &&
                      chapter.startMs + chapter.lengthMs <= title.lengthMs,
                  "a chapter lies within its title");
        }
        check(title.audioLanguages.size() <= 8 && title.subtitleLanguages.size() <= 32,
              "no more languages than streams");
        for (const QStringList* codes : {&title.audioLanguages, &title.subtitleLanguages}) {
            for (const QString& code : *codes)
                check(isLanguage(code), "a language is two small letters or unnamed");
        }
    }
}

void checkChoices(const std::vector<DiscTitle>& titles) {
    const int mainFilm = mainFilmIndex(titles);
    check(titles.empty() == (mainFilm < 0), "a disc with titles has a main film");
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const DiscTitle& title = titles[i];
        check(!titleText(title, static_cast<int>(i) == mainFilm).isEmpty(), "a title has a text");
        const int count = static_cast<int>(title.chapters.size());
        const std::int64_t longest = (title.lengthMs + 999) / 1000;
        const TitleExcerpt whole = titleExcerpt(title, 0, 0, 1);
        check(whole.startSecond == 0 && whole.stopSecond == longest,
              "a whole title goes from 0:00:00 to its length, rounded up");
        for (const auto& [first, last] : {std::pair{1, count}, std::pair{count, 1}}) {
            const TitleExcerpt excerpt = titleExcerpt(title, first, last, 1);
            check(excerpt.startSecond >= 0 && excerpt.startSecond <= excerpt.stopSecond &&
                      excerpt.stopSecond <= longest,
                  "an excerpt of chapters lies within its title");
        }
        const std::vector<TitleExcerpt> each = chapterExcerpts(title, 0, 0, 15);
        check(each.size() == static_cast<std::size_t>(std::min(count, 6)),
              "each chapter gets a row as far as the table goes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as the helper's answer.
    try {
        const std::vector<DiscTitle> answered =
            decodeDiscTitles(std::string(reinterpret_cast<const char*>(data), size));
        checkTitles(answered);
        check(decodeDiscTitles(encodeDiscTitles(answered)) == answered, "an answer reads back");
    } catch (const std::exception&) {
    }

    // The bytes as navigation tables.
    FuzzedDataProvider in(data, size);
    DiscSpec disc;
    disc.titleSets = number(in, 5);
    disc.withoutManagerAttributes = in.ConsumeIntegralInRange(0, 15) == 0;
    disc.titles.resize(static_cast<std::size_t>(number(in, 8)) % 130);
    for (title_info_t& title : disc.titles) {
        title.title_set_nr = static_cast<std::uint8_t>(number(in, 5));
        title.vts_ttn = static_cast<std::uint8_t>(number(in, 4));
    }
    const int sets = in.ConsumeIntegralInRange(0, 5);
    for (int set = 1; set <= sets; ++set) {
        if (in.ConsumeIntegralInRange(0, 7) != 0)
            disc.sets[set] = titleSet(in);
    }
    const std::vector<DiscTitle> titles = BuiltTables(disc).titles();
    checkTitles(titles);
    check(decodeDiscTitles(encodeDiscTitles(titles)) == titles,
          "titles come through the helper unchanged");
    checkChoices(titles);
    return 0;
}
