#include "platform/device_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/surface.h"

namespace platform {

namespace {

std::optional<std::string> Env(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return std::nullopt;
    return std::string(v);
}

std::optional<double> ParsePositive(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) return std::nullopt;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(v) || v <= 0) return std::nullopt;
    return v;
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
    const std::optional<double> v = ParsePositive(text);
    if (!v) return std::nullopt;
    return WholeScale(*v);
}

int32_t ChooseDeviceScale(const ScaleSources& sources) {
    if (sources.forced) {
        if (auto s = ParseScale(*sources.forced)) return *s;
    }
    if (sources.xft_dpi) {
        if (auto dpi = ParsePositive(*sources.xft_dpi)) return WholeScale(*dpi / 96.0);
    }
    for (const auto& v : {sources.gdk_scale, sources.qt_scale_factor}) {
        if (!v) continue;
        if (auto s = ParseScale(*v)) return *s;
    }
    return 1;
}

}  // namespace platform
