// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual list view's hot path: repainting a full page of a 30,000-row
// owner-data list (each cell a display-information notification, the
// owner's ItemInfoCallback answered from a vector of strings, the copy into
// the list's buffer and the text drawn in "OrvSoft" 16 by the real font
// engine), and scrolling by a page with TopIndex.
//
// Allocations are counted with a global operator new; the counters report
// allocations per repaint and per painted cell once the first page has been
// drawn.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "controls/virtual_list/mvirtual_list_view.h"
#include "controls/virtual_list/virtual_list_view.h"
#include "platform/headless/headless_backend.h"
#include "platform/listview/listview.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

#include "allocation_counter.h"

namespace {

using namespace platform;

LRESULT FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

// The main window's headword list, as the loader sets it up.
struct ListFixture {
    explicit ListFixture(int32_t scale = 1) {
        SetDeviceScale(scale);
        text::InstallFontEngine();
        RegisterListViewClass();
        RegisterClass({"BenchForm", &FormProc, 0, 0xFFFFFF, {}});
        form = CreateWindowEx(0, "BenchForm", "", WS_POPUP | WS_VISIBLE, 0, 0, 220, 380, HWND{});
        // Preeti-encoded headwords of dictionary length.
        const char* stems[] = {"sd", "n", "sf]", "cf", "hg", "k|", "ljZj", "gf"};
        for (int i = 0; i < 30000; ++i) {
            rows.push_back(std::string(stems[i % 8]) + "dn" + std::to_string(i));
        }
        virtual_list::VirtualListHookEnabled = true;
        list = std::make_unique<virtual_list::UVirtualListView>(form, host, "lstMain",
                                                                Rect::FromXYWH(10, 10, 189, 339));
        virtual_list::VirtualListHookEnabled = false;
        list->InitProperties();
        (void)list->SetFont(MakeFont(FontDesc{"OrvSoft", 16.0f}));
        (void)list->GetColumnHeaders().Add("zAb", 170);
        (void)list->SetFullRowSelect(true);
        (void)list->SetShowGridLines(true);
        list->ItemInfoCallback = [this](int32_t item, int32_t sub, int32_t, std::string& text,
                                        int32_t&) {
            ++cells;
            if (sub == 0 && item >= 0 && item < static_cast<int32_t>(rows.size())) {
                text = rows[static_cast<size_t>(item)];
            }
        };
        (void)list->SetItemCount(static_cast<int32_t>(rows.size()));
        per_page = static_cast<int32_t>(SendMessage(list->hwnd(), LVM_GETCOUNTPERPAGE));
        Repaint();  // the first page: glyph caches and buffers fill here
    }

    void Repaint() {
        InvalidateRect(list->hwnd());
        UpdateWindow(list->hwnd());
    }

    headless::HeadlessSession session;
    ComponentHost host;
    HWND form;
    std::vector<std::string> rows;
    std::unique_ptr<virtual_list::UVirtualListView> list;
    int32_t per_page = 0;
    uint64_t cells = 0;
};

void ReportCounters(benchmark::State& state, uint64_t allocations, uint64_t cells) {
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["allocs_per_repaint"] = static_cast<double>(allocations) / iterations;
    state.counters["cells_per_repaint"] = static_cast<double>(cells) / iterations;
    state.counters["allocs_per_cell"] =
        cells ? static_cast<double>(allocations) / static_cast<double>(cells) : 0.0;
}

// The argument is the device scale.
void BM_FullRepaint(benchmark::State& state) {
    ListFixture f(static_cast<int32_t>(state.range(0)));
    f.cells = 0;
    const uint64_t before = g_allocations.load();
    for (auto _ : state) f.Repaint();
    ReportCounters(state, g_allocations.load() - before, f.cells);
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ScrollByPage(benchmark::State& state) {
    ListFixture f;
    // One pass over the pages first, so that every glyph is cached.
    for (int32_t top = 0; top < 30000; top += f.per_page * 50) {
        (void)f.list->SetTopIndex(top);
        f.Repaint();
    }
    (void)f.list->SetTopIndex(0);
    f.Repaint();
    f.cells = 0;
    int32_t top = 0;
    const uint64_t before = g_allocations.load();
    for (auto _ : state) {
        top += f.per_page;
        if (top > 30000 - f.per_page) top = 0;
        (void)f.list->SetTopIndex(top);
        UpdateWindow(f.list->hwnd());
    }
    ReportCounters(state, g_allocations.load() - before, f.cells);
}
BENCHMARK(BM_ScrollByPage)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// The component's half alone: one display-information notification per row
// of a page, as the list sends them while painting, without the drawing.
void BM_DispInfoNotifications(benchmark::State& state) {
    ListFixture f;
    char buffer[kListViewTextCapacity];
    NMLVDISPINFOA info;
    info.hdr.hwndFrom = f.list->hwnd();
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_TEXT;
    info.item.pszText = buffer;
    info.item.cchTextMax = kListViewTextCapacity;
    f.cells = 0;
    int32_t row = 0;
    const uint64_t before = g_allocations.load();
    for (auto _ : state) {
        for (int32_t i = 0; i < f.per_page; ++i) {
            info.item.iItem = row;
            row = row + 1 < 30000 ? row + 1 : 0;
            SendMessage(f.list->UChWnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&info));
        }
        benchmark::DoNotOptimize(buffer[0]);
    }
    ReportCounters(state, g_allocations.load() - before, f.cells);
}
BENCHMARK(BM_DispInfoNotifications)->Unit(benchmark::kMicrosecond);

}  // namespace
