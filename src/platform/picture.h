// SPDX-License-Identifier: GPL-3.0-or-later
// Picture objects: a bitmap or an icon with its size in hundredths of a
// millimetre, as component properties and picture controls hand them round.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/surface.h"

namespace platform {

enum class PictureKind : int16_t { kNone = 0, kBitmap = 1, kIcon = 3 };

// Pixel sizes at 96 dpi to and from hundredths of a millimetre (HIMETRIC),
// rounded to nearest with halves to even.
int32_t PixelsToHimetric(int32_t pixels);
int32_t HimetricToPixels(int32_t himetric);

class Picture {
  public:
    Picture() = default;
    Picture(Surface pixels, PictureKind kind);

    PictureKind kind() const { return kind_; }
    const Surface& pixels() const { return pixels_; }
    Surface& pixels() { return pixels_; }
    // The size in program pixels: a picture realised at a device scale
    // (pixels().scale()) holds that many device pixels each way per pixel.
    int32_t width_px() const { return pixels_.width() / pixels_.scale(); }
    int32_t height_px() const { return pixels_.height() / pixels_.scale(); }
    int32_t width_himetric() const { return PixelsToHimetric(pixels_.width()); }
    int32_t height_himetric() const { return PixelsToHimetric(pixels_.height()); }

    // Icons carry transparency: true where the icon shows its pixel.
    bool has_mask() const { return !mask_.empty(); }
    bool opaque_at(int32_t x, int32_t y) const;
    void set_mask(std::vector<uint8_t> mask) { mask_ = std::move(mask); }

  private:
    Surface pixels_;
    PictureKind kind_ = PictureKind::kNone;
    std::vector<uint8_t> mask_;  // one byte a pixel, row-major; empty when opaque
};

using PictureRef = std::shared_ptr<Picture>;

// Loads a picture whatever the file's extension: the contents decide
// (BMP in all its depths and RLE, GIF, JPEG, PNG, ICO). ICO files give an
// icon, everything else a bitmap.
Result<PictureRef> LoadPicture(const std::string& path);
Result<PictureRef> LoadPictureFromMemory(const uint8_t* data, size_t size);

// The largest picture accepted, in pixels; a file claiming more is rejected
// before anything is allocated for it.
constexpr int64_t kMaxPicturePixels = int64_t{1} << 25;

// A complete 24-bit BMP file of the surface (for tests and clipboard-style
// hand-offs).
std::vector<uint8_t> EncodeBmp24(const Surface& pixels);

}  // namespace platform
