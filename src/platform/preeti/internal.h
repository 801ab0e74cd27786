// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the Preeti converters: the Windows-1252 code page
// and UTF-8 encoding and decoding. Kept out of the public header because
// callers only ever need the whole-string conversions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/preeti/preeti.h"

namespace preeti::internal {

// Windows-1252 byte -> Unicode. The five bytes the code page leaves
// undefined (81 8D 8F 90 9D) map to the C1 control with the same number, so
// that every byte survives a trip to UTF-8 and back.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t Cp1252Char(uint8_t byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char16_t{byte};
}

// Unicode -> Windows-1252 byte, or -1 when the code page has no such
// character.
int Cp1252Byte(char32_t cp);

// Whether the byte `?` at `at` in Preeti text reads, as text, as a
// question mark rather than रु: it ends its word (what follows is no letter
// or sign, nor a digit or full stop, as in रु१००), and the word before it is
// empty or none that ends in रु.
bool ReadsAsQuestionMark(std::string_view text, size_t at);

using preeti::AppendUtf8;

// The strict decoder of preeti.h.
using ::preeti::DecodeUtf8;

}  // namespace preeti::internal
