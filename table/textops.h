// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// Text and number rules shared by the whole program. Positions count from 1, as the
// table's users know them from the cells.
namespace filmarin {

// Result of ParseWhole: ok false means the text is no number (value 0) or a number that
// no signed 32-bit value can hold.
struct WholeParse {
    bool ok = false;
    std::int32_t value = 0;
    bool notIntegral = false;
};

// Reads a decimal number: leading blanks, optional sign, digits with at most one point
// (the first comma counts as a point), optional exponent, nothing after it.
// On failure `value` keeps what it held.
bool parseReal(const QString& text, double& value);

// Reads a number with parseReal and rounds it half to even to a signed 32-bit value.
WholeParse parseWhole(const QString& text);

// Fixed-point text with `decimals` digits after a comma, left-padded with blanks to
// `width`. NaN and infinities read "NAN", "INF" and "-INF".
QString formatReal(double value, int width, int decimals);

// Rounds half to even; the caller makes sure the result is meaningful for its type.
double roundHalfEven(double value);

// Replaces the first comma by a point, and the first point by a comma.
void commaToPoint(QString& text);
void pointToComma(QString& text);

// The characters from `position` (counted from 1) to the end.
QString textFrom(const QString& text, int position);

// Removes leading and trailing characters whose code is 32 or less.
void trimBlanks(QString& text);

// Every blank (code 32) replaced by `replacement`.
QString replaceBlanks(const QString& text, const QString& replacement);

// Same length and the same characters after folding a-z to A-Z; nothing else is folded.
bool equalsIgnoreCase(const QString& a, const QString& b);

// Splits `text` at `position` (from 1): head takes what stands before it, text keeps what
// follows; the character at `position` is dropped. See the implementation for the ends.
void splitAt(QString& text, int position, QString& head);

struct SplitParts {
    QString first;
    QString second;
    QString third;
    int count = 0;
};

// Splits at most twice at `separator`; the parts after a separator are trimmed at their start.
SplitParts splitBySeparator(const QString& text, QChar separator);

} // namespace filmarin
