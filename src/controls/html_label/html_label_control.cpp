#include "controls/html_label/html_label_control.h"

#include <algorithm>

#include "platform/controls/tooltip.h"
#include "platform/dc.h"
#include "platform/window.h"

namespace html_label {

using namespace platform;
using namespace platform::controls;

namespace {

constexpr const char* kViewPortClass = "HTMLLabelViewPort";
constexpr int32_t kMaxScroll = 32767;
constexpr int32_t kClickDelayMs = 100;

}  // namespace

// The viewport: paints a copy of the picture at the scroll position and
// nothing else.
class HTMLLabelControl::ViewPort : public Control {
  public:
    ViewPort(HTMLLabelControl& owner, HWND parent) : owner_(owner) {
        EnsureClass(kViewPortClass, CS_DBLCLKS, kNoBackground);
        Create(parent, kViewPortClass, "picViewPort", {0, 0, 0, 0}, WS_VISIBLE | WS_TABSTOP);
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                if (auto dc = BeginPaint(hwnd_, &ps)) owner_.PaintViewport(*dc);
                EndPaint(hwnd_, &ps);
                return 0;
            }
            case WM_SETCURSOR:
                // The custom pointer over links is the platform's hand.
                if (mouse_pointer() == kPointerCustom) {
                    SetCursor(Cursor{CursorShape::kHand, {}, {}});
                    return 1;
                }
                return Control::HandleMessage(msg, wp, lp);
            default:
                return Control::HandleMessage(msg, wp, lp);
        }
    }

  private:
    HTMLLabelControl& owner_;
};

HTMLLabelControl::HTMLLabelControl(HWND parent, ComponentHost& host, const std::string& name,
                                   const Rect& bounds)
    : host_(host), label_(&host, this) {
    EnsureClass(kHTMLLabelClass, CS_DBLCLKS, kNoBackground);
    Create(parent, kHTMLLabelClass, name, bounds, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    back_color_ = label_.BackColor();

    viewport_ = std::make_unique<ViewPort>(*this, hwnd_);
    vertical_ = std::make_unique<ScrollBar>(hwnd_, "vscScroll", Rect{0, 0, 0, 0},
                                            ScrollOrientation::kVertical);
    horizontal_ = std::make_unique<ScrollBar>(hwnd_, "hscScroll", Rect{0, 0, 0, 0},
                                              ScrollOrientation::kHorizontal);
    for (ScrollBar* bar : {vertical_.get(), horizontal_.get()}) {
        (void)bar->set_max(0);
        bar->set_visible(false);
        bar->on_change = [this] { ScrollChanged(); };
        bar->on_scroll = [this] { ScrollChanged(); };
    }
    click_timer_ = std::make_unique<Timer>(hwnd_, "tmrHyperlinkClick");
    click_timer_->set_enabled(false);
    (void)click_timer_->set_interval(kClickDelayMs);
    click_timer_->on_timer = [this] { ClickTimerTick(); };
    viewport_->on_mouse_move = [this](MouseEventArgs& a) { PointerMoved(a.x, a.y); };
    viewport_->on_mouse_down = [this](MouseEventArgs&) { viewport_->SetFocus(); };
    viewport_->on_mouse_up = [this](MouseEventArgs& a) { PointerReleased(a.x, a.y); };
    viewport_->on_key_down = [this](int16_t& key, int16_t shift) { KeyDown(key, shift); };
    Resize();
}

HTMLLabelControl::~HTMLLabelControl() {
    // The parts go before the component's own window.
    label_.SetView(nullptr);
    click_timer_.reset();
    horizontal_.reset();
    vertical_.reset();
    viewport_.reset();
}

Control& HTMLLabelControl::viewport() {
    return *viewport_;
}

bool HTMLLabelControl::UserMode() const {
    // A host that cannot tell is taken to be a designer.
    const Result<bool> mode = host_.AmbientUserMode();
    return mode && mode.value();
}

// --- the view seam ------------------------------------------------------------------

void HTMLLabelControl::BeginBusy() {
    if (busy_depth_++ == 0) {
        pointer_before_busy_ = viewport_->mouse_pointer();
        viewport_->set_mouse_pointer(kPointerHourglass);
    }
    // The pointer shows before the document is read, and windows waiting
    // to paint do so first.
    DoEvents();
}

void HTMLLabelControl::EndBusy() {
    if (busy_depth_ > 0 && --busy_depth_ == 0) viewport_->set_mouse_pointer(pointer_before_busy_);
    DoEvents();
}

bool HTMLLabelControl::IsHostVisible() const {
    return IsWindowVisible(hwnd_);
}

void HTMLLabelControl::ResetFont(const std::string& /*face*/, float /*size*/,
                                 Color /*text_color*/) {
    // Every layout pass starts from the document's default font, so the
    // picture keeps no font of its own between passes.
}

void HTMLLabelControl::ApplyBackColor(Color color) {
    // The corner shows the component's own background.
    set_back_color(color);
    InvalidateRect(hwnd_);
}

void HTMLLabelControl::SetSurfaceBackColor(Color color) {
    if (label_.ElementCount() != 0) return;
    DC dc = picture_.Context();
    dc.FillRect({0, 0, picture_.width(), picture_.height()}, color);
}

void HTMLLabelControl::RepaintViewport() {
    InvalidateRect(viewport_->hwnd());
}

void HTMLLabelControl::ApplyFrame(int16_t appearance, int16_t border_style) {
    auto style = static_cast<uint32_t>(GetWindowLongPtr(hwnd_, GWL_STYLE)) & ~WS_BORDER;
    auto ex = static_cast<uint32_t>(GetWindowLongPtr(hwnd_, GWL_EXSTYLE)) & ~WS_EX_CLIENTEDGE;
    if (border_style != 0) {
        if (appearance != 0) {
            ex |= WS_EX_CLIENTEDGE;
        } else {
            style |= WS_BORDER;
        }
    }
    SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<intptr_t>(style));
    SetWindowLongPtr(hwnd_, GWL_EXSTYLE, static_cast<intptr_t>(ex));
    // The client area changed with the frame.
    Resize();
    InvalidateRect(hwnd_);
}

// --- arranging, refreshing, painting ---------------------------------------------------

void HTMLLabelControl::Resize() {
    // The window is sized once before its parts exist.
    if (!viewport_ || !vertical_ || !horizontal_) return;
    if (bounds().height() <= kMinResizeHeight || IsIconic(GetAncestorTopLevel(hwnd_))) return;
    const Rect client = GetClientRect(hwnd_);
    Rect view = client;
    if (label_.EnableScroll()) {
        vertical_->set_visible(false);
        horizontal_->set_visible(false);
        const int32_t bar_width = GetSystemMetrics(SM_CXVSCROLL);
        const int32_t bar_height = GetSystemMetrics(SM_CYHSCROLL);
        const int32_t left = std::max(0, client.width() - bar_width);
        const int32_t height = std::max(0, client.height() - bar_height);
        vertical_->Move(left, 0, bar_width, height);
        horizontal_->Move(0, height, left, bar_height);
        view = Rect::FromXYWH(0, 0, left, height);
        (void)vertical_->set_value(0);
        (void)horizontal_->set_value(0);
        corner_ = Rect::FromXYWH(left, height, bar_width, bar_height);
    } else {
        corner_ = {};
    }
    viewport_->Move(view);
    if (auto dc = GetDC(viewport_->hwnd())) {
        picture_.Resize(*dc, view.width(), view.height(), label_.DocBackColor());
    }
    InvalidateRect(hwnd_);
}

Status HTMLLabelControl::Refresh() {
    if (!UserMode()) return {};
    const int16_t pointer = viewport_->mouse_pointer();
    viewport_->set_mouse_pointer(kPointerHourglass);
    Resize();
    if (auto dc = GetDC(viewport_->hwnd())) {
        const Rect view = GetClientRect(viewport_->hwnd());
        picture_.Render(label_, *dc, view.width(), view.height());
    }
    if (label_.EnableScroll()) {
        SetRanges();
    } else {
        vertical_->set_visible(false);
        horizontal_->set_visible(false);
    }
    RepaintViewport();
    viewport_->set_mouse_pointer(pointer);
    return {};
}

void HTMLLabelControl::SetRanges() {
    const Rect view = GetClientRect(viewport_->hwnd());
    int32_t vertical_max = 0;
    int32_t horizontal_max = 0;
    if (label_.ElementCount() > 0) {
        // The bars hold 16 bits and the picture holds what a surface can:
        // the range stops at the smaller, so every position shows drawn
        // document and the top stays reachable.
        const int32_t height = std::min(label_.ContentHeight(), picture_.height());
        const int32_t width = std::min(label_.ContentWidth(), picture_.width());
        vertical_max = std::clamp(height - view.height(), 0, kMaxScroll);
        horizontal_max = std::clamp(width - view.width(), 0, kMaxScroll);
    }
    (void)vertical_->set_large_change(std::clamp(view.height(), 1, kMaxScroll));
    (void)horizontal_->set_large_change(std::clamp(view.width(), 1, kMaxScroll));
    // An arrow moves one line of the document's default font, not a pixel.
    const int32_t line = std::clamp(label_.LineStep(), 1, kMaxScroll);
    (void)vertical_->set_small_change(line);
    (void)horizontal_->set_small_change(line);
    for (auto [bar, max] :
         {std::pair{vertical_.get(), vertical_max}, std::pair{horizontal_.get(), horizontal_max}}) {
        (void)bar->set_max(max);
        (void)bar->set_value(0);
        bar->set_enabled(max > 0);
        bar->set_visible(true);
    }
}

void HTMLLabelControl::ScrollChanged() {
    if (UserMode() && label_.ElementCount() > 0) RepaintViewport();
}

void HTMLLabelControl::PaintViewport(DC& dc) {
    const Rect view = GetClientRect(viewport_->hwnd());
    const bool shown = UserMode() && picture_.Paint(dc, 0, 0, view.width(), view.height(),
                                                    horizontal_->value(), vertical_->value());
    if (!shown) dc.FillRect(view, label_.DocBackColor());
}

// --- links and keys ----------------------------------------------------------------------

void HTMLLabelControl::PointerMoved(float x, float y) {
    if (!label_.EnableAnchors()) return;
    const int32_t link = label_.LinkUnderPointer(x, y, horizontal_->value(), vertical_->value());
    std::string tip = viewport_->tooltip_text();
    if (link >= 0) {
        viewport_->set_mouse_pointer(kPointerCustom);
        if (label_.EnableTooltips()) tip.assign(label_.LinkTooltip(link));
    } else {
        viewport_->set_mouse_pointer(kPointerDefault);
        tip.clear();
    }
    // The pointer changes at once, not at the next move.
    SetCursor(link >= 0 ? Cursor{CursorShape::kHand, {}, {}} : Cursor{});
    if (tip != viewport_->tooltip_text()) {
        viewport_->set_tooltip_text(std::move(tip));
        // A tip showing another link's text goes; the new one shows after
        // the pointer rests.
        tooltips::Hide();
        tooltips::TrackMouse(viewport_->hwnd());
    }
}

void HTMLLabelControl::PointerReleased(float x, float y) {
    const LinkRelease release = label_.ReleaseLink(x, y, horizontal_->value(), vertical_->value());
    switch (release.kind) {
        case LinkRelease::Kind::kJump:
            (void)vertical_->set_value(
                std::clamp<int32_t>(release.top, vertical_->min(), vertical_->max()));
            break;
        case LinkRelease::Kind::kPending:
            // A second release before the tick replaces the first link.
            click_timer_->set_enabled(false);
            click_timer_->set_enabled(true);
            break;
        case LinkRelease::Kind::kNothing:
            break;
    }
}

void HTMLLabelControl::ClickTimerTick() {
    click_timer_->set_enabled(false);
    // The host call or the event may destroy the component: this is the
    // last thing the tick does.
    label_.DeliverPendingLink();
}

void HTMLLabelControl::KeyDown(int16_t key, int16_t shift) {
    if (!label_.EnableScroll()) return;
    ScrollBar& bar = *vertical_;
    const int32_t value = bar.value();
    const int32_t low = bar.min();
    const int32_t high = bar.max();
    const bool ctrl = (shift & kCtrlMask) != 0;
    std::optional<int32_t> next;
    switch (key) {
        case VK_UP:
            if (value > low) next = std::max(low, value - bar.small_change());
            break;
        case VK_DOWN:
            if (value < high) next = std::min(high, value + bar.small_change());
            break;
        case VK_PRIOR:
            if (value > low) next = std::max(low, value - bar.large_change());
            break;
        case VK_NEXT:
            if (value < high) next = std::min(high, value + bar.large_change());
            break;
        case VK_HOME:
            if (ctrl) next = low;
            break;
        case VK_END:
            if (ctrl) next = high;
            break;
        default:
            break;
    }
    if (next && *next != value) (void)bar.set_value(*next);
}

LRESULT HTMLLabelControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (auto dc = BeginPaint(hwnd_, &ps)) {
                dc->FillRect(GetClientRect(hwnd_), EffectiveBackColor());
            }
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_SIZE:
            Resize();
            return 0;
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void HTMLLabelControl::ReportState(Json& out) const {
    out.Set("element_count", label_.ElementCount());
    out.Set("document_title", label_.DocumentTitle());
    out.Set("content_width", label_.ContentWidth());
    out.Set("content_height", label_.ContentHeight());
    out.Set("picture", Json(Json::Array{Json(picture_.width()), Json(picture_.height())}));
    out.Set("enable_scroll", label_.EnableScroll());
    out.Set("vertical_max", static_cast<int>(vertical_->max()));
    out.Set("vertical_value", static_cast<int>(vertical_->value()));
    out.Set("horizontal_max", static_cast<int>(horizontal_->max()));
    out.Set("horizontal_value", static_cast<int>(horizontal_->value()));
    out.Set("corner_visible", !corner_.empty());
    out.Set("pointer", viewport_->mouse_pointer() == kPointerCustom ? "hand" : "arrow");
    out.Set("tooltip", viewport_->tooltip_text());
    out.Set("pending_href", label_.PendingHref());
    out.Set("click_timer_enabled", click_timer_->enabled());
}

}  // namespace html_label
