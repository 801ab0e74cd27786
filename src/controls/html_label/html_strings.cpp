// SPDX-License-Identifier: GPL-3.0-or-later
// Byte-string helpers for the HTML label's parser.
#include "controls/html_label/html_strings.h"

#include <cmath>
#include <limits>

namespace html_label::detail {

size_t InStr(size_t start, std::string_view s, std::string_view what) {
    if (start < 1) start = 1;
    if (start > s.size()) return 0;
    size_t at = s.find(what, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    while (true) {
        size_t at = s.find(from, pos);
        if (at == std::string_view::npos) break;
        out.append(s.substr(pos, at - pos));
        out.append(to);
        pos = at + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

std::vector<std::string_view> SplitBlanks(std::string_view s) {
    std::vector<std::string_view> out;
    size_t pos = 0;
    while (true) {
        size_t at = s.find(' ', pos);
        if (at == std::string_view::npos) {
            out.push_back(s.substr(pos));
            return out;
        }
        out.push_back(s.substr(pos, at - pos));
        pos = at + 1;
    }
}

std::optional<double> ParseNumber(std::string_view s) {
    s = TrimBlanks(s);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    auto is_digit = [&](size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
    // Digits are accumulated by hand rather than with strtod so that the
    // user's locale (a decimal comma) cannot change what a document means.
    double mantissa = 0;
    int digits = 0;
    int exponent = 0;
    while (is_digit(i)) {
        mantissa = mantissa * 10 + (s[i] - '0');
        ++digits;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (is_digit(i)) {
            mantissa = mantissa * 10 + (s[i] - '0');
            --exponent;
            ++digits;
            ++i;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool exp_negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            exp_negative = s[i] == '-';
            ++i;
        }
        if (!is_digit(i)) return std::nullopt;
        int e = 0;
        while (is_digit(i)) {
            if (e < 100000) e = e * 10 + (s[i] - '0');
            ++i;
        }
        exponent += exp_negative ? -e : e;
    }
    if (i != s.size()) return std::nullopt;
    // Dividing by an exact power of ten keeps "2.5" exactly 2.5, which the
    // half-to-even rounding of the integer conversions depends on.
    double v =
        exponent < 0 ? mantissa / std::pow(10.0, -exponent) : mantissa * std::pow(10.0, exponent);
    if (!std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

double RoundHalfEven(double v) {
    double floor_v = std::floor(v);
    double diff = v - floor_v;
    if (diff > 0.5) return floor_v + 1;
    if (diff < 0.5) return floor_v;
    return std::fmod(floor_v, 2.0) == 0 ? floor_v : floor_v + 1;
}

namespace {

template <class T>
std::optional<T> ToInteger(std::string_view s) {
    std::optional<double> v = ParseNumber(s);
    if (!v) return std::nullopt;
    double r = RoundHalfEven(*v);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(r);
}

}  // namespace

std::optional<int16_t> ToInt16(std::string_view s) {
    return ToInteger<int16_t>(s);
}
std::optional<int32_t> ToInt32(std::string_view s) {
    return ToInteger<int32_t>(s);
}

std::optional<float> ToFloat(std::string_view s) {
    std::optional<double> v = ParseNumber(s);
    if (!v || std::fabs(*v) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*v);
}

}  // namespace html_label::detail
