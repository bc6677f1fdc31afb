// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the times-file reader, then shows and checks whatever it loaded
// the way the window does after loading.
#include "../table/memorytable.h"
#include "check.h"
#include "table/tablecheck.h"
#include "timesfile/timesfile.h"

#include <cstdio>
#include <cstdlib>

using namespace filmarin;

using filmarin::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ExcerptTable current;
    current.init();
    current.headings[cellIndex(1, 3)] = QStringLiteral("vorher");
    const QByteArray before = encodeTimesFile(current);

    const std::optional<ExcerptTable> loaded = decodeTimesFile(bytes, current);
    check(encodeTimesFile(current) == before, "the current table is never changed");
    if (!loaded) {
        check(size < 17697, "only short files are refused");
        return 0;
    }
    // Writing what was read and reading it again gives the same table.
    const QByteArray image = encodeTimesFile(*loaded);
    check(image.size() == 17697, "a written file has its full size");
    const std::optional<ExcerptTable> again = decodeTimesFile(image, current);
    check(again.has_value() && encodeTimesFile(*again) == image, "reading is stable");

    // What the window does with a loaded table: show it, check it, total it.
    testing::MemoryTable t;
    ExcerptTable table = *loaded;
    ExcerptSpans spans{};
    flagsToLists(table, t.pauses, t.play);
    writeTableToGrids(table, t.view);
    refreshTotals(table, spans, t.view);
    check(t.messages.shown.size() <= 1, "at most one message per refresh");
    for (const ExcerptSpan& span : spans)
        check(!span.selected || (span.startSecond >= 0 && span.startSecond < span.stopSecond),
              "selected spans are valid");
    return 0;
}
