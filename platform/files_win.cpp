// SPDX-License-Identifier: GPL-3.0-or-later
#include "files.h"
#include "wintext.h"

#include <windows.h>

namespace filmarin::platform {

char pathSeparator() {
    return '\\';
}

std::string pathAsStored(const std::string& path) {
    return path;
}

bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FoundEntry findFirstEntry(const std::string& pattern) {
    FoundEntry result;
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(widen(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return result;
    result.found = true;
    result.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    result.name = narrow(std::wstring(data.cFileName));
    FindClose(search);
    return result;
}

bool createFolder(const std::string& path) {
    return CreateDirectoryW(widen(path).c_str(), nullptr) != 0;
}

std::string lastErrorText() {
    return systemMessageText(GetLastError());
}

} // namespace filmarin::platform
