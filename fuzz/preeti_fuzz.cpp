// Fuzz target: the Preeti converters in both directions.
//
// The bytes are read as Preeti text and as UTF-8. ToUnicode always gives
// valid UTF-8, as text and for drawing; FromUnicode either fails or gives
// bytes that are stable after one round: FromUnicode(ToUnicode(y)) == y once
// y came out of FromUnicode.
// Syllables cover Preeti text exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_util.h"
#include "platform/preeti/preeti.h"

namespace {

bool ValidUtf8(std::string_view s) {
    for (size_t k = 0; k < s.size();) {
        char32_t cp = 0;
        const size_t n = preeti::DecodeUtf8(s, k, &cp);
        if (n == 0) return false;
        k += n;
    }
    return true;
}

void RoundTrip(std::string_view preeti_bytes) {
    const std::string unicode = preeti::ToUnicode(preeti_bytes);
    fuzz::Check(ValidUtf8(unicode), "ToUnicode gives valid UTF-8");
    fuzz::Check(ValidUtf8(preeti::ToUnicode(preeti_bytes, preeti::UnicodeFor::kDrawing)),
                "ToUnicode for drawing gives valid UTF-8");
    const auto once = preeti::FromUnicode(unicode);
    if (!once) return;
    const auto twice = preeti::FromUnicode(preeti::ToUnicode(*once));
    fuzz::Check(twice.has_value() && *twice == *once, "the converters reach a fixed point");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RoundTrip(bytes);

    // As UTF-8 typed or pasted text.
    size_t bad = 0;
    if (const auto preeti_text = preeti::FromUnicode(bytes, &bad)) {
        RoundTrip(*preeti_text);
    } else {
        fuzz::Check(bad <= bytes.size(), "the bad offset lies in the input");
    }

    // Syllables cover the text exactly, each at least one byte long.
    for (size_t k = 0; k < bytes.size();) {
        const size_t end = preeti::SyllableEnd(bytes, k);
        fuzz::Check(end > k && end <= bytes.size(), "a syllable is a non-empty piece");
        k = end;
    }
    return 0;
}
