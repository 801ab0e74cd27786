// SPDX-License-Identifier: GPL-3.0-or-later
// Form life cycle: load once, query-unload can cancel (with the reason), the
// close box asks like code does, modal showing returns when the form goes,
// and controls raise click only for a press and release inside them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"

using namespace platform;
using namespace platform::controls;

namespace {

class Plain : public Control {
  public:
    Plain(HWND parent, const std::string& name, Rect r) {
        Create(parent, "TestPlain", name, r, WS_VISIBLE);
    }
};

class FormTest : public ::testing::Test {
  protected:
    headless::HeadlessSession session;
    std::vector<std::string> events;

    FormOptions Options() {
        FormOptions o;
        o.name = "frmTest";
        o.caption = "Test";
        o.client_width = 200;
        o.client_height = 100;
        return o;
    }
};

TEST_F(FormTest, QueryUnloadCanCancelAndKnowsWhyTheFormCloses) {
    Form f(Options());
    int16_t cancel_next = 1;
    f.on_load = [&] { events.push_back("load"); };
    f.on_query_unload = [&](int16_t& cancel, int16_t mode) {
        events.push_back("query " + std::to_string(mode));
        cancel = cancel_next;
    };
    f.on_unload = [&](int16_t&) { events.push_back("unload"); };
    f.Show();
    f.Load();  // a second load does nothing
    EXPECT_EQ(f.client_size(), (Size{200, 100}));

    // The close box: the user closes the form.
    Rect w = GetWindowRect(f.hwnd());
    session.Click({w.right - 8, w.top + 9});
    EXPECT_TRUE(f.loaded()) << "cancelled";
    cancel_next = 0;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.loaded());
    EXPECT_EQ(events, (std::vector<std::string>{"load", "query 0", "query 1", "unload"}));
}

TEST_F(FormTest, ModalShowReturnsWhenTheFormIsUnloaded) {
    Form owner(Options());
    owner.Show();
    FormOptions o = Options();
    o.name = "frmModal";
    Form modal(o);
    bool owner_disabled = false;
    session.backend().QueueStep([&] {
        owner_disabled = !IsWindowEnabled(owner.hwnd());
        modal.Unload();
        return true;
    });
    modal.Show(true);
    EXPECT_TRUE(owner_disabled);
    EXPECT_FALSE(modal.loaded());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(FormTest, ClickNeedsPressAndReleaseInsideTheControl) {
    Form f(Options());
    Plain* plain = nullptr;
    f.on_load = [&] { plain = &f.Add<Plain>("picPlain", Rect::FromXYWH(10, 10, 50, 50)); };
    f.Show();
    ASSERT_NE(plain, nullptr);
    int clicks = 0;
    plain->on_click = [&] { ++clicks; };
    Point origin = ClientToScreen(f.hwnd(), {0, 0});
    session.Click({origin.x + 20, origin.y + 20});
    EXPECT_EQ(clicks, 1);
    // Pressed inside, released outside: no click.
    session.Drag({origin.x + 20, origin.y + 20}, {origin.x + 150, origin.y + 80});
    EXPECT_EQ(clicks, 1);
}

}  // namespace
