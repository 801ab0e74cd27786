// kovelin-convert: converts a text between Preeti bytes and Unicode.
//
//   kovelin-convert --to-unicode < preeti.txt > unicode.txt
//   kovelin-convert --to-preeti  < unicode.txt > preeti.txt
//
// Reads standard input and writes standard output, a piece at a time, so
// files of any size convert in little memory. Characters with no form in the
// other encoding are left out; standard error lists where they were (line
// and column, the first hundred) and how many there were.
//
// Exit status: 0 when everything converted, 1 when some characters could
// not be, 2 for a usage error, 3 when reading or writing failed.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/text_conversion.h"

namespace {

enum ExitCode { kConverted = 0, kSomeUnconvertible = 1, kUsage = 2, kIoError = 3 };

int Usage(const char* why) {
    std::fprintf(stderr,
                 "kovelin-convert: %s\nusage: kovelin-convert --to-unicode | --to-preeti "
                 "< INPUT > OUTPUT\n",
                 why);
    return kUsage;
}

bool Write(const std::string& bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Usage(argc < 2 ? "say which way to convert" : "one option only");
    const std::string_view option = argv[1];
    app::ConvertDirection direction;
    if (option == "--to-unicode") {
        direction = app::ConvertDirection::kPreetiToUnicode;
    } else if (option == "--to-preeti") {
        direction = app::ConvertDirection::kUnicodeToPreeti;
    } else {
        return Usage("unknown option");
    }

    app::TextConverter converter(direction);
    std::string in(64 * 1024, '\0');
    std::string out;
    size_t got = 0;
    while ((got = std::fread(in.data(), 1, in.size(), stdin)) > 0) {
        out.clear();
        converter.Feed(std::string_view(in).substr(0, got), out);
        if (!Write(out)) {
            std::fprintf(stderr, "kovelin-convert: cannot write the output\n");
            return kIoError;
        }
    }
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "kovelin-convert: cannot read the input\n");
        return kIoError;
    }
    out.clear();
    converter.Finish(out);
    if (!Write(out) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "kovelin-convert: cannot write the output\n");
        return kIoError;
    }

    const char* target =
        direction == app::ConvertDirection::kUnicodeToPreeti ? "Preeti" : "Unicode";
    for (const app::Unconvertible& u : converter.reported())
        std::fprintf(stderr,
                     "kovelin-convert: line %" PRIu64 ", column %" PRIu64 ": %s has no %s form\n",
                     u.line, u.column, u.what.c_str(), target);
    const uint64_t count = converter.unconvertible_count();
    if (count == 0) return kConverted;
    std::fprintf(stderr, "kovelin-convert: %" PRIu64 " character%s left out\n", count,
                 count == 1 ? "" : "s");
    return kSomeUnconvertible;
}
