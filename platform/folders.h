// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace filmarin::platform {

// Folder id of the user's documents folder.
constexpr int kDocumentsFolderId = 5;

// The file-system path of a special folder of the user (Windows folder ids; on Linux only
// the documents folder is known: the XDG documents folder, else the home folder).
// Returns false and leaves `path` alone when the folder cannot be told.
bool specialFolderPath(void* ownerWindow, int folderId, std::string& path);

// The folder of the running program file, ending with the path separator.
std::string programFolder();

// A folder that can neither exist nor be created, for settings that are to be kept
// nowhere: nothing can be read from it or written into it.
std::string folderThatCannotExist();

// Raises the program's own process to the high priority class; failures are ignored.
void raiseOwnPriority();

} // namespace filmarin::platform
