// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop smoke tests on a real X server (Xvfb, started by
// run_under_xvfb.sh): a shaped window is drawn and clipped by the server
// itself, real pointer clicks and key presses reach the window, and a caption
// drag moves the native window. Places on the screen are the program's
// times the desktop's scale, so the tests hold at every scale
// (sdl.desktop_smoke_scale2 and _scale1_5 run them at 2 and 1.5).

#include <gtest/gtest.h>

#include <vector>

#include "demo.h"
#include "desktop_fixture.h"

namespace platform::sdl {
namespace {

constexpr Color kShapeColour = Rgb(220, 40, 40);
constexpr uint32_t kShapeRgb = 0xDC2828;

struct Seen {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<Seen>* g_seen = nullptr;

LRESULT SmokeProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (g_seen && (m == WM_LBUTTONDOWN || m == WM_KEYDOWN || m == WM_CHAR))
        g_seen->push_back({m, wp, lp});
    return DefWindowProc(h, m, wp, lp);
}

class DesktopSmoke : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string why = Desktop::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        const std::string error = desktop_.Start();
        ASSERT_TRUE(error.empty()) << error;
        backend_ = &desktop_.backend();
        g_seen = &seen_;
        RegisterClass({"SmokeWindow", SmokeProc, 0, kShapeColour, {}});
    }
    void TearDown() override {
        desktop_.Stop();
        g_seen = nullptr;
    }

    template <class Pred>
    bool PumpUntil(Pred done, int rounds = 250) {
        return desktop_.PumpUntil(done, rounds);
    }

    size_t Count(UINT msg) const {
        size_t n = 0;
        for (const Seen& s : seen_) n += s.msg == msg ? 1 : 0;
        return n;
    }

    static void SaveShot(const char* name) { Desktop::SaveShot(name); }

    // Where the screen shows a program coordinate.
    int At(int32_t program) const { return backend_->Screen().ToScreen(program); }

    Desktop desktop_;
    SdlBackend* backend_ = nullptr;
    std::vector<Seen> seen_;
};

TEST_F(DesktopSmoke, ShapedWindowIsClippedByTheServerAndTakesClicks) {
    const Rect box = Rect::FromXYWH(100, 100, 200, 150);
    const Region shape = Region::Ellipse({0, 0, box.width(), box.height()});
    const ScreenScale screen = backend_->Screen();
    const Rect on_screen = screen.ToScreen(box);
    x11_probe::PaintRoot(0x3070A0);
    const x11_probe::Image before =
        x11_probe::Grab(on_screen.left, on_screen.top, on_screen.width(), on_screen.height());
    ASSERT_FALSE(before.rgb.empty());

    HWND h = CreateWindowEx(0, "SmokeWindow", "shaped", WS_POPUP, box.left, box.top, box.width(),
                            box.height(), {});
    SetWindowRgn(h, shape);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    ASSERT_TRUE(PumpUntil([&] {
        return x11_probe::PixelAt(At(box.left + 100), At(box.top + 75)) == kShapeRgb;
    })) << "the window never appeared";
    ASSERT_TRUE(backend_->IsNativelyShaped(h));

    // Inside the ellipse the window's colour; outside it, inside the box,
    // whatever the screen showed before. A screen pixel belongs to the
    // program pixel under its centre.
    const x11_probe::Image after =
        x11_probe::Grab(on_screen.left, on_screen.top, on_screen.width(), on_screen.height());
    int wrong = 0;
    for (int y = 0; y < on_screen.height(); ++y)
        for (int x = 0; x < on_screen.width(); ++x) {
            const bool inside = shape.contains(screen.FromScreen(x), screen.FromScreen(y));
            const uint32_t want = inside ? kShapeRgb : before.at(x, y);
            ASSERT_TRUE(inside || before.at(x, y) == 0x3070A0);
            wrong += after.at(x, y) != want ? 1 : 0;
        }
    EXPECT_EQ(wrong, 0);
    SaveShot("shaped-window.png");

    // A click in the box's corner, outside the shape, goes past the window;
    // one inside reaches it at the right client position.
    x11_probe::MovePointer(At(box.left + 3), At(box.top + 3));
    x11_probe::Button(1, true);
    x11_probe::Button(1, false);
    x11_probe::MovePointer(At(box.left + 100), At(box.top + 75));
    x11_probe::Button(1, true);
    x11_probe::Button(1, false);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONDOWN) > 0; }));
    PumpUntil([] { return false; }, 5);
    ASSERT_EQ(Count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(GET_X_LPARAM(seen_[0].lp), 100);
    EXPECT_EQ(GET_Y_LPARAM(seen_[0].lp), 75);
}

TEST_F(DesktopSmoke, TypedKeysReachTheWindowOnce) {
    HWND h = CreateWindowEx(0, "SmokeWindow", "keys", WS_POPUP, 400, 300, 120, 80, {});
    ShowWindow(h, SW_SHOW);
    SetFocus(h);
    ASSERT_TRUE(PumpUntil([&] { return x11_probe::PixelAt(At(460), At(340)) == kShapeRgb; }));
    x11_probe::MovePointer(At(460), At(340));
    x11_probe::FocusWindowUnderPointer();
    PumpUntil([] { return false; }, 5);
    x11_probe::Key('a', true);
    x11_probe::Key('a', false);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_CHAR) > 0; }));
    PumpUntil([] { return false; }, 5);
    EXPECT_EQ(Count(WM_KEYDOWN), 1u);
    ASSERT_EQ(Count(WM_CHAR), 1u);
    for (const Seen& s : seen_) {
        if (s.msg == WM_CHAR) {
            EXPECT_EQ(s.wp, static_cast<WPARAM>('a'));
        }
    }
}

TEST_F(DesktopSmoke, CaptionDragMovesTheNativeWindow) {
    HWND h = CreateWindowEx(0, "SmokeWindow", "drag me", WS_POPUP | WS_CAPTION | WS_SYSMENU, 300,
                            200, 240, 120, {});
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    ASSERT_TRUE(PumpUntil([&] { return backend_->NativePosition(h) == Point{300, 200}; }));
    PumpUntil([] { return false; }, 5);
    // Grab the caption bar, left of its buttons, and drag in steps.
    x11_probe::MovePointer(At(360), At(210));
    PumpUntil([] { return false; }, 3);
    x11_probe::Button(1, true);
    PumpUntil([] { return false; }, 3);
    for (int i = 1; i <= 5; ++i) {
        x11_probe::MovePointer(At(360 + 10 * i), At(210 + 8 * i));
        PumpUntil([] { return false; }, 2);
    }
    x11_probe::Button(1, false);
    EXPECT_TRUE(PumpUntil([&] {
        return GetWindowRect(h).top_left() == Point{350, 240} &&
               backend_->NativePosition(h) == Point{350, 240};
    })) << "layer at "
        << GetWindowRect(h).left << "," << GetWindowRect(h).top;
    SaveShot("dragged-window.png");
}

TEST_F(DesktopSmoke, DemoWindowTakesRealClicksAndTyping) {
    x11_probe::PaintRoot(0x3070A0);
    HWND demo = harness::CreateDemoWindow();
    // The demo's other windows are placed by the screen's size; on a
    // smaller one (in program pixels) they may overlap this one.
    BringWindowToTop(demo);
    HWND count = FindWindowByName("btnCount", demo);
    HWND input = FindWindowByName("txtInput", demo);
    ASSERT_TRUE(count && input);
    const Point c = ClientToScreen(count, {40, 11});
    ASSERT_TRUE(PumpUntil([&] { return x11_probe::PixelAt(At(c.x), At(c.y - 8)) != 0x3070A0; }));
    SaveShot("demo-window.png");

    x11_probe::MovePointer(At(c.x), At(c.y));
    x11_probe::Button(1, true);
    x11_probe::Button(1, false);
    EXPECT_TRUE(PumpUntil([&] { return GetProp(demo, "demo.count") == 1; }));

    // The click moved the focus to the button; give it back to the text box.
    const Point t = ClientToScreen(input, {20, 10});
    x11_probe::MovePointer(At(t.x), At(t.y));
    x11_probe::Button(1, true);
    x11_probe::Button(1, false);
    x11_probe::FocusWindowUnderPointer();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == input; }));
    for (char ch : std::string("hi 42")) {
        x11_probe::Key(ch, true);
        x11_probe::Key(ch, false);
    }
    EXPECT_TRUE(PumpUntil([&] { return GetWindowText(input) == "hi 42"; }))
        << "typed: " << GetWindowText(input);
}

TEST_F(DesktopSmoke, AMessageToAWindowJustDestroyedIsNotFatal) {
    // SDL wakes its event wait with a message to its newest window, sent from
    // a second connection; a pop-up closed by the event that woke the wait
    // may be gone by the time the server handles it. Without the backend's
    // error handler, Xlib's default one ends the test program here.
    HWND h = CreateWindowEx(0, "SmokeWindow", "pop", WS_POPUP, 10, 10, 40, 40, {});
    ShowWindow(h, SW_SHOW);
    const x11_probe::XWindow gone = desktop_.XWindowOf(h);
    ASSERT_NE(gone, 0u);
    DestroyWindow(h);
    x11_probe::Sync();
    x11_probe::SendMessageTo(gone);
    HWND next = CreateWindowEx(0, "SmokeWindow", "next", WS_POPUP, 60, 10, 40, 40, {});
    ShowWindow(next, SW_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return x11_probe::PixelAt(At(80), At(30)) == kShapeRgb; }));
}

}  // namespace
}  // namespace platform::sdl
