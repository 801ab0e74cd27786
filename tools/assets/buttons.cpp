// SPDX-License-Identifier: GPL-3.0-or-later
// The button demo's 20 x 20 pictures: a book (btnbook.bmp), its highlighted
// twin (btnbook_over.bmp) and a star (btnstar.bmp), on the buttons' default
// mask colour, light grey, which the buttons leave transparent.
#include <cmath>
#include <numbers>
#include <vector>

#include "assets.h"
#include "platform/picture.h"

namespace assets {
namespace {

constexpr int32_t kButtonPicture = 20;
constexpr Color kButtonMask = Rgb(0xC0, 0xC0, 0xC0);

// A closed book seen from the front: cover, darker spine, a gold label and
// the page edges below.
platform::Surface DrawBook(Color cover) {
    platform::Surface surface = NewPicture(kButtonPicture, kButtonPicture, kButtonMask);
    platform::DC dc(surface);
    const Color dark =
        Rgb(platform::RedOf(cover) / 2, platform::GreenOf(cover) / 2, platform::BlueOf(cover) / 2);
    dc.FillRect({5, 15, 17, 18}, Rgb(0xF4, 0xEE, 0xDC));
    dc.FillRect({5, 16, 17, 17}, Rgb(0xC8, 0xBE, 0xA8));
    dc.FrameRect({4, 14, 18, 19}, dark);
    dc.FillRect({4, 1, 17, 16}, cover);
    dc.FrameRect({4, 1, 17, 16}, dark);
    dc.FillRect({3, 1, 6, 19}, dark);
    dc.FillRect({8, 4, 15, 7}, Rgb(0xE8, 0xC0, 0x50));
    dc.FillRect({9, 9, 14, 10}, Rgb(0xE8, 0xC0, 0x50));
    return surface;
}

// A five-pointed star with a dark outline.
platform::Surface DrawStar() {
    platform::Surface surface = NewPicture(kButtonPicture, kButtonPicture, kButtonMask);
    platform::DC dc(surface);
    std::vector<platform::Point> points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? 9.4 : 4.0;
        points.push_back({static_cast<int32_t>(std::lround(10 + r * std::cos(angle))),
                          static_cast<int32_t>(std::lround(10.5 + r * std::sin(angle)))});
    }
    dc.SetPen({platform::PenStyle::kSolid, 1, Rgb(0x9A, 0x5A, 0x00)});
    dc.SetBrush({false, Rgb(0xF5, 0xC5, 0x18)});
    dc.Polygon(points);
    return surface;
}

}  // namespace

bool WriteButtonPictures(Output& out) {
    bool ok = true;
    ok &= out.Bmp("btnbook.bmp", DrawBook(Rgb(0x2B, 0x4C, 0x8C)));
    ok &= out.Bmp("btnbook_over.bmp", DrawBook(Rgb(0xC0, 0x39, 0x2B)));
    ok &= out.Bmp("btnstar.bmp", DrawStar());
    return ok;
}

}  // namespace assets
