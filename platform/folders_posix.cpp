// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace filmarin::platform {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

// XDG_DOCUMENTS_DIR from the user's user-dirs.dirs, with $HOME expanded.
std::string xdgDocumentsFolder(const std::string& home) {
    std::string config;
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c == '/')
        config = c;
    else if (!home.empty())
        config = home + "/.config";
    else
        return {};
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        if (!value.empty() && value.front() == '/')
            return value;
    }
    return {};
}

} // namespace

bool specialFolderPath(void* /*ownerWindow*/, int folderId, std::string& path) {
    if (folderId != kDocumentsFolderId)
        return false;
    const std::string home = homeFolder();
    std::string documents = xdgDocumentsFolder(home);
    while (documents.size() > 1 && documents.back() == '/')
        documents.pop_back();
    if (isFolder(documents)) {
        path = documents;
        return true;
    }
    if (isFolder(home)) {
        path = home;
        return true;
    }
    return false;
}

std::string programFolder() {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return "./";
    std::string file(buffer.data(), static_cast<std::size_t>(n));
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

std::string folderThatCannotExist() {
    // Below a device file no folder can be made.
    return "/dev/null/filmarin";
}

void raiseOwnPriority() {
    // The high priority class of Windows; without the right to raise it the program simply
    // keeps its normal priority.
    (void)::setpriority(PRIO_PROCESS, 0, -10);
}

} // namespace filmarin::platform
