// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "views/views.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The player's command line for one segment of a playback run.
namespace filmarin {

constexpr int kTitleCardSeconds = 2;

// Everything the command line is built from, read when it is built.
struct SegmentInputs {
    const MediaSource& source;
    const ExcerptTable& table;  // title numbers and the audio language code
    const ExcerptSpans& spans;  // start, stop and selection per excerpt
    const CheckList& pauses;    // item n-1 ticked: pause after excerpt n
    const QString& imageFolder; // where the title cards are
    // The player's number of the screen the film goes full screen on; none where the
    // computer has one screen, and the command line then names no screen.
    std::optional<int> playerScreen = std::nullopt;
};

// A file path as it stands in a player item: every blank as %20, and the characters the
// player would read otherwise (%, #, the double quote, control characters) as %XX, so that
// the item always names that file and never splits into further arguments.
QString encodeFilePath(const QString& path);

// One item of the player's playlist: where it is, and its own options without their leading
// colon ("start-time=60.000"). The command line and the playlist file write the same items.
struct PlayerItem {
    QString location;
    QStringList options;
};

// The item as the command line writes it: the location, then " :" and each option.
QString commandLineItem(const PlayerItem& item);

// A title card's options: its picture for kTitleCardSeconds.
QStringList titleCardOptions();
// The title card at `cardPath` as the command line names it.
PlayerItem titleCardItem(const QString& cardPath);

// The source at a title (a DVD's title, a CD's track; unused for a video file); its only
// option is an audio CD's track.
PlayerItem sourcePlayerItem(const MediaSource& source, std::int32_t title);
// The same as the command line writes it.
QString sourceItem(const MediaSource& source, std::int32_t title);

// An excerpt's own options: its times and the audio language.
QStringList excerptOptions(const ExcerptSpan& span, const QString& audioLanguageCode);

// Title card item and source item of excerpt n, without its times.
QString buildExcerptItem(const SegmentInputs& inputs, int n);

// The option string of the source kind followed by `item`. With `playerScreen`, the film
// goes full screen on that screen (not for an audio CD, which plays in a window).
QString prependPlayerOptions(SourceKind kind, const QString& item,
                             std::optional<int> playerScreen = std::nullopt);

// The parameters of one segment: from nextExcerpt up to the first ticked pause or excerpt
// 20; nextExcerpt is left one past the last excerpt examined.
QString buildSegmentCommandLine(const SegmentInputs& inputs, std::int32_t& nextExcerpt);

} // namespace filmarin
