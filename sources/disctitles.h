// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// A video DVD's own titles and chapters, as its navigation files tell them, and the excerpts
// a choice among them makes in the table.
namespace filmarin {

// The most titles a video DVD has, and the most chapters of a title.
constexpr int kMostDiscTitles = 99;
constexpr int kMostTitleChapters = 999;

struct DiscChapter {
    std::int64_t startMs = 0; // from the beginning of its title
    std::int64_t lengthMs = 0;
    bool operator==(const DiscChapter&) const = default;
};

struct DiscTitle {
    std::int32_t number = 0; // as the player counts titles: 1 to 99
    std::int64_t lengthMs = 0;
    std::vector<DiscChapter> chapters;
    // Two-letter codes in the disc's order, each once; empty where the disc names none.
    QStringList audioLanguages;
    QStringList subtitleLanguages;
    bool operator==(const DiscTitle&) const = default;
};

// The longest title, the first of equally long ones: the main film. -1 when there is none.
int mainFilmIndex(const std::vector<DiscTitle>& titles);

// Hours, minutes and seconds, rounded to the nearest second: "1:52:03".
QString durationText(std::int64_t ms);
// "Titel 3 – 1:52:03 – 24 Kapitel – Ton: de, en – Untertitel: de, en, fr", with
// " – Hauptfilm" after the main film's.
QString titleText(const DiscTitle& title, bool mainFilm);
// "Kapitel 2 – ab 0:00:05 – Länge 0:00:07".
QString chapterText(int number, const DiscChapter& chapter);

// An item of the list of titles: a title (chapter 0) or one of its chapters (from 1).
struct ListedItem {
    int titleIndex = 0;
    int chapter = 0;
};

// What the chosen items of the list make: a title, chosen alone or with any of its chapters,
// is the whole title; chapters of one title are the run from the first to the last of them.
// Empty when nothing is chosen, or items of more than one title.
struct TitleChoice {
    int titleIndex = 0;
    int firstChapter = 0; // 0: the whole title
    int lastChapter = 0;
    bool operator==(const TitleChoice&) const = default;
};
std::optional<TitleChoice> choiceOf(const std::vector<ListedItem>& chosen);

// One excerpt as the table takes it: a row, a title and whole seconds.
struct TitleExcerpt {
    int row = 0;
    std::int32_t title = 0;
    std::int64_t startSecond = 0;
    std::int64_t stopSecond = 0;
    bool operator==(const TitleExcerpt&) const = default;
};

// The excerpt of chapters `first` to `last` (counted from 1) of `title`, for `row`; the
// whole title when `first` is 0. The start is rounded down and the stop up, so that nothing
// of the choice is cut.
TitleExcerpt titleExcerpt(const DiscTitle& title, int first, int last, int row);
// Each of those chapters as an excerpt of its own, in the rows from `row` on, as far as the
// last excerpt of the table.
std::vector<TitleExcerpt> chapterExcerpts(const DiscTitle& title, int first, int last, int row);

// What the dialog says while the disc is read.
QString discReadingText();
QString discNotAnsweringMessage(const QString& drive);
QString discUnreadableMessage(const QString& drive);
QString discWithoutTitlesMessage(const QString& drive);
// After "Jedes Kapitel als eigener Ausschnitt": `written` of `chosen` chapters went into the
// rows from `firstRow` on.
QString chaptersWrittenMessage(int written, int chosen, int firstRow);

} // namespace filmarin
