// SPDX-License-Identifier: GPL-3.0-or-later
#include "files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace filmarin::platform {

namespace {

char foldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool equalsFolded(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

// Windows wildcard match: * any run of characters, ? one character, a-z folded.
bool wildcardMatch(const char* pattern, const char* name) {
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || (*pattern && foldAscii(*pattern) == foldAscii(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* e = readdir(dir)) {
        names.emplace_back(e->d_name);
    }
    closedir(dir);
    // Windows lists the entries of a disc in name order; keep that order here too.
    std::sort(names.begin(), names.end());
    return names;
}

// The path with every part that does not exist as written replaced by the first entry of
// its folder that equals it apart from the case of a-z.
std::string resolveCase(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) == 0)
        return path;
    std::string resolved;
    std::size_t pos = 0;
    if (path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        std::string part = path.substr(pos, next - pos);
        if (!part.empty()) {
            std::string candidate = resolved;
            if (!candidate.empty() && candidate.back() != '/')
                candidate += '/';
            if (::lstat((candidate + part).c_str(), &st) != 0 && part != "." && part != "..") {
                for (const std::string& name : entriesOf(resolved)) {
                    if (equalsFolded(name, part)) {
                        part = name;
                        break;
                    }
                }
            }
            resolved = candidate + part;
        }
        pos = next + 1;
    }
    return resolved;
}

} // namespace

char pathSeparator() {
    return '/';
}

std::string pathAsStored(const std::string& path) {
    return resolveCase(path);
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(resolveCase(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FoundEntry findFirstEntry(const std::string& pattern) {
    FoundEntry result;
    const std::size_t slash = pattern.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    const std::string namePattern =
        slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (namePattern.empty())
        return result;
    std::string resolvedFolder = resolveCase(folder);
    if (!resolvedFolder.empty() && resolvedFolder.back() != '/')
        resolvedFolder += '/';
    for (const std::string& name : entriesOf(resolvedFolder)) {
        if (name == "." || name == "..")
            continue;
        if (!wildcardMatch(namePattern.c_str(), name.c_str()))
            continue;
        result.found = true;
        result.name = name;
        struct stat st {};
        const std::string full = resolvedFolder + name;
        result.isFolder = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return result;
    }
    return result;
}

std::vector<FoundEntry> listFolder(const std::string& folder) {
    std::vector<FoundEntry> entries;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return entries;
    while (const dirent* e = readdir(dir)) {
        const std::string name(e->d_name);
        if (name == "." || name == "..")
            continue;
        FoundEntry entry;
        entry.found = true;
        entry.name = name;
        entry.isFolder = e->d_type == DT_DIR;
        entry.kindKnown = e->d_type != DT_UNKNOWN && e->d_type != DT_LNK;
        entries.push_back(entry);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const FoundEntry& a, const FoundEntry& b) { return a.name < b.name; });
    return entries;
}

bool createFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

std::string lastErrorText() {
    return std::strerror(errno);
}

} // namespace filmarin::platform
