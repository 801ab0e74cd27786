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

ScaleChoice ChooseScale(const ScaleSources& sources) {
    std::optional<double> factor;
    if (sources.forced) factor = ParsePositive(*sources.forced);
    if (!factor && sources.xft_dpi) {
        if (auto dpi = ParsePositive(*sources.xft_dpi)) factor = *dpi / 96.0;
    }
    for (const auto& v : {sources.gdk_scale, sources.qt_scale_factor}) {
        if (factor) break;
        if (v) factor = ParsePositive(*v);
    }
    if (!factor) return {};
    ScaleChoice out;
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
