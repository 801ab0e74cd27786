// Where things lie on the main window's skin, in program pixels from the
// window's top-left corner. The skin picture (drawn by kovelin-assets) and
// the window that places its hot spots and tab buttons on it share these.
#pragma once

#include <cstdint>

namespace lookup::skin {

struct Box {
    int32_t x, y, w, h;
};

inline constexpr int32_t kWidth = 600;
inline constexpr int32_t kHeight = 499;
// Rounded corners of the outline.
inline constexpr int32_t kCornerRadius = 12;

// The title strip and its hot spots.
inline constexpr int32_t kTitleHeight = 44;
inline constexpr Box kMover{272, 6, 255, 33};
inline constexpr Box kHelp{540, 4, 15, 16};
inline constexpr Box kMinimize{560, 2, 13, 16};
inline constexpr Box kExit{579, 4, 13, 16};

// The tab strip: four tab buttons, and the line that marks the one in front.
inline constexpr int32_t kTabCount = 4;
// A tab is tall enough for its caption to sit inside its focus rectangle.
inline constexpr Box Tab(int32_t k) {
    return Box{10 + k * 122, 46, 116, 31};
}
inline constexpr int32_t kTabMarkTop = 78;
inline constexpr int32_t kTabMarkHeight = 3;

// The panels' place.
inline constexpr Box kPanel{6, 82, 587, 411};

}  // namespace lookup::skin
