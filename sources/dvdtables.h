// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "disctitles.h"

#include <QString>
#include <cstdint>
#include <dvdread/ifo_types.h>
#include <functional>
#include <vector>

// A video DVD's titles and chapters from its navigation files (IFO), read with libdvdread.
namespace filmarin {

// A time of the navigation tables (hours, minutes, seconds and frames in BCD, the frame rate
// in the top bits of the frames) in milliseconds.
std::int64_t dvdTimeMs(const dvd_time_t& time);

// The title set of that number (VTS_nn_0.IFO) with its chapter and program chain tables;
// null where there is none that can be read.
using TitleSetTables = std::function<const ifo_handle_t*(int number)>;

// The titles of a disc from its video manager's tables (VIDEO_TS.IFO) and its title sets',
// in the disc's order. Makes no assumption about the tables beyond what libdvdread promises
// (every array as long as its count says, or null): a title, a chapter or a cell that names
// something the tables lack is left out, and so are titles beyond the 99th and chapters
// beyond the 999th.
std::vector<DiscTitle> titlesFromTables(const ifo_handle_t& manager,
                                        const TitleSetTables& titleSet);

// Reads the titles of the video DVD in `root`: a drive, a mount point or a folder holding
// VIDEO_TS. Throws std::runtime_error when its navigation files cannot be read. It may take
// as long as the drive needs.
std::vector<DiscTitle> readDiscTitles(const QString& root);

} // namespace filmarin
