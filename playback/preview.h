// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "table/tableview.h"

#include <QString>
#include <cstdint>
#include <optional>

// The preview: the source in the player's own window, whose position the teacher takes
// into the table as an excerpt's start or stop.
namespace filmarin {

enum class TakenTime { Start, Stop };

// Where the preview of a table's row starts: at the row's title (a DVD's title), from the
// row's start time as the table check takes it, or from the beginning when the row has none.
struct PreviewStart {
    std::int32_t title = 0;
    std::optional<std::int32_t> startSecond;
};
PreviewStart previewStart(const ExcerptTable& table, int row);

// Said when the player has not told its position.
QString positionNotGivenMessage();

// The preview player's parameters: a window (not full screen), the control channel's
// options, and the source at the title, from `startSecond` when given.
QString buildPreviewCommandLine(const MediaSource& source, std::int32_t title,
                                std::optional<std::int32_t> startSecond,
                                const QString& channelOptions);

// Writes `seconds` into the start or stop cells of `row` as hours, minutes and seconds,
// and `title`, when given, into the row's title cell.
void takeIntoRow(TableView& view, int row, TakenTime which, std::int64_t seconds,
                 std::optional<std::int64_t> title);

} // namespace filmarin
