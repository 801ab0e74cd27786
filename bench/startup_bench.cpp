// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up data path: unpacking the archive (in-process and through the
// extraction tool) and loading the store, for dictionaries of 30,000 and
// 300,000 entries. The loader's yields are no-op callbacks here; store
// memory is reported against the size of the two unpacked files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/dictionary_table.h"
#include "app/loader.h"
#include "app/synthetic_dictionary.h"
#include "app/unpack.h"

namespace {

namespace fs = std::filesystem;

// One prepared dictionary: its archive in a data folder and the two
// unpacked files, made once per size and removed at exit.
struct Prepared {
    std::string root;
    std::string data_folder;
    std::string unpacked_folder;
    uint64_t file_bytes = 0;

    ~Prepared() {
        std::error_code ignored;
        if (!root.empty()) fs::remove_all(root, ignored);
    }
};

const Prepared& Prepare(int32_t entries) {
    static std::map<int32_t, Prepared> cache;
    Prepared& p = cache[entries];
    if (!p.root.empty()) return p;
    std::string pattern = "/tmp/kovelin-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    p.root = pattern + "/";
    p.data_folder = p.root + "system/";
    p.unpacked_folder = p.root + "unpacked/";
    fs::create_directories(p.data_folder);
    fs::create_directories(p.unpacked_folder);

    const app::TableResult table =
        app::ConvertTable(app::SyntheticTable(entries), app::TableEncoding::kUnicode);
    if (!table.ok()) std::abort();
    p.file_bytes = table.packed.headword_records.size() + table.packed.definition_lines.size();
    if (!app::archive::WriteArchive(p.data_folder + "load.dll",
                                    {{"M_A_X_T1", table.packed.headword_records},
                                     {"M_A_X_T2", table.packed.definition_lines}},
                                    app::archive::kPassword, app::archive::Encryption::kTraditional)
             .ok()) {
        std::abort();
    }
    if (!app::archive::ExtractDictionary(p.data_folder + "load.dll", app::archive::kPassword,
                                         p.unpacked_folder)
             .ok()) {
        std::abort();
    }
    // The real extraction tool, when the build placed it beside us.
    const std::string tool = app::DataFilePath(app::kToolName);
    std::error_code ignored;
    if (!tool.empty()) fs::copy_file(tool, p.data_folder + "sysmaint.dll", ignored);
    return p;
}

void BM_LoadDictionary(benchmark::State& state) {
    const Prepared& p = Prepare(static_cast<int32_t>(state.range(0)));
    const app::StartupPaths paths = app::StartupPathsFor(p.unpacked_folder);
    app::LoadCallbacks callbacks;
    int yields = 0;
    callbacks.set_percentage = [](const std::string& caption) {
        benchmark::DoNotOptimize(caption.data());
    };
    callbacks.yield = [&yields] { ++yields; };
    callbacks.on_list_first_touched = [] {};
    callbacks.configure_list = [](const app::HeadwordListSetup&) {};
    app::DictionaryStore store;
    for (auto _ : state) {
        app::LoadDictionary(paths.headword_file, paths.definition_file, store, callbacks);
        benchmark::DoNotOptimize(store.size());
    }
    state.counters["entries"] = store.size();
    state.counters["store_MiB"] = static_cast<double>(store.memory_bytes()) / (1 << 20);
    state.counters["files_MiB"] = static_cast<double>(p.file_bytes) / (1 << 20);
    state.counters["store/files"] =
        static_cast<double>(store.memory_bytes()) / static_cast<double>(p.file_bytes);
}
BENCHMARK(BM_LoadDictionary)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

void BM_ExtractInProcess(benchmark::State& state) {
    const Prepared& p = Prepare(static_cast<int32_t>(state.range(0)));
    const std::string out = p.root + "extract/";
    fs::create_directories(out);
    for (auto _ : state) {
        const auto result = app::archive::ExtractDictionary(p.data_folder + "load.dll",
                                                            app::archive::kPassword, out);
        if (!result.ok()) state.SkipWithError(result.message.c_str());
    }
}
BENCHMARK(BM_ExtractInProcess)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

// The whole start-up unpacking step: both copies and the tool run in the
// temporary folder, as the program does it.
void BM_UnpackWithTool(benchmark::State& state) {
    const Prepared& p = Prepare(static_cast<int32_t>(state.range(0)));
    if (!fs::exists(p.data_folder + "sysmaint.dll")) {
        state.SkipWithError("build the sysmaint target first");
        return;
    }
    const std::string temp = p.root + "temp/";
    fs::create_directories(temp);
    app::UnpackOptions options;
    options.data_folder = p.data_folder;
    options.temp_folder = temp;
    for (auto _ : state) {
        const app::UnpackReport report = app::UnpackArchive(options);
        if (report.tool.exit_code != 0) state.SkipWithError("the tool failed");
    }
}
BENCHMARK(BM_UnpackWithTool)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace
