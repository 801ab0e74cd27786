// SPDX-License-Identifier: GPL-3.0-or-later
// Byte-string helpers shared by the tokenizer and the attribute interpreter.
//
// The parser's rules are stated in 1-based character positions with "0 means
// not found", so the search helper keeps that convention and the algorithms
// read the same way as their description. Case folding touches ASCII letters
// only: Nepali text is Preeti bytes, and folding the upper half of the byte
// range would turn one glyph into another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace html_label::detail {

// 1-based position of the first `what` at or after position `start` in `s`,
// or 0. A start past the end finds nothing; a start below 1 counts as 1.
size_t InStr(size_t start, std::string_view s, std::string_view what);

std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);

// Removes leading and trailing blanks (character 32 only, not tabs).
std::string_view TrimBlanks(std::string_view s);

// Replaces every non-overlapping occurrence, scanning left to right.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Splits at every blank; n blanks give n + 1 pieces, empty ones included.
// The pieces are views into `s`.
std::vector<std::string_view> SplitBlanks(std::string_view s);

// A decimal number: blanks around it, an optional sign, digits with an
// optional fraction, an optional exponent. Anything else is not a number.
std::optional<double> ParseNumber(std::string_view s);

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double v);

// Numeric conversions of attribute values: empty when the value is not a
// number or the rounded result does not fit the type.
std::optional<int16_t> ToInt16(std::string_view s);
std::optional<int32_t> ToInt32(std::string_view s);
std::optional<float> ToFloat(std::string_view s);

}  // namespace html_label::detail
