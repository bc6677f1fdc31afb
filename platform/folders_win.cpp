// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders.h"
#include "wintext.h"

#include <shlobj.h>
#include <vector>
#include <windows.h>

namespace filmarin::platform {

bool specialFolderPath(void* ownerWindow, int folderId, std::string& path) {
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) != S_OK || !allocator)
        return false;
    LPITEMIDLIST list = nullptr;
    bool ok = false;
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    if (SHGetSpecialFolderLocation(static_cast<HWND>(ownerWindow), folderId, &list) == S_OK &&
        list && SHGetPathFromIDListW(list, buffer.data())) {
        path = narrow(std::wstring(buffer.data()));
        // Some shells end the folder with a backslash; the program's paths add their own.
        if (path.size() > 3 && path.back() == '\\')
            path.pop_back();
        ok = true;
    }
    if (list)
        allocator->Free(list);
    allocator->Release();
    return ok;
}

std::string programFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD n = 0;
    while (true) {
        n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size() || buffer.size() > 32768)
            break;
        buffer.resize(buffer.size() * 2);
    }
    const std::string file = narrow(buffer.data(), n);
    const std::size_t cut = file.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : file.substr(0, cut + 1);
}

std::string folderThatCannotExist() {
    // "<" and ">" are not allowed in Windows file names, so no such folder can be made.
    return "C:\\<keine Einstellungen>";
}

void raiseOwnPriority() {
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

} // namespace filmarin::platform
