// SPDX-License-Identifier: GPL-3.0-or-later
#include "../platform/tempdir.h"
#include "../table/memorytable.h"
#include "playback/titlecards.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <vector>
#ifdef __linux__
#include <sys/mount.h>
#include <unistd.h>
#endif

using namespace filmarin;
using filmarin::testing::MemoryGrid;
using filmarin::testing::TempDir;

namespace {

// A JPEG file decoded with libjpeg, with what its header says.
struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = true;
    bool jfif = false;
    bool allQuantOnes = false;
    std::vector<unsigned char> rgb;

    QColor at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return QColor(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
    bool isYellow(int x, int y) const {
        const QColor c = at(x, y);
        return c.red() > 180 && c.green() > 180 && c.blue() < 100;
    }
    bool isBlack(int x, int y) const {
        const QColor c = at(x, y);
        return c.red() < 16 && c.green() < 16 && c.blue() < 16;
    }
    // Bounding box of the yellow pixels.
    QRect yellowBox() const {
        QRect box;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (isYellow(x, y))
                    box = box.united(QRect(x, y, 1, 1));
        return box;
    }
};

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

Decoded decode(const std::string& path) {
    Decoded d;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return d;
    const QByteArray bytes = file.readAll();
    jpeg_decompress_struct info{};
    ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<ErrorJump*>(c->err)->jump, 1);
    };
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return Decoded{};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    d.width = static_cast<int>(info.image_width);
    d.height = static_cast<int>(info.image_height);
    d.components = info.num_components;
    d.progressive = info.progressive_mode;
    d.jfif = info.saw_JFIF_marker;
    d.allQuantOnes = true;
    for (int t = 0; t < NUM_QUANT_TBLS; ++t) {
        if (!info.quant_tbl_ptrs[t])
            continue;
        for (int i = 0; i < DCTSIZE2; ++i)
            d.allQuantOnes = d.allQuantOnes && info.quant_tbl_ptrs[t]->quantval[i] == 1;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = d.rgb.data() + static_cast<std::size_t>(info.output_scanline) * d.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    d.ok = true;
    return d;
}

QByteArray contentOf(const std::string& path) {
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

int textWidth(const QString& text, int pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    QImage canvas(1, 1, QImage::Format_RGB888);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    return QFontMetrics(font, &canvas).horizontalAdvance(text);
}

struct Cards : ::testing::Test {
    Cards() {
        for (int row = 1; row <= 20; ++row)
            headings.setCell(1, row, QStringLiteral("Ausschnitt %1").arg(row));
    }
    CardResult write() {
        return writeTitleCards(headings, QString::fromStdString(documents.str()),
                               QString::fromStdString(program.str()) + QLatin1Char('/'), folder);
    }
    std::string card(int n) const { return titleCardPath(folder, n).toStdString(); }

    TempDir documents;
    TempDir program;
    MemoryGrid headings{2, 21};
    QString folder;
};

TEST_F(Cards, TwentyBaselineJfifCardsAtQuality100) {
    ASSERT_TRUE(write().ok);
    EXPECT_EQ(folder, QString::fromStdString(documents / "Bilder_VLC"));
    for (int n = 1; n <= 20; ++n) {
        const Decoded d = decode(card(n));
        ASSERT_TRUE(d.ok) << n;
        EXPECT_EQ(d.width, 720);
        EXPECT_EQ(d.height, 576);
        EXPECT_EQ(d.components, 3);
        EXPECT_FALSE(d.progressive);
        EXPECT_TRUE(d.jfif);
        EXPECT_TRUE(d.allQuantOnes) << "quality 100";
        for (const QPoint corner : {QPoint(0, 0), QPoint(719, 0), QPoint(0, 575), QPoint(719, 575)})
            EXPECT_TRUE(d.isBlack(corner.x(), corner.y())) << n;
    }
}

TEST_F(Cards, ShortHeadingIsDrawnAtSixtyPointsInTheCentre) {
    ASSERT_TRUE(write().ok);
    EXPECT_GT(fitFontSize(QStringLiteral("Ausschnitt 1"), QStringLiteral("Arial"), 720, 576), 60);
    const Decoded d = decode(card(1));
    const QRect box = d.yellowBox();
    ASSERT_FALSE(box.isEmpty());
    // Ink is a little narrower than the advance width; 60 points are 80 pixels.
    const int expected = textWidth(QStringLiteral("Ausschnitt 1"), 60);
    EXPECT_NEAR(box.width(), expected, 12);
    EXPECT_NEAR(box.center().x(), 360, 6);
    EXPECT_GT(box.height(), 45);
    EXPECT_LT(box.height(), 80);
    EXPECT_NEAR(box.center().y(), 288, 30);
}

TEST_F(Cards, EmptyAndBlankHeadingsReadAusschnittN) {
    headings.setCell(1, 3, QString());
    headings.setCell(1, 4, QStringLiteral(" \t "));
    headings.setCell(1, 5, QStringLiteral(" Finale "));
    headings.setCell(1, 6, QStringLiteral("Finale"));
    ASSERT_TRUE(write().ok);
    const std::string firstRun = card(3);
    TempDir other;
    MemoryGrid explicitHeadings(2, 21);
    explicitHeadings.setCell(1, 3, QStringLiteral("Ausschnitt 3"));
    explicitHeadings.setCell(1, 4, QStringLiteral("Ausschnitt 4"));
    QString otherFolder;
    ASSERT_TRUE(writeTitleCards(explicitHeadings, QString::fromStdString(other.str()),
                                QStringLiteral("/unused/"), otherFolder)
                    .ok);
    EXPECT_EQ(contentOf(card(3)), contentOf(titleCardPath(otherFolder, 3).toStdString()));
    EXPECT_EQ(contentOf(card(4)), contentOf(titleCardPath(otherFolder, 4).toStdString()));
    EXPECT_EQ(contentOf(card(5)), contentOf(card(6))) << "blanks around a heading are trimmed";
}

TEST_F(Cards, LongHeadingIsFittedToTheWidth) {
    const QString text = QString(200, QLatin1Char('m'));
    const int size = fitFontSize(text, QStringLiteral("Arial"), 720, 576);
    EXPECT_GE(size, 7);
    EXPECT_TRUE(textWidth(text, size) <= 715 || size == 7) << size;
    const QString medium = QStringLiteral("Ein recht langer Titel für einen Ausschnitt: %1")
                               .arg(QString(60, QLatin1Char('x')));
    const int fitted = fitFontSize(medium, QStringLiteral("Arial"), 720, 576);
    EXPECT_LE(textWidth(medium, fitted), 715);
    EXPECT_GT(fitted, 7);
    EXPECT_LT(fitted, 60);
}

TEST_F(Cards, HeadingTooWideEvenAtSevenPointsIsClipped) {
    const QString text = QString(300, QChar(0x2588)).left(255) + QString(200, QLatin1Char('W'));
    EXPECT_EQ(fitFontSize(text, QStringLiteral("Arial"), 720, 576), 7);
    headings.setCell(1, 2, text);
    ASSERT_TRUE(write().ok);
    const Decoded d = decode(card(2));
    ASSERT_TRUE(d.ok);
    const QRect box = d.yellowBox();
    EXPECT_LE(box.left(), 1);
    EXPECT_GE(box.right(), 710);
}

TEST_F(Cards, FolderInAnotherCaseTakesTheCards) {
    for (const char* name : {"bilder_vlc", "BILDER_VLC", "Bilder_vlc"}) {
        SCOPED_TRACE(name);
        TempDir other;
        other.mkdir(name);
        const CardResult result =
            writeTitleCards(headings, QString::fromStdString(other.str()),
                            QString::fromStdString(program.str()) + QLatin1Char('/'), folder);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(folder, QString::fromStdString(other / name));
        EXPECT_TRUE(decode(card(1)).ok);
        EXPECT_TRUE(std::filesystem::exists(other / (std::string(name) + "/a20.jpg")));
        EXPECT_FALSE(std::filesystem::exists(other / "Bilder_VLC")) << "no second folder";
    }
}

TEST_F(Cards, FallBackToTheProgramFolder) {
    documents.write("Bilder_VLC", "a file where the folder should be");
    ASSERT_TRUE(write().ok);
    EXPECT_EQ(folder, QString::fromStdString(program / "Bilder_VLC"));
    EXPECT_TRUE(decode(card(20)).ok);
}

TEST_F(Cards, NoPlaceForThePictureFolderIsSaidPlainly) {
    documents.write("Bilder_VLC", "blocked");
    program.write("Bilder_VLC", "blocked too");
    const CardResult result = write();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              noImageFolderMessage(QString::fromStdString(documents.str()),
                                   QString::fromStdString(program.str()) + QLatin1Char('/')));
    EXPECT_TRUE(result.error.contains(QString::fromStdString(documents.str())));
    EXPECT_TRUE(result.error.contains(QString::fromStdString(program.str())));
    EXPECT_FALSE(result.error.contains(QStringLiteral("nicht gefunden")));
}

TEST_F(Cards, AnUnwritableCardIsNamedWithItsCause) {
    ASSERT_TRUE(write().ok);
    // A folder where card 3 should be: it can be neither replaced nor written.
    ASSERT_TRUE(QFile::remove(titleCardPath(folder, 3)));
    ASSERT_TRUE(QDir().mkdir(titleCardPath(folder, 3)));
    const CardResult result = write();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("Datei \"") + titleCardPath(folder, 3) +
                                        QStringLiteral("\" kann nicht erstellt werden. ")))
        << result.error.toStdString();
    EXPECT_GT(result.error.size(), 40) << "the reason follows";
}

#ifdef __linux__
// A small RAM file system stands in for a full or read-only medium; only root mounts it.
struct SmallMedium {
    explicit SmallMedium(const std::string& options) {
        if (::geteuid() != 0)
            return;
        const std::string place = dir / "medium";
        dir.mkdir("medium");
        mounted = ::mount("tmpfs", place.c_str(), "tmpfs", 0, options.c_str()) == 0;
        path = QString::fromStdString(place);
    }
    ~SmallMedium() {
        if (mounted)
            ::umount(path.toStdString().c_str());
    }
    TempDir dir;
    QString path;
    bool mounted = false;
};

TEST_F(Cards, AFullMediumIsSaidAndLeavesNoPartCard) {
    SmallMedium medium("size=64k");
    if (!medium.mounted)
        GTEST_SKIP() << "simulating a full medium needs a small file system mounted as root";
    const CardResult result = writeTitleCards(
        headings, medium.path, QString::fromStdString(program.str()) + QLatin1Char('/'), folder);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("Der Datenträger ist voll.")))
        << result.error.toStdString();
    EXPECT_FALSE(result.error.contains(QStringLiteral("Unbekannter Fehler")));
    // The cards that are there are whole; the one that did not fit is gone.
    int whole = 0;
    for (int n = 1; n <= 20; ++n) {
        if (!QFile::exists(titleCardPath(folder, n)))
            continue;
        EXPECT_TRUE(decode(card(n)).ok) << n;
        ++whole;
    }
    EXPECT_LT(whole, 20);
    EXPECT_TRUE(result.error.contains(titleCardPath(folder, whole + 1)));
}

TEST_F(Cards, AReadOnlyMediumIsSaid) {
    SmallMedium medium("size=1m");
    if (!medium.mounted)
        GTEST_SKIP() << "simulating a read-only medium needs a file system mounted as root";
    ASSERT_TRUE(QDir(medium.path).mkdir(QStringLiteral("Bilder_VLC")));
    ASSERT_EQ(::mount("tmpfs", medium.path.toStdString().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                      "size=1m"),
              0);
    const CardResult result = writeTitleCards(
        headings, medium.path, QString::fromStdString(program.str()) + QLatin1Char('/'), folder);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("Der Datenträger ist schreibgeschützt.")))
        << result.error.toStdString();
}
#endif

TEST_F(Cards, EveryCallRewritesTheCards) {
    ASSERT_TRUE(write().ok);
    const QByteArray before = contentOf(card(7));
    headings.setCell(1, 7, QStringLiteral("Neue Überschrift"));
    ASSERT_TRUE(write().ok);
    EXPECT_NE(contentOf(card(7)), before);
    EXPECT_TRUE(decode(card(7)).ok);
}

TEST(EnsureFolder, TellsWhetherItExistedOrFailed) {
    TempDir root;
    const QString path = QString::fromStdString(root / "neu");
    EnsureResult r = ensureFolder(path);
    EXPECT_FALSE(r.existed);
    EXPECT_FALSE(r.failed);
    r = ensureFolder(path);
    EXPECT_TRUE(r.existed);
    r = ensureFolder(QString::fromStdString(root / "a/b"));
    EXPECT_TRUE(r.failed);
}

} // namespace
