// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/mediasource.h"
#include "table/excerpttable.h"

#include <QString>

namespace filmarin {

// The values the whole program shares, one instance for the whole run. The main window
// fills in the folders when it is created; the title cards set the image folder, the player
// check the player's path.
struct ProgramValues {
    ExcerptTable table;
    ExcerptSpans spans{};
    MediaSource source;
    QString documentsFolder;
    QString programFolder; // ends with the path separator
    QString imageFolder;   // where the title cards are written
    QString playerPath;
};

} // namespace filmarin
