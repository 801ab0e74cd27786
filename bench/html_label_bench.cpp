// SPDX-License-Identifier: GPL-3.0-or-later
// Loading HTML label documents of n and 4n repetitions of one shape, so that
// the times show how loading grows with the document:
//   UnbalancedRowTable  "<TR><TABLE>" again and again, no table ever closed
//   NestedTables        "<TABLE><TR><TD>x" again and again, nothing closed
//   StrayLessThan       "a <" again and again after HTML and BODY, no ">"
//   Paragraphs          "<P>two words" again and again
//   Rows                "<TR>" again and again (each gets an inserted "</TR>")
//
// Heap use is counted with a global operator new (this program's own, so
// the other benchmarks are not slowed by it). The counters report the
// elements of the loaded table and, per element, the heap the load needed at
// its peak and what the loaded label keeps afterwards.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "controls/html_label/html_label.h"

namespace {

int64_t g_live = 0;
int64_t g_peak = 0;

}  // namespace

// GCC pairs the inlined malloc of the replacement operator new with the
// free below and warns, though both replace the whole pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    g_live += static_cast<int64_t>(malloc_usable_size(p));
    g_peak = std::max(g_peak, g_live);
    return p;
}
void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    g_live -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

std::string Repeat(std::string_view unit, int64_t n, std::string_view prefix = "") {
    std::string out(prefix);
    out.reserve(prefix.size() + unit.size() * static_cast<size_t>(n));
    for (int64_t k = 0; k < n; ++k) out += unit;
    return out;
}

void Load(benchmark::State& state, const std::string& html) {
    int64_t elements = 0;
    int64_t peak = 0;
    int64_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int64_t before = g_live;
        g_peak = g_live;
        auto label = std::make_unique<html_label::HTMLLabel>();
        state.ResumeTiming();

        (void)label->LoadDocument(html);

        state.PauseTiming();
        elements = label->ElementCount();
        peak = g_peak - before;
        kept = g_live - before;
        label.reset();
        state.ResumeTiming();
    }
    const auto per_element = [&](int64_t bytes) {
        return elements > 0 ? static_cast<double>(bytes) / static_cast<double>(elements) : 0.0;
    };
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["peak_B_per_elem"] = per_element(peak);
    state.counters["kept_B_per_elem"] = per_element(kept);
}

void BM_LoadUnbalancedRowTable(benchmark::State& state) {
    Load(state, Repeat("<TR><TABLE>", state.range(0)));
}

void BM_LoadNestedTables(benchmark::State& state) {
    Load(state, Repeat("<TABLE><TR><TD>x", state.range(0)));
}

void BM_LoadStrayLessThan(benchmark::State& state) {
    Load(state, Repeat("a <", state.range(0), "<HTML><BODY>"));
}

void BM_LoadParagraphs(benchmark::State& state) {
    Load(state, Repeat("<P>two words", state.range(0)));
}

void BM_LoadRows(benchmark::State& state) {
    Load(state, Repeat("<TR>", state.range(0)));
}

#define HTML_LOAD_BENCHMARK(fn) \
    BENCHMARK(fn)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime()

HTML_LOAD_BENCHMARK(BM_LoadUnbalancedRowTable);
HTML_LOAD_BENCHMARK(BM_LoadNestedTables);
HTML_LOAD_BENCHMARK(BM_LoadStrayLessThan);
HTML_LOAD_BENCHMARK(BM_LoadParagraphs);
HTML_LOAD_BENCHMARK(BM_LoadRows);

}  // namespace
