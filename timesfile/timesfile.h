// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/excerpttable.h"
#include "table/tableview.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Times files (".zei"): the excerpt table as a fixed little-endian binary image.
namespace filmarin {

constexpr std::int32_t kTimesFileVersion = 11;
// Size of a file of the current version, and where files older than it end.
constexpr qsizetype kTimesFileSize = 17697;
constexpr qsizetype kOldTimesFileSize = 1401;

// Offsets of the blocks.
namespace TimesFileOffset {
constexpr qsizetype Version = 0;
constexpr qsizetype StartTimes = 4;
constexpr qsizetype StopTimes = 676;
constexpr qsizetype PlayFlags = 1348;
constexpr qsizetype PauseFlags = 1369;
constexpr qsizetype LanguageCode = 1390;
constexpr qsizetype TitleNumbers = 1401;
constexpr qsizetype Headings = 1569;
} // namespace TimesFileOffset

// The file image of a table, with `version` in front.
QByteArray encodeTimesFile(const ExcerptTable& table, std::int32_t version = kTimesFileVersion);

// The table a file image holds, starting from `current` (an older file keeps its title
// numbers and headings); empty when the image ends before a block it must hold.
std::optional<ExcerptTable> decodeTimesFile(const QByteArray& bytes, const ExcerptTable& current);

// All play flags 1, all pause flags 0.
void resetFlags(ExcerptTable& table);
// The flags from the ticks of the two lists, after resetFlags.
void flagsFromLists(ExcerptTable& table, const CheckList& pauses, const CheckList& play);
// The ticks of the two lists from the flags.
void flagsToLists(const ExcerptTable& table, CheckList& pauses, CheckList& play);

// What saving and loading need of the main window.
struct TimesFileContext {
    ExcerptTable& table;
    ExcerptSpans& spans;
    TableView& view;
    std::function<void()> languageCodeFromMenu;
    std::function<void()> menuFromLanguageCode;
    std::function<void()> refreshTotals;
    std::function<void()> repaintMarks;
};

QString readOnlyMediumMessage();
// A times file that could not be saved at `path`, with its cause: the read-only medium's
// message for a write-protected medium, else the file and what kept it from being written.
QString saveFailedMessage(const QString& path, const QString& systemError, qint64 needed);
QString cannotOpenMessage();

// Checks and tidies the table, then writes it; a failed write leaves an existing file as it
// was. False after a message when the table or the file could not be written.
bool saveTimesFile(const QString& path, TimesFileContext& context);

// The excerpts whose headings the file `image` does not hold as the table does: a
// character that code page 1252 lacks is saved as "?", and a long heading is cut.
std::vector<int> headingsChangedBySaving(const ExcerptTable& table, const QByteArray& image);
// Says that the file was saved, and which headings it holds otherwise.
QString changedHeadingsMessage(const std::vector<int>& excerpts);

// Reads and checks the whole file before anything changes; then shows the loaded table.
// False after a message when the file could not be read, and nothing has changed.
bool loadTimesFile(const QString& path, TimesFileContext& context);

} // namespace filmarin
