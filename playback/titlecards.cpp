// SPDX-License-Identifier: GPL-3.0-or-later
#include "titlecards.h"

#include "platform/files.h"
#include "platformtext/platformtext.h"
#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "table/textops.h"
#include "table/writefailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStorageInfo>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace filmarin {

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::longjmp(error->jump, 1);
}

QFont cardFont(const QString& name, int pointSize) {
    QFont font(name);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setPointSize(pointSize);
    // A card is a picture for the projector, not part of the screen: the same hinting at
    // every screen scale (the toolkit's default changes with it), so that the card is too.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

// Text width and full line height at a point size, measured for a 96 dpi picture.
struct Extent {
    int width;
    int height;
};

Extent measure(const QString& text, const QString& fontName, int pointSize,
               const QPaintDevice& canvas) {
    const QFontMetrics metrics(cardFont(fontName, pointSize), &canvas);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QImage canvasImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    // 96 pixels per inch, as the sizes are meant.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

} // namespace

QString cardWriteCause(const QString& path, const QFileDevice& file, qint64 needed) {
    return writeFailureCause(path, file.errorString(), needed).text;
}

QString noImageFolderMessage(const QString& documentsFolder, const QString& programFolder) {
    return QStringLiteral("Die Titelbilder können nicht geschrieben werden: Der Ordner "
                          "\"Bilder_VLC\" kann weder im Ordner \"%1\" noch im Ordner \"%2\" "
                          "angelegt werden. Bitte sorgen Sie dafür, dass Sie in einem dieser "
                          "Ordner schreiben dürfen.")
        .arg(QDir::toNativeSeparators(documentsFolder), QDir::toNativeSeparators(programFolder));
}

QString titleCardPath(const QString& imageFolder, int excerpt) {
    return childPath(imageFolder,
                     QStringLiteral("a") + QString::number(excerpt) + QStringLiteral(".jpg"));
}

EnsureResult ensureFolder(const QString& path) {
    EnsureResult result;
    if (folderExists(path)) {
        result.existed = true;
        return result;
    }
    result.failed = !platform::createFolder(toPlatform(path));
    return result;
}

int fitFontSize(const QString& text, const QString& fontName, int width, int height) {
    const QImage canvas = canvasImage(1, 1);
    const Extent at32 = measure(text, fontName, 32, canvas);
    int size = 8;
    if (at32.width > 0 && at32.height > 0) {
        const double ratio = static_cast<double>(at32.width) / at32.height;
        const double estimate = roundHalfEven((width - 5) / ratio);
        size = estimate < 8 ? 8 : (estimate > 100000 ? 100000 : static_cast<int>(estimate));
    } else {
        // No width to fit (an empty or invisible text): the estimate is unbounded.
        size = 100000;
    }
    const int limit = std::max(height - 20, 8);
    size = std::min(size, limit);
    while (measure(text, fontName, size, canvas).width > width - 5 && size >= 8)
        --size;
    while (measure(text, fontName, size, canvas).height > height - 5 && size >= 8)
        --size;
    return size;
}

// Everything the compression changes lives here, outside the function that calls setjmp:
// locals of that function changed after setjmp would be indeterminate after a longjmp.
struct JpegJob {
    jpeg_compress_struct info{};
    JpegError error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Compresses into job.buffer; false when libjpeg reported an error.
bool compress(JpegJob& job, const unsigned char* rgb, int width, int height, std::size_t stride,
              int quality) {
    if (setjmp(job.error.jump))
        return false;
    jpeg_create_compress(&job.info);
    jpeg_mem_dest(&job.info, &job.buffer, &job.size);
    job.info.image_width = static_cast<JDIMENSION>(width);
    job.info.image_height = static_cast<JDIMENSION>(height);
    job.info.input_components = 3;
    job.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.info);
    jpeg_set_quality(&job.info, quality, TRUE);
    jpeg_start_compress(&job.info, TRUE);
    while (job.info.next_scanline < job.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + job.info.next_scanline * stride);
        jpeg_write_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_compress(&job.info);
    return true;
}

bool encodeJpeg(const unsigned char* rgb, int width, int height, std::size_t stride, int quality,
                QByteArray& out) {
    JpegJob job;
    job.info.err = jpeg_std_error(&job.error.manager);
    job.error.manager.error_exit = onJpegError;
    const bool ok = compress(job, rgb, width, height, stride, quality);
    if (ok)
        out =
            QByteArray(reinterpret_cast<const char*>(job.buffer), static_cast<qsizetype>(job.size));
    // Safe also when the error came before the compressor was created: it then holds no
    // memory manager.
    jpeg_destroy_compress(&job.info);
    std::free(job.buffer);
    return ok;
}

CardResult renderTextImage(int quality, int height, int width, const QString& text,
                           const QColor& fontColor, const QString& fontName, int maxFontSize,
                           const QColor& background, const QString& path) {
    CardResult result;
    const int size = std::min(fitFontSize(text, fontName, width, height), maxFontSize);

    QImage picture = canvasImage(width, height);
    picture.fill(background);
    const Extent extent = measure(text, fontName, size, picture);
    // Integer division truncates towards zero, as the centring always has.
    const int x = (width - extent.width) / 2;
    const int y = (height - extent.height) / 2;
    {
        QPainter painter(&picture);
        painter.setClipRect(0, 0, width, height);
        const QFont font = cardFont(fontName, size);
        painter.setFont(font);
        painter.setPen(fontColor);
        painter.drawText(QPoint(x, y + QFontMetrics(font, &picture).ascent()), text);
    }

    QByteArray jpeg;
    if (!encodeJpeg(picture.constBits(), width, height,
                    static_cast<std::size_t>(picture.bytesPerLine()), quality, jpeg)) {
        result.ok = false;
        result.error = QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2")
                           .arg(path, QStringLiteral("Das Bild konnte nicht kodiert werden."));
        return result;
    }
    QFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!opened || file.write(jpeg) != jpeg.size() || !file.flush()) {
        const QString cause = cardWriteCause(path, file, jpeg.size());
        // A card cut short would show half a picture: it goes.
        if (opened) {
            file.close();
            QFile::remove(path);
        }
        result.ok = false;
        result.error =
            QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(path, cause);
    }
    return result;
}

CardResult writeTitleCards(const CellGrid& headings, const QString& documentsFolder,
                           const QString& programFolder, QString& imageFolder) {
    imageFolder = childPath(documentsFolder, QStringLiteral("Bilder_VLC"));
    if (ensureFolder(imageFolder).failed) {
        imageFolder = programFolder + QStringLiteral("Bilder_VLC");
        if (ensureFolder(imageFolder).failed) {
            CardResult result;
            result.ok = false;
            result.error = noImageFolderMessage(documentsFolder, programFolder);
            return result;
        }
    }
    // A folder found in another case ("bilder_vlc") is the one the cards go into.
    imageFolder = fromPlatform(platform::pathAsStored(toPlatform(imageFolder)));
    for (int n = 1; n <= kExcerptCount; ++n) {
        const CardResult card = writeTitleCard(headings, n, titleCardPath(imageFolder, n));
        if (!card.ok)
            return card;
    }
    return {};
}

QString cardHeading(const CellGrid& headings, int excerpt) {
    QString heading = excerpt < headings.rowCount() ? headings.cell(1, excerpt) : QString();
    trimBlanks(heading);
    if (heading.isEmpty())
        heading = QStringLiteral("Ausschnitt ") + QString::number(excerpt);
    return heading;
}

CardResult writeTitleCard(const CellGrid& headings, int excerpt, const QString& path) {
    return renderTextImage(100, kTitleCardHeight, kTitleCardWidth, cardHeading(headings, excerpt),
                           QColor(255, 255, 0), QStringLiteral("Arial"), kTitleCardMaxFontSize,
                           QColor(0, 0, 0), path);
}

} // namespace filmarin
