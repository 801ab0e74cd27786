// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-lookup: looks a word up in the dictionary from a terminal.
//
//   kovelin-lookup WORD [--list N] [--fuzzy | --roman] [--json]
//                  [--dictionary FILE | --data DIR]
//   kovelin-lookup --help | --version
//
// WORD is Unicode Devanagari or Preeti; it matches as in the search box (the
// first headword that begins with it, "?", "#" and "*" being wildcards). The
// entry is printed in Unicode, laid out as the definition pane shows it;
// --list N adds the N headwords that follow it. The dictionary is the
// program's (app/dictionary_choice.h): FILE, then the user's own, then the
// bundled one; --data DIR names a data folder whose load.dll is taken as
// FILE would be.
//
// --fuzzy matches spelling-tolerantly (vowel length, nasal marks, sibilants
// and a few wrong letters do not matter) and --roman reads WORD as a Latin
// spelling ("shabdakosh"): the nearest headword's entry is printed, then the
// other near headwords, up to eight in all. When nothing matches, the near
// headwords are offered on standard error ("did you mean"). --json prints an
// array of {"headword", "definition"} objects in Unicode instead: the entry
// and the N that follow it, or every near headword.
//
// The first lookup of an archive unpacks it and keeps an index of it in the
// private temporary folder, keyed by the archive's content; later lookups
// read only the headwords and the one definition they need from it.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/dictionary_choice.h"
#include "app/dictionary_store.h"
#include "app/headword_search.h"
#include "app/loader.h"
#include "app/lookup_index.h"
#include "app/program_info.h"
#include "app/terminal_lookup.h"
#include "platform/os/files.h"
#include "platform/os/paths.h"
#include "platform/preeti/preeti.h"
#include "search/search_index.h"

namespace {

enum ExitCode { kFound = 0, kNoMatch = 1, kUsage = 2, kNoData = 3 };

constexpr const char* kUsageLine =
    "usage: kovelin-lookup WORD [--list N] [--fuzzy | --roman] [--json]\n"
    "                      [--dictionary FILE | --data DIR]\n"
    "       kovelin-lookup --help | --version\n";

int Usage(const char* why) {
    std::fprintf(stderr, "kovelin-lookup: %s\n%s", why, kUsageLine);
    return kUsage;
}

// The cached index of the archive's content, when there is one.
std::string CachedIndexPath(const std::string& archive_path) {
    const std::string key = app::archive::ContentKey(archive_path);
    const auto temp = platform::os::TempFolderPath();
    return key.empty() || !temp ? std::string() : app::LookupIndexPath(*temp, key);
}

// The dictionary to read. An archive already indexed needs no second check.
app::DictionaryChoice Choose(const std::string& command_line) {
    return app::ChooseDictionary(
        command_line, app::UserDictionaryPath(), app::DataFilePath(app::kArchiveName),
        [](const std::string& path) -> std::string {
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) return "there is no such file";
            const std::string index = CachedIndexPath(path);
            if (!index.empty() && ::stat(index.c_str(), &st) == 0) return {};
            return app::archive::CheckDictionary(path, app::archive::kPassword).message;
        });
}

// A folder of our own for the unpacked files, removed with them.
class ScratchFolder {
  public:
    ScratchFolder() {
        auto temp = platform::os::TempFolderPath();
        std::string pattern = (temp ? *temp : std::string("/tmp/")) + "lookup-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern + "/";
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        (void)platform::os::DeleteFile(path_ + std::string(app::kHeadwordFileName));
        (void)platform::os::DeleteFile(path_ + std::string(app::kDefinitionFileName));
        ::rmdir(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Unpacks the archive into a scratch folder, loads it and makes the lookup
// index in `out`; keeps a copy at `cache_path` (when given) in place of any
// index of other content.
int BuildIndex(const std::string& archive_path, const std::string& cache_path, std::string& out) {
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        std::fprintf(stderr, "kovelin-lookup: cannot make a temporary folder\n");
        return kNoData;
    }
    const app::archive::ExtractResult extracted =
        app::archive::ExtractDictionary(archive_path, app::archive::kPassword, scratch.path());
    if (!extracted.ok()) {
        std::fprintf(stderr, "kovelin-lookup: no dictionary data: %s\n", extracted.message.c_str());
        return kNoData;
    }
    const app::StartupPaths paths = app::StartupPathsFor(scratch.path());
    app::DictionaryStore store;
    app::LoadDictionary(paths.headword_file, paths.definition_file, store, {});
    out = app::BuildLookupIndex(store);
    if (cache_path.empty()) return kFound;
    // One index at a time: those of earlier content go.
    const std::string folder = cache_path.substr(0, cache_path.rfind('/') + 1);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("lookup-") && name.ends_with(".idx") && entry.is_regular_file(ignored))
            std::filesystem::remove(entry.path(), ignored);
    }
    // A cache that cannot be written only costs the next lookup the unpacking.
    (void)platform::os::WriteFileAtomic(cache_path, out, 0600);
    return kFound;
}

// Near headwords, as many as a suggestion list shows.
constexpr size_t kNearCount = 8;

enum class Reading { kExact, kTolerant, kLatin };

std::vector<search::Match> NearHeadwords(const app::LookupIndex& lookup, Reading reading,
                                         const std::string& word, const std::string& typed) {
    const search::SearchIndex index = app::SearchIndexOf(lookup);
    if (reading == Reading::kLatin) return search::NearestToLatin(index, word, kNearCount);
    if (reading == Reading::kTolerant)
        return search::NearestToDevanagari(index, preeti::ToUnicode(typed), kNearCount);
    return search::SuggestForUnicode(index, word, kNearCount).matches;
}

// The headword of entry `i`, walking the index from the start.
std::string_view WordAt(const app::LookupIndex& lookup, int32_t i) {
    std::string_view found;
    lookup.ForEachWord([&](int32_t at, std::string_view word) {
        if (at < i) return true;
        found = word;
        return false;
    });
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    std::string word;
    bool have_word = false;
    long list = 0;
    std::string dictionary;
    bool help = false;
    Reading reading = Reading::kExact;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            help = true;
        } else if (arg == "--version") {
            std::fputs(app::VersionText("kovelin-lookup").c_str(), stdout);
            return kFound;
        } else if (arg == "--dictionary" && i + 1 < argc) {
            dictionary = argv[++i];
        } else if (arg == "--list" && i + 1 < argc) {
            char* end = nullptr;
            list = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || list < 0) return Usage("--list takes a count");
        } else if (arg == "--fuzzy" || arg == "--roman") {
            const Reading wanted = arg == "--fuzzy" ? Reading::kTolerant : Reading::kLatin;
            if (reading != Reading::kExact && reading != wanted)
                return Usage("--fuzzy and --roman exclude each other");
            reading = wanted;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--data" && i + 1 < argc) {
            dictionary = app::FolderWithSeparator(argv[++i]) + std::string(app::kArchiveName);
        } else if (arg.size() > 1 && arg.substr(0, 2) == "--") {
            return Usage("unknown option");
        } else if (!have_word) {
            word = arg;
            have_word = true;
        } else {
            return Usage("one word at a time");
        }
    }
    const app::DictionaryChoice choice = Choose(dictionary);
    for (const std::string& problem : choice.problems)
        std::fprintf(stderr, "kovelin-lookup: %s Using %s.\n", problem.c_str(),
                     choice.Describe().c_str());
    if (help) {
        std::printf(
            "%s\n"
            "Looks WORD up (Unicode Devanagari or Preeti; ?, # and * are wildcards) and\n"
            "prints the entry; --list N adds the N headwords that follow it.\n"
            "--fuzzy finds near spellings, --roman reads WORD as Latin letters, and\n"
            "--json prints the entries as JSON in Unicode.\n"
            "The dictionary is the first of: --dictionary FILE (or DIR/load.dll),\n"
            "$XDG_DATA_HOME/kovelin/load.dll, the bundled one.\n"
            "Now: %s.\n",
            kUsageLine, choice.Describe().c_str());
        return kFound;
    }
    if (!have_word) return Usage("no word given");

    bool converted = true;
    const std::string typed = app::TypedTextToPreeti(word, &converted);
    if (!converted && reading != Reading::kLatin) {
        std::fprintf(stderr,
                     "kovelin-lookup: the word holds a character the dictionary cannot "
                     "hold\n");
        return kNoMatch;
    }

    const std::string& archive_path = choice.path;
    // The archive is unpacked and indexed once; later lookups of the same
    // content read the index in place from the private temporary folder.
    const std::string index_path = CachedIndexPath(archive_path);
    const platform::os::MappedFile mapped =
        index_path.empty() ? platform::os::MappedFile() : platform::os::MappedFile(index_path);
    std::string built;
    std::optional<app::LookupIndex> lookup = app::LookupIndex::Open(mapped.bytes());
    if (!lookup) {
        const int code = BuildIndex(archive_path, index_path, built);
        if (code != kFound) return code;
        lookup = app::LookupIndex::Open(built);
    }
    if (!lookup || lookup->size() == 0) {
        std::fprintf(stderr, "kovelin-lookup: the dictionary in %s is empty\n",
                     archive_path.c_str());
        return kNoData;
    }

    if (reading != Reading::kExact) {
        const std::vector<search::Match> near = NearHeadwords(*lookup, reading, word, typed);
        if (near.empty()) {
            if (json) std::fputs("[]\n", stdout);
            std::fprintf(stderr, "kovelin-lookup: no headword is near \"%s\"\n", word.c_str());
            return kNoMatch;
        }
        std::vector<app::DictEntry> entries;
        for (const search::Match& match : near)
            entries.push_back({WordAt(*lookup, match.entry), lookup->definition(match.entry)});
        if (json) {
            std::fputs(app::FormatEntriesAsJson(entries).c_str(), stdout);
            return kFound;
        }
        std::fputs(app::FormatEntryForTerminal(entries.front()).c_str(), stdout);
        if (near.size() > 1) std::fputs("\n", stdout);
        for (size_t i = 1; i < near.size(); ++i)
            std::printf("%d\t%s\n", near[i].entry, preeti::ToUnicode(entries[i].word).c_str());
        return kFound;
    }

    std::string_view found_word;
    const int32_t index = lookup->Find(typed, &found_word);
    if (index < 0) {
        if (json) std::fputs("[]\n", stdout);
        std::fprintf(stderr, "kovelin-lookup: no headword begins with \"%s\"\n", word.c_str());
        const std::vector<search::Match> near = NearHeadwords(*lookup, reading, word, typed);
        if (!near.empty()) {
            std::fputs("did you mean:\n", stderr);
            for (const search::Match& match : near)
                std::fprintf(stderr, "  %s\n",
                             preeti::ToUnicode(WordAt(*lookup, match.entry)).c_str());
        }
        return kNoMatch;
    }
    const int32_t count = static_cast<int32_t>(std::min(list, 1'000'000L));
    if (json) {
        std::vector<app::DictEntry> entries;
        lookup->ForEachWord([&](int32_t i, std::string_view w) {
            if (int64_t{i} > int64_t{index} + count) return false;
            if (i >= index) entries.push_back({w, lookup->definition(i)});
            return true;
        });
        std::fputs(app::FormatEntriesAsJson(entries).c_str(), stdout);
        return kFound;
    }
    std::fputs(app::FormatEntryForTerminal({found_word, lookup->definition(index)}).c_str(),
               stdout);
    if (list > 0) {
        std::fputs("\n", stdout);
        std::fputs(app::FormatFollowingHeadwords(*lookup, index, count).c_str(), stdout);
    }
    return kFound;
}
