// SPDX-License-Identifier: GPL-3.0-or-later
// One keystroke in the search box, end to end: the change handling scans
// the store for the first match, scrolls the headword list, and the main
// window repaints. Measured on synthetic dictionaries of 30,000 and 300,000
// entries held as the program holds them (Preeti bytes), with the match at
// the start, in the middle, and absent after a prefix many headwords share;
// and a long text typed a character at a time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "app/dictionary_store.h"
#include "app/dictionary_table.h"
#include "app/loader.h"
#include "app/synthetic_dictionary.h"
#include "lookup/main_window.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/files.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

namespace {

class NoHistory : public lookup::HistoryStore {
  public:
    std::string Read(const std::string& fallback) override { return fallback; }
    platform::Status Write(const std::string&) override { return {}; }
};

// The store as the program holds it: the synthetic table packed into the
// two data files (Preeti bytes) and read back by the loader.
void FillStore(int32_t entries) {
    const app::TableResult table =
        app::ConvertTable(app::SyntheticTable(entries), app::TableEncoding::kUnicode);
    if (!table.ok()) std::abort();
    std::string folder = "/tmp/kovelin-bench-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    const std::string words = folder + "/words";
    const std::string definitions = folder + "/definitions";
    if (!platform::os::WriteFileAtomic(words, table.packed.headword_records, 0600).ok() ||
        !platform::os::WriteFileAtomic(definitions, table.packed.definition_lines, 0600).ok()) {
        std::abort();
    }
    app::LoadCallbacks callbacks;
    callbacks.set_percentage = [](const std::string&) {};
    callbacks.yield = [] {};
    callbacks.on_list_first_touched = [] {};
    callbacks.configure_list = [](const app::HeadwordListSetup&) {};
    app::Dictionary().Clear();
    app::LoadDictionary(words, definitions, app::Dictionary(), callbacks);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (app::Dictionary().size() != entries) std::abort();
}

// A word no headword starts with that shares the longest common prefix
// with as many headwords as possible, so the scan compares many bytes at
// every entry before it fails: the most frequent prefix of four bytes
// (three, when words are shorter) and a byte that no headword holds.
std::string AbsentWordWithLongSharedPrefix(const app::DictionaryStore& store) {
    for (size_t length : {size_t{4}, size_t{3}}) {
        std::map<std::string_view, int32_t> counts;
        for (int32_t i = 0; i < store.size(); ++i) {
            const std::string_view w = store.word(i);
            if (w.size() >= length) ++counts[w.substr(0, length)];
        }
        auto best =
            std::max_element(counts.begin(), counts.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        if (best != counts.end() && best->second > 1) return std::string(best->first) + "\x7F";
    }
    return "\x7F\x7F\x7F";
}

// The main window shown over a store of `entries` synthetic entries.
struct ShownWindow {
    explicit ShownWindow(int32_t entries) : filled((FillStore(entries), true)) {
        main.CreateAndLoad();
        app::HeadwordListSetup setup;
        setup.item_count = app::Dictionary().size();
        main.ConfigureList(setup);
        main.Show();
        platform::DoEvents();
    }
    platform::headless::HeadlessSession session;
    bool filled;  // the store, before the window that reads it
    lookup::MainWindow main{std::make_unique<NoHistory>()};
};

// args: entries, where the match is (0 start, 1 middle, 2 absent)
void BM_Keystroke(benchmark::State& state) {
    const auto entries = static_cast<int32_t>(state.range(0));
    platform::text::InstallFontEngine();
    ShownWindow shown(entries);
    lookup::MainWindow& main = shown.main;

    const app::DictionaryStore& store = app::Dictionary();
    std::string target;
    switch (state.range(1)) {
        case 0:
            target = std::string(store.word(0));
            break;
        case 1:
            target = std::string(store.word(store.size() / 2));
            break;
        default:
            target = AbsentWordWithLongSharedPrefix(store);
            break;
    }
    // Alternate between the word and its first byte so every iteration
    // really changes the text and scrolls (for the absent word, the first
    // byte still scrolls the list and the whole word then scans it all).
    const std::string first = target.substr(0, 1);
    bool flip = false;
    for (auto _ : state) {
        main.search_box()->set_text(flip ? first : target);
        platform::UpdateWindow(main.hwnd());
        flip = !flip;
    }
    state.SetLabel(std::to_string(entries) + (state.range(1) == 0   ? " entries, match at start"
                                              : state.range(1) == 1 ? " entries, match in middle"
                                                                    : " entries, no match"));
}

BENCHMARK(BM_Keystroke)->ArgsProduct({{30000, 300000}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// A long text typed into the search box a character at a time, as the
// harness's `type` does, with no blank to end the typing burst: each key
// costs the same however long the text already is, so 4n characters take
// four times as long as n. arg: characters typed
void BM_TypeLongText(benchmark::State& state) {
    platform::text::InstallFontEngine();
    ShownWindow shown(30000);
    lookup::MainWindow& main = shown.main;
    const std::string syllables = "नेपालीशब्दकोशकिताब";
    std::string text;
    while (static_cast<int64_t>(text.size()) < state.range(0) * 3) text += syllables;
    for (auto _ : state) {
        state.PauseTiming();
        main.search_box()->set_text("");
        platform::SetFocus(main.search_box()->hwnd());
        platform::DoEvents();
        state.ResumeTiming();
        platform::InjectText(text);
        platform::DoEvents();
    }
    // Every character went in (a Preeti byte or two each).
    if (main.search_box()->text().size() < text.size() / 6) std::abort();
    state.SetLabel(std::to_string(text.size() / 3) + " characters");
}

BENCHMARK(BM_TypeLongText)->Arg(2000)->Arg(8000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
