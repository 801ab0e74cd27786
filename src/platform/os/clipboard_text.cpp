// Clipboard text conversion on top of the Preeti converters.
#include "platform/os/clipboard_text.h"

#include <cstdint>

#include "platform/preeti/preeti.h"

namespace platform::os {
namespace {

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when the
// bytes there are not valid UTF-8 (they are then copied unchanged).
size_t DecodeUtf8(std::string_view text, size_t pos, uint32_t* code_point) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length;
    uint32_t value;
    if (lead < 0x80) {
        *code_point = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    *code_point = value;
    return length;
}

bool IsInvisible(uint32_t c) {
    return c == 0x200B || c == 0x200C || c == 0x200D || c == 0xFEFF || c == 0x00AD || c == 0x2060;
}

bool IsUnicodeSpace(uint32_t c) {
    return c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::string NormalizeForPreeti(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        uint32_t c = 0;
        const size_t length = DecodeUtf8(utf8, pos, &c);
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
