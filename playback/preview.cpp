// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview.h"

#include "commandline.h"

namespace filmarin {

QString buildPreviewCommandLine(const MediaSource& source, std::int32_t title,
                                std::optional<std::int32_t> startSecond,
                                const QString& channelOptions) {
    QString parameters = QStringLiteral("--no-fullscreen --no-video-title-show --no-repeat ") +
                         channelOptions + QLatin1Char(' ') + sourceItem(source, title);
    if (startSecond && *startSecond > 0)
        parameters += QStringLiteral(" :start-time=") + QString::number(*startSecond) +
                      QStringLiteral(".000");
    return parameters;
}

PreviewStart previewStart(const ExcerptTable& table, int row) {
    PreviewStart from;
    if (row < 1 || row > kExcerptCount)
        return from;
    from.title = table.titleNumbers[cellIndex(0, row)];
    from.startSecond =
        secondsOf(table.startTimes[cellIndex(0, row)], table.startTimes[cellIndex(1, row)],
                  table.startTimes[cellIndex(2, row)]);
    return from;
}

QString positionNotGivenMessage() {
    return QStringLiteral("Der Player hat seine Position nicht genannt. Bitte versuchen Sie es "
                          "noch einmal, während die Vorschau läuft.");
}

void takeIntoRow(TableView& view, int row, TakenTime which, std::int64_t seconds,
                 std::optional<std::int64_t> title) {
    if (row < 1 || row > kExcerptCount)
        return;
    if (seconds < 0)
        seconds = 0;
    const HoursMinutesSeconds split = splitSeconds(seconds);
    CellGrid& grid = which == TakenTime::Start ? view.startTimes : view.stopTimes;
    grid.setCell(0, row, QString::number(split.hours));
    grid.setCell(1, row, QString::number(split.minutes));
    grid.setCell(2, row, QString::number(split.seconds));
    if (title && *title > 0)
        view.titles.setCell(0, row, QString::number(*title));
}

} // namespace filmarin
