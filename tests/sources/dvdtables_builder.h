// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/dvdtables.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <vector>

// A disc's navigation tables as libdvdread hands them over, built in memory from a plain
// description: every array as long as its count, as libdvdread promises, and everything else
// as the description says, sense or not.
namespace filmarin::testing {

// A time of the tables: BCD, with the frame rate in the frames' top bits (1: 25, 3: 30).
inline dvd_time_t dvdTime(int hours, int minutes, int seconds, int frames = 0, int rate = 1) {
    const auto bcd = [](int value) {
        return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
    };
    return dvd_time_t{bcd(hours), bcd(minutes), bcd(seconds),
                      static_cast<std::uint8_t>((rate << 6) | bcd(frames))};
}

struct CellSpec {
    dvd_time_t time{};
    int blockMode = BLOCK_MODE_NOT_IN_BLOCK;
    int blockType = BLOCK_TYPE_NONE;
};

struct ChainSpec {
    std::vector<std::uint8_t> programMap; // first cell of each program, from 1
    std::vector<CellSpec> cells;
    bool missing = false; // the search pointer names no chain
};

struct LanguageSpec {
    int type = 1; // 1: the code names a language
    std::uint16_t code = 0;
};

inline LanguageSpec language(const char* code) {
    return {1, static_cast<std::uint16_t>((static_cast<unsigned char>(code[0]) << 8) |
                                          static_cast<unsigned char>(code[1]))};
}

struct TitleSetSpec {
    std::vector<std::vector<ptt_info_t>> titles; // per title of the set: its chapters
    std::vector<ChainSpec> chains;
    std::vector<LanguageSpec> audio;
    std::vector<LanguageSpec> subtitles;
    bool withoutChapterTable = false;
    bool withoutChainTable = false;
    bool withoutAttributes = false;
};

struct DiscSpec {
    int titleSets = 0; // as the video manager counts them
    bool withoutManagerAttributes = false;
    std::vector<title_info_t> titles;
    std::map<int, TitleSetSpec> sets; // by number; a number without one cannot be read
};

inline title_info_t titleEntry(int set, int titleInSet) {
    title_info_t entry{};
    entry.title_set_nr = static_cast<std::uint8_t>(set);
    entry.vts_ttn = static_cast<std::uint8_t>(titleInSet);
    return entry;
}

// Owns the tables built from a description.
class BuiltTables {
public:
    explicit BuiltTables(const DiscSpec& disc) {
        m_managerAttributes.vmg_nr_of_title_sets = static_cast<std::uint16_t>(disc.titleSets);
        if (!disc.withoutManagerAttributes)
            m_manager.vmgi_mat = &m_managerAttributes;
        m_titleEntries = disc.titles;
        m_titleTable.nr_of_srpts = static_cast<std::uint16_t>(m_titleEntries.size());
        m_titleTable.title = m_titleEntries.empty() ? nullptr : m_titleEntries.data();
        m_manager.tt_srpt = &m_titleTable;
        for (const auto& [number, set] : disc.sets)
            m_sets[number] = build(set);
    }
    BuiltTables(const BuiltTables&) = delete;
    BuiltTables& operator=(const BuiltTables&) = delete;

    const ifo_handle_t& manager() const { return m_manager; }
    TitleSetTables titleSet() const {
        return [this](int number) -> const ifo_handle_t* {
            const auto found = m_sets.find(number);
            return found == m_sets.end() ? nullptr : &found->second->handle;
        };
    }
    std::vector<DiscTitle> titles() const { return titlesFromTables(m_manager, titleSet()); }

private:
    struct Set {
        ifo_handle_t handle{};
        vtsi_mat_t attributes{};
        vts_ptt_srpt_t chapterTable{};
        std::vector<ttu_t> units;
        std::deque<std::vector<ptt_info_t>> chapters;
        pgcit_t chainTable{};
        std::vector<pgci_srp_t> pointers;
        std::deque<pgc_t> chains;
        std::deque<std::vector<std::uint8_t>> programMaps;
        std::deque<std::vector<cell_playback_t>> cells;
    };

    static std::unique_ptr<Set> build(const TitleSetSpec& spec) {
        auto set = std::make_unique<Set>();
        for (const auto& titleChapters : spec.titles) {
            set->chapters.push_back(titleChapters);
            ttu_t unit{};
            unit.nr_of_ptts = static_cast<std::uint16_t>(titleChapters.size());
            unit.ptt = titleChapters.empty() ? nullptr : set->chapters.back().data();
            set->units.push_back(unit);
        }
        set->chapterTable.nr_of_srpts = static_cast<std::uint16_t>(set->units.size());
        set->chapterTable.title = set->units.empty() ? nullptr : set->units.data();
        for (const ChainSpec& chainSpec : spec.chains) {
            pgci_srp_t pointer{};
            if (!chainSpec.missing) {
                pgc_t chain{};
                set->programMaps.push_back(chainSpec.programMap);
                chain.nr_of_programs = static_cast<std::uint8_t>(chainSpec.programMap.size());
                chain.program_map =
                    chainSpec.programMap.empty() ? nullptr : set->programMaps.back().data();
                std::vector<cell_playback_t> cells;
                for (const CellSpec& cellSpec : chainSpec.cells) {
                    cell_playback_t cell{};
                    cell.playback_time = cellSpec.time;
                    cell.block_mode = static_cast<unsigned>(cellSpec.blockMode) & 3u;
                    cell.block_type = static_cast<unsigned>(cellSpec.blockType) & 3u;
                    cells.push_back(cell);
                }
                set->cells.push_back(cells);
                chain.nr_of_cells = static_cast<std::uint8_t>(cells.size());
                chain.cell_playback = cells.empty() ? nullptr : set->cells.back().data();
                set->chains.push_back(chain);
                pointer.pgc = &set->chains.back();
            }
            set->pointers.push_back(pointer);
        }
        set->chainTable.nr_of_pgci_srp = static_cast<std::uint16_t>(set->pointers.size());
        set->chainTable.pgci_srp = set->pointers.empty() ? nullptr : set->pointers.data();
        const auto languages = [](const std::vector<LanguageSpec>& specs, std::size_t most) {
            return std::min(specs.size(), most);
        };
        set->attributes.nr_of_vts_audio_streams = static_cast<std::uint8_t>(spec.audio.size());
        for (std::size_t i = 0; i < languages(spec.audio, 8); ++i) {
            set->attributes.vts_audio_attr[i].lang_type =
                static_cast<unsigned char>(spec.audio[i].type & 3);
            set->attributes.vts_audio_attr[i].lang_code = spec.audio[i].code;
        }
        set->attributes.nr_of_vts_subp_streams = static_cast<std::uint8_t>(spec.subtitles.size());
        for (std::size_t i = 0; i < languages(spec.subtitles, 32); ++i) {
            set->attributes.vts_subp_attr[i].type =
                static_cast<unsigned char>(spec.subtitles[i].type & 3);
            set->attributes.vts_subp_attr[i].lang_code = spec.subtitles[i].code;
        }
        if (!spec.withoutAttributes)
            set->handle.vtsi_mat = &set->attributes;
        if (!spec.withoutChapterTable)
            set->handle.vts_ptt_srpt = &set->chapterTable;
        if (!spec.withoutChainTable)
            set->handle.vts_pgcit = &set->chainTable;
        return set;
    }

    ifo_handle_t m_manager{};
    vmgi_mat_t m_managerAttributes{};
    tt_srpt_t m_titleTable{};
    std::vector<title_info_t> m_titleEntries;
    std::map<int, std::unique_ptr<Set>> m_sets;
};

} // namespace filmarin::testing
