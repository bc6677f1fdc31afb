// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QString>
#include <cstdint>

// What the player is to play: a disc in a drive or a video file.
namespace filmarin {

// Kinds of source, with the numbers the drive helper's answers carry.
enum class SourceKind : std::int32_t {
    None = 0,
    DvdVideo = 1,
    Vcd = 2,
    Svcd = 3,
    AudioCd = 4,
    VideoFile = 5,
};

// The kind a number names; None for a number outside 0-5.
SourceKind sourceKindFromCode(std::int64_t code);
std::int32_t sourceKindCode(SourceKind kind);

struct MediaSource {
    SourceKind kind = SourceKind::None;
    QString driveRoot;     // kinds 1-4: the drive as the disc browser names it
    QString videoFilePath; // kind 5: the file chosen in the file dialog
};

// `root` followed by the path separator and `name`.
QString childPath(const QString& root, const QString& name);

bool folderExists(const QString& path);
bool hasVideoTs(const QString& root);
bool hasVcd(const QString& root);
bool hasSvcd(const QString& root);
// At least one entry of any kind whose name ends in ".cda" in the drive's root.
bool hasCdaTracks(const QString& root);
// The drive to name in the player's item for an audio CD in `root`: the root itself on
// Windows, the optical drive's device on Linux.
QString audioCdDevice(const QString& root);
// Where the player reads a VCD or SVCD in the drive `root` from, up to the "#" of its title.
QString videoCdLocation(const QString& root);
// A video DVD, a VCD, an SVCD, an audio CD, tested in this order; None when none fits.
SourceKind detectDiscContent(const QString& root);
// An entry of that path exists and is no folder.
bool filePresent(const QString& path);
// The check before playing: only the test that belongs to the stored kind runs.
bool sourceAvailable(const MediaSource& source);

QString chooseSourceMessage();
QString chooseFileMessage();
void showChooseSourceMessage(MessageSink& messages);
void showChooseFileMessage(MessageSink& messages);

// Takes a video file chosen in the file dialog as the source; true when "Abspielen" may be
// enabled, otherwise the user has been told to choose a file.
bool takeVideoFile(MediaSource& source, const QString& path, MessageSink& messages);

} // namespace filmarin
