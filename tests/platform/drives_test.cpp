// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drives.h"
#include "platform/drives_posix.h"
#include "platform/files.h"
#include "tempdir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using namespace filmarin::platform;
using filmarin::testing::TempDir;

namespace {

// An ISO 9660 image with a volume label, as a disc in a drive would hold it.
std::string isoImage(const std::string& label) {
    std::string b(40 * 2048, '\0');
    const std::size_t o = 16 * 2048;
    b[o] = 1;
    b.replace(o + 1, 5, "CD001");
    b[o + 6] = 1;
    std::string volume = label;
    volume.resize(32, ' ');
    b.replace(o + 40, 32, volume);
    b[o + 80] = 20;
    b[o + 87] = 20;
    b[o + 128] = 0;
    b[o + 129] = 8;
    b[o + 130] = 8;
    b[o + 131] = 0;
    const std::size_t t = 17 * 2048;
    b[t] = static_cast<char>(255);
    b.replace(t + 1, 5, "CD001");
    b[t + 6] = 1;
    return b;
}

// A system of drives below a fixture root: the mount table, /sys/block and /dev.
struct FixtureSystem : ::testing::Test {
    FixtureSystem() {
        for (const char* folder :
             {"proc/self", "sys/block/sda", "sys/block/sdb", "sys/block/sr0", "sys/block/sr1",
              "dev", "mnt/ram", "mnt/stick", "mnt/net", "mnt/dvd/VIDEO_TS", "mnt/home space",
              "media/lehrer/MEIN FILM", "run/media/lehrer/STICK"})
            root.mkdir(folder);
        root.write("sys/block/sda/removable", "0\n");
        root.write("sys/block/sdb/removable", "1\n");
        root.write("dev/sr0", "");
        root.write("dev/sr1", isoImage("MOVIE"));
        root.write("dev/sda", "");
        const std::string m = root.str() + "/mnt/";
        root.write("proc/self/mounts", "/dev/sda1 / ext4 rw,relatime 0 0\n"
                                       "proc /proc proc rw 0 0\n"
                                       "sysfs /sys sysfs rw 0 0\n"
                                       "tmpfs /proc/acpi tmpfs ro 0 0\n"
                                       "devpts /dev/pts devpts rw 0 0\n"
                                       "overlay /merged overlay rw 0 0\n"
                                       "/dev/loop0 /snap/core squashfs ro 0 0\n"
                                       "tmpfs /run tmpfs rw 0 0\n"
                                       "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                                       "tmpfs /run/lock tmpfs rw 0 0\n"
                                       "tmpfs /dev/shm tmpfs rw 0 0\n"
                                       "/dev/sda2 /boot/efi vfat rw 0 0\n"
                                       "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
                                       "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
                                       "server:/lehrer /srv/lehrer nfs4 rw 0 0\n"
                                       "/dev/loop3 " +
                                           root.str() +
                                           "/media/lehrer/MEIN\\040FILM iso9660 ro 0 0\n"
                                           "/dev/sdc1 " +
                                           root.str() +
                                           "/run/media/lehrer/STICK vfat rw 0 0\n"
                                           "tmpfs " +
                                           m +
                                           "ram tmpfs rw 0 0\n"
                                           "/dev/sdb1 " +
                                           m +
                                           "stick vfat rw 0 0\n"
                                           "server:/share " +
                                           m +
                                           "net nfs4 rw 0 0\n"
                                           "/dev/sr1 " +
                                           m +
                                           "dvd iso9660 ro 0 0\n"
                                           "/dev/mapper/home " +
                                           m +
                                           "home\\040space ext4 rw 0 0\n"
                                           "tmpfs " +
                                           m + "ram tmpfs rw 0 0\n");
        LinuxDriveSystem fixture = realLinuxDriveSystem();
        fixture.root = root.str();
        fixture.discStatus = [this](const std::string& device) {
            const auto it = status.find(device.substr(device.rfind('/') + 1));
            return it == status.end() ? DiscStatus::NoDisc : it->second;
        };
        setLinuxDriveSystem(fixture);
    }
    ~FixtureSystem() override { setLinuxDriveSystem(realLinuxDriveSystem()); }

    std::string mnt(const std::string& name) const { return root.str() + "/mnt/" + name; }

    TempDir root;
    std::map<std::string, DiscStatus> status;
};

TEST_F(FixtureSystem, ListsOpticalDrivesAndMountedFileSystemsOnce) {
    const std::vector<DriveInfo> drives = listDrives();
    std::map<std::string, int> types;
    std::vector<std::string> keys;
    for (const DriveInfo& d : drives) {
        types[d.key] = d.type;
        keys.push_back(d.key);
        EXPECT_EQ(d.root, d.key);
    }
    // What a file manager shows: no /run, /dev/shm, /boot, snaps or containers.
    const std::map<std::string, int> expected = {{"/", 3},
                                                 {"/dev/sr0", 5},
                                                 {mnt("dvd"), 5},
                                                 {mnt("home space"), 3},
                                                 {mnt("net"), 4},
                                                 {mnt("ram"), 6},
                                                 {mnt("stick"), 2},
                                                 {"/srv/lehrer", 4},
                                                 {root.str() + "/media/lehrer/MEIN FILM", 2},
                                                 {root.str() + "/run/media/lehrer/STICK", 3}};
    EXPECT_EQ(types, expected);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << "a stable order";
    EXPECT_EQ(driveType(mnt("stick")), 2);
    EXPECT_EQ(driveType("/nowhere"), 1);
    EXPECT_EQ(driveCaption(mnt("dvd")), mnt("dvd"));
}

TEST_F(FixtureSystem, LabelsOfOpticalDrivesOnly) {
    std::string label = "stale";
    EXPECT_TRUE(volumeLabel(mnt("dvd"), label));
    EXPECT_EQ(label, "MOVIE");
    EXPECT_FALSE(volumeLabel("/dev/sr0", label)) << "no medium";
    EXPECT_EQ(label, "");
    EXPECT_FALSE(volumeLabel(mnt("stick"), label));
}

TEST_F(FixtureSystem, ReadinessAndAudioDiscs) {
    EXPECT_TRUE(driveReady(mnt("dvd")));
    EXPECT_TRUE(driveReady(mnt("net")));
    EXPECT_TRUE(driveReady(mnt("ram")));
    EXPECT_FALSE(driveReady("/dev/sr0")) << "an empty drive";
    EXPECT_FALSE(isAudioDisc("/dev/sr0"));
    status["sr0"] = DiscStatus::Data;
    EXPECT_FALSE(driveReady("/dev/sr0")) << "an unmounted data disc cannot be read yet";
    status["sr0"] = DiscStatus::Audio;
    EXPECT_TRUE(driveReady("/dev/sr0"));
    EXPECT_TRUE(isAudioDisc("/dev/sr0"));
    EXPECT_EQ(audioDiscDevice("/dev/sr0"), "/dev/sr0");
    status["sr1"] = DiscStatus::Mixed;
    EXPECT_TRUE(isAudioDisc(mnt("dvd")));
    EXPECT_EQ(audioDiscDevice(mnt("dvd")), "/dev/sr1");
    EXPECT_FALSE(isAudioDisc(mnt("stick")));
    EXPECT_EQ(audioDiscDevice("D:"), "D:");
    // The player reads a VCD from the drive, not from its mount point.
    EXPECT_EQ(videoCdLocation(mnt("dvd")), "/dev/sr1");
    EXPECT_EQ(videoCdLocation("/dev/sr0"), "/dev/sr0");
    EXPECT_EQ(videoCdLocation(mnt("stick")), mnt("stick") + "/");
    EXPECT_EQ(videoCdLocation("D:"), "D:/");
    EXPECT_FALSE(driveReady("/nowhere"));
}

TEST_F(FixtureSystem, DvdMountedWithCapitalsHasItsVideoFolder) {
    EXPECT_TRUE(folderExists(mnt("dvd") + "/Video_TS"));
}

TEST_F(FixtureSystem, VanishedMountPointIsNotReady) {
    root.write("proc/self/mounts", "/dev/sdb1 " + mnt("gone") + " vfat rw 0 0\n");
    ASSERT_EQ(listDrives().size(), 3u); // the stick and the two optical drives, unmounted
    EXPECT_FALSE(driveReady(mnt("gone")));
}

TEST(RealSystem, ListingTheDrivesOfThisMachineWorks) {
    for (const DriveInfo& d : listDrives()) {
        EXPECT_FALSE(d.key.empty());
        EXPECT_GE(d.type, 2);
        EXPECT_LE(d.type, 6);
    }
}

} // namespace
