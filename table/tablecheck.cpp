// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablecheck.h"

#include "blocktransfer.h"
#include "textops.h"

#include <cmath>
#include <span>

namespace filmarin {

namespace {

constexpr int kFirstRow = 1;
constexpr int kLastRow = kExcerptCount;

std::optional<std::int32_t> rowSeconds(const std::array<double, 4 * kTableRows>& times, int row) {
    return secondsOf(times[cellIndex(0, row)], times[cellIndex(1, row)], times[cellIndex(2, row)]);
}

// The cell of a time out of range that holds the offending value: the first whose own
// share (hours x 3600, minutes x 60, seconds) is out of range, else the one with the
// largest share, which carries the sum out of range.
int offendingTimeColumn(const std::array<double, 4 * kTableRows>& times, int row) {
    constexpr double factors[] = {3600.0, 60.0, 1.0};
    int largest = 0;
    double largestShare = -1.0;
    for (int column = 0; column < 3; ++column) {
        const double share = times[cellIndex(column, row)] * factors[column];
        if (!secondsOf(0.0, 0.0, share))
            return column;
        if (std::fabs(share) > largestShare) {
            largestShare = std::fabs(share);
            largest = column;
        }
    }
    return largest;
}

// A time whose total seconds no signed 32-bit value holds is rejected like any invalid
// cell: the cell that holds the offending value is selected.
bool timesInRange(const std::array<double, 4 * kTableRows>& times, CellGrid& grid) {
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        if (!rowSeconds(times, row)) {
            grid.selectCell(offendingTimeColumn(times, row), row);
            return false;
        }
    }
    return true;
}

void normaliseRow(std::array<double, 4 * kTableRows>& times, int row, std::int32_t total) {
    const HoursMinutesSeconds hms = splitSeconds(total);
    times[cellIndex(0, row)] = static_cast<double>(hms.hours);
    times[cellIndex(1, row)] = static_cast<double>(hms.minutes);
    times[cellIndex(2, row)] = static_cast<double>(hms.seconds);
}

} // namespace

QString timeCellMessage() {
    return QStringLiteral(
        "Nur Werteeingaben ohne Einheiten sind möglich. Bitte korrigieren Sie Ihre Eingabe");
}

QString titleCellMessage() {
    return QStringLiteral("Titel können nur ganzzahlige Werte größer 0 sein. Den passenden Titel "
                          "zu dem gewählten Ausschnitt finden Sie im VLC-Player unter "
                          "\"Wiedergabe\" -> \"Titel\"");
}

void labelGrids(TableView& view) {
    for (int n = 1; n < view.headings.rowCount(); ++n)
        view.headings.setCell(0, n, QStringLiteral("Ausschnitt ") + QString::number(n));
    const QString timeHeaders[] = {QStringLiteral("Stunden"), QStringLiteral("Minuten"),
                                   QStringLiteral("Sekunden")};
    for (CellGrid* grid : {&view.startTimes, &view.stopTimes}) {
        for (int column = 0; column < 3; ++column)
            grid->setCell(column, 0, timeHeaders[column]);
    }
    view.titles.setCell(0, 0, QStringLiteral("Nummer"));
    view.headings.setCell(1, 0, QStringLiteral("Text"));
}

bool checkTable(ExcerptTable& table, TableView& view) {
    const auto information = [&](const QString& text) {
        view.messages.showMessage(QStringLiteral("Information"), text, MessageIcon::Information);
    };
    if (!readRealBlock(view.startTimes, 0, 2, table.startTimes, kFirstRow, kLastRow) ||
        !timesInRange(table.startTimes, view.startTimes)) {
        information(timeCellMessage());
        return false;
    }
    if (!readRealBlock(view.stopTimes, 0, 2, table.stopTimes, kFirstRow, kLastRow) ||
        !timesInRange(table.stopTimes, view.stopTimes)) {
        information(timeCellMessage());
        return false;
    }
    if (!readWholeBlock(1, view.titles, 0, 0, table.titleNumbers, kFirstRow, kLastRow)) {
        information(titleCellMessage());
        return false;
    }
    return readTextBlock(view.headings, 1, 1, table.headings, kFirstRow, kLastRow);
}

bool computeSpans(ExcerptTable& table, ExcerptSpans& spans, const CheckList& play) {
    clearSpans(spans);
    bool result = false;
    for (int i = 1; i <= kExcerptCount; ++i) {
        const std::optional<std::int32_t> a = rowSeconds(table.startTimes, i);
        if (a)
            normaliseRow(table.startTimes, i, *a);
        const std::optional<std::int32_t> b = rowSeconds(table.stopTimes, i);
        if (b)
            normaliseRow(table.stopTimes, i, *b);
        if (a && b && *a >= 0 && *a < *b) {
            ExcerptSpan& span = spans[static_cast<std::size_t>(i - 1)];
            span.startSecond = *a;
            span.stopSecond = *b;
            if (i - 1 < play.count() && play.isChecked(i - 1)) {
                span.selected = true;
                result = true;
            }
        }
    }
    return result;
}

bool anySelected(const ExcerptSpans& spans) {
    for (const ExcerptSpan& span : spans) {
        if (span.selected)
            return true;
    }
    return false;
}

QString totalText(const ExcerptSpans& spans) {
    // Summed in 64 bits: twenty long spans together can pass the 32-bit range.
    std::int64_t total = 0;
    for (const ExcerptSpan& span : spans) {
        if (span.selected)
            total += static_cast<std::int64_t>(span.stopSecond) - span.startSecond;
    }
    const HoursMinutesSeconds hms = splitSeconds(total);
    return QString::number(hms.hours) + QStringLiteral("h ") + QString::number(hms.minutes) +
           QStringLiteral("min ") + QString::number(hms.seconds) + QStringLiteral("sec");
}

void showTotal(const ExcerptSpans& spans, TotalDisplay& total) {
    total.setText(totalText(spans));
    total.setHighlighted(anySelected(spans));
}

bool writeTableToGrids(const ExcerptTable& table, TableView& view) {
    writeTextBlock(view.headings, 1, 1, table.headings, kFirstRow, kLastRow);
    writeRealBlock(1, 0, view.startTimes, table.startTimes, 0, 2, kFirstRow, kLastRow);
    writeRealBlock(1, 0, view.stopTimes, table.stopTimes, 0, 2, kFirstRow, kLastRow);
    writeWholeBlock(view.titles, 0, 0, table.titleNumbers, kFirstRow, kLastRow);
    labelGrids(view);
    return true;
}

void refreshTotals(ExcerptTable& table, ExcerptSpans& spans, TableView& view) {
    if (!checkTable(table, view))
        return;
    computeSpans(table, spans, view.play);
    showTotal(spans, view.total);
    writeTableToGrids(table, view);
}

bool isLabelMarked(const ExcerptSpans& spans, int column, int row) {
    return column == 0 && row >= 1 && row <= kExcerptCount &&
           spans[static_cast<std::size_t>(row - 1)].selected;
}

} // namespace filmarin
