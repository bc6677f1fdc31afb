// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The drives of the computer. A drive is named by its key: the drive letter on Windows, the
// mount point (or, for an optical drive without a mounted medium, its device) on Linux.
namespace filmarin::platform {

// Drive type codes: 0 unknown, 1 no root directory, 2 removable, 3 fixed, 4 remote,
// 5 CD-ROM (disc drive), 6 RAM disk.
constexpr std::uint8_t kDriveRemovable = 2;
constexpr std::uint8_t kDriveFixed = 3;
constexpr std::uint8_t kDriveRemote = 4;
constexpr std::uint8_t kDriveCdRom = 5;
constexpr std::uint8_t kDriveRamDisk = 6;

struct DriveInfo {
    std::string key;
    std::string root;      // as the system gives it ("C:\" on Windows)
    std::uint8_t type = 0; // asked when the list was made
};

// Every drive, in the system's order (by letter on Windows, by key on Linux). Throws
// std::runtime_error when the system's list does not fit the buffer.
std::vector<DriveInfo> listDrives();

std::uint8_t driveType(const std::string& key);

// A removable drive named A or B (in either case) is a floppy drive: it is never asked
// whether it is ready, as asking would make it spin up or the system ask for a disk.
bool isFloppyDrive(std::uint8_t type, const std::string& key);

// The volume label of the medium in the drive; false when there is none to read.
bool volumeLabel(const std::string& key, std::string& label);

// True when the drive's file system answers; never asks a floppy drive (Windows) and never
// lets the system ask the user to insert a medium.
bool driveReady(const std::string& key);

// The text the drive list shows for a drive and that names it as a source: "D:" on
// Windows, the key on Linux.
std::string driveCaption(const std::string& key);

// Linux: true when `root` is an optical drive (or the mount point of one) that holds an
// audio or mixed disc; Windows shows audio tracks as .cda entries instead and gives false.
bool isAudioDisc(const std::string& root);

// The device to give the player for an audio disc in `root`: on Linux the optical drive's
// device, on Windows `root` itself.
std::string audioDiscDevice(const std::string& root);

// Where the player reads a VCD or SVCD in `root` from, up to the "#" of the title: on
// Windows the drive and a slash ("D:/"); on Linux the optical drive's device ("/dev/sr0"),
// as the player reads these discs from the drive only, or the root and a slash when no
// optical drive holds it.
std::string videoCdLocation(const std::string& root);

} // namespace filmarin::platform
