// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvdtables.h"

#include "platformtext/platformtext.h"

#include <algorithm>
#include <cstdarg>
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

namespace filmarin {

namespace {

int fromBcd(std::uint8_t value) {
    return (value >> 4) * 10 + (value & 0x0f);
}

// Where each cell of a program chain begins, from the chain's beginning; the last entry is
// the chain's length. Of the cells of an angle block only the first counts: the others show
// the same scenes from other angles.
std::vector<std::int64_t> cellStarts(const pgc_t& chain) {
    std::vector<std::int64_t> starts(1, 0);
    for (int cell = 0; cell < chain.nr_of_cells; ++cell) {
        std::int64_t length = 0;
        if (chain.cell_playback) {
            const cell_playback_t& played = chain.cell_playback[cell];
            const bool otherAngle = played.block_type == BLOCK_TYPE_ANGLE_BLOCK &&
                                    (played.block_mode == BLOCK_MODE_IN_BLOCK ||
                                     played.block_mode == BLOCK_MODE_LAST_CELL);
            if (!otherAngle)
                length = dvdTimeMs(played.playback_time);
        }
        starts.push_back(starts.back() + length);
    }
    return starts;
}

const pgc_t* chainOf(const pgcit_t& chains, int number) {
    if (number < 1 || number > chains.nr_of_pgci_srp || !chains.pgci_srp)
        return nullptr;
    return chains.pgci_srp[number - 1].pgc;
}

// The first and last cell (counted from 1) of a program of the chain.
std::optional<std::pair<int, int>> programCells(const pgc_t& chain, int program) {
    if (program < 1 || program > chain.nr_of_programs || !chain.program_map)
        return std::nullopt;
    const int cells = chain.nr_of_cells;
    const int first = chain.program_map[program - 1];
    if (first < 1 || first > cells)
        return std::nullopt;
    const int last = program < chain.nr_of_programs ? chain.program_map[program] - 1 : cells;
    return std::make_pair(first, std::clamp(last, first, cells));
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The two letters of a language code, in lower case; empty where the disc names none.
QString languageOf(bool named, std::uint16_t code) {
    const char first = static_cast<char>(code >> 8);
    const char second = static_cast<char>(code & 0xff);
    if (!named || !isAsciiLetter(first) || !isAsciiLetter(second))
        return {};
    return QString(QLatin1Char(first)).toLower() + QString(QLatin1Char(second)).toLower();
}

void addOnce(QStringList& list, const QString& code) {
    if (!list.contains(code))
        list << code;
}

// A program chain of a title, and where it begins in the title.
struct UsedChain {
    int number = 0;
    std::int64_t offset = 0;
    std::vector<std::int64_t> cellStarts;
    std::int64_t end() const { return offset + cellStarts.back(); }
};

std::optional<DiscTitle> titleOf(const ifo_handle_t& set, int titleInSet) {
    const vts_ptt_srpt_t* parts = set.vts_ptt_srpt;
    const pgcit_t* chains = set.vts_pgcit;
    if (!parts || !parts->title || !chains || titleInSet < 1 || titleInSet > parts->nr_of_srpts)
        return std::nullopt;
    const ttu_t& unit = parts->title[titleInSet - 1];
    const int chapters = unit.ptt ? std::min<int>(unit.nr_of_ptts, kMostTitleChapters) : 0;
    DiscTitle title;
    // The chains in the order the chapters first name them: the title plays them so.
    std::vector<UsedChain> used;
    for (int i = 0; i < chapters; ++i) {
        const ptt_info_t chapter = unit.ptt[i];
        const pgc_t* chain = chainOf(*chains, chapter.pgcn);
        if (!chain)
            continue;
        auto in = std::find_if(used.begin(), used.end(),
                               [&](const UsedChain& u) { return u.number == chapter.pgcn; });
        if (in == used.end()) {
            used.push_back(
                {chapter.pgcn, used.empty() ? 0 : used.back().end(), cellStarts(*chain)});
            in = used.end() - 1;
        }
        const std::optional<std::pair<int, int>> cells = programCells(*chain, chapter.pgn);
        if (!cells)
            continue;
        const std::int64_t start = in->cellStarts[static_cast<std::size_t>(cells->first - 1)];
        const std::int64_t end = in->cellStarts[static_cast<std::size_t>(cells->second)];
        title.chapters.push_back({in->offset + start, end - start});
    }
    if (title.chapters.empty())
        return std::nullopt;
    title.lengthMs = used.back().end();
    if (const vtsi_mat_t* attributes = set.vtsi_mat) {
        const int audio = std::min<int>(attributes->nr_of_vts_audio_streams, 8);
        for (int i = 0; i < audio; ++i) {
            const audio_attr_t& stream = attributes->vts_audio_attr[i];
            addOnce(title.audioLanguages, languageOf(stream.lang_type == 1, stream.lang_code));
        }
        const int subtitles = std::min<int>(attributes->nr_of_vts_subp_streams, 32);
        for (int i = 0; i < subtitles; ++i) {
            const subp_attr_t& stream = attributes->vts_subp_attr[i];
            addOnce(title.subtitleLanguages, languageOf(stream.type == 1, stream.lang_code));
        }
    }
    return title;
}

// libdvdread's remarks would go to the standard error output; nothing is logged.
void silence(void*, dvd_logger_level_t, const char*, va_list) {}

using DiscReader = std::unique_ptr<dvd_reader_t, decltype(&DVDClose)>;
using Tables = std::unique_ptr<ifo_handle_t, decltype(&ifoClose)>;

} // namespace

std::int64_t dvdTimeMs(const dvd_time_t& time) {
    std::int64_t ms =
        (fromBcd(time.hour) * 3600LL + fromBcd(time.minute) * 60LL + fromBcd(time.second)) * 1000;
    const int frames = fromBcd(time.frame_u & 0x3f);
    switch (time.frame_u >> 6) {
    case 1: // 25 frames a second
        ms += frames * 40;
        break;
    case 3: // 30000 frames in 1001 seconds
        ms += frames * 1001 / 30;
        break;
    default: // no frame rate: the frames are not counted
        break;
    }
    return ms;
}

std::vector<DiscTitle> titlesFromTables(const ifo_handle_t& manager,
                                        const TitleSetTables& titleSet) {
    std::vector<DiscTitle> titles;
    const tt_srpt_t* table = manager.tt_srpt;
    if (!table || !table->title)
        return titles;
    const int sets = manager.vmgi_mat
                         ? std::min<int>(manager.vmgi_mat->vmg_nr_of_title_sets, kMostDiscTitles)
                         : kMostDiscTitles;
    const int count = std::min<int>(table->nr_of_srpts, kMostDiscTitles);
    for (int i = 0; i < count; ++i) {
        const title_info_t& info = table->title[i];
        const int setNumber = info.title_set_nr;
        if (setNumber < 1 || setNumber > sets)
            continue;
        const ifo_handle_t* set = titleSet(setNumber);
        if (!set)
            continue;
        std::optional<DiscTitle> title = titleOf(*set, info.vts_ttn);
        if (!title)
            continue;
        title->number = i + 1;
        titles.push_back(std::move(*title));
    }
    return titles;
}

std::vector<DiscTitle> readDiscTitles(const QString& root) {
    static const dvd_logger_cb logger{silence};
    // A drive's letter and colon alone name the drive's current folder, not its root.
    const QString where = root.endsWith(QLatin1Char(':')) ? root + QLatin1Char('\\') : root;
    const std::string path = toPlatform(where);
    const DiscReader disc(DVDOpen2(nullptr, &logger, path.c_str()), &DVDClose);
    if (!disc)
        throw std::runtime_error("the disc cannot be opened");
    const Tables manager(ifoOpenVMGI(disc.get()), &ifoClose);
    if (!manager)
        throw std::runtime_error("the disc has no video manager");
    if (!ifoRead_TT_SRPT(manager.get())) {
        // libdvdread 6.1.3 leaves the table it freed behind when the file ends too soon,
        // and ifoClose would free it again.
        manager->tt_srpt = nullptr;
        throw std::runtime_error("the disc has no title table");
    }
    // Each title set is read once, when a title first names it.
    std::map<int, Tables> sets;
    const TitleSetTables titleSet = [&](int number) -> const ifo_handle_t* {
        const auto known = sets.find(number);
        if (known != sets.end())
            return known->second.get();
        Tables set(ifoOpenVTSI(disc.get(), number), &ifoClose);
        if (set && (!ifoRead_VTS_PTT_SRPT(set.get()) || !ifoRead_PGCIT(set.get())))
            set.reset();
        return sets.emplace(number, std::move(set)).first->second.get();
    };
    return titlesFromTables(*manager, titleSet);
}

} // namespace filmarin
