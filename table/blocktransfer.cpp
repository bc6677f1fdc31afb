// SPDX-License-Identifier: GPL-3.0-or-later
#include "blocktransfer.h"

#include "excerpttable.h"
#include "textops.h"

namespace filmarin {

bool readRealBlock(CellGrid& grid, int firstColumn, int lastColumn, std::span<double> values,
                   int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            QString text = grid.cell(column, row);
            if (text.isEmpty())
                text = QStringLiteral("0");
            if (!parseReal(text, values[cellIndex(column, row)])) {
                grid.selectCell(column, row);
                return false;
            }
        }
    }
    return true;
}

bool readWholeBlock(std::int32_t minimum, CellGrid& grid, int firstColumn, int lastColumn,
                    std::span<std::int32_t> values, int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            QString text = grid.cell(column, row);
            if (text.isEmpty())
                text = QStringLiteral("1");
            const WholeParse number = parseWhole(text);
            if (!number.ok || number.notIntegral || number.value < minimum) {
                grid.selectCell(column, row);
                return false;
            }
            values[cellIndex(column, row)] = number.value;
        }
    }
    return true;
}

QString leftCharacters(const QString& text, int count) {
    qsizetype units = 0;
    int characters = 0;
    while (units < text.size() && characters < count) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
        ++characters;
    }
    return text.left(units);
}

bool readTextBlock(const CellGrid& grid, int firstColumn, int lastColumn, std::span<QString> values,
                   int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row)
            values[cellIndex(column, row)] =
                leftCharacters(grid.cell(column, row), kMaxHeadingLength);
    }
    return true;
}

bool writeRealBlock(int width, int decimals, CellGrid& grid, std::span<const double> values,
                    int firstColumn, int lastColumn, int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row)
            grid.setCell(column, row, formatReal(values[cellIndex(column, row)], width, decimals));
    }
    return true;
}

bool writeWholeBlock(CellGrid& grid, int firstColumn, int lastColumn,
                     std::span<const std::int32_t> values, int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row)
            grid.setCell(column, row, QString::number(values[cellIndex(column, row)]));
    }
    return true;
}

bool writeTextBlock(CellGrid& grid, int firstColumn, int lastColumn,
                    std::span<const QString> values, int firstRow, int lastRow) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row)
            grid.setCell(column, row, values[cellIndex(column, row)]);
    }
    return true;
}

} // namespace filmarin
