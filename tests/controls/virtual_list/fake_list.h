// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the list control, registered under its class name, that
// records the list messages it receives and answers them from a few fields.
// Tests compare the recorded conversation with the one they expect.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/virtual_list/mvirtual_list_view.h"
#include "controls/virtual_list/virtual_list_view.h"
#include "platform/headless/headless_backend.h"
#include "platform/listview/commctrl.h"
#include "platform/window.h"

namespace vl_test {

struct FakeList {
    std::vector<std::string> log;
    uint32_t created_style = 0;  // the style the list saw in its WM_CREATE
    uint32_t ex_style = 0;
    int32_t top = 0;
    int32_t row_height = 20;
    int32_t header_height = 18;
    int32_t count = 0;
    // When set, the list keeps its height to whole rows, as some lists do.
    bool whole_rows = false;
    platform::LRESULT notify_answer = 77;
};

// The one fake of the running test.
FakeList& Fake();
void RegisterFakeListClass();

// An ordinary host: run time, a display name, a Latin ambient font.
class TestHost : public platform::ComponentHost {
  public:
    platform::Result<bool> AmbientUserMode() const override {
        if (fail_user_mode) return platform::MakeError(platform::ErrorCode::kPlatform);
        return user_mode;
    }
    std::string AmbientDisplayName() const override { return display_name; }
    platform::FontDesc AmbientFont() const override { return ambient_font; }
    void PropertyChanged(std::string_view key) override { changed.emplace_back(key); }

    bool user_mode = true;
    bool fail_user_mode = false;
    std::string display_name = "lstMain";
    platform::FontDesc ambient_font{"Arial", 9.0f};
    std::vector<std::string> changed;
};

// A session, a top-level form window and the fake list class; each test
// makes its component with Make().
class VirtualListTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A component at 189 x 339 on the form, its properties not yet read.
    std::unique_ptr<virtual_list::UVirtualListView> MakeBare();
    // The same, started as a new instance at run time (subclassed).
    std::unique_ptr<virtual_list::UVirtualListView> Make();

    // Sends a notification from `from` to `to` as the list would.
    platform::LRESULT Notify(platform::HWND to, platform::HWND from, platform::NMHDR& hdr);

    std::unique_ptr<platform::headless::HeadlessSession> session_;
    platform::HWND form_;
    TestHost host_;
};

}  // namespace vl_test
