// kovelin-pack: builds a dictionary archive from a table.
//
//   kovelin-pack [--preeti] [--encryption trad|aes|none] [--password TEXT]
//                TABLE.tsv OUTPUT
//
// TABLE holds one entry a line: the headword, a tab, the definition, in
// UTF-8 Devanagari (or, with --preeti, in Preeti bytes already). Every
// problem is reported as FILE:LINE: message, and then nothing is written.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/app_paths.h"
#include "app/archive.h"
#include "app/dictionary_table.h"
#include "platform/os/files.h"

namespace {

// Far beyond any real table; a larger input is a mistake.
constexpr size_t kMaxTableBytes = 512u * 1024 * 1024;
// Only the first errors are worth reading; the count says the rest.
constexpr size_t kMaxErrorsShown = 50;

int Usage(const char* why) {
    std::fprintf(stderr,
                 "kovelin-pack: %s\n"
                 "usage: kovelin-pack [--preeti] [--encryption trad|aes|none] [--password TEXT] "
                 "TABLE.tsv OUTPUT\n",
                 why);
    return 2;
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
    if (input.empty() || output.empty()) return Usage("a table and an output file are needed");

    auto table = platform::os::ReadFile(input, kMaxTableBytes);
    if (!table) {
        std::fprintf(stderr, "%s: %s\n", input.c_str(), table.error().message.c_str());
        return 1;
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
        return 1;
    }

    const std::vector<app::archive::ArchiveFile> files = {
        {std::string(app::kHeadwordFileName), result.packed.headword_records},
        {std::string(app::kDefinitionFileName), result.packed.definition_lines},
    };
    const platform::Status written =
        app::archive::WriteArchive(output, files, password, encryption);
    if (!written) {
        std::fprintf(stderr, "kovelin-pack: %s\n", written.error().message.c_str());
        return 1;
    }
    std::printf("%s: %d entries\n", output.c_str(), result.packed.entries);
    return 0;
}
