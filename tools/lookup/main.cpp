// kovelin-lookup: looks a word up in the dictionary from a terminal.
//
//   kovelin-lookup WORD [--list N] [--data DIR]
//
// WORD is Unicode Devanagari or Preeti; it matches as in the search box (the
// first headword that begins with it, "?", "#" and "*" being wildcards). The
// entry is printed in Unicode, laid out as the definition pane shows it;
// --list N adds the N headwords that follow it. DIR is the data folder
// holding load.dll (by default the "system" folder beside the program).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/dictionary_store.h"
#include "app/headword_search.h"
#include "app/loader.h"
#include "app/terminal_lookup.h"
#include "platform/os/files.h"
#include "platform/os/paths.h"

namespace {

enum ExitCode { kFound = 0, kNoMatch = 1, kUsage = 2, kNoData = 3 };

int Usage(const char* why) {
    std::fprintf(stderr, "kovelin-lookup: %s\nusage: kovelin-lookup WORD [--list N] [--data DIR]\n",
                 why);
    return kUsage;
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

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    std::string word;
    bool have_word = false;
    long list = 0;
    std::string data_folder;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--list" && i + 1 < argc) {
            char* end = nullptr;
            list = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || list < 0) return Usage("--list takes a count");
        } else if (arg == "--data" && i + 1 < argc) {
            data_folder = app::FolderWithSeparator(argv[++i]);
        } else if (arg.size() > 1 && arg.substr(0, 2) == "--") {
            return Usage("unknown option");
        } else if (!have_word) {
            word = arg;
            have_word = true;
        } else {
            return Usage("one word at a time");
        }
    }
    if (!have_word) return Usage("no word given");
    if (data_folder.empty()) data_folder = app::DataFilePath("");

    bool converted = true;
    const std::string typed = app::TypedTextToPreeti(word, &converted);
    if (!converted) {
        std::fprintf(stderr,
                     "kovelin-lookup: the word holds a character the dictionary cannot "
                     "hold\n");
        return kNoMatch;
    }

    ScratchFolder scratch;
    if (scratch.path().empty()) {
        std::fprintf(stderr, "kovelin-lookup: cannot make a temporary folder\n");
        return kNoData;
    }
    const std::string archive_path = data_folder + std::string(app::kArchiveName);
    const app::archive::ExtractResult extracted =
        app::archive::ExtractDictionary(archive_path, app::archive::kPassword, scratch.path());
    if (!extracted.ok()) {
        std::fprintf(stderr, "kovelin-lookup: no dictionary data: %s\n", extracted.message.c_str());
        return kNoData;
    }
    const app::StartupPaths paths = app::StartupPathsFor(scratch.path());
    app::DictionaryStore store;
    app::LoadDictionary(paths.headword_file, paths.definition_file, store, {});
    if (store.empty()) {
        std::fprintf(stderr, "kovelin-lookup: the dictionary in %s is empty\n",
                     archive_path.c_str());
        return kNoData;
    }

    const int32_t index = app::FindHeadword(store, typed);
    if (index < 0) {
        std::fprintf(stderr, "kovelin-lookup: no headword begins with \"%s\"\n", word.c_str());
        return kNoMatch;
    }
    std::fputs(app::FormatEntryForTerminal(store[index]).c_str(), stdout);
    if (list > 0) {
        std::fputs("\n", stdout);
        std::fputs(app::FormatFollowingHeadwords(store, index,
                                                 static_cast<int32_t>(std::min(list, 1'000'000L)))
                       .c_str(),
                   stdout);
    }
    return kFound;
}
