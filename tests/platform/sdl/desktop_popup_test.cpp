// SPDX-License-Identifier: GPL-3.0-or-later
// Pop-ups on a real X server, with no window manager and with Openbox: the
// search box's drop-down list and the tooltips never take the keyboard from
// the window that owns them and a click in the list chooses, while a message
// box is a dialog of its owner that takes the keyboard and gives it back.
// Driven by real pointer clicks and key presses (XTest) on the layer demo.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "demo.h"
#include "desktop_fixture.h"
#include "platform/controls/tooltip.h"
#include "platform/json.h"

namespace platform::sdl {
namespace {

constexpr uint32_t kDesk = 0x3070A0;
constexpr unsigned long kReturnKeysym = 0xFF0D;

enum class Manager { kNone, kOpenbox };

class DesktopPopups : public ::testing::TestWithParam<Manager> {
  protected:
    void SetUp() override {
        if (std::string why = Desktop::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        if (GetParam() == Manager::kOpenbox) {
            if (!WindowManager::Installed("openbox")) GTEST_SKIP() << "openbox is not installed";
            // Before SDL starts, so SDL sees a managed display.
            const std::string error = manager_.Start("openbox");
            ASSERT_TRUE(error.empty()) << error;
        }
        x11_probe::PaintRoot(kDesk);
        const std::string error = desktop_.Start();
        ASSERT_TRUE(error.empty()) << error;
    }
    void TearDown() override {
        desktop_.Stop();
        manager_.Stop();
    }

    std::string Suffix() const { return GetParam() == Manager::kOpenbox ? "-openbox" : "-nowm"; }

    static void Click(Point screen) {
        x11_probe::MovePointer(screen.x, screen.y);
        x11_probe::Button(1, true);
        x11_probe::Button(1, false);
    }
    static void Type(const std::string& text) {
        for (char ch : text) {
            x11_probe::Key(ch, true);
            x11_probe::Key(ch, false);
        }
    }

    // Whether a window covers the desk at that point of the screen.
    static bool Shows(Point screen) {
        const uint32_t pixel = x11_probe::PixelAt(screen.x, screen.y);
        return pixel != kDesk && pixel != x11_probe::kNoPixel;
    }

    // The demo's windows, up on the screen where the demo put them and the
    // window system has them (SDL can misreport where a window went while a
    // window manager takes it over).
    void ShowDemo() {
        HWND demo = harness::CreateDemoWindow();
        form_b_ = FindWindowByName("frmControlsB");
        form_a_ = FindWindowByName("frmControlsA");
        ASSERT_TRUE(form_b_ && form_a_);
        auto placed = [&](HWND h) {
            const Rect r = GetWindowRect(h);
            return x11_probe::Origin(desktop_.XWindowOf(h)) == std::pair{r.left, r.top} &&
                   Shows(ClientToScreen(h, {4, 4}));
        };
        ASSERT_TRUE(desktop_.PumpUntil([&] {
            return placed(demo) && placed(form_a_) && placed(form_b_);
        })) << "the demo never appeared";
        desktop_.Settle();
        // Where the demo puts them.
        EXPECT_EQ(GetWindowRect(form_a_).top_left(), (Point{738, 4}));
        EXPECT_EQ(GetWindowRect(form_b_).top_left(), (Point{4, 452}));
    }

    // Clicks into a window and waits until it has the keyboard, in the
    // window system and on the X server.
    void FocusBy(HWND control, Point client) {
        Click(ClientToScreen(control, client));
        const x11_probe::XWindow top = desktop_.XWindowOf(GetAncestorTopLevel(control));
        ASSERT_TRUE(desktop_.PumpUntil([&] {
            return GetFocus() == control && x11_probe::HasFocus(top);
        })) << "focus in the window system: "
            << (GetFocus() == control) << ", on the server: " << x11_probe::FocusedWindow();
    }

    static Json StateOf(HWND h) {
        Json state = Json::MakeObject();
        SendMessage(h, WM_REPORTSTATE, 0, reinterpret_cast<LPARAM>(&state));
        return state;
    }
    static std::string TextOf(HWND combo) {
        const Json state = StateOf(combo);
        const Json* text = state.Get("text");
        return text && text->string() ? *text->string() : "?";
    }
    static bool Dropped(HWND combo) {
        const Json state = StateOf(combo);
        const Json* dropped = state.Get("dropped");
        return dropped && dropped->boolean() && *dropped->boolean();
    }

    WindowManager manager_;
    Desktop desktop_;
    HWND form_a_;
    HWND form_b_;
};

TEST_P(DesktopPopups, ClickInTheDropDownChoosesAndTypingGoesOnInTheBox) {
    ASSERT_NO_FATAL_FAILURE(ShowDemo());
    HWND combo = FindWindowByName("cmbNepali", form_b_);
    ASSERT_TRUE(combo);
    const x11_probe::XWindow owner = desktop_.XWindowOf(form_b_);
    ASSERT_NO_FATAL_FAILURE(FocusBy(combo, {60, 15}));

    // The drop button opens the list; the field keeps the keyboard.
    const Rect box = GetClientRect(combo);
    Click(ClientToScreen(combo, {box.right - 8, box.height() / 2}));
    HWND list;
    ASSERT_TRUE(desktop_.PumpUntil([&] {
        list = FindWindowByName("cmbNepaliList");
        return list && Dropped(combo) && Shows(GetWindowRect(list).top_left() + Point{4, 4});
    })) << "the list never showed";
    desktop_.Settle();
    const x11_probe::XWindow list_x = desktop_.XWindowOf(list);
    EXPECT_TRUE(x11_probe::OverrideRedirect(list_x));
    EXPECT_EQ(x11_probe::WindowType(list_x), "_NET_WM_WINDOW_TYPE_POPUP_MENU");
    EXPECT_TRUE(x11_probe::HasFocus(owner)) << "focus on " << x11_probe::FocusedWindow();
    EXPECT_EQ(GetFocus(), combo);
    EXPECT_TRUE(Dropped(combo));
    Desktop::SaveShot("dropdown" + Suffix() + ".png");

    // The fourth of the eight rows the list shows is "ls".
    const Rect rows = GetClientRect(list);
    const int32_t row_height = (rows.height() - 2) / 8;
    Click(ClientToScreen(list, {30, 1 + 3 * row_height + row_height / 2}));
    EXPECT_TRUE(desktop_.PumpUntil([&] { return TextOf(combo) == "ls" && !Dropped(combo); }))
        << "text " << TextOf(combo) << ", dropped " << Dropped(combo);
    EXPECT_FALSE(IsWindow(list));

    // The chosen item comes selected; typing replaces it.
    Type("kf");
    EXPECT_TRUE(desktop_.PumpUntil([&] { return TextOf(combo) == "kf"; }))
        << "typed: " << TextOf(combo);
    EXPECT_TRUE(x11_probe::HasFocus(owner)) << "focus on " << x11_probe::FocusedWindow();
    Desktop::SaveShot("dropdown-chosen" + Suffix() + ".png");
}

TEST_P(DesktopPopups, TooltipLeavesTheKeyboardWhereItWas) {
    ASSERT_NO_FATAL_FAILURE(ShowDemo());
    HWND combo = FindWindowByName("cmbLatin", form_b_);
    HWND poke = FindWindowByName("cmdPoke", form_a_);
    ASSERT_TRUE(combo && poke);
    ASSERT_NO_FATAL_FAILURE(FocusBy(combo, {40, 12}));
    Type("ab");
    ASSERT_TRUE(desktop_.PumpUntil([&] { return TextOf(combo) == "ab"; }));

    // Rest the pointer on a button with a tip in the other window until the
    // tip shows (the window system's clock moves only when told).
    const Point over = ClientToScreen(poke, {30, 10});
    x11_probe::MovePointer(over.x, over.y);
    desktop_.Settle();
    desktop_.clock().Advance(controls::tooltips::kHoverDelayMs + 100);
    HWND tip;
    ASSERT_TRUE(desktop_.PumpUntil([&] {
        tip = controls::tooltips::VisibleTip();
        return tip && Shows(GetWindowRect(tip).top_left() + Point{3, 3});
    })) << "the tip never showed";
    desktop_.Settle();
    const x11_probe::XWindow tip_x = desktop_.XWindowOf(tip);
    EXPECT_TRUE(x11_probe::OverrideRedirect(tip_x));
    EXPECT_EQ(x11_probe::WindowType(tip_x), "_NET_WM_WINDOW_TYPE_TOOLTIP");
    EXPECT_TRUE(x11_probe::HasFocus(desktop_.XWindowOf(form_b_)))
        << "focus on " << x11_probe::FocusedWindow();
    Desktop::SaveShot("tooltip" + Suffix() + ".png");

    Type("c");
    EXPECT_TRUE(desktop_.PumpUntil([&] { return TextOf(combo) == "abc"; }))
        << "typed: " << TextOf(combo);
    EXPECT_EQ(GetActiveWindow(), form_b_);
}

// What the X server showed while the message box was up.
struct BoxSeen {
    x11_probe::XWindow box = 0;  // 0: no dialog of the owner had the keyboard
    std::string type;
    bool above_owner = false;
};

TEST_P(DesktopPopups, MessageBoxIsADialogOfItsOwnerAndGivesTheKeyboardBack) {
    ASSERT_NO_FATAL_FAILURE(ShowDemo());
    HWND stop = FindWindowByName("cmdStop", form_a_);
    HWND answer = FindWindowByName("lblAnswer", form_a_);
    ASSERT_TRUE(stop && answer);
    const x11_probe::XWindow owner = desktop_.XWindowOf(form_a_);

    // The box runs a modal loop inside the click. A second thread watches the
    // server from a connection of its own meanwhile, then answers with
    // Return; should the answer go astray, it ends the loop with a quit
    // event (SDL takes events from any thread) rather than leave it hanging.
    auto caption = [&] {
        const Json state = StateOf(answer);
        const Json* c = state.Get("caption");
        return c && c->string() ? *c->string() : "?";
    };
    const std::string unanswered = caption();
    const Point press = ClientToScreen(stop, {30, 11});
    x11_probe::MovePointer(press.x, press.y);
    x11_probe::Button(1, true);
    x11_probe::Button(1, false);
    BoxSeen seen;
    std::atomic<bool> answered_by_key{false};
    std::atomic<bool> loop_over{false};
    std::atomic<bool> had_to_quit{false};
    const std::string suffix = Suffix();
    auto within = [](std::chrono::seconds limit, auto&& done) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    };
    std::thread watcher([&] {
        within(std::chrono::seconds(10), [&] {
            const x11_probe::XWindow focus = x11_probe::FocusedWindow();
            if (focus && !x11_probe::HasFocus(owner) && x11_probe::TransientFor(focus) == owner)
                seen.box = focus;
            return seen.box != 0;
        });
        if (seen.box) {
            seen.type = x11_probe::WindowType(seen.box);
            seen.above_owner = x11_probe::StackedAbove(seen.box, owner);
            Desktop::SaveShot("message-box" + suffix + ".png");
        }
        x11_probe::TapKeysym(kReturnKeysym);
        answered_by_key = true;
        if (!within(std::chrono::seconds(5), [&] { return loop_over.load(); })) {
            had_to_quit = true;
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    });
    const bool answered = desktop_.PumpUntil([&] {
        // The caption changes once the box's loop has returned.
        if (caption() != unanswered) loop_over = true;
        return answered_by_key && caption() == "Answer: OK";
    });
    watcher.join();
    ASSERT_NE(seen.box, 0u) << "no dialog of the owner ever had the keyboard";
    EXPECT_FALSE(had_to_quit) << "Return never reached the box";
    EXPECT_TRUE(answered) << caption();
    EXPECT_EQ(seen.type, "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_TRUE(seen.above_owner);

    // The keyboard goes back to the owner.
    EXPECT_TRUE(desktop_.PumpUntil([&] { return x11_probe::HasFocus(owner); }))
        << "focus on " << x11_probe::FocusedWindow();
    EXPECT_EQ(GetActiveWindow(), form_a_);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, DesktopPopups,
                         ::testing::Values(Manager::kNone, Manager::kOpenbox),
                         [](const ::testing::TestParamInfo<Manager>& p) {
                             return p.param == Manager::kOpenbox ? "Openbox" : "None";
                         });

}  // namespace
}  // namespace platform::sdl
