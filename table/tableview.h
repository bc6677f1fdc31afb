// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

namespace filmarin {

// The editable face of the excerpt table as the main window shows it.
struct TableView {
    CellGrid& startTimes; // StringGrid1: hours, minutes, seconds
    CellGrid& stopTimes;  // StringGrid2
    CellGrid& titles;     // StringGrid3
    CellGrid& headings;   // StringGrid4: column 0 labels, column 1 headings
    CheckList& pauses;    // CheckListBox1: "1-2" ... "19-20"
    CheckList& play;      // CheckListBox2: "1" ... "20"
    TotalDisplay& total;  // LabeledEdit1
    MessageSink& messages;
};

} // namespace filmarin
