// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/classic_look.h"

#include <algorithm>

namespace platform::controls::classic {

void RaisedEdge(DC& dc, const Rect& r) {
    if (r.empty()) return;
    dc.FillRect(r, SystemColor(COLOR_BTNFACE));
    dc.FillRect({r.left, r.top, r.right, r.top + 1}, SystemColor(COLOR_3DLIGHT));
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom}, SystemColor(COLOR_3DLIGHT));
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, SystemColor(COLOR_3DDKSHADOW));
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, SystemColor(COLOR_3DDKSHADOW));
    Rect in = r.inflate(-1, -1);
    if (in.empty()) return;
    dc.FillRect({in.left, in.top, in.right - 1, in.top + 1}, SystemColor(COLOR_BTNHIGHLIGHT));
    dc.FillRect({in.left, in.top, in.left + 1, in.bottom - 1}, SystemColor(COLOR_BTNHIGHLIGHT));
    dc.FillRect({in.left, in.bottom - 1, in.right, in.bottom}, SystemColor(COLOR_BTNSHADOW));
    dc.FillRect({in.right - 1, in.top, in.right, in.bottom}, SystemColor(COLOR_BTNSHADOW));
}

void FlatPressed(DC& dc, const Rect& r) {
    if (r.empty()) return;
    dc.FillRect(r, SystemColor(COLOR_BTNFACE));
    dc.FrameRect(r, SystemColor(COLOR_BTNSHADOW));
}

Rect SunkenEdge(DC& dc, const Rect& r) {
    if (r.width() < 4 || r.height() < 4) return {};
    dc.FillRect({r.left, r.top, r.right, r.top + 1}, SystemColor(COLOR_BTNSHADOW));
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom}, SystemColor(COLOR_BTNSHADOW));
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, SystemColor(COLOR_BTNHIGHLIGHT));
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, SystemColor(COLOR_BTNHIGHLIGHT));
    Rect in = r.inflate(-1, -1);
    dc.FillRect({in.left, in.top, in.right, in.top + 1}, SystemColor(COLOR_3DDKSHADOW));
    dc.FillRect({in.left, in.top, in.left + 1, in.bottom}, SystemColor(COLOR_3DDKSHADOW));
    dc.FillRect({in.left, in.bottom - 1, in.right, in.bottom}, SystemColor(COLOR_3DLIGHT));
    dc.FillRect({in.right - 1, in.top, in.right, in.bottom}, SystemColor(COLOR_3DLIGHT));
    return in.inflate(-1, -1);
}

void Arrow(DC& dc, const Rect& r, ArrowDirection direction, Color color) {
    const int32_t side = std::min(r.width(), r.height());
    const int32_t depth = std::max(2, (side - 4) / 3);
    const int32_t cx = r.left + r.width() / 2;
    const int32_t cy = r.top + r.height() / 2;
    for (int32_t i = 0; i < depth; ++i) {
        // Row i counts from the point of the triangle and is 2i+1 long.
        switch (direction) {
            case ArrowDirection::kUp: {
                const int32_t y = cy - depth / 2 + i;
                dc.FillRect({cx - i, y, cx + i + 1, y + 1}, color);
                break;
            }
            case ArrowDirection::kDown: {
                const int32_t y = cy + (depth - 1) / 2 - i;
                dc.FillRect({cx - i, y, cx + i + 1, y + 1}, color);
                break;
            }
            case ArrowDirection::kLeft: {
                const int32_t x = cx - depth / 2 + i;
                dc.FillRect({x, cy - i, x + 1, cy + i + 1}, color);
                break;
            }
            case ArrowDirection::kRight: {
                const int32_t x = cx + (depth - 1) / 2 - i;
                dc.FillRect({x, cy - i, x + 1, cy + i + 1}, color);
                break;
            }
        }
    }
}

void Dither(DC& dc, const Rect& r, Color a, Color b) {
    if (r.empty()) return;
    dc.FillRect(r, a);
    const Color real = TranslateColor(b);
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left + ((r.left + y + 1) & 1); x < r.right; x += 2)
            dc.SetPixel(x, y, real);
}

}  // namespace platform::controls::classic
