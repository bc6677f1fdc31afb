// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// File-system tests the program needs, with the rules of the Windows file system: names
// are matched without regard to the case of a-z. Paths and every other text of the
// platform layer are UTF-8, on every system.
namespace filmarin::platform {

// The separator the program puts between the parts of a path it builds.
char pathSeparator();

// True when the path exists and is a folder.
bool folderExists(const std::string& path);

struct FoundEntry {
    bool found = false;
    bool isFolder = false;
    std::string name;
    // False where a listing did not tell whether the entry is a folder (a link, or a file
    // system that does not say): isFolder is false then, and the entry must be asked.
    bool kindKnown = true;
};

// The first entry a directory search for `pattern` finds: the last part of the pattern may
// hold the wildcards * and ?; every kind of entry counts (hidden, system, folders).
FoundEntry findFirstEntry(const std::string& pattern);

// Every entry of a folder but "." and "..", in one look at it and no look at any entry, in
// name order; empty when the folder cannot be read.
std::vector<FoundEntry> listFolder(const std::string& folder);

// The path as the file system spells it: every part that exists only in another case of
// a-z is written as it stands on disk, so that files made under the result land where
// folderExists and findFirstEntry looked. Windows matches names that way itself and gives
// the path back unchanged.
std::string pathAsStored(const std::string& path);

// Creates one folder (its parent must exist); true when it was created.
bool createFolder(const std::string& path);

// The system's reason for the last failed file operation of this thread, in words.
std::string lastErrorText();

} // namespace filmarin::platform
