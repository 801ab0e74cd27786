// Choosing the device scale: how many device pixels stand for one program
// pixel on this desktop.
//
// KOVELIN_SCALE forces a scale. Otherwise the desktop's settings are asked
// in order: the X resource Xft.dpi (96 dpi is scale 1), then GDK_SCALE, then
// QT_SCALE_FACTOR. Fractional scales are drawn at the next whole one (the
// desktop backend reduces the frames to the true factor, see ScaleChoice).
// A value is a decimal number ("2", "1.5"; no sign, exponent or hex) giving
// a factor from kMinScaleFactor up to what the screen holds; anything else
// is passed over with a line saying so, and the next source is asked.
// Factors below 1 draw at 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform {

struct ScaleSources {
    std::optional<std::string> forced;   // KOVELIN_SCALE
    std::optional<std::string> xft_dpi;  // the Xft.dpi resource
    std::optional<std::string> gdk_scale;
    std::optional<std::string> qt_scale_factor;
    // The largest factor at which the screen holds the program's windows
    // (the desktop backend works it out from the screen's size).
    double max_factor = kMaxDeviceScale;
};

inline constexpr double kMinScaleFactor = 0.5;

// The sources from the environment; xft_dpi is left for the desktop backend,
// which can read X resources.
ScaleSources ScaleSourcesFromEnvironment();

int32_t ChooseDeviceScale(const ScaleSources& sources);

// The desktop's scale twice over: the whole scale drawing is done at, and
// the true factor the desktop asks for (1.5 for Xft.dpi 144), which is never
// above the whole scale and equals it for whole scales. A backend that
// shows frames at the true factor reduces the drawn frames by
// factor / drawing.
struct ScaleChoice {
    int32_t drawing = 1;
    double factor = 1.0;
    // A line for each source passed over: its name, its value and why.
    std::vector<std::string> ignored;
};
ScaleChoice ChooseScale(const ScaleSources& sources);

// A scale value as text ("2", "1.5") rounded up to a whole scale, or
// nothing when it is not a decimal number from kMinScaleFactor to
// kMaxDeviceScale.
std::optional<int32_t> ParseScale(const std::string& text);

}  // namespace platform
