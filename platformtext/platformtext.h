// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

// The one place where the program's text meets the platform layer's: names of files,
// folders and drives, and the player's command line.
namespace filmarin {

inline std::string toPlatform(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

inline QString fromPlatform(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace filmarin
