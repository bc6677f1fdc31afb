// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileversion.h"
#include "wintext.h"

#include <cstdio>
#include <vector>
#include <windows.h>

namespace filmarin::platform {

std::string fileVersionString(const std::string& path) {
    DWORD handle = 0;
    const std::wstring file = widen(path);
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, buffer.data()))
        return {};
    void* translation = nullptr;
    UINT translationLength = 0;
    if (!VerQueryValueW(buffer.data(), L"\\\\VarFileInfo\\\\Translation", &translation,
                        &translationLength) ||
        !translation || translationLength < 4)
        return {};
    // The queries keep the doubled backslashes the version API has always been given here;
    // it reads them like single ones.
    const WORD* pair = static_cast<const WORD*>(translation);
    wchar_t query[64];
    std::swprintf(query, 64, L"\\\\StringFileInfo\\\\%.4X%.4X\\\\%ls", pair[0], pair[1],
                  L"FileVersion");
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), query, reinterpret_cast<void**>(&value), &length) ||
        !value || length == 0)
        return {};
    // The length counts the characters with the closing zero.
    return narrow(value, length - 1);
}

} // namespace filmarin::platform
