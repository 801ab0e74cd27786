// SPDX-License-Identifier: GPL-3.0-or-later
// Painting: invalidation, composing each top-level window into one frame,
// paint contexts, persistent drawing, and the classic window frame.
//
// A top-level window keeps one frame surface and a dirty region. Painting
// repaints every visible window that meets the dirty region, parents before
// children and lower siblings before higher ones, each clipped to what of it
// is visible (ancestors' client areas and all window regions on the way).
// That keeps overlapping siblings right without per-window clip lists.

#include <algorithm>

#include "platform/ws_internal.h"

namespace platform {

using namespace detail;

namespace detail {

Region VisibleRegionInTop(const Window& w, bool client_only) {
    Point o = WindowOriginInTop(w);
    Rect r = client_only ? ClientRectInWindow(w).offset(o)
                         : Rect::FromXYWH(o.x, o.y, w.rect.width(), w.rect.height());
    Region reg = Region::FromRect(r);
    if (w.region) reg = Region::Combine(reg, w.region->offset(o.x, o.y), RegionOp::kAnd);
    const Window* cur = &w;
    while (cur->is_child()) {
        const Window* parent = Find(cur->parent);
        if (!parent) return {};
        Point po = WindowOriginInTop(*parent);
        reg = reg.intersect(ClientRectInWindow(*parent).offset(po));
        if (parent->region)
            reg = Region::Combine(reg, parent->region->offset(po.x, po.y), RegionOp::kAnd);
        cur = parent;
    }
    return reg;
}

void InvalidateWindowArea(Window& top, const Region& area) {
    if (area.empty()) return;
    top.dirty = top.dirty.empty() ? area : Region::Combine(top.dirty, area, RegionOp::kOr);
}

namespace {

bool Showing(const Window& w) {
    const Window* cur = &w;
    while (cur) {
        if (!cur->visible_flag()) return false;
        if (!cur->is_child()) return !cur->minimised;
        cur = Find(cur->parent);
    }
    return false;
}

std::unique_ptr<DC> MakeDC(Window& w, bool client, const Region& clip) {
    Window* top = TopOf(&w);
    if (!top) return nullptr;
    Point origin = WindowOriginInTop(w);
    if (client) origin = origin + ClientRectInWindow(w).top_left();
    auto dc = std::make_unique<DC>(top->frame, origin, clip);
    return dc;
}

void PaintSubtree(HWND h, const Region& dirty) {
    Window* w = Find(h);
    if (!w || !w->visible_flag()) return;
    Region all = Region::Combine(VisibleRegionInTop(*w, false), dirty, RegionOp::kAnd);
    if (all.empty()) return;
    if (w->is_child()) {
        Rect in = NonClientInsets(*w);
        if (in.left || in.top || in.right || in.bottom) {
            auto dc = MakeDC(*w, false, all);
            DrawNonClient(*w, *dc);
        }
    }
    Region client = Region::Combine(VisibleRegionInTop(*w, true), dirty, RegionOp::kAnd);
    if (!client.empty()) {
        w->paint_clip = client;
        {
            auto dc = MakeDC(*w, true, client);
            dc->SetFont(FontDesc{});
            SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()));
        }
        if (Find(h)) SendMessage(h, WM_PAINT);
        if ((w = Find(h))) w->paint_clip.reset();
    }
    if (!(w = Find(h))) return;
    // By index, looking the parent up again each time: a child's painting
    // may create or destroy windows (at worst a child is painted twice).
    for (size_t i = 0;; ++i) {
        w = Find(h);
        if (!w || i >= w->children.size()) break;
        PaintSubtree(w->children[i], dirty);
    }
}

}  // namespace

void SizeFrame(Window& top) {
    const int32_t scale = S().device_scale;
    const Rect want{0, 0, top.rect.width(), top.rect.height()};
    if (top.frame.scale() == scale && top.frame.program_bounds() == want) return;
    if (top.frame.scale() != scale) {
        top.frame = Surface::AtScale(want.width(), want.height(), scale);
        top.dirty = Region::FromRect(want);
        return;
    }
    top.frame.resize(want.width() * scale, want.height() * scale);
}

void PaintTopLevel(Window& top) {
    HWND h = top.handle;
    Rect bounds{0, 0, top.rect.width(), top.rect.height()};
    SizeFrame(top);
    Region dirty = top.dirty.intersect(bounds);
    top.dirty = Region();
    if (top.region) dirty = Region::Combine(dirty, *top.region, RegionOp::kAnd);
    if (dirty.empty()) return;
    {
        DC dc(top.frame, {0, 0}, dirty);
        DrawNonClient(top, dc);
    }
    PaintSubtree(h, dirty);
    Window* again = Find(h);
    if (!again) return;
    again->present_pending = false;
    S().backend->Present(h, again->frame, dirty.bounds());
}

bool PaintPendingTopLevel() {
    State& s = S();
    std::vector<HWND> tops = s.top_levels;
    bool painted = false;
    for (HWND h : tops) {
        Window* w = Find(h);
        if (!w || !w->visible_flag() || w->minimised) continue;
        if (!w->dirty.empty()) {
            PaintTopLevel(*w);
            painted = true;
        } else if (w->present_pending) {
            w->present_pending = false;
            s.backend->Present(h, w->frame, Rect{0, 0, w->rect.width(), w->rect.height()});
        }
    }
    return painted;
}

}  // namespace detail

void SetDeviceScale(int32_t scale) {
    State& s = S();
    scale = std::clamp<int32_t>(scale, 1, kMaxDeviceScale);
    if (scale == s.device_scale) return;
    s.device_scale = scale;
    for (auto& [id, w] : s.windows) {
        if (w->persistent) {
            // The picture is kept, enlarged or reduced to the new scale.
            Surface fresh = Surface::AtScale(w->persistent->program_bounds().width(),
                                             w->persistent->program_bounds().height(), scale);
            DC dst(fresh);
            DC src(*w->persistent);
            dst.BitBlt(0, 0, fresh.program_bounds().width(), fresh.program_bounds().height(), src,
                       0, 0);
            *w->persistent = std::move(fresh);
        }
        if (!w->is_child()) SizeFrame(*w);
    }
}

int32_t DeviceScale() {
    return S().device_scale;
}

bool InvalidateRect(HWND hwnd, const Rect* rect, bool /*erase*/) {
    Window* w = Find(hwnd);
    if (!w) return false;
    Window* top = TopOf(w);
    if (!top || !Showing(*w)) return true;
    Region area = VisibleRegionInTop(*w, true);
    if (rect) {
        Point o = WindowOriginInTop(*w) + ClientRectInWindow(*w).top_left();
        area = area.intersect(rect->offset(o));
    }
    InvalidateWindowArea(*top, area);
    return true;
}

bool ValidateRect(HWND hwnd, const Rect* rect) {
    Window* w = Find(hwnd);
    if (!w) return false;
    Window* top = TopOf(w);
    if (!top || top->dirty.empty()) return true;
    Region area = VisibleRegionInTop(*w, true);
    if (rect) {
        Point o = WindowOriginInTop(*w) + ClientRectInWindow(*w).top_left();
        area = area.intersect(rect->offset(o));
    }
    top->dirty = Region::Combine(top->dirty, area, RegionOp::kDiff);
    return true;
}

bool UpdateWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return false;
    Window* top = TopOf(w);
    if (top && Showing(*top) && !top->dirty.empty()) PaintTopLevel(*top);
    return true;
}

std::unique_ptr<DC> BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = Find(hwnd);
    if (!w || !TopOf(w)) return nullptr;
    Region clip = w->paint_clip ? *w->paint_clip : VisibleRegionInTop(*w, true);
    auto dc = MakeDC(*w, true, clip);
    if (ps) {
        ps->rcPaint = dc->ClipBox();
        ps->fErase = false;
    }
    return dc;
}

void EndPaint(HWND /*hwnd*/, const PAINTSTRUCT* /*ps*/) {
}

std::unique_ptr<DC> GetDC(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    Window* top = TopOf(w);
    if (!top) return nullptr;
    top->present_pending = true;
    Region clip = Showing(*w) ? VisibleRegionInTop(*w, true) : Region();
    return MakeDC(*w, true, clip);
}

std::unique_ptr<DC> GetWindowDC(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    Window* top = TopOf(w);
    if (!top) return nullptr;
    top->present_pending = true;
    Region clip = Showing(*w) ? VisibleRegionInTop(*w, false) : Region();
    return MakeDC(*w, false, clip);
}

void SetPersistentDrawing(HWND hwnd, bool enabled) {
    Window* w = Find(hwnd);
    if (!w) return;
    if (!enabled) {
        w->persistent.reset();
    } else if (!w->persistent) {
        Rect c = ClientRectInWindow(*w);
        Color bg = w->cls ? w->cls->background : kNoBackground;
        w->persistent = std::make_unique<Surface>(
            Surface::AtScale(c.width(), c.height(), S().device_scale,
                             bg == kNoBackground ? 0xFFFFFF : TranslateColor(bg)));
    }
    InvalidateRect(hwnd, nullptr, true);
}

bool HasPersistentDrawing(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && w->persistent;
}

Surface* PersistentSurface(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->persistent.get() : nullptr;
}

std::unique_ptr<DC> PersistentDC(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || !w->persistent) return nullptr;
    Rect c = ClientRectInWindow(*w);
    const Rect had = w->persistent->program_bounds();
    if (had.width() != c.width() || had.height() != c.height()) {
        // Keep what was drawn when the window grew or shrank.
        Surface grown = Surface::AtScale(c.width(), c.height(), w->persistent->scale(), 0xFFFFFF);
        DC dst(grown);
        DC src(*w->persistent);
        dst.BitBlt(0, 0, had.width(), had.height(), src, 0, 0);
        *w->persistent = std::move(grown);
    }
    InvalidateRect(hwnd, nullptr, false);
    return std::make_unique<DC>(*w->persistent);
}

Surface RenderWindow(HWND hwnd, Color outside) {
    Window* w = Find(hwnd);
    if (!w) return {};
    Window* top = TopOf(w);
    top->dirty = Region::FromRect({0, 0, top->rect.width(), top->rect.height()});
    PaintTopLevel(*top);
    top = Find(GetAncestorTopLevel(hwnd));
    if (!top) return {};
    Surface out = top->frame;
    if (top->region) {
        const uint32_t fill = ArgbFromColor(outside);
        const int32_t scale = out.scale();
        for (int32_t y = 0; y < out.height(); ++y) {
            uint32_t* row = out.row(y);
            for (int32_t x = 0; x < out.width(); ++x)
                if (!top->region->contains(x / scale, y / scale)) row[x] = fill;
        }
    }
    return out;
}

Surface RenderScreen(Color desktop) {
    const int32_t scale = S().device_scale;
    Surface out = Surface::AtScale(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                   scale, desktop);
    for (HWND h : GetTopLevelWindows()) {
        Window* w = Find(h);
        if (!w || !w->visible_flag() || w->minimised) continue;
        const Surface frame = RenderWindow(h, desktop);
        w = Find(h);
        if (!w) continue;
        const Rect r{w->rect.left * scale, w->rect.top * scale, w->rect.right * scale,
                     w->rect.bottom * scale};
        for (int32_t y = 0; y < frame.height(); ++y) {
            const int32_t sy = r.top + y;
            if (sy < 0 || sy >= out.height()) continue;
            const uint32_t* from = frame.row(y);
            uint32_t* to = out.row(sy);
            for (int32_t x = 0; x < frame.width(); ++x) {
                const int32_t sx = r.left + x;
                if (sx < 0 || sx >= out.width()) continue;
                if (w->region && !w->region->contains(x / scale, y / scale)) continue;
                to[sx] = from[x];
            }
        }
    }
    return out;
}

// --- the classic frame ------------------------------------------------------------

namespace detail {

namespace {

void Edge(DC& dc, const Rect& r, Color top_left, Color bottom_right) {
    dc.FillRect({r.left, r.top, r.right - 1, r.top + 1}, top_left);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

}  // namespace

Rect CaptionButtonRect(const Window& w, int which) {
    Rect in = NonClientInsets(w);
    int32_t edge = in.left;
    int32_t caption = in.top - edge;
    int32_t bh = caption - 4;
    int32_t bw = bh + 2;
    int32_t right = w.rect.width() - edge - 2;
    int32_t left = right - bw;
    if (which == 1) {  // minimise, left of close
        right = left - 2;
        left = right - bw;
    }
    return {left, edge + 2, right, edge + 2 + bh};
}

void DrawNonClient(Window& w, DC& dc) {
    const int32_t width = w.rect.width();
    const int32_t height = w.rect.height();
    Rect r{0, 0, width, height};
    const uint32_t s = w.style;
    if ((s & WS_CAPTION) == WS_CAPTION || (s & (WS_DLGFRAME | WS_THICKFRAME))) {
        Edge(dc, r, SystemColor(COLOR_3DLIGHT), SystemColor(COLOR_3DDKSHADOW));
        r = r.inflate(-1, -1);
        Edge(dc, r, SystemColor(COLOR_BTNHIGHLIGHT), SystemColor(COLOR_BTNSHADOW));
        r = r.inflate(-1, -1);
        dc.FrameRect(r, SystemColor(COLOR_BTNFACE));
        r = r.inflate(-1, -1);
    } else if (s & WS_BORDER) {
        dc.FrameRect(r, SystemColor(COLOR_WINDOWFRAME));
        r = r.inflate(-1, -1);
    }
    if ((s & WS_CAPTION) == WS_CAPTION) {
        Rect in = NonClientInsets(w);
        Rect bar{r.left, r.top, r.right, in.top - 1};
        const bool active = S().active == w.handle;
        dc.FillRect(bar,
                    active ? SystemColor(COLOR_ACTIVECAPTION) : SystemColor(COLOR_INACTIVECAPTION));
        dc.FillRect({bar.left, bar.bottom, bar.right, bar.bottom + 1}, SystemColor(COLOR_BTNFACE));
        FontDesc f;
        f.name = "MS Sans Serif";
        f.size = (w.ex_style & WS_EX_TOOLWINDOW) ? 7.5f : 8.25f;
        f.bold = true;
        dc.SetFont(f);
        dc.SetBkMode(BkMode::kTransparent);
        dc.SetTextColor(active ? SystemColor(COLOR_CAPTIONTEXT)
                               : SystemColor(COLOR_INACTIVECAPTIONTEXT));
        Rect text{bar.left + 3, bar.top, bar.right - 40, bar.bottom};
        dc.DrawText(w.text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        auto button = [&](const Rect& b, int glyph) {
            dc.FillRect(b, SystemColor(COLOR_BTNFACE));
            Edge(dc, b, SystemColor(COLOR_BTNHIGHLIGHT), SystemColor(COLOR_3DDKSHADOW));
            Edge(dc, b.inflate(-1, -1), SystemColor(COLOR_BTNFACE), SystemColor(COLOR_BTNSHADOW));
            Color ink = SystemColor(COLOR_BTNTEXT);
            int32_t cx = b.left + b.width() / 2 - 1;
            int32_t cy = b.top + b.height() / 2 - 1;
            if (glyph == 0) {  // the close cross
                int32_t k = std::max(2, (b.height() - 6) / 2);
                for (int32_t i = -k; i <= k; ++i) {
                    dc.FillRect({cx + i, cy + i, cx + i + 2, cy + i + 1}, ink);
                    dc.FillRect({cx + i, cy - i, cx + i + 2, cy - i + 1}, ink);
                }
            } else {  // the minimise bar
                dc.FillRect({cx - 3, b.bottom - 5, cx + 3, b.bottom - 3}, ink);
            }
        };
        if (s & WS_SYSMENU) button(CaptionButtonRect(w, 0), 0);
        if ((s & WS_SYSMENU) && (s & WS_MINIMIZEBOX) && !(w.ex_style & WS_EX_TOOLWINDOW))
            button(CaptionButtonRect(w, 1), 1);
    }
    if (w.ex_style & WS_EX_CLIENTEDGE) {
        Edge(dc, r, SystemColor(COLOR_BTNSHADOW), SystemColor(COLOR_BTNHIGHLIGHT));
        r = r.inflate(-1, -1);
        Edge(dc, r, SystemColor(COLOR_3DDKSHADOW), SystemColor(COLOR_3DLIGHT));
        r = r.inflate(-1, -1);
    }
    if (w.ex_style & WS_EX_STATICEDGE) {
        Edge(dc, r, SystemColor(COLOR_BTNSHADOW), SystemColor(COLOR_BTNHIGHLIGHT));
    }
}

}  // namespace detail

}  // namespace platform
