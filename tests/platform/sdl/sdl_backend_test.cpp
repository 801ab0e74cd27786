// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop backend on SDL's off-screen video driver: native windows
// follow the window system, frames reach the native framebuffer, and SDL's
// events arrive as the right window messages. Events are pushed into SDL's
// queue, so no display and no waiting is needed.

#include "platform/sdl/sdl_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/window.h"

namespace platform::sdl {
namespace {

struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<Seen>* g_seen = nullptr;

// Records input and close messages, then behaves as any window.
LRESULT RecordingProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_CLOSE:
            if (g_seen) g_seen->push_back({h, m, wp, lp});
            break;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

class SdlBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // SDL's off-screen driver: real SDL windows and framebuffers, no
        // display.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        auto created = SdlBackend::Create();
        ASSERT_TRUE(created.ok()) << created.error().message;
        backend_ = created.value().get();
        session_ = std::make_unique<WindowSystemSession>(std::move(created).value(),
                                                         std::make_unique<VirtualClock>(0));
        g_seen = &seen_;
        RegisterClass({"SdlTestWindow", RecordingProc, CS_DBLCLKS, Rgb(10, 200, 30), {}});
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        session_.reset();
        g_seen = nullptr;
    }

    HWND MakeWindow(Rect r, uint32_t style = WS_POPUP) {
        HWND h = CreateWindowEx(0, "SdlTestWindow", "t", style, r.left, r.top, r.width(),
                                r.height(), {});
        ShowWindow(h, SW_SHOW);
        DoEvents();
        return h;
    }

    void Push(SDL_Event ev) { ASSERT_EQ(SDL_PushEvent(&ev), 1) << SDL_GetError(); }
    void PushWindowEvent(HWND h, uint8_t what, int32_t d1 = 0, int32_t d2 = 0) {
        SDL_Event ev{};
        ev.type = SDL_WINDOWEVENT;
        ev.window.windowID = backend_->NativeWindowId(h);
        ev.window.event = what;
        ev.window.data1 = d1;
        ev.window.data2 = d2;
        Push(ev);
    }
    void PushKey(uint32_t type, SDL_Keycode key, uint16_t mod = KMOD_NONE) {
        SDL_Event ev{};
        ev.type = type;
        ev.key.keysym.sym = key;
        ev.key.keysym.mod = mod;
        Push(ev);
    }
    void PushText(const char* utf8) {
        SDL_Event ev{};
        ev.type = SDL_TEXTINPUT;
        std::strncpy(ev.text.text, utf8, sizeof ev.text.text - 1);
        Push(ev);
    }

    std::vector<Seen> Only(UINT msg) const {
        std::vector<Seen> out;
        for (const Seen& s : seen_)
            if (s.msg == msg) out.push_back(s);
        return out;
    }

    SdlBackend* backend_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::vector<Seen> seen_;
};

TEST_F(SdlBackendTest, NativeWindowsFollowTopLevelWindows) {
    HWND a = MakeWindow(Rect::FromXYWH(100, 50, 200, 120));
    HWND child = CreateWindowEx(0, "SdlTestWindow", "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, a);
    ASSERT_TRUE(backend_->HasNativeWindow(a));
    EXPECT_FALSE(backend_->HasNativeWindow(child));  // children are drawn into the frame
    SDL_Window* w = SDL_GetWindowFromID(backend_->NativeWindowId(a));
    ASSERT_NE(w, nullptr);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(w, &width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 120);
    EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
    EXPECT_EQ(backend_->NativePosition(a), (Point{100, 50}));

    MoveWindow(a, 140, 70, 200, 120);
    EXPECT_EQ(backend_->NativePosition(a), (Point{140, 70}));
    MoveWindow(a, 140, 70, 260, 90);
    SDL_GetWindowSize(w, &width, &height);
    EXPECT_EQ(width, 260);
    EXPECT_EQ(height, 90);

    ShowWindow(a, SW_HIDE);
    EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN);
    DestroyWindow(a);
    EXPECT_FALSE(backend_->HasNativeWindow(a));
}

TEST_F(SdlBackendTest, FramesReachTheNativeFramebuffer) {
    HWND a = MakeWindow(Rect::FromXYWH(0, 0, 64, 48));
    SDL_Window* w = SDL_GetWindowFromID(backend_->NativeWindowId(a));
    SDL_Surface* fb = SDL_GetWindowSurface(w);
    ASSERT_NE(fb, nullptr);
    auto pixel = [&](int x, int y) {
        Uint32 raw = 0;
        std::memcpy(&raw, static_cast<uint8_t*>(fb->pixels) + y * fb->pitch + x * 4, 4);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(raw, fb->format, &r, &g, &b);
        return Rgb(r, g, b);
    };
    EXPECT_EQ(pixel(0, 0), Rgb(10, 200, 30));
    EXPECT_EQ(pixel(63, 47), Rgb(10, 200, 30));

    // Only the dirty part is copied: a pixel changed outside it in the
    // framebuffer stays as it is.
    std::memset(static_cast<uint8_t*>(fb->pixels) + 40 * fb->pitch + 60 * 4, 0, 4);
    Surface frame(64, 48, Rgb(200, 0, 0));
    backend_->Present(a, frame, Rect{0, 0, 10, 10});
    EXPECT_EQ(pixel(5, 5), Rgb(200, 0, 0));
    EXPECT_EQ(pixel(20, 20), Rgb(10, 200, 30));
    EXPECT_EQ(pixel(60, 40), Rgb(0, 0, 0));
    // An exposure repaints all of it from what was presented.
    PushWindowEvent(a, SDL_WINDOWEVENT_EXPOSED);
    DoEvents();
    fb = SDL_GetWindowSurface(w);
    EXPECT_EQ(pixel(60, 40), Rgb(10, 200, 30));
    EXPECT_EQ(pixel(5, 5), Rgb(200, 0, 0));
}

TEST_F(SdlBackendTest, MouseEventsArriveAtScreenPositions) {
    HWND a = MakeWindow(Rect::FromXYWH(100, 50, 200, 120));
    const uint32_t id = backend_->NativeWindowId(a);
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.windowID = id;
    ev.motion.x = 30;
    ev.motion.y = 40;
    Push(ev);
    ev = SDL_Event{};
    ev.type = SDL_MOUSEWHEEL;
    ev.wheel.windowID = id;
    ev.wheel.y = 2;
    ev.wheel.mouseX = 30;
    ev.wheel.mouseY = 40;
    Push(ev);
    ev.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    Push(ev);
    DoEvents();
    EXPECT_EQ(GetCursorPos(), (Point{130, 90}));
    // Last: once a button is held, positions come from the pointer itself,
    // which the off-screen driver does not have.
    ev = SDL_Event{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.windowID = id;
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.x = 30;
    ev.button.y = 40;
    Push(ev);
    DoEvents();

    auto downs = Only(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lp), 30);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lp), 40);
    auto wheels = Only(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(static_cast<int16_t>(HIWORD(wheels[0].wp)), 240);
    EXPECT_EQ(static_cast<int16_t>(HIWORD(wheels[1].wp)), -240);
}

TEST_F(SdlBackendTest, KeysAndTextInputTypeEachCharacterOnce) {
    HWND a = MakeWindow(Rect::FromXYWH(0, 0, 100, 100));
    SetFocus(a);
    // A letter: SDL reports the key and its text.
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushText("a");
    PushKey(SDL_KEYUP, SDLK_a);
    // Enter and Ctrl+B: SDL reports no text, the window system types them.
    PushKey(SDL_KEYDOWN, SDLK_RETURN);
    PushKey(SDL_KEYUP, SDLK_RETURN);
    PushKey(SDL_KEYDOWN, SDLK_b, KMOD_LCTRL);
    PushKey(SDL_KEYUP, SDLK_b, KMOD_LCTRL);
    // Text from an input method: characters only.
    PushText("\xE0\xA4\x95");  // U+0915
    // A key with no code is dropped.
    PushKey(SDL_KEYDOWN, SDLK_VOLUMEUP);
    DoEvents();

    auto downs = Only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].wp, static_cast<WPARAM>('A'));
    EXPECT_EQ(downs[1].wp, static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(downs[2].wp, static_cast<WPARAM>('B'));
    EXPECT_EQ(Only(WM_KEYUP).size(), 3u);
    auto chars = Only(WM_CHAR);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[0].wp, static_cast<WPARAM>('a'));
    EXPECT_EQ(chars[1].wp, 0x0Du);
    EXPECT_EQ(chars[2].wp, 0x02u);
    EXPECT_EQ(chars[3].wp, 0x0915u);
}

TEST_F(SdlBackendTest, CloseMinimiseAndFocusFromTheDesktop) {
    HWND a = MakeWindow(Rect::FromXYWH(0, 0, 100, 100));
    HWND b = MakeWindow(Rect::FromXYWH(200, 0, 100, 100));
    ASSERT_EQ(GetActiveWindow(), b);

    PushWindowEvent(a, SDL_WINDOWEVENT_FOCUS_GAINED);
    DoEvents();
    EXPECT_EQ(GetActiveWindow(), a);

    // While b is disabled (a modal window elsewhere), focusing it natively
    // leaves the active window alone.
    EnableWindow(b, false);
    PushWindowEvent(b, SDL_WINDOWEVENT_FOCUS_GAINED);
    DoEvents();
    EXPECT_EQ(GetActiveWindow(), a);
    EnableWindow(b, true);

    PushWindowEvent(a, SDL_WINDOWEVENT_MINIMIZED);
    DoEvents();
    EXPECT_TRUE(IsIconic(a));
    PushWindowEvent(a, SDL_WINDOWEVENT_RESTORED);
    DoEvents();
    EXPECT_FALSE(IsIconic(a));

    PushWindowEvent(b, SDL_WINDOWEVENT_CLOSE);
    DoEvents();
    ASSERT_EQ(Only(WM_CLOSE).size(), 1u);
    EXPECT_EQ(Only(WM_CLOSE)[0].hwnd, b);
    EXPECT_FALSE(IsWindow(b));
    EXPECT_FALSE(backend_->HasNativeWindow(b));
    EXPECT_TRUE(IsWindow(a));
}

TEST_F(SdlBackendTest, NativeFocusOnAPopUpLeavesTheActivationAlone) {
    HWND owner = MakeWindow(Rect::FromXYWH(0, 0, 200, 100));
    ASSERT_EQ(GetActiveWindow(), owner);
    HWND list =
        CreateWindowEx(WS_EX_NOACTIVATE, "SdlTestWindow", "list", WS_POPUP, 0, 100, 200, 80, owner);
    ShowWindow(list, SW_SHOWNA);
    DoEvents();
    PushWindowEvent(list, SDL_WINDOWEVENT_FOCUS_GAINED);
    DoEvents();
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(SdlBackendTest, OnlyForeignNativeMovesMoveTheWindow) {
    HWND a = MakeWindow(Rect::FromXYWH(100, 100, 80, 60));
    // The window system moves the window several times (a caption drag);
    // the desktop's late reports of those moves must not pull it back.
    MoveWindow(a, 110, 100, 80, 60);
    MoveWindow(a, 120, 100, 80, 60);
    MoveWindow(a, 130, 100, 80, 60);
    PushWindowEvent(a, SDL_WINDOWEVENT_MOVED, 110, 100);
    PushWindowEvent(a, SDL_WINDOWEVENT_MOVED, 120, 100);
    DoEvents();
    EXPECT_EQ(GetWindowRect(a).top_left(), (Point{130, 100}));
    // A move the desktop made itself is taken over.
    PushWindowEvent(a, SDL_WINDOWEVENT_MOVED, 300, 200);
    DoEvents();
    EXPECT_EQ(GetWindowRect(a).top_left(), (Point{300, 200}));
}

TEST_F(SdlBackendTest, RegionsOffTheShapingPathStillWork) {
    // The off-screen driver cannot shape windows; the region still applies
    // inside the window system and nothing fails.
    HWND a = MakeWindow(Rect::FromXYWH(0, 0, 100, 100));
    SetWindowRgn(a, Region::Ellipse({0, 0, 100, 100}));
    DoEvents();
    EXPECT_FALSE(backend_->IsNativelyShaped(a));
    EXPECT_EQ(WindowFromPoint({2, 2}), HWND{});
    EXPECT_EQ(WindowFromPoint({50, 50}), a);
}

TEST_F(SdlBackendTest, ClipboardTextRoundTrips) {
    // The off-screen driver keeps a clipboard of its own.
    ASSERT_TRUE(SetClipboardTextUtf8("\xE0\xA4\xA8\xE0\xA5\x87 ok"));
    EXPECT_EQ(GetClipboardTextUtf8(), std::optional<std::string>("\xE0\xA4\xA8\xE0\xA5\x87 ok"));
}

}  // namespace
}  // namespace platform::sdl
