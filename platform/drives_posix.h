// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Linux only: where the drive list reads the system, so that tests can use a fixture tree.
namespace filmarin::platform {

// What an optical drive reports about its disc (the CD-ROM disc-status request).
enum class DiscStatus { Unknown, NoDisc, Audio, Data, Mixed };

struct LinuxDriveSystem {
    // Prefix for /proc/self/mounts, /sys and /dev; empty for the real system.
    std::string root;
    // Asks the drive behind a device file (a path below `root`) about its disc.
    std::function<DiscStatus(const std::string& deviceFile)> discStatus;
    // Reads the file system label of the medium behind a device file.
    std::function<std::string(const std::string& deviceFile)> label;
};

// The real system: no prefix, the ioctl and libblkid.
LinuxDriveSystem realLinuxDriveSystem();
void setLinuxDriveSystem(LinuxDriveSystem system);

} // namespace filmarin::platform
