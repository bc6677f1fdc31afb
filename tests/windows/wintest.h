// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <windows.h>

namespace filmarin::testing {

// The folder of the test program, ending with a backslash; the fixtures stand beside it.
inline std::string testFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (n > 0 && path[n - 1] != '\\')
        --n;
    return std::string(path, n);
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace filmarin::testing
