// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives.h"
#include "wintext.h"

#include <stdexcept>
#include <windows.h>

namespace filmarin::platform {

namespace {

std::wstring rootOf(const std::string& key) {
    return widen(key.substr(0, 1)) + L":\\";
}

std::string systemMessage(DWORD code) {
    const std::string message = systemMessageText(code);
    return message.empty() ? std::string("Not enough storage") : message;
}

// No "insert a disk" box while a drive is asked; the drives are asked on several threads at
// once, so the mode is the thread's own. Restored on every way out.
class ErrorModeGuard {
public:
    ErrorModeGuard() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &m_previous); }
    ~ErrorModeGuard() { SetThreadErrorMode(m_previous, nullptr); }
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

private:
    DWORD m_previous = 0;
};

} // namespace

std::vector<DriveInfo> listDrives() {
    std::vector<DriveInfo> list;
    wchar_t buffer[129] = {};
    const DWORD n = GetLogicalDriveStringsW(129, buffer);
    if (n == 0)
        return list;
    if (n > 129)
        throw std::runtime_error(systemMessage(ERROR_OUTOFMEMORY));
    const wchar_t* cursor = buffer;
    while (*cursor != L'\0' && cursor < buffer + 129) {
        DriveInfo drive;
        const std::wstring root(cursor);
        drive.root = narrow(root);
        drive.type = static_cast<std::uint8_t>(GetDriveTypeW(root.c_str()));
        drive.key = narrow(cursor, 1);
        list.push_back(drive);
        cursor += 4;
    }
    return list;
}

std::uint8_t driveType(const std::string& key) {
    return static_cast<std::uint8_t>(GetDriveTypeW(rootOf(key).c_str()));
}

bool volumeLabel(const std::string& key, std::string& label) {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD scratch = 0;
    if (!GetVolumeInformationW(rootOf(key).c_str(), buffer, MAX_PATH + 1, nullptr, &scratch,
                               &scratch, nullptr, 0)) {
        label.clear();
        return false;
    }
    label = narrow(std::wstring(buffer));
    return true;
}

bool driveReady(const std::string& key) {
    ErrorModeGuard errorMode;
    const std::wstring root = rootOf(key);
    if (isFloppyDrive(static_cast<std::uint8_t>(GetDriveTypeW(root.c_str())), key))
        return false;
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    return GetDiskFreeSpaceW(root.c_str(), &sectors, &bytes, &freeClusters, &clusters) != 0;
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
