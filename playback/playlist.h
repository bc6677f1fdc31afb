// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/mediasource.h"
#include "table/excerpttable.h"
#include "titlecards.h"
#include "views/views.h"

#include <QByteArray>
#include <QString>

// A lesson as a playlist that plays without the program: an XSPF file with each ticked
// excerpt after its title card, with the times, title or track and audio language the
// program gives the player, and the cards in a folder beside it. Pauses have no place in a
// playlist: it plays from the first excerpt to the last.
namespace filmarin {

struct PlaylistInputs {
    const MediaSource& source;
    const ExcerptTable& table; // title numbers and the audio language code
    const ExcerptSpans& spans; // start, stop and selection per excerpt
    const CellGrid& headings;  // column 1: the cards' texts
};

// The cards' folder for a playlist: beside it, named after it ("Lektion.xspf" gives
// "Lektion Titelkarten").
QString playlistCardsFolder(const QString& playlistPath);

// The playlist's text; the cards are named relative to the playlist, inside `cardsFolderName`.
QByteArray buildPlaylist(const PlaylistInputs& inputs, const QString& cardsFolderName);

// Writes the cards of the ticked excerpts into the cards' folder, then the playlist.
// `error` is the message for the user.
CardResult savePlaylist(const QString& path, const PlaylistInputs& inputs);

} // namespace filmarin
