// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// Why a file could not be written, in the user's words. Title cards and times files name the
// same causes.
namespace filmarin {

enum class WriteFailure {
    MissingFolder,     // the folder it goes into does not exist
    ReadOnlyMedium,    // the medium is write-protected (a CD, a locked card)
    FullMedium,        // the medium has no room for `needed` bytes
    ReadOnlyFile,      // a file of that name may not be changed
    FolderNotWritable, // the user may not write in the folder
    Other,             // the system's reason
};

struct WriteCause {
    WriteFailure kind = WriteFailure::Other;
    QString text; // one or two sentences, each ended by a full stop
};

// Looks at the place of `path` to tell why writing `needed` bytes there failed; `systemError`
// is the text the system gave, used when nothing else explains it.
WriteCause writeFailureCause(const QString& path, const QString& systemError, qint64 needed);

} // namespace filmarin
