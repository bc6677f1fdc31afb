// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives_posix.h"

#include "drives.h"

#include <algorithm>
#include <blkid/blkid.h>
#include <cctype>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <linux/cdrom.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace filmarin::platform {

namespace {

DiscStatus askDrive(const std::string& deviceFile) {
    const int fd = ::open(deviceFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return DiscStatus::Unknown;
    DiscStatus status = DiscStatus::Unknown;
    const int drive = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    if (drive == CDS_NO_DISC || drive == CDS_TRAY_OPEN) {
        status = DiscStatus::NoDisc;
    } else if (drive == CDS_DISC_OK) {
        switch (::ioctl(fd, CDROM_DISC_STATUS, 0)) {
        case CDS_AUDIO:
            status = DiscStatus::Audio;
            break;
        case CDS_MIXED:
            status = DiscStatus::Mixed;
            break;
        case CDS_DATA_1:
        case CDS_DATA_2:
        case CDS_XA_2_1:
        case CDS_XA_2_2:
            status = DiscStatus::Data;
            break;
        case CDS_NO_DISC:
            status = DiscStatus::NoDisc;
            break;
        default:
            break;
        }
    }
    ::close(fd);
    return status;
}

std::string blkidLabel(const std::string& deviceFile) {
    blkid_probe probe = blkid_new_probe_from_filename(deviceFile.c_str());
    if (!probe)
        return {};
    std::string label;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL);
    const char* value = nullptr;
    if (blkid_do_safeprobe(probe) == 0 &&
        blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value)
        label = value;
    blkid_free_probe(probe);
    return label;
}

// Questions to a drive that hangs may still run while the program ends: what they use is
// made once and never taken apart.
LinuxDriveSystem& system() {
    static LinuxDriveSystem* const current = new LinuxDriveSystem(realLinuxDriveSystem());
    return *current;
}

// Mount table fields escape blanks and the like as \ooo.
std::string unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::isdigit(static_cast<unsigned char>(field[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(field[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(field[i + 3]))) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

struct Mount {
    std::string source;
    std::string point;
    std::string type;
};

std::vector<Mount> readMounts() {
    std::vector<Mount> mounts;
    std::ifstream in(system().root + "/proc/self/mounts");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Mount m;
        if (fields >> m.source >> m.point >> m.type) {
            m.source = unescape(m.source);
            m.point = unescape(m.point);
            mounts.push_back(m);
        }
    }
    return mounts;
}

bool isNetworkType(const std::string& type) {
    static const std::set<std::string>* const network = new std::set<std::string>{
        "nfs",        "nfs4",       "cifs",  "smb3",        "smbfs",
        "ncpfs",      "afs",        "9p",    "ceph",        "glusterfs",
        "fuse.sshfs", "fuse.davfs", "davfs", "fuse.rclone", "fuse.glusterfs"};
    return network->count(type) > 0;
}

bool isRamType(const std::string& type) {
    return type == "tmpfs" || type == "ramfs";
}

bool under(const std::string& path, const std::string& folder) {
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

// The name of a device below /dev ("sr0", "sdb1"), empty for other sources.
std::string deviceName(const std::string& source) {
    if (source.rfind("/dev/", 0) != 0)
        return {};
    return source.substr(5);
}

bool isOpticalName(const std::string& name) {
    return name.size() > 2 && name.compare(0, 2, "sr") == 0 &&
           std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string readFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The removable flag of the disk a block device belongs to.
bool isRemovable(const std::string& name) {
    const std::string block = system().root + "/sys/block/";
    std::string disk = name;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string flag = readFirstLine(block + disk + "/removable");
        if (!flag.empty())
            return flag == "1";
        // A partition: sdb1 belongs to sdb, nvme0n1p2 to nvme0n1, mmcblk0p1 to mmcblk0.
        while (!disk.empty() && disk.back() >= '0' && disk.back() <= '9')
            disk.pop_back();
        if (disk.size() > 1 && disk.back() == 'p' && disk[disk.size() - 2] >= '0' &&
            disk[disk.size() - 2] <= '9')
            disk.pop_back();
    }
    return false;
}

std::vector<std::string> opticalDevices() {
    std::vector<std::string> names;
    DIR* dir = ::opendir((system().root + "/dev").c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        if (isOpticalName(e->d_name))
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

struct Known {
    std::uint8_t type = 0;
    std::string device; // optical drives: the device name ("sr0")
    bool mounted = false;
};

// The places a file manager shows drives at: the root file system and what is mounted for
// the user below /media, /run/media and /mnt. Optical drives and network shares are shown
// wherever they are mounted; everything else (/run, /dev/shm, /boot, snaps, containers) is
// the system's own.
bool isUserPlace(const std::string& point) {
    const std::string& root = system().root;
    return point == "/" || under(point, root + "/media") || under(point, root + "/run/media") ||
           under(point, root + "/mnt");
}

// Every drive with what is known about it, by key.
std::map<std::string, Known> survey() {
    std::map<std::string, Known> drives;
    std::set<std::string> mountedOptical;
    for (const Mount& m : readMounts()) {
        if (under(m.point, "/proc") || under(m.point, "/sys") || drives.count(m.point))
            continue;
        const bool userPlace = isUserPlace(m.point);
        const std::string name = deviceName(m.source);
        Known k;
        k.mounted = true;
        if (!name.empty() && isOpticalName(name)) {
            k.type = kDriveCdRom;
            k.device = name;
            mountedOptical.insert(name);
        } else if (isNetworkType(m.type)) {
            k.type = kDriveRemote;
        } else if (!userPlace) {
            continue;
        } else if (isRamType(m.type)) {
            k.type = kDriveRamDisk;
        } else if (!name.empty() && name.rfind("loop", 0) == 0) {
            k.type = kDriveRemovable; // a disc image the user mounted
        } else if (!name.empty()) {
            k.type = isRemovable(name) ? kDriveRemovable : kDriveFixed;
        } else {
            continue; // pseudo file systems and overlays are no drives
        }
        drives[m.point] = k;
    }
    for (const std::string& name : opticalDevices()) {
        if (mountedOptical.count(name))
            continue;
        Known k;
        k.type = kDriveCdRom;
        k.device = name;
        drives["/dev/" + name] = k;
    }
    return drives;
}

std::string deviceFile(const Known& k) {
    return system().root + "/dev/" + k.device;
}

} // namespace

LinuxDriveSystem realLinuxDriveSystem() {
    return {std::string(), askDrive, blkidLabel};
}

void setLinuxDriveSystem(LinuxDriveSystem replacement) {
    system() = std::move(replacement);
}

std::vector<DriveInfo> listDrives() {
    std::vector<DriveInfo> list;
    for (const auto& [key, known] : survey())
        list.push_back({key, key, known.type});
    return list;
}

std::uint8_t driveType(const std::string& key) {
    const auto drives = survey();
    const auto it = drives.find(key);
    return it == drives.end() ? 1 : it->second.type;
}

bool volumeLabel(const std::string& key, std::string& label) {
    label.clear();
    const auto drives = survey();
    const auto it = drives.find(key);
    if (it == drives.end() || it->second.device.empty() || !system().label)
        return false;
    label = system().label(deviceFile(it->second));
    return !label.empty();
}

bool driveReady(const std::string& key) {
    const auto drives = survey();
    const auto it = drives.find(key);
    if (it == drives.end())
        return false;
    if (it->second.mounted) {
        struct statvfs st {};
        if (::statvfs(key.c_str(), &st) == 0)
            return true;
    }
    if (!it->second.device.empty() && system().discStatus) {
        const DiscStatus status = system().discStatus(deviceFile(it->second));
        return status == DiscStatus::Audio || status == DiscStatus::Mixed;
    }
    return false;
}

std::string driveCaption(const std::string& key) {
    return key;
}

bool isAudioDisc(const std::string& root) {
    const auto drives = survey();
    const auto it = drives.find(root);
    if (it == drives.end() || it->second.device.empty() || !system().discStatus)
        return false;
    const DiscStatus status = system().discStatus(deviceFile(it->second));
    return status == DiscStatus::Audio || status == DiscStatus::Mixed;
}

std::string audioDiscDevice(const std::string& root) {
    const auto drives = survey();
    const auto it = drives.find(root);
    if (it == drives.end() || it->second.device.empty())
        return root;
    return "/dev/" + it->second.device;
}

std::string videoCdLocation(const std::string& root) {
    const auto drives = survey();
    const auto it = drives.find(root);
    if (it == drives.end() || it->second.device.empty())
        return root + "/";
    return "/dev/" + it->second.device;
}

} // namespace filmarin::platform
