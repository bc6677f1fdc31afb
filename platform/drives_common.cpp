// SPDX-License-Identifier: GPL-3.0-or-later
// The drive rules that are the same on every system.
#include "drives.h"

namespace filmarin::platform {

bool isFloppyDrive(std::uint8_t type, const std::string& key) {
    if (type != kDriveRemovable || key.size() != 1)
        return false;
    const char letter = key[0];
    return letter == 'A' || letter == 'B' || letter == 'a' || letter == 'b';
}

} // namespace filmarin::platform
