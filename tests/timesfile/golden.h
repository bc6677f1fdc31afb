// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace filmarin::testing {

// Builds a times file byte by byte at the documented offsets, independently of the
// program's own writer.
class GoldenFile {
public:
    explicit GoldenFile(int size = 17697) : bytes(size, '\0') {}

    void int32At(int offset, std::int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] =
                static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    void doubleAt(int offset, double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    void byteAt(int offset, unsigned char value) { bytes[offset] = static_cast<char>(value); }
    void shortStringAt(int offset, const QByteArray& text) {
        bytes[offset] = static_cast<char>(text.size());
        for (int i = 0; i < text.size(); ++i)
            bytes[offset + 1 + i] = text[i];
    }

    // Offsets of single values.
    static int startTime(int column, int row) { return 4 + 8 * (column * 21 + row); }
    static int stopTime(int column, int row) { return 676 + 8 * (column * 21 + row); }
    static int playFlag(int k) { return 1348 + k; }
    static int pauseFlag(int k) { return 1369 + k; }
    static int languageCode() { return 1390; }
    static int titleNumber(int column, int row) { return 1401 + 4 * (column * 21 + row); }
    static int heading(int column, int row) { return 1569 + 256 * (column * 21 + row); }

    // The initial values of a fresh table: title numbers 1, headings one blank.
    void freshTable() {
        for (int i = 0; i < 42; ++i)
            int32At(1401 + 4 * i, 1);
        for (int i = 0; i < 63; ++i)
            shortStringAt(1569 + 256 * i, " ");
    }

    QByteArray bytes;
};

} // namespace filmarin::testing
