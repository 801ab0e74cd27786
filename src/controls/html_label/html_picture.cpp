#include "controls/html_label/html_picture.h"

#include <algorithm>

#include "controls/html_label/html_label.h"
#include "platform/region.h"

namespace html_label {

namespace {

int32_t Side(int32_t v) {
    return std::clamp(v, 0, platform::kMaxSurfaceSide);
}

}  // namespace

void HTMLPicture::EnsureSurface(const platform::DC& reference, int32_t width, int32_t height,
                                platform::Color back) {
    width = Side(width);
    height = Side(height);
    const platform::Rect had = surface_.program_bounds();
    const int64_t have = int64_t{had.width()} * had.height();
    const int64_t need = int64_t{width} * height;
    // A surface several times too large is given back rather than kept, and
    // one made for another device scale is made again.
    if (width > had.width() || height > had.height() || have > 4 * need + 65536 ||
        surface_.scale() != reference.scale()) {
        surface_ = reference.CreateCompatibleSurface(width, height, back);
    }
    width_ = width;
    height_ = height;
}

platform::DC HTMLPicture::Context() {
    return platform::DC(surface_, {0, 0}, platform::Region::FromRect({0, 0, width_, height_}));
}

void HTMLPicture::Resize(const platform::DC& reference, int32_t width, int32_t height,
                         platform::Color back) {
    width = Side(width);
    height = Side(height);
    if (width == width_ && height == height_) return;
    platform::Surface old = std::move(surface_);
    const int32_t old_width = width_;
    const int32_t old_height = height_;
    surface_ = reference.CreateCompatibleSurface(width, height, back);
    width_ = width;
    height_ = height;
    if (old.empty() || old_width <= 0 || old_height <= 0) return;
    platform::DC source(old);
    platform::DC target = Context();
    target.BitBlt(0, 0, std::min(width, old_width), std::min(height, old_height), source, 0, 0);
}

void HTMLPicture::Render(HTMLLabel& label, const platform::DC& reference, int32_t viewport_width,
                         int32_t viewport_height) {
    viewport_width = Side(viewport_width);
    viewport_height = Side(viewport_height);
    if (label.ElementCount() == 0) {
        EnsureSurface(reference, viewport_width, viewport_height, label.DocBackColor());
        platform::DC dc = Context();
        dc.FillRect({0, 0, width_, height_}, label.DocBackColor());
        return;
    }

    // The measuring pass draws nothing anyone sees: it runs on a picture of
    // the viewport's size only in name, measuring through a context on
    // whatever surface there is, so that a long document shown again does
    // not give its large surface back and take it again.
    if (surface_.empty())
        EnsureSurface(reference, viewport_width, viewport_height, label.DocBackColor());
    width_ = viewport_width;
    height_ = viewport_height;
    {
        platform::DC dc = Context();
        layout_.RenderDocument(
            label, false, {&dc, viewport_width, viewport_height, viewport_width, viewport_height});
    }
    EnsureSurface(reference, std::max(viewport_width, label.ContentWidth()),
                  std::max(viewport_height, label.ContentHeight()), label.DocBackColor());
    platform::DC dc = Context();
    layout_.RenderDocument(label, true, {&dc, width_, height_, viewport_width, viewport_height});
}

bool HTMLPicture::Paint(platform::DC& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
                        int32_t sy) {
    if (surface_.empty()) return false;
    // Only the picture's own area is copied.
    w = std::min(w, width_ - sx);
    h = std::min(h, height_ - sy);
    if (w <= 0 || h <= 0 || sx < 0 || sy < 0) return false;
    // The source context covers only the rectangle copied: a context's clip
    // holds a row for every line it covers, and the picture may be tall.
    platform::DC source(surface_, {0, 0}, platform::Region::FromRect({sx, sy, sx + w, sy + h}));
    return dest.BitBlt(x, y, w, h, source, sx, sy);
}

}  // namespace html_label
