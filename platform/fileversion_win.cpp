// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileversion.h"

#include <cstdio>
#include <vector>
#include <windows.h>

namespace filmarin::platform {

std::string fileVersionString(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, buffer.data()))
        return {};
    void* translation = nullptr;
    UINT translationLength = 0;
    if (!VerQueryValueA(buffer.data(), "\\\\VarFileInfo\\\\Translation", &translation,
                        &translationLength) ||
        !translation || translationLength < 4)
        return {};
    // The queries keep the doubled backslashes the version API has always been given here;
    // it reads them like single ones.
    const WORD* pair = static_cast<const WORD*>(translation);
    char query[64];
    std::snprintf(query, sizeof query, "\\\\StringFileInfo\\\\%.4X%.4X\\\\%s", pair[0], pair[1],
                  "FileVersion");
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(buffer.data(), query, reinterpret_cast<void**>(&value), &length) ||
        !value || length == 0)
        return {};
    return std::string(value, length - 1);
}

} // namespace filmarin::platform
