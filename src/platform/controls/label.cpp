// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/label.h"

#include <cmath>

namespace platform::controls {

namespace {
constexpr const char* kLabelClass = "KovelinLabel";

// Width and height the window's frame adds around the client area.
Size FrameExtra(HWND h) {
    Rect outer = GetWindowRect(h);
    Rect client = GetClientRect(h);
    return {outer.width() - client.width(), outer.height() - client.height()};
}
}  // namespace

Label::Label(HWND parent, std::string name, const Rect& r, std::string caption)
    : caption_(std::move(caption)) {
    // No class background: erasing is the label's own decision, so a
    // transparent label leaves the parent's pixels alone.
    EnsureClass(kLabelClass, CS_DBLCLKS, kNoBackground);
    Create(parent, kLabelClass, name, r, WS_VISIBLE, 0, caption_);
}

void Label::set_caption(std::string c) {
    if (c == caption_) return;
    caption_ = std::move(c);
    SetWindowText(hwnd_, caption_);
    Changed();
}

void Label::set_font(FontRef f) {
    Control::set_font(std::move(f));
    Changed();
}

void Label::set_alignment(Alignment a) {
    alignment_ = a;
    InvalidateRect(hwnd_);
}

void Label::set_back_style(BackStyle s) {
    back_style_ = s;
    InvalidateRect(hwnd_);
}

void Label::set_border_style(ControlBorder b) {
    if (b == border_) return;
    border_ = b;
    uint32_t ex = static_cast<uint32_t>(GetWindowLongPtr(hwnd_, GWL_EXSTYLE));
    ex = b == ControlBorder::kFixedSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
    SetWindowLongPtr(hwnd_, GWL_EXSTYLE, static_cast<intptr_t>(ex));
    Changed();
}

void Label::set_word_wrap(bool on) {
    word_wrap_ = on;
    Changed();
}

void Label::set_auto_size(bool on) {
    auto_size_ = on;
    Changed();
}

void Label::Changed() {
    if (auto_size_) FitToText();
    InvalidateRect(hwnd_);
}

uint32_t Label::TextFormat() const {
    // Captions hold Preeti bytes, where '&' is an ordinary character, so no
    // access-key prefixes.
    uint32_t f = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    switch (alignment_) {
        case Alignment::kRight:
            return f | DT_RIGHT;
        case Alignment::kCenter:
            return f | DT_CENTER;
        case Alignment::kLeft:
        default:
            return f | DT_LEFT;
    }
}

void Label::FitToText() {
    Surface scratch(1, 1);
    DC dc(scratch);
    dc.SetFont(font_->desc());
    Rect client = GetClientRect(hwnd_);
    Rect r{0, 0, word_wrap_ ? std::max(client.width(), 1) : 1 << 20, 0};
    if (caption_.empty()) {
        // An empty caption still takes one line, so an auto-sized label
        // never collapses to nothing.
        r.bottom = static_cast<int32_t>(std::ceil(dc.GetTextMetrics().height));
        r.right = word_wrap_ ? r.right : 0;
    } else {
        dc.DrawText(caption_, r, TextFormat() | DT_CALCRECT);
    }
    Size extra = FrameExtra(hwnd_);
    Rect b = bounds();
    int32_t width = word_wrap_ ? b.width() : r.width() + extra.cx;
    SetWindowPos(hwnd_, {}, 0, 0, width, r.height() + extra.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::Paint() {
    PAINTSTRUCT ps;
    auto dc = BeginPaint(hwnd_, &ps);
    if (dc && !caption_.empty()) {
        dc->SetFont(font_->desc());
        dc->SetBkMode(BkMode::kTransparent);
        Rect r = GetClientRect(hwnd_);
        if (enabled()) {
            dc->SetTextColor(EffectiveForeColor());
            dc->DrawText(caption_, r, TextFormat());
        } else {
            // Disabled text is embossed: a highlight copy one pixel down and
            // right, the grey text on top.
            Rect shadow = r.offset(1, 1);
            dc->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
            dc->DrawText(caption_, shadow, TextFormat());
            dc->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
            dc->DrawText(caption_, r, TextFormat());
        }
    }
    EndPaint(hwnd_, &ps);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: {
            DC* dc = reinterpret_cast<DC*>(wp);
            if (dc && back_style_ == BackStyle::kOpaque)
                dc->FillRect(GetClientRect(hwnd_), EffectiveBackColor());
            return 1;
        }
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd_);
            return 0;
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void Label::ReportState(Json& out) const {
    out.Set("caption", caption_);
}

}  // namespace platform::controls
