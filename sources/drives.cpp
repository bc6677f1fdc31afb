// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives.h"

#include "dvdreader.h"
#include "dvdtables.h"
#include "mediasource.h"
#include "platform/drives.h"
#include "platformtext/platformtext.h"

#include <QFileInfo>

namespace filmarin {

std::vector<DriveEntry> SystemDrives::listDrives() {
    std::vector<DriveEntry> drives;
    for (const platform::DriveInfo& d : platform::listDrives())
        drives.push_back({fromPlatform(d.key), fromPlatform(d.root), d.type});
    return drives;
}

std::uint8_t SystemDrives::driveType(const QString& key) {
    return platform::driveType(toPlatform(key));
}

bool SystemDrives::volumeLabel(const QString& key, QString& label) {
    std::string text;
    const bool ok = platform::volumeLabel(toPlatform(key), text);
    label = fromPlatform(text);
    return ok;
}

bool SystemDrives::driveReady(const QString& key) {
    return platform::driveReady(toPlatform(key));
}

QString SystemDrives::caption(const QString& key) {
    return fromPlatform(platform::driveCaption(toPlatform(key)));
}

std::vector<DiscTitle> SystemDrives::discTitles(const QString& root) {
    const QString reader = discReaderPath();
    if (!QFileInfo::exists(reader))
        return DriveSystem::discTitles(root);
    // Longer than any disc that answers at all takes: the window stops waiting after 10 s.
    return readDiscTitlesApart(reader, root, std::chrono::seconds(60));
}

QString readyText() {
    return QStringLiteral("bereit");
}
QString notReadyText() {
    return QStringLiteral("nicht bereit");
}
QString discDriveTypeText() {
    return QStringLiteral("DVD/CD ");
}

bool isFloppyDrive(std::uint8_t type, const QString& key) {
    return platform::isFloppyDrive(type, toPlatform(key));
}

DriveKind driveKindOf(std::uint8_t type, const QString& key) {
    if (type == platform::kDriveRemovable)
        return isFloppyDrive(type, key) ? DriveKind::Floppy : DriveKind::OtherRemovable;
    if (type == platform::kDriveCdRom)
        return DriveKind::Disc;
    return DriveKind::Other;
}

QString driveTypeTextOf(std::uint8_t type, const QString& key) {
    switch (type) {
    case platform::kDriveRemovable:
        return isFloppyDrive(type, key) ? QStringLiteral("3½-Diskette")
                                        : QStringLiteral("Wechseldatenträger");
    case platform::kDriveFixed:
        return QStringLiteral("Festplatte");
    case platform::kDriveRemote:
        return QStringLiteral("Netzwerklaufwerk");
    case platform::kDriveCdRom:
        return discDriveTypeText();
    case platform::kDriveRamDisk:
        return QStringLiteral("RAM-Laufwerk");
    default:
        return QStringLiteral("Laufwerk");
    }
}

QString driveTypeText(DriveSystem& drives, const QString& key, QString& label) {
    label.clear();
    const std::uint8_t type = drives.driveType(key);
    if (type == platform::kDriveCdRom && !drives.volumeLabel(key, label))
        label.clear();
    return driveTypeTextOf(type, key);
}

bool driveIsReady(DriveSystem& drives, const QString& key) {
    try {
        if (isFloppyDrive(drives.driveType(key), key))
            return false;
        return drives.driveReady(key);
    } catch (...) {
        return false;
    }
}

QString readinessText(bool ready) {
    return ready ? readyText() : notReadyText();
}

QString driveReadiness(DriveSystem& drives, const QString& key) {
    return readinessText(driveIsReady(drives, key));
}

SourceKind DriveSystem::discContent(const QString& root) {
    return detectDiscContent(root);
}

PathKind DriveSystem::pathKind(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return PathKind::Nothing;
    return info.isDir() ? PathKind::Folder : PathKind::File;
}

std::vector<DiscTitle> DriveSystem::discTitles(const QString& root) {
    return readDiscTitles(root);
}

} // namespace filmarin
