// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives.h"

#include <stdexcept>
#include <windows.h>

namespace filmarin::platform {

namespace {

std::string rootOf(const std::string& key) {
    return key.substr(0, 1) + ":\\";
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : std::string("Not enough storage");
    if (text)
        LocalFree(text);
    return message;
}

// Restores the process error mode on every way out.
class ErrorModeGuard {
public:
    ErrorModeGuard() : m_previous(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeGuard() { SetErrorMode(m_previous); }
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

private:
    UINT m_previous;
};

} // namespace

std::vector<DriveInfo> listDrives() {
    std::vector<DriveInfo> list;
    char buffer[129] = {};
    const DWORD n = GetLogicalDriveStringsA(129, buffer);
    if (n == 0)
        return list;
    if (n > 129)
        throw std::runtime_error(systemMessage(ERROR_OUTOFMEMORY));
    const char* cursor = buffer;
    while (*cursor != '\0' && cursor < buffer + 129) {
        DriveInfo drive;
        drive.root = cursor;
        drive.type = static_cast<std::uint8_t>(GetDriveTypeA(drive.root.c_str()));
        drive.key = std::string(1, *cursor);
        list.push_back(drive);
        cursor += 4;
    }
    return list;
}

std::uint8_t driveType(const std::string& key) {
    return static_cast<std::uint8_t>(GetDriveTypeA(rootOf(key).c_str()));
}

bool volumeLabel(const std::string& key, std::string& label) {
    char buffer[64] = {};
    DWORD scratch = 0;
    if (!GetVolumeInformationA(rootOf(key).c_str(), buffer, 64, nullptr, &scratch, &scratch,
                               nullptr, 0)) {
        label.clear();
        return false;
    }
    label = buffer;
    return true;
}

bool driveReady(const std::string& key) {
    ErrorModeGuard errorMode;
    const std::string root = rootOf(key);
    if (isFloppyDrive(static_cast<std::uint8_t>(GetDriveTypeA(root.c_str())), key))
        return false;
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    return GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters) != 0;
}

std::string driveCaption(const std::string& key) {
    return key.substr(0, 1) + ":";
}

bool isAudioDisc(const std::string&) {
    return false;
}

std::string audioDiscDevice(const std::string& root) {
    return root;
}

std::string videoCdLocation(const std::string& root) {
    return root + "/";
}

} // namespace filmarin::platform
