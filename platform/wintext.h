// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Windows only: the platform layer's text is UTF-8; the system's wide calls take UTF-16.
namespace filmarin::platform {

std::wstring widen(const std::string& utf8);
std::string narrow(const wchar_t* wide, std::size_t length);
std::string narrow(const std::wstring& wide);

// The system's message for an error code, in UTF-8, without the line end.
std::string systemMessageText(unsigned long code);

} // namespace filmarin::platform
