// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/picture_box.h"

#include <cmath>

namespace platform::controls {

namespace {
constexpr const char* kPictureClass = "KovelinPictureBox";
}  // namespace

PictureBox::PictureBox(HWND parent, std::string name, const Rect& r) {
    EnsureClass(kPictureClass, CS_DBLCLKS, kNoBackground);
    Create(parent, kPictureClass, name, r, WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

float PictureBox::ToPixels(float v) const {
    return scale_mode_ == ScaleMode::kTwips ? v / kTwipsPerPixel : v;
}

float PictureBox::FromPixels(float px) const {
    return scale_mode_ == ScaleMode::kTwips ? px * kTwipsPerPixel : px;
}

float PictureBox::scale_width() const {
    return FromPixels(static_cast<float>(GetClientRect(hwnd_).width()));
}

float PictureBox::scale_height() const {
    return FromPixels(static_cast<float>(GetClientRect(hwnd_).height()));
}

void PictureBox::set_scale_mode(ScaleMode m) {
    if (m == scale_mode_) return;
    const float x = ToPixels(current_x_);
    const float y = ToPixels(current_y_);
    scale_mode_ = m;
    current_x_ = FromPixels(x);
    current_y_ = FromPixels(y);
}

void PictureBox::PaintBackground(DC& dc) const {
    dc.FillRect(GetClientRect(hwnd_), EffectiveBackColor());
    if (picture_) dc.DrawPicture(*picture_, 0, 0);
}

void PictureBox::Cls() {
    current_x_ = 0;
    current_y_ = 0;
    if (auto dc = PersistentDC(hwnd_)) {
        PaintBackground(*dc);
    } else {
        // Without a persistent image, whatever was drawn lives only on the
        // screen, and a repaint clears it.
        InvalidateRect(hwnd_);
    }
}

void PictureBox::set_auto_redraw(bool on) {
    if (on == auto_redraw()) return;
    SetPersistentDrawing(hwnd_, on);
    if (auto dc = PersistentDC(hwnd_)) PaintBackground(*dc);
}

std::unique_ptr<DC> PictureBox::drawing_dc() {
    if (auto dc = PersistentDC(hwnd_)) return dc;
    return GetDC(hwnd_);
}

float PictureBox::TextWidth(std::string_view text) const {
    Surface scratch(1, 1);
    DC dc(scratch);
    dc.SetFont(font_->desc());
    return FromPixels(dc.GetTextExtent(text).width);
}

float PictureBox::TextHeight(std::string_view /*text*/) const {
    Surface scratch(1, 1);
    DC dc(scratch);
    dc.SetFont(font_->desc());
    return FromPixels(dc.GetTextMetrics().height);
}

void PictureBox::Print(std::string_view text) {
    auto dc = drawing_dc();
    if (!dc) return;
    dc->SetFont(font_->desc());
    dc->SetBkMode(BkMode::kTransparent);
    dc->SetTextColor(EffectiveForeColor());
    dc->TextOut(ToPixels(current_x_), ToPixels(current_y_), text);
    current_x_ += FromPixels(dc->GetTextExtent(text).width);
}

void PictureBox::PrintLine(std::string_view text) {
    if (!text.empty()) Print(text);
    current_x_ = 0;
    current_y_ += TextHeight();
}

Status PictureBox::LoadPicture(const std::string& path) {
    auto loaded = ::platform::LoadPicture(path);
    if (!loaded) return loaded.error();
    set_picture(std::move(loaded.value()));
    return {};
}

void PictureBox::set_picture(PictureRef p) {
    picture_ = std::move(p);
    if (auto_size_) FitToPicture();
    // The picture is the persistent image's background: setting it starts
    // the image afresh, as clearing does.
    if (auto dc = PersistentDC(hwnd_)) PaintBackground(*dc);
    InvalidateRect(hwnd_);
}

void PictureBox::set_auto_size(bool on) {
    auto_size_ = on;
    if (on) FitToPicture();
}

void PictureBox::FitToPicture() {
    if (!picture_) return;
    Rect outer = GetWindowRect(hwnd_);
    Rect client = GetClientRect(hwnd_);
    SetWindowPos(hwnd_, {}, 0, 0, picture_->width_px() + outer.width() - client.width(),
                 picture_->height_px() + outer.height() - client.height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::set_border_style(ControlBorder b) {
    if (b == border_) return;
    border_ = b;
    uint32_t ex = static_cast<uint32_t>(GetWindowLongPtr(hwnd_, GWL_EXSTYLE));
    ex = b == ControlBorder::kFixedSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
    SetWindowLongPtr(hwnd_, GWL_EXSTYLE, static_cast<intptr_t>(ex));
    // The client area changed size with the frame.
    KeepPersistentSize();
    if (auto_size_) FitToPicture();
    InvalidateRect(hwnd_);
}

void PictureBox::KeepPersistentSize() {
    Surface* s = PersistentSurface(hwnd_);
    if (!s) return;
    Rect c = GetClientRect(hwnd_);
    const Rect had = s->program_bounds();
    if (had.width() == c.width() && had.height() == c.height()) return;
    // New area shows the back colour, not whatever the window system would
    // fill it with; what was drawn stays where it was.
    DC src(*s);
    Surface grown = src.CreateCompatibleSurface(c.width(), c.height(), EffectiveBackColor());
    DC dst(grown);
    dst.BitBlt(0, 0, had.width(), had.height(), src, 0, 0);
    *s = std::move(grown);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: {
            DC* dc = reinterpret_cast<DC*>(wp);
            if (dc && !HasPersistentDrawing(hwnd_))
                dc->FillRect(GetClientRect(hwnd_), EffectiveBackColor());
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(hwnd_, &ps);
            if (dc) {
                if (Surface* s = PersistentSurface(hwnd_)) {
                    DC src(*s);
                    const Rect had = s->program_bounds();
                    dc->BitBlt(0, 0, had.width(), had.height(), src, 0, 0);
                } else if (picture_) {
                    dc->DrawPicture(*picture_, 0, 0);
                }
            }
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_SIZE:
            KeepPersistentSize();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
            // Like the platform's picture boxes, a click focuses the box, so
            // its key events follow the mouse.
            if (GetWindowLongPtr(hwnd_, GWL_STYLE) & WS_TABSTOP) ::platform::SetFocus(hwnd_);
            return Control::HandleMessage(msg, wp, lp);
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void PictureBox::ReportState(Json& out) const {
    if (picture_) {
        out.Set("picture",
                Json(Json::Array{Json(picture_->width_px()), Json(picture_->height_px())}));
    } else {
        out.Set("picture", Json());
    }
    out.Set("current_x", Json(static_cast<double>(current_x_)));
    out.Set("current_y", Json(static_cast<double>(current_y_)));
}

}  // namespace platform::controls
