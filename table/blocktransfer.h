// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tableview.h"

#include <QString>
#include <cstdint>
#include <span>

// Moves a rectangle of grid cells into a value array and back. Every transfer visits the
// block column by column and, within a column, row by row. The read transfers store each
// accepted cell at once and stop at the first rejected cell, which they select.
namespace filmarin {

// An empty cell reads as "0".
bool readRealBlock(CellGrid& grid, int firstColumn, int lastColumn, std::span<double> values,
                   int firstRow, int lastRow);

// An empty cell reads as "1"; a cell must hold a whole number of at least `minimum`.
bool readWholeBlock(std::int32_t minimum, CellGrid& grid, int firstColumn, int lastColumn,
                    std::span<std::int32_t> values, int firstRow, int lastRow);

// Each cell text is cut to its first 255 characters.
bool readTextBlock(const CellGrid& grid, int firstColumn, int lastColumn, std::span<QString> values,
                   int firstRow, int lastRow);

bool writeRealBlock(int width, int decimals, CellGrid& grid, std::span<const double> values,
                    int firstColumn, int lastColumn, int firstRow, int lastRow);
bool writeWholeBlock(CellGrid& grid, int firstColumn, int lastColumn,
                     std::span<const std::int32_t> values, int firstRow, int lastRow);
bool writeTextBlock(CellGrid& grid, int firstColumn, int lastColumn,
                    std::span<const QString> values, int firstRow, int lastRow);

// The first `count` characters (code points) of text.
QString leftCharacters(const QString& text, int count);

} // namespace filmarin
