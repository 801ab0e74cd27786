#include "platform/device_scale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/surface.h"

namespace platform {

namespace {

std::optional<std::string> Env(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return std::nullopt;
    return std::string(v);
}

// A plain decimal number: digits with at most one point among them, blanks
// around. Signs, exponents, hex and words such as "inf" are not scales.
std::optional<double> ParseDecimal(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    const size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    const std::string_view number(text.data() + begin, end - begin + 1);
    size_t digits = 0;
    size_t points = 0;
    for (const char c : number) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::fixed);
    if (ec != std::errc() || ptr != number.data() + number.size()) return std::nullopt;
    return value;
}

std::string Decimal(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", v);
    return text;
}

int32_t WholeScale(double v) {
    // A hair above a whole number (1.0000001 from a division) stays there.
    const double up = std::ceil(v - 1e-6);
    return static_cast<int32_t>(std::clamp(up, 1.0, static_cast<double>(kMaxDeviceScale)));
}

}  // namespace

ScaleSources ScaleSourcesFromEnvironment() {
    ScaleSources out;
    out.forced = Env("KOVELIN_SCALE");
    out.gdk_scale = Env("GDK_SCALE");
    out.qt_scale_factor = Env("QT_SCALE_FACTOR");
    return out;
}

std::optional<int32_t> ParseScale(const std::string& text) {
    const std::optional<double> v = ParseDecimal(text);
    if (!v || *v < kMinScaleFactor || *v > kMaxDeviceScale) return std::nullopt;
    return WholeScale(*v);
}

ScaleChoice ChooseScale(const ScaleSources& sources) {
    ScaleChoice out;
    const double max_factor =
        std::clamp(sources.max_factor, 1.0, static_cast<double>(kMaxDeviceScale));
    // A source's value as a factor, or nothing (with a line) when it is none.
    // Xft.dpi counts 96 dots an inch as 1.
    auto factor_of = [&](const char* name, const std::optional<std::string>& value,
                         double unit) -> std::optional<double> {
        if (!value) return std::nullopt;
        const std::optional<double> v = ParseDecimal(*value);
        if (v && *v / unit >= kMinScaleFactor && *v / unit <= max_factor) return *v / unit;
        out.ignored.push_back(
            std::string(name) + " " + *value + " is not " +
            (unit == 1 ? "a scale" : "a resolution") + " from " + Decimal(kMinScaleFactor * unit) +
            " to " + Decimal(max_factor * unit) +
            (max_factor < kMaxDeviceScale ? " (what the screen holds)" : "") + "; ignored");
        return std::nullopt;
    };
    std::optional<double> factor = factor_of("KOVELIN_SCALE", sources.forced, 1);
    if (!factor) factor = factor_of("Xft.dpi", sources.xft_dpi, 96);
    if (!factor) factor = factor_of("GDK_SCALE", sources.gdk_scale, 1);
    if (!factor) factor = factor_of("QT_SCALE_FACTOR", sources.qt_scale_factor, 1);
    if (!factor) return out;
    out.drawing = WholeScale(*factor);
    // A factor a hair from a whole one is that whole one.
    out.factor = std::clamp(*factor, 1.0, static_cast<double>(out.drawing));
    if (out.drawing - out.factor < 1e-6) out.factor = out.drawing;
    return out;
}

int32_t ChooseDeviceScale(const ScaleSources& sources) {
    return ChooseScale(sources).drawing;
}

}  // namespace platform
