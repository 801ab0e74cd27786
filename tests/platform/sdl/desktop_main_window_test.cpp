// The program's main window on a real X server: the server cuts it to the
// skin's outline (a rounded corner shows the screen behind it), the skin is
// drawn inside, and a real pointer dragging the move strip moves the native
// window, with the left button and with the right.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../../lookup/no_history.h"
#include "app/dictionary_store.h"
#include "desktop_fixture.h"
#include "lookup/main_window.h"

namespace platform::sdl {
namespace {

constexpr uint32_t kRoot = 0x3070A0;

using lookup::testing::NoHistory;

class DesktopMainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string why = Desktop::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        const std::string error = desktop_.Start();
        ASSERT_TRUE(error.empty()) << error;
        app::DictionaryStore& store = app::Dictionary();
        store.Clear();
        for (const char* w : {"cfdf", "3/", "kfgL"}) store.Append(w, "c. [v=]w.");
    }
    void TearDown() override {
        main_.reset();
        desktop_.Stop();
    }

    Desktop desktop_;
    std::unique_ptr<lookup::MainWindow> main_;
};

TEST_F(DesktopMainWindow, IsShapedBySkinOutlineAndMovesByItsStrip) {
    x11_probe::PaintRoot(kRoot);
    main_ = std::make_unique<lookup::MainWindow>(std::make_unique<NoHistory>());
    main_->CreateAndLoad();
    app::HeadwordListSetup setup;
    setup.item_count = app::Dictionary().size();
    main_->ConfigureList(setup);
    main_->Show();
    const HWND h = main_->hwnd();
    Rect r = GetWindowRect(h);
    ASSERT_EQ(r.width(), 600);
    ASSERT_EQ(r.height(), 499);
    const auto shown = [&] {
        const auto [x, y] = x11_probe::Origin(desktop_.XWindowOf(h));
        return x11_probe::PixelAt(x + 300, y + 20) != kRoot;
    };
    ASSERT_TRUE(desktop_.PumpUntil(shown)) << "the window never appeared";
    ASSERT_TRUE(desktop_.backend().IsNativelyShaped(h));
    auto [x, y] = x11_probe::Origin(desktop_.XWindowOf(h));
    // The rounded corners show the screen; just inside them, the skin.
    EXPECT_EQ(x11_probe::PixelAt(x, y), kRoot);
    EXPECT_EQ(x11_probe::PixelAt(x + 599, y + 498), kRoot);
    EXPECT_NE(x11_probe::PixelAt(x + 12, y + 12), kRoot);
    EXPECT_NE(x11_probe::PixelAt(x + 300, y + 496), kRoot);
    Desktop::SaveShot("main-window.png");

    // Drag the move strip (272, 6)-(527, 39): left button, then right.
    const auto drag = [&](int button, int dx, int dy) {
        const auto [ox, oy] = x11_probe::Origin(desktop_.XWindowOf(h));
        x11_probe::MovePointer(ox + 400, oy + 20);
        desktop_.Settle();
        x11_probe::Button(button, true);
        desktop_.Settle();
        for (int i = 1; i <= 4; ++i) {
            x11_probe::MovePointer(ox + 400 + dx * i / 4, oy + 20 + dy * i / 4);
            desktop_.Settle();
        }
        x11_probe::Button(button, false);
        return desktop_.PumpUntil([&, ox = ox, oy = oy] {
            const auto [nx, ny] = x11_probe::Origin(desktop_.XWindowOf(h));
            return nx == ox + dx && ny == oy + dy;
        });
    };
    EXPECT_TRUE(drag(1, -60, 40)) << "left-button drag";
    EXPECT_TRUE(drag(3, 50, -30)) << "right-button drag";
    r = GetWindowRect(h);
    const auto [fx, fy] = x11_probe::Origin(desktop_.XWindowOf(h));
    EXPECT_EQ(r.left, fx);
    EXPECT_EQ(r.top, fy);
}

}  // namespace
}  // namespace platform::sdl
