// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-pack: builds a dictionary archive from a table, a StarDict
// dictionary or a CSV file.
//
//   kovelin-pack [--preeti] [--encryption trad|aes|none] [--password TEXT]
//                INPUT OUTPUT
//
// INPUT is chosen by its name:
// - NAME.ifo: a StarDict dictionary (NAME.idx and NAME.dict or NAME.dict.dz
//   beside it), Unicode Devanagari definitions, plain or HTML;
// - NAME.csv: headword and definition in the first two columns;
// - anything else: the table, one entry a line: the headword, a tab, the
//   definition, in UTF-8 Devanagari (or, with --preeti, in Preeti bytes
//   already). Every problem of a table is reported as FILE:LINE: message,
//   and then nothing is written: the table is the dictionary's own source.
//
// StarDict and CSV entries the dictionary cannot hold are skipped with their
// entry or line number and the reason; entries with the same headword are
// merged; the headwords are sorted in the dictionary's order (see
// app/dictionary_import.h). Damaged files are reported and nothing is
// written.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/csv_dictionary.h"
#include "app/dictionary_import.h"
#include "app/dictionary_table.h"
#include "app/program_info.h"
#include "app/stardict.h"
#include "platform/os/files.h"

namespace {

// Far beyond any real table; a larger input is a mistake.
constexpr size_t kMaxTableBytes = 512u * 1024 * 1024;
// Only the first errors are worth reading; the count says the rest.
constexpr size_t kMaxErrorsShown = 50;

constexpr const char* kUsageLines =
    "usage: kovelin-pack [--preeti] [--encryption trad|aes|none] [--password TEXT] INPUT OUTPUT\n"
    "       kovelin-pack --help | --version\n";

int Usage(const char* why) {
    std::fprintf(stderr,
                 "kovelin-pack: %s\n%s"
                 "INPUT: a table (headword TAB definition), a StarDict NAME.ifo, or a "
                 "NAME.csv\n",
                 why, kUsageLines);
    return 2;
}

}  // namespace

namespace {

bool PackTable(const std::string& input, app::TableEncoding encoding,
               app::PackedDictionary& packed) {
    auto table = platform::os::ReadFile(input, kMaxTableBytes);
    if (!table) {
        std::fprintf(stderr, "%s: %s\n", input.c_str(), table.error().message.c_str());
        return false;
    }
    const app::TableResult result = app::ConvertTable(*table, encoding);
    if (!result.ok()) {
        for (size_t i = 0; i < result.errors.size() && i < kMaxErrorsShown; ++i) {
            std::fprintf(stderr, "%s:%zu: %s\n", input.c_str(), result.errors[i].line,
                         result.errors[i].message.c_str());
        }
        if (result.errors.size() > kMaxErrorsShown) {
            std::fprintf(stderr, "%s: %zu more errors\n", input.c_str(),
                         result.errors.size() - kMaxErrorsShown);
        }
        std::fprintf(stderr, "kovelin-pack: nothing written\n");
        return false;
    }

    packed = result.packed;
    return true;
}

bool Import(const std::string& input, app::PackedDictionary& packed) {
    std::vector<app::SourceEntry> entries;
    std::vector<app::ImportNote> skipped;
    if (input.ends_with(".ifo")) {
        app::StarDict dict = app::ReadStarDict(input);
        if (!dict.ok()) {
            std::fprintf(stderr, "kovelin-pack: %s\nkovelin-pack: nothing written\n",
                         dict.error.c_str());
            return false;
        }
        entries = std::move(dict.entries);
        skipped = std::move(dict.skipped);
    } else {
        auto text = platform::os::ReadFile(input, kMaxTableBytes);
        if (!text) {
            std::fprintf(stderr, "%s: %s\n", input.c_str(), text.error().message.c_str());
            return false;
        }
        app::CsvDictionary csv = app::ReadCsvDictionary(*text);
        if (!csv.ok()) {
            std::fprintf(stderr, "%s: %s\nkovelin-pack: nothing written\n", input.c_str(),
                         csv.error.c_str());
            return false;
        }
        entries = std::move(csv.entries);
        skipped = std::move(csv.skipped);
    }
    const size_t read = entries.size() + skipped.size();
    app::ImportResult result = app::ImportEntries(entries);
    skipped.insert(skipped.end(), result.skipped.begin(), result.skipped.end());
    for (size_t i = 0; i < skipped.size() && i < kMaxErrorsShown; ++i) {
        std::fprintf(stderr, "%s: %s: skipped: %s\n", input.c_str(), skipped[i].where.c_str(),
                     skipped[i].message.c_str());
    }
    if (skipped.size() > kMaxErrorsShown) {
        std::fprintf(stderr, "%s: %zu more skipped\n", input.c_str(),
                     skipped.size() - kMaxErrorsShown);
    }
    std::printf(
        "%s: %zu entries read: %d taken (%d of them merged into an earlier headword), "
        "%zu skipped\n",
        input.c_str(), read, result.taken, result.merged, skipped.size());
    if (result.packed.entries == 0) {
        std::fprintf(stderr, "kovelin-pack: no entry could be taken; nothing written\n");
        return false;
    }
    packed = std::move(result.packed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    app::TableEncoding encoding = app::TableEncoding::kUnicode;
    app::archive::Encryption encryption = app::archive::Encryption::kTraditional;
    std::string password(app::archive::kPassword);
    std::string input;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::printf(
                "%s"
                "Writes the dictionary archive OUTPUT from INPUT: a StarDict NAME.ifo (with\n"
                "NAME.idx and NAME.dict or NAME.dict.dz beside it), a NAME.csv (headword,\n"
                "definition), or a table (headword TAB definition, one entry a line).\n"
                "Put OUTPUT at $XDG_DATA_HOME/kovelin/load.dll (~/.local/share/kovelin/load.dll)\n"
                "and Kovelin reads it in place of its bundled dictionary.\n",
                kUsageLines);
            return 0;
        }
        if (arg == "--version") {
            std::fputs(app::VersionText("kovelin-pack").c_str(), stdout);
            return 0;
        }
        if (arg == "--preeti") {
            encoding = app::TableEncoding::kPreeti;
        } else if (arg == "--encryption" && i + 1 < argc) {
            const std::string_view method = argv[++i];
            if (method == "trad")
                encryption = app::archive::Encryption::kTraditional;
            else if (method == "aes")
                encryption = app::archive::Encryption::kAes256;
            else if (method == "none")
                encryption = app::archive::Encryption::kNone;
            else
                return Usage("unknown encryption");
        } else if (arg == "--password" && i + 1 < argc) {
            password = argv[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            return Usage("unknown option");
        } else if (input.empty()) {
            input = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            return Usage("too many arguments");
        }
    }
    if (input.empty() || output.empty()) return Usage("an input and an output file are needed");

    app::PackedDictionary packed;
    if (input.ends_with(".ifo") || input.ends_with(".csv")) {
        if (encoding == app::TableEncoding::kPreeti)
            return Usage("--preeti applies to tables only");
        if (!Import(input, packed)) return 1;
    } else if (!PackTable(input, encoding, packed)) {
        return 1;
    }

    const std::vector<app::archive::ArchiveFile> files = {
        {std::string(app::kHeadwordFileName), packed.headword_records},
        {std::string(app::kDefinitionFileName), packed.definition_lines},
    };
    const platform::Status written =
        app::archive::WriteArchive(output, files, password, encryption);
    if (!written) {
        std::fprintf(stderr, "kovelin-pack: %s\n", written.error().message.c_str());
        return 1;
    }
    std::printf("%s: %d entries\n", output.c_str(), packed.entries);
    return 0;
}
