// The published works viewer opened from the editors' hidden push buttons,
// on pictures written for the test: which picture each button shows, the
// scroll range that brings the picture's bottom to the panel's, a picture
// exactly as tall as the panel, dragging by the picture and the "X" box.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/app_paths.h"
#include "app/dictionary_store.h"
#include "lookup/main_window.h"
#include "no_history.h"
#include "platform/dc.h"
#include "platform/headless/headless_backend.h"

using namespace platform;
using namespace platform::controls;

namespace {

using lookup::testing::NoHistory;

class WorksViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("kovelin-works-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(folder_);
        Picture("k1.dat", 1000);
        Picture("k0.dat", lookup::WorksViewer::kPanelHeight);
        app::SetDataFolder(folder_.string() + "/");
        app::Dictionary().Clear();
        app::Dictionary().Append("cfdf", "c. [v=]w.");
        main_ = std::make_unique<lookup::MainWindow>(std::make_unique<NoHistory>());
        main_->CreateAndLoad();
        main_->Show();
        DoEvents();
    }
    void TearDown() override {
        main_.reset();
        app::SetDataFolder({});
        std::filesystem::remove_all(folder_);
    }
    void Picture(const std::string& name, int32_t height) {
        Surface reference(1, 1);
        const DC dc(reference);
        Surface s = dc.CreateCompatibleSurface(566, height, Rgb(0xEE, 0xEE, 0xEE));
        ASSERT_TRUE(s.WritePng((folder_ / name).string()).ok());
    }
    // Presses a hidden push button; `inside` runs while the viewer is up,
    // then the "X" box is clicked.
    void OpenWith(const char* button, const std::function<void(lookup::WorksViewer&)>& inside) {
        lookup::WorksViewer& viewer = main_->works_viewer();
        session_.backend().QueueStep([&] {
            inside(viewer);
            const HWND x = viewer.exit_label()->hwnd();
            session_.Click(ClientToScreen(x, {6, 6}));
            return true;
        });
        auto* push = dynamic_cast<CommandButton*>(main_->FindControl(button));
        ASSERT_NE(push, nullptr);
        push->set_value(true);
    }

    headless::HeadlessSession session_;
    std::filesystem::path folder_;
    std::unique_ptr<lookup::MainWindow> main_;
};

TEST_F(WorksViewerTest, Command1ShowsTheTallPictureModallyAndScrollsItsBottomToThePanels) {
    bool checked = false;
    OpenWith("Command1", [&](lookup::WorksViewer& v) {
        checked = true;
        EXPECT_TRUE(IsWindowVisible(v.form().hwnd()));
        EXPECT_EQ(GetActiveWindow(), v.form().hwnd());
        EXPECT_FALSE(IsWindowEnabled(main_->hwnd())) << "the main window waits";
        EXPECT_EQ(v.picture()->bounds().height(), 1000);
        EXPECT_EQ(v.scroll()->max(), 572);
        EXPECT_EQ(v.scroll()->large_change(), 57);
        EXPECT_EQ(v.scroll()->small_change(), 14) << "14.25 rounds to 14";
        EXPECT_EQ(v.exit_label()->tooltip_text(), "Exit");
        (void)v.scroll()->set_value(v.scroll()->max());
        EXPECT_EQ(v.picture()->bounds().bottom, lookup::WorksViewer::kPanelHeight);
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(main_->works_viewer().form().loaded()) << "the X box closes it";
    EXPECT_TRUE(IsWindowEnabled(main_->hwnd()));

    // The next opening reloads the picture and starts at the top.
    OpenWith("Command1", [&](lookup::WorksViewer& v) {
        EXPECT_EQ(v.scroll()->value(), 0);
        EXPECT_EQ(v.picture()->bounds().top, 0);
    });
}

TEST_F(WorksViewerTest, Command2ShowsAPictureAsTallAsThePanelWithNothingToScroll) {
    OpenWith("Command2", [&](lookup::WorksViewer& v) {
        EXPECT_EQ(v.picture()->bounds().height(), lookup::WorksViewer::kPanelHeight);
        EXPECT_EQ(v.scroll()->max(), 0);
        (void)v.scroll()->set_value(50);
        EXPECT_EQ(v.picture()->bounds().top, 0);
    });
}

TEST_F(WorksViewerTest, PressingThePictureDragsTheWindowAndFocusesTheBar) {
    OpenWith("Command1", [&](lookup::WorksViewer& v) {
        const Rect before = GetWindowRect(v.form().hwnd());
        const Point from = ClientToScreen(v.picture()->hwnd(), {200, 200});
        session_.Drag(from, {from.x + 30, from.y + 20});
        const Rect after = GetWindowRect(v.form().hwnd());
        EXPECT_EQ(after.left - before.left, 30);
        EXPECT_EQ(after.top - before.top, 20);
        EXPECT_TRUE(v.scroll()->has_focus());
    });
}

TEST_F(WorksViewerTest, AMissingPictureLeavesThePanelEmptyAndTheViewerStillCloses) {
    std::filesystem::remove(folder_ / "k1.dat");
    bool checked = false;
    OpenWith("Command1", [&](lookup::WorksViewer& v) {
        checked = true;
        EXPECT_EQ(v.scroll()->max(), 0);
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(main_->works_viewer().form().loaded());
}

}  // namespace
