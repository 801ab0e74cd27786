// Fuzz target: the dictionary archive. The input is the archive file; it is
// opened, keyed and extracted into a folder of its own. Invariants: nothing
// is written outside that folder, a failed extraction leaves no data file
// and no staging file behind, and a successful one leaves exactly the two
// data files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/archive.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string scratch = fuzz::Scratch();
    const std::string path = scratch + "/load.dll";
    const std::string out = scratch + "/out";
    fuzz::RemoveTree(out);
    fuzz::Check(mkdir(out.c_str(), 0700) == 0, "the output folder is made");
    fuzz::Check(fuzz::WriteWhole(path, bytes), "the archive is written");

    (void)app::archive::ContentKey(path);
    const auto result =
        app::archive::ExtractDictionary(path, app::archive::kPassword, out, 1 << 22);
    const auto names = fuzz::ListFolder(out);
    if (result.ok()) {
        fuzz::Check(names.size() == 2, "a good archive gives the two data files");
    } else {
        fuzz::Check(names.empty(), "a failed extraction leaves nothing behind");
        fuzz::Check(!result.message.empty(), "a failure says why");
    }
    for (const std::string& name : fuzz::ListFolder(scratch))
        fuzz::Check(name == "out" || name == "load.dll", "nothing is written beside the folder");
    return 0;
}
