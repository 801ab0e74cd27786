// One keystroke in the search box, end to end: the change handling scans
// the store for the first match, scrolls the headword list, and the main
// window repaints. Measured on synthetic dictionaries of 30,000 and 300,000
// entries, with the match at the start, in the middle, and absent.

#include <benchmark/benchmark.h>

#include <string>

#include "app/dictionary_store.h"
#include "app/synthetic_dictionary.h"
#include "lookup/main_window.h"
#include "platform/headless/headless_backend.h"
#include "platform/text/font_engine.h"

namespace {

class NoHistory : public lookup::HistoryStore {
  public:
    std::string Read(const std::string& fallback) override { return fallback; }
    platform::Status Write(const std::string&) override { return {}; }
};

void FillStore(int32_t entries) {
    app::DictionaryStore& store = app::Dictionary();
    store.Clear();
    const std::string table = app::SyntheticTable(entries);
    size_t at = 0;
    while (at < table.size()) {
        size_t end = table.find('\n', at);
        if (end == std::string::npos) end = table.size();
        std::string_view line(table.data() + at, end - at);
        size_t tab = line.find('\t');
        if (tab != std::string_view::npos) store.Append(line.substr(0, tab), line.substr(tab + 1));
        at = end + 1;
    }
}

// args: entries, where the match is (0 start, 1 middle, 2 absent)
void BM_Keystroke(benchmark::State& state) {
    const auto entries = static_cast<int32_t>(state.range(0));
    platform::text::InstallFontEngine();
    platform::headless::HeadlessSession session;
    FillStore(entries);
    lookup::MainWindow main(std::make_unique<NoHistory>());
    main.CreateAndLoad();
    app::HeadwordListSetup setup;
    setup.item_count = app::Dictionary().size();
    main.ConfigureList(setup);
    main.Show();
    platform::DoEvents();

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
            target = "\x7F\x7F\x7F";
            break;  // no headword starts with it
    }
    // Alternate between the word and its first byte so every iteration
    // really changes the text and scrolls.
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

}  // namespace
