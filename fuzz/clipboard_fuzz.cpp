// Fuzz target: clipboard text in both directions. Program bytes always go
// out as valid UTF-8, and Nepali text taken from the clipboard goes out and
// comes back in as the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_util.h"
#include "platform/os/clipboard_text.h"
#include "platform/preeti/preeti.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string in = platform::os::ClipboardToProgramText(bytes);
    for (bool preeti_face : {false, true}) {
        const std::string out = platform::os::ProgramTextToClipboard(bytes, preeti_face);
        for (size_t k = 0; k < out.size();) {
            char32_t cp = 0;
            const size_t n = preeti::DecodeUtf8(out, k, &cp);
            fuzz::Check(n > 0, "clipboard text is valid UTF-8");
            k += n;
        }
    }
    // Nepali pasted in copies out and pastes in again as the same bytes.
    // (Text without Devanagari is taken as Latin bytes, which a Preeti face
    // shows as other letters: no round trip there.)
    const std::string copied = platform::os::ProgramTextToClipboard(in, true);
    if (!in.empty() && preeti::HasDevanagari(bytes) && preeti::HasDevanagari(copied)) {
        fuzz::Check(platform::os::ClipboardToProgramText(copied) == in,
                    "Nepali text survives copying out and pasting in");
    }
    return 0;
}
