// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's skin (skin.bmp, 600 x 499) and its outline (mask.dat):
// a deep red title strip with the product name, the hot spots' icons, a
// light tab strip and a thin frame round the panels' place; the outline is
// a rectangle with rounded corners.
#include "assets.h"
#include "lookup/skin_layout.h"
#include "lookup/window_shape.h"
#include "platform/region.h"

namespace assets {

namespace skin = lookup::skin;
using platform::Region;
using platform::RegionOp;

namespace {

constexpr Color kTitleTop = Rgb(0x86, 0x24, 0x19);
constexpr Color kTitleBottom = Rgb(0x9E, 0x30, 0x21);
constexpr Color kTabTop = Rgb(0xFD, 0xF7, 0xEC);
constexpr Color kTabBottom = Rgb(0xF5, 0xE9, 0xD2);
constexpr Color kBody = Rgb(0xF3, 0xE6, 0xCD);
constexpr Color kEdge = Rgb(0x5E, 0x1A, 0x10);
constexpr Color kPanelFrame = Rgb(0xD6, 0xC0, 0x9A);
constexpr Color kTitleInk = Rgb(0xFF, 0xF3, 0xDE);
constexpr Color kTitleSoft = Rgb(0xEC, 0xC4, 0xA8);
constexpr Color kIconFace = Rgb(0xB0, 0x45, 0x33);
constexpr Color kCloseFace = Rgb(0xD9, 0x5A, 0x44);

Region Outline() {
    const int32_t d = 2 * skin::kCornerRadius;
    return Region::RoundRect(0, 0, skin::kWidth + 1, skin::kHeight + 1, d, d);
}

// The pixels of `r` with a neighbour outside it.
Region Edge(const Region& r) {
    Region inner = r;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        inner = Region::Combine(inner, r.offset(dx, dy), RegionOp::kAnd);
    return Region::Combine(r, inner, RegionOp::kDiff);
}

void Gradient(platform::DC& dc, int32_t top, int32_t bottom, Color from, Color to) {
    for (int32_t y = top; y < bottom; ++y)
        dc.FillRect({0, y, skin::kWidth, y + 1},
                    Mix(from, to, static_cast<double>(y - top) / std::max(1, bottom - top - 1)));
}

// A 14 x 14 rounded icon face centred in the hot spot's box, at one height
// for all three.
Rect IconFace(const skin::Box& b) {
    const int32_t x = b.x + (b.w - 14) / 2;
    return {x, 4, x + 14, 18};
}

void DrawIconFace(platform::DC& dc, const Rect& r, Color c) {
    dc.SetPen(platform::Pen{platform::PenStyle::kSolid, 1, c});
    dc.SetBrush(platform::Brush{false, c});
    dc.RoundRect(r, 6, 6);
}

platform::Surface DrawSkin(const Region& outline, int32_t scale) {
    platform::Surface picture = NewPicture(skin::kWidth, skin::kHeight, kBody, scale);
    platform::DC dc(picture);
    Gradient(dc, 0, skin::kTitleHeight, kTitleTop, kTitleBottom);
    Gradient(dc, skin::kTitleHeight, skin::kPanel.y, kTabTop, kTabBottom);
    dc.FillRect({0, skin::kTitleHeight, skin::kWidth, skin::kTitleHeight + 1},
                Rgb(0xE3, 0xA0, 0x6E));
    dc.FillRect({0, skin::kPanel.y, skin::kWidth, skin::kHeight}, kBody);

    // The emblem and the product name, with what it is beside it.
    FillDisc(picture, 27, 22, 14, Rgb(0xF7, 0xE1, 0xC4));
    FillDisc(picture, 27, 22, 11.5, kTitleBottom);
    FillDisc(picture, 27, 22, 10.5, Rgb(0xFB, 0xEE, 0xDA));
    DrawText(dc, Preeti("क"), "OrvSoft", 13, true, kDeepRed, {13, 9, 42, 36},
             platform::DT_CENTER | platform::DT_VCENTER);
    Rect name{50, 2, 150, 42};
    DrawText(dc, Preeti("कोभेलिन"), "OrvSoft", 19, true, kTitleInk, name,
             platform::DT_LEFT | platform::DT_VCENTER);
    Rect measured = name;
    platform::FontDesc font{"OrvSoft", 19};
    font.bold = true;
    dc.SetFont(font);
    dc.DrawText(Preeti("कोभेलिन"), measured, platform::DT_SINGLELINE | platform::DT_CALCRECT);
    DrawText(dc, Preeti("नेपाली शब्दकोश"), "OrvSoft", 11, false, kTitleSoft,
             {measured.right + 12, 6, 268, 40}, platform::DT_LEFT | platform::DT_VCENTER);

    // The hot spots' icons: help, minimise, close.
    const Rect help = IconFace(skin::kHelp);
    DrawIconFace(dc, help, kIconFace);
    DrawText(dc, "?", "Arial", 8.25f, true, kTitleInk, help,
             platform::DT_CENTER | platform::DT_VCENTER);
    const Rect minimise = IconFace(skin::kMinimize);
    DrawIconFace(dc, minimise, kIconFace);
    dc.FillRect({minimise.left + 4, minimise.top + 9, minimise.right - 4, minimise.top + 11},
                kTitleInk);
    const Rect close = IconFace(skin::kExit);
    DrawIconFace(dc, close, kCloseFace);
    // The cross: two strokes two pixels wide, set pixel by pixel at scale 1
    // and drawn smooth at the device resolution above it.
    if (scale == 1) {
        for (int32_t i = 0; i < 6; ++i) {
            const int32_t x = close.left + 4 + i;
            for (int32_t w = 0; w < 2; ++w) {
                dc.SetPixel(x + w, close.top + 4 + i, kTitleInk);
                dc.SetPixel(x + w, close.top + 9 - i, kTitleInk);
            }
        }
    } else {
        const double l = close.left + 5;
        const double t = close.top + 4.5;
        FillStroke(picture, l, t, l + 5, t + 5, 1.7, kTitleInk);
        FillStroke(picture, l, t + 5, l + 5, t, 1.7, kTitleInk);
    }

    // A soft frame round the panels' place, and the strip under the tabs.
    const skin::Box p = skin::kPanel;
    dc.FrameRect({p.x - 1, p.y - 1, p.x + p.w + 1, p.y + p.h + 1}, kPanelFrame);
    dc.FillRect({p.x - 1, p.y - 2, p.x + p.w + 1, p.y - 1}, Rgb(0xE8, 0xD6, 0xB6));

    // The outline's own edge is a dark line, and outside it (cut away by
    // mask.dat) the same colour, so enlarging the skin smoothly on a dense
    // screen blends nothing else into the edge.
    const Region outside = Region::Combine(Region::FromRect({0, 0, skin::kWidth, skin::kHeight}),
                                           outline, RegionOp::kDiff);
    dc.FillRegion(outside, kEdge);
    dc.FillRegion(Edge(outline), kEdge);
    return picture;
}

platform::Surface DrawMask(const Region& outline) {
    platform::Surface picture = NewPicture(skin::kWidth, skin::kHeight, lookup::kMaskColor);
    platform::DC dc(picture);
    dc.FillRegion(outline, Rgb(0, 0, 0));
    return picture;
}

}  // namespace

bool WriteSkin(Output& out) {
    const Region outline = Outline().intersect({0, 0, skin::kWidth, skin::kHeight});
    bool ok = out.Artwork("skin.bmp", [&](int32_t scale) { return DrawSkin(outline, scale); });
    // The outline is in program pixels at every scale.
    ok &= out.Bmp("mask.dat", DrawMask(outline));
    return ok;
}

}  // namespace assets
