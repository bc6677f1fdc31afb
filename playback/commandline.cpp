// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "titlecards.h"

namespace filmarin {

namespace {

const QString kHead = QStringLiteral("  --mouse-hide-timeout=0 --video-title-timeout=0 "
                                     "--high-priority --no-repeat  --playlist-autostart");
const QString kDiscMiddle =
    QStringLiteral(" --no-input-fast-seek --fullscreen "
                   "--no-video-title-show --play-and-exit  --disc-caching=");
const QString kAudioMiddle =
    QStringLiteral(" --no-input-fast-seek --no-video-title-show --play-and-exit --disc-caching=");
const QString kFileMiddle = QStringLiteral(
    " --no-input-fast-seek --fullscreen --no-video-title-show --play-and-exit --file-caching=");
const QString kCaching = QStringLiteral("1000");
const QString kDiscTail = QStringLiteral(" --cr-average=10000 ");
const QString kTail = QStringLiteral(" ");

} // namespace

QString encodeFilePath(const QString& path) {
    QString encoded;
    encoded.reserve(path.size());
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if (u == u' ')
            encoded += QStringLiteral("%20");
        else if (u == u'%' || u == u'#' || u == u'"' || u < 32 || u == 127)
            encoded +=
                QStringLiteral("%%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            encoded += c;
    }
    return encoded;
}

QString commandLineItem(const PlayerItem& item) {
    QString written = item.location;
    for (const QString& option : item.options)
        written += QStringLiteral(" :") + option;
    return written;
}

QStringList titleCardOptions() {
    return {QStringLiteral("file-caching=300"), QStringLiteral("start-time=0.000"),
            QStringLiteral("stop-time=") + QString::number(kTitleCardSeconds) +
                QStringLiteral(".000")};
}

PlayerItem titleCardItem(const QString& cardPath) {
    return {QStringLiteral("file:///") + encodeFilePath(cardPath), titleCardOptions()};
}

PlayerItem sourcePlayerItem(const MediaSource& mediaSource, std::int32_t titleNumber) {
    const QString title = QString::number(titleNumber);
    const QString& root = mediaSource.driveRoot;
    switch (mediaSource.kind) {
    // A drive root is encoded like a file path: a mount point may hold blanks, "#" or "%".
    // A Windows root ("D:") has none of them.
    case SourceKind::DvdVideo:
        return {QStringLiteral("dvdsimple:///") + encodeFilePath(root) + QStringLiteral("/#") +
                    title,
                {}};
    case SourceKind::Vcd:
    case SourceKind::Svcd:
        return {QStringLiteral("vcd:///") + encodeFilePath(videoCdLocation(root)) +
                    QLatin1Char('#') + title,
                {}};
    case SourceKind::AudioCd:
        return {QStringLiteral("cdda:///") + encodeFilePath(audioCdDevice(root)),
                {QStringLiteral("cdda-track=") + title}};
    case SourceKind::VideoFile:
        return {QStringLiteral("file:///") + encodeFilePath(mediaSource.videoFilePath), {}};
    case SourceKind::None:
        return {};
    }
    return {};
}

QString sourceItem(const MediaSource& mediaSource, std::int32_t titleNumber) {
    return commandLineItem(sourcePlayerItem(mediaSource, titleNumber));
}

QStringList excerptOptions(const ExcerptSpan& span, const QString& audioLanguageCode) {
    return {
        QStringLiteral("start-time=") + QString::number(span.startSecond) + QStringLiteral(".000"),
        QStringLiteral("stop-time=") + QString::number(span.stopSecond) + QStringLiteral(".000"),
        QStringLiteral("audio-language=") + audioLanguageCode};
}

QString buildExcerptItem(const SegmentInputs& inputs, int n) {
    const QString source = sourceItem(inputs.source, inputs.table.titleNumbers[cellIndex(0, n)]);
    return QLatin1Char(' ') + commandLineItem(titleCardItem(titleCardPath(inputs.imageFolder, n))) +
           QLatin1Char(' ') + source;
}

QString prependPlayerOptions(SourceKind kind, const QString& item,
                             std::optional<int> playerScreen) {
    QString screen;
    if (playerScreen && kind != SourceKind::AudioCd)
        screen = QStringLiteral(" --qt-fullscreen-screennumber=") + QString::number(*playerScreen);
    QString options = kHead;
    if (kind == SourceKind::AudioCd)
        options += kAudioMiddle + kCaching + kTail;
    else if (kind == SourceKind::VideoFile)
        options += kFileMiddle + kCaching + screen + kTail;
    else
        options += kDiscMiddle + kCaching + screen + kDiscTail;
    return options + item;
}

QString buildSegmentCommandLine(const SegmentInputs& inputs, std::int32_t& nextExcerpt) {
    QString parameters;
    bool first = true;
    bool stop = false;
    while (nextExcerpt <= kExcerptCount && !stop) {
        const int n = nextExcerpt;
        if (n < 1) {
            // Not an excerpt number: nothing to examine there.
            nextExcerpt = 1;
            continue;
        }
        if (n == kExcerptCount)
            stop = true;
        else if (n - 1 < inputs.pauses.count() && inputs.pauses.isChecked(n - 1))
            stop = true;
        const ExcerptSpan& span = inputs.spans[static_cast<std::size_t>(n - 1)];
        if (span.selected) {
            const QString item = buildExcerptItem(inputs, n);
            if (first)
                parameters = prependPlayerOptions(inputs.source.kind, item, inputs.playerScreen);
            else
                parameters += QLatin1Char(' ') + item;
            for (const QString& option : excerptOptions(span, inputs.table.audioLanguageCode))
                parameters += QStringLiteral(" :") + option;
            first = false;
        }
        nextExcerpt = n + 1;
    }
    return parameters;
}

} // namespace filmarin
