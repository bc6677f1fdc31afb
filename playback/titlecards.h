// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/views.h"

#include <QColor>
#include <QFileDevice>
#include <QString>
#include <cstddef>

// The title cards the player shows before each excerpt: the heading in yellow on black.
namespace filmarin {

constexpr int kTitleCardWidth = 720;
constexpr int kTitleCardHeight = 576;
constexpr int kTitleCardMaxFontSize = 60;

// Outcome of writing pictures; `error` is the German message for the user.
struct CardResult {
    bool ok = true;
    QString error;
};

// The folder with the cards followed by "a" N ".jpg".
QString titleCardPath(const QString& imageFolder, int excerpt);

struct EnsureResult {
    bool existed = false;
    bool failed = false;
};
// Creates the folder (one level) unless it exists.
EnsureResult ensureFolder(const QString& path);

// The largest point size, counted down from an estimate, at which `text` fits a canvas of
// width x height with 5 pixels to spare; never below 7.
int fitFontSize(const QString& text, const QString& fontName, int width, int height);

// Renders `text` centred on a picture and saves it as a JPEG file.
CardResult renderTextImage(int quality, int height, int width, const QString& text,
                           const QColor& fontColor, const QString& fontName, int maxFontSize,
                           const QColor& background, const QString& path);

// Why a card could not be written to `path`, in the user's words: a missing folder, a
// read-only or full medium, a read-only file or folder, else the system's reason.
QString cardWriteCause(const QString& path, const QFileDevice& file, qint64 needed);
// Neither the documents folder nor the program folder can take the picture folder.
QString noImageFolderMessage(const QString& documentsFolder, const QString& programFolder);

// Chooses the image folder (DocumentsFolder/Bilder_VLC, else ProgramFolder + Bilder_VLC) and
// writes the 20 cards from the headings in column 1 of `headings` as they stand.
// `imageFolder` is set even when a card cannot be written.
CardResult writeTitleCards(const CellGrid& headings, const QString& documentsFolder,
                           const QString& programFolder, QString& imageFolder);

// The text on excerpt n's card: its heading, or "Ausschnitt N" where it has none.
QString cardHeading(const CellGrid& headings, int excerpt);
// Writes excerpt n's card to `path`.
CardResult writeTitleCard(const CellGrid& headings, int excerpt, const QString& path);

// Encodes 24-bit RGB rows, `stride` bytes apart, as a baseline JFIF file (libjpeg's
// defaults, then `quality` with baseline-compatible tables).
bool encodeJpeg(const unsigned char* rgb, int width, int height, std::size_t stride, int quality,
                QByteArray& out);

} // namespace filmarin
