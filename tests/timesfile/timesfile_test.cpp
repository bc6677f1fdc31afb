// SPDX-License-Identifier: GPL-3.0-or-later
#include "../platform/tempdir.h"
#include "../table/memorytable.h"
#include "golden.h"
#include "table/tablecheck.h"
#include "timesfile/codepage.h"
#include "timesfile/timesfile.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#ifdef __linux__
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace filmarin;
using namespace filmarin::testing;

namespace {

QByteArray readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const std::string& path, const QByteArray& bytes) {
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

TEST(TimesFileFormat, WriterPutsEveryBlockAtItsOffset) {
    ExcerptTable table;
    table.init();
    table.startTimes[cellIndex(2, 5)] = 42.5;
    table.startTimes[cellIndex(3, 0)] = -7; // a spare element
    table.stopTimes[cellIndex(0, 20)] = 3;
    table.playFlags.fill(1);
    table.playFlags[3] = 0;
    table.pauseFlags[0] = 1;
    table.pauseFlags[18] = 1;
    table.titleNumbers[cellIndex(0, 20)] = -5;
    table.titleNumbers[cellIndex(1, 0)] = 99;
    table.headings[cellIndex(1, 1)] = QStringLiteral("Äpfel & Birnen");
    table.headings[cellIndex(2, 20)] = QStringLiteral("spare");
    table.audioLanguageCode = QStringLiteral("it");

    GoldenFile g;
    g.freshTable();
    g.int32At(0, 11);
    g.doubleAt(GoldenFile::startTime(2, 5), 42.5);
    g.doubleAt(GoldenFile::startTime(3, 0), -7);
    g.doubleAt(GoldenFile::stopTime(0, 20), 3);
    for (int k = 0; k < 21; ++k)
        g.byteAt(GoldenFile::playFlag(k), k == 3 ? 0 : 1);
    g.byteAt(GoldenFile::pauseFlag(0), 1);
    g.byteAt(GoldenFile::pauseFlag(18), 1);
    g.shortStringAt(GoldenFile::languageCode(), "it");
    g.int32At(GoldenFile::titleNumber(0, 20), -5);
    g.int32At(GoldenFile::titleNumber(1, 0), 99);
    g.shortStringAt(GoldenFile::heading(1, 1), "\xC4pfel & Birnen");
    g.shortStringAt(GoldenFile::heading(2, 20), "spare");
    EXPECT_EQ(GoldenFile::heading(1, 1), 7201);
    EXPECT_EQ(GoldenFile::heading(1, 20), 12065);

    const QByteArray written = encodeTimesFile(table);
    ASSERT_EQ(written.size(), 17697);
    EXPECT_EQ(written, g.bytes);
}

TEST(TimesFileFormat, ReaderTakesWhatTheFileHolds) {
    GoldenFile g(17697 + 50); // bytes after the end are ignored
    g.freshTable();
    g.int32At(0, 12);
    g.doubleAt(GoldenFile::startTime(2, 1), 90);
    g.doubleAt(GoldenFile::stopTime(1, 2), std::numeric_limits<double>::quiet_NaN());
    g.doubleAt(GoldenFile::stopTime(3, 7), 1e300);
    g.byteAt(GoldenFile::playFlag(19), 1);
    g.byteAt(GoldenFile::pauseFlag(18), 7);
    g.shortStringAt(GoldenFile::languageCode(), "EN");
    g.int32At(GoldenFile::titleNumber(0, 3), 0);
    g.shortStringAt(GoldenFile::heading(1, 4), "\xE4\xF6\xFC\xDF\xBD\x80");
    g.shortStringAt(GoldenFile::heading(0, 0), "spare");
    ExcerptTable current;
    current.init();
    const auto t = decodeTimesFile(g.bytes, current);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->startTimes[cellIndex(2, 1)], 90);
    EXPECT_TRUE(std::isnan(t->stopTimes[cellIndex(1, 2)]));
    EXPECT_EQ(t->stopTimes[cellIndex(3, 7)], 1e300);
    EXPECT_EQ(t->playFlags[19], 1);
    EXPECT_EQ(t->playFlags[0], 0);
    EXPECT_EQ(t->pauseFlags[18], 7);
    EXPECT_EQ(t->audioLanguageCode, QStringLiteral("EN"));
    EXPECT_EQ(t->titleNumbers[cellIndex(0, 3)], 0);
    EXPECT_EQ(t->titleNumbers[cellIndex(0, 4)], 1);
    EXPECT_EQ(t->headings[cellIndex(1, 4)], QStringLiteral("äöüß½€"));
    EXPECT_EQ(t->headings[cellIndex(0, 0)], QStringLiteral("spare"));
    EXPECT_EQ(encodeTimesFile(*t, 12), g.bytes.left(17697)) << "read back byte for byte";
}

TEST(TimesFileFormat, OlderFilesEndAfterTheLanguageBlock) {
    GoldenFile g(1401);
    g.int32At(0, 10);
    g.doubleAt(GoldenFile::stopTime(0, 1), 2);
    g.byteAt(GoldenFile::playFlag(0), 1);
    g.shortStringAt(GoldenFile::languageCode(), "fr");
    ExcerptTable current;
    current.init();
    current.titleNumbers[cellIndex(0, 1)] = 4;
    current.headings[cellIndex(1, 1)] = QStringLiteral("bleibt");
    const auto t = decodeTimesFile(g.bytes, current);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->stopTimes[cellIndex(0, 1)], 2);
    EXPECT_EQ(t->audioLanguageCode, QStringLiteral("fr"));
    EXPECT_EQ(t->titleNumbers[cellIndex(0, 1)], 4);
    EXPECT_EQ(t->headings[cellIndex(1, 1)], QStringLiteral("bleibt"));
}

TEST(TimesFileFormat, TooShortFilesAreRefused) {
    ExcerptTable current;
    current.init();
    GoldenFile old(1400);
    old.int32At(0, 10);
    EXPECT_FALSE(decodeTimesFile(old.bytes, current).has_value());
    GoldenFile cut(17696);
    cut.int32At(0, 11);
    EXPECT_FALSE(decodeTimesFile(cut.bytes, current).has_value());
    GoldenFile negative(1401);
    negative.int32At(0, -1);
    EXPECT_TRUE(decodeTimesFile(negative.bytes, current).has_value()) << "below 11: an old file";
    EXPECT_FALSE(decodeTimesFile(QByteArray(), current).has_value());
}

TEST(TimesFileFormat, LanguageLengthBeyondItsFieldIsCut) {
    GoldenFile g;
    g.freshTable();
    g.int32At(0, 11);
    g.byteAt(GoldenFile::languageCode(), 200);
    for (int i = 0; i < 10; ++i)
        g.byteAt(GoldenFile::languageCode() + 1 + i, 'a' + i);
    ExcerptTable current;
    current.init();
    const auto t = decodeTimesFile(g.bytes, current);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->audioLanguageCode, QStringLiteral("abcdefghij"));
}

TEST(CodePage, Windows1252BothWays) {
    EXPECT_EQ(toWindows1252(QStringLiteral("äöüß½€")), QByteArray("\xE4\xF6\xFC\xDF\xBD\x80"));
    EXPECT_EQ(toWindows1252(QStringLiteral("Ω → 😀 ok")), QByteArray("? ? ? ok"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all) << "every byte survives a round trip";
    EXPECT_EQ(fromWindows1252("\x9F\x81"), QStringLiteral("\u0178\u0081"));
}

// Saving and loading with the table's calling orders, without a window.
struct Files : ::testing::Test {
    Files() {
        table.init();
        labelGrids(t.view);
        t.fillAsAtStartUp();
        refreshTotals(table, spans, t.view);
    }
    TimesFileContext context() {
        return TimesFileContext{table,
                                spans,
                                t.view,
                                [this] { ++languageFromMenu; },
                                [this] { ++menuFromLanguage; },
                                [this] { refreshTotals(table, spans, t.view); },
                                nullptr};
    }
    bool save(const std::string& path) {
        auto c = context();
        return saveTimesFile(QString::fromStdString(path), c);
    }
    bool load(const std::string& path) {
        auto c = context();
        return loadTimesFile(QString::fromStdString(path), c);
    }

    MemoryTable t;
    ExcerptTable table;
    ExcerptSpans spans{};
    int languageFromMenu = 0;
    int menuFromLanguage = 0;
    TempDir dir;
};

TEST_F(Files, SaveChecksTidiesAndWrites) {
    t.start.setCell(2, 2, QStringLiteral("90"));
    t.pauses.setChecked(0, true);
    t.pauses.setChecked(18, true);
    ASSERT_TRUE(save(dir / "a.zei"));
    EXPECT_EQ(languageFromMenu, 1);
    EXPECT_EQ(t.start.cell(1, 2), QStringLiteral("1")) << "normalised in the grid too";
    const QByteArray bytes = readAll(dir / "a.zei");
    ASSERT_EQ(bytes.size(), 17697);
    EXPECT_EQ(bytes[1369], 1);
    EXPECT_EQ(bytes[1387], 1);
    EXPECT_EQ(bytes[1368], 1) << "play flag 20 is always 1";
    EXPECT_EQ(bytes[1388], 0);
}

// Headings are single bytes of code page 1252 in the file. One that loses characters is
// saved as the file can hold it, and the user is told which excerpts changed.
TEST_F(Files, HeadingsBeyondCodePage1252AreSavedAndNamed) {
    struct Case {
        std::vector<std::pair<int, QString>> headings;
        QString message;
    };
    const Case cases[] = {
        {{{2, QStringLiteral("Größe – 50 % ½ «Ünter» €")}}, QString()},
        {{{3, QStringLiteral("Война и мир")}},
         QStringLiteral("Die Zeiten wurden gespeichert. Die Überschrift von Ausschnitt 3 "
                        "enthält Zeichen, die eine Zeitendatei nicht aufnehmen kann: In der "
                        "Datei stehen dafür Fragezeichen (?), oder sie ist gekürzt. So erscheint "
                        "sie auch beim Öffnen der Datei.")},
        {{{1, QStringLiteral("Şişli")}, {7, QStringLiteral("Łódź")}, {20, QStringLiteral("ılık")}},
         QStringLiteral("Die Zeiten wurden gespeichert. Die Überschriften der Ausschnitte 1, 7 "
                        "und 20 enthalten Zeichen, die eine Zeitendatei nicht aufnehmen kann: In "
                        "der Datei stehen dafür Fragezeichen (?), oder sie sind gekürzt. So "
                        "erscheinen sie auch beim Öffnen der Datei.")},
    };
    for (const Case& c : cases) {
        t.fillAsAtStartUp();
        for (const auto& [n, heading] : c.headings)
            t.headings.setCell(1, n, heading);
        t.messages.shown.clear();
        ASSERT_TRUE(save(dir / "a.zei"));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(t.messages.shown.empty());
        } else {
            ASSERT_EQ(t.messages.shown.size(), 1u);
            EXPECT_EQ(t.messages.shown[0].caption, QStringLiteral("Information"));
            EXPECT_EQ(t.messages.shown[0].text, c.message);
        }
        // The file is the one it always was, with "?" where a character was lost.
        EXPECT_EQ(readAll(dir / "a.zei").size(), 17697);
        ASSERT_TRUE(load(dir / "a.zei"));
        for (const auto& [n, heading] : c.headings)
            EXPECT_EQ(t.headings.cell(1, n), fromWindows1252(toWindows1252(heading)));
    }
}

TEST_F(Files, SaveOfAnInvalidTableLeavesTheFileAlone) {
    writeAll(dir / "a.zei", "old content");
    t.start.setCell(1, 3, QStringLiteral("3 min"));
    EXPECT_FALSE(save(dir / "a.zei"));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, timeCellMessage());
    EXPECT_EQ(readAll(dir / "a.zei"), QByteArray("old content"));
}

TEST_F(Files, FailedSaveNamesItsCauseKeepsTheOldFileAndLeavesNoPartialFile) {
    writeAll(dir / "a.zei", "old content");
    dir.mkdir("taken.zei");
    const QString gone = QString::fromStdString(dir / "gone");
    const struct {
        std::string path;
        QString cause;
    } cases[] = {
        {dir / "gone/a.zei", QStringLiteral("Der Ordner \"%1\" ist nicht vorhanden.")
                                 .arg(QDir::toNativeSeparators(gone))},
        {dir / "taken.zei", QStringLiteral("Es ist ein Ordner.")},
    };
    for (const auto& c : cases) {
        t.messages.shown.clear();
        EXPECT_FALSE(save(c.path)) << c.path;
        ASSERT_EQ(t.messages.shown.size(), 1u) << c.path;
        EXPECT_EQ(t.messages.shown[0].caption, QStringLiteral("Fehler"));
        const QString text = t.messages.shown[0].text;
        EXPECT_TRUE(text.contains(c.cause)) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(QString::fromStdString(c.path))))
            << text.toStdString();
        EXPECT_NE(text, readOnlyMediumMessage());
    }
    EXPECT_EQ(readAll(dir / "a.zei"), QByteArray("old content"));
    EXPECT_EQ(
        QDir(QString::fromStdString(dir.str())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        (QStringList{QStringLiteral("a.zei"), QStringLiteral("taken.zei")}));
}

TEST(SaveFailedMessage, NamesTheCauseAndKeepsTheReadOnlyMediumMessage) {
    const QString folder =
        QDir::temp().absoluteFilePath(QStringLiteral("filmarin-nicht-da/Ordner"));
    const QString missing = folder + QStringLiteral("/a.zei");
    EXPECT_EQ(saveFailedMessage(missing, QStringLiteral("No such file"), 10),
              QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden. Der Ordner \"%2\" "
                             "ist nicht vorhanden. Bitte korrigieren Sie das Zielverzeichnis.")
                  .arg(QDir::toNativeSeparators(missing), QDir::toNativeSeparators(folder)));
}

#ifdef __linux__
// A write-protected medium, as a CD or a locked card is, simulated with a file system
// mounted read-only.
TEST_F(Files, SaveOnAWriteProtectedMediumGetsItsMessage) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a read-only file system needs root";
    dir.mkdir("cd");
    const std::string cd = dir / "cd";
    if (::mount("tmpfs", cd.c_str(), "tmpfs", MS_RDONLY, "size=12k") != 0)
        GTEST_SKIP() << "cannot mount a file system here";
    EXPECT_FALSE(save(cd + "/a.zei"));
    ::umount(cd.c_str());
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, readOnlyMediumMessage());
}

// A full disc is simulated with a small RAM file system, which only Linux mounts this way.
TEST_F(Files, FullDiscKeepsTheOldFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "simulating a full disc needs a small file system mounted as root";
    dir.mkdir("small");
    const std::string small = dir / "small";
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=12k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    writeAll(small + "/a.zei", "old content");
    EXPECT_FALSE(save(small + "/a.zei"));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_TRUE(t.messages.shown[0].text.contains(QStringLiteral("Der Datenträger ist voll.")))
        << t.messages.shown[0].text.toStdString();
    EXPECT_EQ(readAll(small + "/a.zei"), QByteArray("old content"));
    EXPECT_EQ(
        QDir(QString::fromStdString(small)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList{QStringLiteral("a.zei")});
    ::umount(small.c_str());
}
#endif

TEST_F(Files, LoadShowsTheTableAndRefreshesIt) {
    GoldenFile g;
    g.freshTable();
    g.int32At(0, 11);
    g.doubleAt(GoldenFile::startTime(2, 1), 90);
    g.doubleAt(GoldenFile::stopTime(0, 1), 1);
    g.byteAt(GoldenFile::playFlag(0), 1);
    g.byteAt(GoldenFile::pauseFlag(0), 1);
    g.byteAt(GoldenFile::pauseFlag(18), 1);
    g.shortStringAt(GoldenFile::languageCode(), "EN");
    g.int32At(GoldenFile::titleNumber(0, 1), 3);
    g.shortStringAt(GoldenFile::heading(1, 1), "\xE4\xF6\xFC\xDF\xBD\x80");
    writeAll(dir / "b.zei", g.bytes);
    ASSERT_TRUE(load(dir / "b.zei"));
    EXPECT_EQ(t.start.cell(0, 1) + t.start.cell(1, 1) + t.start.cell(2, 1), QStringLiteral("0130"));
    EXPECT_EQ(t.titles.cell(0, 1), QStringLiteral("3"));
    EXPECT_EQ(t.headings.cell(1, 1), QStringLiteral("äöüß½€"));
    EXPECT_TRUE(t.play.isChecked(0));
    EXPECT_FALSE(t.play.isChecked(1));
    EXPECT_TRUE(t.pauses.isChecked(0));
    EXPECT_TRUE(t.pauses.isChecked(18));
    EXPECT_EQ(t.total.text, QStringLiteral("0h 58min 30sec"));
    EXPECT_EQ(menuFromLanguage, 1);
    EXPECT_EQ(table.audioLanguageCode, QStringLiteral("EN"));
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(Files, LoadedNonsenseMeetsTheTablesOwnChecks) {
    GoldenFile g;
    g.freshTable();
    g.int32At(0, 11);
    g.int32At(GoldenFile::titleNumber(0, 6), -4);
    writeAll(dir / "t.zei", g.bytes);
    ASSERT_TRUE(load(dir / "t.zei"));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, titleCellMessage());
    EXPECT_EQ(t.titles.selected, std::make_pair(0, 6));

    g.doubleAt(GoldenFile::stopTime(2, 9), std::numeric_limits<double>::infinity());
    writeAll(dir / "n.zei", g.bytes);
    t.messages.shown.clear();
    ASSERT_TRUE(load(dir / "n.zei"));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, timeCellMessage());
    EXPECT_EQ(t.stop.selected, std::make_pair(2, 9));
    EXPECT_EQ(t.stop.cell(2, 9), QStringLiteral("INF"));
}

TEST_F(Files, LoadFailuresChangeNothing) {
    GoldenFile cut(17000);
    cut.int32At(0, 11);
    writeAll(dir / "cut.zei", cut.bytes);
    dir.mkdir("folder.zei");
    const ExcerptTable before = table;
    const auto cells = [&] {
        return t.start.cell(0, 1) + t.stop.cell(0, 1) + t.headings.cell(1, 5) + t.total.text;
    };
    const QString shown = cells();
    struct Case {
        std::string path;
        QString begins;
    };
    const Case cases[] = {
        {dir / "missing.zei", QStringLiteral("Die Datei konnte nicht geöffnet werden.")},
        {dir / "cut.zei", QStringLiteral("Die Datei \"") + QString::fromStdString(dir / "cut.zei")},
        {dir / "folder.zei",
         QStringLiteral("Die Datei \"") + QString::fromStdString(dir / "folder.zei")}};
    for (const Case& c : cases) {
        t.messages.shown.clear();
        EXPECT_FALSE(load(c.path)) << c.path;
        ASSERT_EQ(t.messages.shown.size(), 1u) << c.path;
        EXPECT_EQ(t.messages.shown[0].caption, QStringLiteral("Fehler"));
        EXPECT_TRUE(t.messages.shown[0].text.startsWith(c.begins))
            << t.messages.shown[0].text.toStdString();
        EXPECT_EQ(cells(), shown);
        EXPECT_EQ(encodeTimesFile(table), encodeTimesFile(before));
        EXPECT_EQ(menuFromLanguage, 0);
    }
}

#ifdef __linux__
// A named pipe or a device is no times file: opening one for reading would wait for a writer,
// or read without end. Neither loading nor saving touches it.
TEST_F(Files, OnlyRegularFilesAreLoadedOrSaved) {
    const std::string fifo = dir / "pipe.zei";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.mkdir("folder.zei");
    const ExcerptTable before = table;
    // One "Fehler" message that starts with `opening` for the path.
    const auto refused = [&](const std::string& path, const QString& opening) {
        ASSERT_EQ(t.messages.shown.size(), 1u) << path;
        EXPECT_EQ(t.messages.shown[0].caption, QStringLiteral("Fehler"));
        EXPECT_TRUE(t.messages.shown[0].text.startsWith(opening.arg(QString::fromStdString(path))))
            << t.messages.shown[0].text.toStdString();
    };
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir / "folder.zei"}) {
        t.messages.shown.clear();
        EXPECT_FALSE(load(path)) << path;
        refused(path, QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden. "));
        EXPECT_EQ(encodeTimesFile(table), encodeTimesFile(before));
        EXPECT_EQ(menuFromLanguage, 0);
    }
    for (const std::string& path : {fifo, std::string("/dev/null")}) {
        t.messages.shown.clear();
        EXPECT_FALSE(save(path)) << path;
        refused(path, QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden. "));
    }
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is left as it was";
}
#endif

} // namespace
