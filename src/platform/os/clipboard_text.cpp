// SPDX-License-Identifier: GPL-3.0-or-later
// Clipboard text conversion on top of the Preeti converters.
#include "platform/os/clipboard_text.h"

#include <cstdint>

#include "platform/preeti/preeti.h"

namespace platform::os {
namespace {

// Characters with nothing to show and no say in how Devanagari is written.
// The joiners ZWNJ and ZWJ are not among them: they keep a halant visible or
// make an eyelash ra, and the converter reads them.
bool IsInvisible(uint32_t c) {
    return c == 0x200B || c == 0xFEFF || c == 0x00AD || c == 0x2060;
}

bool IsUnicodeSpace(uint32_t c) {
    return c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::string NormalizeForPreeti(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t c = 0;
        const size_t length = preeti::DecodeUtf8(utf8, pos, &c);
        if (length == 0) {
            out += utf8[pos++];
            continue;
        }
        if (IsUnicodeSpace(c)) {
            out += ' ';
        } else if (!IsInvisible(c)) {
            out.append(utf8.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

}  // namespace

std::string ClipboardToProgramText(std::string_view utf8) {
    if (!preeti::HasDevanagari(utf8)) return preeti::Utf8ToCp1252(utf8).value_or(std::string());
    return preeti::FromUnicode(NormalizeForPreeti(utf8)).value_or(std::string());
}

std::string ProgramTextToClipboard(std::string_view bytes, bool preeti_face) {
    return preeti_face ? preeti::ToUnicode(bytes) : preeti::Cp1252ToUtf8(bytes);
}

}  // namespace platform::os
