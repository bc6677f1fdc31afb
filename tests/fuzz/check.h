// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

namespace filmarin::fuzz {

// Stops the fuzzer with a message when a promise of the code under test is broken.
inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

} // namespace filmarin::fuzz
