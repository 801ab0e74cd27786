// Fuzz target: the settings file. The input is both the file a store finds
// (anything at all: damaged, hostile, huge lines) and the value saved into
// it. Invariants: reading never fails loudly; a value saved is read back
// exactly; saving the same value again leaves the file byte for byte as it
// was; the store writes only in its own folder; escaping round-trips.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_util.h"
#include "platform/os/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string escaped = platform::os::EscapeSettingText(bytes);
    const auto unescaped = platform::os::UnescapeSettingText(escaped);
    fuzz::Check(unescaped && *unescaped == bytes, "escaping round-trips");
    (void)platform::os::UnescapeSettingText(bytes);

    const std::string folder = fuzz::Scratch() + "/settings";
    fuzz::RemoveTree(folder);
    const platform::os::SettingsStore store(folder, 1 << 20);
    if (!store.MakeFolder()) return 0;
    const std::string file = store.FilePath("fz");
    fuzz::Check(fuzz::WriteWhole(file, bytes), "the scratch file is written");

    (void)store.Get("fz", "Search", "History", "fallback");
    // The first half of the input as a value, saved into whatever is there.
    const std::string_view value = bytes.substr(0, bytes.size() / 2);
    if (store.Save("fz", "Search", "History", value)) {
        fuzz::Check(store.Get("fz", "search", "HISTORY", "") == value, "a saved value reads back");
        const std::string first = fuzz::ReadWhole(file);
        fuzz::Check(store.Save("fz", "Search", "History", value).ok(), "saving again succeeds");
        fuzz::Check(fuzz::ReadWhole(file) == first, "a second save keeps the file byte for byte");
    }
    // Nothing but the settings file and what was moved aside next to it.
    for (const std::string& name : fuzz::ListFolder(fuzz::Scratch()))
        fuzz::Check(name == "settings", "the store writes only in its folder");
    return 0;
}
