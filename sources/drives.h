// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "disctitles.h"
#include "mediasource.h"

#include <QString>
#include <cstdint>
#include <vector>

// The drives as the disc browser shows them: type text, label and readiness.
namespace filmarin {

// What a path names, with the numbers the drive helper's answers carry.
enum class PathKind : std::int32_t { Nothing = 0, File = 1, Folder = 2 };

struct DriveEntry {
    QString key; // the letter on Windows, the mount point or device on Linux
    QString root;
    std::uint8_t type = 0; // drive type code when the list was made
};

// What the drive list needs of the system; the program uses SystemDrives, tests a fake.
class DriveSystem {
public:
    virtual ~DriveSystem() = default;
    // May throw when the system's list cannot be read whole.
    virtual std::vector<DriveEntry> listDrives() = 0;
    virtual std::uint8_t driveType(const QString& key) = 0;
    virtual bool volumeLabel(const QString& key, QString& label) = 0;
    virtual bool driveReady(const QString& key) = 0;
    // "D:" for drive D on Windows.
    virtual QString caption(const QString& key) = 0;
    // The kind of disc in the drive named `root`: a video DVD, a VCD, an SVCD, an audio CD
    // or None. Looks into the drive as it is now.
    virtual SourceKind discContent(const QString& root);
    // What is at `path`.
    virtual PathKind pathKind(const QString& path);
    // The titles and chapters of the video DVD in the drive named `root`, from its navigation
    // files. Throws when they cannot be read.
    virtual std::vector<DiscTitle> discTitles(const QString& root);
};

// The drives of this computer.
class SystemDrives : public DriveSystem {
public:
    std::vector<DriveEntry> listDrives() override;
    std::uint8_t driveType(const QString& key) override;
    bool volumeLabel(const QString& key, QString& label) override;
    bool driveReady(const QString& key) override;
    QString caption(const QString& key) override;
    // Read by the disc reader beside the program (sources/dvdreader.h), in a process of its
    // own; where there is none, as DriveSystem reads them.
    std::vector<DiscTitle> discTitles(const QString& root) override;
};

QString readyText();
QString notReadyText();
QString discDriveTypeText();

// A removable drive with the letter A or B.
bool isFloppyDrive(std::uint8_t type, const QString& key);
// What the browser tells drives apart by.
enum class DriveKind { Other, Floppy, Disc, OtherRemovable };
DriveKind driveKindOf(std::uint8_t type, const QString& key);
// The type text of a drive of that type, without asking it.
QString driveTypeTextOf(std::uint8_t type, const QString& key);
// The type text of the drive, asked afresh; `label` is set for disc drives only.
QString driveTypeText(DriveSystem& drives, const QString& key, QString& label);
// Whether the drive is ready; a floppy drive is never asked and never ready.
bool driveIsReady(DriveSystem& drives, const QString& key);
// "bereit" or "nicht bereit".
QString readinessText(bool ready);
QString driveReadiness(DriveSystem& drives, const QString& key);

} // namespace filmarin
