// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace filmarin {

constexpr int kExcerptCount = 20;
// Rows per array column: row 0 belongs to the grids' header row, rows 1-20 to the excerpts.
constexpr int kTableRows = 21;
// Longest heading a table cell keeps, in characters.
constexpr int kMaxHeadingLength = 255;
// Longest audio language code a times file can hold.
constexpr int kMaxLanguageCodeLength = 10;

// Index of (column, row) in an array stored column by column with 21 rows per column.
constexpr int cellIndex(int column, int row) {
    return column * kTableRows + row;
}

// The value face of the excerpt table. Row 0 and the spare columns are carried along
// untouched so that a times file can be written back byte for byte.
struct ExcerptTable {
    std::array<double, 4 * kTableRows> startTimes{};         // hours, minutes, seconds, spare
    std::array<double, 4 * kTableRows> stopTimes{};          // as startTimes
    std::array<std::int32_t, 2 * kTableRows> titleNumbers{}; // column 0 used
    std::array<QString, 3 * kTableRows> headings;            // column 1 used
    std::array<std::uint8_t, kTableRows> playFlags{};        // entries 0-19: excerpts 1-20
    std::array<std::uint8_t, kTableRows> pauseFlags{};       // entries 0-18: "1-2" ... "19-20"
    QString audioLanguageCode = QStringLiteral("de");

    // Times 0.0, title numbers 1, headings one blank; flags and language stay.
    void init();
};

// One excerpt's play span in whole seconds; selected when it is to be played.
struct ExcerptSpan {
    std::int32_t startSecond = 0;
    std::int32_t stopSecond = 0;
    bool selected = false;
};

// Record k belongs to excerpt k+1.
using ExcerptSpans = std::array<ExcerptSpan, kExcerptCount>;

// Sets every field of every record to 0.
void clearSpans(ExcerptSpans& spans);

// hours*3600 + minutes*60 + seconds, rounded half to even; empty when the result is not a
// finite number that a signed 32-bit value can hold.
std::optional<std::int32_t> secondsOf(double hours, double minutes, double seconds);

struct HoursMinutesSeconds {
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
};

// Splits with division that truncates towards zero: -90 gives 0, -1, -30.
HoursMinutesSeconds splitSeconds(std::int64_t total);

} // namespace filmarin
