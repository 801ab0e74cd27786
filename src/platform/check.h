// SPDX-License-Identifier: GPL-3.0-or-later
// Invariant checks: a programming error stops the program at once with a
// sentence saying what was wrong, instead of running on into undefined
// behaviour. Failures of input, files or the platform are values (see
// error.h), never checks.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace platform::detail {

[[noreturn]] inline void CheckFailed(const char* sentence, const char* file, int line) {
    std::fprintf(stderr, "kovelin: invariant broken at %s:%d: %s\n", file, line, sentence);
    std::abort();
}

}  // namespace platform::detail

// KOVELIN_CHECK(condition, "A sentence about what must hold.")
#define KOVELIN_CHECK(condition, sentence)                                               \
    do {                                                                                 \
        if (!(condition)) ::platform::detail::CheckFailed(sentence, __FILE__, __LINE__); \
    } while (false)
