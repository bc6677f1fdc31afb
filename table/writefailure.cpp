// SPDX-License-Identifier: GPL-3.0-or-later
#include "writefailure.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace filmarin {

WriteCause writeFailureCause(const QString& path, const QString& systemError, qint64 needed) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    const QString folderName = QDir::toNativeSeparators(folder.filePath());
    if (!folder.exists())
        return {WriteFailure::MissingFolder,
                QStringLiteral("Der Ordner \"%1\" ist nicht vorhanden.").arg(folderName)};
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.isReady()) {
        if (storage.isReadOnly())
            return {WriteFailure::ReadOnlyMedium,
                    QStringLiteral("Der Datenträger ist schreibgeschützt.")};
        if (storage.bytesAvailable() < needed)
            return {WriteFailure::FullMedium,
                    QStringLiteral("Der Datenträger ist voll. Bitte schaffen Sie Platz, und "
                                   "versuchen Sie es dann erneut.")};
    }
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isWritable())
        return {WriteFailure::ReadOnlyFile, QStringLiteral("Die Datei ist schreibgeschützt.")};
    if (!folder.isWritable())
        return {WriteFailure::FolderNotWritable,
                QStringLiteral("Sie dürfen im Ordner \"%1\" nicht schreiben.").arg(folderName)};
    QString text = systemError.trimmed();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return {WriteFailure::Other, text};
}

} // namespace filmarin
