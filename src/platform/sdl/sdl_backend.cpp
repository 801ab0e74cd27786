// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL2 desktop backend. Native windows are borderless and follow the
// window system's geometry; the window system stays the authority for
// positions, activation and the pointer, and this file only mirrors it and
// feeds native events back.

#include "platform/sdl/sdl_backend.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/device_scale.h"
#include "platform/preeti/preeti.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/screen_scale.h"
#include "platform/sdl/shape.h"
#include "platform/sdl/x11_desktop.h"
#include "platform/sdl/x11_shape.h"
#include "platform/window.h"

namespace platform::sdl {

namespace {

// How many of our own moves are remembered, to tell the echo of a move we
// asked for from a move the desktop made.
constexpr size_t kRememberedMoves = 16;
// How often the pointer is read while a button is held.
constexpr int kDragPollMs = 10;

uint32_t ButtonBit(MouseButton b) {
    return b == MouseButton::kLeft ? 1u : b == MouseButton::kRight ? 2u : 4u;
}

std::optional<MouseButton> ButtonFromSdl(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return MouseButton::kLeft;
        case SDL_BUTTON_RIGHT:
            return MouseButton::kRight;
        case SDL_BUTTON_MIDDLE:
            return MouseButton::kMiddle;
        default:
            return std::nullopt;
    }
}

SDL_SystemCursor SystemCursorFor(CursorShape shape) {
    switch (shape) {
        case CursorShape::kWait:
            return SDL_SYSTEM_CURSOR_WAIT;
        case CursorShape::kHand:
            return SDL_SYSTEM_CURSOR_HAND;
        case CursorShape::kIBeam:
            return SDL_SYSTEM_CURSOR_IBEAM;
        case CursorShape::kSizeAll:
            return SDL_SYSTEM_CURSOR_SIZEALL;
        case CursorShape::kSizeWE:
            return SDL_SYSTEM_CURSOR_SIZEWE;
        case CursorShape::kCross:
            return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case CursorShape::kNo:
            return SDL_SYSTEM_CURSOR_NO;
        case CursorShape::kArrow:
        case CursorShape::kCustom:
            break;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

// A colour cursor from a picture, enlarged to the screen's factor; its mask
// (icons) becomes transparency.
SdlCursorPtr CursorFromPicture(const Picture& pic, Point hotspot, double factor) {
    const Surface& px = pic.pixels();
    if (px.empty() || px.width() > 256 || px.height() > 256) return nullptr;
    const CursorPixels c = ScaleCursor(pic, hotspot, factor);
    SdlSurfacePtr s(
        SDL_CreateRGBSurfaceWithFormat(0, c.width, c.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!s) return nullptr;
    if (SDL_LockSurface(s.get()) != 0) return nullptr;
    for (int32_t y = 0; y < c.height; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        std::copy_n(c.argb.data() + static_cast<size_t>(y) * c.width, c.width, dst);
    }
    SDL_UnlockSurface(s.get());
    return SdlCursorPtr(SDL_CreateColorCursor(s.get(), c.hotspot.x, c.hotspot.y));
}

NativeKind NativeKindFor(uint32_t style, uint32_t ex_style) {
    if (ex_style & WS_EX_NOACTIVATE) {
        // A disabled pop-up takes no input at all: a tip.
        return (style & WS_DISABLED) ? NativeKind::kTooltip : NativeKind::kPopupMenu;
    }
    if (ex_style & WS_EX_DLGMODALFRAME) return NativeKind::kDialog;
    if (ex_style & WS_EX_TOOLWINDOW) return NativeKind::kUtility;
    return NativeKind::kNormal;
}

bool IsPopup(NativeKind kind) {
    return kind == NativeKind::kPopupMenu || kind == NativeKind::kTooltip;
}

}  // namespace

Result<std::unique_ptr<SdlBackend>> SdlBackend::Create() {
    // The first click on an inactive window is a click like any other, as
    // the program's windows expect; a signal still ends the program.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    // Frames are composed in memory already; an accelerated framebuffer
    // would make SDL recreate the native window on its first frame, which
    // loses its shape and everything else set on it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    TolerateMessagesToDestroyedWindows();
    std::unique_ptr<SdlBackend> b(new SdlBackend());
    if (!b->video_.Start())
        return MakeError(ErrorCode::kPlatform,
                         std::string("cannot open the display: ") + SDL_GetError());
    SDL_StartTextInput();
    return b;
}

SdlBackend::~SdlBackend() {
    // Cursors and windows go before the video subsystem (video_ is declared
    // first, so it is destroyed last).
    SDL_SetCursor(SDL_GetDefaultCursor());
    custom_cursor_.reset();
    system_cursors_.clear();
    windows_.clear();
}

ScaleChoice DesktopScale(Size largest_window) {
    ScaleSources sources = ScaleSourcesFromEnvironment();
    sources.xft_dpi = XftDpi();
    SDL_Rect r;
    if (largest_window.cx > 0 && largest_window.cy > 0 && SDL_GetDisplayBounds(0, &r) == 0) {
        sources.max_factor =
            std::min({sources.max_factor, static_cast<double>(r.w) / largest_window.cx,
                      static_cast<double>(r.h) / largest_window.cy});
    }
    return ChooseScale(sources);
}

// Native windows, the pointer and the screen are in screen pixels; the
// window system's in program pixels, drawn at DeviceScale() device pixels
// each and shown at the screen factor.
ScreenScale SdlBackend::Screen() const {
    const int32_t drawing = DeviceScale();
    return ScreenScale(drawing, screen_factor_ > 0 ? screen_factor_ : drawing);
}

Size SdlBackend::ScreenSize() const {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(0, &r) != 0) return {1024, 768};
    const ScreenScale screen = Screen();
    return {screen.FromScreen(r.w), screen.FromScreen(r.h)};
}

SdlBackend::Native* SdlBackend::NativeOf(HWND top) {
    auto it = windows_.find(top.id);
    return it == windows_.end() ? nullptr : &it->second;
}

const SdlBackend::Native* SdlBackend::NativeOf(HWND top) const {
    auto it = windows_.find(top.id);
    return it == windows_.end() ? nullptr : &it->second;
}

SdlBackend::Native* SdlBackend::NativeOfSdl(uint32_t sdl_window_id) {
    return const_cast<Native*>(std::as_const(*this).NativeOfSdl(sdl_window_id));
}

const SdlBackend::Native* SdlBackend::NativeOfSdl(uint32_t sdl_window_id) const {
    SDL_Window* w = SDL_GetWindowFromID(sdl_window_id);
    if (!w) return nullptr;
    for (const auto& [id, n] : windows_)
        if (n.window.get() == w) return &n;
    return nullptr;
}

bool SdlBackend::HasNativeWindow(HWND top) const {
    return NativeOf(top) != nullptr;
}

bool SdlBackend::IsNativelyShaped(HWND top) const {
    const Native* n = NativeOf(top);
    return n && n->shaped;
}

std::optional<Point> SdlBackend::NativePosition(HWND top) const {
    const Native* n = NativeOf(top);
    if (!n) return std::nullopt;
    return n->position;
}

uint32_t SdlBackend::NativeWindowId(HWND top) const {
    const Native* n = NativeOf(top);
    return n ? SDL_GetWindowID(n->window.get()) : 0;
}

void SdlBackend::CreateNative(HWND top) {
    if (NativeOf(top)) return;
    const Rect r = GetWindowRect(top);
    const auto style = static_cast<uint32_t>(GetWindowLongPtr(top, GWL_STYLE));
    const auto ex = static_cast<uint32_t>(GetWindowLongPtr(top, GWL_EXSTYLE));
    const NativeKind kind = NativeKindFor(style, ex);
    // Pop-ups bypass the window manager (override-redirect on X11): it
    // neither decorates, places nor focuses them.
    uint32_t flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    switch (kind) {
        case NativeKind::kTooltip:
            flags |= SDL_WINDOW_TOOLTIP;
            break;
        case NativeKind::kPopupMenu:
            flags |= SDL_WINDOW_POPUP_MENU;
            break;
        case NativeKind::kUtility:
            flags |= SDL_WINDOW_UTILITY;
            break;
        case NativeKind::kDialog:
        case NativeKind::kNormal:
            break;
    }
    if (ex & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_SKIP_TASKBAR;
    if ((ex & WS_EX_TOPMOST) && !IsPopup(kind)) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // SDL has no flag for a dialog; its X11 window type comes from a hint
    // read while the window is made.
    if (kind == NativeKind::kDialog)
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
    const std::string title = preeti::Cp1252ToUtf8(GetWindowText(top));
    const ScreenScale screen = Screen();
    SdlWindowPtr w(SDL_CreateWindow(title.c_str(), screen.ToScreen(r.left), screen.ToScreen(r.top),
                                    screen.ToScreen(std::max(1, r.width())),
                                    screen.ToScreen(std::max(1, r.height())), flags));
    if (kind == NativeKind::kDialog) SDL_ResetHint(SDL_HINT_X11_WINDOW_TYPE);
    if (!w) {
        SDL_Log("kovelin: cannot create a native window: %s", SDL_GetError());
        return;
    }
    // An owned window stays with its owner (WM_TRANSIENT_FOR on X11): above
    // it, and a dialog of it. Pop-ups need no manager's help for that.
    if (!IsPopup(kind)) {
        if (Native* owner = NativeOf(GetParent(top)))
            SDL_SetWindowModalFor(w.get(), owner->window.get());
    }
    Native n;
    n.hwnd = top;
    n.window = std::move(w);
    n.kind = kind;
    n.position = r.top_left();
    n.requested_positions.push_back(r.top_left());
    auto [it, inserted] = windows_.emplace(top.id, std::move(n));
    ApplyShape(it->second);
}

void SdlBackend::HandFocusToOwner(Native& n) {
    // The owner is the window the activation goes back to when an owned
    // window (a message box) closes.
    const Native* owner = NativeOf(GetParent(n.hwnd));
    if (owner && (SDL_GetWindowFlags(owner->window.get()) & SDL_WINDOW_SHOWN))
        PassFocus(n.window.get(), owner->window.get());
}

void SdlBackend::ApplyShape(Native& n) {
    std::optional<Region> region = GetWindowRgn(n.hwnd);
    n.region = region;
    if (region) {
        // Each rectangle's edges land where the screen shows the program's
        // pixel edges, as the window's size does.
        const ScreenScale screen = Screen();
        std::vector<Rect> rects = RegionToRects(*region);
        for (Rect& r : rects) r = screen.ToScreen(r);
        n.shaped = ShapeNativeWindow(n.window.get(), &rects);
    } else {
        // Removing a shape we never set is harmless; where shaping is not
        // available this simply reports false.
        if (n.shaped) ShapeNativeWindow(n.window.get(), nullptr);
        n.shaped = false;
    }
    // A reduced frame's edge pixels depend on the shape.
    if (Screen().Reduces()) Blit(n, n.shown.bounds());
}

void SdlBackend::ApplyTitle(Native& n) {
    const std::string title = preeti::Cp1252ToUtf8(GetWindowText(n.hwnd));
    SDL_SetWindowTitle(n.window.get(), title.c_str());
}

void SdlBackend::MoveNative(Native& n) {
    const Point p = GetWindowRect(n.hwnd).top_left();
    n.requested_positions.push_back(p);
    while (n.requested_positions.size() > kRememberedMoves) n.requested_positions.pop_front();
    n.position = p;
    const ScreenScale screen = Screen();
    SDL_SetWindowPosition(n.window.get(), screen.ToScreen(p.x), screen.ToScreen(p.y));
}

void SdlBackend::TopLevelChanged(HWND top, TopLevelChange change) {
    if (change == TopLevelChange::kCreated) {
        CreateNative(top);
        return;
    }
    if (change == TopLevelChange::kDestroyed) {
        if (Native* n = NativeOf(top)) HandFocusToOwner(*n);
        windows_.erase(top.id);
        return;
    }
    Native* n = NativeOf(top);
    if (!n) return;
    SDL_Window* w = n->window.get();
    switch (change) {
        case TopLevelChange::kMoved:
            MoveNative(*n);
            break;
        case TopLevelChange::kOwner:
            if (!IsPopup(n->kind))
                if (Native* owner = NativeOf(GetParent(top)))
                    SDL_SetWindowModalFor(w, owner->window.get());
            break;
        case TopLevelChange::kResized: {
            const Rect r = GetWindowRect(top);
            const ScreenScale screen = Screen();
            SDL_SetWindowSize(w, screen.ToScreen(std::max(1, r.width())),
                              screen.ToScreen(std::max(1, r.height())));
            ApplyShape(*n);
            break;
        }
        case TopLevelChange::kShown:
            // Showing is not activating: the keyboard stays where it is until
            // the window system activates the window (kActivated).
            MapKeepingFocus(w, SDL_ShowWindow);
            // Some desktops place a window when it is mapped; put it back
            // where the window system has it.
            MoveNative(*n);
            Blit(*n, n->shown.bounds());
            break;
        case TopLevelChange::kHidden:
            HandFocusToOwner(*n);
            SDL_HideWindow(w);
            break;
        case TopLevelChange::kMinimised:
            SDL_MinimizeWindow(w);
            break;
        case TopLevelChange::kRestored:
            MapKeepingFocus(w, SDL_RestoreWindow);
            break;
        case TopLevelChange::kRegion:
            ApplyShape(*n);
            break;
        case TopLevelChange::kCaption:
            ApplyTitle(*n);
            break;
        case TopLevelChange::kActivated:
            // An activation that follows the desktop's own focus change needs
            // no request: a late one would undo whatever the desktop did since.
            if (top == following_native_focus_) break;
            if (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN) {
                SDL_RaiseWindow(w);
                FocusIfUnmanaged(w);
            }
            break;
        case TopLevelChange::kCreated:
        case TopLevelChange::kDestroyed:
            break;
    }
}

void SdlBackend::Present(HWND top, const Surface& frame, const Rect& dirty) {
    Native* n = NativeOf(top);
    if (!n || frame.empty()) return;
    const int32_t s = frame.scale();
    Rect area = Rect{dirty.left * s, dirty.top * s, dirty.right * s, dirty.bottom * s}.intersect(
        frame.bounds());
    if (n->shown.width() != frame.width() || n->shown.height() != frame.height()) {
        n->shown = frame;
        area = frame.bounds();
    } else {
        for (int32_t y = area.top; y < area.bottom; ++y)
            std::copy(frame.row(y) + area.left, frame.row(y) + area.right,
                      n->shown.row(y) + area.left);
    }
    Blit(*n, area);
}

void SdlBackend::Blit(Native& n, Rect area) {
    if (n.shown.empty()) return;
    SDL_Window* w = n.window.get();
    if (!(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN)) return;  // shown later, in full
    SDL_Surface* target = SDL_GetWindowSurface(w);            // owned by the window
    if (!target) return;
    const Surface* source = &n.shown;
    const ScreenScale screen = Screen();
    if (screen.Reduces() && n.shown.scale() == screen.drawing()) {
        // The frame is reduced to the screen's factor, only where it changed.
        if (n.reduced.width() != target->w || n.reduced.height() != target->h) {
            n.reduced = Surface(target->w, target->h);
            area = n.shown.bounds();
        }
        area = screen.FrameToScreen(area.intersect(n.shown.bounds()));
        ReduceFrame(n.shown, screen, n.reduced, area, n.region ? &*n.region : nullptr);
        source = &n.reduced;
    } else {
        n.reduced = Surface();
    }
    area = area.intersect(source->bounds()).intersect({0, 0, target->w, target->h});
    if (area.empty()) return;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    const int bpp = target->format->BytesPerPixel;
    uint8_t* dst =
        static_cast<uint8_t*>(target->pixels) + area.top * target->pitch + area.left * bpp;
    const uint32_t* src = source->row(area.top) + area.left;
    SDL_ConvertPixels(area.width(), area.height(), SDL_PIXELFORMAT_ARGB8888, src,
                      source->width() * 4, target->format->format, dst, target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_Rect r{area.left, area.top, area.width(), area.height()};
    SDL_UpdateWindowSurfaceRects(w, &r, 1);
}

Point SdlBackend::ScreenPointFor(uint32_t sdl_window_id, int32_t x, int32_t y,
                                 bool button_held) const {
    // While a button is held the window may be moving under the pointer
    // (a caption drag), so a window-relative position could belong to where
    // the window was; the pointer's own screen position cannot lag.
    if (button_held) {
        int gx = 0;
        int gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        return Screen().FromScreen(Point{gx, gy});
    }
    const Native* n = NativeOfSdl(sdl_window_id);
    const Point origin = n ? n->position : Point{};
    return origin + Screen().FromScreen(Point{x, y});
}

void SdlBackend::HandleWindowEvent(const SDL_WindowEvent& ev) {
    Native* n = NativeOfSdl(ev.windowID);
    if (!n) return;
    const HWND top = n->hwnd;
    switch (ev.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Blit(*n, n->shown.bounds());
            break;
        case SDL_WINDOWEVENT_CLOSE:
            InjectCloseRequest(top);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!IsIconic(top)) InjectMinimise(top, true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (IsIconic(top)) InjectMinimise(top, false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            // A pop-up never becomes active, however it came by the native
            // focus.
            if (!IsPopup(n->kind)) pending_activation_ = top;
            break;
        case SDL_WINDOWEVENT_MOVED: {
            // The server knows best where the window is (see ScreenPosition).
            const Point p = Screen().FromScreen(
                ScreenPosition(n->window.get()).value_or(Point{ev.data1, ev.data2}));
            n->position = p;
            auto& req = n->requested_positions;
            auto it = std::find(req.begin(), req.end(), p);
            if (it != req.end()) {
                // The echo of our own move; older requests can no longer echo.
                req.erase(req.begin(), it + 1);
                break;
            }
            if (GetWindowRect(top).top_left() != p) InjectMoved(top, p);
            break;
        }
        default:
            break;
    }
}

void SdlBackend::HandleEvent(const SDL_Event& ev) {
    switch (ev.type) {
        case SDL_WINDOWEVENT:
            HandleWindowEvent(ev.window);
            break;
        case SDL_MOUSEMOTION:
            if (ev.motion.which == SDL_TOUCH_MOUSEID) break;
            last_pointer_ = ScreenPointFor(ev.motion.windowID, ev.motion.x, ev.motion.y,
                                           buttons_held_ != 0 || ev.motion.state != 0);
            InjectMouseMove(last_pointer_);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (ev.button.which == SDL_TOUCH_MOUSEID) break;
            auto button = ButtonFromSdl(ev.button.button);
            if (!button) break;
            const bool down = ev.type == SDL_MOUSEBUTTONDOWN;
            // A drag's last moves may have gone unreported (see FollowPointer);
            // the release must come where the pointer really is.
            FollowPointer();
            const Point p =
                ScreenPointFor(ev.button.windowID, ev.button.x, ev.button.y, buttons_held_ != 0);
            last_pointer_ = p;
            if (down)
                buttons_held_ |= ButtonBit(*button);
            else
                buttons_held_ &= ~ButtonBit(*button);
            // Keep the pointer ours while a button is held, so a drag that
            // leaves the window still reports its moves and its release.
            SDL_CaptureMouse(buttons_held_ ? SDL_TRUE : SDL_FALSE);
            InjectMouseButton(p, *button, down);
            break;
        }
        case SDL_MOUSEWHEEL: {
            if (ev.wheel.which == SDL_TOUCH_MOUSEID) break;
            int32_t notches = ev.wheel.y;
            if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            if (notches == 0) break;
            const Point p = ScreenPointFor(ev.wheel.windowID, ev.wheel.mouseX, ev.wheel.mouseY,
                                           buttons_held_ != 0);
            InjectMouseWheel(p, std::clamp(notches, -100, 100) * 120);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const uint32_t vk = VirtualKeyFromSdl(ev.key.keysym.sym);
            if (!vk) break;
            const uint32_t mods = ModifiersFromSdl(ev.key.keysym.mod);
            InjectKey(vk, ev.type == SDL_KEYDOWN, mods, !KeyTypesText(vk, mods));
            break;
        }
        case SDL_TEXTINPUT:
            InjectText(ev.text.text, /*with_keys=*/false);
            break;
        case SDL_QUIT:
            // Only a signal or the session ending sends this (closing the
            // last window does not): end the program's loop.
            PostQuitMessage(0);
            break;
        default:
            break;
    }
}

void SdlBackend::ApplyPendingActivation() {
    if (!pending_activation_) return;
    const HWND top = *pending_activation_;
    pending_activation_.reset();
    if (!IsWindow(top)) return;
    if (IsWindowEnabled(top)) {
        if (GetActiveWindow() != top) {
            following_native_focus_ = top;
            SetActiveWindow(top);
            following_native_focus_ = {};
        }
        return;
    }
    // A window disabled by a modal window: the modal window keeps the focus.
    const HWND active = GetActiveWindow();
    if (Native* a = NativeOf(active); a && active != top) SDL_RaiseWindow(a->window.get());
}

void SdlBackend::FollowPointer() {
    // SDL drops a motion event whose window-relative position did not change,
    // which is exactly what happens while the window system drags a window
    // along with the pointer; so while a button is held the pointer's screen
    // position is read directly.
    if (!buttons_held_) return;
    int gx = 0;
    int gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    const Point p = Screen().FromScreen(Point{gx, gy});
    if (p == last_pointer_) return;
    last_pointer_ = p;
    InjectMouseMove(p);
}

void SdlBackend::PumpInput() {
    // Activation below sends messages whose handlers may run a loop of
    // their own; the events are all queued by then, so a nested pump only
    // finds new ones.
    if (pumping_) return;
    pumping_ = true;
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) HandleEvent(ev);
    FollowPointer();
    pumping_ = false;
    ApplyPendingActivation();
}

bool SdlBackend::WaitForInput(std::optional<uint64_t> deadline_ms) {
    int timeout = -1;
    if (deadline_ms) {
        const uint64_t now = CurrentClock().NowMs();
        if (*deadline_ms <= now) return true;
        timeout = static_cast<int>(std::min<uint64_t>(*deadline_ms - now, INT_MAX));
    }
    // During a drag the pointer is followed by polling (see FollowPointer).
    if (buttons_held_ && (timeout < 0 || timeout > kDragPollMs)) timeout = kDragPollMs;
    // Waiting only: the event stays queued for PumpInput, which the loop
    // calls next, so events are handled in one place and in order.
    if (timeout < 0)
        SDL_WaitEvent(nullptr);
    else
        SDL_WaitEventTimeout(nullptr, timeout);
    PumpInput();
    return true;
}

void SdlBackend::SetCursorShape(const Cursor& cursor) {
    if (cursor.shape == CursorShape::kCustom && cursor.picture) {
        SdlCursorPtr c = CursorFromPicture(*cursor.picture, cursor.hotspot, Screen().factor());
        if (c) {
            SDL_SetCursor(c.get());
            custom_cursor_ = std::move(c);  // the old one is no longer shown
            return;
        }
    }
    auto it = system_cursors_.find(cursor.shape);
    if (it == system_cursors_.end()) {
        SdlCursorPtr c(SDL_CreateSystemCursor(SystemCursorFor(cursor.shape)));
        it = system_cursors_.emplace(cursor.shape, std::move(c)).first;
    }
    SDL_SetCursor(it->second ? it->second.get() : SDL_GetDefaultCursor());
    custom_cursor_.reset();
}

void SdlBackend::WarpCursor(Point screen) {
    const ScreenScale scale = Screen();
    SDL_WarpMouseGlobal(scale.ToScreen(screen.x), scale.ToScreen(screen.y));
}

std::optional<std::string> SdlBackend::ClipboardText() const {
    if (!SDL_HasClipboardText()) return std::nullopt;
    SdlTextPtr text(SDL_GetClipboardText());
    if (!text) return std::nullopt;
    return std::string(text.get());
}

bool SdlBackend::SetClipboardText(const std::string& utf8) {
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

}  // namespace platform::sdl
