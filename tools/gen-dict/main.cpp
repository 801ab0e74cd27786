// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-gen-dict: writes a large synthetic dictionary table.
//
//   kovelin-gen-dict ENTRIES OUTPUT.tsv [SEED]
//
// For benchmarks and tests only: the words mean nothing. Pack the table
// with kovelin-pack to get an archive the program can load.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/synthetic_dictionary.h"
#include "platform/os/files.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: kovelin-gen-dict ENTRIES OUTPUT.tsv [SEED]\n");
        return 2;
    }
    char* end = nullptr;
    const long entries = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || entries < 0 || entries > 5'000'000) {
        std::fprintf(stderr, "kovelin-gen-dict: ENTRIES must be a number from 0 to 5000000\n");
        return 2;
    }
    const unsigned long seed = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 1;
    const std::string table =
        app::SyntheticTable(static_cast<int32_t>(entries), static_cast<uint32_t>(seed));
    const platform::Status written = platform::os::WriteFileAtomic(argv[2], table, 0644);
    if (!written) {
        std::fprintf(stderr, "kovelin-gen-dict: %s\n", written.error().message.c_str());
        return 1;
    }
    return 0;
}
