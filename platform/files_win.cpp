// SPDX-License-Identifier: GPL-3.0-or-later
#include "files.h"

#include <windows.h>

namespace filmarin::platform {

char pathSeparator() {
    return '\\';
}

std::string pathAsStored(const std::string& path) {
    return path;
}

bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FoundEntry findFirstEntry(const std::string& pattern) {
    FoundEntry result;
    WIN32_FIND_DATAA data{};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return result;
    result.found = true;
    result.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    result.name = data.cFileName;
    FindClose(search);
    return result;
}

bool createFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = n && text ? std::string(text, n) : std::string();
    if (text)
        LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

} // namespace filmarin::platform
