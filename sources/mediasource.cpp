// SPDX-License-Identifier: GPL-3.0-or-later
#include "mediasource.h"

#include "platform/drives.h"
#include "platform/files.h"
#include "platformtext/platformtext.h"
#include "table/textops.h"

#include <vector>

namespace filmarin {

QString childPath(const QString& root, const QString& name) {
    return root + QChar::fromLatin1(platform::pathSeparator()) + name;
}

bool folderExists(const QString& path) {
    return platform::folderExists(toPlatform(path));
}

bool hasVideoTs(const QString& root) {
    return folderExists(childPath(root, QStringLiteral("Video_TS")));
}

bool hasVcd(const QString& root) {
    return folderExists(childPath(root, QStringLiteral("VCD")));
}

bool hasSvcd(const QString& root) {
    return folderExists(childPath(root, QStringLiteral("SVCD")));
}

bool hasCdaTracks(const QString& root) {
    // Linux shows no track entries: there the drive itself tells whether it holds audio.
    return platform::findFirstEntry(toPlatform(childPath(root, QStringLiteral("*.cda")))).found ||
           platform::isAudioDisc(toPlatform(root));
}

QString audioCdDevice(const QString& root) {
    return fromPlatform(platform::audioDiscDevice(toPlatform(root)));
}

QString videoCdLocation(const QString& root) {
    return fromPlatform(platform::videoCdLocation(toPlatform(root)));
}

SourceKind sourceKindFromCode(std::int64_t code) {
    if (code < 0 || code > static_cast<std::int64_t>(SourceKind::VideoFile))
        return SourceKind::None;
    return static_cast<SourceKind>(code);
}

std::int32_t sourceKindCode(SourceKind kind) {
    return static_cast<std::int32_t>(kind);
}

SourceKind detectDiscContent(const QString& root) {
    // One look into the drive's root: a slow network share answers once, not per name.
    const std::vector<platform::FoundEntry> entries = platform::listFolder(toPlatform(root));
    const auto isFolderNamed = [&](const char* name) {
        const QString wanted = QString::fromLatin1(name);
        for (const platform::FoundEntry& entry : entries) {
            if (!equalsIgnoreCase(fromPlatform(entry.name), wanted))
                continue;
            if (entry.isFolder)
                return true;
            if (!entry.kindKnown && folderExists(childPath(root, fromPlatform(entry.name))))
                return true;
        }
        return false;
    };
    if (isFolderNamed("Video_TS"))
        return SourceKind::DvdVideo;
    if (isFolderNamed("VCD"))
        return SourceKind::Vcd;
    if (isFolderNamed("SVCD"))
        return SourceKind::Svcd;
    for (const platform::FoundEntry& entry : entries) {
        const QString name = fromPlatform(entry.name);
        if (name.size() >= 4 && equalsIgnoreCase(name.right(4), QStringLiteral(".cda")))
            return SourceKind::AudioCd;
    }
    // Linux shows no track entries: there the drive itself tells whether it holds audio.
    if (platform::isAudioDisc(toPlatform(root)))
        return SourceKind::AudioCd;
    return SourceKind::None;
}

bool filePresent(const QString& path) {
    if (path.isEmpty())
        return false;
    const platform::FoundEntry entry = platform::findFirstEntry(toPlatform(path));
    return entry.found && !entry.isFolder;
}

bool sourceAvailable(const MediaSource& source) {
    switch (source.kind) {
    case SourceKind::DvdVideo:
        return hasVideoTs(source.driveRoot);
    case SourceKind::Vcd:
        return hasVcd(source.driveRoot);
    case SourceKind::Svcd:
        return hasSvcd(source.driveRoot);
    case SourceKind::AudioCd:
        return hasCdaTracks(source.driveRoot);
    case SourceKind::VideoFile:
        return filePresent(source.videoFilePath);
    case SourceKind::None:
        return false;
    }
    return false;
}

QString chooseSourceMessage() {
    return QStringLiteral("Bitte wählen Sie eine Video-DVD oder eine Video-Datei aus.");
}

QString chooseFileMessage() {
    return QStringLiteral("Bitte wählen Sie eine Video-Datei aus.");
}

void showChooseSourceMessage(MessageSink& messages) {
    messages.showMessage(QStringLiteral("Information"), chooseSourceMessage(),
                         MessageIcon::Information);
}

void showChooseFileMessage(MessageSink& messages) {
    messages.showMessage(QStringLiteral("Information"), chooseFileMessage(),
                         MessageIcon::Information);
}

bool takeVideoFile(MediaSource& source, const QString& path, MessageSink& messages) {
    source.videoFilePath = path;
    source.kind = SourceKind::VideoFile;
    if (sourceAvailable(source))
        return true;
    showChooseFileMessage(messages);
    return false;
}

} // namespace filmarin
