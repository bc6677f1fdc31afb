// SPDX-License-Identifier: GPL-3.0-or-later
#include "playercheck.h"

#include "platform/files.h"
#include "platform/fileversion.h"
#include "platformtext/platformtext.h"
#include "table/textops.h"

#include <QFile>

namespace filmarin {

QString playerPathIn(const QString& programFolder) {
    return programFolder + QStringLiteral("VLCportable") +
           QChar::fromLatin1(platform::pathSeparator()) + QStringLiteral("VLCportable.exe");
}

bool versionIsRecentEnough(const QString& fileVersion) {
    const SplitParts parts = splitBySeparator(fileVersion, QLatin1Char('.'));
    const QString minor = parts.second.isEmpty() ? QStringLiteral("0") : parts.second;
    double value = 0.0;
    if (!parseReal(parts.first + QLatin1Char('.') + minor, value))
        return false;
    return static_cast<long double>(value) > 1.69999999L;
}

QString fileVersionString(const QString& path) {
    return fromPlatform(platform::fileVersionString(toPlatform(path)));
}

QString playerVersionMessage() {
    return QStringLiteral("Diese Software funktioniert nur mit Version 1.7 oder einer höheren "
                          "Version des kostenlosen VLCportable-Players.");
}

void showPlayerVersionMessage(MessageSink& messages) {
    messages.showMessage(QStringLiteral("Information"), playerVersionMessage(),
                         MessageIcon::Information);
}

bool checkPlayerVersion(const QString& playerPath, MessageSink& messages) {
    if (versionIsRecentEnough(fileVersionString(playerPath)))
        return true;
    showPlayerVersionMessage(messages);
    return false;
}

bool locatePlayer(const QString& programFolder, QString& playerPath, MessageSink& messages) {
    playerPath = playerPathIn(programFolder);
    return checkPlayerVersion(playerPath, messages);
}

} // namespace filmarin
