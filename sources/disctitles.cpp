// SPDX-License-Identifier: GPL-3.0-or-later
#include "disctitles.h"

#include "table/excerpttable.h"

#include <algorithm>

namespace filmarin {

namespace {

const QString kDash = QStringLiteral(" – ");

QString languagesText(const QStringList& codes) {
    QStringList shown;
    for (const QString& code : codes)
        shown << (code.isEmpty() ? QStringLiteral("?") : code);
    return shown.join(QStringLiteral(", "));
}

std::int64_t wholeSecondsDown(std::int64_t ms) {
    return ms <= 0 ? 0 : ms / 1000;
}

std::int64_t wholeSecondsUp(std::int64_t ms) {
    return ms <= 0 ? 0 : (ms + 999) / 1000;
}

} // namespace

int mainFilmIndex(const std::vector<DiscTitle>& titles) {
    int longest = -1;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (longest < 0 || titles[i].lengthMs > titles[static_cast<std::size_t>(longest)].lengthMs)
            longest = static_cast<int>(i);
    }
    return longest;
}

QString durationText(std::int64_t ms) {
    const HoursMinutesSeconds split = splitSeconds(ms <= 0 ? 0 : (ms + 500) / 1000);
    return QStringLiteral("%1:%2:%3")
        .arg(split.hours)
        .arg(split.minutes, 2, 10, QLatin1Char('0'))
        .arg(split.seconds, 2, 10, QLatin1Char('0'));
}

QString titleText(const DiscTitle& title, bool mainFilm) {
    QString text = QStringLiteral("Titel ") + QString::number(title.number) + kDash +
                   durationText(title.lengthMs) + kDash + QString::number(title.chapters.size()) +
                   QStringLiteral(" Kapitel");
    if (!title.audioLanguages.isEmpty())
        text += kDash + QStringLiteral("Ton: ") + languagesText(title.audioLanguages);
    if (!title.subtitleLanguages.isEmpty())
        text += kDash + QStringLiteral("Untertitel: ") + languagesText(title.subtitleLanguages);
    if (mainFilm)
        text += kDash + QStringLiteral("Hauptfilm");
    return text;
}

QString chapterText(int number, const DiscChapter& chapter) {
    return QStringLiteral("Kapitel ") + QString::number(number) + kDash + QStringLiteral("ab ") +
           durationText(chapter.startMs) + kDash + QStringLiteral("Länge ") +
           durationText(chapter.lengthMs);
}

std::optional<TitleChoice> choiceOf(const std::vector<ListedItem>& chosen) {
    if (chosen.empty())
        return std::nullopt;
    TitleChoice choice;
    choice.titleIndex = chosen.front().titleIndex;
    bool whole = false;
    for (const ListedItem& item : chosen) {
        if (item.titleIndex != choice.titleIndex)
            return std::nullopt;
        if (item.chapter < 1) {
            whole = true;
            continue;
        }
        if (choice.firstChapter == 0 || item.chapter < choice.firstChapter)
            choice.firstChapter = item.chapter;
        choice.lastChapter = std::max(choice.lastChapter, item.chapter);
    }
    if (whole)
        choice.firstChapter = choice.lastChapter = 0;
    return choice;
}

TitleExcerpt titleExcerpt(const DiscTitle& title, int first, int last, int row) {
    TitleExcerpt excerpt;
    excerpt.row = row;
    excerpt.title = title.number;
    const int count = static_cast<int>(title.chapters.size());
    if (first < 1 || first > count) {
        excerpt.stopSecond = wholeSecondsUp(title.lengthMs);
        return excerpt;
    }
    last = std::clamp(last, first, count);
    const DiscChapter& from = title.chapters[static_cast<std::size_t>(first - 1)];
    const DiscChapter& to = title.chapters[static_cast<std::size_t>(last - 1)];
    excerpt.startSecond = wholeSecondsDown(from.startMs);
    excerpt.stopSecond = wholeSecondsUp(std::max(to.startMs + to.lengthMs, from.startMs));
    return excerpt;
}

std::vector<TitleExcerpt> chapterExcerpts(const DiscTitle& title, int first, int last, int row) {
    const int count = static_cast<int>(title.chapters.size());
    if (first < 1 || first > count) {
        first = 1;
        last = count;
    }
    last = std::clamp(last, first, count);
    std::vector<TitleExcerpt> excerpts;
    for (int chapter = first; chapter <= last && row <= kExcerptCount; ++chapter, ++row) {
        if (row >= 1)
            excerpts.push_back(titleExcerpt(title, chapter, chapter, row));
    }
    return excerpts;
}

QString discReadingText() {
    return QStringLiteral("Der Datenträger wird gelesen …");
}

QString discNotAnsweringMessage(const QString& drive) {
    return QStringLiteral("Der Datenträger in Laufwerk ") + drive +
           QStringLiteral(" antwortet nicht. Bitte prüfen Sie das Laufwerk, und versuchen Sie es "
                          "dann erneut.");
}

QString discUnreadableMessage(const QString& drive) {
    return QStringLiteral("Die Titel und Kapitel des Datenträgers in Laufwerk ") + drive +
           QStringLiteral(" können nicht gelesen werden. Bitte prüfen Sie, ob dort eine "
                          "Video-DVD eingelegt ist.");
}

QString discWithoutTitlesMessage(const QString& drive) {
    return QStringLiteral("Auf dem Datenträger in Laufwerk ") + drive +
           QStringLiteral(" wurden keine Titel gefunden.");
}

QString chaptersWrittenMessage(int written, int chosen, int firstRow) {
    QString text;
    if (written <= 0) {
        text = QStringLiteral("Es wurde kein Kapitel eingetragen.");
    } else if (written == 1) {
        text = QStringLiteral("1 Kapitel wurde als Ausschnitt %1 eingetragen.").arg(firstRow);
    } else {
        text = QStringLiteral("%1 Kapitel wurden als Ausschnitte %2 bis %3 eingetragen.")
                   .arg(written)
                   .arg(firstRow)
                   .arg(firstRow + written - 1);
    }
    const int left = chosen - written;
    if (left == 1) {
        text += QStringLiteral(" 1 weiteres Kapitel passte nicht mehr in die Tabelle, die mit "
                               "Ausschnitt %1 endet.")
                    .arg(kExcerptCount);
    } else if (left > 1) {
        text += QStringLiteral(" %1 weitere Kapitel passten nicht mehr in die Tabelle, die mit "
                               "Ausschnitt %2 endet.")
                    .arg(left)
                    .arg(kExcerptCount);
    }
    return text;
}

} // namespace filmarin
