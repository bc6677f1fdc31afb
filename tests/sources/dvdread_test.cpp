// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the video DVDs that make_test_discs.sh authored with dvdauthor, as folders, with
// libdvdread (on Windows, under Wine, through a drive letter's path), and checks the titles
// against what was authored; and a folder that holds no readable disc.
#include "sources/drives.h"
#include "sources/dvdreader.h"
#include "sources/dvdtables.h"
#include "sources/helperdrives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace filmarin;

namespace {

// The folder of the test discs; under Wine the same folder through drive Z:, which Wine
// gives to the root of the file system.
QString discs() {
    QString folder = QStringLiteral(FILMARIN_TEST_DISCS);
#ifdef _WIN32
    folder = QStringLiteral("Z:") + folder;
#endif
    return folder;
}

QString disc(const char* name) {
    return QDir(discs()).filePath(QString::fromUtf8(name));
}

DiscTitle authored(std::int32_t number, std::int64_t lengthMs,
                   const std::vector<std::int64_t>& chapterStartsMs, const QStringList& audio,
                   const QStringList& subtitles) {
    DiscTitle title;
    title.number = number;
    title.lengthMs = lengthMs;
    for (std::size_t i = 0; i < chapterStartsMs.size(); ++i) {
        const std::int64_t end = i + 1 < chapterStartsMs.size() ? chapterStartsMs[i + 1] : lengthMs;
        title.chapters.push_back({chapterStartsMs[i], end - chapterStartsMs[i]});
    }
    title.audioLanguages = audio;
    title.subtitleLanguages = subtitles;
    return title;
}

// The disc reader as built beside the program.
QString reader() {
    QString file = QStringLiteral(FILMARIN_DISC_READER_FILE);
#ifdef _WIN32
    file = QStringLiteral("Z:") + file;
#endif
    return file;
}

// A copy of the two-title disc whose second title set names two program chains at the same
// place beyond its end: libdvdread 6.1.3 follows a null pointer on it.
QString hostileCopy(const QTemporaryDir& into) {
    const QString copy = into.filePath(QStringLiteral("Feindselig"));
    QDir().mkpath(copy + QStringLiteral("/VIDEO_TS"));
    QDirIterator files(disc("Zwei Titel") + QStringLiteral("/VIDEO_TS"), QDir::Files);
    while (files.hasNext()) {
        files.next();
        QFile::copy(files.filePath(), copy + QStringLiteral("/VIDEO_TS/") + files.fileName());
    }
    for (const char* name : {"VTS_01_0.IFO", "VTS_01_0.BUP"}) {
        QFile file(copy + QStringLiteral("/VIDEO_TS/") + QLatin1String(name));
        file.open(QIODevice::ReadWrite);
        QByteArray bytes = file.readAll();
        // The chain table's sector, at byte 0xCC of the title set's tables.
        const quint32 sector = qFromBigEndian<quint32>(bytes.constData() + 0xCC);
        const qsizetype table = static_cast<qsizetype>(sector) * 2048;
        qToBigEndian<quint16>(2, bytes.data() + table);
        for (int i = 0; i < 2; ++i) {
            char* pointer = bytes.data() + table + 8 + 8 * i;
            pointer[0] = static_cast<char>(0x81);
            pointer[1] = pointer[2] = pointer[3] = 0;
            qToBigEndian<quint32>(0x7fffff00, pointer + 4);
        }
        file.seek(0);
        file.write(bytes);
    }
    return copy;
}

} // namespace

TEST(DvdRead, TheTwoTitlesAsAuthored) {
    const std::vector<DiscTitle> expected = {
        authored(1, 12000, {0, 5000}, {QStringLiteral("de")}, {}),
        authored(2, 7000, {0, 2000, 4000}, {QStringLiteral("de"), QStringLiteral("en")},
                 {QStringLiteral("fr")}),
    };
    EXPECT_EQ(readDiscTitles(disc("Zwei Titel")), expected);
    // Named by its video folder, as a user might choose it.
    EXPECT_EQ(readDiscTitles(disc("Zwei Titel") + QStringLiteral("/VIDEO_TS")), expected);
}

TEST(DvdRead, NinetyNineTitles) {
    const std::vector<DiscTitle> titles = readDiscTitles(disc("99 Titel"));
    ASSERT_EQ(titles.size(), 99u);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const std::int64_t seconds = static_cast<std::int64_t>(i % 3) + 1;
        EXPECT_EQ(titles[i],
                  authored(static_cast<std::int32_t>(i) + 1, seconds * 1000, {0}, {QString()}, {}));
    }
    EXPECT_EQ(mainFilmIndex(titles), 2);
}

TEST(DvdRead, TheHelperAnswersWhatTheDiscHolds) {
    SystemDrives drives;
    const QString root = disc("Zwei Titel");
    const std::string answer =
        answerDriveQuestion(drives, std::string("N") + '\0' + root.toStdString());
    ASSERT_FALSE(answer.empty());
    ASSERT_EQ(answer[0], '+');
    EXPECT_EQ(decodeDiscTitles(answer.substr(1)), readDiscTitles(root));
}

TEST(DvdRead, AFolderWithoutAReadableDiscThrows) {
    QTemporaryDir empty;
    QTemporaryDir broken;
    ASSERT_TRUE(QDir(broken.path()).mkdir(QStringLiteral("VIDEO_TS")));
    for (const char* name : {"VIDEO_TS.IFO", "VIDEO_TS.BUP", "VTS_01_0.IFO"}) {
        QFile file(broken.filePath(QStringLiteral("VIDEO_TS/") + QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(6144, 'x'));
    }
    for (const QString& root :
         {empty.path(), broken.path(), empty.path() + QStringLiteral("/nirgends")}) {
        EXPECT_ANY_THROW(readDiscTitles(root)) << root.toStdString();
        SystemDrives drives;
        EXPECT_EQ(answerDriveQuestion(drives, std::string("N") + '\0' + root.toStdString()), "!");
    }
}

TEST(DvdRead, TheDiscReaderGivesTheSameList) {
    EXPECT_EQ(readDiscTitlesApart(reader(), disc("Zwei Titel"), std::chrono::seconds(30)),
              readDiscTitles(disc("Zwei Titel")));
}

// What would end the program ends the reader only, at once and without a box: the disc
// cannot be read.
TEST(DvdRead, AHostileDiscEndsTheReaderNotTheProgram) {
    QTemporaryDir work;
    const QString hostile = hostileCopy(work);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_ANY_THROW(readDiscTitlesApart(reader(), hostile, std::chrono::seconds(30)));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_ANY_THROW(readDiscTitlesApart(work.filePath(QStringLiteral("kein Leser")),
                                         disc("Zwei Titel"), std::chrono::seconds(30)));
}
