// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "excerpttable.h"
#include "tableview.h"

// Checking, normalising and totalling the excerpt table.
namespace filmarin {

// Messages shown for rejected cells.
QString timeCellMessage();
QString titleCellMessage();

// Writes the header texts and the row labels "Ausschnitt N" into the grids.
void labelGrids(TableView& view);

// Reads every cell into the table; the first rejected cell is selected and its message
// shown, and the values read before it stay stored.
bool checkTable(ExcerptTable& table, TableView& view);

// Normalises every time row to whole hours, minutes and seconds and rebuilds the spans;
// true when at least one excerpt is selected (valid span and "Abspielen" ticked).
bool computeSpans(ExcerptTable& table, ExcerptSpans& spans, const CheckList& play);

// The total play time of the selected spans, as the total field shows it.
QString totalText(const ExcerptSpans& spans);
bool anySelected(const ExcerptSpans& spans);
void showTotal(const ExcerptSpans& spans, TotalDisplay& total);

// Writes headings, times and title numbers back into the grids, then labels them.
bool writeTableToGrids(const ExcerptTable& table, TableView& view);

// checkTable, and only when it succeeded computeSpans, showTotal and writeTableToGrids.
void refreshTotals(ExcerptTable& table, ExcerptSpans& spans, TableView& view);

// True for the label cells (column 0, rows 1-20) of selected excerpts, which are painted
// black on yellow.
bool isLabelMarked(const ExcerptSpans& spans, int column, int row);

} // namespace filmarin
