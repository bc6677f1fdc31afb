// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "disctitles.h"

#include <QString>
#include <chrono>
#include <string>
#include <vector>

// A video DVD's titles read in a process of its own, the disc reader beside the program: a
// damaged or hostile disc that makes libdvdread fail badly (it can free a table twice or
// follow a null pointer) ends that process, not the program.
namespace filmarin {

// The disc reader's file: beside the running program.
QString discReaderPath();

// Runs `reader` on the video DVD in `root` and gives the titles it read. Throws when the
// reader cannot be started, has not ended within `longest` (it is ended then), or gives no
// list: the disc could not be read. Waits on the calling thread.
std::vector<DiscTitle> readDiscTitlesApart(const QString& reader, const QString& root,
                                           std::chrono::milliseconds longest);

// The disc reader itself: `arguments` are its program name, the disc and the file its answer
// goes to. Reads the disc and writes its titles into that file as the drive helper's answer
// carries them; gives the process's exit code (0 when it wrote them).
int discReaderMain(const QStringList& arguments);

// One argument of a command line, quoted as the Windows C runtime (and
// platform::splitCommandLine) reads it back whole, whatever it holds.
std::string quotedArgument(const std::string& text);

} // namespace filmarin
