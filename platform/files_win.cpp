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

std::vector<FoundEntry> listFolder(const std::string& folder) {
    std::vector<FoundEntry> entries;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/')
        pattern += '\\';
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(widen(pattern + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::wstring name(data.cFileName);
        if (name == L"." || name == L"..")
            continue;
        FoundEntry entry;
        entry.found = true;
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.name = narrow(name);
        entries.push_back(entry);
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return entries;
}

bool createFolder(const std::string& path) {
    return CreateDirectoryW(widen(path).c_str(), nullptr) != 0;
}

std::string lastErrorText() {
    return systemMessageText(GetLastError());
}

} // namespace filmarin::platform
