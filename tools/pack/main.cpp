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
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/csv_dictionary.h"
#include "app/dictionary_builder.h"
#include "app/dictionary_import.h"
#include "app/dictionary_table.h"
#include "app/program_info.h"
#include "app/stardict.h"
#include "platform/os/byte_file.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

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

void PrintNotes(const std::string& input, const app::ImportNotes& notes) {
    for (const app::ImportNote& note : notes.kept()) {
        std::fprintf(stderr, "%s: %s: skipped: %s\n", input.c_str(), note.where.c_str(),
                     note.message.c_str());
    }
    if (notes.count() > notes.kept().size()) {
        std::fprintf(stderr, "%s: %llu more skipped\n", input.c_str(),
                     static_cast<unsigned long long>(notes.count() - notes.kept().size()));
    }
}

// A StarDict dictionary or a CSV file through the import pipeline into data
// files beside the output.
bool Import(const std::string& input, const std::string& output, app::DataFiles& data) {
    app::ImportNotes notes;
    app::StarDictFiles stardict;
    platform::os::ByteFile csv;
    std::unique_ptr<app::EntrySource> source;
    uint64_t input_bytes = 0;
    if (input.ends_with(".ifo")) {
        stardict = app::OpenStarDict(input, output);
        if (!stardict.ok()) {
            std::fprintf(stderr, "kovelin-pack: %s\nkovelin-pack: nothing written\n",
                         stardict.error.c_str());
            return false;
        }
        input_bytes = stardict.input_bytes;
        source = std::make_unique<app::StarDictReader>(
            stardict.info, stardict.index, stardict.data, stardict.name,
            app::kMaxOutputMultiple * input_bytes, notes);
    } else {
        auto opened = platform::os::ByteFile::Open(input);
        if (!opened) {
            std::fprintf(stderr, "kovelin-pack: %s\n", opened.error().message.c_str());
            return false;
        }
        csv = std::move(*opened);
        input_bytes = csv.size();
        source = std::make_unique<app::CsvReader>(csv, notes);
    }

    app::BuilderLimits limits;
    limits.max_output_bytes = app::kMaxOutputMultiple * input_bytes;
    limits.max_file_bytes = app::archive::kMaxEntryBytes;
    app::DictionaryBuilder builder(output, notes, limits);
    app::PreetiConverter converter;
    uint64_t read = 0;
    std::string error;
    if (!app::ImportEntries(*source, converter, builder, notes, read, error) ||
        !builder.Finish(data)) {
        if (error.empty()) error = builder.error();
        if (builder.failure() == app::DictionaryBuilder::Failure::kOverBudget) {
            error += ", " + std::to_string(app::kMaxOutputMultiple) + " times the size of " +
                     input + " (" + std::to_string(input_bytes) + " bytes)";
        }
        const bool named = !source->ok() && !input.ends_with(".ifo");
        std::fprintf(stderr, "%s%s\nkovelin-pack: nothing written\n",
                     named ? (input + ": ").c_str() : "kovelin-pack: ", error.c_str());
        return false;
    }
    PrintNotes(input, notes);
    std::printf(
        "%s: %llu entries read: %llu taken (%llu of them merged into an earlier headword), "
        "%llu skipped\n",
        input.c_str(), static_cast<unsigned long long>(read),
        static_cast<unsigned long long>(builder.taken()),
        static_cast<unsigned long long>(builder.merged()),
        static_cast<unsigned long long>(notes.count()));
    if (data.entries == 0) {
        std::fprintf(stderr, "kovelin-pack: no entry could be taken; nothing written\n");
        return false;
    }
    return true;
}

// The files an input is read from, for telling the output apart from them.
std::vector<std::string> InputFiles(const std::string& input) {
    if (!input.ends_with(".ifo")) return {input};
    const std::string base = input.substr(0, input.size() - 4);
    return {input, base + ".idx", base + ".idx.gz", base + ".dict", base + ".dict.dz"};
}

// The input file that `output` names (through any link), or empty.
std::string SameFile(const std::string& output, const std::vector<std::string>& inputs) {
    struct stat out {};
    if (::stat(output.c_str(), &out) != 0) return {};
    for (const std::string& in : inputs) {
        struct stat st {};
        if (::stat(in.c_str(), &st) == 0 && st.st_dev == out.st_dev && st.st_ino == out.st_ino)
            return in;
    }
    return {};
}

int Run(int argc, char** argv) {
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

    if (const std::string same = SameFile(output, InputFiles(input)); !same.empty()) {
        std::fprintf(stderr, "kovelin-pack: %s is the input file %s; give another output\n",
                     output.c_str(), same.c_str());
        return 2;
    }
    // What a run killed while writing this output left behind.
    (void)platform::os::RemoveAbandonedReplacements(output);

    app::PackedDictionary packed;
    app::DataFiles data;
    std::vector<app::archive::ArchiveFile> files;
    if (input.ends_with(".ifo") || input.ends_with(".csv")) {
        if (encoding == app::TableEncoding::kPreeti)
            return Usage("--preeti applies to tables only");
        if (!Import(input, output, data)) return 1;
        files = {{std::string(app::kHeadwordFileName), {}, &data.headword_records.file()},
                 {std::string(app::kDefinitionFileName), {}, &data.definition_lines.file()}};
        packed.entries = data.entries;
    } else {
        if (!PackTable(input, encoding, packed)) return 1;
        files = {{std::string(app::kHeadwordFileName), packed.headword_records, nullptr},
                 {std::string(app::kDefinitionFileName), packed.definition_lines, nullptr}};
    }

    const platform::Status written =
        app::archive::WriteArchive(output, files, password, encryption);
    if (!written) {
        std::fprintf(stderr, "kovelin-pack: %s\n", written.error().message.c_str());
        return 1;
    }
    std::printf("%s: %d entries\n", output.c_str(), packed.entries);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    // Stopped while writing, the archive's temporary file goes too.
    platform::os::RemoveRegisteredFilesOnTermination();
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kovelin-pack: out of memory; nothing written\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kovelin-pack: %s; nothing written\n", e.what());
    }
    return 1;
}
