// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace filmarin::platform {

// The "FileVersion" text of a program file's version resource, in its first listed
// language and code page; empty when there is none.
std::string fileVersionString(const std::string& path);

// Reads that text from the bytes of a PE image; empty when the image has no such value.
// Used where the system cannot read version resources itself.
std::string peFileVersion(const unsigned char* data, std::size_t size);

} // namespace filmarin::platform
