// SPDX-License-Identifier: GPL-3.0-or-later
// The font object: face name, size in points, bold, italic, underline and
// strikethrough. Components and their inner windows share one object by
// reference, so a change made through either is seen by both.
#pragma once

#include <memory>
#include <string>

#include "platform/error.h"

namespace platform {

struct FontDesc {
    std::string name = "MS Sans Serif";
    float size = 8.25f;  // points; 96 pixels per inch
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

class Font {
  public:
    Font() = default;
    explicit Font(FontDesc desc) : desc_(std::move(desc)) {}

    const FontDesc& desc() const { return desc_; }
    const std::string& name() const { return desc_.name; }
    float size() const { return desc_.size; }
    bool bold() const { return desc_.bold; }
    bool italic() const { return desc_.italic; }
    bool underline() const { return desc_.underline; }
    bool strikethrough() const { return desc_.strikethrough; }

    // Fails, keeping the previous face, when the name resolves to no font
    // installed on the machine.
    Status set_name(const std::string& name);
    // Sizes are kept as given; a size of 0 or less is rejected.
    Status set_size(float points);
    void set_bold(bool v) { desc_.bold = v; }
    void set_italic(bool v) { desc_.italic = v; }
    void set_underline(bool v) { desc_.underline = v; }
    void set_strikethrough(bool v) { desc_.strikethrough = v; }

    // Pixel size at 96 dpi.
    float pixel_size() const { return desc_.size * 96.0f / 72.0f; }

  private:
    FontDesc desc_;
};

using FontRef = std::shared_ptr<Font>;

inline FontRef MakeFont(FontDesc desc = {}) {
    return std::make_shared<Font>(std::move(desc));
}

// Screen resolution used throughout.
constexpr int kPixelsPerInch = 96;
constexpr int kTwipsPerPixel = 15;

}  // namespace platform
