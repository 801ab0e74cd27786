// SPDX-License-Identifier: GPL-3.0-or-later
// Counts heap allocations by replacing the global operator new. Include it in
// exactly one file of a benchmark program; read g_allocations around the
// work measured.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

inline std::atomic<uint64_t> g_allocations{0};

// GCC pairs the inlined malloc of the replacement operator new with the
// free below and warns, though both replace the whole pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
