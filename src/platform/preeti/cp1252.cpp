// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 <-> UTF-8, plus the UTF-8 decoder the converters share.
// Latin faces and the clipboard use these; the Preeti converters reuse the
// code page for bytes that carry no Devanagari meaning.
#include "platform/preeti/internal.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace internal {

int Cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace internal

size_t DecodeUtf8(std::string_view text, size_t pos, char32_t* cp) {
    const size_t left = text.size() - pos;
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[pos + i]); };
    const uint8_t lead = byte(0);
    if (lead < 0x80) {
        *cp = lead;
        return 1;
    }
    size_t len = 0;
    char32_t value = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2, value = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3, value = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4, value = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return len;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) internal::AppendUtf8(out, internal::Cp1252Char(static_cast<uint8_t>(c)));
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8, bool strict) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        size_t len = internal::DecodeUtf8(utf8, pos, &cp);
        int byte = -1;
        if (len == 0) {
            // One '?' per bad byte keeps the damage visible without
            // swallowing the good text that follows.
            len = 1;
        } else {
            byte = internal::Cp1252Byte(cp);
        }
        if (byte < 0) {
            if (strict) return std::nullopt;
            byte = '?';
        }
        out.push_back(static_cast<char>(byte));
        pos += len;
    }
    return out;
}

bool HasDevanagari(std::string_view utf8) {
    // U+0900..U+097F is E0 A4 80..E0 A5 BF in UTF-8, and E0 is never a
    // continuation byte, so a byte scan cannot be fooled by other text.
    for (size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto b0 = static_cast<uint8_t>(utf8[i]);
        const auto b1 = static_cast<uint8_t>(utf8[i + 1]);
        const auto b2 = static_cast<uint8_t>(utf8[i + 2]);
        if (b0 == 0xE0 && (b1 == 0xA4 || b1 == 0xA5) && (b2 & 0xC0) == 0x80) return true;
    }
    return false;
}

}  // namespace preeti
