// SPDX-License-Identifier: GPL-3.0-or-later
#include "../table/memorytable.h"
#include "platform/files.h"
#include "platform/process.h"
#include "playback/commandline.h"

#include <QByteArray>
#include <QUrl>
#include <gtest/gtest.h>

using namespace filmarin;
using filmarin::testing::MemoryCheckList;

namespace {

// A run's inputs: every excerpt unselected, no pause ticked, language "de".
struct Segment {
    Segment() {
        table.init();
        source.driveRoot = QStringLiteral("D:");
    }
    void select(int n, std::int32_t start, std::int32_t stop, std::int32_t title = 1) {
        spans[static_cast<std::size_t>(n - 1)] = {start, stop, 1};
        table.titleNumbers[cellIndex(0, n)] = title;
    }
    QString build(std::int32_t& next) {
        const SegmentInputs inputs{source, table, spans, pauses, imageFolder};
        return buildSegmentCommandLine(inputs, next);
    }
    // The player's full command line, as the process runner makes it.
    QString full(std::int32_t& next) {
        return QString::fromStdString(platform::buildCommandLine(
            "C:\\Tools\\VLCportable\\VLCportable.exe", build(next).toStdString()));
    }

    MediaSource source;
    ExcerptTable table;
    ExcerptSpans spans{};
    MemoryCheckList pauses{19};
    QString imageFolder = QStringLiteral("C:\\Daten\\Eigene Dateien\\Bilder_VLC");
};

// The card paths of the examples with this system's separator before "a<N>.jpg".
QString withSeparator(QString expected) {
    return expected.replace(QStringLiteral("Bilder_VLC\\a"),
                            QStringLiteral("Bilder_VLC") +
                                QChar::fromLatin1(platform::pathSeparator()) + QStringLiteral("a"));
}

TEST(PlayerCommandLine, DvdExample) {
    Segment s;
    s.source.kind = SourceKind::DvdVideo;
    s.select(1, 60, 120, 1);
    s.select(2, 3600, 3630, 3);
    s.pauses.setChecked(1, true);
    std::int32_t next = 1;
    EXPECT_EQ(s.full(next),
              withSeparator(QStringLiteral(
                  "\"C:\\Tools\\VLCportable\\VLCportable.exe\"   --mouse-hide-timeout=0 "
                  "--video-title-timeout=0 --high-priority --no-repeat  --playlist-autostart "
                  "--no-input-fast-seek --fullscreen --no-video-title-show --play-and-exit  "
                  "--disc-caching=1000 --cr-average=10000  "
                  "file:///C:\\Daten\\Eigene%20Dateien\\Bilder_VLC\\a1.jpg :file-caching=300 "
                  ":start-time=0.000 :stop-time=2.000 dvdsimple:///D:/#1 :start-time=60.000 "
                  ":stop-time=120.000 :audio-language=de  "
                  "file:///C:\\Daten\\Eigene%20Dateien\\Bilder_VLC\\a2.jpg :file-caching=300 "
                  ":start-time=0.000 :stop-time=2.000 dvdsimple:///D:/#3 :start-time=3600.000 "
                  ":stop-time=3630.000 :audio-language=de")));
    EXPECT_EQ(next, 3);
}

TEST(PlayerCommandLine, VideoFileExample) {
    Segment s;
    s.source.kind = SourceKind::VideoFile;
    s.source.videoFilePath = QStringLiteral("C:\\Filme\\Urlaub am Meer.avi");
    s.table.audioLanguageCode = QStringLiteral("en");
    s.select(4, 90, 95, 7);
    s.pauses.setChecked(3, true);
    std::int32_t next = 4;
    EXPECT_EQ(s.full(next),
              withSeparator(QStringLiteral(
                  "\"C:\\Tools\\VLCportable\\VLCportable.exe\"   --mouse-hide-timeout=0 "
                  "--video-title-timeout=0 --high-priority --no-repeat  --playlist-autostart "
                  "--no-input-fast-seek --fullscreen --no-video-title-show --play-and-exit "
                  "--file-caching=1000  file:///C:\\Daten\\Eigene%20Dateien\\Bilder_VLC\\a4.jpg "
                  ":file-caching=300 :start-time=0.000 :stop-time=2.000 "
                  "file:///C:\\Filme\\Urlaub%20am%20Meer.avi :start-time=90.000 "
                  ":stop-time=95.000 :audio-language=en")));
    EXPECT_EQ(next, 5);
}

TEST(PlayerCommandLine, OptionStringsOfEveryKind) {
    const QString head = QStringLiteral("  --mouse-hide-timeout=0 --video-title-timeout=0 "
                                        "--high-priority --no-repeat  --playlist-autostart");
    EXPECT_EQ(head.size(), 98);
    const QString disc = head + QStringLiteral(" --no-input-fast-seek --fullscreen "
                                               "--no-video-title-show --play-and-exit  "
                                               "--disc-caching=1000 --cr-average=10000 X");
    for (std::int32_t kind : {1, 2, 3})
        EXPECT_EQ(prependPlayerOptions(sourceKindFromCode(kind), QStringLiteral("X")), disc)
            << kind;
    EXPECT_EQ(prependPlayerOptions(SourceKind::AudioCd, QStringLiteral("X")),
              head + QStringLiteral(" --no-input-fast-seek --no-video-title-show --play-and-exit "
                                    "--disc-caching=1000 X"));
    EXPECT_EQ(prependPlayerOptions(SourceKind::VideoFile, QStringLiteral("X")),
              head + QStringLiteral(" --no-input-fast-seek --fullscreen --no-video-title-show "
                                    "--play-and-exit --file-caching=1000 X"));
}

// With a second screen the film is sent to the chosen one; everything else stays in place,
// and an audio CD, which plays in a window, names no screen.
TEST(PlayerCommandLine, TheFilmScreenIsNamedOnlyWhereAScreenIsChosen) {
    const QString head = QStringLiteral("  --mouse-hide-timeout=0 --video-title-timeout=0 "
                                        "--high-priority --no-repeat  --playlist-autostart");
    const struct {
        std::int32_t kind;
        QString expected;
    } cases[] = {
        {1, head + QStringLiteral(" --no-input-fast-seek --fullscreen --no-video-title-show "
                                  "--play-and-exit  --disc-caching=1000 "
                                  "--qt-fullscreen-screennumber=1 --cr-average=10000 X")},
        {3, head + QStringLiteral(" --no-input-fast-seek --fullscreen --no-video-title-show "
                                  "--play-and-exit  --disc-caching=1000 "
                                  "--qt-fullscreen-screennumber=1 --cr-average=10000 X")},
        {4, head + QStringLiteral(" --no-input-fast-seek --no-video-title-show --play-and-exit "
                                  "--disc-caching=1000 X")},
        {5, head + QStringLiteral(" --no-input-fast-seek --fullscreen --no-video-title-show "
                                  "--play-and-exit --file-caching=1000 "
                                  "--qt-fullscreen-screennumber=1 X")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prependPlayerOptions(sourceKindFromCode(c.kind), QStringLiteral("X"), 1),
                  c.expected)
            << c.kind;

    Segment s;
    s.source.kind = SourceKind::VideoFile;
    s.source.videoFilePath = QStringLiteral("C:\\Filme\\a.avi");
    s.select(1, 0, 5);
    s.select(2, 5, 9);
    std::int32_t next = 1;
    const QString single = s.build(next);
    next = 1;
    const SegmentInputs second{s.source, s.table, s.spans, s.pauses, s.imageFolder, 0};
    const QString onScreen0 = buildSegmentCommandLine(second, next);
    // Named once, before the first item, and otherwise the same line.
    EXPECT_EQ(onScreen0.count(QStringLiteral("--qt-fullscreen-screennumber=0")), 1);
    EXPECT_EQ(QString(onScreen0).remove(QStringLiteral(" --qt-fullscreen-screennumber=0")), single);
}

TEST(PlayerCommandLine, SourceItemsOfEveryKind) {
    Segment s;
    s.imageFolder = QStringLiteral("/b");
    s.table.titleNumbers[cellIndex(0, 7)] = 5;
    // The card's path is the folder, the system's separator and "a7.jpg".
    const QString card = QStringLiteral(" file:////b") +
                         QChar::fromLatin1(platform::pathSeparator()) +
                         QStringLiteral("a7.jpg :file-caching=300 :start-time=0.000 "
                                        ":stop-time=2.000 ");
    const auto item = [&](std::int32_t kind) {
        s.source.kind = sourceKindFromCode(kind);
        const SegmentInputs inputs{s.source, s.table, s.spans, s.pauses, s.imageFolder};
        return buildExcerptItem(inputs, 7);
    };
    EXPECT_EQ(item(1), card + QStringLiteral("dvdsimple:///D:/#5"));
    EXPECT_EQ(item(2), card + QStringLiteral("vcd:///D:/#5"));
    EXPECT_EQ(item(3), card + QStringLiteral("vcd:///D:/#5"));
    EXPECT_EQ(item(4), card + QStringLiteral("cdda:///D: :cdda-track=5"));
    s.source.videoFilePath = QStringLiteral("/f/a  b.avi");
    EXPECT_EQ(item(5), card + QStringLiteral("file:////f/a%20%20b.avi"));

    // A mount point that is no optical drive's stays one argument and reads back as itself.
    s.source.driveRoot = QStringLiteral("/media/lehrer/MEIN FILM #2 100%");
    EXPECT_EQ(item(1),
              card + QStringLiteral("dvdsimple:////media/lehrer/MEIN%20FILM%20%232%20100%25/#5"));
    EXPECT_EQ(item(2),
              card + QStringLiteral("vcd:////media/lehrer/MEIN%20FILM%20%232%20100%25/#5"));
    EXPECT_EQ(
        item(4),
        card + QStringLiteral("cdda:////media/lehrer/MEIN%20FILM%20%232%20100%25 :cdda-track=5"));
}

TEST(PlayerCommandLine, AudioCdExcerpt) {
    Segment s;
    s.source.kind = SourceKind::AudioCd;
    s.select(7, 0, 30, 5);
    std::int32_t next = 7;
    const QString p = s.build(next);
    EXPECT_TRUE(p.endsWith(QStringLiteral(
        ":stop-time=2.000 cdda:///D: :cdda-track=5 :start-time=0.000 :stop-time=30.000 "
        ":audio-language=de")))
        << p.toStdString();
    EXPECT_FALSE(p.contains(QStringLiteral("--fullscreen")));
    EXPECT_FALSE(p.contains(QStringLiteral("--cr-average")));
    EXPECT_EQ(next, 21);
}

TEST(PlayerCommandLine, SegmentBoundaries) {
    Segment s;
    s.source.kind = SourceKind::DvdVideo;
    s.select(3, 10, 20);
    s.select(9, 30, 40);
    s.pauses.setChecked(4, true); // after excerpt 5, which is not selected

    std::int32_t next = 1;
    const QString first = s.build(next);
    EXPECT_TRUE(first.startsWith(QStringLiteral("  --mouse-hide-timeout=0"))) << "options first";
    EXPECT_TRUE(first.contains(QStringLiteral("a3.jpg")));
    EXPECT_FALSE(first.contains(QStringLiteral("a9.jpg")));
    EXPECT_EQ(next, 6) << "a pause after an unselected excerpt ends the segment";

    const QString second = s.build(next);
    EXPECT_TRUE(second.startsWith(QStringLiteral("  --mouse-hide-timeout=0")));
    EXPECT_EQ(second.count(QStringLiteral(":audio-language=de")), 1);
    EXPECT_EQ(next, 21) << "excerpt 20 ends the segment";

    EXPECT_EQ(s.build(next), QString()) << "nothing left";
    EXPECT_EQ(next, 21);

    std::int32_t empty = 10;
    EXPECT_EQ(s.build(empty), QString()) << "a segment without selected excerpts";
    EXPECT_EQ(empty, 21);
}

TEST(PlayerCommandLine, ItemsAreSeparatedByTwoBlanksAndAllCarryTheLanguage) {
    Segment s;
    s.source.kind = SourceKind::AudioCd;
    s.table.audioLanguageCode = QStringLiteral("fr");
    s.select(1, 0, 10, 1);
    s.select(2, 5, 6, 2);
    s.select(20, 7, 8, 3);
    std::int32_t next = 1;
    const QString p = s.build(next);
    EXPECT_EQ(p.count(QStringLiteral(":audio-language=fr")), 3);
    EXPECT_EQ(p.count(QStringLiteral(":audio-language=fr  file:///")), 2);
    EXPECT_EQ(p.count(QStringLiteral(":file-caching=300")), 3);
    EXPECT_TRUE(p.contains(QStringLiteral(":cdda-track=3 :start-time=7.000 :stop-time=8.000")));
}

TEST(FilePathEncoding, OnlyWhatThePlayerWouldMisreadIsEncoded) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Filme\\Urlaub am Meer.avi", "C:\\Filme\\Urlaub%20am%20Meer.avi"},
        {"a  b", "a%20%20b"},
        {"Teil#1.avi", "Teil%231.avi"},
        {"50%20off.avi", "50%2520off.avi"},
        {"say \"hi\".avi", "say%20%22hi%22.avi"},
        {"tab\there", "tab%09here"},
        {"new\nline", "new%0Aline"},
        {"Äpfel:ß.avi", "Äpfel:ß.avi"},
        {"/home/u/x.mkv", "/home/u/x.mkv"}};
    for (const auto& [path, encoded] : cases)
        EXPECT_EQ(encodeFilePath(QString::fromUtf8(path)), QString::fromUtf8(encoded)) << path;
}

TEST(FilePathEncoding, NoFileNameCanAddAnArgument) {
    // Every character a file name can hold, in one name and one at a time.
    QString all;
    for (char16_t c = 1; c < 128; ++c)
        all += QChar(c);
    all += QStringLiteral("äß€");
    QStringList names{all};
    for (const QChar c : all)
        names << QStringLiteral("x") + c + QStringLiteral(" \"--fullscreen\" ") + c;
    for (const QString& name : names) {
        Segment s;
        s.source.kind = SourceKind::VideoFile;
        s.source.videoFilePath = QStringLiteral("/v/") + name;
        s.imageFolder = QStringLiteral("/i/") + name;
        s.select(1, 1, 2);
        std::int32_t next = 1;
        const std::string commandLine =
            platform::buildCommandLine("/p/player", s.build(next).toStdString());
        const std::vector<std::string> args = platform::splitCommandLine(commandLine);
        // The program, ten options, then card and video, each with three item options.
        ASSERT_EQ(args.size(), 1u + 10u + 4u + 4u) << commandLine;
        const QString card = QString::fromStdString(args[11]);
        const QString video = QString::fromStdString(args[15]);
        EXPECT_EQ(QUrl::fromPercentEncoding(video.mid(8).toUtf8()), s.source.videoFilePath);
        EXPECT_TRUE(card.endsWith(QStringLiteral("a1.jpg")));
    }
}

} // namespace
