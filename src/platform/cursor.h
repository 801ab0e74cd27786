// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse pointer shapes.
#pragma once

#include "platform/picture.h"

namespace platform {

enum class CursorShape { kArrow, kWait, kHand, kIBeam, kSizeAll, kSizeWE, kCross, kNo, kCustom };

struct Cursor {
    CursorShape shape = CursorShape::kArrow;
    PictureRef picture;  // for kCustom
    Point hotspot;

    friend bool operator==(const Cursor& a, const Cursor& b) {
        return a.shape == b.shape && a.picture == b.picture && a.hotspot == b.hotspot;
    }
};

}  // namespace platform
