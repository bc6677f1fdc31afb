// SPDX-License-Identifier: GPL-3.0-or-later
#include "playlist.h"

#include "commandline.h"
#include "table/writefailure.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamWriter>

namespace filmarin {

namespace {

const QString kVlcExtension = QStringLiteral("http://www.videolan.org/vlc/playlist/0");
const QString kVlcNamespace = QStringLiteral("http://www.videolan.org/vlc/playlist/ns/0/");

// A location relative to the playlist: the path's parts, each percent-encoded.
QString relativeLocation(const QString& folder, const QString& file) {
    return QString::fromLatin1(QUrl::toPercentEncoding(folder)) + QLatin1Char('/') +
           QString::fromLatin1(QUrl::toPercentEncoding(file));
}

// The source as the player takes it in a playlist: a drive's item is the command line's; a
// file's location is a proper file URL.
PlayerItem playlistSourceItem(const MediaSource& source, std::int32_t title) {
    if (source.kind == SourceKind::VideoFile) {
        return {QUrl::fromLocalFile(QDir::fromNativeSeparators(source.videoFilePath))
                    .toString(QUrl::FullyEncoded),
                {}};
    }
    return sourcePlayerItem(source, title);
}

void writeTrack(QXmlStreamWriter& xml, int& id, const PlayerItem& item, const QString& title,
                std::int64_t durationMs) {
    xml.writeStartElement(QStringLiteral("track"));
    xml.writeTextElement(QStringLiteral("location"), item.location);
    xml.writeTextElement(QStringLiteral("title"), title);
    xml.writeTextElement(QStringLiteral("duration"), QString::number(durationMs));
    xml.writeStartElement(QStringLiteral("extension"));
    xml.writeAttribute(QStringLiteral("application"), kVlcExtension);
    xml.writeTextElement(kVlcNamespace, QStringLiteral("id"), QString::number(id++));
    for (const QString& option : item.options)
        xml.writeTextElement(kVlcNamespace, QStringLiteral("option"), option);
    xml.writeEndElement();
    xml.writeEndElement();
}

QString cannotSaveMessage(const QString& path, const QString& systemError, qint64 needed) {
    const WriteCause cause = writeFailureCause(path, systemError, needed);
    return QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden. %2 Bitte korrigieren "
                          "Sie das Zielverzeichnis.")
        .arg(QDir::toNativeSeparators(path), cause.text);
}

} // namespace

QString playlistCardsFolder(const QString& playlistPath) {
    const QFileInfo playlist(playlistPath);
    return playlist.dir().filePath(playlist.completeBaseName() + QStringLiteral(" Titelkarten"));
}

QByteArray buildPlaylist(const PlaylistInputs& inputs, const QString& cardsFolderName) {
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
    xml.writeNamespace(kVlcNamespace, QStringLiteral("vlc"));
    xml.writeStartElement(QStringLiteral("http://xspf.org/ns/0/"), QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeTextElement(QStringLiteral("title"), QStringLiteral("Filmarin"));
    xml.writeStartElement(QStringLiteral("trackList"));
    int id = 0;
    for (int n = 1; n <= kExcerptCount; ++n) {
        const ExcerptSpan& span = inputs.spans[static_cast<std::size_t>(n - 1)];
        if (!span.selected)
            continue;
        const QString heading = cardHeading(inputs.headings, n);
        const PlayerItem card{relativeLocation(cardsFolderName, QStringLiteral("a%1.jpg").arg(n)),
                              titleCardOptions()};
        writeTrack(xml, id, card, heading, std::int64_t(kTitleCardSeconds) * 1000);
        PlayerItem excerpt =
            playlistSourceItem(inputs.source, inputs.table.titleNumbers[cellIndex(0, n)]);
        excerpt.options << excerptOptions(span, inputs.table.audioLanguageCode);
        writeTrack(xml, id, excerpt, heading,
                   (std::int64_t(span.stopSecond) - span.startSecond) * 1000);
    }
    xml.writeEndElement(); // trackList
    xml.writeEndElement(); // playlist
    xml.writeEndDocument();
    return text;
}

CardResult savePlaylist(const QString& path, const PlaylistInputs& inputs) {
    CardResult result;
    const QString folder = playlistCardsFolder(path);
    if (ensureFolder(folder).failed) {
        result.ok = false;
        result.error = cannotSaveMessage(folder, QString(), 0);
        return result;
    }
    for (int n = 1; n <= kExcerptCount; ++n) {
        if (!inputs.spans[static_cast<std::size_t>(n - 1)].selected)
            continue;
        const CardResult card =
            writeTitleCard(inputs.headings, n, titleCardPath(QDir::toNativeSeparators(folder), n));
        if (!card.ok)
            return card;
    }
    const QByteArray text = buildPlaylist(inputs, QFileInfo(folder).fileName());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        result.ok = false;
        result.error = cannotSaveMessage(path, file.errorString(), text.size());
    }
    return result;
}

} // namespace filmarin
