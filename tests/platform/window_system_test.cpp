// SPDX-License-Identifier: GPL-3.0-or-later
// Window-system behaviour that the components rely on at the message level:
// creation records and hooks, subclassing chains, sending and posting,
// timers on the virtual clock, modal loops, input routing, focus, capture,
// and regions in painting and hit-testing.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/window.h"

using namespace platform;
using platform::headless::HeadlessSession;

namespace {

// Every message of interest a "Probe" window receives, as "name:what".
std::vector<std::string> g_log;

LRESULT ProbeProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_GETTEXT || m == WM_GETTEXTLENGTH) return DefWindowProc(h, m, wp, lp);
    const std::string n = GetWindowName(h).empty() ? GetWindowText(h) : GetWindowName(h);
    switch (m) {
        case WM_CREATE:
            g_log.push_back(n + ":create");
            break;
        case WM_DESTROY:
            g_log.push_back(n + ":destroy");
            break;
        case WM_NCDESTROY:
            g_log.push_back(n + ":ncdestroy");
            break;
        case WM_LBUTTONDOWN:
            g_log.push_back(n + ":down " + std::to_string(GET_X_LPARAM(lp)) + "," +
                            std::to_string(GET_Y_LPARAM(lp)));
            return 0;
        case WM_LBUTTONDBLCLK:
            g_log.push_back(n + ":dblclk");
            return 0;
        case WM_LBUTTONUP:
            g_log.push_back(n + ":up");
            return 0;
        case WM_SETFOCUS:
            g_log.push_back(n + ":setfocus");
            break;
        case WM_KILLFOCUS:
            g_log.push_back(n + ":killfocus");
            break;
        case WM_CHAR:
            g_log.push_back(n + ":char " + std::to_string(wp));
            return 0;
        case WM_TIMER:
            g_log.push_back(n + ":timer " + std::to_string(wp) + " @" +
                            std::to_string(GetTickCount()));
            return 0;
        case WM_APP:
            g_log.push_back(n + ":app " + std::to_string(wp));
            return 7;
        default:
            break;
    }
    return DefWindowProc(h, m, wp, lp);
}

class WindowSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_log.clear();
        RegisterClass({"Probe", ProbeProc, CS_DBLCLKS, Rgb(255, 255, 255), {}});
    }

    HWND Top(const char* name, Rect r, uint32_t style = WS_POPUP | WS_VISIBLE) {
        HWND h = CreateWindowEx(0, "Probe", name, style, r.left, r.top, r.width(), r.height(), {});
        SetWindowName(h, name);
        return h;
    }
    HWND Child(HWND parent, const char* name, Rect r, uint32_t extra = WS_VISIBLE) {
        HWND h = CreateWindowEx(0, "Probe", name, WS_CHILD | extra, r.left, r.top, r.width(),
                                r.height(), parent);
        SetWindowName(h, name);
        return h;
    }
    std::string LogLine(size_t i) const { return i < g_log.size() ? g_log[i] : "<none>"; }

    HeadlessSession session;
};

// --- creation hook and subclassing -----------------------------------------------

HHOOK g_hook;
WNDPROC g_saved_proc;
int g_hook_calls = 0;

LRESULT CatchCreateProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CREATE) {
        reinterpret_cast<CREATESTRUCT*>(lp)->style |= 0x1000;
        SetWindowProc(h, g_saved_proc);
    }
    return CallWindowProc(g_saved_proc, h, m, wp, lp);
}

LRESULT OneShotHook(int32_t code, WPARAM wp, LPARAM lp) {
    ++g_hook_calls;
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    if (cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == "Probe") {
        g_saved_proc = SetWindowProc(cwp->hwnd, CatchCreateProc);
        UnhookWindowsHookEx(g_hook);
    }
    // The handle is already removed; passing on must still work.
    return CallNextHookEx(g_hook, code, wp, lp);
}

int g_outer_hook_calls = 0;
LRESULT CountingHook(int32_t code, WPARAM wp, LPARAM lp) {
    ++g_outer_hook_calls;
    return CallNextHookEx(HHOOK{}, code, wp, lp);
}

TEST_F(WindowSystemTest, OneShotCreationHookChangesStyleAtCreateAndPassesOn) {
    HHOOK older = SetWindowsHookEx(WH_CALLWNDPROC, CountingHook);
    g_hook = SetWindowsHookEx(WH_CALLWNDPROC, OneShotHook);
    g_hook_calls = 0;
    g_outer_hook_calls = 0;
    HWND top = Top("top", {0, 0, 100, 100});
    EXPECT_EQ(GetWindowLongPtr(top, GWL_STYLE) & 0x1000, 0x1000);
    EXPECT_EQ(GetWindowProc(top), &ProbeProc) << "the catching procedure put the old one back";
    EXPECT_EQ(LogLine(0), "top:create") << "the window still saw its WM_CREATE";
    EXPECT_GT(g_outer_hook_calls, 0)
        << "the older hook still ran after the one-shot removed itself";

    const int calls = g_hook_calls;
    const int outer = g_outer_hook_calls;
    SendMessage(top, WM_APP, 1);
    EXPECT_EQ(g_hook_calls, calls) << "the one-shot hook is gone";
    EXPECT_EQ(g_outer_hook_calls, outer + 1);
    UnhookWindowsHookEx(older);
}

std::vector<std::string> g_chain;
WNDPROC g_prev[3];
template <int N>
LRESULT Layer(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) g_chain.push_back("layer" + std::to_string(N));
    return CallWindowProc(g_prev[N], h, m, wp, lp);
}

TEST_F(WindowSystemTest, SubclassingThreeDeepAndRestoringInAnyOrder) {
    HWND w = Top("w", {0, 0, 50, 50});
    g_prev[0] = SetWindowProc(w, Layer<0>);
    g_prev[1] = SetWindowProc(w, Layer<1>);
    g_prev[2] = SetWindowProc(w, Layer<2>);
    EXPECT_EQ(SendMessage(w, WM_APP, 5), 7) << "the original procedure's answer comes back";
    EXPECT_EQ(g_chain, (std::vector<std::string>{"layer2", "layer1", "layer0"}));

    // Take the middle layer out by pointing the top layer past it.
    g_prev[2] = g_prev[1];
    g_chain.clear();
    SendMessage(w, WM_APP, 5);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"layer2", "layer0"}));

    // Restore the outermost: the window is back to layer 0 only.
    SetWindowProc(w, g_prev[2]);
    g_chain.clear();
    SendMessage(w, WM_APP, 5);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"layer0"}));
    SetWindowProc(w, g_prev[0]);
    EXPECT_EQ(GetWindowProc(w), &ProbeProc);
}

TEST_F(WindowSystemTest, PropertiesAndDestructionOrder) {
    HWND top = Top("top", {0, 0, 100, 100});
    HWND a = Child(top, "a", {0, 0, 10, 10});
    Child(a, "a1", {0, 0, 5, 5});
    EXPECT_TRUE(SetProp(a, "nvVirtualLV", 1234));
    EXPECT_EQ(GetProp(a, "NVVIRTUALLV"), 1234) << "property names ignore case";
    EXPECT_EQ(RemoveProp(a, "nvVirtualLV"), 1234);
    EXPECT_EQ(GetProp(a, "nvVirtualLV"), 0);

    SetFocus({});
    g_log.clear();
    DestroyWindow(top);
    EXPECT_EQ(g_log, (std::vector<std::string>{"top:destroy", "a:destroy", "a1:destroy",
                                               "a1:ncdestroy", "a:ncdestroy", "top:ncdestroy"}));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(SendMessage(a, WM_APP, 1), 0) << "a stale handle is simply not a window";
}

// --- loop and timers ---------------------------------------------------------------

TEST_F(WindowSystemTest, PostedMessagesRunInOrderAndTimersFollowTheVirtualClock) {
    HWND w = Top("w", {0, 0, 10, 10});
    PostMessage(w, WM_APP, 1);
    PostMessage(w, WM_APP, 2);
    SetTimer(w, 9, 1000);
    g_log.clear();
    DoEvents();
    EXPECT_EQ(g_log, (std::vector<std::string>{"w:app 1", "w:app 2"}));

    g_log.clear();
    session.Advance(999);
    EXPECT_TRUE(g_log.empty()) << "no tick before its time";
    session.Advance(2001);  // to 3000
    EXPECT_EQ(g_log,
              (std::vector<std::string>{"w:timer 9 @1000", "w:timer 9 @2000", "w:timer 9 @3000"}));
    KillTimer(w, 9);
    g_log.clear();
    session.Advance(5000);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(WindowSystemTest, DoEventsDeliversAZeroIntervalTimerOncePerPass) {
    HWND w = Top("w", {0, 0, 10, 10});
    SetTimer(w, 1, 0);
    g_log.clear();
    DoEvents();
    EXPECT_EQ(g_log.size(), 1u);
}

HWND g_modal;
int g_ticks_in_modal_handler = 0;
LRESULT ModalOpener(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_TIMER) {
        ++g_ticks_in_modal_handler;
        KillTimer(h, wp);
        g_modal = CreateWindowEx(0, "Probe", "modal", WS_POPUP, 10, 10, 50, 50, h);
        SetWindowName(g_modal, "modal");
        RunModal(g_modal);
        g_log.push_back("modal returned");
        return 0;
    }
    return DefWindowProc(h, m, wp, lp);
}

TEST_F(WindowSystemTest, ModalLoopInsideATimerHandlerDisablesOthersAndReturnsWhenClosed) {
    RegisterClass({"Opener", ModalOpener, 0, kNoBackground, {}});
    HWND owner = CreateWindowEx(0, "Opener", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, {});
    HWND other = Top("other", {300, 0, 400, 100});
    SetTimer(owner, 1, 100);
    bool owner_disabled_inside = false;
    // Scripted input, run when the nested loop is idle.
    session.backend().QueueStep([&] {
        owner_disabled_inside = !IsWindowEnabled(owner) && !IsWindowEnabled(other);
        return true;
    });
    session.backend().QueueStep([&] {
        PostMessage(g_modal, WM_CLOSE);
        return true;
    });
    session.Advance(100);
    EXPECT_EQ(g_ticks_in_modal_handler, 1);
    EXPECT_TRUE(owner_disabled_inside);
    EXPECT_FALSE(IsWindow(g_modal));
    EXPECT_EQ(g_log.back(), "modal returned");
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(IsWindowEnabled(other));
}

TEST_F(WindowSystemTest, AnUnownedModalWindowBelongsToTheActiveWindowOnlyWhileItRuns) {
    Top("main", {0, 0, 300, 300});
    HWND dialog = Top("dialog", {50, 50, 150, 150});
    SetActiveWindow(dialog);
    HWND full = Top("full", {0, 0, 1024, 768}, WS_POPUP);
    HWND owner_inside{};
    session.backend().QueueStep([&] {
        owner_inside = GetParent(full);
        ShowWindow(full, SW_HIDE);  // ends the loop; the window stays
        return true;
    });
    RunModal(full);
    EXPECT_EQ(owner_inside, dialog) << "desktops keep it above the dialog it came from";
    EXPECT_FALSE(GetParent(full));
    EXPECT_TRUE(IsWindow(dialog));
}

// --- input routing, focus, capture -----------------------------------------------------

TEST_F(WindowSystemTest, MouseGoesToTheTopmostVisibleEnabledWindowUnderThePointer) {
    HWND top = Top("top", {100, 100, 300, 300});
    Child(top, "low", {10, 10, 110, 110});
    HWND high = Child(top, "high", {50, 50, 150, 150});
    HWND hidden = Child(top, "hidden", {0, 0, 200, 200}, 0);
    (void)hidden;
    g_log.clear();
    session.Click({100 + 60, 100 + 60});
    EXPECT_EQ(LogLine(0), "high:down 10,10") << "the later sibling is on top";

    EnableWindow(high, false);
    g_log.clear();
    session.Click({100 + 60, 100 + 60});
    EXPECT_EQ(LogLine(0), "top:down 60,60") << "a disabled child's input goes to its parent";

    g_log.clear();
    session.Click({100 + 20, 100 + 20});
    EXPECT_EQ(LogLine(0), "low:down 10,10");

    // A disabled top-level window (a modal window's owner) takes no input,
    // not even through its enabled children.
    EnableWindow(top, false);
    g_log.clear();
    session.Click({100 + 20, 100 + 20});
    EXPECT_TRUE(g_log.empty()) << LogLine(0);
}

TEST_F(WindowSystemTest, WindowRegionsClipHitTesting) {
    HWND top = Top("top", {0, 0, 100, 100});
    HWND round = Child(top, "round", {0, 0, 100, 100});
    SetWindowRgn(round, Region::Ellipse({0, 0, 100, 100}));
    EXPECT_EQ(WindowFromPoint({50, 50}), round);
    EXPECT_EQ(WindowFromPoint({2, 2}), top) << "the corner is outside the ellipse";

    SetWindowRgn(top, Region::Combine(Region::FromRect({0, 0, 100, 100}),
                                      Region::FromRect({40, 40, 60, 60}), RegionOp::kDiff));
    EXPECT_EQ(WindowFromPoint({50, 50}), HWND{}) << "a hole in the top-level window";
}

TEST_F(WindowSystemTest, CaptureTakesMouseInputAnywhere) {
    HWND top = Top("top", {0, 0, 200, 200});
    HWND a = Child(top, "a", {0, 0, 50, 50});
    Child(top, "b", {100, 100, 150, 150});
    SetCapture(a);
    g_log.clear();
    session.Click({120, 120});
    EXPECT_EQ(LogLine(0), "a:down 120,120");
    ReleaseCapture();
    g_log.clear();
    session.Click({120, 120});
    EXPECT_EQ(LogLine(0), "b:down 20,20");
}

TEST_F(WindowSystemTest, PopUpsTakeClicksButNeverTheActivation) {
    HWND main = Top("main", {0, 0, 200, 200}, WS_POPUP);
    ShowWindow(main, SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), main);
    HWND popup =
        CreateWindowEx(WS_EX_NOACTIVATE, "Probe", "popup", WS_POPUP, 300, 0, 100, 100, main);
    SetWindowName(popup, "popup");
    ShowWindow(popup, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), main) << "showing it does not activate it";
    g_log.clear();
    session.Click({350, 50});
    EXPECT_EQ(LogLine(0), "popup:down 50,50");
    EXPECT_EQ(GetActiveWindow(), main) << "nor does a click";

    // When the active window goes away, the activation passes over the
    // pop-up (higher in the z-order) to the window below it.
    HWND other = Top("other", {0, 300, 100, 400}, WS_POPUP);
    ShowWindow(other, SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), other);
    ShowWindow(other, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main);
    SetActiveWindow(other);
    DestroyWindow(other);
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(WindowSystemTest, DoubleClicksNeedTheClassStyleTimeAndPlace) {
    HWND top = Top("top", {0, 0, 100, 100});
    g_log.clear();
    session.Click({10, 10});
    session.clock().Advance(200);
    session.Click({11, 11});
    EXPECT_EQ(LogLine(2), "top:dblclk");

    g_log.clear();
    session.clock().Advance(1000);
    session.Click({10, 10});
    session.clock().Advance(600);
    session.Click({10, 10});
    EXPECT_EQ(LogLine(2), "top:down 10,10") << "too slow for a double click";
    (void)top;
}

TEST_F(WindowSystemTest, KeysGoToTheFocusAndTabMovesAlongTabStopsInCreationOrder) {
    HWND top = Top("top", {0, 0, 100, 100});
    HWND first = Child(top, "first", {0, 0, 10, 10}, WS_VISIBLE | WS_TABSTOP);
    Child(top, "skipped", {0, 20, 10, 30}, WS_VISIBLE);
    HWND second = Child(top, "second", {0, 40, 10, 50}, WS_VISIBLE | WS_TABSTOP);
    HWND off = Child(top, "off", {0, 60, 10, 70}, WS_VISIBLE | WS_TABSTOP);
    EnableWindow(off, false);
    SetFocus(first);
    g_log.clear();
    session.Type("a");
    EXPECT_EQ(LogLine(0), "first:char 97");

    session.Key(VK_TAB);
    EXPECT_EQ(GetFocus(), second);
    session.Key(VK_TAB);
    EXPECT_EQ(GetFocus(), first) << "wraps round, skipping the disabled stop";
    session.Key(VK_TAB, kModShift);
    EXPECT_EQ(GetFocus(), second);

    // A container that is a tab stop itself: Tab goes on from the child
    // that has the focus, not from the container.
    HWND box = Child(top, "box", {20, 0, 90, 90}, WS_VISIBLE | WS_TABSTOP);
    HWND inner1 = Child(box, "inner1", {0, 0, 10, 10}, WS_VISIBLE | WS_TABSTOP);
    HWND inner2 = Child(box, "inner2", {0, 20, 10, 30}, WS_VISIBLE | WS_TABSTOP);
    SetFocus(inner1);
    session.Key(VK_TAB);
    EXPECT_EQ(GetFocus(), inner2);
    session.Key(VK_TAB);
    EXPECT_EQ(GetFocus(), first);
    session.Key(VK_TAB, kModShift);
    EXPECT_EQ(GetFocus(), inner2);
    session.Key(VK_TAB, kModShift);
    EXPECT_EQ(GetFocus(), inner1);
    session.Key(VK_TAB, kModShift);
    EXPECT_EQ(GetFocus(), box);
}

TEST_F(WindowSystemTest, AltF4ClosesTheTopLevelWindowWhateverHoldsTheFocus) {
    HWND top = Top("top", {0, 0, 100, 100});
    HWND box = Child(top, "box", {0, 0, 50, 50}, WS_VISIBLE);
    HWND inner = Child(box, "inner", {0, 0, 10, 10}, WS_VISIBLE | WS_TABSTOP);
    SetFocus(inner);
    session.Key(VK_F4);
    EXPECT_TRUE(IsWindow(top)) << "F4 alone";
    session.Key(VK_F4, kModAlt);
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(WindowSystemTest, FocusChangeSendsKillThenSet) {
    HWND top = Top("top", {0, 0, 100, 100});
    HWND a = Child(top, "a", {0, 0, 10, 10});
    HWND b = Child(top, "b", {0, 20, 10, 30});
    SetFocus(a);
    g_log.clear();
    SetFocus(b);
    EXPECT_EQ(g_log, (std::vector<std::string>{"a:killfocus", "b:setfocus"}));
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), HWND{});
}

// --- painting ------------------------------------------------------------------------

LRESULT RedPainter(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        auto dc = BeginPaint(h, &ps);
        dc->FillRect(GetClientRect(h), Rgb(255, 0, 0));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, wp, lp);
}

TEST_F(WindowSystemTest, ComposedFrameHonoursZOrderVisibilityAndRegions) {
    RegisterClass({"Red", RedPainter, 0, kNoBackground, {}});
    HWND top = Top("top", {0, 0, 40, 40});
    HWND red = CreateWindowEx(0, "Red", "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
    Surface s = RenderWindow(top);
    EXPECT_EQ(s.pixel(5, 5), Rgb(255, 255, 255)) << "the parent's class background";
    EXPECT_EQ(s.pixel(10, 10), Rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(29, 29), Rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(30, 30), Rgb(255, 255, 255)) << "right and bottom are outside";

    SetWindowRgn(red, Region::Ellipse({0, 0, 20, 20}));
    s = RenderWindow(top);
    EXPECT_EQ(s.pixel(10, 10), Rgb(255, 255, 255)) << "the corner is clipped by the region";
    EXPECT_EQ(s.pixel(20, 20), Rgb(255, 0, 0));

    ShowWindow(red, SW_HIDE);
    s = RenderWindow(top);
    EXPECT_EQ(s.pixel(20, 20), Rgb(255, 255, 255));

    SetWindowRgn(top, Region::RoundRect(0, 0, 40, 40, 20, 20));
    s = RenderWindow(top, Rgb(0, 0, 255));
    EXPECT_EQ(s.pixel(0, 0), Rgb(0, 0, 255)) << "outside the window's own region";
}

TEST_F(WindowSystemTest, PersistentDrawingSurvivesRepaints) {
    HWND top = Top("top", {0, 0, 40, 40});
    SetPersistentDrawing(top, true);
    PersistentDC(top)->FillRect({0, 0, 5, 5}, Rgb(0, 128, 0));
    InvalidateRect(top);
    Surface s = RenderWindow(top);
    EXPECT_EQ(s.pixel(2, 2), Rgb(0, 128, 0));
}

// At scale 2 a window composes to a frame twice the size, the scale-1
// frame enlarged; its region and the persistent picture follow the scale,
// and the screen keeps its program size.
TEST_F(WindowSystemTest, FramesRegionsAndPersistentPicturesFollowTheDeviceScale) {
    RegisterClass({"Red", RedPainter, 0, kNoBackground, {}});
    HWND top = Top("top", {10, 10, 50, 50});
    HWND red = CreateWindowEx(0, "Red", "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
    SetWindowRgn(top, Region::Ellipse({0, 0, 40, 40}));
    SetPersistentDrawing(top, true);
    PersistentDC(top)->FillRect({0, 0, 5, 5}, Rgb(0, 128, 0));
    const Surface one = RenderWindow(top, Rgb(0, 0, 255));
    const Size screen = session.backend().ScreenSize();

    SetDeviceScale(2);
    EXPECT_EQ(DeviceScale(), 2);
    const Surface two = RenderWindow(top, Rgb(0, 0, 255));
    ASSERT_EQ(two.width(), 80);
    ASSERT_EQ(two.height(), 80);
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 80; ++x)
            ASSERT_EQ(two.pixel(x, y), one.pixel(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(two.pixel(0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(two.pixel(24, 10), Rgb(255, 255, 255));  // the persistent picture
    EXPECT_EQ(two.pixel(22, 22), Rgb(255, 0, 0));      // the child
    const Surface screen_shot = RenderScreen();
    EXPECT_EQ(screen_shot.width(), screen.cx * 2);
    EXPECT_EQ(screen_shot.pixel(2 * 10 + 40, 2 * 10 + 40), Rgb(255, 0, 0));
    // Input stays in program pixels.
    EXPECT_EQ(WindowFromPoint({35, 35}), red);
    EXPECT_EQ(WindowFromPoint({15, 30}), top);
    SetDeviceScale(1);
    EXPECT_EQ(RenderWindow(top).width(), 40);
}

TEST_F(WindowSystemTest, CaptionedFrameMovesWithACaptionDragAndClosesFromItsBox) {
    HWND w = Top("w", {100, 100, 300, 250}, WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    Rect client = GetClientAreaInWindow(w);
    EXPECT_EQ(client.top, 3 + 18);
    EXPECT_EQ(ClientToScreen(w, {0, 0}), (Point{103, 121}));

    session.Drag({150, 108}, {170, 128});
    EXPECT_EQ(GetWindowRect(w).top_left(), (Point{120, 120}));

    Rect box = GetWindowRect(w);
    g_log.clear();
    session.Click({box.right - 8, box.top + 9});
    EXPECT_FALSE(IsWindow(w));
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "w:destroy"), g_log.end());
}

}  // namespace
