// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

// The one place where the program's text meets the platform layer's: names of files,
// folders and drives, and the player's command line. The platform layer speaks UTF-8 on
// every system; on Windows it hands the system UTF-16, so that every name a folder can hold
// arrives unchanged, whatever the ANSI code page.
namespace filmarin {

inline std::string toPlatform(const QString& text) {
    return text.toUtf8().toStdString();
}

inline QString fromPlatform(const std::string& text) {
    return QString::fromUtf8(text);
}

} // namespace filmarin
