// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader of a program file's version resource.
#include "platform/fileversion.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string version = filmarin::platform::peFileVersion(data, size);
    (void)version;
    return 0;
}
