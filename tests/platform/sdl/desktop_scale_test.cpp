// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main window on a real X server at the desktop's scale
// (KOVELIN_SCALE, which the CTest entries running this set): the native
// window is the program's size times the scale, cut to the skin's outline
// at that size, its frame drawn at device resolution, and a real click at a
// control's scaled place reaches that control; with no window manager and
// with Openbox. Without a scale above 1 the tests skip;
// desktop_main_window_test.cpp covers scale 1.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../../lookup/no_history.h"
#include "app/dictionary_store.h"
#include "desktop_fixture.h"
#include "lookup/main_window.h"
#include "lookup/skin_layout.h"

namespace platform::sdl {
namespace {

constexpr uint32_t kRoot = 0x3070A0;

using lookup::testing::NoHistory;

enum class Manager { kNone, kOpenbox };

class DesktopAtScale : public ::testing::TestWithParam<Manager> {
  protected:
    void SetUp() override {
        if (std::string why = Desktop::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        if (DesktopScale({lookup::skin::kWidth, lookup::skin::kHeight}).drawing == 1)
            GTEST_SKIP() << "runs with KOVELIN_SCALE above 1";
        if (GetParam() == Manager::kOpenbox) {
            if (!WindowManager::Installed("openbox")) GTEST_SKIP() << "openbox is not installed";
            const std::string error = manager_.Start("openbox");
            ASSERT_TRUE(error.empty()) << error;
        }
        const std::string error = desktop_.Start();
        ASSERT_TRUE(error.empty()) << error;
        app::DictionaryStore& store = app::Dictionary();
        store.Clear();
        for (const char* w : {"cfdf", "3/", "kfgL"}) store.Append(w, "c. [v=]w.");
    }
    void TearDown() override {
        main_.reset();
        desktop_.Stop();
        manager_.Stop();
    }

    WindowManager manager_;
    Desktop desktop_;
    std::unique_ptr<lookup::MainWindow> main_;
};

TEST_P(DesktopAtScale, MainWindowIsScaledShapedAndTakesClicksWhereItsControlsShow) {
    const ScreenScale screen = desktop_.backend().Screen();
    ASSERT_GT(screen.factor(), 1.0);
    x11_probe::PaintRoot(kRoot);
    main_ = std::make_unique<lookup::MainWindow>(std::make_unique<NoHistory>());
    main_->CreateAndLoad();
    app::HeadwordListSetup setup;
    setup.item_count = app::Dictionary().size();
    main_->ConfigureList(setup);
    main_->Show();
    const HWND h = main_->hwnd();
    // The window system's geometry stays in program pixels.
    ASSERT_EQ(GetWindowRect(h).width(), lookup::skin::kWidth);
    ASSERT_EQ(GetWindowRect(h).height(), lookup::skin::kHeight);
    const auto shown = [&] {
        const auto [x, y] = x11_probe::Origin(desktop_.XWindowOf(h));
        return x11_probe::PixelAt(x + screen.ToScreen(300), y + screen.ToScreen(20)) != kRoot;
    };
    ASSERT_TRUE(desktop_.PumpUntil(shown)) << "the window never appeared";

    const auto [width, height] = x11_probe::Size(desktop_.XWindowOf(h));
    EXPECT_EQ(width, screen.ToScreen(lookup::skin::kWidth));
    EXPECT_EQ(height, screen.ToScreen(lookup::skin::kHeight));
    if (screen.factor() == 2.0) {
        EXPECT_EQ(width, 1200);
        EXPECT_EQ(height, 998);
    }
    ASSERT_TRUE(desktop_.backend().IsNativelyShaped(h));
    const auto [x, y] = x11_probe::Origin(desktop_.XWindowOf(h));
    // The rounded corners, cut at the scaled size, show the screen; just
    // inside them, and along the bottom edge, the skin.
    EXPECT_EQ(x11_probe::PixelAt(x, y), kRoot);
    EXPECT_EQ(x11_probe::PixelAt(x + width - 1, y + height - 1), kRoot);
    EXPECT_EQ(x11_probe::PixelAt(x + screen.ToScreen(3), y + screen.ToScreen(1)), kRoot);
    EXPECT_NE(x11_probe::PixelAt(x + screen.ToScreen(12), y + screen.ToScreen(12)), kRoot);
    EXPECT_NE(x11_probe::PixelAt(x + width / 2, y + height - 2), kRoot);
    Desktop::SaveShot("main-window-scaled.png");

    // A click in the middle of a tab button, where the screen shows it,
    // brings its panel to the front.
    ASSERT_EQ(main_->front_tab(), 0);
    const lookup::skin::Box tab = lookup::skin::Tab(2);
    x11_probe::MovePointer(x + screen.ToScreen(tab.x + tab.w / 2),
                           y + screen.ToScreen(tab.y + tab.h / 2));
    desktop_.Settle();
    x11_probe::Button(1, true);
    desktop_.Settle();
    x11_probe::Button(1, false);
    EXPECT_TRUE(desktop_.PumpUntil([&] { return main_->front_tab() == 2; }));
    // Where the window system has the window is where the screen shows it.
    EXPECT_EQ(screen.ToScreen(GetWindowRect(h).left), x);
    EXPECT_EQ(screen.ToScreen(GetWindowRect(h).top), y);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, DesktopAtScale,
                         ::testing::Values(Manager::kNone, Manager::kOpenbox),
                         [](const ::testing::TestParamInfo<Manager>& p) {
                             return p.param == Manager::kOpenbox ? "Openbox" : "None";
                         });

}  // namespace
}  // namespace platform::sdl
