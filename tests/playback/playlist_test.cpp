// SPDX-License-Identifier: GPL-3.0-or-later
// A lesson as an XSPF playlist, character for character, for a disc and a file.
#include "../table/memorytable.h"
#include "playback/playlist.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace filmarin;
using filmarin::testing::MemoryGrid;

namespace {

struct Lesson {
    Lesson() {
        table.init();
        table.audioLanguageCode = QStringLiteral("en");
        table.titleNumbers[cellIndex(0, 1)] = 3;
        table.titleNumbers[cellIndex(0, 5)] = 5;
        spans[0] = {60, 120, true};
        spans[2] = {10, 20, false}; // not ticked: not in the playlist
        spans[4] = {3600, 3630, true};
        headings.setCell(1, 1, QStringLiteral("Ankunft & <Abschied>"));
    }
    QByteArray build(const QString& folder = QStringLiteral("Lektion 1 Titelkarten")) {
        return buildPlaylist({source, table, spans, headings}, folder);
    }
    MediaSource source;
    ExcerptTable table;
    ExcerptSpans spans{};
    MemoryGrid headings{2, 21};
};

QByteArray track(const QString& location, const QString& title, int duration, int id,
                 const QStringList& options) {
    QString text = QStringLiteral("    <track>\n      <location>%1</location>\n      "
                                  "<title>%2</title>\n      <duration>%3</duration>\n      "
                                  "<extension application=\"http://www.videolan.org/vlc/"
                                  "playlist/0\">\n        <vlc:id>%4</vlc:id>\n")
                       .arg(location, title)
                       .arg(duration)
                       .arg(id);
    for (const QString& option : options)
        text += QStringLiteral("        <vlc:option>%1</vlc:option>\n").arg(option);
    text += QStringLiteral("      </extension>\n    </track>\n");
    return text.toUtf8();
}

QByteArray card(int n, const QString& title, int id) {
    return track(QStringLiteral("Lektion%201%20Titelkarten/a%1.jpg").arg(n), title, 2000, id,
                 {QStringLiteral("file-caching=300"), QStringLiteral("start-time=0.000"),
                  QStringLiteral("stop-time=2.000")});
}

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<playlist xmlns=\"http://xspf.org/ns/0/\" "
                         "xmlns:vlc=\"http://www.videolan.org/vlc/playlist/ns/0/\" "
                         "version=\"1\">\n  <title>Filmarin</title>\n  <trackList>\n";
const QByteArray kTail = "  </trackList>\n</playlist>\n";

TEST(Playlist, AVideoDvdsExcerptsEachAfterItsCard) {
    Lesson lesson;
    lesson.source.kind = SourceKind::DvdVideo;
    lesson.source.driveRoot = QStringLiteral("D:");
    const QString first = QStringLiteral("Ankunft &amp; &lt;Abschied&gt;");
    const QByteArray expected =
        kHead + card(1, first, 0) +
        track(QStringLiteral("dvdsimple:///D:/#3"), first, 60000, 1,
              {QStringLiteral("start-time=60.000"), QStringLiteral("stop-time=120.000"),
               QStringLiteral("audio-language=en")}) +
        card(5, QStringLiteral("Ausschnitt 5"), 2) +
        track(QStringLiteral("dvdsimple:///D:/#5"), QStringLiteral("Ausschnitt 5"), 30000, 3,
              {QStringLiteral("start-time=3600.000"), QStringLiteral("stop-time=3630.000"),
               QStringLiteral("audio-language=en")}) +
        kTail;
    EXPECT_EQ(lesson.build().toStdString(), expected.toStdString());
}

TEST(Playlist, AnAudioCdsTrackIsAnOptionAndAFileIsAFileUrl) {
    Lesson lesson;
    lesson.source.kind = SourceKind::VideoFile;
    lesson.source.videoFilePath = QStringLiteral("/home/lehrer/Filme/Am Meer #1 100% Übung.mp4");
    const QByteArray file = lesson.build();
    EXPECT_TRUE(file.contains(
        "<location>file:///home/lehrer/Filme/Am%20Meer%20%231%20100%25%20%C3%9Cbung.mp4"
        "</location>"));

    lesson.source.kind = SourceKind::AudioCd;
    lesson.source.driveRoot = QStringLiteral("D:");
    const QByteArray cd = lesson.build();
    QXmlStreamReader xml(cd);
    QStringList locations, options;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("location"))
            locations << xml.readElementText();
        else if (xml.name() == QStringLiteral("option") &&
                 xml.namespaceUri() == QStringLiteral("http://www.videolan.org/vlc/playlist/ns/0/"))
            options << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(locations.size(), 4);
    EXPECT_TRUE(locations[1].startsWith(QStringLiteral("cdda:///")));
    EXPECT_FALSE(locations[1].contains(QLatin1Char(' '))) << locations[1].toStdString();
    EXPECT_TRUE(options.contains(QStringLiteral("cdda-track=3")));
    EXPECT_TRUE(options.contains(QStringLiteral("cdda-track=5")));
}

TEST(Playlist, NothingTickedGivesAnEmptyListAndTheCardsFolderIsNamedAfterThePlaylist) {
    Lesson lesson;
    lesson.source.kind = SourceKind::DvdVideo;
    lesson.source.driveRoot = QStringLiteral("D:");
    lesson.spans = {};
    EXPECT_EQ(lesson.build(), kHead.left(kHead.size() - 14) + "  <trackList/>\n</playlist>\n");
    EXPECT_EQ(playlistCardsFolder(QStringLiteral("/a/Lektion 1.xspf")),
              QStringLiteral("/a/Lektion 1 Titelkarten"));
    EXPECT_EQ(playlistCardsFolder(QStringLiteral("/a/b.c.xspf")),
              QStringLiteral("/a/b.c Titelkarten"));
}

TEST(Playlist, SavedWithItsCards) {
    Lesson lesson;
    lesson.source.kind = SourceKind::DvdVideo;
    lesson.source.driveRoot = QStringLiteral("D:");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lektion 1.xspf"));
    const CardResult saved =
        savePlaylist(path, {lesson.source, lesson.table, lesson.spans, lesson.headings});
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), lesson.build());
    for (int n : {1, 5})
        EXPECT_TRUE(
            QFile::exists(dir.filePath(QStringLiteral("Lektion 1 Titelkarten/a%1.jpg").arg(n))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Lektion 1 Titelkarten/a3.jpg"))));
}

} // namespace
