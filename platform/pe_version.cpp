// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the "FileVersion" text from the version resource of a PE image, the way the
// Windows version API finds it: the first translation entry names the string table.
#include "fileversion.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace filmarin::platform {

namespace {

class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
    std::size_t size() const { return m_size; }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= m_size && count <= m_size - offset;
    }
    std::optional<std::uint16_t> u16(std::size_t offset) const {
        if (!has(offset, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::optional<std::uint32_t> u32(std::size_t offset) const {
        if (!has(offset, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(m_data[offset]) |
               (static_cast<std::uint32_t>(m_data[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(m_data[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
    }

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

constexpr std::uint32_t kVersionResourceType = 16;

// Appends a code point to UTF-8 text.
void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Appends UTF-16 text to UTF-8 text: a surrogate pair becomes one code point, a lone
// surrogate U+FFFD.
void appendUtf16AsUtf8(std::string& out, const std::u16string& units) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, c);
        }
    }
}

class PeImage {
public:
    explicit PeImage(Bytes bytes) : m_bytes(bytes) {}

    // The version resource as an offset and size in the file.
    std::optional<std::pair<std::size_t, std::size_t>> versionResource() {
        if (m_bytes.size() < 64 || m_bytes.u16(0) != 0x5A4D) // "MZ"
            return std::nullopt;
        const auto peOffset = m_bytes.u32(0x3C);
        if (!peOffset || m_bytes.u32(*peOffset) != 0x00004550) // "PE\0\0"
            return std::nullopt;
        const std::size_t coff = *peOffset + 4;
        const auto sectionCount = m_bytes.u16(coff + 2);
        const auto optionalSize = m_bytes.u16(coff + 16);
        if (!sectionCount || !optionalSize)
            return std::nullopt;
        const std::size_t optional = coff + 20;
        const auto magic = m_bytes.u16(optional);
        if (!magic)
            return std::nullopt;
        std::size_t countOffset = 0;
        if (*magic == 0x10B)
            countOffset = 92;
        else if (*magic == 0x20B)
            countOffset = 108;
        else
            return std::nullopt;
        const auto directoryCount = m_bytes.u32(optional + countOffset);
        if (!directoryCount || *directoryCount < 3 || countOffset + 4 + 3 * 8 > *optionalSize)
            return std::nullopt;
        const auto resourceRva = m_bytes.u32(optional + countOffset + 4 + 2 * 8);
        if (!resourceRva || *resourceRva == 0)
            return std::nullopt;

        const std::size_t sectionTable = optional + *optionalSize;
        for (std::size_t i = 0; i < *sectionCount; ++i) {
            const std::size_t s = sectionTable + i * 40;
            const auto vsize = m_bytes.u32(s + 8);
            const auto vaddr = m_bytes.u32(s + 12);
            const auto rawSize = m_bytes.u32(s + 16);
            const auto rawOffset = m_bytes.u32(s + 20);
            if (!vsize || !vaddr || !rawSize || !rawOffset)
                return std::nullopt;
            m_sections.push_back({*vaddr, *vsize, *rawSize, *rawOffset});
        }
        const auto root = fileOffset(*resourceRva);
        if (!root)
            return std::nullopt;
        m_resourceRoot = *root;

        // Type 16, then name 1 when present (else the first), then the first language.
        auto typeEntry = findEntry(m_resourceRoot, kVersionResourceType, false);
        if (!typeEntry || !typeEntry->second)
            return std::nullopt;
        auto nameEntry = findEntry(m_resourceRoot + typeEntry->first, 1, true);
        if (!nameEntry || !nameEntry->second)
            return std::nullopt;
        auto languageEntry = findEntry(m_resourceRoot + nameEntry->first, 0, true);
        if (!languageEntry || languageEntry->second)
            return std::nullopt;
        const std::size_t dataEntry = m_resourceRoot + languageEntry->first;
        const auto dataRva = m_bytes.u32(dataEntry);
        const auto dataSize = m_bytes.u32(dataEntry + 4);
        if (!dataRva || !dataSize)
            return std::nullopt;
        const auto data = fileOffset(*dataRva);
        if (!data || !m_bytes.has(*data, *dataSize))
            return std::nullopt;
        return std::make_pair(*data, static_cast<std::size_t>(*dataSize));
    }

private:
    std::optional<std::size_t> fileOffset(std::uint32_t rva) const {
        for (const Section& s : m_sections) {
            const std::uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
                const std::size_t offset =
                    static_cast<std::size_t>(s.rawOffset) + (rva - s.virtualAddress);
                if (rva - s.virtualAddress >= s.rawSize || offset >= m_bytes.size())
                    return std::nullopt;
                return offset;
            }
        }
        return std::nullopt;
    }

    // Entry of a resource directory with the given id (or the first entry when `orFirst`
    // and no entry has it): offset from the resource root, and whether it is a directory.
    std::optional<std::pair<std::size_t, bool>> findEntry(std::size_t directory, std::uint32_t id,
                                                          bool orFirst) const {
        const auto named = m_bytes.u16(directory + 12);
        const auto ids = m_bytes.u16(directory + 14);
        if (!named || !ids)
            return std::nullopt;
        const std::size_t count = static_cast<std::size_t>(*named) + *ids;
        std::optional<std::pair<std::size_t, bool>> first;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t e = directory + 16 + i * 8;
            const auto name = m_bytes.u32(e);
            const auto target = m_bytes.u32(e + 4);
            if (!name || !target)
                return std::nullopt;
            const std::pair<std::size_t, bool> entry{*target & 0x7FFFFFFFu,
                                                     (*target & 0x80000000u) != 0};
            if (!(*name & 0x80000000u) && *name == id)
                return entry;
            if (!first)
                first = entry;
        }
        if (orFirst)
            return first;
        return std::nullopt;
    }

    Bytes m_bytes;
    std::vector<Section> m_sections;
    std::size_t m_resourceRoot = 0;
};

// One block of the version structure: length, value length, type, key, value, children.
struct Block {
    std::size_t start = 0;
    std::size_t end = 0;
    std::uint16_t valueLength = 0;
    std::u16string key;
    std::size_t value = 0;
    std::size_t children = 0;
};

std::size_t align4(std::size_t offset, std::size_t base) {
    return base + ((offset - base + 3) & ~static_cast<std::size_t>(3));
}

std::optional<Block> readBlock(const Bytes& bytes, std::size_t start, std::size_t limit,
                               std::size_t base, bool textValue) {
    const auto length = bytes.u16(start);
    const auto valueLength = bytes.u16(start + 2);
    if (!length || !valueLength || *length < 6 || start + *length > limit)
        return std::nullopt;
    Block b;
    b.start = start;
    b.end = start + *length;
    b.valueLength = *valueLength;
    std::size_t p = start + 6;
    while (true) {
        const auto c = bytes.u16(p);
        if (!c || p + 2 > b.end)
            return std::nullopt;
        p += 2;
        if (*c == 0)
            break;
        b.key += static_cast<char16_t>(*c);
    }
    b.value = align4(p, base);
    const std::size_t valueBytes =
        textValue ? static_cast<std::size_t>(*valueLength) * 2 : *valueLength;
    b.children = align4(b.value + valueBytes, base);
    if (b.value > b.end)
        b.value = b.end;
    if (b.children > b.end)
        b.children = b.end;
    return b;
}

bool keyIs(const std::u16string& key, std::string_view expected, bool ignoreCase) {
    if (key.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        char16_t a = key[i];
        char16_t b = static_cast<char16_t>(static_cast<unsigned char>(expected[i]));
        if (ignoreCase) {
            if (a >= u'a' && a <= u'z')
                a = static_cast<char16_t>(a - 32);
            if (b >= u'a' && b <= u'z')
                b = static_cast<char16_t>(b - 32);
        }
        if (a != b)
            return false;
    }
    return true;
}

template <typename Visit>
bool forEachChild(const Bytes& bytes, const Block& parent, std::size_t base, bool textValues,
                  Visit visit) {
    std::size_t p = parent.children;
    int guard = 0;
    while (p + 6 <= parent.end && guard++ < 4096) {
        const auto child = readBlock(bytes, p, parent.end, base, textValues);
        if (!child)
            return false;
        if (visit(*child))
            return true;
        const std::size_t next = align4(child->end, base);
        if (next <= p)
            return false;
        p = next;
    }
    return false;
}

} // namespace

std::string peFileVersion(const unsigned char* data, std::size_t size) {
    const Bytes bytes(data, size);
    PeImage image(bytes);
    const auto resource = image.versionResource();
    if (!resource)
        return {};
    const std::size_t base = resource->first;
    const std::size_t limit = resource->first + resource->second;
    const auto root = readBlock(bytes, base, limit, base, false);
    if (!root || !keyIs(root->key, "VS_VERSION_INFO", false))
        return {};

    // The first translation entry: language and code page.
    std::optional<std::pair<std::uint16_t, std::uint16_t>> translation;
    forEachChild(bytes, *root, base, false, [&](const Block& child) {
        if (!keyIs(child.key, "VarFileInfo", false))
            return false;
        forEachChild(bytes, child, base, false, [&](const Block& var) {
            if (!keyIs(var.key, "Translation", false) || var.valueLength < 4)
                return false;
            const auto language = bytes.u16(var.value);
            const auto codePage = bytes.u16(var.value + 2);
            if (language && codePage)
                translation = std::make_pair(*language, *codePage);
            return true;
        });
        return true;
    });
    if (!translation)
        return {};
    char tableKey[16];
    std::snprintf(tableKey, sizeof tableKey, "%04X%04X", translation->first, translation->second);

    std::string result;
    forEachChild(bytes, *root, base, false, [&](const Block& child) {
        if (!keyIs(child.key, "StringFileInfo", false))
            return false;
        return forEachChild(bytes, child, base, false, [&](const Block& table) {
            if (!keyIs(table.key, tableKey, true))
                return false;
            return forEachChild(bytes, table, base, true, [&](const Block& entry) {
                if (!keyIs(entry.key, "FileVersion", true))
                    return false;
                // The value length counts characters with the closing zero.
                std::size_t chars = entry.valueLength > 0 ? entry.valueLength - 1u : 0u;
                std::u16string units;
                for (std::size_t i = 0; i < chars; ++i) {
                    const auto c = bytes.u16(entry.value + 2 * i);
                    if (!c || *c == 0 || entry.value + 2 * i + 2 > entry.end)
                        break;
                    units += static_cast<char16_t>(*c);
                }
                appendUtf16AsUtf8(result, units);
                return true;
            });
        });
    });
    return result;
}

} // namespace filmarin::platform
