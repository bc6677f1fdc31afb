// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QString>

// Where the player is expected and whether its version is recent enough.
namespace filmarin {

// The program folder (ending with the separator) followed by the portable player's file.
QString playerPathIn(const QString& programFolder);

// True when the major and minor number of a file version make more than 1.69999999.
bool versionIsRecentEnough(const QString& fileVersion);

// The "FileVersion" text of a program file, empty when it has none.
QString fileVersionString(const QString& path);

QString playerVersionMessage();
void showPlayerVersionMessage(MessageSink& messages);

// Reads the player's version; when it is too old or missing the user is told so.
bool checkPlayerVersion(const QString& playerPath, MessageSink& messages);

// Sets `playerPath` to the player under the program folder and checks its version.
bool locatePlayer(const QString& programFolder, QString& playerPath, MessageSink& messages);

} // namespace filmarin
