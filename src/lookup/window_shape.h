// The main window's outline: a mask picture whose mask-coloured pixels are
// cut away, turned into a window region.
#pragma once

#include <optional>
#include <string>

#include "platform/color.h"
#include "platform/region.h"

namespace lookup {

// Pixels of this colour in a mask picture lie outside the window.
inline constexpr platform::Color kMaskColor = platform::Rgb(255, 0, 255);

// The region of every pixel of the mask picture at `mask_path` that is not
// in the mask colour, in window pixels (one mask pixel a window pixel).
// nullopt when the file cannot be read as a picture or keeps no pixel at
// all: the window then stays rectangular rather than vanishing.
std::optional<platform::Region> TransparentForm(const std::string& mask_path);

}  // namespace lookup
