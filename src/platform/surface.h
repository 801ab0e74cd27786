// SPDX-License-Identifier: GPL-3.0-or-later
// A 32-bit pixel surface: the one thing every drawing operation writes into.
//
// Pixels are stored as 0xFFRRGGBB words (what SDL and PNG writers take
// directly); the accessors speak the program's 0x00BBGGRR colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/error.h"
#include "platform/geometry.h"

namespace platform {

constexpr uint32_t ArgbFromColor(Color c) {
    return 0xFF000000u | (static_cast<uint32_t>(RedOf(c)) << 16) |
           (static_cast<uint32_t>(GreenOf(c)) << 8) | BlueOf(c);
}
constexpr Color ColorFromArgb(uint32_t p) {
    return Rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
               static_cast<uint8_t>(p));
}

// The largest device scale a surface takes (device pixels per program pixel
// along each axis).
constexpr int32_t kMaxDeviceScale = 4;

// Neither side of a surface may exceed this; larger requests are clamped, so
// a corrupt size can never turn into a multi-gigabyte allocation.
constexpr int32_t kMaxSurfaceSide = 16384;

class Surface {
  public:
    Surface() = default;
    // Negative sizes give an empty surface; sizes are clamped to
    // kMaxSurfaceSide.
    Surface(int32_t width, int32_t height, Color fill = 0);
    // A surface of `width` x `height` program pixels realised at `scale`
    // device pixels per program pixel (clamped to 1..kMaxDeviceScale).
    static Surface AtScale(int32_t width, int32_t height, int32_t scale, Color fill = 0);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    Rect bounds() const { return {0, 0, width_, height_}; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    // Device pixels per program pixel. width(), height(), bounds(), row()
    // and pixel() speak device pixels; drawing contexts map program pixels
    // onto them.
    int32_t scale() const { return scale_; }
    void set_scale(int32_t scale);
    // The surface in program pixels.
    Rect program_bounds() const { return {0, 0, width_ / scale_, height_ / scale_}; }

    // Raw rows of 0xFFRRGGBB words; callers stay inside [0, width).
    uint32_t* row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* row(int32_t y) const {
        return pixels_.data() + static_cast<size_t>(y) * width_;
    }
    uint32_t* data() { return pixels_.data(); }
    const uint32_t* data() const { return pixels_.data(); }

    // Bounds-checked access in program colours; outside reads give 0.
    Color pixel(int32_t x, int32_t y) const;
    void set_pixel(int32_t x, int32_t y, Color c);

    void fill(Color c);
    // Keeps the pixels that still fit; new area takes `fill`.
    void resize(int32_t width, int32_t height, Color fill = 0);

    // PNG files, for the harness's shots and for golden-picture tests.
    Status WritePng(const std::string& path) const;
    static Result<Surface> ReadPng(const std::string& path);

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t scale_ = 1;
    std::vector<uint32_t> pixels_;
};

}  // namespace platform
